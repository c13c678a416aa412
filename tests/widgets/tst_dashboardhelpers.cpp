#include "support/testenvironment.h"

#include "core/money.h"
#include "widgets/dashboard.h"

#include <QChart>
#include <QChartView>
#include <QGraphicsTextItem>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QtTest>

namespace {

QString monthText(const DashboardMonth &m)
{
    return m.label + " " + m.from.toString(Qt::ISODate) + " " + m.to.toString(Qt::ISODate);
}

// The value-axis labels the chart draws for these bars, bottom to top.
QStringList drawnAxisLabels(DashboardAxis axis, const QList<double> &values)
{
    DashboardChart chart;
    chart.months = fiscalYearMonths("26-27");
    chart.axis = axis;
    QChartView *view = makeMonthlyChartView(chart, values);
    view->chart()->setAnimationOptions(QChart::NoAnimation);
    view->resize(900, 400);
    view->show();
    if (!QTest::qWaitForWindowExposed(view))
        qWarning("chart view not exposed");
    QCoreApplication::processEvents();
    QList<QPair<double, QString>> labels;
    for (QGraphicsItem *item : view->scene()->items()) {
        const auto *text = dynamic_cast<QGraphicsTextItem *>(item);
        bool number = false;
        if (text && text->isVisible())
            text->toPlainText().toDouble(&number);
        if (number)
            labels << qMakePair(-text->sceneBoundingRect().center().y(), text->toPlainText());
    }
    std::sort(labels.begin(), labels.end());
    QStringList out;
    for (const auto &label : labels)
        out << label.second;
    delete view;
    return out;
}

// The headings and figures under `page` that do not show whole: a text may
// wrap, but each of its lines must fit in its label.
QStringList cutHeadings(QWidget *page, const QStringList &headings)
{
    QStringList cut;
    for (const QString &heading : headings) {
        const QList<QLabel *> labels = page->findChildren<QLabel *>();
        const auto found = std::find_if(labels.begin(), labels.end(),
                                        [&](QLabel *l) { return l->text() == heading; });
        if (found == labels.end()) {
            cut << heading + " (missing)";
            continue;
        }
        const QLabel *label = *found;
        const QRect room = label->contentsRect();
        const QRect needed = label->fontMetrics().boundingRect(room, Qt::TextWordWrap | label->alignment(), heading);
        if (needed.width() > room.width() || needed.height() > room.height())
            cut << heading;
    }
    return cut;
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
    void valueAxisLabelsReadApart_data();
    void valueAxisLabelsReadApart();
    void cardHeadingsShowWhole_data();
    void cardHeadingsShowWhole();
    void cardFiguresShowWhole_data();
    void cardFiguresShowWhole();
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
    QCOMPARE(moneyText(-1e-9), QString("0.00"));
    QCOMPARE(moneyText(-12.5), QString("-12.50"));
}

void TestDashboardHelpers::valueAxisLabelsReadApart_data()
{
    QTest::addColumn<DashboardAxis>("axis");
    QTest::addColumn<double>("largest");
    QTest::addColumn<QStringList>("labels");
    QTest::newRow("empty year of amounts") << DashboardAxis::Amounts << 0.0 << QStringList{"0", "1"};
    QTest::newRow("half a rupee") << DashboardAxis::Amounts << 0.5 << QStringList{"0", "1"};
    QTest::newRow("two rupees") << DashboardAxis::Amounts << 2.0 << QStringList{"0", "1", "2", "3"};
    // An axis long enough keeps its own four steps.
    QTest::newRow("a thousand") << DashboardAxis::Amounts << 1000.0
                                << QStringList{"0", "300", "601", "901", "1201"};
    QTest::newRow("no counts") << DashboardAxis::Counts << 0.0 << QStringList{"0", "1", "2"};
    QTest::newRow("four counts") << DashboardAxis::Counts << 4.0
                                 << QStringList{"0", "1", "2", "3", "4", "5", "6"};
}

void TestDashboardHelpers::valueAxisLabelsReadApart()
{
    QFETCH(DashboardAxis, axis);
    QFETCH(double, largest);
    QFETCH(QStringList, labels);
    QList<double> values(12, 0.0);
    values[4] = largest;
    QCOMPARE(drawnAxisLabels(axis, values), labels);
}

void TestDashboardHelpers::cardHeadingsShowWhole_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("1920x1080") << QSize(1920, 1040);
    QTest::newRow("1366x768") << QSize(1366, 700);
}

// Long headings in four equal cards, as on the sales dashboard.
void TestDashboardHelpers::cardHeadingsShowWhole()
{
    QFETCH(QSize, size);
    TestEnvironment env;
    QWidget page;
    DashboardPage layout;
    layout.holderName = "testHolder";
    DashboardCardStyle large;
    large.statTitlePx = 30;
    const QStringList stat = {"This Month / Last Month Sales", "Amount Receivable (Rs.)", "Total Unpaid Bills"};
    const QStringList list = {"Unpaid Amount > 60 Days", "Payment Delaying Customers (>60 days)",
                              "Top Customers (by Invoice Value)", "Best Customers (by Payment Speed)"};
    buildDashboard(&page, layout,
                   {makeStatCard(stat.at(0), "lbl_a", "#0078d4"), makeStatCard(stat.at(1), "lbl_b", "#e74c3c"),
                    makeStatCard(stat.at(2), "lbl_c", "#e74c3c", large)},
                   {makeListCard(list.at(0), "lbl_d", "#e74c3c", "⚠"), makeListCard(list.at(1), "lbl_e", "#e67e22", "⏰"),
                    makeListCard(list.at(2), "lbl_f", "#0078d4", "🏆"), makeListCard(list.at(3), "lbl_g", "#27ae60", "⚡")},
                   {}, {});
    page.resize(size);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    QTest::qWait(50);
    QCOMPARE(cutHeadings(&page, stat + list), QStringList());
}

void TestDashboardHelpers::cardFiguresShowWhole_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("figure");
    QTest::addColumn<int>("shownPx"); // 0: any size below the card's 30 px
    QTest::newRow("1920x1080, last month") << QSize(1920, 1040) << "Rs. 34099673.00" << 30;
    QTest::newRow("1366x768, debt") << QSize(1366, 700) << "Rs. 204057281.00" << 0;
    QTest::newRow("1366x768, sum of bills") << QSize(1366, 700) << "Rs. 10000000000499.50" << 0;
    QTest::newRow("1366x768, two months") << QSize(1366, 700) << "This Month : Rs.10000000000499.50\nLast Month : Rs.0.00" << 0;
    // Wrapped, the figure is still wider than the card: it steps down further.
    QTest::newRow("half of 1366x768, sum of bills") << QSize(683, 700) << "Rs. 10000000000499.50" << 0;
}

// A figure written into a large card, as on the purchase dashboard.
void TestDashboardHelpers::cardFiguresShowWhole()
{
    QFETCH(QSize, size);
    QFETCH(QString, figure);
    QFETCH(int, shownPx);
    TestEnvironment env;
    QWidget page;
    DashboardCardStyle large;
    large.statTitlePx = large.statValuePx = 30;
    QList<QWidget *> cards;
    for (const char *title : {"Total Unpaid Bills", "Total Debt (Rs.)", "This Month (Rs.)", "Last Month (Rs.)"})
        cards << makeStatCard(title, cards.size() == 1 ? "lbl_debt" : "", "#c0392b", large);
    buildDashboard(&page, DashboardPage{}, cards, {makeListCard("Unpaid Suppliers", "lbl_list", "#e74c3c", "⚠", large)},
                   {}, {});
    page.resize(size);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    setDashboardLabel(&page, "lbl_debt", figure);
    QTest::qWait(50);
    QCOMPARE(cutHeadings(&page, {figure}), QStringList());
    const int px = page.findChild<QLabel *>("lbl_debt")->font().pixelSize();
    QVERIFY2(shownPx ? px == shownPx : px < 30, qPrintable(QString::number(px)));
}

QTEST_MAIN(TestDashboardHelpers)
#include "tst_dashboardhelpers.moc"
