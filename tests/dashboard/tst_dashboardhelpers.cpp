#include "support/recordingdesktop.h"

#include "app/dashboard.h"

#include <QChartView>
#include <QFrame>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QSqlQuery>
#include <QtTest>

namespace {

DashboardPage pageLayout()
{
    DashboardPage p;
    p.title = "Test Dashboard";
    p.chartCaption = "Monthly Test";
    p.holderName = "testHolder";
    return p;
}

} // namespace

class TestDashboardHelpers : public QObject
{
    Q_OBJECT

private slots:
    void fiscalYearRunsAprilToMarch();
    void fiscalYearOfOddTexts_data();
    void fiscalYearOfOddTexts();
    void lastTwelveMonthsEndWithToday();
    void axisRules();
    void monthlyValuesSumEachMonth();
    void headerRowOrderAndButtons();
    void missingHolderAndLabelsAreSkipped();
    void rankedLines();
    void amountsNeverShowMinusZero();
};

void TestDashboardHelpers::fiscalYearRunsAprilToMarch()
{
    const QList<DashboardMonth> months = fiscalYearMonths("26-27");
    QStringList labels;
    for (int i = 0; i < months.size(); ++i) {
        labels << months.at(i).label;
        QCOMPARE(months.at(i).from.day(), 1);
        QCOMPARE(months.at(i).to, months.at(i).from.addMonths(1).addDays(-1));
        if (i > 0)
            QCOMPARE(months.at(i).from, months.at(i - 1).to.addDays(1));
    }
    QCOMPARE(labels, QStringList({"Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec", "Jan", "Feb", "Mar"}));
    QCOMPARE(months.first().from, QDate(2026, 4, 1));
    QCOMPARE(months.last().to, QDate(2027, 3, 31));
    QCOMPARE(months.at(10).to, QDate(2027, 2, 28));
    QCOMPARE(fiscalYearMonths("27-28").at(10).to, QDate(2028, 2, 29));
}

void TestDashboardHelpers::fiscalYearOfOddTexts_data()
{
    QTest::addColumn<QString>("fy");
    QTest::addColumn<int>("firstYear");
    QTest::newRow("short text") << "5" << 2005;
    QTest::newRow("two digits") << "31" << 2031;
    QTest::newRow("not a number") << "ab-cd" << 2000;
    QTest::newRow("empty") << "" << 2000;
}

void TestDashboardHelpers::fiscalYearOfOddTexts()
{
    QFETCH(QString, fy);
    QFETCH(int, firstYear);
    QCOMPARE(fiscalYearMonths(fy).first().from, QDate(firstYear, 4, 1));
}

void TestDashboardHelpers::lastTwelveMonthsEndWithToday()
{
    const QList<DashboardMonth> months = lastTwelveMonths(QDate(2026, 3, 31));
    QCOMPARE(months.size(), 12);
    QCOMPARE(months.first().label + " " + months.first().from.toString(Qt::ISODate), QString("Apr 25 2025-04-01"));
    QCOMPARE(months.at(10).label + " " + months.at(10).to.toString(Qt::ISODate), QString("Feb 26 2026-02-28"));
    QCOMPARE(months.last().label + " " + months.last().to.toString(Qt::ISODate), QString("Mar 26 2026-03-31"));
}

void TestDashboardHelpers::axisRules()
{
    QCOMPARE(axisMaximum(DashboardAxis::Amounts, 0), 1.0);
    QCOMPARE(axisMaximum(DashboardAxis::Amounts, 1000), 1201.0);
    QCOMPARE(axisMaximum(DashboardAxis::Counts, 0), 2.0);
    QCOMPARE(axisMaximum(DashboardAxis::Counts, 4), 6.0);
    QCOMPARE(axisMaximum(DashboardAxis::Counts, 1000), 1002.0);
}

void TestDashboardHelpers::monthlyValuesSumEachMonth()
{
    TestEnvironment env;
    QVERIFY(env.openDatabase());
    QSqlQuery q;
    QVERIFY(q.exec("CREATE TABLE t (d TEXT, v REAL, k TEXT)"));
    QVERIFY(q.exec("INSERT INTO t VALUES ('2026-04-01', 10, 'a'), ('2026-04-30', 5, 'a'), ('2026-05-01', 7, 'a'),"
                   " ('2027-03-31', 2, 'a'), ('2027-04-01', 99, 'a'), ('2026-06-15', 50, 'b')"));
    DashboardChart chart;
    chart.months = fiscalYearMonths("26-27");
    chart.monthSql = "SELECT COALESCE(SUM(v),0) FROM t WHERE k = :k AND d >= :from AND d <= :to";
    chart.binds = {{":k", "a"}};
    QCOMPARE(monthlyValues(chart), QList<double>({15, 7, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2}));

    chart.monthSql = "SELECT v FROM no_such_table WHERE d >= :from AND d <= :to";
    chart.binds.clear();
    QCOMPARE(monthlyValues(chart), QList<double>(12, 0.0));
}

void TestDashboardHelpers::headerRowOrderAndButtons()
{
    TestEnvironment env;
    auto *page = new QWidget;
    int alerts = 0, refreshes = 0;
    buildDashboard(page, pageLayout(), {makeStatCard("S", "lbl_s", "#000000")},
                   {makeListCard("L", "lbl_l", "#000000", "⚠")}, [&] { ++alerts; }, [&] { ++refreshes; });

    QLayout *header = page->layout()->itemAt(0)->layout();
    QVERIFY(header);
    QCOMPARE(header->count(), 4);
    QCOMPARE(qobject_cast<QLabel *>(header->itemAt(0)->widget())->text(), QString("Test Dashboard"));
    QVERIFY(header->itemAt(1)->spacerItem());
    auto *first = qobject_cast<QPushButton *>(header->itemAt(2)->widget());
    auto *second = qobject_cast<QPushButton *>(header->itemAt(3)->widget());
    QCOMPARE(first->text(), QString("📱 WhatsApp Alert"));
    QCOMPARE(second->text(), QString("⟳ Refresh"));

    first->click();
    second->click();
    second->click();
    QCOMPARE(alerts, 1);
    QCOMPARE(refreshes, 2);
    QVERIFY(page->findChild<QFrame *>("chartFrame"));
    QVERIFY(page->findChild<QWidget *>("testHolder"));
    QVERIFY(page->findChild<QLabel *>("lbl_s"));
    QVERIFY(page->findChild<QLabel *>("lbl_l"));
    delete page;
}

void TestDashboardHelpers::missingHolderAndLabelsAreSkipped()
{
    TestEnvironment env;
    QVERIFY(env.openDatabase());
    QWidget page;
    DashboardChart chart;
    chart.holderName = "nowhere";
    chart.months = lastTwelveMonths(QDate(2026, 6, 1));
    chart.monthSql = "SELECT 1 WHERE :from <> :to";
    bool filled = false;
    refreshDashboard(&page, chart, [&](QWidget *root) {
        filled = true;
        setDashboardLabel(root, "lbl_missing", "x");
    });
    QVERIFY(filled);
    QVERIFY(page.findChildren<QChartView *>().isEmpty());
}

void TestDashboardHelpers::rankedLines()
{
    // A name holding "%3" stays as it is.
    QCOMPARE(::rankedLines("%1) %2\n    Rs. %3\n", {{"ACME", "1250.00"}, {"B%3 CO", "7.50"}}),
             QString("1) ACME\n    Rs. 1250.00\n2) B%3 CO\n    Rs. 7.50\n"));
    QCOMPARE(::rankedLines("%1) %2 - Rs.%3 (%4 days)\n", {{"X", "1.00", "31"}}), QString("1) X - Rs.1.00 (31 days)\n"));
}

void TestDashboardHelpers::amountsNeverShowMinusZero()
{
    QCOMPARE(dashboardAmount(1250), QString("1250.00"));
    QCOMPARE(dashboardAmount(1234567.891), QString("1234567.89"));
    QCOMPARE(dashboardAmount(-1e-9), QString("0.00"));
    QCOMPARE(dashboardAmount(-0.0), QString("0.00"));
    QCOMPARE(dashboardAmount(-12.5), QString("-12.50"));
}

QTEST_MAIN(TestDashboardHelpers)
#include "tst_dashboardhelpers.moc"
