// Delivery challans in the database: open balances, numbering, writes in
// transactions, delete refusals, the list and the data of the printed challan.

#include "support/recordingdesktop.h"
#include "support/salesdata.h"

#include "app/financialyear.h"
#include "jobwork/challanstore.h"

#include <QSqlDatabase>
#include <QSqlQuery>
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
    void saveWritesAllLinesOrNone();
    void failedCommitRollsBack();
    void replaceKeepsNumberAndYear();
    void replaceWithoutQuantityKeepsTheChallan();
    void deleteRefusedWhileALiveInvoiceBills();
    void deleteFailureIsReported();
    void listPutsTheCurrentYearFirst();
    void loadedLinesMayRiseToWhatIsStillOpen();
    void printDataOfTheYearsChallan();
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
    addChallanLine({1, "26-27", 5, c, a, 3});
    addBin(5, "26-27", a, 2);
    addChallanLine({2, "26-27", 5, c, b, 4});   // fully delivered
    addBin(5, "26-27", d, 6);               // closed to a bin
    addBin(5, "26-27", e, 1, "INVOICE");    // not a challan bin
    addBin(5, "25-26", e, 1);               // another year's bin

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
    const int o = addItem(other, "O1", "PIPE");
    addInward({3, "25-26", c, a, 7});                // earlier year, same number
    addInward({3, "26-27", c, a, 2});
    addInward({4, "26-27", other, o, 9});            // another customer's entry
    addInward(Inward{6, "26-27", c, a, 5}.cancelled());
    addInward({8, "25-26", c, a, 5});                // only in the earlier year

    const PendingInward pending = loadPendingInwardLines({3, 4, 6, 8}, c, "26-27");
    QCOMPARE(pending.lines.size(), 1);
    QCOMPARE(pending.lines[0].inwardNo, 3);
    QCOMPARE(pending.lines[0].balance, 2.0);
    QCOMPARE(pending.notFound, QList<int>({4, 6, 8}));
}

void TestChallanStore::remarksAreCollectedOnce()
{
    QString collected;
    appendRemark(collected, "  urgent  ");
    appendRemark(collected, "urgent");
    appendRemark(collected, "");
    appendRemark(collected, "gent");          // part of what is there
    appendRemark(collected, "Urgent");        // the test is case-sensitive
    QCOMPARE(collected, QString("urgent | Urgent"));
}

void TestChallanStore::numberingFillsTheLowestGapOfTheYear()
{
    TestEnvironment env;
    QVERIFY(openSalesDatabase(env));
    QCOMPARE(nextChallanNumber("26-27"), 1);
    for (int no : {1, 2, 4})
        addChallanLine({no, "26-27", 1, 1, 1, 1});
    addChallanLine({2, "26-27", 1, 1, 2, 1}); // a second line of challan 2 counts once
    addChallanLine({1, "25-26", 1, 1, 1, 1});
    QCOMPARE(nextChallanNumber("26-27"), 3);
    QCOMPARE(nextChallanNumber("25-26"), 2);

    QCOMPARE(deleteChallan(1, "25-26").result, DeleteResult::Deleted);
    QCOMPARE(nextChallanNumber("25-26"), 1);
    QCOMPARE(deleteChallan(2, "26-27").result, DeleteResult::Deleted);
    QCOMPARE(nextChallanNumber("26-27"), 2);
    QCOMPARE(count("SELECT COUNT(*) FROM delivery_entries WHERE delivery_no = 2"), 0);
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
    QCOMPARE(count("SELECT COUNT(*) FROM delivery_entries"), 1); // 0 and negative lines are not written
    QSqlQuery q("SELECT delivery_no, delivery_no_full, delivery_date, inward_no, customer_id, item_id, delivery_qty, "
                "sac_code, remarks, fy_name, is_deleted FROM delivery_entries");
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toInt(), 5);
    QCOMPARE(q.value(1).toString(), QString("5/26-27"));
    QCOMPARE(q.value(2).toString(), QString("2026-06-10"));
    QCOMPARE(q.value(3).toInt(), 3);
    QCOMPARE(q.value(4).toInt(), 1);
    QCOMPARE(q.value(5).toInt(), 1);
    QCOMPARE(q.value(6).toDouble(), 2.5);
    QCOMPARE(q.value(7).toString(), QString("998873"));
    QCOMPARE(q.value(8).toString(), QString("rush"));
    QCOMPARE(q.value(9).toString(), QString("26-27"));
    QCOMPARE(q.value(10).toInt(), 0);

    QString error;
    QVERIFY(challanExists(5, "26-27", &error));
    QVERIFY(!challanExists(5, "25-26", &error));
    QVERIFY(error.isEmpty());

    ChallanWrite none{6, "26-27", "2026-06-10", 1, "998873", "", {{3, 1, 0}}};
    QCOMPARE(saveChallan(none).result, WriteResult::NothingToWrite);
    QCOMPARE(count("SELECT COUNT(*) FROM delivery_entries"), 1);
}

void TestChallanStore::saveWritesAllLinesOrNone()
{
    TestEnvironment env;
    QVERIFY(openSalesDatabase(env));
    exec("CREATE TRIGGER refuse_item BEFORE INSERT ON delivery_entries WHEN NEW.item_id = 99 "
         "BEGIN SELECT RAISE(ABORT, 'item 99 refused'); END");
    ChallanWrite challan{1, "26-27", "2026-06-10", 1, "998873", "", {{3, 1, 2}, {3, 2, 1}, {3, 99, 4}}};
    const WriteOutcome outcome = saveChallan(challan);
    QCOMPARE(outcome.result, WriteResult::Failed);
    QVERIFY(outcome.error.contains("item 99 refused"));
    QCOMPARE(count("SELECT COUNT(*) FROM delivery_entries"), 0);

    challan.lines.removeLast();
    QCOMPARE(saveChallan(challan).result, WriteResult::Written);
    QCOMPARE(count("SELECT COUNT(*) FROM delivery_entries"), 2);
}

void TestChallanStore::failedCommitRollsBack()
{
    TestEnvironment env;
    QVERIFY(openSalesDatabase(env));
    // A deferred foreign key is checked only at COMMIT, which then fails.
    exec("CREATE TABLE parent_rows (id INTEGER PRIMARY KEY)");
    exec("CREATE TABLE child_rows (pid INTEGER REFERENCES parent_rows(id) DEFERRABLE INITIALLY DEFERRED)");
    exec("CREATE TRIGGER orphan AFTER INSERT ON delivery_entries BEGIN INSERT INTO child_rows VALUES (12345); END");
    exec("PRAGMA foreign_keys = ON");

    const WriteOutcome outcome = saveChallan({1, "26-27", "2026-06-10", 1, "998873", "", {{3, 1, 2}}});
    QCOMPARE(outcome.result, WriteResult::Failed);
    QVERIFY2(outcome.error.contains("FOREIGN KEY", Qt::CaseInsensitive), qPrintable(outcome.error));
    QCOMPARE(count("SELECT COUNT(*) FROM delivery_entries"), 0);
    // The transaction is over: a new one can begin.
    QSqlDatabase db = QSqlDatabase::database();
    QVERIFY(db.transaction());
    QVERIFY(db.rollback());
}

void TestChallanStore::replaceKeepsNumberAndYear()
{
    TestEnvironment env;
    QVERIFY(openSalesDatabase(env));
    addChallanLine({4, "25-26", 2, 1, 1, 3, "2026-06-01", QString(), "4/25-26"});
    addChallanLine({4, "26-27", 2, 1, 1, 7});
    QCOMPARE(replaceChallan({4, "25-26", "2025-09-01", 1, "998873", "fixed", {{2, 1, 5}, {2, 2, 1}}}).result,
             WriteResult::Written);
    QCOMPARE(count("SELECT COUNT(*) FROM delivery_entries WHERE fy_name = '25-26'"), 2);
    QCOMPARE(value("SELECT SUM(delivery_qty) FROM delivery_entries WHERE fy_name = '25-26'").toDouble(), 6.0);
    QCOMPARE(count("SELECT COUNT(*) FROM delivery_entries WHERE fy_name = '25-26' AND delivery_no = 4 "
                   "AND delivery_no_full = '4/25-26'"),
             2);
    // The current year's challan of the same number is untouched.
    QCOMPARE(count("SELECT COUNT(*) FROM delivery_entries WHERE fy_name = '26-27'"), 1);
    QCOMPARE(value("SELECT delivery_qty FROM delivery_entries WHERE fy_name = '26-27'").toDouble(), 7.0);
}

void TestChallanStore::replaceWithoutQuantityKeepsTheChallan()
{
    TestEnvironment env;
    QVERIFY(openSalesDatabase(env));
    addChallanLine({4, "26-27", 2, 1, 1, 3});
    QCOMPARE(replaceChallan({4, "26-27", "2026-09-01", 1, "998873", "", {{2, 1, 0}}}).result,
             WriteResult::NothingToWrite);
    QCOMPARE(value("SELECT delivery_qty FROM delivery_entries WHERE delivery_no = 4").toDouble(), 3.0);
}

void TestChallanStore::deleteRefusedWhileALiveInvoiceBills()
{
    TestEnvironment env;
    QVERIFY(openSalesDatabase(env));
    addChallanLine({4, "26-27", 2, 1, 1, 3});
    addChallanLine({5, "26-27", 2, 1, 1, 3});
    addChallanLine({4, "25-26", 2, 1, 1, 3});
    addInvoiceLine(addInvoice({9, "26-27"}), 4, 1, "26-27");                               // live, bills 4/26-27
    addInvoiceLine(addInvoice({10, "26-27", "2026-07-01", 1, 100, 1}), 5, 1, "26-27"); // cancelled, bills 5/26-27

    const DeleteOutcome refused = deleteChallan(4, "26-27");
    QCOMPARE(refused.result, DeleteResult::Invoiced);
    QCOMPARE(refused.invoices, QStringList({"9/26-27"}));
    QCOMPARE(count("SELECT COUNT(*) FROM delivery_entries WHERE delivery_no = 4 AND fy_name = '26-27'"), 1);

    QCOMPARE(deleteChallan(5, "26-27").result, DeleteResult::Deleted);
    QCOMPARE(deleteChallan(4, "25-26").result, DeleteResult::Deleted); // the invoice bills the other year's 4
    QCOMPARE(count("SELECT COUNT(*) FROM delivery_entries"), 1);
}

void TestChallanStore::deleteFailureIsReported()
{
    TestEnvironment env;
    QVERIFY(openSalesDatabase(env));
    addChallanLine({4, "26-27", 2, 1, 1, 3});
    exec("CREATE TRIGGER keep BEFORE DELETE ON delivery_entries BEGIN SELECT RAISE(ABORT, 'kept by test'); END");
    const DeleteOutcome outcome = deleteChallan(4, "26-27");
    QCOMPARE(outcome.result, DeleteResult::Failed);
    QVERIFY(outcome.error.contains("kept by test"));
    QCOMPARE(count("SELECT COUNT(*) FROM delivery_entries"), 1);
}

void TestChallanStore::listPutsTheCurrentYearFirst()
{
    TestEnvironment env;
    QVERIFY(openSalesDatabase(env));
    const int c = addCustomer("ACME");
    const int d = addCustomer("BETA");
    addChallanLine({1, "24-25", 1, c, 1, 1, "2024-06-01"});
    addChallanLine({2, "25-26", 1, c, 1, 1, "2025-06-01"});
    addChallanLine({1, "26-27", 1, c, 1, 2, "2026-06-01", "first"});
    addChallanLine({1, "26-27", 1, c, 2, 3, "2026-06-01", "first"});
    addChallanLine({3, "26-27", 1, d, 1, 1, "2026-08-01", QString(), "3"});
    addChallanLine({1, "25-26", 1, d, 1, 1, "2025-07-01"});

    QList<ChallanListRow> rows = challanList(-1, QString(), QString(), "26-27");
    QStringList order;
    for (const ChallanListRow &r : rows)
        order << QString("%1|%2").arg(r.number).arg(r.fy);
    QCOMPARE(order, QStringList({"3|26-27", "1|26-27", "2|25-26", "1|25-26", "1|24-25"}));
    QCOMPARE(rows[0].fullNumber, QString("3")); // shown as stored
    QCOMPARE(rows[1].qty, 5.0);
    QCOMPARE(rows[1].remarks, QString("first"));
    QCOMPARE(rows[1].customerName, QString("ACME"));

    rows = challanList(d, "2025-07-01", "2026-07-31", "26-27");
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows[0].fy, QString("25-26"));
    QCOMPARE(challanList(-1, "2026-01-01", QString(), "26-27").size(), 2);
}

void TestChallanStore::loadedLinesMayRiseToWhatIsStillOpen()
{
    TestEnvironment env;
    QVERIFY(openSalesDatabase(env));
    const int c = addCustomer("ACME");
    const int a = addItem(c, "A1", "BRACKET", "KGS");
    const int b = addItem(c, "B1", "FLANGE");
    addInward({2, "26-27", c, a, 10, "2026-05-02", "CDC-9", "2026-04-20", "PO-7"});
    addInward({2, "26-27", c, b, 6});
    addInward({2, "25-26", c, a, 50}); // the earlier year's entry 2 plays no part
    addChallanLine({4, "26-27", 2, c, a, 4, "2026-06-03", "as agreed"});
    addChallanLine({4, "26-27", 2, c, b, 1, "2026-06-03", "as agreed"});
    addChallanLine({3, "26-27", 2, c, a, 3});
    addChallanLine({7, "25-26", 2, c, a, 20});
    addBin(2, "26-27", b, 2);

    LoadedChallan challan;
    QVERIFY(!loadChallan(4, "24-25", &challan));
    QVERIFY(loadChallan(4, "26-27", &challan));
    QCOMPARE(challan.customerId, c);
    QCOMPARE(challan.customerName, QString("ACME"));
    QCOMPARE(challan.date, QString("2026-06-03"));
    QCOMPARE(challan.remarks, QString("as agreed"));
    QCOMPARE(challan.lines.size(), 2);
    QCOMPARE(challan.lines[0].qty, 4.0);
    QCOMPARE(challan.lines[0].balance, 7.0); // 10 received, 3 on another challan
    QCOMPARE(challan.lines[0].dcNo, QString("CDC-9"));
    QCOMPARE(challan.lines[0].dcDate, QString("2026-04-20"));
    QCOMPARE(challan.lines[0].poNo, QString("PO-7"));
    QCOMPARE(challan.lines[0].uom, QString("KGS"));
    QCOMPARE(challan.lines[1].balance, 4.0); // 6 received, 2 closed to a bin
}

void TestChallanStore::printDataOfTheYearsChallan()
{
    TestEnvironment env;
    QVERIFY(openSalesDatabase(env));
    const int c = addCustomer("ACME", {"12 Mill Road", "Pune", "27ABCDE1234F1Z5", "9800000000"});
    const int a = addItem(c, "A1", "BRACKET", "KGS");
    addInward({2, "26-27", c, a, 10, "2026-04-21", "CDC-9", "2026-04-20", "PO-7"});
    addChallanLine({5, "26-27", 2, c, a, 12.5, "2026-06-03", "handle with care", "5/25-26"});

    ChallanPrintData print;
    QVERIFY(!readChallanForPrint(5, "25-26", &print));
    QVERIFY(readChallanForPrint(5, "26-27", &print));
    QCOMPARE(print.fullNumber, QString("5/26-27")); // the challan's own number and year
    QCOMPARE(print.date, QString("03/06/2026"));
    QCOMPARE(print.customerName, QString("ACME"));
    QCOMPARE(print.address1, QString("12 Mill Road"));
    QCOMPARE(print.gstNo, QString("27ABCDE1234F1Z5"));
    QCOMPARE(print.sacCode, QString("998873"));
    QCOMPARE(print.remarks, QString("handle with care"));
    QCOMPARE(print.lines.size(), 1);
    QCOMPARE(print.lines[0].inwardDate, QString("21/04/2026"));
    QCOMPARE(print.lines[0].dcNo, QString("CDC-9"));
    QCOMPARE(print.lines[0].poNo, QString("PO-7"));
    QCOMPARE(print.lines[0].qty, 12.5);
}

QTEST_MAIN(TestChallanStore)
#include "tst_challanstore.moc"
