// Document numbers, year labels and report periods.

#include "support/testenvironment.h"

#include "core/financialyear.h"

#include <QSqlQuery>
#include <QTest>

class TestFinancialYear : public QObject
{
    Q_OBJECT

private slots:
    void lowestFreeNumberFillsTheLowestGap();
    void challanNumbersPerYear();
    void inwardNumbersDoNotFillGaps();
    void yearLabelsAndRequestNumbers();
    void defaultPeriodStartsInTheCurrentFinancialYear();
};

void TestFinancialYear::lowestFreeNumberFillsTheLowestGap()
{
    QCOMPARE(lowestFreeNumber(QList<int>{1, 2, 4}), 3);
    QCOMPARE(lowestFreeNumber(QList<int>{1, 2, 3}), 4);
    QCOMPARE(lowestFreeNumber(QList<int>{}), 1);
    QCOMPARE(lowestFreeNumber(QList<int>{2, 3}), 1);
}

void TestFinancialYear::challanNumbersPerYear()
{
    TestEnvironment env;
    QVERIFY(env.openDatabase());
    QSqlQuery q;
    QVERIFY(q.exec("CREATE TABLE delivery_entries (delivery_no INTEGER, fy_name TEXT)"));
    // Challan 2 has two lines; they count once.
    QVERIFY(q.exec("INSERT INTO delivery_entries VALUES (1, '26-27'), (2, '26-27'), (2, '26-27'), (4, '26-27'), "
                   "(1, '25-26')"));
    const QString sql = "SELECT delivery_no FROM delivery_entries WHERE fy_name = :fy GROUP BY delivery_no "
                        "ORDER BY delivery_no ASC";
    QCOMPARE(lowestFreeNumber(sql, "26-27"), 3);
    QCOMPARE(lowestFreeNumber(sql, "25-26"), 2);
    QCOMPARE(lowestFreeNumber(sql, "27-28"), 1);

    QVERIFY(q.exec("DELETE FROM delivery_entries WHERE fy_name = '25-26'"));
    QCOMPARE(lowestFreeNumber(sql, "25-26"), 1);
    // A failing query proposes 1.
    QCOMPARE(lowestFreeNumber("SELECT nothing FROM missing_table", "26-27"), 1);
}

void TestFinancialYear::inwardNumbersDoNotFillGaps()
{
    TestEnvironment env;
    QVERIFY(env.openDatabase());
    QCOMPARE(nextInwardNumber("26-27"), 1); // no table yet
    QSqlQuery q;
    QVERIFY(q.exec("CREATE TABLE inward_entries (inward_no INTEGER, inward_no_full TEXT, fy_name TEXT, "
                   "is_deleted INTEGER DEFAULT 0)"));
    QCOMPARE(nextInwardNumber("26-27"), 1);
    QVERIFY(q.exec("INSERT INTO inward_entries (inward_no, inward_no_full, fy_name) VALUES "
                   "(1, '1/26-27', '26-27'), (2, '2/26-27', '26-27'), (4, '4/26-27', '26-27'), "
                   "(5, '5/26-27', '26-27'), (10, '10/26-27', '26-27'), (12, '12/25-26', '25-26')"));
    QCOMPARE(nextInwardNumber("26-27"), 11);
    QCOMPARE(nextInwardNumber("25-26"), 13);
    // Cancelled entries keep their numbers.
    QVERIFY(q.exec("UPDATE inward_entries SET is_deleted = 1 WHERE inward_no = 10"));
    QCOMPARE(nextInwardNumber("26-27"), 11);
}

void TestFinancialYear::yearLabelsAndRequestNumbers()
{
    QCOMPARE(financialYearLabel(QDate(2026, 5, 15)), QStringLiteral("26-27"));
    QCOMPARE(financialYearLabel(QDate(2027, 2, 15)), QStringLiteral("26-27"));
    QCOMPARE(financialYearLabel(QDate(2099, 6, 1)), QStringLiteral("99-00"));

    QCOMPARE(materialRequestNumber(0, QDate(2026, 5, 15)), QStringLiteral("MR/26-27/001"));
    QCOMPARE(materialRequestNumber(9, QDate(2026, 5, 15)), QStringLiteral("MR/26-27/010"));
    QCOMPARE(materialRequestNumber(999, QDate(2027, 2, 15)), QStringLiteral("MR/26-27/1000"));
}

void TestFinancialYear::defaultPeriodStartsInTheCurrentFinancialYear()
{
    QCOMPARE(defaultPeriodStart(QDate(2026, 12, 7)), QDate(2026, 4, 1));
    // January to March belong to the year that began the April before.
    QCOMPARE(defaultPeriodStart(QDate(2027, 1, 1)), QDate(2026, 4, 1));
    QCOMPARE(defaultPeriodStart(QDate(2027, 3, 31)), QDate(2026, 4, 1));
    QVERIFY(defaultPeriodStart() <= QDate::currentDate());
}

QTEST_MAIN(TestFinancialYear)
#include "tst_financialyear.moc"
