#include "invoicedocument.h"

#include "core/boundquery.h"
#include "core/readconnection.h"
#include "output/desktop.h"
#include "output/htmlescape.h"
#include "invoicing/amountinwords.h"
#include "invoicing/gstheads.h"
#include "invoicing/invoicestore.h"

#include <QDate>
#include <QFileInfo>
#include <QSqlQuery>
#include <QUrl>

namespace {

QString esc(const QString &text)
{
    return htmlEscaped(text);
}

// Escaped, with each line break as "<br>".
QString escLines(const QString &text)
{
    QString lines = text;
    lines.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return esc(lines).replace(QLatin1Char('\n'), QLatin1String("<br>"));
}

QString orDash(const QString &text)
{
    return text.trimmed().isEmpty() ? QStringLiteral("-") : text;
}

const char *const Border = "1px solid #000";

// The opening of an item-row cell: padding 4px, the right border on all but
// the last cell of the row.
QString cellOpen(const char *align, bool last, const QString &extraStyle = QString())
{
    QString style = QStringLiteral("padding:4px;");
    if (!last)
        style += QStringLiteral(" border-right:%1;").arg(QLatin1String(Border));
    style += extraStyle;
    return QStringLiteral("<td align='%1' style='%2'>").arg(QLatin1String(align), style);
}

QString itemRow(const QStringList &cells)
{
    static const char *const aligns[] = {"center", "center", "left", "center", "right", "center", "right", "right"};
    QString row = QStringLiteral("<tr>");
    for (int c = 0; c < 8; ++c)
        row += cellOpen(aligns[c], c == 7) + cells.value(c) + QStringLiteral("</td>");
    return row + QStringLiteral("</tr>");
}

QString fillerRow()
{
    QString row = QStringLiteral("<tr style='height:7mm;'>");
    for (int c = 0; c < 8; ++c) {
        row += QStringLiteral("<td style='height:7mm;%1'>&nbsp;</td>")
                   .arg(c < 7 ? QStringLiteral(" border-right:%1;").arg(QLatin1String(Border)) : QString());
    }
    return row + QStringLiteral("</tr>");
}

// The tall blank row of the single-page invoices.
QString spacerRow()
{
    QString row = QStringLiteral("<tr>");
    for (int c = 0; c < 8; ++c) {
        QString style;
        if (c == 0)
            style += QStringLiteral("height:100mm;");
        if (c < 7)
            style += QStringLiteral(" border-right:%1;").arg(QLatin1String(Border));
        row += QStringLiteral("<td style='%1'>&nbsp;</td>").arg(style.trimmed());
    }
    return row + QStringLiteral("</tr>");
}

QString abstractRow(const QString &content, Money subTotal)
{
    return itemRow({"-", "-", escLines(content), "-", "1", "-", "-", subTotal.text()});
}

InvoicePage commonPage(const InvoicePrintData &invoice, const QString &leftLogoHtml, const QString &rightLogoHtml)
{
    InvoicePage page;
    page.invoiceNoFull = invoice.invoiceNoFull;
    page.invoiceDate = invoice.invoiceDate;
    page.customerName = invoice.customerName;
    page.customerAddress1 = invoice.customerAddress1;
    page.customerAddress2 = invoice.customerAddress2;
    page.customerGstNo = invoice.customerGstNo;
    page.vendorId = orDash(invoice.vendorId);
    page.poNo = orDash(invoice.poNo);
    page.customerPhone = invoice.customerPhone;
    page.customerEmail = invoice.customerEmail;
    page.customerType = invoice.customerType;
    page.bankDetails = escLines(invoice.bankDetails);
    page.leftLogoHtml = leftLogoHtml;
    page.rightLogoHtml = rightLogoHtml;
    page.company = invoice.company;
    return page;
}

QString pageLabel(const QString &copyLabel, int page, int pages)
{
    return copyLabel + QStringLiteral(" (Page %1 of %2)").arg(page).arg(pages);
}

QString taxRow(const QString &label, Money tax)
{
    return QStringLiteral("<tr><td style='padding:4px 6px; border-bottom:%1;'>%2</td>"
                          "<td align='right' style='padding:4px 6px; border-bottom:%1;'>%3</td></tr>")
        .arg(QLatin1String(Border), label, tax.text());
}

QString taxRows(const InvoicePage &page)
{
    QString rows;
    const bool igst = isIgstCustomer(page.customerType);
    QList<TaxedAmount> taxable;
    for (auto it = page.taxableByRate.constBegin(); it != page.taxableByRate.constEnd(); ++it)
        taxable.append({it.value(), it.key()});
    for (const RateHeads &rate : gstHeads(taxable, igst).rates) {
        if (rate.percent <= 0)
            continue;
        if (igst) {
            rows += taxRow(QStringLiteral("IGST @ %1 %").arg(QString::number(rate.percent, 'f', 2)), rate.igst);
        } else {
            const QString half = QString::number(rate.percent * 0.5, 'f', 2);
            rows += taxRow(QStringLiteral("CGST @ %1 %").arg(half), rate.cgst);
            rows += taxRow(QStringLiteral("SGST @ %1 %").arg(half), rate.sgst);
        }
    }
    return rows;
}

QString totalRow(const QString &label, Money value, bool last)
{
    const QString border = last ? QString() : QStringLiteral(" border-bottom:%1;").arg(QLatin1String(Border));
    const QString open = last ? QStringLiteral("<b>") : QString();
    const QString close = last ? QStringLiteral("</b>") : QString();
    return QStringLiteral("<tr><td width='70%' style='padding:4px 8px;%1'>%2%3%4</td>"
                          "<td width='30%' align='right' style='padding:4px 8px;%1'>%2%5%4</td></tr>")
        .arg(border, open, label, close, value.text());
}

// A full-width block of the outer table holding one nested table.
QString block(const QString &cellStyle, int cellPadding, const QString &tableStyle, const QString &rows)
{
    return QStringLiteral("<tr><td style='%1'><table width='100%' cellspacing='0' cellpadding='%2'%3>%4</table>"
                          "</td></tr>")
        .arg(cellStyle)
        .arg(cellPadding)
        .arg(tableStyle.isEmpty() ? QString() : QStringLiteral(" style='%1'").arg(tableStyle), rows);
}

} // namespace

bool readInvoiceForPrint(int invoiceNo, const QString &fyName, InvoicePrintData *data)
{
    const QVariantMap key{{":no", invoiceNo}, {":fy", fyName}};
    QSqlQuery head(readingDatabase());
    if (!execBound(head,
                   "SELECT v.invoice_no_full, v.invoice_date, c.customer_name, c.address_line1, c.address_line2, "
                   "c.gst_no, c.vendor_id, v.remarks, v.sub_total, v.cgst_amount, v.sgst_amount, v.igst_amount, "
                   "v.grand_total, c.customer_type, c.phone, c.email, v.is_abstract, v.abstract_content "
                   "FROM invoices v JOIN customers c ON v.customer_id = c.customer_id "
                   "WHERE v.invoice_no = :no AND v.fy_name = :fy LIMIT 1",
                   key)
        || !head.next())
        return false;

    InvoicePrintData invoice;
    invoice.invoiceNoFull = head.value(0).toString();
    invoice.invoiceDate = QDate::fromString(head.value(1).toString(), "yyyy-MM-dd").toString("dd/MM/yyyy");
    invoice.customerName = head.value(2).toString();
    invoice.customerAddress1 = head.value(3).toString();
    invoice.customerAddress2 = head.value(4).toString();
    invoice.customerGstNo = head.value(5).toString();
    invoice.vendorId = head.value(6).toString();
    invoice.poNo = head.value(7).toString();
    invoice.subTotal = Money::fromStored(head.value(8).toDouble());
    invoice.cgst = Money::fromStored(head.value(9).toDouble());
    invoice.sgst = Money::fromStored(head.value(10).toDouble());
    invoice.igst = Money::fromStored(head.value(11).toDouble());
    invoice.customerType = head.value(13).toString();
    invoice.customerPhone = head.value(14).toString();
    invoice.customerEmail = head.value(15).toString();
    invoice.isAbstract = head.value(16).toInt() == 1;
    invoice.abstractContent = head.value(17).toString();
    invoice.company = loadCompanyInfo();

    QSqlQuery bank(readingDatabase());
    if (bank.exec("SELECT bank_details FROM company_settings WHERE id = 1") && bank.next())
        invoice.bankDetails = bank.value(0).toString();

    if (invoice.isAbstract) {
        QSqlQuery amounts(readingDatabase());
        if (execBound(amounts,
                      "SELECT ii.amount, ii.tax_percent FROM invoice_items ii "
                      "JOIN invoices v ON ii.invoice_id = v.invoice_id WHERE v.invoice_no = :no AND v.fy_name = :fy",
                      key)) {
            while (amounts.next())
                invoice.abstractTaxable[amounts.value(1).toDouble()] += Money::fromStored(amounts.value(0).toDouble());
        }
        *data = invoice;
        return true;
    }

    // Challan numbers restart every year: a line's challan is the one of its
    // number, item and year (a live challan line before a deleted one).
    QSqlQuery lines(readingDatabase());
    if (execBound(lines,
                  "SELECT ii.delivery_no, i.item_code, i.item_name, ii.invoiced_qty, i.uom, ii.rate, ii.amount, "
                  "ii.tax_percent, ii.item_id, de.delivery_no_full, de.delivery_date, COALESCE(de.sac_code, '') "
                  "FROM invoice_items ii JOIN invoices v ON ii.invoice_id = v.invoice_id "
                  "JOIN items i ON ii.item_id = i.item_id "
                  "LEFT JOIN delivery_entries de ON de.rowid = (SELECT d.rowid FROM delivery_entries d "
                  "WHERE d.delivery_no = ii.delivery_no AND d.item_id = ii.item_id AND d.fy_name = ii.fy_name "
                  "ORDER BY CASE WHEN d.is_deleted IS NULL OR d.is_deleted = 0 THEN 0 ELSE 1 END, d.rowid LIMIT 1) "
                  "WHERE v.invoice_no = :no AND v.fy_name = :fy ORDER BY ii.delivery_no ASC, i.item_code ASC",
                  key)) {
        while (lines.next()) {
            InvoicePrintLine line;
            if (!lines.value(9).isNull()) {
                line.dcNoFull = lines.value(9).toString();
                line.dcDate = QDate::fromString(lines.value(10).toString(), "yyyy-MM-dd").toString("dd/MM/yy");
            }
            line.itemCode = lines.value(1).toString();
            line.itemName = lines.value(2).toString();
            line.sacCode = lines.value(11).toString();
            line.uom = lines.value(4).toString();
            line.qty = lines.value(3).toDouble();
            line.rate = lines.value(5).toDouble();
            line.amount = Money::fromStored(lines.value(6).toDouble());
            line.taxPercent = lines.value(7).toDouble();
            invoice.lines.append(line);
        }
    }
    *data = invoice;
    return true;
}

QString invoiceItemRowsHtml(const QList<InvoicePrintLine> &lines)
{
    QString rows;
    for (const InvoicePrintLine &line : lines) {
        rows += itemRow({esc(line.dcNoFull) + " - " + esc(line.dcDate), esc(line.itemCode), esc(line.itemName),
                         esc(line.sacCode), storedDecimalText(line.qty, 2), esc(line.uom),
                         threeDecimalText(line.rate), line.amount.text()});
    }
    for (int i = lines.size(); i < InvoiceLinesPerPage; ++i)
        rows += fillerRow();
    return rows;
}

QList<InvoicePage> invoicePages(const InvoicePrintData &invoice, const QString &copyLabel,
                                const QString &leftLogoHtml, const QString &rightLogoHtml)
{
    const Money total = invoice.subTotal + invoice.cgst + invoice.sgst + invoice.igst;
    const Money rounded = total.roundedToWholeRupees();
    const Money roundOff = rounded - total;
    const QString wholeWords = numberToWords(rounded.toDouble());
    const InvoicePage common = commonPage(invoice, leftLogoHtml, rightLogoHtml);

    if (invoice.isAbstract || invoice.lines.isEmpty()) {
        InvoicePage page = common;
        page.pageLabel = pageLabel(copyLabel, 1, 1);
        page.totalAmount = invoice.subTotal;
        page.grandTotal = rounded;
        page.roundOff = roundOff;
        page.amountInWords = wholeWords;
        if (invoice.isAbstract) {
            page.itemRowsHtml = abstractRow(invoice.abstractContent, invoice.subTotal) + spacerRow();
            page.taxableByRate = invoice.abstractTaxable;
        } else {
            page.itemRowsHtml = spacerRow();
        }
        return {page};
    }

    QList<InvoicePage> pages;
    const int count = (invoice.lines.size() + InvoiceLinesPerPage - 1) / InvoiceLinesPerPage;
    for (int k = 0; k < count; ++k) {
        const QList<InvoicePrintLine> onPage = invoice.lines.mid(k * InvoiceLinesPerPage, InvoiceLinesPerPage);
        InvoicePage page = common;
        Money pageSum;
        for (const InvoicePrintLine &line : onPage) {
            page.taxableByRate[line.taxPercent] += line.amount;
            pageSum += line.amount;
        }
        page.itemRowsHtml = invoiceItemRowsHtml(onPage);
        page.pageLabel = pageLabel(copyLabel, k + 1, count);
        page.totalAmount = pageSum;
        if (k == count - 1) {
            page.grandTotal = rounded;
            page.roundOff = roundOff;
            page.amountInWords = wholeWords;
        } else {
            page.grandTotal = pageSum;
            page.roundOff = Money();
            page.amountInWords = numberToWords(pageSum.toDouble());
        }
        pages.append(page);
    }
    return pages;
}

QString buildInvoicePageHtml(const InvoicePage &page)
{
    const CompanyInfo &company = page.company;
    const QString companyName = esc(company.name.toUpper());
    const QString bottom = QStringLiteral("border-bottom:%1;").arg(QLatin1String(Border));

    QString h = QStringLiteral("<html><head><style>* { font-family: 'Times New Roman', serif; font-size:13pt; }"
                               "td, th { word-wrap: break-word; }</style></head><body>");
    h += "<table width='100%' cellspacing='0' cellpadding='0' style='border:2px solid #000; border-collapse:collapse;'>";

    // 1. Company header with both logos and the title.
    h += block(bottom, 8, QString(),
               "<tr><td width='15%' align='center' valign='middle'>" + page.leftLogoHtml + "</td>"
               "<td width='55%' align='center' valign='middle'>"
               "<span style='font-size:22pt; font-weight:bold;'>" + companyName + "</span><br>"
               "<span style='font-size:11pt;'>" + esc(company.address1) + ", " + esc(company.address2) + "</span><br>"
               "<span style='font-size:11pt;'>Phone: " + esc(company.phone) + " | Email: " + esc(company.email)
                   + "</span><br>"
               "<span style='font-size:11pt; font-weight:bold;'>GSTIN: " + esc(company.gstNo) + "</span></td>"
               "<td width='30%' align='center' valign='top'><br>"
               "<span style='font-size:18pt; font-weight:bold;'>TAX INVOICE</span><br>" + page.rightLogoHtml
                   + "</td></tr>");

    // 2. Invoice number, date and the copy label.
    h += block(bottom, 6, "background-color:#f0f0f0;",
               "<tr><td width='33%' style='font-size:14pt;'><b style='font-size:14pt;'>Invoice No:</b> "
                   + esc(page.invoiceNoFull) + "</td>"
               "<td width='33%' align='center' style='font-size:14pt;'><b style='font-size:14pt;'>Invoice Date:</b> "
                   + esc(page.invoiceDate) + "</td>"
               "<td width='34%' align='right' style='font-size:14pt;'>"
               "<b style='font-size:14pt;'><u style='font-size:14pt;'>" + esc(page.pageLabel) + "</u></b></td></tr>");

    // 3. The customer.
    QString to = "<b>To,</b><br><b>M/s " + esc(page.customerName) + "</b><br>" + esc(page.customerAddress1) + "<br>"
                 + esc(page.customerAddress2) + "<br>";
    if (!page.customerPhone.isEmpty())
        to += "Phone: " + esc(page.customerPhone) + "<br>";
    if (!page.customerEmail.isEmpty())
        to += "Email: " + esc(page.customerEmail);
    h += block(bottom, 4, QString(),
               "<tr><td width='55%' valign='top' style='border-right:1px solid #000; padding:4px; line-height:1.3;'>"
                   + to + "</td>"
               "<td width='45%' valign='top'><table width='100%' cellspacing='0' cellpadding='4'>"
               "<tr><td width='50%'><b>Cust GST</b></td><td width='50%'>" + esc(page.customerGstNo) + "</td></tr>"
               "<tr><td><b>Vendor ID</b></td><td>" + esc(page.vendorId) + "</td></tr>"
               "<tr><td><b>Cust Purchase Order No</b></td><td>" + esc(page.poNo) + "</td></tr>"
               "</table></td></tr>");

    // 4. The item rows under their header.
    static const QList<QPair<const char *, const char *>> columns = {
        {"O.D.C No. &amp; Date", "18%"}, {"ITEM CODE", "11%"}, {"ITEM NAME", "26%"}, {"SAC CODE", "9%"},
        {"QTY", "8%"},                   {"UOM", "7%"},        {"RATE (Rs.)", "9%"}, {"AMOUNT (Rs.)", "12%"}};
    QString header = "<tr style='background-color:#f0f0f0;'>";
    for (int c = 0; c < columns.size(); ++c) {
        const QString right = c < columns.size() - 1 ? QStringLiteral(" border-right:1px solid #000;") : QString();
        header += QStringLiteral("<th width='%1' style='font-size:11pt;%2 border-bottom:1px solid #000;'>%3</th>")
                      .arg(QLatin1String(columns.at(c).second), right, QLatin1String(columns.at(c).first));
    }
    header += "</tr>";
    h += block(bottom, 4, "border-collapse:collapse;", header + page.itemRowsHtml);

    // 5. Amount in words beside the totals.
    const QString totals = totalRow("Total Amount (Rs.)", page.totalAmount, false) + taxRows(page)
                           + totalRow("Rounded Off (Rs.)", page.roundOff, false)
                           + totalRow("Grand Total (Rs.)", page.grandTotal, true);
    h += block(bottom, 0, QString(),
               "<tr><td width='55%' valign='top' style='padding:10px; border-right:1px solid #000;'>"
               "<b>Rupees in Words:</b><br>" + esc(page.amountInWords) + "</td>"
               "<td width='45%' valign='top'><table width='100%' cellspacing='0' cellpadding='0' "
               "style='border-collapse:collapse;'>" + totals + "</table></td></tr>");

    // 6. Terms, bank details and the signatory.
    h += block("border-top:1px solid #000;", 8, QString(),
               "<tr><td width='42%' valign='top' style='border-right:1px solid #000;'>"
               "<b>Terms &amp; Conditions:</b><br>1. Immediate Payment<br>"
               "2. All disputes subject to Ardenvale Jurisdiction<br>3. Goods once sold will not be taken back</td>"
               "<td width='28%' valign='top' style='border-right:1px solid #000;'>"
               "<div align='center'><b><u>BANK DETAILS</u></b></div><br>" + page.bankDetails + "</td>"
               "<td width='30%' valign='top' align='center'><b>for " + companyName + "</b>"
               "<br><br><br><br><br>Authorized Signatory</td></tr>");

    h += "</table></body></html>";
    return h;
}

QString logoHtml(const QString &side, int width)
{
    const QFileInfo file(Desktop::applicationFolder() + QLatin1Char('/') + side + QStringLiteral("_logo.png"));
    if (!file.isFile())
        return QStringLiteral("&nbsp;");
    const QString url = QUrl::fromLocalFile(file.absoluteFilePath()).toString(QUrl::FullyEncoded);
    return QStringLiteral("<img src='%1' width='%2'/>").arg(esc(url)).arg(width);
}

QStringList buildInvoicePages(int invoiceNo, const QString &copyLabel, const QString &fyName)
{
    InvoicePrintData invoice;
    if (!readInvoiceForPrint(invoiceNo, fyName, &invoice))
        return {};
    QStringList pages;
    const QList<InvoicePage> values = invoicePages(invoice, copyLabel, logoHtml("left", InvoiceLeftLogoWidth),
                                                   logoHtml("right", InvoiceRightLogoWidth));
    for (const InvoicePage &page : values)
        pages << buildInvoicePageHtml(page);
    return pages;
}

QString generateInvoiceHtml(int invoiceNo, const QString &copyLabel, const QString &fyName)
{
    return buildInvoicePages(invoiceNo, copyLabel, fyName).value(0);
}
