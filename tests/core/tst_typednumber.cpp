// The shared reading of typed numbers: what counts as empty, as a number and
// as no number at all.

#include "core/typednumber.h"

#include <QTest>

class TestTypedNumber : public QObject
{
    Q_OBJECT

private slots:
    void reading_data();
    void reading();
};

void TestTypedNumber::reading_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("kind");
    QTest::addColumn<double>("value");
    const int empty = TypedNumber::Empty, number = TypedNumber::Number, nan = TypedNumber::NotANumber;
    QTest::newRow("empty") << "" << empty << 0.0;
    QTest::newRow("spaces") << "   " << empty << 0.0;
    QTest::newRow("decimal") << " 12.345 " << number << 12.345;
    QTest::newRow("negative") << "-2.5" << number << -2.5;
    QTest::newRow("exponent") << "1e3" << number << 1000.0;
    QTest::newRow("overflow") << "1e309" << nan << 0.0;
    QTest::newRow("negative overflow") << "-1e309" << nan << 0.0;
    QTest::newRow("NaN") << "NaN" << nan << 0.0;
    QTest::newRow("inf") << "inf" << nan << 0.0;
    QTest::newRow("-Infinity") << "-Infinity" << nan << 0.0;
    QTest::newRow("text") << "abc" << nan << 0.0;
    QTest::newRow("grouping") << "1,000" << nan << 0.0;
    QTest::newRow("decimal comma") << "1,5" << nan << 0.0;
    QTest::newRow("two points") << "1.2.3" << nan << 0.0;
}

void TestTypedNumber::reading()
{
    QFETCH(QString, text);
    QFETCH(int, kind);
    QFETCH(double, value);
    const TypedNumber n = readTypedNumber(text);
    QCOMPARE(int(n.kind), kind);
    QCOMPARE(n.value, value);
    QCOMPARE(typedNumberOrZero(text), value);
    QCOMPARE(n.valueOr(-1), kind == TypedNumber::Number ? value : -1.0);
}

QTEST_MAIN(TestTypedNumber)
#include "tst_typednumber.moc"
