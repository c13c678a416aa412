// Money to the paisa: what a typed or stored figure is worth, how products and
// tax rates round, and how an amount is written. Every expected figure below
// is worked out by hand from the decimal numbers, not from the code.

#include "core/listformat.h"
#include "core/money.h"

#include <QTest>

Q_DECLARE_METATYPE(std::optional<Decimal>)

class TestMoney : public QObject
{
    Q_OBJECT

private slots:
    void readingTypedText_data();
    void readingTypedText();
    void plainDecimalsOnly_data();
    void plainDecimalsOnly();
    void storedValuesRoundAsTheirDecimals_data();
    void storedValuesRoundAsTheirDecimals();
    void productsRoundOnceHalfAwayFromZero_data();
    void productsRoundOnceHalfAwayFromZero();
    void taxOfARate_data();
    void taxOfARate();
    void wholeRupees_data();
    void wholeRupees();
    void decimalsCompareExactly();
    void decimalProductsKeepEveryDigit();
    void longTextsRoundOnce_data();
    void longTextsRoundOnce();
    void figuresThatDoNotFitAreInvalid();
    void threeDecimalTextsFromTheDecimal_data();
    void threeDecimalTextsFromTheDecimal();
    void figuresWithinTheirBounds_data();
    void figuresWithinTheirBounds();
    void taxHeadsNearTheBound_data();
    void taxHeadsNearTheBound();
    void longTextsAddToAllTheirDigits();
};

void TestMoney::readingTypedText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("number");
    QTest::addColumn<qint64>("units");
    QTest::addColumn<int>("scale");
    QTest::newRow("third decimal kept") << "63.195" << true << qint64(63195) << 3;
    QTest::newRow("trailing zeros dropped") << " 100.500 " << true << qint64(1005) << 1;
    QTest::newRow("exponent") << "1e3" << true << qint64(1000) << 0;
    QTest::newRow("negative exponent") << "-25e-3" << true << qint64(-25) << 3;
    QTest::newRow("point first") << ".5" << true << qint64(5) << 1;
    QTest::newRow("ten decimals kept") << "0.1234567895" << true << qint64(1234567895) << 10;
    QTest::newRow("empty") << "" << false << qint64(0) << 0;
    QTest::newRow("text") << "5 kg" << false << qint64(0) << 0;
    QTest::newRow("grouping") << "1,000" << false << qint64(0) << 0;
    QTest::newRow("NaN") << "NaN" << false << qint64(0) << 0;
    QTest::newRow("overflow") << "1e309" << false << qint64(0) << 0;
    QTest::newRow("no amount of this office") << "1e300" << false << qint64(0) << 0;
}

void TestMoney::readingTypedText()
{
    QFETCH(QString, text);
    QFETCH(bool, number);
    QFETCH(qint64, units);
    QFETCH(int, scale);
    const std::optional<Decimal> d = Decimal::fromText(text);
    QCOMPARE(d.has_value(), number);
    if (number) {
        QCOMPARE(*d, Decimal(units, scale));
        QCOMPARE(d->scale(), scale);
    }
}

void TestMoney::plainDecimalsOnly_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("number");
    QTest::newRow("decimal") << " 10.5 " << true;
    QTest::newRow("signed") << "-2.25" << true;
    QTest::newRow("exponent") << "1e3" << false;
    QTest::newRow("unit") << "10 kg" << false;
    QTest::newRow("grouping") << "1,000" << false;
    QTest::newRow("two points") << "1.2.3" << false;
}

void TestMoney::plainDecimalsOnly()
{
    QFETCH(QString, text);
    QFETCH(bool, number);
    const std::optional<Decimal> d = Decimal::fromPlainText(text);
    QCOMPARE(d.has_value(), number);
    if (number)
        QCOMPARE(*d, *Decimal::fromText(text));
}

void TestMoney::storedValuesRoundAsTheirDecimals_data()
{
    QTest::addColumn<double>("stored");
    QTest::addColumn<QString>("text");
    // Each tie is half a paisa in decimal; its double lies just below or
    // just above it.
    QTest::newRow("2.445") << 2.445 << "2.45";
    QTest::newRow("2.675") << 2.675 << "2.68";
    QTest::newRow("1.005") << 1.005 << "1.01";
    QTest::newRow("0.125") << 0.125 << "0.13";
    QTest::newRow("165.015") << 165.015 << "165.02";
    QTest::newRow("1000595854.905") << 1000595854.905 << "1000595854.91";
    QTest::newRow("-2.445") << -2.445 << "-2.45";
    QTest::newRow("2.3 stored as 2.29999...") << 2.3 << "2.30";
    QTest::newRow("below a tie") << 2.4449 << "2.44";
    QTest::newRow("-0.001 is no negative zero") << -0.001 << "0.00";
    QTest::newRow("-0.004") << -0.004 << "0.00";
    QTest::newRow("-0.005") << -0.005 << "-0.01";
    QTest::newRow("whole") << 1250.0 << "1250.00";
    // Beyond what Money holds: shown as stored, never as 0.
    QTest::newRow("infinity") << qInf() << "Inf";
    QTest::newRow("1e15") << 1e15 << "1000000000000000.00";
    QTest::newRow("-1e16") << -1e16 << "-10000000000000000.00";
    QTest::newRow("1e15 + 0.125, read as 1e15 + 0.1") << 1000000000000000.125 << "1000000000000000.10";
    QTest::newRow("2^53 - 1") << 9007199254740991.0 << "9007199254740991.00";
}

void TestMoney::storedValuesRoundAsTheirDecimals()
{
    QFETCH(double, stored);
    QFETCH(QString, text);
    QCOMPARE(Money::fromStored(stored).text(), text);
    QCOMPARE(amountText(stored), text);
}

void TestMoney::productsRoundOnceHalfAwayFromZero_data()
{
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<QString>("rate");
    QTest::addColumn<qint64>("paise");
    QTest::newRow("1.005 x 1.000") << "1.000" << "1.005" << qint64(101);
    QTest::newRow("142.625 x 7.64 = 1089.655") << "142.625" << "7.64" << qint64(108966);
    QTest::newRow("3 x 33.335 = 100.005") << "3" << "33.335" << qint64(10001);
    QTest::newRow("958162.89 x 1") << "1" << "958162.89" << qint64(95816289);
    QTest::newRow("0.333 x 0.015 = 0.004995") << "0.333" << "0.015" << qint64(0);
    QTest::newRow("-1.5 x 0.01 = -0.015") << "-1.5" << "0.01" << qint64(-2);
}

void TestMoney::productsRoundOnceHalfAwayFromZero()
{
    QFETCH(QString, quantity);
    QFETCH(QString, rate);
    QFETCH(qint64, paise);
    QCOMPARE(Money::product(*Decimal::fromText(quantity), *Decimal::fromText(rate)).paise(), paise);
}

void TestMoney::taxOfARate_data()
{
    QTest::addColumn<qint64>("taxablePaise");
    QTest::addColumn<double>("percent");
    QTest::addColumn<int>("divisor");
    QTest::addColumn<qint64>("paise");
    // 376.50 x 18 / 200 = 33.885 -> 33.89 each half.
    QTest::newRow("half of 18% of 376.50") << qint64(37650) << 18.0 << 200 << qint64(3389);
    // 35273.50 x 9 % = 3174.615 -> 3174.62.
    QTest::newRow("half of 18% of 35273.50") << qint64(3527350) << 18.0 << 200 << qint64(317462);
    // 958162.89 x 14 % = 134142.8046 -> 134142.80.
    QTest::newRow("half of 28% of 958162.89") << qint64(95816289) << 28.0 << 200 << qint64(13414280);
    // 25.90 x 5 % = 1.295 -> 1.30.
    QTest::newRow("IGST 5% of 25.90") << qint64(2590) << 5.0 << 100 << qint64(130);
    QTest::newRow("2.5% of 0.20 = 0.005") << qint64(20) << 2.5 << 100 << qint64(1);
    QTest::newRow("0%") << qint64(99999) << 0.0 << 100 << qint64(0);
}

void TestMoney::taxOfARate()
{
    QFETCH(qint64, taxablePaise);
    QFETCH(double, percent);
    QFETCH(int, divisor);
    QFETCH(qint64, paise);
    QCOMPARE(Money::percentOf(Money::fromPaise(taxablePaise), Decimal::fromStored(percent), divisor).paise(), paise);
}

void TestMoney::wholeRupees_data()
{
    QTest::addColumn<qint64>("paise");
    QTest::addColumn<qint64>("rupees");
    QTest::newRow("444.22") << qint64(44422) << qint64(444);
    QTest::newRow("444.50") << qint64(44450) << qint64(445);
    QTest::newRow("444.49") << qint64(44449) << qint64(444);
    QTest::newRow("-0.50") << qint64(-50) << qint64(-1);
    QTest::newRow("-0.49") << qint64(-49) << qint64(0);
    // 958162.89 + 2 x 134142.80 = 1226448.49 -> 1226448.
    QTest::newRow("1226448.49") << qint64(122644849) << qint64(1226448);
}

void TestMoney::wholeRupees()
{
    QFETCH(qint64, paise);
    QFETCH(qint64, rupees);
    QCOMPARE(Money::fromPaise(paise).roundedToRupees(), rupees);
}

void TestMoney::decimalsCompareExactly()
{
    const Decimal tolerance(5, 3);
    // 63.195 - 63.19 and 100.005 - 100.00 are both exactly 0.005.
    QVERIFY((*Decimal::fromText("63.195") - Money::fromPaise(6319).toDecimal()).abs() <= tolerance);
    QVERIFY((*Decimal::fromText("100.005") - Money::fromPaise(10000).toDecimal()).abs() <= tolerance);
    QVERIFY((*Decimal::fromText("63.196") - Money::fromPaise(6319).toDecimal()).abs() > tolerance);
    QCOMPARE(Decimal::fromStored(0.1) + Decimal::fromStored(0.2), Decimal(3, 1));
    // Stored REAL values read as the decimals they were written from, with
    // two decimals or more.
    QCOMPARE(Decimal::fromStored(-1180.5), Decimal(-11805, 1));
    QCOMPARE(Decimal::fromStored(2.445), Decimal(2445, 3));
    QCOMPARE(Money::fromStored(0.61).toDouble(), 0.61);
    QCOMPARE(Money::fromPaise(-1).text(), QStringLiteral("-0.01"));
}

void TestMoney::decimalProductsKeepEveryDigit()
{
    // 3 x 333.333 = 999.999, which shows as 1000.00 only once rounded.
    const Decimal gross = *Decimal::fromText("3") * *Decimal::fromText("333.333");
    QCOMPARE(gross, Decimal(999999, 3));
    QCOMPARE(gross.toMoney().text(), QStringLiteral("1000.00"));
    // 1 x 1.005 keeps its half paisa: 1.01.
    QCOMPARE((Decimal::whole(1) * *Decimal::fromText("1.005")).toMoney().paise(), qint64(101));
    // 0.123456789 x 0.987654321 = 0.121932631112635269 exactly (18 decimals).
    QCOMPARE(*Decimal::fromText("0.123456789") * *Decimal::fromText("0.987654321"),
             Decimal(121932631112635269LL, 18));
    // (10^7 - 10^-9) x (10^5 - 10^-9) = 999999999999.989900000000000001,
    // every digit kept.
    const Decimal big = *Decimal::fromText("9999999.999999999") * *Decimal::fromText("99999.999999999");
    QCOMPARE(big.text(18), QStringLiteral("999999999999.989900000000000001"));
    QCOMPARE((-Decimal(5, 1) * Decimal(3, 0)), Decimal(-15, 1));
}

void TestMoney::longTextsRoundOnce_data()
{
    // A text (pasted from a spreadsheet) rounded to paise from all of its
    // digits; rounding first to fewer decimals would give the second figure.
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("paise");
    QTest::newRow("17 decimals below a tie") << "2.67499999999999982" << "2.67";
    QTest::newRow("17 decimals above a tie") << "2.67500000000000001" << "2.68";
    QTest::newRow("14 decimals") << "250.00499999999999" << "250.00";
    QTest::newRow("20 decimals") << "-0.00499999999999999999" << "0.00";
    QTest::newRow("30 decimals") << "1.004999999999999999999999999999" << "1.00";
    QTest::newRow("30 decimals, a tie and more") << "1.005000000000000000000000000001" << "1.01";
    QTest::newRow("exponent") << "1004999999999999999999e-21" << "1.00";
}

void TestMoney::longTextsRoundOnce()
{
    QFETCH(QString, text);
    QFETCH(QString, paise);
    QCOMPARE(Money::fromText(text)->text(), paise);
    QCOMPARE(Decimal::fromText(text)->toMoney().text(), paise);
}

void TestMoney::figuresThatDoNotFitAreInvalid()
{
    const Decimal tolerance(5, 3);
    // 63.1950000000001 is 0.0050000000001 over 63.19; 63.19500000000000000000000001 too.
    QVERIFY((*Decimal::fromText("63.1950000000001") - Money::fromPaise(6319).toDecimal()).abs() > tolerance);
    QVERIFY((*Decimal::fromText("63.19500000000000000000000001") - Money::fromPaise(6319).toDecimal()).abs()
            > tolerance);
    // 12345678.123456789012345678 x 87654321.98765432109876 = 1082152022374638.3...
    // (over 10^15), and 99,999,999,999,999 squared: neither fits.
    QVERIFY(!(*Decimal::fromText("12345678.123456789012345678") * *Decimal::fromText("87654321.98765432109876"))
                 .isValid());
    const Decimal most = *Decimal::fromText("99999999999999");
    QVERIFY(!(most * most).isValid());
    QVERIFY(!Money::product(most, most).isValid());
    QVERIFY(!(Money::product(most, most) + Money::product(most, most)).isValid());
    QVERIFY(Money::product(most, most).text().isEmpty());
    // 999,999,999,999,999.99 fits; one paisa more does not, nor its sum.
    const Money largest = *Money::fromText("999999999999999.99");
    QCOMPARE(largest.text(), QStringLiteral("999999999999999.99"));
    QVERIFY(!(largest + Money::fromPaise(1)).isValid());
    QVERIFY(!(largest + Money::fromPaise(1) - Money::fromPaise(5)).isValid());
    QVERIFY((largest - largest - largest).isValid());
    QVERIFY(!(Decimal::whole(999999999999999) + Decimal::whole(1)).isValid());
    QVERIFY(!Money::fromText("999999999999999.995"));
    // 999999999999999.99 x 18 % = 179999999999999.9982, though x 18 passes 10^15.
    QCOMPARE(Money::percentOf(largest, Decimal::whole(18)).text(), QStringLiteral("180000000000000.00"));
    QVERIFY(!Money::percentOf(largest, Decimal::whole(200)).isValid());
    QVERIFY(!largest.times(Decimal::whole(2)).isValid());
    QVERIFY(!Decimal::fromText("1000000000000000"));
}

void TestMoney::threeDecimalTextsFromTheDecimal_data()
{
    QTest::addColumn<double>("stored");
    QTest::addColumn<QString>("text");
    QTest::newRow("1.2345") << 1.2345 << "1.235";
    QTest::newRow("1.0005") << 1.0005 << "1.001";
    QTest::newRow("2.0005") << 2.0005 << "2.001";
    QTest::newRow("1.2355") << 1.2355 << "1.236";
    QTest::newRow("0.0125") << 0.0125 << "0.013";
    QTest::newRow("-1.0005") << -1.0005 << "-1.001";
    QTest::newRow("-0.0004 is no negative zero") << -0.0004 << "0.000";
    QTest::newRow("1.00049") << 1.00049 << "1.000";
    QTest::newRow("three decimals") << 12.5 << "12.500";
    QTest::newRow("large") << 123456789012.3456 << "123456789012.346";
}

void TestMoney::threeDecimalTextsFromTheDecimal()
{
    QFETCH(double, stored);
    QFETCH(QString, text);
    QCOMPARE(threeDecimalText(stored), text);
    QCOMPARE(threeDecimalValue(stored).text(3), text);
    QCOMPARE(threeDecimalText(Decimal::fromStored(stored)), text);
    QCOMPARE(quantityText(stored), text);
}

Q_DECLARE_METATYPE(FigureKind)

void TestMoney::figuresWithinTheirBounds_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<FigureKind>("kind");
    QTest::addColumn<bool>("taken");
    QTest::addColumn<bool>("storedExactly"); // checked where true
    const FigureKind money = FigureKind::Money, quantity = FigureKind::Quantity;
    QTest::newRow("money at the bound") << "100000000000" << money << false << false;
    QTest::newRow("money just under") << "99999999999.99" << money << true << true;
    QTest::newRow("money negative, just under") << "-99999999999.99" << money << true << true;
    QTest::newRow("money with one paisa") << "12345678901.01" << money << true << true;
    QTest::newRow("money the largest rate at three decimals") << "99999999999.994" << money << true << true;
    QTest::newRow("money a tie that rounds to the bound") << "99999999999.995" << money << false << false;
    QTest::newRow("money a hair under the tie") << "99999999999.994999" << money << true << false;
    QTest::newRow("money just over") << "100000000000.01" << money << false << false;
    QTest::newRow("money 1e15") << "1e15" << money << false << false;
    QTest::newRow("money -1e15") << "-1e15" << money << false << false;
    QTest::newRow("money 1e300") << "1e300" << money << false << false;
    QTest::newRow("quantity at the bound") << "1000000000" << quantity << false << false;
    QTest::newRow("quantity just under") << "999999999.999" << quantity << true << true;
    QTest::newRow("quantity of six decimals") << "999999999.999999" << quantity << false << true;
    QTest::newRow("quantity a tie that rounds to the bound") << "999999999.9995" << quantity << false << false;
    QTest::newRow("quantity just over") << "1000000000.001" << quantity << false << false;
    QTest::newRow("a money figure is no quantity") << "99999999999.99" << quantity << false << false;
}

void TestMoney::figuresWithinTheirBounds()
{
    QFETCH(QString, text);
    QFETCH(FigureKind, kind);
    QFETCH(bool, taken);
    QFETCH(bool, storedExactly);
    const std::optional<Decimal> figure = Decimal::fromText(text); // none from 10^15 on
    QCOMPARE(boundedFigure(text, kind).has_value(), taken);
    QCOMPARE(typedNumberTooLarge(text, kind), !taken);
    QVERIFY(figure || !taken);
    if (figure)
        QCOMPARE(withinBound(*figure, kind), taken);
    if (kind == FigureKind::Money)
        QCOMPARE(boundedAmount(text).has_value(), taken);
    // Text that is no number is not too large: the form counts it as it does.
    QVERIFY(!typedNumberTooLarge(QStringLiteral("abc"), kind));
    QVERIFY(!typedNumberTooLarge(QString(), kind));
    if (storedExactly) { // what a REAL column holds of it reads back as the same decimal
        QCOMPARE(Decimal::fromStored(figure->toDouble()), *figure);
        QCOMPARE(Money::fromStored(figure->toDouble()), figure->toMoney());
        QCOMPARE(storedDecimalText(figure->toDouble(), 6), figure->text(6));
    }
}

void TestMoney::taxHeadsNearTheBound_data()
{
    QTest::addColumn<qint64>("paise");
    QTest::addColumn<int>("divisor");
    QTest::addColumn<QString>("tax");
    // 35714285714.29 x 28 % = 10000000000.0012; each half 5000000000.0006.
    QTest::newRow("IGST 28 %") << qint64(3571428571429) << 100 << "10000000000.00";
    QTest::newRow("CGST 14 %") << qint64(3571428571429) << 200 << "5000000000.00";
    // 99999999999.99 x 28 % = 27999999999.9972.
    QTest::newRow("largest amount") << qint64(9999999999999) << 100 << "28000000000.00";
    // 35714285714286 x 28 % = 10000000000000.08, where amount x 28 is 10^15.
    QTest::newRow("amount x 28 past ten crore crore") << qint64(3571428571428600) << 100 << "10000000000000.08";
    QTest::newRow("negative") << qint64(-3571428571428600) << 100 << "-10000000000000.08";
}

void TestMoney::taxHeadsNearTheBound()
{
    QFETCH(qint64, paise);
    QFETCH(int, divisor);
    QFETCH(QString, tax);
    QCOMPARE(Money::percentOf(Money::fromPaise(paise), Decimal::whole(28), divisor).text(), tax);
}

void TestMoney::longTextsAddToAllTheirDigits()
{
    // 9344.2149999999999999999999999 x 13 = 121474.7949999999999999999999987;
    // with 0.0000000000000000000012 it is 121474.7950000000000000000011987,
    // which rounds up. Cut to 22 decimals first it would stay below the tie.
    const auto d = [](const char *text) { return *Decimal::fromText(QString::fromLatin1(text)); };
    const Decimal sum = d("9344.2149999999999999999999999") * Decimal::whole(13) + d("0.0000000000000000000012");
    QCOMPARE(sum.toMoney().text(), QStringLiteral("121474.80"));
    QVERIFY(sum > d("121474.795000000000000000001198"));
    QVERIFY(sum < d("121474.795000000000000000001199"));
    QCOMPARE(sum - d("121474.7950000000000000000011987"), Decimal());
    // A count of units of more decimals than the wide integer holds.
    QCOMPARE(Decimal(9000000000000000001LL, 25).text(22), QStringLiteral("0.0000009000000000000000"));
    QVERIFY(Decimal(9000000000000000001LL, 25) > Decimal(9, 7));
    // Thirty decimals: the digits past the 22nd decide a comparison too.
    QVERIFY(d("0.100000000000000000000000000001") > d("0.1000000000000000000000000000009"));
    QCOMPARE(d("-1.000000000000000000000000000005").text(3), QStringLiteral("-1.000"));
    QCOMPARE(d("0.123456789012345678901234567895").toDouble(), 0.12345678901234568);
}

QTEST_APPLESS_MAIN(TestMoney)
#include "tst_money.moc"
