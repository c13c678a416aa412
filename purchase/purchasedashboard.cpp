#include "purchasedashboard.h"
#include "purchasewindow.h"

#include "core/companyinfo.h"
#include "core/storedsum.h"
#include "output/desktop.h"
#include "output/whatsapp.h"
#include "widgets/dashboard.h"

#include <QFrame>
#include <QPushButton>
#include <QStackedWidget>
#include <QSqlQuery>
#include <QVariant>
#include <QWidget>

#include <cmath>

namespace {

// Money is summed exactly (core/storedsum.h).
#define BILL_TOTALS STORED_SUM("purchase_bills:bill_total")

const char *const MonthSumSql = "SELECT COALESCE(" BILL_TOTALS ", 0) FROM purchase_bills WHERE bill_date >= :from "
                                "AND bill_date <= :to AND LOWER(type) = 'credit'";

#define UNPAID_CREDIT "(payment_status IS NULL OR payment_status = 'Unpaid') AND LOWER(type) = 'credit'"

const char *const UnpaidCountSql = "SELECT COUNT(*) FROM purchase_bills WHERE " UNPAID_CREDIT;
const char *const DebtSql = "SELECT COALESCE(" BILL_TOTALS ", 0) FROM purchase_bills WHERE " UNPAID_CREDIT;
const char *const TopSuppliersSql = "SELECT company_name, " BILL_TOTALS " AS total FROM purchase_bills WHERE "
                                    "LOWER(type) = 'credit' GROUP BY company_name ORDER BY total DESC LIMIT 5";
const char *const UnpaidSuppliersSql = "SELECT company_name, " BILL_TOTALS " AS total FROM purchase_bills WHERE "
                                       UNPAID_CREDIT " GROUP BY company_name ORDER BY total DESC LIMIT 5";
const char *const OverdueSuppliersSql =
    "SELECT company_name, " BILL_TOTALS " AS total, MAX(julianday('now') - julianday(bill_date)) AS max_days "
    "FROM purchase_bills WHERE " UNPAID_CREDIT " AND julianday('now') - julianday(bill_date) > 30 "
    "GROUP BY company_name ORDER BY total DESC LIMIT 5";

#undef UNPAID_CREDIT
#undef BILL_TOTALS

QVariantMap periodValues(const QDate &from, const QDate &to)
{
    return {{QStringLiteral(":from"), from.toString(Qt::ISODate)}, {QStringLiteral(":to"), to.toString(Qt::ISODate)}};
}

QList<SupplierAmount> supplierRows(const QString &sql)
{
    QList<SupplierAmount> rows;
    forEachStoredSumRow(
        sql, {},
        [&](const QSqlQuery &q) {
            rows << SupplierAmount{q.value(0).toString(), storedTotal(q.value(1)), q.value(2).toDouble()};
        },
        [&] { rows.clear(); });
    return rows;
}

QString daysText(double days)
{
    return QString::number(static_cast<long long>(std::llround(days)));
}

QList<QStringList> amountLines(const QList<SupplierAmount> &rows, bool withDays)
{
    QList<QStringList> out;
    for (const SupplierAmount &r : rows) {
        QStringList line{r.name, r.amount.text()};
        if (withDays)
            line << daysText(r.days);
        out << line;
    }
    return out;
}

} // namespace

std::optional<StoredTotal> purchaseMonthSum(const QDate &from, const QDate &to)
{
    return firstStoredTotal(QString::fromLatin1(MonthSumSql), periodValues(from, to));
}

std::optional<int> unpaidBillCount()
{
    QSqlQuery q(QString::fromLatin1(UnpaidCountSql));
    if (q.isActive() && q.next())
        return q.value(0).toInt();
    return std::nullopt;
}

std::optional<StoredTotal> supplierDebt()
{
    return firstStoredTotal(QString::fromLatin1(DebtSql), {});
}

QList<SupplierAmount> topSuppliers()
{
    return supplierRows(QString::fromLatin1(TopSuppliersSql));
}

QList<SupplierAmount> unpaidSuppliers()
{
    return supplierRows(QString::fromLatin1(UnpaidSuppliersSql));
}

QList<SupplierAmount> overdueSuppliers()
{
    return supplierRows(QString::fromLatin1(OverdueSuppliersSql));
}

QString topSuppliersText(const QList<SupplierAmount> &rows)
{
    return rankedLines(QStringLiteral("%1) %2\n    Rs. %3\n"), amountLines(rows, false), QStringLiteral("No data"));
}

QString unpaidSuppliersText(const QList<SupplierAmount> &rows)
{
    return rankedLines(QStringLiteral("%1) %2\n    Rs. %3\n"), amountLines(rows, false),
                       QStringLiteral("No unpaid suppliers"));
}

QString overdueSuppliersText(const QList<SupplierAmount> &rows)
{
    return rankedLines(QStringLiteral("%1) %2\n    Rs. %3 (%4 days)\n"), amountLines(rows, true),
                       QStringLiteral("No overdue bills"));
}

PurchaseSummary loadPurchaseSummary(const QDate &today)
{
    PurchaseSummary s;
    s.thisMonth = purchaseMonthSum(monthStart(today), today).value_or(StoredTotal());
    s.lastMonth = purchaseMonthSum(previousMonthStart(today), previousMonthEnd(today)).value_or(StoredTotal());
    s.debt = supplierDebt().value_or(StoredTotal());
    s.unpaid = unpaidSuppliers();
    s.overdue = overdueSuppliers();
    return s;
}

std::optional<QString> purchaseAlertText(const QString &companyName, const QDate &today, const PurchaseSummary &s)
{
    if (s.unpaid.isEmpty() && s.overdue.isEmpty())
        return std::nullopt;
    QString text = QStringLiteral("Purchase and Supplier Payment Details\n") + companyName + QLatin1Char('\n')
                   + today.toString(QStringLiteral("dd/MM/yyyy")) + QLatin1Char('\n');
    text += QStringLiteral("Financial Summary:\n");
    text += QStringLiteral("Current Month Purchase : Rs.%1\n").arg(s.thisMonth.text());
    text += QStringLiteral("Last Month Purchase : Rs.%1\n").arg(s.lastMonth.text());
    text += QStringLiteral("Total Debt : Rs.%1\n").arg(s.debt.text());
    text += QLatin1Char('\n');
    if (!s.unpaid.isEmpty()) {
        text += QStringLiteral("Unpaid Suppliers:\n");
        text += rankedLines(QStringLiteral("%1) %2 - Rs.%3\n"), amountLines(s.unpaid, false));
        text += QLatin1Char('\n');
    }
    if (!s.overdue.isEmpty()) {
        text += QStringLiteral(" Overdue > 30 Days:\n");
        text += rankedLines(QStringLiteral("%1) %2 - Rs.%3 (%4 days)\n"), amountLines(s.overdue, true));
        text += QLatin1Char('\n');
    }
    text += QStringLiteral("Please arrange payments urgently.");
    return text;
}

QList<QPair<QString, QVariantMap>> purchaseDashboardStatements(const QDate &today)
{
    QList<QPair<QString, QVariantMap>> statements;
    const auto integers = [](const char *sql) {
        return storedSumStatement(QString::fromLatin1(sql), StoredSumRun::Integers);
    };
    const QString monthSum = integers(MonthSumSql);
    const QString monthBar = storedSumStatement(QString::fromLatin1(MonthSumSql), StoredSumRun::Bars);
    for (const DashboardMonth &m : lastTwelveMonths(today))
        statements.append({monthBar, periodValues(m.from, m.to)});
    for (const char *sql : {UnpaidCountSql, DebtSql})
        statements.append({integers(sql), {}});
    statements.append({monthSum, periodValues(monthStart(today), today)});
    for (const char *sql : {TopSuppliersSql, UnpaidSuppliersSql, OverdueSuppliersSql})
        statements.append({integers(sql), {}});
    statements.append({monthSum, periodValues(previousMonthStart(today), previousMonthEnd(today))});
    return statements;
}

DashboardChart purchaseChart(const QDate &today)
{
    DashboardChart chart;
    chart.holderName = QStringLiteral("purchaseChartHolder");
    chart.barSetName = QStringLiteral("Purchase Amount");
    chart.months = lastTwelveMonths(today);
    chart.monthSql = storedSumStatement(QString::fromLatin1(MonthSumSql), StoredSumRun::Bars);
    chart.axis = DashboardAxis::Amounts;
    return chart;
}

namespace {

void fillPurchaseCards(QWidget *root)
{
    const QDate today = QDate::currentDate();
    if (const auto count = unpaidBillCount())
        setDashboardLabel(root, QStringLiteral("lbl_pur_unpaidbills"), QString::number(*count) + QStringLiteral(" bills"));
    if (const auto debt = supplierDebt())
        setDashboardLabel(root, QStringLiteral("lbl_pur_debt"), QStringLiteral("Rs. ") + debt->text());
    if (const auto month = purchaseMonthSum(monthStart(today), today))
        setDashboardLabel(root, QStringLiteral("lbl_pur_thismonth"), QStringLiteral("Rs. ") + month->text());
    setDashboardLabel(root, QStringLiteral("lbl_pur_topsupplier"), topSuppliersText(topSuppliers()));
    setDashboardLabel(root, QStringLiteral("lbl_pur_unpaidsupp"), unpaidSuppliersText(unpaidSuppliers()));
    setDashboardLabel(root, QStringLiteral("lbl_pur_overdue"), overdueSuppliersText(overdueSuppliers()));
    if (const auto last = purchaseMonthSum(previousMonthStart(today), previousMonthEnd(today)))
        setDashboardLabel(root, QStringLiteral("lbl_pur_lastmonth"), QStringLiteral("Rs. ") + last->text());
}

} // namespace

// ---- The purchase window's dashboard --------------------------------------

// Page 0 of the window's stack; the designer's central widget, the bill
// entry, becomes page 1.
void PurchaseWindow::buildDashboard()
{
    DashboardPage layout;
    layout.objectName = QStringLiteral("purchaseDashboard");
    layout.styleSheet = QStringLiteral("background:#f4f6f9;");
    layout.title = QStringLiteral("Purchase Dashboard");
    layout.chartCaption = QStringLiteral("Monthly Purchases — Last 12 Months");
    layout.holderName = QStringLiteral("purchaseChartHolder");
    layout.chartFrameMinimumHeight = 300;

    const QList<QWidget *> statCards = {
        makeStatCard(QStringLiteral("Total Unpaid Bills"), QStringLiteral("lbl_pur_unpaidbills"), QStringLiteral("#e74c3c")),
        makeStatCard(QStringLiteral("Total Debt (Rs.)"), QStringLiteral("lbl_pur_debt"), QStringLiteral("#c0392b")),
        makeStatCard(QStringLiteral("This Month (Rs.)"), QStringLiteral("lbl_pur_thismonth"), QStringLiteral("#8e44ad")),
        makeStatCard(QStringLiteral("Last Month (Rs.)"), QStringLiteral("lbl_pur_lastmonth"), QStringLiteral("#0078d4")),
    };
    const QList<QWidget *> listCards = {
        makeListCard(QStringLiteral("Top Suppliers (by Purchase Value)"), QStringLiteral("lbl_pur_topsupplier"),
                     QStringLiteral("#0078d4"), QStringLiteral("🏆")),
        makeListCard(QStringLiteral("Unpaid Suppliers"), QStringLiteral("lbl_pur_unpaidsupp"), QStringLiteral("#e74c3c"),
                     QStringLiteral("⚠")),
        makeListCard(QStringLiteral("Overdue > 30 Days"), QStringLiteral("lbl_pur_overdue"), QStringLiteral("#e67e22"),
                     QStringLiteral("⏰")),
    };

    auto *page = new QWidget;
    ::buildDashboard(page, layout, statCards, listCards, [this] { sendWhatsAppAlert(); },
                     [this] { refreshDashboard(); });
    // The purchase window's form style pads every button; the header buttons
    // have a fixed size and would cut their texts.
    for (QPushButton *button : page->findChildren<QPushButton *>())
        button->setStyleSheet(button->styleSheet() + QStringLiteral("QPushButton { padding: 0px; }"));

    auto *stack = new QStackedWidget;
    stack->setObjectName(QStringLiteral("purchaseStack"));
    stack->addWidget(page);
    stack->addWidget(takeCentralWidget());
    // The window asks for the room of the page it shows: the entry page's
    // wide lists do not widen the dashboard past a small screen.
    const QSizePolicy entryPolicy = stack->widget(1)->sizePolicy();
    const QSizePolicy dashboardPolicy = page->sizePolicy();
    connect(stack, &QStackedWidget::currentChanged, stack, [stack, entryPolicy, dashboardPolicy](int shown) {
        stack->widget(0)->setSizePolicy(shown == 0 ? dashboardPolicy : QSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored));
        stack->widget(1)->setSizePolicy(shown == 1 ? entryPolicy : QSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored));
    });
    stack->setCurrentIndex(1);
    stack->setCurrentIndex(0);
    setCentralWidget(stack);
}

void PurchaseWindow::refreshDashboard()
{
    ::refreshDashboard(this, purchaseChart(QDate::currentDate()), fillPurchaseCards);
}

namespace {

// The purchase cards' font sizes.
DashboardCardStyle purchaseCardStyle()
{
    DashboardCardStyle style;
    style.statTitlePx = 30;
    style.statValuePx = 30;
    style.listIconPx = 16;
    return style;
}

} // namespace

QFrame *PurchaseWindow::makeStatCard(const QString &title, const QString &objectName, const QString &colour)
{
    return ::makeStatCard(title, objectName, colour, purchaseCardStyle());
}

QFrame *PurchaseWindow::makeListCard(const QString &title, const QString &objectName, const QString &colour,
                                     const QString &icon)
{
    return ::makeListCard(title, objectName, colour, icon, purchaseCardStyle());
}

void PurchaseWindow::sendWhatsAppAlert()
{
    const CompanyInfo company = loadCompanyInfo();
    const QDate today = QDate::currentDate();
    const std::optional<QString> text = purchaseAlertText(company.name, today, loadPurchaseSummary(today));
    if (!text) {
        Desktop::information(this, QStringLiteral("Purchase Alert"), QStringLiteral("No unpaid or overdue bills!"));
        return;
    }
    openWhatsAppMessage(WhatsAppLink::WebSend, normalizeIndianPhone(company.phone), *text);
}
