#include "amountinwords.h"

#include <cmath>
#include <limits>

namespace {

const char *const Units[20] = {"",        "One",     "Two",       "Three",    "Four",
                               "Five",    "Six",     "Seven",     "Eight",    "Nine",
                               "Ten",     "Eleven",  "Twelve",    "Thirteen", "Fourteen",
                               "Fifteen", "Sixteen", "Seventeen", "Eighteen", "Nineteen"};
const char *const Tens[10] = {"", "", "Twenty", "Thirty", "Forty", "Fifty", "Sixty", "Seventy", "Eighty", "Ninety"};

constexpr qint64 Crore = 10000000;
constexpr qint64 Lakh = 100000;
constexpr qint64 Thousand = 1000;

// The words of a whole number of rupees, without "Rupees"; a crore count of
// 2,000 or more is written with the same grouping before " Crore".
QString wholeWords(qint64 rupees)
{
    const qint64 crore = rupees / Crore;
    const qint64 rest = rupees % Crore;
    const int lakh = int(rest / Lakh);
    const int thousand = int(rest % Lakh / Thousand);
    const int hundreds = int(rest % Thousand);

    QString text;
    if (crore > 0) {
        const QString croreWords = crore < 2000 ? wordsBelowThousand(int(crore)) : wholeWords(crore).trimmed();
        text += croreWords + " Crore ";
    }
    if (lakh > 0)
        text += wordsBelowHundred(lakh) + " Lakh ";
    if (thousand > 0)
        text += wordsBelowHundred(thousand) + " Thousand ";
    if (hundreds > 0)
        text += wordsBelowThousand(hundreds);
    return text;
}

} // namespace

QString wordsBelowHundred(int n)
{
    if (n <= 0 || n > 99)
        return QString();
    if (n < 20)
        return QString::fromLatin1(Units[n]);
    QString text = QString::fromLatin1(Tens[n / 10]);
    if (n % 10 != 0)
        text += QLatin1Char(' ') + QString::fromLatin1(Units[n % 10]);
    return text;
}

QString wordsBelowThousand(int n)
{
    if (n <= 0 || n > 1999)
        return QString();
    if (n < 100)
        return wordsBelowHundred(n);
    QString text = QString::fromLatin1(Units[n / 100]) + " Hundred";
    if (n % 100 != 0)
        text += QLatin1Char(' ') + wordsBelowHundred(n % 100);
    return text;
}

QString numberToWords(double amount)
{
    if (!std::isfinite(amount))
        return QStringLiteral("Zero Rupees Only");
    const bool negative = amount < 0;
    const double magnitude = std::fabs(amount);

    // Whole rupees, then the paise of the fraction rounded half away from
    // zero; 100 paise carry into the rupees.
    qint64 rupees;
    int paise = 0;
    if (magnitude >= 9.0e18) {
        rupees = std::numeric_limits<qint64>::max() / 10; // far beyond any invoice
    } else {
        const double whole = std::trunc(magnitude);
        rupees = qint64(whole);
        paise = int(std::floor((magnitude - whole) * 100.0 + 0.5));
        if (paise >= 100) {
            ++rupees;
            paise -= 100;
        }
    }
    if (rupees == 0 && paise == 0)
        return QStringLiteral("Zero Rupees Only");

    QString text = wholeWords(rupees).trimmed() + " Rupees";
    if (paise != 0)
        text += " and " + wordsBelowHundred(paise) + " Paise";
    text += " Only";
    if (negative)
        text.prepend(text.startsWith(QLatin1Char(' ')) ? "Minus" : "Minus ");
    return text;
}
