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

bool prepareBills()
{
    QSqlQuery q;
    return q.exec("CREATE TABLE bills (bill_id INTEGER PRIMARY KEY, bill_no TEXT, total REAL, qty TEXT, note TEXT)")
           && q.exec("CREATE TABLE payments (payment_id INTEGER PRIMARY KEY, bill_id INTEGER, amount REAL)")
           && q.exec("INSERT INTO bills VALUES (1, 'S1', 100.1, '5', NULL), (2, 'S2', 200, '7', 'x')");
}

int billCount(const QString &where)
{
    QSqlQuery q("SELECT COUNT(*) FROM bills WHERE " + where);
    return q.next() ? q.value(0).toInt() : -1;
}

} // namespace

class TestListedRow : public QObject
{
    Q_OBJECT

private slots:
    // Each kind of change another copy can make to a row or to what is
    // stored against it refuses the write; the other copy's value stays.
    void aRowChangedMeanwhileIsNotWritten_data()
    {
        QTest::addColumn<QString>("otherCopy");
        QTest::addColumn<QString>("expected");
        QTest::newRow("real") << "UPDATE bills SET total = 100.10000000000001 WHERE bill_id = 1"
                              << "S1 was changed or deleted meanwhile, perhaps in another window. Nothing was saved.";
        QTest::newRow("letter case") << "UPDATE bills SET bill_no = 's1' WHERE bill_id = 1"
                                     << "S1 was changed or deleted meanwhile, perhaps in another window. "
                                     "Nothing was saved.";
        QTest::newRow("null to empty") << "UPDATE bills SET note = '' WHERE bill_id = 1"
                                       << "S1 was changed or deleted meanwhile, perhaps in another window. "
                                          "Nothing was saved.";
        QTest::newRow("paid") << "INSERT INTO payments (bill_id, amount) VALUES (1, 100.1)"
                              << "S1 was changed or deleted meanwhile, perhaps in another window. Nothing was saved.";
        QTest::newRow("deleted") << "DELETE FROM bills WHERE bill_id = 1"
                                 << "S1 no longer exists; it may have been deleted in another window. "
                                    "Nothing was saved.";
    }
    void aRowChangedMeanwhileIsNotWritten()
    {
        QFETCH(QString, otherCopy);
        QFETCH(QString, expected);
        TestEnvironment env;
        QVERIFY(env.openDatabase());
        QVERIFY(prepareBills());
        StoredRow loaded;
        QString error;
        QVERIFY2(readStoredRow(Bills, 1, &loaded, &error), qPrintable(error));
        QCOMPARE(loaded.columns.size(), 5);
        writeAsOtherCopy(otherCopy);
        QVERIFY(!writeLoadedRow("UPDATE bills SET total = 150 WHERE bill_id = :id", {{":id", 1}}, Bills, 1, loaded,
                                "S1", &error));
        QCOMPARE(error, expected);
        QCOMPARE(billCount("total = 150"), 0);
    }

    // Unchanged, the write goes through; a refusal of the caller's own
    // stops it; the other row's change does not matter.
    void anUnchangedRowIsWritten()
    {
        TestEnvironment env;
        QVERIFY(env.openDatabase());
        QVERIFY(prepareBills());
        StoredRow loaded;
        QVERIFY(readStoredRow(Bills, 1, &loaded));
        writeAsOtherCopy("UPDATE bills SET total = 250 WHERE bill_id = 2");
        QString error;
        QVERIFY(!writeLoadedRow("DELETE FROM bills WHERE bill_id = :id", {{":id", 1}}, Bills, 1, loaded, "S1", &error,
                                [] { return QString("not today"); }));
        QCOMPARE(error, "not today");
        QVERIFY2(writeLoadedRow("DELETE FROM bills WHERE bill_id = :id", {{":id", 1}}, Bills, 1, loaded, "S1", &error),
                 qPrintable(error));
        QCOMPARE(billCount("1"), 1);
    }

    // A list's rows read many at a time compare equal to the same row read
    // alone, from a query or straight from SQLite.
    void aListedRowIsTheRowReadAlone()
    {
        TestEnvironment env;
        QVERIFY(env.openDatabase());
        QVERIFY(prepareBills());
        StoredRow alone;
        QVERIFY(readStoredRow({"bills", "bill_id", {}}, 2, &alone));
        QSqlQuery q;
        QVERIFY(q.exec("SELECT 'shown', b.* FROM bills b WHERE bill_id = 2") && q.next());
        QVERIFY(storedRowOf(q, 1) == alone);
        QVERIFY(storedRowOf(q, 1, 4) != alone);
        int rows = 0;
        QVERIFY(forEachRow("SELECT 'shown', b.* FROM bills b WHERE bill_id = 2", {}, [&](const StatementRow &row) {
            ++rows;
            QVERIFY(storedRowOf(row, 6, 1) == alone);
        }));
        QCOMPARE(rows, 1);
    }
};

QTEST_MAIN(TestListedRow)
#include "tst_listedrow.moc"
