#include "support/recordingdesktop.h"
#include "support/salesdata.h"
#include "support/widgets.h"

#include "app/companydb.h"
#include "app/dashboard.h"
#include "app/financialyear.h"
#include "sales/salesdashboard.h"
#include "sales/salesschema.h"

#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QLabel>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrlQuery>
#include <QValueAxis>
#include <QtTest>

using namespace testdata;

namespace {

QDate today() { return QDate::currentDate(); }

QString ymd(const QDate &date)
{
    return date.toString("yyyy-MM-dd");
}

QString daysFromToday(int days)
{
    return ymd(today().addDays(days));
}

QString label(QWidget *page, const QString &name)
{
    auto *l = page->findChild<QLabel *>(name);
    return l ? l->text() : QString("<missing %1>").arg(name);
}

QChartView *chartView(QWidget *page)
{
    QWidget *holder = page->findChild<QWidget *>("chartHolder");
    return holder ? holder->findChild<QChartView *>() : nullptr;
}

QList<double> bars(QWidget *page)
{
    QList<double> values;
    QChartView *view = chartView(page);
    if (!view)
        return values;
    QBarSet *set = qobject_cast<QBarSeries *>(view->chart()->series().first())->barSets().first();
    for (int i = 0; i < set->count(); ++i)
        values << set->at(i);
    return values;
}

// "minimum maximum" of the value axis.
QString axisRange(QWidget *page)
{
    const auto *axis = qobject_cast<QValueAxis *>(chartView(page)->chart()->axes(Qt::Vertical).first());
    return QString("%1 %2").arg(axis->min()).arg(axis->max());
}

// A fresh database with the sales tables and the company record.
struct SalesEnvironment
{
    SalesEnvironment()
    {
        g_currentFY = "26-27";
        openSalesDatabase(env);
    }
    TestEnvironment env;
};

} // namespace

class TestSalesDashboard : public QObject
{
    Q_OBJECT

private slots:
    void emptyYear();
    void failingQueriesKeepPlaceholders();
    void chartCoversAprilToMarchOfTheLoginYear();
    void tenRefreshesLeaveOneChartView();
    void overdueStartsAfterSixtyDays();
    void paidInFullWithTdsIsNotOverdue();
    void cancelledInvoicesCountOnlyInPaymentSpeed();
    void balancesAgreeWithPerInvoiceSums();
    void rankingsShowTheTopFive();
    void thisMonthAndLastMonth();
    void whatsAppSummaryOfAnEmptyYear();
    void whatsAppSummaryListsOverdueCustomers();
};

void TestSalesDashboard::emptyYear()
{
    SalesEnvironment s;
    QWidget page;
    buildSalesDashboard(&page);

    QCOMPARE(page.findChild<QLabel *>()->text(), QString("Sales Dashboard — FY 26-27"));
    QStringList texts;
    for (QLabel *l : page.findChildren<QLabel *>())
        texts << l->text();
    QVERIFY(texts.contains("Monthly Sales — FY 26-27"));

    QCOMPARE(label(&page, "lbl_invoice"), QString("0 nos"));
    QCOMPARE(label(&page, "lbl_month_sales"), QString("This Month : Rs.0.00\nLast Month : Rs.0.00"));
    QCOMPARE(label(&page, "lbl_fy_value"), QString("Rs. 0.00"));
    QCOMPARE(label(&page, "lbl_receivable"), QString("Rs. 0.00"));
    QCOMPARE(label(&page, "lbl_unpaid"), QString("Rs. 0.00"));
    QCOMPARE(label(&page, "lbl_overdue"), QString("No overdue customers"));
    QCOMPARE(label(&page, "lbl_topcust"), QString("No data"));
    QCOMPARE(label(&page, "lbl_bestpay"), QString("No data"));

    QCOMPARE(bars(&page), QList<double>(12, 0.0));
    QCOMPARE(axisRange(&page), QString("0 1"));
}

void TestSalesDashboard::failingQueriesKeepPlaceholders()
{
    TestEnvironment env;
    env.openDatabase(); // no sales tables: every statement fails
    QWidget page;
    buildSalesDashboard(&page);
    QCOMPARE(label(&page, "lbl_invoice"), QString("--"));
    QCOMPARE(label(&page, "lbl_fy_value"), QString("--"));
    QCOMPARE(label(&page, "lbl_receivable"), QString("--"));
    QCOMPARE(label(&page, "lbl_unpaid"), QString("Loading..."));
    QCOMPARE(label(&page, "lbl_month_sales"), QString("This Month : Rs.0.00\nLast Month : Rs.0.00"));
    QCOMPARE(label(&page, "lbl_overdue"), QString("No overdue customers"));
    QCOMPARE(label(&page, "lbl_topcust"), QString("No data"));
    QCOMPARE(bars(&page), QList<double>(12, 0.0));
}

void TestSalesDashboard::chartCoversAprilToMarchOfTheLoginYear()
{
    SalesEnvironment s;
    g_currentFY = "25-26";
    const int c = addCustomer("ACME");
    addInvoice({1, "25-26", "2025-03-31", c, 7});     // before the year
    addInvoice({2, "25-26", "2025-04-01", c, 100});
    addInvoice({3, "25-26", "2025-04-30", c, 50});
    addInvoice({4, "25-26", "2025-11-15", c, 1000});
    addInvoice({5, "25-26", "2026-03-31", c, 20});
    addInvoice({6, "25-26", "2026-04-01", c, 9});      // after the year
    addInvoice({7, "26-27", "2025-06-01", c, 300});    // another year's invoice
    addInvoice({8, "25-26", "2025-07-01", c, 400, 1}); // cancelled
    addInvoice({9, "25-26", "2025-08-01", c, 500, QVariant()}); // not marked live

    QWidget page;
    buildSalesDashboard(&page);
    QCOMPARE(bars(&page), QList<double>({150, 0, 0, 0, 0, 0, 0, 1000, 0, 0, 0, 20}));
    QCOMPARE(axisRange(&page), QString("0 1201"));
    QCOMPARE(page.findChild<QLabel *>()->text(), QString("Sales Dashboard — FY 25-26"));
    QCOMPARE(label(&page, "lbl_invoice"), QString("6 nos"));
    QCOMPARE(label(&page, "lbl_fy_value"), QString("Rs. 1186.00"));
}

void TestSalesDashboard::tenRefreshesLeaveOneChartView()
{
    SalesEnvironment s;
    QWidget page;
    buildSalesDashboard(&page);
    QCOMPARE(label(&page, "lbl_invoice"), QString("0 nos"));

    addInvoice({1, "26-27", "2026-05-10", addCustomer("ACME"), 1000});
    QAbstractButton *refresh = buttonWithText(&page, "⟳ Refresh");
    QVERIFY(refresh);
    for (int i = 0; i < 10; ++i)
        refresh->click();
    QCOMPARE(page.findChild<QWidget *>("chartHolder")->findChildren<QChartView *>().size(), 1);
    QCOMPARE(page.findChildren<QChartView *>().size(), 1);
    QCOMPARE(label(&page, "lbl_invoice"), QString("1 nos"));
    QCOMPARE(bars(&page).at(1), 1000.0);
    QCOMPARE(axisRange(&page), QString("0 1201"));
}

void TestSalesDashboard::overdueStartsAfterSixtyDays()
{
    SalesEnvironment s;
    const int a = addCustomer("ALPHA");
    const int b = addCustomer("BETA");
    addInvoice({1, "26-27", daysFromToday(-59), a, 1000});
    addInvoice({2, "26-27", daysFromToday(-61), b, 500});
    addPayment(2, "26-27", daysFromToday(-30), 100, 50);

    QWidget page;
    buildSalesDashboard(&page);
    QCOMPARE(label(&page, "lbl_receivable"), QString("Rs. 1350.00"));
    QCOMPARE(label(&page, "lbl_unpaid"), QString("Rs. 350.00"));
    QCOMPARE(label(&page, "lbl_overdue"), QString("1) BETA\n    Rs. 350.00\n"));
}

void TestSalesDashboard::paidInFullWithTdsIsNotOverdue()
{
    SalesEnvironment s;
    const int a = addCustomer("PAID UP");
    const int b = addCustomer("SLOW");
    const int c = addCustomer("OVERPAID");
    addInvoice({1, "26-27", daysFromToday(-90), a, 1000});
    addPayment(1, "26-27", daysFromToday(-80), 900, 100);
    addInvoice({2, "26-27", daysFromToday(-90), b, 400});
    addInvoice({3, "26-27", daysFromToday(-70), b, 100});
    addPayment(3, "26-27", daysFromToday(-65), 40);
    addPayment(3, "26-27", daysFromToday(-60), 10);
    addInvoice({4, "26-27", daysFromToday(-75), c, 200});
    addPayment(4, "26-27", daysFromToday(-70), 250);
    // A payment of another year with the same number settles nothing here.
    addPayment(2, "25-26", daysFromToday(-50), 400);

    QCOMPARE(salesOverdueCustomers("26-27").size(), 1);
    QCOMPARE(salesOverdueCustomers("26-27").first().name, QString("SLOW"));
    QCOMPARE(salesOverdueCustomers("26-27").first().amount, 450.0);
    // The overpaid invoice lowers the totals.
    QCOMPARE(*salesReceivable("26-27"), 400.0);
    QCOMPARE(*salesUnpaidOver60Days("26-27"), 400.0);
}

void TestSalesDashboard::cancelledInvoicesCountOnlyInPaymentSpeed()
{
    SalesEnvironment s;
    const int a = addCustomer("CANCELLED ONLY");
    addInvoice({1, "26-27", "2026-05-01", a, 1000, 1});
    addPayment(1, "26-27", "2026-05-11", 500);

    QWidget page;
    buildSalesDashboard(&page);
    QCOMPARE(label(&page, "lbl_invoice"), QString("0 nos"));
    QCOMPARE(label(&page, "lbl_fy_value"), QString("Rs. 0.00"));
    QCOMPARE(label(&page, "lbl_receivable"), QString("Rs. 0.00"));
    QCOMPARE(label(&page, "lbl_topcust"), QString("No data"));
    QCOMPARE(bars(&page), QList<double>(12, 0.0));
    QCOMPARE(label(&page, "lbl_bestpay"), QString("1) CANCELLED ONLY\n    Avg 10.0 days\n"));
}

// The balances sum each invoice's payments with a correlated subquery in the
// plain reading; the dashboard sums them once. Both must give the same figures.
void TestSalesDashboard::balancesAgreeWithPerInvoiceSums()
{
    SalesEnvironment s;
    QRandomGenerator rng(7);
    for (int c = 1; c <= 8; ++c)
        addCustomer(QString("C%1").arg(c));
    for (int no = 1; no <= 120; ++no) {
        const QString fy = no % 7 == 0 ? "25-26" : "26-27";
        const QVariant deleted = no % 11 == 0 ? QVariant(1) : QVariant(0);
        const QString date = daysFromToday(-rng.bounded(150));
        const int customer = rng.bounded(8) + 1;
        addInvoice({no % 90 + 1, fy, date, customer, rng.bounded(100000) / 100.0, deleted});
        for (int k = rng.bounded(3); k > 0; --k) {
            const QString paidOn = daysFromToday(-rng.bounded(40));
            const double paid = rng.bounded(50000) / 100.0;
            const double tds = rng.bounded(4) == 0 ? 0.0 : rng.bounded(500) / 100.0;
            addPayment(no % 90 + 1, rng.bounded(5) == 0 ? "25-26" : "26-27", paidOn, paid, tds);
        }
    }
    testdata::exec("UPDATE invoice_payments SET tds_amount = NULL WHERE pay_id % 9 = 0");

    const QString settled = "IFNULL((SELECT SUM(p.paid_amount + p.tds_amount)   FROM invoice_payments p   "
                            "WHERE p.invoice_no = v.invoice_no   AND p.fy_name = v.fy_name), 0)";
    const QString receivable = "SELECT COALESCE(SUM(v.grand_total - " + settled
                               + "), 0) FROM invoices v WHERE v.fy_name = :fy AND v.is_deleted = 0";
    const QString older = " AND julianday('now') - julianday(v.invoice_date) > 60";
    const auto value = [](const QString &sql) {
        QSqlQuery q;
        q.prepare(sql);
        q.bindValue(":fy", "26-27");
        return q.exec() && q.next() ? q.value(0).toDouble() : -1.0;
    };
    QCOMPARE(*salesReceivable("26-27"), value(receivable));
    QCOMPARE(*salesUnpaidOver60Days("26-27"), value(receivable + older));

    QSqlQuery q;
    q.prepare("SELECT c.customer_name, SUM(v.grand_total - " + settled
              + ") AS balance FROM invoices v JOIN customers c ON v.customer_id = c.customer_id "
                "WHERE v.fy_name = :fy AND v.is_deleted = 0" + older
              + " GROUP BY v.customer_id HAVING balance > 0 ORDER BY balance DESC LIMIT 5");
    q.bindValue(":fy", "26-27");
    QVERIFY(q.exec());
    QStringList expected;
    while (q.next())
        expected << q.value(0).toString() + " " + dashboardAmount(q.value(1).toDouble());
    QStringList actual;
    for (const SalesCustomerAmount &row : salesOverdueCustomers("26-27"))
        actual << row.name + " " + dashboardAmount(row.amount);
    QVERIFY(!expected.isEmpty());
    QCOMPARE(actual, expected);
}

void TestSalesDashboard::rankingsShowTheTopFive()
{
    SalesEnvironment s;
    int no = 1;
    for (int i = 1; i <= 6; ++i) {
        const int c = addCustomer(QString("CUST %1").arg(i));
        addInvoice({no, "26-27", "2026-04-01", c, 100.0 * i});
        addPayment(no, "26-27", ymd(QDate(2026, 4, 1).addDays(i)), 10);
        ++no;
    }
    addInvoice({no, "26-27", "2026-04-01", 1, 50.25}); // CUST 1: 150.25, paid after 1 and 2 days
    addPayment(no, "26-27", "2026-04-03", 10);

    QCOMPARE(salesTopCustomersText(salesTopCustomers("26-27")),
             QString("1) CUST 6\n    Rs. 600.00\n2) CUST 5\n    Rs. 500.00\n3) CUST 4\n    Rs. 400.00\n"
                     "4) CUST 3\n    Rs. 300.00\n5) CUST 2\n    Rs. 200.00\n"));
    QCOMPARE(salesBestPayersText(salesBestPayers("26-27")),
             QString("1) CUST 1\n    Avg 1.5 days\n2) CUST 2\n    Avg 2.0 days\n3) CUST 3\n    Avg 3.0 days\n"
                     "4) CUST 4\n    Avg 4.0 days\n5) CUST 5\n    Avg 5.0 days\n"));
}

void TestSalesDashboard::thisMonthAndLastMonth()
{
    SalesEnvironment s;
    const int c = addCustomer("ACME");
    const QDate first = salesMonthStart(today());
    addInvoice({1, "26-27", ymd(first), c, 100});
    addInvoice({2, "26-27", daysFromToday(0), c, 25.5});
    addInvoice({3, "26-27", daysFromToday(1), c, 1000});               // after today
    addInvoice({4, "26-27", ymd(salesLastMonthStart(today())), c, 10});
    addInvoice({5, "26-27", ymd(salesLastMonthEnd(today())), c, 5});
    addInvoice({6, "26-27", ymd(salesLastMonthStart(today()).addDays(-1)), c, 7000}); // two months back
    addInvoice({7, "25-26", daysFromToday(0), c, 99});                    // another year

    QCOMPARE(salesLastMonthEnd(QDate(2027, 3, 10)), QDate(2027, 2, 28));
    QCOMPARE(salesLastMonthStart(QDate(2027, 1, 31)), QDate(2026, 12, 1));

    QWidget page;
    buildSalesDashboard(&page);
    QCOMPARE(label(&page, "lbl_month_sales"), QString("This Month : Rs.125.50\nLast Month : Rs.15.00"));
}

void TestSalesDashboard::whatsAppSummaryOfAnEmptyYear()
{
    SalesEnvironment s;
    testdata::exec("UPDATE company_settings SET company_name = 'MORVEL COATS', phone = '098765 43210' WHERE id = 1");

    QWidget page;
    buildSalesDashboard(&page);
    QAbstractButton *whatsApp = buttonWithText(&page, "📱 WhatsApp Alert");
    QVERIFY(whatsApp);
    whatsApp->click();

    QCOMPARE(s.env.desktop.openedUrls.size(), 1);
    const QUrl url = s.env.desktop.openedUrls.first();
    QVERIFY2(url.toString(QUrl::FullyEncoded).startsWith("https://web.whatsapp.com/send?phone=919876543210&text="),
             qPrintable(url.toString()));
    QCOMPARE(QUrlQuery(url).queryItemValue("text", QUrl::FullyDecoded),
             "Sales & Receivable Payment Details\nMORVEL COATS\n" + today().toString("dd/MM/yyyy")
                 + "\nFinancial Summary:\nTotal Invoices : 0 nos\nThis Month Sales : Rs.0.00\n"
                   "Last Month Sales : Rs.0.00\nFY Total Value : Rs.0.00\nTotal Receivable : Rs.0.00\n\n"
                   "Please follow up urgently.");
    QVERIFY(s.env.desktop.messages.isEmpty());
}

void TestSalesDashboard::whatsAppSummaryListsOverdueCustomers()
{
    SalesEnvironment s;
    const int a = addCustomer("SHAH & SONS");
    const int b = addCustomer("A+B TRADERS");
    addInvoice({1, "26-27", daysFromToday(-100), a, 1000});
    addInvoice({2, "26-27", daysFromToday(-80), b, 2500.5});
    addPayment(2, "26-27", daysFromToday(-10), 500, 0.5);

    SalesSummary summary = loadSalesSummary("26-27", QDate(2026, 12, 7));
    QCOMPARE(summary.invoiceCount, 2);
    QCOMPARE(summary.yearValue, 3500.5);
    QCOMPARE(summary.receivable, 3000.0);
    QCOMPARE(salesSummaryText("Morvel Coats", QDate(2026, 12, 7), summary).section("\n\n", 1),
             QString("Overdue > 60 Days:\n1) A+B TRADERS - Rs.2000.00\n2) SHAH & SONS - Rs.1000.00\n\n"
                     "Please follow up urgently."));

    // An empty phone still opens the link; the message reaches it whole.
    sendSalesWhatsAppAlert();
    QCOMPARE(s.env.desktop.openedUrls.size(), 1);
    const QUrlQuery query(s.env.desktop.openedUrls.first());
    QCOMPARE(query.queryItemValue("phone"), QString());
    QVERIFY(query.queryItemValue("text", QUrl::FullyDecoded).contains("1) A+B TRADERS - Rs.2000.00\n"));
}

QTEST_MAIN(TestSalesDashboard)
#include "tst_salesdashboard.moc"
