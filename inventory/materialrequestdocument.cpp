#include "materialrequestdocument.h"

#include "output/htmlescape.h"

QString materialRequestMessage(const QString &supplier, const QList<RequestDocumentLine> &lines,
                               const QString &companyName)
{
    QString message = QStringLiteral("Dear ") + supplier + QStringLiteral(",\n\nPlease supply the following items:\n\n");
    int n = 0;
    for (const RequestDocumentLine &line : lines)
        message += QStringLiteral("%1) %2 - %3 %4\n").arg(++n).arg(line.itemName, line.qtyText, line.uom);
    message += QStringLiteral("\nThank you.\n") + companyName;
    return message;
}

QString requestDocumentHeader(const CompanyInfo &company, const QString &leftLogoCell,
                              const QString &rightLogoCell, const QString &title)
{
    return QStringLiteral("<html><head><style>* { font-family: 'Times New Roman', serif; }</style></head>"
                          "<body style='font-size:72px;'><table width='100%' border='1' cellspacing='0' "
                          "cellpadding='10' style='border-collapse:collapse;'><tr><td width='15%' valign='middle' "
                          "align='center'>")
           + leftLogoCell
           + QStringLiteral("</td><td width='55%' align='center' valign='middle'><span style='font-size:150px; "
                            "font-weight:bold;'>")
           + htmlEscaped(company.name.toUpper()) + QStringLiteral("</span><br><span style='font-size:55px;'>")
           + htmlEscaped(company.address1) + QStringLiteral(", ") + htmlEscaped(company.address2)
           + QStringLiteral("</span><br><span style='font-size:55px;'>Phone : ") + htmlEscaped(company.phone)
           + QStringLiteral(" &nbsp; e-mail : ") + htmlEscaped(company.email)
           + QStringLiteral("</span><br><span style='font-size:55px;'><b>GSTIN: ") + htmlEscaped(company.gstNo)
           + QStringLiteral("</b></span></td><td width='30%' valign='middle' align='center'>") + rightLogoCell
           + QStringLiteral("</td></tr><tr><td colspan='3' align='center' style='padding:8px; border-top:2px solid "
                            "#000;'><span style='font-size:100px; font-weight:bold;'>")
           + title + QStringLiteral("</span></td></tr></table>");
}

QString purchaseOrderHtml(const CompanyInfo &company, const QString &leftLogoCell, const QString &rightLogoCell,
                          const QString &supplier, const QString &dateText, const QList<RequestDocumentLine> &lines)
{
    QString rows;
    int k = 0;
    for (const RequestDocumentLine &line : lines) {
        rows += QStringLiteral("<tr><td align='center'>") + QString::number(++k) + QStringLiteral("</td><td>")
                + htmlEscaped(line.category) + QStringLiteral("</td><td>") + htmlEscaped(line.itemName)
                + QStringLiteral("</td><td align='right'>") + htmlEscaped(line.qtyText)
                + QStringLiteral("</td><td align='center'>") + htmlEscaped(line.uom) + QStringLiteral("</td></tr>");
    }
    return requestDocumentHeader(company, leftLogoCell, rightLogoCell, QStringLiteral("PURCHASE ORDER"))
           + QStringLiteral("<table width='100%' cellspacing='0' cellpadding='8' style='border-collapse:collapse; "
                            "margin-top:20px;'><tr><td><b>To,</b><br><b>")
           + htmlEscaped(supplier) + QStringLiteral("</b></td><td align='right'><b>Date:</b> ") + htmlEscaped(dateText)
           + QStringLiteral("</td></tr></table><table width='100%' border='1' cellspacing='0' cellpadding='10' "
                            "style='border-collapse:collapse; margin-top:20px;'><tr style='font-weight:bold; "
                            "background-color:#eeeeee;'><th width='8%'>S.No</th><th width='20%'>Category</th>"
                            "<th width='40%'>Item Name</th><th width='17%'>Order Qty</th><th width='15%'>UOM</th></tr>")
           + rows
           + QStringLiteral("</table><table width='100%' cellspacing='0' cellpadding='0' style='border-collapse:collapse; "
                            "margin-top:200px;'><tr><td width='60%'>&nbsp;</td><td width='40%' align='center'>"
                            "___________________________<br><b>Authorised Signatory</b><br><b>For ")
           + htmlEscaped(company.name.toUpper()) + QStringLiteral("</b></td></tr></table></body></html>");
}

namespace {

QString statusRowStyle(const QString &status)
{
    if (status == QLatin1String("Received"))
        return QStringLiteral("background-color:#d4edda;");
    if (status == QLatin1String("Partial Received"))
        return QStringLiteral("background-color:#cce5ff;");
    if (status == QLatin1String("Order Cancel"))
        return QStringLiteral("background-color:#f8d7da;");
    return QStringLiteral("background-color:#fff3cd;");
}

} // namespace

QString requestListHtml(const CompanyInfo &company, const QString &leftLogoCell, const QString &rightLogoCell,
                        const QList<QStringList> &rows)
{
    QString body;
    for (QStringList cells : rows) {
        while (cells.size() < 8)
            cells << QString();
        body += QStringLiteral("<tr style='") + statusRowStyle(cells.at(7)) + QStringLiteral("'><td align='center'>")
                + cells.at(0) + QStringLiteral("</td><td align='center'>") + cells.at(1) + QStringLiteral("</td><td>")
                + cells.at(2)
                + QStringLiteral("</td><td>") + cells.at(3) + QStringLiteral("</td><td>") + cells.at(4)
                + QStringLiteral("</td><td align='right'>") + cells.at(5) + QStringLiteral("</td><td align='center'>")
                + cells.at(6) + QStringLiteral("</td><td align='center'>") + cells.at(7) + QStringLiteral("</td></tr>");
    }
    return requestDocumentHeader(company, leftLogoCell, rightLogoCell, QStringLiteral("PURCHASE ORDER LIST"))
           + QStringLiteral("<table width='100%' border='1' cellspacing='0' cellpadding='8' "
                            "style='border-collapse:collapse; margin-top:-1px;'><tr style='font-weight:bold; "
                            "background-color:#eeeeee;'><th>PO Number</th><th>PO Date</th><th>Supplier</th>"
                            "<th>Item Name</th><th>Category</th><th>Qty</th><th>UOM</th><th>Status</th></tr>")
           + body
           + QStringLiteral("</table><table width='100%' cellspacing='0' cellpadding='8' style='border-collapse:collapse; "
                            "margin-top:50px; border-top:1px solid #ccc;'><tr><td align='center' style='font-size:40px; "
                            "color:#888;'>Generated by <b>Kestrova</b> Management Software</td></tr></table></body></html>");
}
