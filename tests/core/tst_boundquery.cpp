// Rows read straight from SQLite: each kind of bound value and of column
// read back as a QSqlQuery gives it, and a failing statement's message.

#include "support/testenvironment.h"

#include "core/boundquery.h"

#include <QSqlQuery>
#include <QtTest>

class TestBoundQuery : public QObject
{
    Q_OBJECT

private slots:
    void columnsAsAQueryReadsThem_data()
    {
        QTest::addColumn<QString>("column");
        QTest::addColumn<QVariant>("bound");
        QTest::addColumn<QString>("type");
        QTest::newRow("integer") << ":v" << QVariant(42) << "integer";
        QTest::newRow("real") << ":v" << QVariant(2268.95) << "real";
        QTest::newRow("text") << ":v" << QVariant(QStringLiteral("Café № 7")) << "text";
        QTest::newRow("text as blob") << "CAST(:v AS BLOB)" << QVariant(QStringLiteral("Café № 7")) << "blob";
        QTest::newRow("empty text as blob") << "CAST(:v AS BLOB)" << QVariant(QStringLiteral("")) << "blob";
        QTest::newRow("null") << ":v" << QVariant() << "null";
        QTest::newRow("bytes") << ":v" << QVariant(QByteArray("a\0b", 3)) << "blob";
    }
    void columnsAsAQueryReadsThem()
    {
        QFETCH(QString, column);
        QFETCH(QVariant, bound);
        QFETCH(QString, type);
        TestEnvironment env;
        QVERIFY(env.openDatabase());
        const QString sql = "SELECT " + column + ", typeof(" + column + ")";
        QSqlQuery q;
        QVERIFY(execBound(q, sql, {{":v", bound}}) && q.next());
        int rows = 0;
        QVariant value;
        QString text, typeName;
        bool null = false;
        double real = 0;
        int integer = 0;
        const auto read = [&](const StatementRow &row) {
            ++rows;
            value = row.value(0);
            text = row.text(0);
            typeName = row.text(1);
            null = row.isNull(0);
            real = row.real(0);
            integer = row.integer(0);
        };
        QString error;
        QVERIFY2(forEachRow(sql, {{":v", bound}, {":unused", 1}}, read, &error), qPrintable(error));
        QCOMPARE(rows, 1);
        QCOMPARE(typeName, type);
        // (a NULL is a null value of no type rather than of the column's)
        QCOMPARE(null, q.value(0).isNull());
        if (!null)
            QCOMPARE(value, q.value(0));
        QCOMPARE(real, q.value(0).toDouble());
        QCOMPARE(integer, q.value(0).toInt());
        // A text cast to a blob reads as the text; only NULL as a null text.
        QCOMPARE(text, column.startsWith("CAST") ? bound.toString() : q.value(0).toString());
        QCOMPARE(text.isNull(), null);
    }

    // Read against the row before's bytes, a column gives what text() gives;
    // rows that repeat it share one text.
    void repeatedTextsAreDecodedOnce()
    {
        TestEnvironment env;
        QVERIFY(env.openDatabase());
        QSqlQuery q;
        QVERIFY(q.exec("CREATE TABLE t (n INTEGER, v)"));
        QVERIFY(q.exec("INSERT INTO t VALUES (1, 'Café'), (2, 'Café'), (3, CAST('Café' AS BLOB)), (4, ''), "
                       "(5, NULL), (6, 7), (7, 'Cafe'), (8, 'Cafe')"));
        RepeatedText last;
        QStringList texts, plain;
        QVERIFY(forEachRow("SELECT v FROM t ORDER BY n", {}, [&](const StatementRow &row) {
            texts << row.text(0, last);
            plain << row.text(0);
        }));
        QCOMPARE(texts, plain);
        QCOMPARE(texts, QStringList({"Café", "Café", "Café", "", "", "7", "Cafe", "Cafe"}));
        QVERIFY(!texts.at(3).isNull() && texts.at(4).isNull());
        QVERIFY(texts.at(1).constData() == texts.at(0).constData() && texts.at(2).constData() == texts.at(0).constData()
                && texts.at(7).constData() == texts.at(6).constData());
    }

    void failuresGiveTheDriversMessage()
    {
        TestEnvironment env;
        QVERIFY(env.openDatabase());
        QString error;
        int rows = 0;
        const auto count = [&](const StatementRow &) { ++rows; };
        QVERIFY(!forEachRow("SELECT * FROM no_such_table", {}, count, &error));
        QCOMPARE(error, QString("no such table: no_such_table Unable to execute statement"));
        QVERIFY(!forEachRow("SELECT SUM(x) FROM (SELECT 9223372036854775807 AS x UNION ALL SELECT :one)",
                            {{":one", 1}}, count, &error));
        QCOMPARE(error, QString("integer overflow Unable to fetch row"));
        QCOMPARE(rows, 0);
    }
};

QTEST_MAIN(TestBoundQuery)
#include "tst_boundquery.moc"
