// What is still to be sent back on each inward entry, and closing it to bins:
// statuses at the closing threshold, what counts as closed, the filters and
// order of the list, and bins written once, all or nothing.

#include "support/recordingdesktop.h"
#include "support/salesdata.h"

#include "jobwork/pendingstore.h"
#include <QSqlQuery>
#include <QtTest>

using namespace testdata;

namespace {

QList<PendingRow> pending(PendingFilter filter = PendingFilter::All, int customerId = -1,
                          const QString &itemText = QString())
{
    PendingQuery query;
    query.customerId = customerId;
    query.itemText = itemText;
    query.currentFy = "26-27";
    query.filter = filter;
    QList<PendingRow> rows;
    QString error;
    if (!queryPendingInwards(query, &rows, &error))
        qFatal("pending list failed: %s", qPrintable(error));
    return rows;
}

QStringList numbers(const QList<PendingRow> &rows)
{
    QStringList list;
    for (const PendingRow &row : rows)
        list << row.inwardNoFull;
    return list;
}

} // namespace

class TestGenerateDcStore : public QObject
{
    Q_OBJECT

private slots:
    void statusAtTheClosingThreshold_data();
    void statusAtTheClosingThreshold();
    void closedCountsLiveChallansAndDcBinsOfTheSameYear();
    void listOrderAndFilters();
    void binSkipsClosedLinesAndKeepsToTheRowsYear();
    void binWritesAllOrNothing();
};

void TestGenerateDcStore::statusAtTheClosingThreshold_data()
{
    QTest::addColumn<double>("delivered");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("balance");
    QTest::newRow("nothing delivered") << 0.0 << "Pending" << "10.000";
    QTest::newRow("0.006 open") << 9.994 << "Partial" << "0.006";
    QTest::newRow("0.005 open") << 9.995 << "Issued" << "0.005";
    QTest::newRow("0.004 open") << 9.996 << "Issued" << "0.004";
    QTest::newRow("all delivered") << 10.0 << "Issued" << "0.000";
    QTest::newRow("more than received") << 12.5 << "Issued" << "-2.500";
}

void TestGenerateDcStore::statusAtTheClosingThreshold()
{
    QFETCH(double, delivered);
    QFETCH(QString, status);
    QFETCH(QString, balance);
    TestEnvironment env;
    QVERIFY(openSalesDatabase(env));
    const int c = addCustomer("ACME");
    const int a = addItem(c, "A1", "BRACKET");
    const int b = addItem(c, "B1", "FLANGE");
    addInward({1, "26-27", c, a, 6});
    addInward({1, "26-27", c, b, 4});
    if (delivered > 0) {
        // Split over two challans and two items, as the form would write it.
        addDelivery({1, "26-27", 1, c, a, delivered / 2});
        addDelivery({2, "26-27", 1, c, b, delivered / 2});
    }

    const QList<PendingRow> rows = pending();
    QCOMPARE(rows.size(), 1);
    QCOMPARE(statusText(rows[0].status()), status);
    QCOMPARE(QString::number(rows[0].balance(), 'f', 3), balance);
    QCOMPARE(rows[0].received, 10.0);
}

void TestGenerateDcStore::closedCountsLiveChallansAndDcBinsOfTheSameYear()
{
    TestEnvironment env;
    QVERIFY(openSalesDatabase(env));
    const int c = addCustomer("ACME");
    const int a = addItem(c, "A1", "BRACKET");
    addInward({3, "26-27", c, a, 10});
    addInward({3, "25-26", c, a, 8});
    addDelivery({1, "26-27", 3, c, a, 2});
    addBin(3, "26-27", a, 3);
    addBin(3, "26-27", a, 1, "INVOICE"); // closes an invoice balance, not this one
    addDelivery(Delivery{5, "25-26", 3, c, a, 1}.deleted(QVariant())); // an older live row
    addDelivery(Delivery{2, "26-27", 3, c, a, 4}.deleted());            // not live

    const QList<PendingRow> rows = pending();
    QCOMPARE(numbers(rows), QStringList({"3/26-27", "3/25-26"}));
    QCOMPARE(rows[0].delivered, 2.0);
    QCOMPARE(rows[0].binned, 3.0);
    QCOMPARE(rows[0].balance(), 5.0);
    QCOMPARE(rows[0].status(), PendingStatus::Partial);
    QCOMPARE(rows[1].delivered, 1.0);
    QCOMPARE(rows[1].binned, 0.0);
    QCOMPARE(rows[1].balance(), 7.0);

    // A bin alone counts as something closed.
    addInward({6, "26-27", c, a, 5});
    addBin(6, "26-27", a, 1);
    QCOMPARE(pending()[0].inwardNoFull, QString("6/26-27"));
    QCOMPARE(pending()[0].status(), PendingStatus::Partial);
}

void TestGenerateDcStore::listOrderAndFilters()
{
    TestEnvironment env;
    QVERIFY(openSalesDatabase(env));
    const int acme = addCustomer("ACME");
    const int bolt = addCustomer("BOLT WORKS");
    const int bracket = addItem(acme, "BR-10", "BRACKET");
    const int flange = addItem(acme, "FL-20", "FLANGE PLATE");
    const int pipe = addItem(bolt, "PP-30", "PIPE");
    addInward({1, "26-27", acme, bracket, 5});
    addInward({1, "26-27", acme, flange, 5}); // second line of entry 1
    addInward({2, "26-27", bolt, pipe, 4});
    addInward({3, "26-27", acme, flange, 2});
    addInward({7, "24-25", acme, bracket, 1});
    addInward({9, "25-26", bolt, pipe, 3});
    addInward(Inward{4, "26-27", acme, bracket, 9}.cancelled());
    addDelivery({1, "26-27", 3, acme, flange, 2});   // 3/26-27 issued
    addDelivery({1, "25-26", 9, bolt, pipe, 1});     // 9/25-26 partial

    QCOMPARE(numbers(pending()), QStringList({"3/26-27", "2/26-27", "1/26-27", "9/25-26", "7/24-25"}));
    QCOMPARE(numbers(pending(PendingFilter::Open)), QStringList({"2/26-27", "1/26-27", "9/25-26", "7/24-25"}));
    QCOMPARE(numbers(pending(PendingFilter::Issued)), QStringList({"3/26-27"}));
    QCOMPARE(numbers(pending(PendingFilter::All, bolt)), QStringList({"2/26-27", "9/25-26"}));

    // Any one line matching keeps the entry, with all of its lines counted.
    const QList<PendingRow> plates = pending(PendingFilter::All, -1, "  plate ");
    QCOMPARE(numbers(plates), QStringList({"3/26-27", "1/26-27"}));
    QCOMPARE(plates[1].received, 10.0);
    QCOMPARE(numbers(pending(PendingFilter::All, -1, "br-")), QStringList({"1/26-27", "7/24-25"}));
    QCOMPARE(numbers(pending(PendingFilter::Open, acme, "pipe")), QStringList());
    // Typed text is a value, never part of the statement.
    QCOMPARE(numbers(pending(PendingFilter::All, -1, "x' OR '1'='1")), QStringList());
}

void TestGenerateDcStore::binSkipsClosedLinesAndKeepsToTheRowsYear()
{
    TestEnvironment env;
    QVERIFY(openSalesDatabase(env));
    const int c = addCustomer("ACME");
    const int a = addItem(c, "A1", "BRACKET");
    const int b = addItem(c, "B1", "FLANGE");
    const int d = addItem(c, "D1", "SHAFT");
    addInward({3, "25-26", c, a, 10});
    addInward({3, "25-26", c, b, 5});
    addInward({3, "25-26", c, d, 2});
    addInward({3, "26-27", c, a, 10}); // the same number in the current year
    addDelivery({1, "25-26", 3, c, a, 2.5});
    addDelivery({2, "25-26", 3, c, b, 4.996});   // 0.004 left: closed
    addBin(3, "25-26", a, 1.5);                // binned before
    addDelivery({1, "26-27", 3, c, a, 9});       // the current year's challan

    const BinOutcome outcome = binPendingBalances({{3, "25-26", c}}, QDate(2026, 8, 14));
    QVERIFY(outcome.ok);
    QCOMPARE(outcome.written, 2);
    QCOMPARE(rows("SELECT item_id, binned_qty, fy_name FROM bins WHERE bin_date = '2026-08-14' ORDER BY bin_id"),
             QStringList({QString("%1|6|25-26").arg(a), QString("%1|2|25-26").arg(d)}));

    const QList<PendingRow> rows = pending();
    QCOMPARE(numbers(rows), QStringList({"3/26-27", "3/25-26"}));
    QCOMPARE(rows[0].status(), PendingStatus::Partial); // the other year's entry stays open
    QCOMPARE(rows[0].balance(), 1.0);
    QCOMPARE(rows[1].status(), PendingStatus::Issued);

    // What is binned is not binned again.
    const BinOutcome again = binPendingBalances({{3, "25-26", c}}, QDate(2026, 8, 15));
    QVERIFY(again.ok);
    QCOMPARE(again.written, 0);
    QCOMPARE(count("SELECT COUNT(*) FROM bins"), 3);
}

void TestGenerateDcStore::binWritesAllOrNothing()
{
    TestEnvironment env;
    QVERIFY(openSalesDatabase(env));
    const int c = addCustomer("ACME");
    const int a = addItem(c, "A1", "BRACKET");
    const int b = addItem(c, "B1", "FLANGE");
    addInward({1, "26-27", c, a, 3});
    addInward({2, "26-27", c, b, 4});
    exec("CREATE TRIGGER refuse_flange BEFORE INSERT ON bins WHEN NEW.item_id = " + QString::number(b)
         + " BEGIN SELECT RAISE(ABORT, 'flange refused'); END");

    const BinOutcome outcome = binPendingBalances({{1, "26-27", c}, {2, "26-27", c}}, QDate::currentDate());
    QVERIFY(!outcome.ok);
    QVERIFY2(outcome.error.contains("flange refused"), qPrintable(outcome.error));
    QCOMPARE(count("SELECT COUNT(*) FROM bins"), 0);

    // A failing line query is a failure too, not a success with nothing binned.
    exec("DROP TRIGGER refuse_flange");
    exec("ALTER TABLE inward_entries RENAME TO inward_entries_gone");
    const BinOutcome broken = binPendingBalances({{1, "26-27", c}}, QDate::currentDate());
    QVERIFY(!broken.ok);
    QVERIFY(!broken.error.isEmpty());
    QCOMPARE(count("SELECT COUNT(*) FROM bins"), 0);
}

QTEST_MAIN(TestGenerateDcStore)
#include "tst_generatedcstore.moc"
