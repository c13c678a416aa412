// Amounts in words with the Indian grouping, as the invoice shows them.

#include "invoicing/amountinwords.h"

#include <QTest>
#include <limits>

class TestAmountInWords : public QObject
{
    Q_OBJECT

private slots:
    void words_data()
    {
        QTest::addColumn<double>("amount");
        QTest::addColumn<QString>("words");

        QTest::newRow("zero") << 0.0 << "Zero Rupees Only";
        QTest::newRow("no paise after rounding") << 0.004 << "Zero Rupees Only";
        QTest::newRow("one") << 1.0 << "One Rupees Only";
        QTest::newRow("thousand fifty") << 1050.0 << "One Thousand Fifty Rupees Only";
        QTest::newRow("forty two") << 42.0 << "Forty Two Rupees Only";
        QTest::newRow("lakh") << 100000.0 << "One Lakh Rupees Only";
        QTest::newRow("crore") << 10000000.0 << "One Crore Rupees Only";
        QTest::newRow("every group") << 123456789.0
                                     << "Twelve Crore Thirty Four Lakh Fifty Six Thousand Seven Hundred Eighty Nine "
                                        "Rupees Only";
        QTest::newRow("fifty paise") << 1234.5 << "One Thousand Two Hundred Thirty Four Rupees and Fifty Paise Only";
        QTest::newRow("seven paise") << 12.07 << "Twelve Rupees and Seven Paise Only";
        QTest::newRow("paise only") << 0.75 << " Rupees and Seventy Five Paise Only";
        QTest::newRow("1500 crore") << 15000000000.0 << "Fifteen Hundred Crore Rupees Only";

        // Beyond the word tables: rounded with carry, signed, large crores.
        QTest::newRow("0.995 carries") << 0.995 << "One Rupees Only";
            QTest::newRow("9999999.996 carries into a crore") << 9999999.996 << "One Crore Rupees Only";
        QTest::newRow("negative") << -5.0 << "Minus Five Rupees Only";
        QTest::newRow("negative paise") << -0.5 << "Minus Rupees and Fifty Paise Only";
        QTest::newRow("2500 crore") << 25000000000.0 << "Two Thousand Five Hundred Crore Rupees Only";
        QTest::newRow("lakh crore") << 1000000000000.0 << "One Lakh Crore Rupees Only";
        QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << "Zero Rupees Only";
        QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << "Zero Rupees Only";
    }

    void words()
    {
        QFETCH(double, amount);
        QFETCH(QString, words);
        QCOMPARE(numberToWords(amount), words);
    }
};

QTEST_APPLESS_MAIN(TestAmountInWords)
#include "tst_amountinwords.moc"
