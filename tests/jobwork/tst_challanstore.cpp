// Delivery challans in the database: open balances, numbering, writes in
// transactions, delete refusals, the list and the data of the printed challan.

#include "support/recordingdesktop.h"
#include "support/salesdata.h"

#include "jobwork/challanstore.h"

#include <QSqlDatabase>
#include <QtTest>

using namespace testdata;

class TestChallanStore : public QObject
{
    Q_OBJECT

private slots:
    void openLinesSubtractDeliveriesAndBins();
    void linesAreReadByNumberYearAndCustomer();
    void remarksAreCollectedOnce();
    void numberingFillsTheLowestGapOfTheYear();
    void numberFromFieldText_data();
    void numberFromFieldText();
    void saveStoresNumberSlashYear();
    void failedWriteLeavesNothing_data();
    void failedWriteLeavesNothing();
    void deleteRefusals();
};

void TestChallanStore::openLinesSubtractDeliveriesAndBins()
{
    TestEnvironment env;
    QVERIFY(openSalesDatabase(env));
    const int c = addCustomer("ACME");
    const int a = addItem(c, "A1", "BRACKET");
    const int b = addItem(c, "B1", "FLANGE");
    const int d = addItem(c, "D1", "SHAFT");
    const int e = addItem(c, "E1", "GEAR");
    addInward({5, "26-27", c, a, 10});
    addInward({5, "26-27", c, b, 4});
    addInward({5, "26-27", c, d, 6});
    addInward({5, "26-27", c, e, 8});
    addDelivery({1, "26-27", 5, c, a, 3});
    addBin(5, "26-27", a, 2);
    addDelivery({2, "26-27", 5, c, b, 4}); // fully delivered
    addBin(5, "26-27", d, 6);              // closed to a bin
    addBin(5, "26-27", e, 1, "INVOICE");   // not a challan bin
    addBin(5, "25-26", e, 1);              // another year's bin

    const PendingInward pending = loadPendingInwardLines({5}, c, "26-27");
    QVERIFY(pending.error.isEmpty());
    QVERIFY(pending.notFound.isEmpty());
    QCOMPARE(pending.lines.size(), 2);
    QCOMPARE(pending.lines[0].itemId, a);
    QCOMPARE(pending.lines[0].balance, 5.0);
    QCOMPARE(pending.lines[0].qty, 5.0);
    QCOMPARE(pending.lines[1].itemId, e);
    QCOMPARE(pending.lines[1].balance, 8.0);
}

void TestChallanStore::linesAreReadByNumberYearAndCustomer()
{
    TestEnvironment env;
    QVERIFY(openSalesDatabase(env));
    const int c = addCustomer("ACME");
    const int other = addCustomer("OTHER");
    const int a = addItem(c, "A1", "BRACKET");
    addInward({3, "25-26", c, a, 7}); // earlier year, same number
    addInward({3, "26-27", c, a, 2});
    addInward({4, "26-27", other, addItem(other, "O1", "PIPE"), 9}); // another customer's entry
    addInward(Inward{6, "26-27", c, a, 5}.cancelled());
    addInward({8, "25-26", c, a, 5}); // only in the earlier year

    const PendingInward pending = loadPendingInwardLines({3, 4, 6, 8}, c, "26-27");
    QCOMPARE(pending.lines.size(), 1);
    QCOMPARE(pending.lines[0].inwardNo, 3);
    QCOMPARE(pending.lines[0].balance, 2.0);
    QCOMPARE(pending.notFound, QList<int>({4, 6, 8}));
}

void TestChallanStore::remarksAreCollectedOnce()
{
    QString collected;
    for (const char *remark : {"  urgent  ", "urgent", "", "gent", "Urgent"})
        appendRemark(collected, remark);
    QCOMPARE(collected, QString("urgent | Urgent")); // a part of what is there is left out; case counts
}

void TestChallanStore::numberingFillsTheLowestGapOfTheYear()
{
    TestEnvironment env;
    QVERIFY(openSalesDatabase(env));
    QCOMPARE(nextChallanNumber("26-27"), 1);
    for (int no : {1, 2, 4})
        addDelivery({no, "26-27", 1, 1, 1, 1});
    addDelivery({2, "26-27", 1, 1, 2, 1}); // a second line of challan 2 counts once
    addDelivery({1, "25-26", 1, 1, 1, 1});
    QCOMPARE(nextChallanNumber("26-27"), 3);
    QCOMPARE(nextChallanNumber("25-26"), 2);
}

void TestChallanStore::numberFromFieldText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("number");
    QTest::newRow("full") << "7/26-27" << 7;
    QTest::newRow("bare") << "  7  " << 7;
    QTest::newRow("other text after slash") << " 7/abc " << 7;
    QTest::newRow("letters") << "abc" << 0;
    QTest::newRow("zero") << "0" << 0;
    QTest::newRow("negative") << "-3" << -3;
    QTest::newRow("beyond int") << "99999999999/26-27" << 0;
}

void TestChallanStore::numberFromFieldText()
{
    QFETCH(QString, text);
    QFETCH(int, number);
    QCOMPARE(challanNumberFromText(text), number);
}

void TestChallanStore::saveStoresNumberSlashYear()
{
    TestEnvironment env;
    QVERIFY(openSalesDatabase(env));
    ChallanWrite challan{5, "26-27", "2026-06-10", 1, "998873", "rush", {{3, 1, 2.5}, {3, 2, 0}, {3, 3, -1}}};
    QCOMPARE(saveChallan(challan).result, WriteResult::Written);
    // Lines of 0 or less are not written.
    QCOMPARE(rows("SELECT delivery_no, delivery_no_full, delivery_date, inward_no, customer_id, item_id, delivery_qty, "
                  "sac_code, remarks, fy_name, is_deleted FROM delivery_entries"),
             QStringList{"5|5/26-27|2026-06-10|3|1|1|2.5|998873|rush|26-27|0"});

    ChallanWrite none{6, "26-27", "2026-06-10", 1, "998873", "", {{3, 1, 0}}};
    QCOMPARE(saveChallan(none).result, WriteResult::NothingToWrite);
    QCOMPARE(count("SELECT COUNT(*) FROM delivery_entries"), 1);
}

void TestChallanStore::failedWriteLeavesNothing_data()
{
    QTest::addColumn<QStringList>("setup");
    QTest::addColumn<QString>("error");
    QTest::newRow("third line refused")
        << QStringList{"CREATE TRIGGER refuse_item BEFORE INSERT ON delivery_entries WHEN NEW.item_id = 3 "
                       "BEGIN SELECT RAISE(ABORT, 'item 3 refused'); END"}
        << "item 3 refused";
    // A deferred foreign key is checked only at COMMIT, which then fails.
    QTest::newRow("commit fails")
        << QStringList{"CREATE TABLE parent_rows (id INTEGER PRIMARY KEY)",
                       "CREATE TABLE child_rows (pid INTEGER REFERENCES parent_rows(id) DEFERRABLE INITIALLY DEFERRED)",
                       "CREATE TRIGGER orphan AFTER INSERT ON delivery_entries "
                       "BEGIN INSERT INTO child_rows VALUES (12345); END",
                       "PRAGMA foreign_keys = ON"}
        << "FOREIGN KEY";
}

void TestChallanStore::failedWriteLeavesNothing()
{
    QFETCH(QStringList, setup);
    QFETCH(QString, error);
    TestEnvironment env;
    QVERIFY(openSalesDatabase(env));
    for (const QString &sql : setup)
        exec(sql);

    const WriteOutcome outcome = saveChallan({1, "26-27", "2026-06-10", 1, "998873", "", {{3, 1, 2}, {3, 2, 1}, {3, 3, 4}}});
    QCOMPARE(outcome.result, WriteResult::Failed);
    QVERIFY2(outcome.error.contains(error, Qt::CaseInsensitive), qPrintable(outcome.error));
    QCOMPARE(count("SELECT COUNT(*) FROM delivery_entries"), 0);
    // The transaction is over: a new one can begin.
    QSqlDatabase db = QSqlDatabase::database();
    QVERIFY(db.transaction());
    QVERIFY(db.rollback());
}

void TestChallanStore::deleteRefusals()
{
    TestEnvironment env;
    QVERIFY(openSalesDatabase(env));
    addDelivery({4, "26-27", 2, 1, 1, 3});
    addDelivery({5, "26-27", 2, 1, 1, 3});
    addDelivery({4, "25-26", 2, 1, 1, 3});
    addDelivery({6, "26-27", 2, 1, 1, 3});
    addInvoiceLine(addInvoice({9, "26-27"}), 4, 1, "26-27");                               // live, bills 4/26-27
    addInvoiceLine(addInvoice({10, "26-27", "2026-07-01", 1, 100, 1}), 5, 1, "26-27"); // cancelled, bills 5/26-27

    const DeleteOutcome refused = deleteChallan(4, "26-27");
    QCOMPARE(refused.result, DeleteResult::Invoiced);
    QCOMPARE(refused.invoices, QStringList({"9/26-27"}));
    QCOMPARE(count("SELECT COUNT(*) FROM delivery_entries WHERE delivery_no = 4 AND fy_name = '26-27'"), 1);

    QCOMPARE(deleteChallan(5, "26-27").result, DeleteResult::Deleted);
    QCOMPARE(deleteChallan(4, "25-26").result, DeleteResult::Deleted); // the invoice bills the other year's 4

    // A delete the database refuses is reported, not passed off as done.
    exec("CREATE TRIGGER keep BEFORE DELETE ON delivery_entries BEGIN SELECT RAISE(ABORT, 'kept by test'); END");
    const DeleteOutcome failed = deleteChallan(6, "26-27");
    QCOMPARE(failed.result, DeleteResult::Failed);
    QVERIFY(failed.error.contains("kept by test"));
    QCOMPARE(rows("SELECT delivery_no FROM delivery_entries ORDER BY delivery_no"), QStringList({"4", "6"}));
}

QTEST_MAIN(TestChallanStore)
#include "tst_challanstore.moc"
