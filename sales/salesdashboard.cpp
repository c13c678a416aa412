#include "salesdashboard.h"
#include "saleswindow.h"

#include "core/companyinfo.h"
#include "core/financialyear.h"
#include "core/storedsum.h"
#include "output/whatsapp.h"
#include "widgets/dashboard.h"
#include "invoicing/paymentstore.h"

#include <QFrame>
#include <QSqlQuery>
#include <QVariant>
#include <QWidget>

namespace {

// Every sum of money is summed exactly (core/storedsum.h): a balance paid off
// in several rows is 0, not a binary remainder listed as owed.
const char *const MonthValueSql =
    "SELECT COALESCE(" STORED_SUM("invoices:grand_total") ", 0) FROM invoices WHERE fy_name = :fy AND is_deleted = 0 "
    "AND invoice_date >= :from AND invoice_date <= :to";

// The payments of each invoice, summed in one grouped pass that every invoice
// joins (a subquery per invoice would read the payments once per invoice).
const char *const SettledJoin =
    " LEFT JOIN (SELECT invoice_no, fy_name, " SETTLED_SUM " AS settled "
    "FROM invoice_payments GROUP BY invoice_no, fy_name) p "
    "ON p.invoice_no = v.invoice_no AND p.fy_name = v.fy_name";

// What is still owed on the invoices v, summed.
#define BALANCE_SUM STORED_SUM("invoices:v.grand_total;-@p.settled")

const char *const OlderThan60Days = " AND julianday('now') - julianday(v.invoice_date) > 60";

QString receivableSql()
{
    return QStringLiteral("SELECT COALESCE(" BALANCE_SUM ", 0) FROM invoices v") + QLatin1String(SettledJoin)
           + QStringLiteral(" WHERE v.fy_name = :fy AND v.is_deleted = 0");
}

QSqlQuery runForYear(const QString &sql, const QString &fy)
{
    QSqlQuery q;
    q.prepare(sql);
    q.bindValue(QStringLiteral(":fy"), fy);
    q.exec();
    return q;
}

std::optional<StoredTotal> sumForYear(const QString &sql, const QString &fy)
{
    return firstStoredTotal(sql, {{QStringLiteral(":fy"), fy}});
}

// Up to five rows in their order; with `onlyOwed`, the rows before the
// first amount of 0.005 or less.
QList<SalesCustomerAmount> customerAmounts(const QString &sql, const QString &fy, bool onlyOwed)
{
    QList<SalesCustomerAmount> rows;
    bool ended = false;
    forEachStoredSumRow(
        sql, {{QStringLiteral(":fy"), fy}},
        [&](const QSqlQuery &q) {
            const StoredTotal amount = storedTotal(q.value(1));
            ended = ended || rows.size() == 5 || (onlyOwed && !balanceIsOwed(amount.toDecimal()));
            if (!ended)
                rows << SalesCustomerAmount{q.value(0).toString(), amount};
        },
        [&] {
            rows.clear();
            ended = false;
        });
    return rows;
}

QList<QStringList> amountRows(const QList<SalesCustomerAmount> &rows)
{
    QList<QStringList> out;
    for (const SalesCustomerAmount &r : rows)
        out << QStringList{r.name, r.amount.text()};
    return out;
}

} // namespace

std::optional<int> salesInvoiceCount(const QString &fy)
{
    QSqlQuery q = runForYear(QStringLiteral("SELECT COUNT(*) FROM invoices WHERE fy_name = :fy AND is_deleted = 0"), fy);
    if (q.isActive() && q.next())
        return q.value(0).toInt();
    return std::nullopt;
}

std::optional<StoredTotal> salesInvoiceValue(const QString &fy, const QDate &from, const QDate &to)
{
    return firstStoredTotal(QString::fromLatin1(MonthValueSql),
                            {{QStringLiteral(":fy"), fy},
                             {QStringLiteral(":from"), from.toString(Qt::ISODate)},
                             {QStringLiteral(":to"), to.toString(Qt::ISODate)}});
}

std::optional<StoredTotal> salesYearValue(const QString &fy)
{
    return sumForYear(QStringLiteral("SELECT COALESCE(" STORED_SUM("invoices:grand_total") ", 0) FROM invoices "
                                     "WHERE fy_name = :fy AND is_deleted = 0"),
                      fy);
}

std::optional<StoredTotal> salesReceivable(const QString &fy)
{
    return sumForYear(receivableSql(), fy);
}

std::optional<StoredTotal> salesUnpaidOver60Days(const QString &fy)
{
    return sumForYear(receivableSql() + QLatin1String(OlderThan60Days), fy);
}

QList<SalesCustomerAmount> salesOverdueCustomers(const QString &fy)
{
    // Ranked by the exact balance; the first one owed within 0.005 ends the list.
    return customerAmounts(QStringLiteral("SELECT c.customer_name, " BALANCE_SUM " AS balance "
                                          "FROM invoices v JOIN customers c ON v.customer_id = c.customer_id")
                               + QLatin1String(SettledJoin)
                               + QStringLiteral(" WHERE v.fy_name = :fy AND v.is_deleted = 0")
                               + QLatin1String(OlderThan60Days)
                               + QStringLiteral(" GROUP BY v.customer_id ORDER BY balance DESC"),
                           fy, true);
}

QList<SalesCustomerAmount> salesTopCustomers(const QString &fy)
{
    return customerAmounts(QStringLiteral("SELECT c.customer_name, " STORED_SUM("invoices:v.grand_total") " AS total "
                                          "FROM invoices v JOIN customers c ON v.customer_id = c.customer_id "
                                          "WHERE v.fy_name = :fy AND v.is_deleted = 0 "
                                          "GROUP BY v.customer_id ORDER BY total DESC LIMIT 5"),
                           fy, false);
}

QList<SalesCustomerDays> salesBestPayers(const QString &fy)
{
    // Payments of cancelled invoices count here too.
    QSqlQuery q = runForYear(
        QStringLiteral("SELECT c.customer_name, AVG(julianday(p.payment_date) - julianday(v.invoice_date)) AS avg_days "
                       "FROM invoice_payments p JOIN invoices v ON p.invoice_no = v.invoice_no "
                       "AND p.fy_name = v.fy_name JOIN customers c ON v.customer_id = c.customer_id "
                       "WHERE v.fy_name = :fy GROUP BY v.customer_id HAVING COUNT(p.pay_id) >= 1 "
                       "ORDER BY avg_days ASC LIMIT 5"),
        fy);
    QList<SalesCustomerDays> rows;
    while (q.isActive() && q.next())
        rows << SalesCustomerDays{q.value(0).toString(), q.value(1).toDouble()};
    return rows;
}

QDate salesMonthStart(const QDate &today)
{
    return monthStart(today);
}

QDate salesLastMonthStart(const QDate &today)
{
    return previousMonthStart(today);
}

QDate salesLastMonthEnd(const QDate &today)
{
    return previousMonthEnd(today);
}

QString salesCountText(int count)
{
    return QString::number(count) + QStringLiteral(" nos");
}

QString salesMonthsText(StoredTotal thisMonth, StoredTotal lastMonth)
{
    return QStringLiteral("This Month : Rs.%1\nLast Month : Rs.%2").arg(thisMonth.text(), lastMonth.text());
}

QString salesRupeesText(StoredTotal amount)
{
    return QStringLiteral("Rs. ") + amount.text();
}

QString salesOverdueText(const QList<SalesCustomerAmount> &rows)
{
    return rankedLines(QStringLiteral("%1) %2\n    Rs. %3\n"), amountRows(rows),
                       QStringLiteral("No overdue customers"));
}

QString salesTopCustomersText(const QList<SalesCustomerAmount> &rows)
{
    return rankedLines(QStringLiteral("%1) %2\n    Rs. %3\n"), amountRows(rows), QStringLiteral("No data"));
}

QString salesBestPayersText(const QList<SalesCustomerDays> &rows)
{
    QList<QStringList> lines;
    for (const SalesCustomerDays &r : rows)
        lines << QStringList{r.name, QString::number(r.days, 'f', 1)};
    return rankedLines(QStringLiteral("%1) %2\n    Avg %3 days\n"), lines, QStringLiteral("No data"));
}

SalesSummary loadSalesSummary(const QString &fy, const QDate &today)
{
    SalesSummary s;
    s.invoiceCount = salesInvoiceCount(fy).value_or(0);
    s.thisMonth = salesInvoiceValue(fy, salesMonthStart(today), today).value_or(StoredTotal());
    s.lastMonth = salesInvoiceValue(fy, salesLastMonthStart(today), salesLastMonthEnd(today)).value_or(StoredTotal());
    s.yearValue = salesYearValue(fy).value_or(StoredTotal());
    s.receivable = salesReceivable(fy).value_or(StoredTotal());
    s.overdue = salesOverdueCustomers(fy);
    return s;
}

QString salesSummaryText(const QString &companyName, const QDate &today, const SalesSummary &s)
{
    QString text = QStringLiteral("Sales & Receivable Payment Details\n") + companyName + QLatin1Char('\n')
                   + today.toString(QStringLiteral("dd/MM/yyyy")) + QLatin1Char('\n');
    text += QStringLiteral("Financial Summary:\n");
    text += QStringLiteral("Total Invoices : %1 nos\n").arg(s.invoiceCount);
    text += QStringLiteral("This Month Sales : Rs.%1\n").arg(s.thisMonth.text());
    text += QStringLiteral("Last Month Sales : Rs.%1\n").arg(s.lastMonth.text());
    text += QStringLiteral("FY Total Value : Rs.%1\n").arg(s.yearValue.text());
    text += QStringLiteral("Total Receivable : Rs.%1\n").arg(s.receivable.text());
    text += QLatin1Char('\n');
    if (!s.overdue.isEmpty()) {
        text += QStringLiteral("Overdue > 60 Days:\n");
        text += rankedLines(QStringLiteral("%1) %2 - Rs.%3\n"), amountRows(s.overdue));
        text += QLatin1Char('\n');
    }
    text += QStringLiteral("Please follow up urgently.");
    return text;
}

DashboardChart salesChart(const QString &fy)
{
    DashboardChart chart;
    chart.holderName = QStringLiteral("chartHolder");
    chart.barSetName = QStringLiteral("Invoice Amount");
    chart.months = fiscalYearMonths(fy);
    chart.monthSql = storedSumStatement(QString::fromLatin1(MonthValueSql), StoredSumRun::Bars);
    chart.binds = {{QStringLiteral(":fy"), fy}};
    chart.axis = DashboardAxis::Amounts;
    chart.viewMinimumHeight = 250;
    return chart;
}

namespace {

void fillSalesCards(QWidget *root)
{
    const QString fy = g_currentFY;
    const QDate today = QDate::currentDate();

    if (const auto count = salesInvoiceCount(fy))
        setDashboardLabel(root, QStringLiteral("lbl_invoice"), salesCountText(*count));
    setDashboardLabel(root, QStringLiteral("lbl_month_sales"),
                      salesMonthsText(salesInvoiceValue(fy, salesMonthStart(today), today).value_or(StoredTotal()),
                                      salesInvoiceValue(fy, salesLastMonthStart(today), salesLastMonthEnd(today))
                                          .value_or(StoredTotal())));
    if (const auto value = salesYearValue(fy))
        setDashboardLabel(root, QStringLiteral("lbl_fy_value"), salesRupeesText(*value));
    if (const auto receivable = salesReceivable(fy))
        setDashboardLabel(root, QStringLiteral("lbl_receivable"), salesRupeesText(*receivable));
    if (const auto unpaid = salesUnpaidOver60Days(fy))
        setDashboardLabel(root, QStringLiteral("lbl_unpaid"), salesRupeesText(*unpaid));
    setDashboardLabel(root, QStringLiteral("lbl_overdue"), salesOverdueText(salesOverdueCustomers(fy)));
    setDashboardLabel(root, QStringLiteral("lbl_topcust"), salesTopCustomersText(salesTopCustomers(fy)));
    setDashboardLabel(root, QStringLiteral("lbl_bestpay"), salesBestPayersText(salesBestPayers(fy)));
}

} // namespace

// ---- The sales window's dashboard -----------------------------------------

void SalesWindow::buildDashboard()
{
    DashboardPage layout;
    layout.title = QStringLiteral("Sales Dashboard — FY ") + g_currentFY;
    layout.chartCaption = QStringLiteral("Monthly Sales — FY ") + g_currentFY;
    layout.holderName = QStringLiteral("chartHolder");
    layout.chartFrameMinimumHeight = 200;

    const QList<QWidget *> statCards = {
        makeStatCard(QStringLiteral("Total Invoices"), QStringLiteral("lbl_invoice"), QStringLiteral("#8e44ad")),
        makeStatCard(QStringLiteral("This Month / Last Month Sales"), QStringLiteral("lbl_month_sales"),
                     QStringLiteral("#0078d4")),
        makeStatCard(QStringLiteral("FY Invoice Value (Rs.)"), QStringLiteral("lbl_fy_value"), QStringLiteral("#27ae60")),
        makeStatCard(QStringLiteral("Amount Receivable (Rs.)"), QStringLiteral("lbl_receivable"),
                     QStringLiteral("#e74c3c")),
    };
    const QList<QWidget *> listCards = {
        makeListCard(QStringLiteral("Unpaid Amount > 60 Days"), QStringLiteral("lbl_unpaid"), QStringLiteral("#e74c3c"),
                     QStringLiteral("⚠")),
        makeListCard(QStringLiteral("Payment Delaying Customers (>60 days)"), QStringLiteral("lbl_overdue"),
                     QStringLiteral("#e67e22"), QStringLiteral("⏰")),
        makeListCard(QStringLiteral("Top Customers (by Invoice Value)"), QStringLiteral("lbl_topcust"),
                     QStringLiteral("#0078d4"), QStringLiteral("🏆")),
        makeListCard(QStringLiteral("Best Customers (by Payment Speed)"), QStringLiteral("lbl_bestpay"),
                     QStringLiteral("#27ae60"), QStringLiteral("⚡")),
    };

    auto *page = new QWidget;
    ::buildDashboard(page, layout, statCards, listCards, [this] { sendWhatsAppAlert(); },
                     [this] { refreshDashboard(); });
    setCentralWidget(page);
}

void SalesWindow::refreshDashboard()
{
    ::refreshDashboard(this, salesChart(g_currentFY), fillSalesCards);
}

QFrame *SalesWindow::makeStatCard(const QString &title, const QString &objectName, const QString &colour)
{
    return ::makeStatCard(title, objectName, colour);
}

QFrame *SalesWindow::makeListCard(const QString &title, const QString &objectName, const QString &colour,
                                  const QString &icon)
{
    return ::makeListCard(title, objectName, colour, icon);
}

void SalesWindow::sendWhatsAppAlert()
{
    const CompanyInfo company = loadCompanyInfo();
    const QDate today = QDate::currentDate();
    const QString text = salesSummaryText(company.name, today, loadSalesSummary(g_currentFY, today));
    openWhatsAppMessage(WhatsAppLink::WebSend, normalizeIndianPhone(company.phone), text);
}
