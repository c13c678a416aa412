// A row kept as it was read, compared with what another copy of the program
// stored meanwhile, before anything is written.

#include "support/secondconnection.h"
#include "support/testenvironment.h"

#include "core/boundquery.h"
#include "core/listedrow.h"

#include <QSqlQuery>
#include <QtTest>

namespace {

const RowSource Payments{"payments", "payment_id", {"payment_id", "bill_id", "amount"}, {}};
const RowSource Bills{"bills",
                      "bill_id",
                      {"bill_id", "bill_no", "total", "qty", "note"},
                      "SELECT payment_id, bill_id, amount FROM payments WHERE bill_id = :key ORDER BY payment_id"};
const QString Changed = "S1 was changed or deleted meanwhile, perhaps in another window. Nothing was saved.";
const QString Gone = "S1 no longer exists; it may have been deleted in another window. Nothing was saved.";

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

bool deleteBill1(const StoredRow &loaded, QString *error, const std::function<QString()> &refusal = {})
{
    return writeLoadedRow("DELETE FROM bills WHERE bill_id = :id", {{":id", 1}}, Bills, 1, loaded, "S1", error,
                          refusal);
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
    // stored against it refuses the write; the other copy's row stays.
    void aRowChangedMeanwhileIsNotWritten_data()
    {
        QTest::addColumn<QString>("otherCopy");
        QTest::addColumn<QString>("expected");
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
        QCOMPARE(alone.dependentCount(), 2);
        for (const QString &sql : otherCopy.split("; "))
            writeAsOtherCopy(sql);
        const bool written = writeLoadedRow("UPDATE bills SET total = 150 WHERE bill_id = :id", {{":id", 1}}, Bills,
                                            1, listed, "S1", &error);
        QCOMPARE(written, expected.isEmpty());
        if (!written)
            QCOMPARE(error, expected);
        QSqlQuery q("SELECT COUNT(*) FROM bills WHERE total = 150");
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toInt(), written ? 1 : 0);
    }

    // A column left out of the source is not compared; a text that is no
    // valid UTF-8 equals itself; a write keeps the row as it then stands, so
    // the next write of the same form is not refused.
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

        QString error;
        StoredRow written;
        QVERIFY2(writeLoadedRow("UPDATE bills SET total = 250 WHERE bill_id = :id", {{":id", 2}}, Bills, 2, alone,
                                "S2", &error, {}, &written),
                 qPrintable(error));
        QVERIFY(written != alone);
        QVERIFY2(writeLoadedRow("UPDATE bills SET total = 260 WHERE bill_id = :id", {{":id", 2}}, Bills, 2, written,
                                "S2", &error, {}, &written),
                 qPrintable(error));

        QVERIFY(!deleteBill1(listed.value(1), &error, [] { return QString("not today"); }));
        QCOMPARE(error, "not today");
        QVERIFY2(deleteBill1(listed.value(1), &error), qPrintable(error));
    }

    // Several rows of a list: the first that changed is named; a document's
    // lines compare as one.
    void listsAndLinesNameTheRowThatChanged()
    {
        TestEnvironment env;
        QVERIFY(prepareBills(env));
        QList<ListedRow> rows;
        forEachRow("SELECT " + Payments.columnList() + " FROM payments ORDER BY payment_id", {},
                   [&](const StatementRow &row) {
                       rows.append({row.integer(0), StoredRow::of(row, 0, 3), "Payment " + row.text(0)});
                   });
        StoredRow lines;
        const QString linesSql = "SELECT payment_id, amount FROM payments WHERE bill_id = :bill ORDER BY payment_id";
        QVERIFY(readStoredLines(linesSql, {{":bill", 1}}, &lines));
        QCOMPARE(lines.dependentCount(), 2);
        QVERIFY(listedRowsRefusal(Payments, rows).isEmpty());
        QVERIFY(storedLinesRefusal(linesSql, {{":bill", 1}}, lines, "Bill S1").isEmpty());

        writeAsOtherCopy("UPDATE payments SET amount = 11 WHERE payment_id = 2");
        QCOMPARE(listedRowsRefusal(Payments, rows),
                 "Payment 2 was changed or deleted meanwhile, perhaps in another window. Nothing was saved.");
        QCOMPARE(storedLinesRefusal(linesSql, {{":bill", 1}}, lines, "Bill S1"),
                 "Bill S1 was changed or deleted meanwhile, perhaps in another window. Nothing was saved.");
        writeAsOtherCopy("DELETE FROM payments WHERE bill_id = 1");
        QCOMPARE(storedLinesRefusal(linesSql, {{":bill", 1}}, lines, "Bill S1"),
                 "Bill S1 no longer exists; it may have been deleted in another window. Nothing was saved.");
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
