#include "receivablestatements.h"

#include "core/financialyear.h"
#include "core/money.h"
#include "output/desktop.h"
#include "output/htmlescape.h"
#include "output/htmlprint.h"
#include "output/logos.h"
#include "output/pagerenderer.h"

#include <QStringList>

#include <cmath>

namespace {

using Rule = QPair<const char *, QString>;

QString styleBlock(const QList<Rule> &rules)
{
    QString css;
    for (const Rule &rule : rules)
        css += QString::fromLatin1(rule.first) + QStringLiteral(" { ") + rule.second + QStringLiteral(" } ");
    return QStringLiteral("<!DOCTYPE html><html><head><meta charset='utf-8'><style>") + css
           + QStringLiteral("</style></head><body>");
}

// The rules both statements share; the sizes differ.
struct StatementLook
{
    QString bodyFontSize;
    QString tableBorder;
    QString cellBorder;
    QString cellPadding;
    QString cellExtra; // after the cell's font size
    QString headFontSize;
    QString leftPadding;
    QString rightRule;
    QString titleSize;
    QString subSize;
    QString docTitleSize;
};

QList<Rule> statementRules(const StatementLook &look)
{
    return {
        {"html, body", QStringLiteral("width: 100%; margin: 0; padding: 0; font-family: 'Times New Roman', serif; "
                                      "font-size: %1; color: #000; background-color:#fff;")
                           .arg(look.bodyFontSize)},
        {"table", QStringLiteral("width: 100%; border-collapse: collapse; table-layout: fixed; margin: 0;")},
        {".company-table", QStringLiteral("border: %1 solid #000; border-bottom: none;").arg(look.tableBorder)},
        {".data-table", QStringLiteral("border: %1 solid #000; border-top: 1px solid #000;").arg(look.tableBorder)},
        {"th, td", QStringLiteral("border: %1 solid #000; padding: %2; box-sizing: border-box; word-wrap: break-word; "
                                  "font-size: %3;%4")
                       .arg(look.cellBorder, look.cellPadding, look.bodyFontSize, look.cellExtra)},
        {"th", QStringLiteral("background-color: #eeeeee; font-weight: bold; text-align: center; font-size: %1;")
                   .arg(look.headFontSize)},
        {"tr", QStringLiteral("page-break-inside: avoid;")},
        {"thead", QStringLiteral("display: table-header-group;")},
        {".center", QStringLiteral("text-align: center;")},
        {".left", QStringLiteral("text-align: left; padding-left: %1;").arg(look.leftPadding)},
        {".right", look.rightRule},
    };
}

QList<Rule> titleRules(const StatementLook &look)
{
    return {
        {".bold", QStringLiteral("font-weight: bold;")},
        {".header-bg", QStringLiteral("background-color: #f5f5f5;")},
        {".company-title",
         QStringLiteral("font-size: %1; font-weight: bold; text-transform: uppercase;").arg(look.titleSize)},
        {".company-sub", QStringLiteral("font-size: %1; font-weight: bold;").arg(look.subSize)},
        {".company-info", QStringLiteral("font-size: %1;").arg(look.subSize)},
        {".doc-title", QStringLiteral("font-size: %1; font-weight: bold;").arg(look.docTitleSize)},
    };
}

// The company table: logos either side of the company, then the title row.
QString companyTable(const StatementHead &head, const QString &phoneSeparator, const QString &titleRow)
{
    const CompanyInfo &c = head.company;
    const QString logoCell = QStringLiteral("<td style='width:15%; text-align:center; vertical-align:middle;'>");
    return QStringLiteral("<table class='company-table'><tr>") + logoCell + head.leftLogoHtml
           + QStringLiteral("</td><td style='width:70%; text-align:center; line-height:1.3;'>"
                            "<div class='company-title'>")
           + htmlEscaped(c.name) + QStringLiteral("</div><div class='company-sub'>") + htmlEscaped(c.address1)
           + QStringLiteral(", ") + htmlEscaped(c.address2) + QStringLiteral("</div><div class='company-info'>Phone : ")
           + htmlEscaped(c.phone) + phoneSeparator + QStringLiteral("e-mail : ") + htmlEscaped(c.email)
           + QStringLiteral("</div><div class='company-sub'>GSTIN: ") + htmlEscaped(c.gstNo) + QStringLiteral("</div></td>")
           + logoCell + head.rightLogoHtml + QStringLiteral("</td></tr>") + titleRow + QStringLiteral("</table>");
}

QString periodLine(const StatementHead &head, const QString &gap)
{
    const QString format = QStringLiteral("dd/MM/yyyy");
    return QStringLiteral("Financial Year: ") + htmlEscaped(head.fy) + gap + QStringLiteral("       From: ")
           + head.from.toString(format) + gap + QStringLiteral("       To: ") + head.to.toString(format);
}

QString headerRow(const QList<QPair<QString, int>> &columns)
{
    QString html = QStringLiteral("<thead><tr>");
    for (const auto &[title, width] : columns)
        html += QStringLiteral("<th style='width:%1%;'>%2</th>").arg(width).arg(title);
    return html + QStringLiteral("</tr></thead><tbody>");
}

QString cell(const QString &classes, int width, const QString &text, int rowspan = 0)
{
    const QString span = rowspan > 0 ? QStringLiteral(" rowspan='%1'").arg(rowspan) : QString();
    return QStringLiteral("<td class='%1'%2 style='width:%3%;'>").arg(classes, span).arg(width) + text
           + QStringLiteral("</td>");
}

// An amount of 0.001 or less prints as nothing.
QString printedAmount(const QString &text)
{
    return text.toDouble() <= 0.001 ? QString() : text;
}

int wholeNumber(const QString &text)
{
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    return ok ? n : 0;
}

} // namespace

StatementHead statementHead(int leftLogoWidth, int rightLogoWidth, int logoHeight, const QString &fy,
                            const QDate &from, const QDate &to)
{
    return {loadCompanyInfo(),
            logoImageHtml(QStringLiteral("left"), leftLogoWidth, logoHeight),
            logoImageHtml(QStringLiteral("right"), rightLogoWidth, logoHeight),
            fy,
            from,
            to};
}

QString pendingRowShade(const QString &days)
{
    const int n = wholeNumber(days);
    if (n >= 91)
        return QStringLiteral("background-color:#f8d7da;");
    if (n >= 61)
        return QStringLiteral("background-color:#fff3cd;");
    return QString();
}

StoredTotal pendingStatementTotal(const QList<PendingStatementRow> &rows)
{
    StoredTotal total;
    for (const PendingStatementRow &row : rows)
        total += Money::fromText(row.amount).value_or(Money());
    return total;
}

QString pendingStatementHtml(const StatementHead &head, const QList<PendingStatementRow> &rows)
{
    StatementLook look;
    look.bodyFontSize = QStringLiteral("15px");
    look.tableBorder = QStringLiteral("1.5px");
    look.cellBorder = QStringLiteral("1px");
    look.cellPadding = QStringLiteral("5px 7px");
    look.headFontSize = QStringLiteral("16px");
    look.leftPadding = QStringLiteral("8px");
    look.rightRule = QStringLiteral("text-align: right; padding-right: 8px; white-space: nowrap;");
    look.titleSize = QStringLiteral("22px");
    look.subSize = QStringLiteral("13px");
    look.docTitleSize = QStringLiteral("17px");

    const QString gap = QStringLiteral(" &nbsp;&nbsp;&nbsp;&nbsp;");
    const QString titleRow = QStringLiteral("<tr class='header-bg'><td colspan='3' style='text-align:center; "
                                            "padding:6px;'><div class='doc-title'>PAYMENT PENDING STATEMENT</div>"
                                            "<div style='font-weight:bold; font-size:13px; margin-top:2px;'>")
                             + periodLine(head, gap) + QStringLiteral("</div></td></tr>");

    QString html = styleBlock(statementRules(look) + titleRules(look))
                   + companyTable(head, QStringLiteral(" &nbsp; "), titleRow)
                   + QStringLiteral("<table class='data-table'>")
                   + headerRow({{QStringLiteral("Invoice No"), 15},
                                {QStringLiteral("Invoice Date"), 15},
                                {QStringLiteral("Customer Name"), 40},
                                {QStringLiteral("Invoice Amount"), 18},
                                {QStringLiteral("Days Pending"), 12}});
    for (const PendingStatementRow &row : rows) {
        html += QStringLiteral("<tr style='") + pendingRowShade(row.days) + QStringLiteral("'>")
                + cell(QStringLiteral("center"), 15, htmlEscaped(row.invoiceNo.trimmed()))
                + cell(QStringLiteral("center"), 15, htmlEscaped(row.invoiceDate.trimmed()))
                + cell(QStringLiteral("left"), 40, htmlEscaped(row.customer.trimmed()))
                + cell(QStringLiteral("right"), 18, htmlEscaped(row.amount.trimmed()))
                + cell(QStringLiteral("center bold"), 12, htmlEscaped(row.days.trimmed())) + QStringLiteral("</tr>");
    }
    html += QStringLiteral("</tbody><tfoot><tr class='bold header-bg'>"
                           "<td colspan='3' class='right' style='font-size:16px;'>Grand Total Pending:</td>"
                           "<td class='right' style='font-size:16px; color:#cc0000;'>Rs. ")
            + pendingStatementTotal(rows).text() + QStringLiteral("</td><td></td></tr></tfoot></table></body></html>");
    return html;
}

void printPendingStatement(QWidget *parent, const QList<PendingStatementRow> &rows, const QDate &from,
                           const QDate &to)
{
    if (rows.isEmpty()) {
        Desktop::warning(parent, QStringLiteral("Print"), QStringLiteral("No data to print!"));
        return;
    }
    if (!pendingStatementTotal(rows).isValid()) {
        Desktop::warning(parent, QStringLiteral("Error"), totalTooLargeToPrintText());
        return;
    }
    renderComposedPages(parent, RenderProfiles::paymentPendingStatement(), [rows, fy = g_currentFY, from, to] {
        ComposedDocument document;
        document.pagesHtml = QStringList{pendingStatementHtml(statementHead(120, 140, 75, fy, from, to), rows)};
        return document;
    });
}

QList<PaymentBlock> paymentBlocks(const QList<PaymentStatementRow> &rows)
{
    QList<PaymentBlock> blocks;
    for (PaymentStatementRow row : rows) {
        row.invoiceAmount = printedAmount(row.invoiceAmount.trimmed());
        row.paidAmount = printedAmount(row.paidAmount.trimmed());
        row.paidDate = row.paidDate.trimmed();
        if (row.paidAmount.isEmpty() && row.paidDate.isEmpty() && !blocks.isEmpty()) {
            blocks.last().lines.append(row);
            continue;
        }
        blocks.append({row.paidAmount, row.paidDate, row.mode.trimmed(), row.remarks.trimmed(), {row}});
    }
    return blocks;
}

int statementAverageDays(const QList<PaymentStatementRow> &rows)
{
    long long sum = 0;
    int count = 0;
    for (const PaymentStatementRow &row : rows) {
        if (row.days.trimmed().isEmpty())
            continue;
        sum += wholeNumber(row.days);
        ++count;
    }
    return count > 0 ? static_cast<int>(std::round(double(sum) / count)) : 0;
}

QString paymentStatementHtml(const StatementHead &head, const QList<PaymentStatementRow> &rows,
                             const QString &totalInvoices, const QString &totalPaid)
{
    StatementLook look;
    look.bodyFontSize = QStringLiteral("30px");
    look.tableBorder = QStringLiteral("3px");
    look.cellBorder = QStringLiteral("1.5px");
    look.cellPadding = QStringLiteral("10px 12px");
    look.cellExtra = QStringLiteral(" vertical-align: middle;");
    look.headFontSize = QStringLiteral("32px");
    look.leftPadding = QStringLiteral("10px");
    look.rightRule = QStringLiteral("text-align: right; padding-right: 10px;");
    look.titleSize = QStringLiteral("48px");
    look.subSize = QStringLiteral("28px");
    look.docTitleSize = QStringLiteral("38px");

    const QString gap = QStringLiteral(" &nbsp;&nbsp;|&nbsp;&nbsp;");
    const QString titleRow = QStringLiteral("<tr class='header-bg'><td colspan='3' style='text-align:center; "
                                            "padding:10px;'><div class='doc-title'>SUPPLIER PAYMENT STATEMENT</div>"
                                            "<div style='font-weight:bold; font-size:28px; margin-top:4px;'>")
                             + periodLine(head, gap) + QStringLiteral("</div></td></tr>");

    QList<Rule> rules = statementRules(look);
    rules.append({".nowrap", QStringLiteral("white-space: nowrap;")});
    QString html = styleBlock(rules + titleRules(look))
                   + companyTable(head, QStringLiteral(" &nbsp; | &nbsp; "), titleRow)
                   + QStringLiteral("<table class='data-table'>")
                   + headerRow({{QStringLiteral("Bill No"), 10},
                                {QStringLiteral("Bill Date"), 10},
                                {QStringLiteral("Company Name"), 22},
                                {QStringLiteral("Bill Amount"), 11},
                                {QStringLiteral("Paid Amount"), 11},
                                {QStringLiteral("Paid Date"), 11},
                                {QStringLiteral("Pay Mode"), 8},
                                {QStringLiteral("Days"), 7},
                                {QStringLiteral("Remarks"), 10}});

    QList<PaymentStatementRow> printed;
    for (const PaymentBlock &block : paymentBlocks(rows)) {
        const int n = block.lines.size();
        for (int i = 0; i < n; ++i) {
            const PaymentStatementRow &line = block.lines.at(i);
            printed.append(line);
            html += QStringLiteral("<tr>") + cell(QStringLiteral("center nowrap"), 10, htmlEscaped(line.invoiceNo.trimmed()))
                    + cell(QStringLiteral("center nowrap"), 10, htmlEscaped(line.invoiceDate.trimmed()))
                    + cell(QStringLiteral("left"), 22, htmlEscaped(line.customer.trimmed()))
                    + cell(QStringLiteral("right nowrap"), 11, htmlEscaped(line.invoiceAmount));
            if (i == 0)
                html += cell(QStringLiteral("right nowrap"), 11, htmlEscaped(block.paidAmount), n)
                        + cell(QStringLiteral("center nowrap"), 11, htmlEscaped(block.paidDate), n)
                        + cell(QStringLiteral("center nowrap"), 8, htmlEscaped(block.mode), n);
            html += cell(QStringLiteral("center bold"), 7, htmlEscaped(line.days.trimmed()));
            if (i == 0)
                html += cell(QStringLiteral("left"), 10, htmlEscaped(block.remarks), n);
            html += QStringLiteral("</tr>");
        }
    }

    html += QStringLiteral("</tbody><tfoot><tr class='bold header-bg'>"
                           "<td colspan='3' class='right' style='font-size:32px;'>Grand Total:</td>"
                           "<td class='right' style='font-size:32px;'>")
            + htmlEscaped(totalInvoices.trimmed())
            + QStringLiteral("</td><td class='right' style='font-size:32px; color:#008000;'>")
            + htmlEscaped(totalPaid.trimmed())
            + QStringLiteral("</td><td colspan='4'></td></tr><tr class='bold header-bg'>"
                             "<td colspan='7' class='right' style='font-size:32px;'>Average Paid Days:</td>"
                             "<td class='center' style='font-size:32px; color:#004085;'>")
            + QString::number(statementAverageDays(printed))
            + QStringLiteral(" Days</td><td></td></tr></tfoot></table></body></html>");
    return html;
}

void printPaymentStatement(QWidget *parent, const QList<PaymentStatementRow> &rows, const QDate &from,
                           const QDate &to, const QString &totalInvoices, const QString &totalPaid)
{
    if (rows.isEmpty()) {
        Desktop::warning(parent, QStringLiteral("Print"), QStringLiteral("No data to print!"));
        return;
    }
    renderComposedPages(parent, RenderProfiles::customerPaymentStatement(),
                        [rows, fy = g_currentFY, from, to, totalInvoices, totalPaid] {
                            ComposedDocument document;
                            document.pagesHtml = QStringList{paymentStatementHtml(
                                statementHead(200, 220, 130, fy, from, to), rows, totalInvoices, totalPaid)};
                            return document;
                        });
}
