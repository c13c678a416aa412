#include "support/recordingdesktop.h"

#include "app/dashboard.h"

#include <QChartView>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QtTest>

namespace {

QString monthText(const DashboardMonth &m)
{
    return m.label + " " + m.from.toString(Qt::ISODate) + " " + m.to.toString(Qt::ISODate);
}

} // namespace

class TestDashboardHelpers : public QObject
{
    Q_OBJECT

private slots:
    void fiscalYearRunsAprilToMarch();
    void lastTwelveMonthsAndCountAxis();
    void headerRowOrder();
    void missingHolderAndLabelsAreSkipped();
    void cardTexts();
};

void TestDashboardHelpers::fiscalYearRunsAprilToMarch()
{
    const QList<DashboardMonth> months = fiscalYearMonths("27-28");
    QCOMPARE(monthText(months.first()), QString("Apr 2027-04-01 2027-04-30"));
    QCOMPARE(monthText(months.at(10)), QString("Feb 2028-02-01 2028-02-29"));
    QCOMPARE(monthText(months.last()), QString("Mar 2028-03-01 2028-03-31"));
    // The first year: the number of the first two characters, or 2000.
    QCOMPARE(fiscalYearMonths("5").first().from, QDate(2005, 4, 1));
    QCOMPARE(fiscalYearMonths("ab-cd").first().from, QDate(2000, 4, 1));
}

// The count charts of the purchase and inventory dashboards.
void TestDashboardHelpers::lastTwelveMonthsAndCountAxis()
{
    const QList<DashboardMonth> months = lastTwelveMonths(QDate(2026, 3, 31));
    QCOMPARE(monthText(months.first()), QString("Apr 25 2025-04-01 2025-04-30"));
    QCOMPARE(monthText(months.last()), QString("Mar 26 2026-03-01 2026-03-31"));
    QCOMPARE(axisMaximum(DashboardAxis::Counts, 0), 2.0);
    QCOMPARE(axisMaximum(DashboardAxis::Counts, 4), 6.0);
}

void TestDashboardHelpers::headerRowOrder()
{
    TestEnvironment env;
    QWidget page;
    DashboardPage layout;
    layout.title = "Test Dashboard";
    layout.holderName = "testHolder";
    buildDashboard(&page, layout, {makeStatCard("S", "lbl_s", "#000000")},
                   {makeListCard("L", "lbl_l", "#000000", "⚠")}, [] {}, [] {});

    QLayout *header = page.layout()->itemAt(0)->layout();
    QCOMPARE(header->count(), 4);
    QCOMPARE(qobject_cast<QLabel *>(header->itemAt(0)->widget())->text(), QString("Test Dashboard"));
    QVERIFY(header->itemAt(1)->spacerItem());
    QCOMPARE(qobject_cast<QPushButton *>(header->itemAt(2)->widget())->text(), QString("📱 WhatsApp Alert"));
    QCOMPARE(qobject_cast<QPushButton *>(header->itemAt(3)->widget())->text(), QString("⟳ Refresh"));
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

void TestDashboardHelpers::cardTexts()
{
    // A name holding "%3" stays as it is.
    QCOMPARE(rankedLines("%1) %2\n    Rs. %3\n", {{"ACME", "1250.00"}, {"B%3 CO", "7.50"}}),
             QString("1) ACME\n    Rs. 1250.00\n2) B%3 CO\n    Rs. 7.50\n"));
    // No minus zero.
    QCOMPARE(dashboardAmount(-1e-9), QString("0.00"));
    QCOMPARE(dashboardAmount(-12.5), QString("-12.50"));
}

QTEST_MAIN(TestDashboardHelpers)
#include "tst_dashboardhelpers.moc"
