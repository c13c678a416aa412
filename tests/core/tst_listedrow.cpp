// A row kept as it was read, compared with what another copy of the program
// stored meanwhile, before anything is written.

#include "support/salesdata.h"
#include "support/secondconnection.h"
#include "support/testenvironment.h"

#include "core/boundquery.h"
#include "core/listedrow.h"
#include "core/transaction.h"

#include <QSqlQuery>
#include <QtTest>

namespace {

const RowSource Payments{"payments", "payment_id", {"payment_id", "bill_id", "amount"}, {}};
const RowSource Bills{"bills",
                      "bill_id",
                      {"bill_id", "bill_no", "total", "qty", "note"},
                      "SELECT payment_id, bill_id, amount FROM payments WHERE bill_id = :key ORDER BY payment_id"};
const QString Changed =
    "S1 was changed or deleted meanwhile, perhaps in another window. Nothing was saved. Press Show.";
const QString Gone = "S1 no longer exists; it may have been deleted in another window. Nothing was saved. Press Show.";

bool prepareBills(TestEnvironment &env)
{
    if (!env.openDatabase())
        return false;
    QSqlQuery q;
    return q.exec("CREATE TABLE bills (bill_id INTEGER PRIMARY KEY, bill_no TEXT, total REAL, qty TEXT, note TEXT, "
                  "extra TEXT)")
           && q.exec("CREATE TABLE payments (payment_id INTEGER PRIMARY KEY, bill_id INTEGER, amount REAL)")
           && q.exec("INSERT INTO bills VALUES (1, 'S1', 100.1, '5', NULL, 'a'), (2, 'S2', 200, '7', 'x', 'b')")
           && q.exec("INSERT INTO payments VALUES (1, 1, 40), (2, 1, 10), (3, 2, 5)");
}

RowWrite updateBill(int id, const StoredRow &loaded, const QString &total, const QString &wayOn = QString())
{
    LoadedRow row(Bills, id, loaded, "S" + QString::number(id));
    row.changedWayOn = wayOn;
    row.goneWayOn = wayOn;
    return writeLoadedRows({row}, {{"UPDATE bills SET total = " + total + " WHERE bill_id = :id", {{":id", id}}}});
}

// The bills as a list reads them: what it shows, then the stored columns,
// then the payments of every listed bill from one statement.
QHash<int, StoredRow> listBills()
{
    QHash<int, StoredRow> rows;
    forEachRow("SELECT 'shown', " + Bills.columnList("b") + " FROM bills b ORDER BY bill_id", {},
               [&](const StatementRow &row) { rows.insert(row.integer(1), StoredRow::of(row, 1, 5)); });
    forEachRow("SELECT payment_id, bill_id, amount FROM payments ORDER BY bill_id, payment_id", {},
               [&](const StatementRow &row) { rows[row.integer(1)].addDependent(row, 0, 3); });
    return rows;
}

} // namespace

class TestListedRow : public QObject
{
    Q_OBJECT

private slots:
    // Each kind of change another copy can make to the row or to what is
    // stored against it refuses the write with its text and the way on; the
    // other copy's row stays. A write that fails gives the driver's text. Only
    // a write that went through leaves anything written, and keeps the row as
    // it now stands: the form's next write is not refused.
    void aRowChangedMeanwhileIsNotWritten_data()
    {
        QTest::addColumn<QString>("otherCopy");
        QTest::addColumn<QString>("expected");
        QTest::newRow("unchanged") << QString() << QString();
        QTest::newRow("last digit of a real") << "UPDATE bills SET total = 100.10000000000001 WHERE bill_id = 1"
                                              << Changed;
        QTest::newRow("text to blob of its bytes") << "UPDATE bills SET qty = x'35' WHERE bill_id = 1" << Changed;
        QTest::newRow("letter case") << "UPDATE bills SET bill_no = 's1' WHERE bill_id = 1" << Changed;
        QTest::newRow("null to empty") << "UPDATE bills SET note = '' WHERE bill_id = 1" << Changed;
        QTest::newRow("paid") << "INSERT INTO payments (bill_id, amount) VALUES (1, 100.1)" << Changed;
        QTest::newRow("payment changed") << "UPDATE payments SET amount = 41 WHERE payment_id = 1" << Changed;
        // The count and the sum of the payments stay; the ids do not.
        QTest::newRow("payment deleted, one of the same amount added")
            << "DELETE FROM payments WHERE payment_id = 2; INSERT INTO payments VALUES (4, 1, 10)" << Changed;
        // A payment deleted and stored again as it was is the same row.
        QTest::newRow("payment deleted and stored again")
            << "DELETE FROM payments WHERE payment_id = 2; INSERT INTO payments VALUES (2, 1, 10.0)" << QString();
        QTest::newRow("payments swapped") << "UPDATE payments SET amount = 50 - amount WHERE bill_id = 1" << Changed;
        QTest::newRow("deleted") << "DELETE FROM bills WHERE bill_id = 1" << Gone;
        QTest::newRow("failed") << "CREATE TRIGGER no_bills BEFORE UPDATE ON bills "
                                   "BEGIN SELECT RAISE(ABORT, 'bills are locked'); END"
                                << "bills are locked Unable to fetch row";
    }
    void aRowChangedMeanwhileIsNotWritten()
    {
        QFETCH(QString, otherCopy);
        QFETCH(QString, expected);
        TestEnvironment env;
        QVERIFY(prepareBills(env));
        const StoredRow listed = listBills().value(1);
        StoredRow alone;
        QString error;
        QVERIFY2(readStoredRow(Bills, 1, &alone, &error), qPrintable(error));
        QVERIFY(alone == listed);
        if (otherCopy.startsWith("CREATE"))
            QVERIFY(QSqlQuery().exec(otherCopy));
        else if (!otherCopy.isEmpty())
            for (const QString &sql : otherCopy.split("; "))
                writeAsOtherCopy(sql);
        const RowWrite outcome = updateBill(1, listed, "150", "Press Show.");
        QCOMPARE(outcome.error, expected);
        const ListedWrite result = expected.isEmpty()         ? ListedWrite::Written
                                   : expected.startsWith("S1") ? ListedWrite::Stale
                                                               : ListedWrite::Failed;
        QCOMPARE(outcome.result, result);
        QCOMPARE(outcome.staleRow, result == ListedWrite::Stale ? 0 : -1);
        QCOMPARE(testdata::count("SELECT COUNT(*) FROM bills WHERE total = 150"), outcome.ok() ? 1 : 0);
        QCOMPARE(outcome.written.found(), outcome.ok());
        QVERIFY(!outcome.ok() || updateBill(1, outcome.written, "160").ok());
    }

    // Joined to the caller's open transaction, a refused write leaves what the
    // caller wrote before it, and the caller decides: rolled back with it.
    void aWriteJoinsTheOpenTransaction()
    {
        TestEnvironment env;
        QVERIFY(prepareBills(env));
        const QHash<int, StoredRow> listed = listBills();
        writeAsOtherCopy("UPDATE bills SET note = 'y' WHERE bill_id = 2");
        QString error;
        QVERIFY(!runInTransaction(
            [&](QString *failure) {
                const RowWrite first = updateBill(1, listed.value(1), "150");
                const RowWrite second = updateBill(2, listed.value(2), "250");
                *failure = second.error;
                return first.ok() && second.ok();
            },
            &error));
        QCOMPARE(error, "S2 was changed or deleted meanwhile, perhaps in another window. Nothing was saved.");
        QCOMPARE(testdata::count("SELECT COUNT(*) FROM bills WHERE total IN (150, 250)"), 0);
        QVERIFY(runInTransaction([&](QString *) { return updateBill(1, listed.value(1), "150").ok(); }, &error));
        QCOMPARE(testdata::count("SELECT COUNT(*) FROM bills WHERE total = 150"), 1);
    }

    // A row missing when loaded must be missing still; a write that finds
    // nothing to change is refused as gone.
    void aRowMissingWhenLoaded()
    {
        TestEnvironment env;
        QVERIFY(prepareBills(env));
        StoredRow missing;
        QVERIFY(readStoredRow(Bills, 3, &missing));
        QCOMPARE(updateBill(3, missing, "1").error,
                 "S3 no longer exists; it may have been deleted in another window. Nothing was saved.");
        writeAsOtherCopy("INSERT INTO bills (bill_id, bill_no) VALUES (3, 'S3')");
        QCOMPARE(updateBill(3, missing, "1").error,
                 "S3 was created meanwhile, perhaps in another window. Nothing was saved.");
    }

    // A column left out of the source is not compared; a text that is no
    // valid UTF-8 equals itself.
    void aListedRowComparesItsColumnsByTheirBytes()
    {
        TestEnvironment env;
        QVERIFY(prepareBills(env));
        writeAsOtherCopy("UPDATE bills SET note = CAST(x'41ff42' AS TEXT), extra = 'z' WHERE bill_id = 2");
        const QHash<int, StoredRow> listed = listBills();
        StoredRow alone;
        QVERIFY(readStoredRow(Bills, 2, &alone));
        QVERIFY(alone == listed.value(2));
        QVERIFY(listed.value(1) != listed.value(2));

        const RowWrite written = updateBill(2, alone, "250");
        QVERIFY2(written.ok(), qPrintable(written.error));
    }

    // Several rows of a list: the first that changed is named; a document's
    // lines compare as one.
    void listsAndLinesNameTheRowThatChanged()
    {
        TestEnvironment env;
        QVERIFY(prepareBills(env));
        QList<LoadedRow> rows;
        forEachRow("SELECT " + Payments.columnList() + " FROM payments ORDER BY payment_id", {},
                   [&](const StatementRow &row) {
                       rows.append(LoadedRow(Payments, row.integer(0), StoredRow::of(row, 0, 3),
                                             "Payment " + row.text(0)));
                   });
        StoredRow lines;
        const QString linesSql = "SELECT payment_id, amount FROM payments WHERE bill_id = :bill ORDER BY payment_id";
        QVERIFY(readStoredLines(linesSql, {{":bill", 1}}, &lines));
        rows.append(LoadedRow(linesSql, {{":bill", 1}}, lines, "Bill S1"));
        const auto deleteFirst = [&rows](int count) {
            return writeLoadedRows(rows.mid(0, count), {{"DELETE FROM payments WHERE payment_id = 1", {}}});
        };

        writeAsOtherCopy("UPDATE payments SET amount = 11 WHERE payment_id = 2");
        RowWrite outcome = deleteFirst(4);
        QCOMPARE(outcome.staleRow, 1);
        QCOMPARE(outcome.error,
                 "Payment 2 was changed or deleted meanwhile, perhaps in another window. Nothing was saved.");
        rows.removeAt(1);
        QCOMPARE(deleteFirst(rows.size()).error,
                 "Bill S1 was changed or deleted meanwhile, perhaps in another window. Nothing was saved.");
        writeAsOtherCopy("DELETE FROM payments WHERE bill_id = 1");
        QCOMPARE(deleteFirst(rows.size()).error,
                 "Payment 1 no longer exists; it may have been deleted in another window. Nothing was saved.");
        rows.removeFirst();
        outcome = deleteFirst(rows.size());
        QCOMPARE(outcome.staleRow, 1);
        QCOMPARE(outcome.error,
                 "Bill S1 no longer exists; it may have been deleted in another window. Nothing was saved.");
        QCOMPARE(testdata::count("SELECT COUNT(*) FROM payments"), 1);

        // A document loaded with no line (an invoice cancelled) is written
        // while it has none; a line stored meanwhile refuses it.
        const LoadedRow none(linesSql, {{":bill", 3}}, StoredRow(), "Bill S3");
        QVERIFY(writeLoadedRows({none}, {{"UPDATE bills SET note = 'n' WHERE bill_id = 2", {}}}).ok());
        writeAsOtherCopy("INSERT INTO payments VALUES (5, 3, 1)");
        QCOMPARE(writeLoadedRows({none}, {{"UPDATE bills SET note = 'm' WHERE bill_id = 2", {}}}).error,
                 "Bill S3 was changed or deleted meanwhile, perhaps in another window. Nothing was saved.");
    }

    void aLongRowNameIsShortened()
    {
        QCOMPARE(shortRowName("Bill No 12"), "Bill No 12");
        const QString name = shortRowName(QString(10000, 'x'));
        QCOMPARE(name.size(), 40);
        QVERIFY(name.endsWith(QChar(0x2026)));
    }
};

QTEST_MAIN(TestListedRow)
#include "tst_listedrow.moc"
