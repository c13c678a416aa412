// Challans and open balances in the database: what is left on each inward
// line once live challans and "DC" bins of the same year are taken off, the
// statuses at the closing threshold, bins written once and all or nothing,
// challans written in one transaction, and deletes refused while invoiced.

#include "support/salesdata.h"
#include "support/secondconnection.h"
#include "support/testenvironment.h"

#include "jobwork/challanstore.h"
#include "jobwork/inwardstore.h"
#include "jobwork/pendingstore.h"
#include "core/listformat.h"

#include <QSqlDatabase>
#include <QtTest>

#include <memory>

using namespace testdata;

namespace {

QList<PendingRow> pending()
{
    QList<PendingRow> rows;
    QString error;
    if (!queryPendingInwards({-1, QString(), "26-27", PendingFilter::All}, &rows, &error))
        qFatal("pending list failed: %s", qPrintable(error));
    return rows;
}

// An entry as the list shows it, to be binned.
BinTarget listed(int inwardNo, const QString &fy)
{
    for (const PendingRow &row : pending())
        if (row.inwardNo == inwardNo && row.fy == fy)
            return binTargetOf(row);
    return BinTarget{inwardNo, fy, 1};
}

QStringList numbers(const QList<PendingRow> &rows)
{
    QStringList list;
    for (const PendingRow &row : rows)
        list << row.inwardNoFull;
    return list;
}

// Inward 3 of 26-27: A 10 (challan 2, "DC" bin 3, "INVOICE" bin 1), B 4 (all
// on a challan whose flag is NULL), D 6 (all binned; a deleted challan of 4).
// Inward 3 of 25-26: A 8 (challan 1, bin 1). Inward 6 of 26-27: A 5, a bin of
// 1 only. Returns the customer.
int addClosingData(int *a)
{
    const int c = addCustomer("ACME");
    *a = addItem(c, "A1", "BRACKET");
    const int b = addItem(c, "B1", "FLANGE");
    const int d = addItem(c, "D1", "SHAFT");
    addInward({3, "26-27", c, *a, 10});
    addInward({3, "26-27", c, b, 4});
    addInward({3, "26-27", c, d, 6});
    addInward({3, "25-26", c, *a, 8});
    addInward({6, "26-27", c, *a, 5});
    addDelivery({1, "26-27", 3, c, *a, 2});
    addDelivery(Delivery{4, "26-27", 3, c, d, 4}.deleted());
    addDelivery(Delivery{2, "26-27", 3, c, b, 4}.deleted(QVariant()));
    addDelivery({1, "25-26", 3, c, *a, 1});
    addBin(3, "26-27", *a, 3);
    addBin(3, "26-27", *a, 1, "INVOICE");
    addBin(3, "26-27", d, 2);
    addBin(3, "25-26", *a, 1);
    addBin(6, "26-27", *a, 1);
    return c;
}

} // namespace

class TestChallanStore : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;

private slots:
    void init()
    {
        env = std::make_unique<TestEnvironment>();
        QVERIFY(openSalesDatabase(*env));
    }
    void cleanup() { env.reset(); }

    void statusAtTheClosingThreshold_data()
    {
        QTest::addColumn<double>("delivered");
        QTest::addColumn<QString>("status");
        QTest::newRow("nothing delivered") << 0.0 << "Pending";
        QTest::newRow("0.006 open") << 9.994 << "Partial";
        QTest::newRow("0.005 open") << 9.995 << "Issued";
        QTest::newRow("0.004 open") << 9.996 << "Issued";
        QTest::newRow("more than received") << 12.5 << "Issued";
    }

    void statusAtTheClosingThreshold()
    {
        QFETCH(double, delivered);
        QFETCH(QString, status);
        addInward({1, "26-27", addCustomer("ACME"), addItem(1, "A1", "BRACKET"), 10});
        if (delivered > 0)
            addDelivery({1, "26-27", 1, 1, 1, delivered});
        QCOMPARE(statusText(pending().value(0).status()), status);
    }

    void openLinesSubtractDeliveriesAndBins()
    {
        int a = 0;
        const int c = addClosingData(&a);

        const PendingInward open = loadPendingInwardLines({3}, c, "26-27");
        QVERIFY(open.error.isEmpty());
        // B is closed; D's deleted challan counts for nothing, as in the pending list.
        QCOMPARE(open.lines.size(), 2);
        QCOMPARE(open.lines[0].itemId, a);
        QCOMPARE(open.lines[0].balance(), 5.0);
        QCOMPARE(open.lines[1].balance(), 4.0);
    }

    void closedCountsLiveChallansAndDcBinsOfTheSameYear()
    {
        int a = 0;
        addClosingData(&a);

        const QList<PendingRow> rows = pending();
        QCOMPARE(numbers(rows), QStringList({"6/26-27", "3/26-27", "3/25-26"}));
        QCOMPARE(rows[0].status(), PendingStatus::Partial); // a bin alone closes something
        QCOMPARE(rows[1].delivered, 6.0);
        QCOMPARE(rows[1].binned, 5.0);
        QCOMPARE(rows[1].balance(), 9.0);
        QCOMPARE(rows[2].balance(), 6.0);
    }

    // What is left is an exact decimal: 1.0735 received less 0.3 sent back
    // is 0.7735, "0.774" half away from zero (not 0.7734999999999999,
    // "0.773"), in the list, the challan's lines and the bin.
    void balancesAreExactDecimals()
    {
        const int c = addCustomer("ACME");
        const int a = addItem(c, "A1", "BRACKET");
        addInward({7, "26-27", c, a, 1.0735});
        addDelivery({1, "26-27", 7, c, a, 0.3});
        QCOMPARE(quantityText(pending().value(0).balance()), QString("0.774"));
        const PendingInward open = loadPendingInwardLines({7}, c, "26-27");
        QCOMPARE(open.lines.value(0).balance(), 0.7735);
        QCOMPARE(quantityText(open.lines.value(0).qty), QString("0.774"));
        QCOMPARE(binPendingBalances({listed(7, "26-27")}, QDate(2026, 9, 1)).written, 1);
        QCOMPARE(value("SELECT binned_qty FROM bins").toDouble(), 0.7735);
        QCOMPARE(pending().value(0).status(), PendingStatus::Issued);

        // An entry's own lines to all their digits: 10 less 0.1234567.
        addInward({8, "26-27", c, a, 10});
        addDelivery({2, "26-27", 8, c, a, 0.1234567});
        QCOMPARE(loadPendingInwardLines({8}, c, "26-27").lines.value(0).balance(), 9.8765433);
        QCOMPARE(binPendingBalances({listed(8, "26-27")}, QDate(2026, 9, 1)).written, 1);
        QCOMPARE(value("SELECT binned_qty FROM bins WHERE inward_no = 8").toDouble(), 9.8765433);
    }

    void linesAreReadByNumberYearAndCustomer()
    {
        const int c = addCustomer("ACME");
        const int other = addCustomer("OTHER");
        const int a = addItem(c, "A1", "BRACKET");
        addInward({3, "25-26", c, a, 7}); // earlier year, same number
        addInward({3, "26-27", c, a, 2});
        addInward({4, "26-27", other, addItem(other, "O1", "PIPE"), 9});
        addInward(Inward{6, "26-27", c, a, 5}.cancelled());
        addInward({8, "25-26", c, a, 5}); // only in the earlier year

        const PendingInward open = loadPendingInwardLines({3, 4, 6, 8}, c, "26-27");
        QCOMPARE(open.lines.size(), 1);
        QCOMPARE(open.lines[0].balance(), 2.0);
        QCOMPARE(open.notFound, QList<int>({4, 6, 8}));
    }

    void binSkipsClosedLinesAndKeepsToTheRowsYear()
    {
        const int c = addCustomer("ACME");
        const int a = addItem(c, "A1", "BRACKET");
        const int b = addItem(c, "B1", "FLANGE");
        const int d = addItem(c, "D1", "SHAFT");
        addInward({3, "25-26", c, a, 10});
        addInward({3, "25-26", c, b, 5});
        addInward({3, "25-26", c, d, 2});
        addInward({3, "26-27", c, a, 10}); // the same number in the current year
        addDelivery({1, "25-26", 3, c, a, 2.5});
        addDelivery({2, "25-26", 3, c, b, 4.996}); // 0.004 left: closed
        addBin(3, "25-26", a, 1.5);                // binned before
        addDelivery({1, "26-27", 3, c, a, 9});

        const BinOutcome outcome = binPendingBalances({listed(3, "25-26")}, QDate(2026, 8, 14));
        QVERIFY(outcome.ok);
        QCOMPARE(rows("SELECT item_id, binned_qty, fy_name FROM bins WHERE bin_date = '2026-08-14' ORDER BY bin_id"),
                 QStringList({QString("%1|6|25-26").arg(a), QString("%1|2|25-26").arg(d)}));
        const QList<PendingRow> after = pending();
        QCOMPARE(after[0].status(), PendingStatus::Partial); // 3/26-27 stays open
        QCOMPARE(after[1].status(), PendingStatus::Issued);

        // What is binned is not binned again.
        QCOMPARE(binPendingBalances({listed(3, "25-26")}, QDate(2026, 8, 15)).written, 0);
        QCOMPARE(count("SELECT COUNT(*) FROM bins"), 3);
    }

    void binWritesAllOrNothing()
    {
        addCustomer("ACME");
        addInward({1, "26-27", 1, addItem(1, "A1", "BRACKET"), 3});
        addInward({2, "26-27", 1, addItem(1, "B1", "FLANGE"), 4});
        exec("CREATE TRIGGER refuse BEFORE INSERT ON bins WHEN NEW.item_id = 2 "
             "BEGIN SELECT RAISE(ABORT, 'flange refused'); END");
        const BinOutcome outcome = binPendingBalances({listed(1, "26-27"), listed(2, "26-27")}, QDate::currentDate());
        QVERIFY(!outcome.ok);
        QVERIFY(outcome.error.contains("flange refused"));
        QCOMPARE(count("SELECT COUNT(*) FROM bins"), 0);

        // A failing line query is a failure too, not a success with nothing binned.
        exec("DROP TRIGGER refuse");
        const BinTarget first = listed(1, "26-27");
        exec("ALTER TABLE inward_entries RENAME TO inward_entries_gone");
        QVERIFY(!binPendingBalances({first}, QDate::currentDate()).ok);
    }

    // A deferred foreign key is checked only at COMMIT, which then fails: the
    // lines are rolled back and the transaction is over.
    void failedWriteLeavesNothing()
    {
        exec("CREATE TABLE parent_rows (id INTEGER PRIMARY KEY)");
        exec("CREATE TABLE child_rows (pid INTEGER REFERENCES parent_rows(id) DEFERRABLE INITIALLY DEFERRED)");
        exec("CREATE TRIGGER orphan AFTER INSERT ON delivery_entries BEGIN INSERT INTO child_rows VALUES (12345); END");
        exec("PRAGMA foreign_keys = ON");

        addInward({3, "26-27", 1, 1, 5});
        addInward({3, "26-27", 1, 2, 5});
        const InwardLineState received{true, Decimal::whole(5), {}, {}};
        const WriteOutcome outcome =
            saveChallan({1, "26-27", "2026-06-10", 1, "998873", "", {{3, 1, 2, received}, {3, 2, 1, received}}});
        QCOMPARE(outcome.result, WriteResult::Failed);
        QVERIFY2(outcome.error.contains("FOREIGN KEY", Qt::CaseInsensitive), qPrintable(outcome.error));
        QCOMPARE(count("SELECT COUNT(*) FROM delivery_entries"), 0);
        QSqlDatabase db = QSqlDatabase::database();
        QVERIFY(db.transaction());
        QVERIFY(db.rollback());
    }

    // Another copy saves challan 1 while this one saves it too: this save
    // waits for the lock, then finds the number taken and writes nothing.
    void numberTakenMeanwhileWritesNothing()
    {
        WriteOutcome outcome;
        saveWhileOtherCopyWrites(challanLineStatement(1, 3, 1, 2), [&] {
            outcome = saveChallan({1, "26-27", "2026-06-10", 1, "998873", "", {{3, 1, 2, {}}}});
        });
        QVERIFY(outcome.numberUsed);
        QCOMPARE(outcome.result, WriteResult::Failed);
        QCOMPARE(count("SELECT COUNT(*) FROM delivery_entries"), 1);
    }

    // Two stored rows of one item in one entry (5 + 5 received, written by
    // hand or merged by two copies) are one inward line of 10: offered once,
    // and however the challan's lines are laid out, what they draw on it adds
    // up to at most what is left of it. (The challan form's test updates such lines.)
    void linesDrawingOnOneInwardLineAreAddedUp()
    {
        const int c = addCustomer("ACME");
        const int a = addItem(c, "AX-101", "BRACKET");
        addInward({1, "26-27", c, a, 5});
        addInward({1, "26-27", c, a, 5});
        const PendingInward open = loadPendingInwardLines({1, 1}, c, "26-27");
        QCOMPARE(open.lines.size(), 1);
        const InwardLineState shown = open.lines[0].state;
        ChallanWrite twice{1, "26-27", "2026-06-10", c, "998873", "", {{1, a, 10, shown}, {1, a, 10, shown}}};
        QCOMPARE(saveChallan(twice).beyondBalance,
                 QStringList{"Inward No 1/26-27, AX-101: the 2 lines of this DC that draw on it deliver 20.000 "
                             "together, but only 10.000 is left to deliver (received 10.000, delivered 0.000, "
                             "binned 0.000)."});
        // One line alone beyond the balance is refused too; half a thousandth is the shown figure's rounding.
        twice.lines = {{1, a, 10.001, shown}};
        QCOMPARE(saveChallan(twice).beyondBalance.size(), 1);
        QCOMPARE(count("SELECT COUNT(*) FROM delivery_entries"), 0);
        twice.lines = {{1, a, 6, shown}, {1, a, 4, shown}};
        QCOMPARE(saveChallan(twice).result, WriteResult::Written);

        // Printed, each line once, with the customer's DC of a live row.
        exec("UPDATE inward_entries SET dc_no = 'OLD', is_deleted = 1 WHERE inward_id = 1");
        ChallanPrintData print;
        QVERIFY(readChallanForPrint(1, "26-27", &print));
        QCOMPARE(print.lines.size(), 2);
        QCOMPARE(print.lines[1].dcNo, QString("CDC-1"));
    }

    // The lists of challans, inward entries and pending balances give the
    // driver's text when their statement fails.
    void failedListsGiveTheDriversText()
    {
        exec("ALTER TABLE customers RENAME TO customers_gone");
        QString challans, inwards, balances;
        QVERIFY(challanList(-1, QString(), QString(), "26-27", &challans).isEmpty());
        QVERIFY(inwardListRows(-1, QString(), QString(), "26-27", &inwards).isEmpty());
        QList<PendingRow> rows;
        QVERIFY(!queryPendingInwards({-1, QString(), "26-27", PendingFilter::All}, &rows, &balances));
        for (const QString &error : {challans, inwards, balances})
            QVERIFY2(error.contains("no such table: customers"), qPrintable(error));
    }

    void deleteRefusals()
    {
        addDelivery({4, "26-27", 2, 1, 1, 3});
        addDelivery({5, "26-27", 2, 1, 1, 3});
        addDelivery({4, "25-26", 2, 1, 1, 3});
        addDelivery({6, "26-27", 2, 1, 1, 3});
        addInvoiceLine(addInvoice({9, "26-27"}), 4, 1, "26-27");                           // live, bills 4/26-27
        addInvoiceLine(addInvoice({10, "26-27", "2026-07-01", 1, 100, 1}), 5, 1, "26-27"); // cancelled

        const DeleteOutcome refused = deleteChallan(4, "26-27", challanStoredLines(4, "26-27"));
        QCOMPARE(refused.result, DeleteResult::Invoiced);
        QCOMPARE(refused.invoices, QStringList({"9/26-27"}));
        QCOMPARE(deleteChallan(5, "26-27", challanStoredLines(5, "26-27")).result, DeleteResult::Deleted);
        // The invoice bills the other year's 4.
        QCOMPARE(deleteChallan(4, "25-26", challanStoredLines(4, "25-26")).result, DeleteResult::Deleted);

        // A delete the database refuses is reported, not passed off as done.
        exec("CREATE TRIGGER keep BEFORE DELETE ON delivery_entries BEGIN SELECT RAISE(ABORT, 'kept by test'); END");
        const DeleteOutcome failed = deleteChallan(6, "26-27", challanStoredLines(6, "26-27"));
        QCOMPARE(failed.result, DeleteResult::Failed);
        QVERIFY(failed.error.contains("kept by test"));
        QCOMPARE(rows("SELECT delivery_no FROM delivery_entries ORDER BY delivery_no"), QStringList({"4", "6"}));
    }
};

QTEST_MAIN(TestChallanStore)
#include "tst_challanstore.moc"
