#include "challandocument.h"

#include "core/money.h"
#include "output/desktop.h"
#include "output/htmlescape.h"
#include "output/logos.h"
#include "output/pagerenderer.h"

namespace {

const char *const DocumentStart = "<html><head><style>* { font-family: 'Times New Roman', serif; }</style></head>"
                                  "<body style='font-size:14pt;'>";
const char *const DocumentEnd = "</body></html>";

const char *const PageTopSpacer = "<table width='100%' cellspacing='0' cellpadding='0' "
                                  "style='border-collapse:collapse;'><tr><td style='height:30px;'>&nbsp;</td></tr></table>";
const char *const CopySpacer = "<table width='100%' cellspacing='0' cellpadding='0' "
                               "style='border-collapse:collapse;'><tr><td style='height:40px;'>&nbsp;</td></tr></table>";
const char *const PageBreak = "<div style='page-break-after:always;'></div>";

// Openings of the cells of an item row.
const char *const FirstCell = "<tr><td style='border-right:1px solid #000; padding:4px; font-size:12pt;' align='center'>";
const char *const CentredCell = "</td><td style='border-right:1px solid #000; padding:4px; font-size:12pt;' align='center'>";
const char *const LeftCell = "</td><td style='border-right:1px solid #000; padding:4px; font-size:12pt;'>";
const char *const QtyCell = "</td><td style='padding:4px; font-size:12pt;' align='right'>";

const int LogoBox = 80;

QString esc(const QString &text)
{
    return htmlEscaped(text);
}

// The lines of page k.
QList<ChallanPrintLine> pageLines(const QList<ChallanPrintLine> &lines, int page)
{
    return lines.mid(page * ChallanLinesPerPage, ChallanLinesPerPage);
}

int pageCount(int lines)
{
    return lines == 0 ? 1 : (lines + ChallanLinesPerPage - 1) / ChallanLinesPerPage;
}

// Page k's two copies, with the spacer at the top of every page but the first.
QString pageBody(const ChallanCopyData &copy, const QList<ChallanPrintLine> &lines, int page)
{
    const QList<ChallanPrintLine> onPage = pageLines(lines, page);
    const QString copyHtml = buildChallanHeaderHtml(copy, buildChallanItemRows(onPage, page * ChallanLinesPerPage + 1),
                                                    challanFillerBreaks(onPage.size()));
    QString body;
    if (page > 0)
        body += PageTopSpacer;
    body += copyHtml;
    body += CopySpacer;
    body += copyHtml;
    return body;
}

} // namespace

ChallanCopyData challanCopyData(const ChallanPrintData &challan)
{
    ChallanCopyData copy;
    copy.leftLogoHtml = logoImageHtml(QStringLiteral("left"), LogoBox, LogoBox);
    copy.company = loadCompanyInfo();
    copy.rightLogoHtml = logoImageHtml(QStringLiteral("right"), LogoBox, LogoBox);
    copy.customerName = challan.customerName;
    copy.address1 = challan.address1;
    copy.address2 = challan.address2;
    copy.gstNo = challan.gstNo;
    copy.phone = challan.phone;
    copy.fullNumber = challan.fullNumber;
    copy.date = challan.date;
    copy.sacCode = challan.sacCode;
    copy.remarks = challan.remarks;
    return copy;
}

QString buildChallanItemRows(const QList<ChallanPrintLine> &lines, int firstSerial)
{
    QString rows;
    int serial = firstSerial;
    for (const ChallanPrintLine &line : lines) {
        rows += FirstCell + QString::number(serial++);
        rows += CentredCell + esc(line.inwardDate);
        rows += CentredCell + esc(line.poNo);
        rows += CentredCell + esc(line.dcNo);
        rows += CentredCell + esc(line.itemCode);
        rows += LeftCell + esc(line.itemName);
        rows += QtyCell + storedDecimalText(line.qty, 2) + " " + esc(line.uom);
        rows += "</td></tr>";
    }
    return rows;
}

int challanFillerBreaks(int linesOnPage)
{
    return qMax(1, 14 - linesOnPage);
}

QString buildChallanHeaderHtml(const ChallanCopyData &copy, const QString &itemRowsHtml, int fillerBreaks)
{
    const CompanyInfo &company = copy.company;
    const QString companyName = esc(company.name.toUpper());
    QString h;
    h += "<table width='100%' cellspacing='0' cellpadding='0' style='border-collapse:collapse; border:3px solid #000;'>";

    // Company block with both logos, and the customer beside it.
    h += "<tr><td width='65%' style='border-right:2px solid #000; border-bottom:2px solid #000;'>"
         "<table width='100%' cellspacing='0' cellpadding='8'><tr>";
    h += "<td width='20%' align='center'>" + copy.leftLogoHtml + "</td>";
    h += "<td width='55%' align='center'><span style='font-size:18pt; font-weight:bold;'>" + companyName
         + "</span><br><span style='font-size:12pt;'>" + esc(company.address1) + "<br>" + esc(company.address2)
         + "<br>Phone : " + esc(company.phone) + " &nbsp; e-mail : " + esc(company.email)
         + "<br><b>GSTIN: " + esc(company.gstNo) + "</b></span></td>";
    h += "<td width='25%' align='center'>" + copy.rightLogoHtml + "</td>";
    h += "</tr></table></td>";
    h += "<td width='35%' style='padding:10px; border-bottom:2px solid #000;'>To, M/s <b>" + esc(copy.customerName)
         + "</b><br><br>" + esc(copy.address1) + "<br>" + esc(copy.address2) + "<br>GSTIN: " + esc(copy.gstNo)
         + "<br>Phone: " + esc(copy.phone) + "</td></tr>";

    // Title row.
    h += "<tr><td colspan='2' align='center' style='padding:8px; border-bottom:2px solid #000;'>"
         "<span style='font-size:12pt; font-weight:bold; text-decoration:underline;'>DELIVERY CHALLAN</span>"
         "&nbsp;&nbsp;&nbsp;&nbsp;<b>NO.: </b>"
         + esc(copy.fullNumber) + "&nbsp;&nbsp;&nbsp;&nbsp;<b>DC DATE: </b>" + esc(copy.date)
         + "&nbsp;&nbsp;&nbsp;&nbsp;<b>SAC CODE: </b>" + esc(copy.sacCode) + "</td></tr>";

    // Item table: header, the page's rows, the filler row.
    h += "<tr><td colspan='2' style='border-bottom:2px solid #000;'>"
         "<table width='100%' cellspacing='0' cellpadding='4' style='border-collapse:collapse;'>";
    const QList<QPair<const char *, const char *>> columns = {
        {"S.No", "5%"},         {"Cust DC Date", "11%"}, {"Cust P.O. No.", "13%"}, {"Cust D.C No.", "13%"},
        {"Item Code", "13%"},   {"Item Name", "33%"},    {"Qty with UOM", "12%"}};
    h += "<tr style='font-weight:bold; background-color:#eeeeee;'>";
    for (const auto &column : columns)
        h += QString("<td width='%1' style='border:1px solid #000; font-size:12pt;' align='center'>%2</td>")
                 .arg(column.second, column.first);
    h += "</tr>";
    h += itemRowsHtml;
    h += FirstCell + QString("<br>").repeated(fillerBreaks);
    for (int i = 0; i < 4; ++i)
        h += CentredCell + QString("&nbsp;");
    h += LeftCell + QString("&nbsp;");
    h += QtyCell + QString("&nbsp;") + "</td></tr>";
    h += "</table></td></tr>";

    // Footer: received by, remark, signatory.
    QString remark = "<b>Remark:</b><br>If any Rejection/Re-work please<br>inform to us within 15 days";
    if (!copy.remarks.isEmpty())
        remark += "<br><b>" + esc(copy.remarks) + "</b>";
    h += "<tr><td colspan='2'><table width='100%' cellspacing='0' cellpadding='0' style='border-collapse:collapse;'><tr>";
    h += "<td width='33%' valign='top' style='padding:15px; font-size:12pt; border-bottom:2px solid #000; "
         "border-left:2px solid #000; border-right:1px solid #000;'><b>Received by</b><br><br><br></td>";
    h += "<td width='34%' valign='top' style='padding:15px; font-size:12pt; border-bottom:2px solid #000; "
         "border-right:1px solid #000;'>"
         + remark + "</td>";
    h += "<td width='33%' align='center' style='padding:15px; font-size:12pt; border-bottom:2px solid #000; "
         "border-right:2px solid #000;'><b>for &nbsp;"
         + companyName + "</b><br><br><br><br>Authorized Signatory</td>";
    h += "</tr></table></td></tr>";

    h += "</table>";
    return h;
}

QString buildChallanDocument(const ChallanCopyData &copy, const QList<ChallanPrintLine> &lines)
{
    QString html = DocumentStart;
    const int pages = pageCount(lines.size());
    for (int page = 0; page < pages; ++page) {
        html += pageBody(copy, lines, page);
        if (page < pages - 1)
            html += PageBreak;
    }
    return html + DocumentEnd;
}

QStringList buildChallanPages(const QString &document)
{
    const QLatin1String start(DocumentStart);
    const QLatin1String end(DocumentEnd);
    if (!document.startsWith(start) || !document.endsWith(end))
        return {document};
    // Values are escaped, so a page break in the text is one of the document's.
    const QString body = document.mid(start.size(), document.size() - start.size() - end.size());
    QStringList pages;
    for (const QString &page : body.split(QLatin1String(PageBreak)))
        pages << start + page + end;
    return pages;
}

namespace {

bool readChallanOrWarn(QWidget *parent, int number, const QString &fy, ChallanPrintData *challan)
{
    if (readChallanForPrint(number, fy, challan))
        return true;
    Desktop::warning(parent, "Error", "Delivery Challan not found!");
    return false;
}

} // namespace

QString buildChallanHtml(int number, const QString &fy, QWidget *parent)
{
    ChallanPrintData challan;
    if (!readChallanOrWarn(parent, number, fy, &challan))
        return QString();
    return buildChallanDocument(challanCopyData(challan), challan.lines);
}

void printChallan(QWidget *parent, int number, const QString &fy)
{
    renderComposedPages(parent, RenderProfiles::deliveryChallan(number), [number, fy] {
        ComposedDocument document;
        ChallanPrintData challan;
        if (!readChallanForPrint(number, fy, &challan)) {
            document.refusal = {QStringLiteral("Error"), QStringLiteral("Delivery Challan not found!")};
            return document;
        }
        document.pagesHtml = buildChallanPages(buildChallanDocument(challanCopyData(challan), challan.lines));
        if (document.pagesHtml.size() > 1) {
            // The tool draws a document as one tall picture; each page is
            // rendered by itself so that every page prints on its own sheet.
            PageRenderProfile profile = RenderProfiles::deliveryChallan(number);
            profile.paint = RenderPaint::PerPage; // every page must render: a challan never prints with one missing
            profile.imageName = QStringLiteral("challan_preview_%1.png");
            document.profile = profile;
        }
        return document;
    });
}
