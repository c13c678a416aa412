#include "support/recordingdesktop.h"

#include "app/dashboard.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QFrame>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QSqlQuery>
#include <QValueAxis>
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

QValueAxis *valueAxisOf(QChartView *view)
{
    const auto axes = view->chart()->axes(Qt::Vertical);
    return axes.isEmpty() ? nullptr : qobject_cast<QValueAxis *>(axes.first());
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
    void freshCardsShowPlaceholders();
    void headerRowOrderAndButtons();
    void tenRefreshesLeaveOneChartView();
    void chartShowsBarsLabelsAndAxis();
    void missingHolderAndLabelsAreSkipped();
    void rankedLines();
    void amountsNeverShowMinusZero();
};

void TestDashboardHelpers::fiscalYearRunsAprilToMarch()
{
    const QList<DashboardMonth> months = fiscalYearMonths("26-27");
    QCOMPARE(months.size(), 12);
    QStringList labels;
    for (const DashboardMonth &m : months)
        labels << m.label;
    QCOMPARE(labels, QStringList({"Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec", "Jan", "Feb", "Mar"}));
    QCOMPARE(months.first().from, QDate(2026, 4, 1));
    QCOMPARE(months.first().to, QDate(2026, 4, 30));
    QCOMPARE(months.at(8).to, QDate(2026, 12, 31));
    QCOMPARE(months.at(9).from, QDate(2027, 1, 1));
    QCOMPARE(months.at(10).to, QDate(2027, 2, 28));
    QCOMPARE(months.last().from, QDate(2027, 3, 1));
    QCOMPARE(months.last().to, QDate(2027, 3, 31));
    for (int i = 1; i < 12; ++i)
        QCOMPARE(months.at(i).from, months.at(i - 1).to.addDays(1));
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
    QCOMPARE(months.first().label, QString("Apr 25"));
    QCOMPARE(months.first().from, QDate(2025, 4, 1));
    QCOMPARE(months.first().to, QDate(2025, 4, 30));
    QCOMPARE(months.at(10).label, QString("Feb 26"));
    QCOMPARE(months.at(10).to, QDate(2026, 2, 28));
    QCOMPARE(months.last().label, QString("Mar 26"));
    QCOMPARE(months.last().to, QDate(2026, 3, 31));
}

void TestDashboardHelpers::axisRules()
{
    QCOMPARE(axisMaximum(DashboardAxis::Amounts, 0), 1.0);
    QCOMPARE(axisMaximum(DashboardAxis::Amounts, 1000), 1201.0);
    QCOMPARE(axisMaximum(DashboardAxis::Counts, 0), 2.0);
    QCOMPARE(axisMaximum(DashboardAxis::Counts, 4), 6.0);
    QCOMPARE(axisMaximum(DashboardAxis::Counts, 1000), 1002.0);
    QCOMPARE(axisLabelFormat(DashboardAxis::Amounts), QString("%.0f"));
    QCOMPARE(axisLabelFormat(DashboardAxis::Counts), QString("%d"));
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

void TestDashboardHelpers::freshCardsShowPlaceholders()
{
    TestEnvironment env;
    std::unique_ptr<QFrame> stat(makeStatCard("Total", "lbl_total", "#8e44ad"));
    std::unique_ptr<QFrame> list(makeListCard("Top", "lbl_top", "#0078d4", "🏆"));
    QVERIFY(!stat->parent());
    QCOMPARE(stat->findChild<QLabel *>("lbl_total")->text(), QString("--"));
    QVERIFY(stat->styleSheet().contains("border:2px solid #8e44ad"));
    QCOMPARE(list->findChild<QLabel *>("lbl_top")->text(), QString("Loading..."));
    QVERIFY(list->styleSheet().contains("border:2px solid #0078d4"));

    std::unique_ptr<QFrame> big(makeStatCard("Debt", "lbl_debt", "#c0392b", DashboardCardStyle{30, 30, 16}));
    QVERIFY(big->findChild<QLabel *>("lbl_debt")->styleSheet().startsWith("font-size:30px;"));
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
    QCOMPARE(first->size(), QSize(140, 35));
    QCOMPARE(second->size(), QSize(100, 35));

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

void TestDashboardHelpers::tenRefreshesLeaveOneChartView()
{
    TestEnvironment env;
    QVERIFY(env.openDatabase());
    auto *page = new QWidget;
    DashboardChart chart;
    chart.holderName = "testHolder";
    chart.months = fiscalYearMonths("26-27");
    chart.monthSql = "SELECT 0 WHERE :from <> :to";
    int cardFills = 0;
    const auto refresh = [&] { refreshDashboard(page, chart, [&](QWidget *) { ++cardFills; }); };
    buildDashboard(page, pageLayout(), {}, {}, {}, refresh);
    refresh();
    auto *button = page->findChild<QPushButton *>();
    for (QPushButton *b : page->findChildren<QPushButton *>())
        if (b->text() == "⟳ Refresh")
            button = b;
    for (int i = 0; i < 10; ++i)
        button->click();
    QWidget *holder = page->findChild<QWidget *>("testHolder");
    QCOMPARE(holder->findChildren<QChartView *>().size(), 1);
    QCOMPARE(holder->layout()->count(), 1);
    QCOMPARE(cardFills, 11);
    delete page;
}

void TestDashboardHelpers::chartShowsBarsLabelsAndAxis()
{
    TestEnvironment env;
    DashboardChart chart;
    chart.barSetName = "Invoice Amount";
    chart.months = fiscalYearMonths("26-27");
    chart.viewMinimumHeight = 250;
    QList<double> values(12, 0.0);
    values[3] = 1000;
    std::unique_ptr<QChartView> view(makeMonthlyChartView(chart, values));
    QCOMPARE(view->minimumHeight(), 250);
    QVERIFY(!view->chart()->legend()->isVisible());
    auto *series = qobject_cast<QBarSeries *>(view->chart()->series().first());
    QCOMPARE(series->barSets().first()->label(), QString("Invoice Amount"));
    QCOMPARE(series->barSets().first()->count(), 12);
    QCOMPARE(series->barSets().first()->at(3), 1000.0);
    QCOMPARE(series->barSets().first()->color(), QColor("#0078d4"));
    auto *categories = qobject_cast<QBarCategoryAxis *>(view->chart()->axes(Qt::Horizontal).first());
    QCOMPARE(categories->categories().first(), QString("Apr"));
    QCOMPARE(categories->categories().last(), QString("Mar"));
    QCOMPARE(valueAxisOf(view.get())->min(), 0.0);
    QCOMPARE(valueAxisOf(view.get())->max(), 1201.0);
    QCOMPARE(valueAxisOf(view.get())->labelFormat(), QString("%.0f"));

    chart.axis = DashboardAxis::Counts;
    std::unique_ptr<QChartView> empty(makeMonthlyChartView(chart, QList<double>(12, 0.0)));
    QCOMPARE(valueAxisOf(empty.get())->max(), 2.0);
    QCOMPARE(valueAxisOf(empty.get())->labelFormat(), QString("%d"));
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
    QCOMPARE(::rankedLines("%1) %2\n    Rs. %3\n", {}, "No data"), QString("No data"));
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
