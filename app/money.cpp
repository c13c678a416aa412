#include "money.h"

#include "typednumber.h"

#include <QLocale>
#include <cmath>
#include <limits>

namespace {

using Wide = __int128;

constexpr qint64 MaxUnits = std::numeric_limits<qint64>::max();
// Figures of 10^15 or more are no amount or quantity of this office.
constexpr double Largest = 1e15;

Wide powerOfTen(int n)
{
    Wide p = 1;
    for (int i = 0; i < n; ++i)
        p *= 10;
    return p;
}

// value / divisor, rounded half away from zero (divisor > 0).
Wide dividedRounded(Wide value, Wide divisor)
{
    Wide quotient = value / divisor;
    const Wide rest = value % divisor; // same sign as value
    const Wide twice = rest < 0 ? -rest * 2 : rest * 2;
    if (twice >= divisor)
        quotient += value < 0 ? -1 : 1;
    return quotient;
}

qint64 saturated(Wide value)
{
    if (value > MaxUnits)
        return MaxUnits;
    if (value < -MaxUnits)
        return -MaxUnits;
    return qint64(value);
}

// units of 10^-from as units of 10^-to, rounded half away from zero.
Wide rescaled(Wide units, int from, int to)
{
    if (from == to)
        return units;
    if (from < to)
        return units * powerOfTen(to - from);
    return dividedRounded(units, powerOfTen(from - to));
}

// The decimal a plain number text spells exactly: sign, digits, an optional
// point and digits, an optional exponent. The text has been checked to be a
// finite number below Largest.
std::optional<Decimal> parseExactly(const QString &text)
{
    int i = 0;
    const int n = text.size();
    bool negative = false;
    if (i < n && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-')))
        negative = text.at(i++) == QLatin1Char('-');

    QString digits;
    int fractionDigits = 0;
    bool inFraction = false;
    for (; i < n; ++i) {
        const QChar c = text.at(i);
        if (c.isDigit()) {
            digits += c;
            if (inFraction)
                ++fractionDigits;
        } else if (c == QLatin1Char('.') && !inFraction) {
            inFraction = true;
        } else {
            break;
        }
    }
    int exponent = 0;
    if (i < n && (text.at(i) == QLatin1Char('e') || text.at(i) == QLatin1Char('E'))) {
        bool ok = false;
        exponent = text.mid(i + 1).toInt(&ok);
        if (!ok)
            return std::nullopt;
        i = n;
    }
    if (i != n || digits.isEmpty())
        return std::nullopt;

    // Leading zeros carry nothing; trailing fraction zeros neither.
    int first = 0;
    while (first < digits.size() - 1 && digits.at(first) == QLatin1Char('0'))
        ++first;
    digits = digits.mid(first);
    int scale = fractionDigits - exponent;
    while (scale > 0 && digits.size() > 1 && digits.endsWith(QLatin1Char('0'))) {
        digits.chop(1);
        --scale;
    }
    if (digits == QLatin1String("0"))
        return Decimal();

    // Beyond nine decimals the digits are rounded away, half away from zero.
    bool roundUp = false;
    if (scale > Decimal::MaxScale) {
        const int drop = scale - Decimal::MaxScale;
        if (drop > digits.size()) {
            digits = QStringLiteral("0");
        } else {
            roundUp = digits.at(digits.size() - drop) >= QLatin1Char('5');
            digits.chop(drop);
            if (digits.isEmpty())
                digits = QStringLiteral("0");
        }
        scale = Decimal::MaxScale;
    }
    if (scale < 0) {
        digits += QString(-scale, QLatin1Char('0'));
        scale = 0;
    }
    if (digits.size() > 30)
        return std::nullopt;
    Wide units = 0;
    for (const QChar c : digits)
        units = units * 10 + (c.unicode() - '0');
    if (roundUp)
        units += 1;
    // Fewer decimals until the count fits.
    while (units > MaxUnits && scale > 0) {
        units = dividedRounded(units, 10);
        --scale;
    }
    if (units > MaxUnits)
        return std::nullopt;
    return Decimal(negative ? -qint64(units) : qint64(units), scale);
}

} // namespace

Decimal::Decimal(qint64 units, int scale)
    : m_units(units), m_scale(qBound(0, scale, 18))
{
}

std::optional<Decimal> Decimal::fromText(const QString &text)
{
    const TypedNumber n = readTypedNumber(text);
    if (!n.isNumber() || std::fabs(n.value) >= Largest)
        return std::nullopt;
    return parseExactly(text.trimmed());
}

std::optional<Decimal> Decimal::fromPlainText(const QString &text)
{
    const QString t = text.trimmed();
    int digits = 0;
    int points = 0;
    for (int i = 0; i < t.size(); ++i) {
        const QChar c = t.at(i);
        if (c.isDigit() && c.unicode() < 128)
            ++digits;
        else if (c == QLatin1Char('.'))
            ++points;
        else if (i > 0 || (c != QLatin1Char('+') && c != QLatin1Char('-')))
            return std::nullopt;
    }
    if (digits == 0 || points > 1)
        return std::nullopt;
    return fromText(t);
}

Decimal Decimal::fromStored(double value)
{
    if (!std::isfinite(value) || std::fabs(value) >= Largest || value == 0)
        return Decimal();
    // Most stored figures have at most two decimals: a double that is the
    // nearest one to n / 100 stands for n / 100 (below 10^15 no other
    // decimal of so few digits reads back as it), found without text.
    if (std::fabs(value) < 1e13) {
        const qint64 hundredths = std::llround(value * 100.0);
        if (double(hundredths) / 100.0 == value)
            return Decimal(hundredths, 2);
    }
    // The shortest text that reads back as the same double is the decimal the
    // value was stored from.
    return parseExactly(QString::number(value, 'g', QLocale::FloatingPointShortest)).value_or(Decimal());
}

double Decimal::toDouble() const
{
    return double(m_units) / double(powerOfTen(m_scale));
}

Money Decimal::toMoney() const
{
    return Money::fromPaise(saturated(rescaled(m_units, m_scale, 2)));
}

Decimal operator+(const Decimal &a, const Decimal &b)
{
    const int scale = qMax(a.m_scale, b.m_scale);
    Wide sum = rescaled(a.m_units, a.m_scale, scale) + rescaled(b.m_units, b.m_scale, scale);
    int s = scale;
    while ((sum > MaxUnits || sum < -MaxUnits) && s > 0) {
        sum = dividedRounded(sum, 10);
        --s;
    }
    return Decimal(saturated(sum), s);
}

Decimal operator*(const Decimal &a, const Decimal &b)
{
    const Wide product = Wide(a.m_units) * Wide(b.m_units);
    const int scale = a.m_scale + b.m_scale;
    // The fewest decimals to drop, dropped in one rounding.
    int drop = qMax(0, scale - 18);
    const Wide magnitude = product < 0 ? -product : product;
    while (drop < scale && magnitude / powerOfTen(drop) >= Wide(MaxUnits))
        ++drop;
    return Decimal(saturated(dividedRounded(product, powerOfTen(drop))), scale - drop);
}

int Decimal::compare(const Decimal &a, const Decimal &b)
{
    const int scale = qMax(a.m_scale, b.m_scale);
    const Wide x = rescaled(a.m_units, a.m_scale, scale);
    const Wide y = rescaled(b.m_units, b.m_scale, scale);
    return x < y ? -1 : (x > y ? 1 : 0);
}

std::optional<Money> Money::fromText(const QString &text)
{
    const std::optional<Decimal> d = Decimal::fromText(text);
    if (!d)
        return std::nullopt;
    return d->toMoney();
}

Money Money::fromStored(double value)
{
    if (!std::isfinite(value) || std::fabs(value) >= Largest)
        return Money();
    // Away from a tie the binary value rounds as its decimal does; only a
    // value within a hair of half a paisa needs its exact decimal.
    const double x = value * 100.0;
    const double fraction = x - std::floor(x);
    const double tolerance = std::fabs(x) * 1e-14 + 1e-9;
    if (std::fabs(fraction - 0.5) > tolerance)
        return Money(std::llround(x));
    return Decimal::fromStored(value).toMoney();
}

Money Money::product(const Decimal &quantity, const Decimal &rate)
{
    const Wide units = Wide(quantity.units()) * Wide(rate.units());
    return Money(saturated(rescaled(units, quantity.scale() + rate.scale(), 2)));
}

Money Money::percentOf(Money amount, const Decimal &percent, int divisor)
{
    if (divisor <= 0)
        return Money();
    const Wide units = Wide(amount.m_paise) * Wide(percent.units());
    return Money(saturated(dividedRounded(units, powerOfTen(percent.scale()) * divisor)));
}

Money Money::times(const Decimal &factor) const
{
    return product(toDecimal(), factor);
}

qint64 Money::roundedToRupees() const
{
    return qint64(dividedRounded(m_paise, 100));
}

QString Money::text() const
{
    // Written from the right into a small buffer: lists write hundreds of
    // thousands of these.
    char buffer[32];
    char *end = buffer + sizeof buffer;
    char *p = end;
    quint64 magnitude = m_paise < 0 ? quint64(0) - quint64(m_paise) : quint64(m_paise);
    *--p = char('0' + magnitude % 10);
    magnitude /= 10;
    *--p = char('0' + magnitude % 10);
    magnitude /= 10;
    *--p = '.';
    do {
        *--p = char('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude > 0);
    if (m_paise < 0)
        *--p = '-';
    return QString::fromLatin1(p, int(end - p));
}

QString moneyText(double stored)
{
    return Money::fromStored(stored).text();
}
