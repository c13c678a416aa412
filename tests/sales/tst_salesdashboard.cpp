#include "support/testenvironment.h"
#include "support/salesdata.h"
#include "support/widgets.h"

#include "core/financialyear.h"
#include "core/money.h"
#include "sales/salesdashboard.h"
#include "sales/saleswindow.h"
#include "widgets/dashboard.h"

#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QAbstractButton>
#include <QLabel>
#include <QRandomGenerator>
#include <QUrlQuery>
#include <QValueAxis>
#include <QtTest>

using namespace testdata;

namespace {

QString daysFromToday(int days)
{
    return QDate::currentDate().addDays(days).toString("yyyy-MM-dd");
}

QString label(QWidget *page, const char *name)
{
    return child<QLabel>(page, name)->text();
}

QChart *chart(QWidget *page)
{
    return child<QWidget>(page, "chartHolder")->findChild<QChartView *>()->chart();
}

QList<double> bars(QWidget *page)
{
    QBarSet *set = qobject_cast<QBarSeries *>(chart(page)->series().first())->barSets().first();
    QList<double> values;
    for (int i = 0; i < set->count(); ++i)
        values << set->at(i);
    return values;
}

// "minimum maximum" of the value axis.
QString axisRange(QWidget *page)
{
    const auto *axis = qobject_cast<QValueAxis *>(chart(page)->axes(Qt::Vertical).first());
    return QString("%1 %2").arg(axis->min()).arg(axis->max());
}

// A fresh database with the sales tables and the company record, in year 26-27.
struct SalesEnvironment
{
    SalesEnvironment() { g_currentFY = "26-27"; openSalesDatabase(env); }
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
    void overdueCustomersInTheCardsAndTheSummary();
    void balancesAgreeWithPerInvoiceSums();
    void invoicesPaidInSeveralRowsOweNothing();
    void rankingsShowTheTopFive();
    void thisMonthAndLastMonth();
    void whatsAppSummaryOfAnEmptyYear();
};

void TestSalesDashboard::emptyYear()
{
    SalesEnvironment s;
    SalesWindow window;
    QWidget *page = window.centralWidget();

    QCOMPARE(page->findChild<QLabel *>()->text(), QString("Sales Dashboard — FY 26-27"));
    QCOMPARE(label(page, "lbl_invoice"), QString("0 nos"));
    QCOMPARE(label(page, "lbl_month_sales"), QString("This Month : Rs.0.00\nLast Month : Rs.0.00"));
    QCOMPARE(label(page, "lbl_fy_value"), QString("Rs. 0.00"));
    QCOMPARE(label(page, "lbl_receivable"), QString("Rs. 0.00"));
    QCOMPARE(label(page, "lbl_unpaid"), QString("Rs. 0.00"));
    QCOMPARE(label(page, "lbl_overdue"), QString("No overdue customers"));
    QCOMPARE(label(page, "lbl_topcust"), QString("No data"));
    QCOMPARE(label(page, "lbl_bestpay"), QString("No data"));
    QCOMPARE(bars(page), QList<double>(12, 0.0));
    QCOMPARE(axisRange(page), QString("0 1"));
}

void TestSalesDashboard::failingQueriesKeepPlaceholders()
{
    SalesEnvironment s;
    addInvoice({1, "26-27", "2026-05-10", addCustomer("ACME"), 1000});
    SalesWindow window;
    QWidget *page = window.centralWidget();
    QCOMPARE(label(page, "lbl_invoice"), QString("1 nos"));
    exec("DROP TABLE invoices"); // every statement fails from here on
    buttonWithText(page, "⟳ Refresh")->click();
    QCOMPARE(label(page, "lbl_invoice"), QString("1 nos"));
    QCOMPARE(label(page, "lbl_fy_value"), QString("Rs. 1000.00"));
    QCOMPARE(label(page, "lbl_topcust"), QString("No data"));
    QCOMPARE(bars(page), QList<double>(12, 0.0));
}

// Cancelled invoices count nowhere but in the payment speed.
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
    addPayment(8, "25-26", "2025-07-11", 150);

    SalesWindow window;
    QWidget *page = window.centralWidget();
    QCOMPARE(bars(page), QList<double>({150, 0, 0, 0, 0, 0, 0, 1000, 0, 0, 0, 20}));
    QCOMPARE(axisRange(page), QString("0 1201"));
    QCOMPARE(label(page, "lbl_invoice"), QString("6 nos"));
    QCOMPARE(label(page, "lbl_fy_value"), QString("Rs. 1186.00"));
    QCOMPARE(label(page, "lbl_receivable"), QString("Rs. 1186.00"));
    QCOMPARE(label(page, "lbl_bestpay"), QString("1) ACME\n    Avg 10.0 days\n"));
}

void TestSalesDashboard::tenRefreshesLeaveOneChartView()
{
    SalesEnvironment s;
    SalesWindow window;
    QWidget *page = window.centralWidget();
    addInvoice({1, "26-27", "2026-05-10", addCustomer("ACME"), 1000});
    QAbstractButton *refresh = buttonWithText(page, "⟳ Refresh");
    QVERIFY(refresh);
    for (int i = 0; i < 10; ++i)
        refresh->click();
    QCOMPARE(page->findChildren<QChartView *>().size(), 1);
    QCOMPARE(label(page, "lbl_invoice"), QString("1 nos"));
    QCOMPARE(bars(page).at(1), 1000.0);
}

// Overdue: dated more than 60 days back with a balance after payments and TDS
// of the same year; an overpaid invoice lowers the totals.
void TestSalesDashboard::overdueCustomersInTheCardsAndTheSummary()
{
    SalesEnvironment s;
    addInvoice({1, "26-27", daysFromToday(-59), addCustomer("ALPHA"), 1000});
    addInvoice({2, "26-27", daysFromToday(-61), addCustomer("BETA"), 500});
    addPayment(2, "26-27", daysFromToday(-30), 100, 50);
    addInvoice({3, "26-27", daysFromToday(-90), addCustomer("PAID UP"), 1000});
    addPayment(3, "26-27", daysFromToday(-80), 900, 100);
    const int slow = addCustomer("SLOW");
    addInvoice({4, "26-27", daysFromToday(-90), slow, 400});
    addPayment(4, "25-26", daysFromToday(-50), 400); // another year's payment settles nothing here
    addInvoice({5, "26-27", daysFromToday(-70), slow, 100});
    addPayment(5, "26-27", daysFromToday(-65), 40);
    addPayment(5, "26-27", daysFromToday(-60), 10);
    addInvoice({6, "26-27", daysFromToday(-75), addCustomer("OVERPAID"), 200});
    addPayment(6, "26-27", daysFromToday(-70), 250);

    SalesWindow window;
    QWidget *page = window.centralWidget();
    QCOMPARE(label(page, "lbl_receivable"), QString("Rs. 1750.00"));
    QCOMPARE(label(page, "lbl_unpaid"), QString("Rs. 750.00"));
    QCOMPARE(label(page, "lbl_overdue"), QString("1) SLOW\n    Rs. 450.00\n2) BETA\n    Rs. 350.00\n"));

    // The company has no phone: the link still opens.
    buttonWithText(page, "📱 WhatsApp Alert")->click();
    QCOMPARE(s.env.desktop.openedUrls.size(), 1);
    const QUrlQuery query(s.env.desktop.openedUrls.first());
    QCOMPARE(query.queryItemValue("phone"), QString());
    QCOMPARE(query.queryItemValue("text", QUrl::FullyDecoded).section("\n\n", 1),
             QString("Overdue > 60 Days:\n1) SLOW - Rs.450.00\n2) BETA - Rs.350.00\n\nPlease follow up urgently."));
}

// The dashboard sums the payments once rather than per invoice; its totals
// must equal those of the per-invoice statement.
void TestSalesDashboard::balancesAgreeWithPerInvoiceSums()
{
    SalesEnvironment s;
    QRandomGenerator rng(7);
    for (int c = 1; c <= 8; ++c)
        addCustomer(QString("C%1").arg(c));
    for (int no = 1; no <= 120; ++no) {
        const QString fy = no % 7 == 0 ? "25-26" : "26-27";
        addInvoice({no % 90 + 1, fy, daysFromToday(-rng.bounded(150)), rng.bounded(8) + 1,
                    rng.bounded(100000) / 100.0, no % 11 == 0 ? 1 : 0});
        for (int k = rng.bounded(3); k > 0; --k)
            addPayment(no % 90 + 1, rng.bounded(5) == 0 ? "25-26" : "26-27", daysFromToday(-rng.bounded(40)),
                       rng.bounded(50000) / 100.0, rng.bounded(4) == 0 ? 0.0 : rng.bounded(500) / 100.0);
    }
    exec("UPDATE invoice_payments SET tds_amount = NULL WHERE pay_id % 9 = 0");

    const QString settled = "IFNULL((SELECT SUM(p.paid_amount + p.tds_amount) FROM invoice_payments p "
                            "WHERE p.invoice_no = v.invoice_no AND p.fy_name = v.fy_name), 0)";
    const QString older = " AND julianday('now') - julianday(v.invoice_date) > 60";
    const QString receivable = "SELECT COALESCE(SUM(v.grand_total - " + settled
                               + "), 0) FROM invoices v WHERE v.fy_name = '26-27' AND v.is_deleted = 0";
    QCOMPARE(salesReceivable("26-27")->text(), moneyText(value(receivable).toDouble()));
    QCOMPARE(salesUnpaidOver60Days("26-27")->text(), moneyText(value(receivable + older).toDouble()));
}

// Payments whose rows add up exactly to the invoice settle it, though their
// binary sum misses it by a hair: no card and no summary lists a customer
// with 0.00. A customer a paisa short still owes.
void TestSalesDashboard::invoicesPaidInSeveralRowsOweNothing()
{
    SalesEnvironment s;
    addInvoice({1, "26-27", daysFromToday(-90), addCustomer("THREE ROWS"), 3815});
    for (double paid : {2268.95, 915.78, 630.27})
        addPayment(1, "26-27", daysFromToday(-80), paid);
    QVERIFY(value("SELECT SUM(paid_amount + tds_amount) FROM invoice_payments").toDouble() != 3815);
    addInvoice({2, "26-27", daysFromToday(-75), addCustomer("FOUR FORTY FOUR"), 444});
    addPayment(2, "26-27", daysFromToday(-70), 298.76);
    addPayment(2, "26-27", daysFromToday(-70), 95.41, 49.83);
    addInvoice({3, "26-27", daysFromToday(-61), addCustomer("PAISA SHORT"), 1000});
    addPayment(3, "26-27", daysFromToday(-60), 333.33);
    addPayment(3, "26-27", daysFromToday(-60), 666.66);

    // Random invoices in paise, each paid off in two to six rows cut at
    // random paise, some of them TDS.
    QRandomGenerator rng(34);
    exec("BEGIN");
    for (int no = 4; no < 64; ++no) {
        const int customer = addCustomer(QString("RANDOM %1").arg(no));
        const qint64 total = 100 + rng.bounded(5000000);
        addInvoice({no, "26-27", daysFromToday(-61 - rng.bounded(200)), customer, total / 100.0});
        qint64 left = total;
        for (int rows = 1 + rng.bounded(2, 7); rows > 0; --rows) {
            const qint64 part = rows == 1 ? left : rng.bounded(left + 1);
            const qint64 tds = rng.bounded(3) == 0 ? part / 10 : 0;
            addPayment(no, "26-27", daysFromToday(-30), (part - tds) / 100.0, tds / 100.0);
            left -= part;
        }
    }
    exec("COMMIT");

    SalesWindow window;
    QWidget *page = window.centralWidget();
    QCOMPARE(label(page, "lbl_receivable"), QString("Rs. 0.01"));
    QCOMPARE(label(page, "lbl_unpaid"), QString("Rs. 0.01"));
    QCOMPARE(label(page, "lbl_overdue"), QString("1) PAISA SHORT\n    Rs. 0.01\n"));
    buttonWithText(page, "📱 WhatsApp Alert")->click();
    const QString text = QUrlQuery(s.env.desktop.openedUrls.value(0)).queryItemValue("text", QUrl::FullyDecoded);
    QVERIFY2(text.contains("Total Receivable : Rs.0.01\n\nOverdue > 60 Days:\n1) PAISA SHORT - Rs.0.01\n\n"),
             qPrintable(text));
}

void TestSalesDashboard::rankingsShowTheTopFive()
{
    SalesEnvironment s;
    for (int i = 1; i <= 6; ++i) {
        addInvoice({i, "26-27", "2026-04-01", addCustomer(QString("CUST %1").arg(i)), 100.0 * i});
        addPayment(i, "26-27", QString("2026-04-0%1").arg(1 + i), 10);
    }
    addInvoice({7, "26-27", "2026-04-01", 1, 50.25}); // CUST 1: 150.25, paid after 1 and 2 days
    addPayment(7, "26-27", "2026-04-03", 10);

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
    const QDate today = QDate::currentDate();
    const auto ymd = [](const QDate &d) { return d.toString("yyyy-MM-dd"); };
    addInvoice({1, "26-27", ymd(salesMonthStart(today)), c, 100});
    addInvoice({2, "26-27", ymd(today), c, 25.5});
    addInvoice({3, "26-27", daysFromToday(1), c, 1000}); // after today
    addInvoice({4, "26-27", ymd(salesLastMonthStart(today)), c, 10});
    addInvoice({5, "26-27", ymd(salesLastMonthEnd(today)), c, 5});
    addInvoice({6, "26-27", ymd(salesLastMonthStart(today).addDays(-1)), c, 7000}); // two months back
    addInvoice({7, "25-26", ymd(today), c, 99});                                     // another year
    QCOMPARE(salesLastMonthEnd(QDate(2027, 3, 10)), QDate(2027, 2, 28));
    QCOMPARE(salesLastMonthStart(QDate(2027, 1, 31)), QDate(2026, 12, 1));

    SalesWindow window;
    QWidget *page = window.centralWidget();
    QCOMPARE(label(page, "lbl_month_sales"), QString("This Month : Rs.125.50\nLast Month : Rs.15.00"));
}

void TestSalesDashboard::whatsAppSummaryOfAnEmptyYear()
{
    SalesEnvironment s;
    exec("UPDATE company_settings SET company_name = 'MORVEL COATS', phone = '098765 43210' WHERE id = 1");
    SalesWindow window;
    QWidget *page = window.centralWidget();
    QAbstractButton *whatsApp = buttonWithText(page, "📱 WhatsApp Alert");
    QVERIFY(whatsApp);
    whatsApp->click();

    QCOMPARE(s.env.desktop.openedUrls.size(), 1);
    const QUrl url = s.env.desktop.openedUrls.first();
    QVERIFY2(url.toString(QUrl::FullyEncoded).startsWith("https://web.whatsapp.com/send?phone=919876543210&text="),
             qPrintable(url.toString()));
    QCOMPARE(QUrlQuery(url).queryItemValue("text", QUrl::FullyDecoded),
             "Sales & Receivable Payment Details\nMORVEL COATS\n" + QDate::currentDate().toString("dd/MM/yyyy")
                 + "\nFinancial Summary:\nTotal Invoices : 0 nos\nThis Month Sales : Rs.0.00\n"
                   "Last Month Sales : Rs.0.00\nFY Total Value : Rs.0.00\nTotal Receivable : Rs.0.00\n\n"
                   "Please follow up urgently.");
}

QTEST_MAIN(TestSalesDashboard)
#include "tst_salesdashboard.moc"
