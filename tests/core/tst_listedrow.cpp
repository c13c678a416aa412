// A row kept as it was read, compared with what another copy of the program
// stored meanwhile, before anything is written.

#include "support/secondconnection.h"
#include "support/testenvironment.h"

#include "core/boundquery.h"
#include "core/listedrow.h"

#include <QSqlQuery>
#include <QtTest>

namespace {

const RowSource Bills{"bills", "bill_id", "SELECT * FROM payments WHERE bill_id = :key ORDER BY payment_id"};
const QString Changed = "S1 was changed or deleted meanwhile, perhaps in another window. Nothing was saved.";

bool prepareBills(TestEnvironment &env)
{
    if (!env.openDatabase())
        return false;
    QSqlQuery q;
    return q.exec("CREATE TABLE bills (bill_id INTEGER PRIMARY KEY, bill_no TEXT, total REAL, qty TEXT, note TEXT)")
           && q.exec("CREATE TABLE payments (payment_id INTEGER PRIMARY KEY, bill_id INTEGER, amount REAL)")
           && q.exec("INSERT INTO bills VALUES (1, 'S1', 100.1, '5', NULL), (2, 'S2', 200, '7', 'x')");
}

bool deleteBill1(const StoredRow &loaded, QString *error, const std::function<QString()> &refusal = {})
{
    return writeLoadedRow("DELETE FROM bills WHERE bill_id = :id", {{":id", 1}}, Bills, 1, loaded, "S1", error,
                          refusal);
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
        QTest::newRow("last digit of a real") << "UPDATE bills SET total = 100.10000000000001" << Changed;
        QTest::newRow("letter case") << "UPDATE bills SET bill_no = 's1'" << Changed;
        QTest::newRow("null to empty") << "UPDATE bills SET note = ''" << Changed;
        QTest::newRow("paid") << "INSERT INTO payments (bill_id, amount) VALUES (1, 100.1)" << Changed;
        QTest::newRow("deleted") << "DELETE FROM bills"
                                 << "S1 no longer exists; it may have been deleted in another window. "
                                    "Nothing was saved.";
    }
    void aRowChangedMeanwhileIsNotWritten()
    {
        QFETCH(QString, otherCopy);
        QFETCH(QString, expected);
        TestEnvironment env;
        QVERIFY(prepareBills(env));
        StoredRow loaded;
        QString error;
        QVERIFY2(readStoredRow(Bills, 1, &loaded, &error), qPrintable(error));
        QCOMPARE(loaded.columns.size(), 5);
        writeAsOtherCopy(otherCopy + (otherCopy.startsWith("INSERT") ? "" : " WHERE bill_id = 1"));
        QVERIFY(!writeLoadedRow("UPDATE bills SET total = 150 WHERE bill_id = :id", {{":id", 1}}, Bills, 1, loaded,
                                "S1", &error));
        QCOMPARE(error, expected);
        QSqlQuery q("SELECT COUNT(*) FROM bills WHERE total = 150");
        QVERIFY(q.next() && q.value(0).toInt() == 0);
    }

    // Read from a query or straight from SQLite; a change to another row or
    // none lets the write through, a refusal of the caller's own stops it.
    void aListedRowIsTheRowReadAloneAndWrittenUnchanged()
    {
        TestEnvironment env;
        QVERIFY(prepareBills(env));
        StoredRow alone;
        QVERIFY(readStoredRow({"bills", "bill_id", {}}, 2, &alone));
        const QString sql = "SELECT 'shown', b.* FROM bills b WHERE bill_id = 2";
        QSqlQuery q;
        QVERIFY(q.exec(sql) && q.next());
        QVERIFY(storedRowOf(q, 1) == alone);
        QVERIFY(storedRowOf(q, 1, 4) != alone);
        q.finish(); // the read ends before the other copy writes
        int same = 0;
        QVERIFY(forEachRow(sql, {}, [&](const StatementRow &row) { same += storedRowOf(row, 6, 1) == alone; }));
        QCOMPARE(same, 1);

        StoredRow loaded;
        QVERIFY(readStoredRow(Bills, 1, &loaded));
        writeAsOtherCopy("UPDATE bills SET total = 250 WHERE bill_id = 2");
        QString error;
        QVERIFY(!deleteBill1(loaded, &error, [] { return QString("not today"); }));
        QCOMPARE(error, "not today");
        QVERIFY2(deleteBill1(loaded, &error), qPrintable(error));
    }
};

QTEST_MAIN(TestListedRow)
#include "tst_listedrow.moc"
