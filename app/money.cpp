#include "money.h"

#include "typednumber.h"

#include <QLocale>
#include <QVarLengthArray>
#include <cmath>
#include <limits>

namespace {

using Wide = __int128;
using UWide = unsigned __int128;

// Figures of 10^15 or more are no amount, rate or quantity of this office.
constexpr int LargestDigits = 15;
constexpr double Largest = 1e15;

Wide powerOfTen(int n)
{
    Wide p = 1;
    for (int i = 0; i < n; ++i)
        p *= 10;
    return p;
}

// 10^n for n up to MaxScale + LargestDigits (10^37), without a loop.
const Wide *powersOfTen()
{
    static const auto table = [] {
        struct Table { Wide p[39]; } t{};
        for (int i = 0; i < 39; ++i)
            t.p[i] = powerOfTen(i);
        return t;
    }();
    return table.p;
}

Wide tenTo(int n)
{
    return powersOfTen()[n];
}

UWide magnitudeOf(Wide v)
{
    return v < 0 ? UWide(0) - UWide(v) : UWide(v);
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

// A magnitude cut short of some nonzero digits: its last digit is made one
// that no shorter figure ends in (not 0 or 5), so that rounding it to fewer
// decimals and comparing it with a shorter figure go as for all its digits.
UWide markedCut(UWide magnitude)
{
    const int last = int(magnitude % 10);
    return last == 0 || last == 5 ? magnitude + 1 : magnitude;
}

// Digits written from the right with a point before the last `decimals`;
// quint64 for the common case (lists write hundreds of thousands of these),
// unsigned __int128 for the longest figures.
template <typename Unsigned>
QString fixedText(Unsigned magnitude, bool negative, int decimals)
{
    char buffer[64];
    char *end = buffer + sizeof buffer;
    char *p = end;
    for (int i = 0; i < decimals; ++i) {
        *--p = char('0' + int(magnitude % 10));
        magnitude /= 10;
    }
    if (decimals > 0)
        *--p = '.';
    do {
        *--p = char('0' + int(magnitude % 10));
        magnitude /= 10;
    } while (magnitude > 0);
    if (negative)
        *--p = '-';
    return QString::fromLatin1(p, int(end - p));
}

// The thousandths a double stands for when it is the nearest double to a
// figure of at most three decimals. Below 10^12 such a figure has at most
// fifteen digits, and no other decimal that short reads back as the same
// double, so it is the value's shortest text: found without text.
std::optional<qint64> storedThousandths(double value)
{
    if (!(std::fabs(value) < 1e12))
        return std::nullopt;
    const qint64 thousandths = std::llround(value * 1000.0);
    if (double(thousandths) / 1000.0 != value)
        return std::nullopt;
    return thousandths;
}

// A product of two magnitudes below 2^127, in four 64-bit words (lowest
// first), divided in place by small divisors.
struct Wide256
{
    quint64 w[4] = {0, 0, 0, 0};

    static Wide256 product(UWide a, UWide b)
    {
        const quint64 a0 = quint64(a), a1 = quint64(a >> 64), b0 = quint64(b), b1 = quint64(b >> 64);
        const UWide p00 = UWide(a0) * b0, p01 = UWide(a0) * b1, p10 = UWide(a1) * b0, p11 = UWide(a1) * b1;
        Wide256 r;
        r.w[0] = quint64(p00);
        const UWide middle = (p00 >> 64) + quint64(p01) + quint64(p10);
        r.w[1] = quint64(middle);
        const UWide high = (middle >> 64) + (p01 >> 64) + (p10 >> 64) + quint64(p11);
        r.w[2] = quint64(high);
        r.w[3] = quint64((high >> 64) + (p11 >> 64));
        return r;
    }
    // Divides by d and gives the remainder.
    quint64 divide(quint64 d)
    {
        UWide rest = 0;
        for (int i = 3; i >= 0; --i) {
            const UWide current = (rest << 64) | w[i];
            w[i] = quint64(current / d);
            rest = current % d;
        }
        return quint64(rest);
    }
};

// The decimal a number text spells: sign, digits, an optional point and
// digits, an optional exponent; nullopt for anything else and for a
// magnitude of 10^15 or more. Digits beyond MaxScale decimals are cut and
// marked (markedCut), never rounded.
std::optional<Decimal> parseExactly(QStringView text)
{
    int i = 0;
    const int n = int(text.size());
    bool negative = false;
    if (i < n && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-')))
        negative = text.at(i++) == QLatin1Char('-');

    // The significant digits (no leading zeros), with the count of those
    // after the point.
    QVarLengthArray<char, 64> digits;
    bool anyDigit = false;
    int fractionDigits = 0;
    bool inFraction = false;
    for (; i < n; ++i) {
        const QChar c = text.at(i);
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            anyDigit = true;
            if (!digits.isEmpty() || c != QLatin1Char('0'))
                digits.append(char(c.unicode()));
            if (inFraction)
                ++fractionDigits;
        } else if (c == QLatin1Char('.') && !inFraction) {
            inFraction = true;
        } else {
            break;
        }
    }
    qint64 exponent = 0;
    if (i < n && (text.at(i) == QLatin1Char('e') || text.at(i) == QLatin1Char('E'))) {
        bool ok = false;
        exponent = text.mid(i + 1).toLongLong(&ok);
        if (!ok || exponent > 100000 || exponent < -100000)
            return std::nullopt;
        i = n;
    }
    if (i != n || !anyDigit)
        return std::nullopt;
    // Trailing zeros after the point carry nothing.
    qint64 scale = fractionDigits - exponent;
    while (scale > 0 && !digits.isEmpty() && digits.back() == '0') {
        digits.removeLast();
        --scale;
    }
    if (digits.isEmpty())
        return Decimal();
    if (qint64(digits.size()) - scale > LargestDigits)
        return std::nullopt;

    bool cut = false;
    qsizetype keep = digits.size();
    if (scale > Decimal::MaxScale) {
        const qint64 drop = scale - Decimal::MaxScale;
        keep = drop >= digits.size() ? 0 : digits.size() - qsizetype(drop);
        cut = true; // the dropped digits end in a nonzero one
        scale = Decimal::MaxScale;
    }
    UWide magnitude = 0;
    for (qsizetype k = 0; k < keep; ++k)
        magnitude = magnitude * 10 + UWide(digits.at(k) - '0');
    for (; scale < 0; ++scale)
        magnitude *= 10;
    if (cut)
        magnitude = markedCut(magnitude);
    const Wide units = Wide(magnitude);
    return Decimal::fromUnits(negative ? -units : units, int(scale));
}

} // namespace

Decimal Decimal::invalid()
{
    Decimal d;
    d.m_scale = -1;
    return d;
}

Decimal Decimal::fromUnits(__int128 units, int scale)
{
    if (scale < 0 || scale > MaxScale || magnitudeOf(units) >= UWide(tenTo(LargestDigits + scale)))
        return invalid();
    Decimal d;
    d.m_units = units;
    d.m_scale = scale;
    return d;
}

Decimal::Decimal(qint64 units, int scale)
{
    if (scale < 0) {
        *this = fromUnits(Wide(units) * tenTo(qMin(-scale, 20)), 0);
    } else if (scale > MaxScale) {
        const Wide divisor = tenTo(scale - MaxScale > 20 ? 20 : scale - MaxScale);
        const UWide magnitude = magnitudeOf(units);
        UWide kept = magnitude / UWide(divisor);
        if (magnitude % UWide(divisor) != 0)
            kept = markedCut(kept);
        *this = fromUnits(units < 0 ? -Wide(kept) : Wide(kept), MaxScale);
    } else {
        *this = fromUnits(units, scale);
    }
}

std::optional<Decimal> Decimal::fromText(const QString &text)
{
    if (!readTypedNumber(text).isNumber())
        return std::nullopt;
    return parseExactly(QStringView(text).trimmed());
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
    // Most stored figures have at most three decimals.
    if (const std::optional<qint64> thousandths = storedThousandths(value))
        return fromUnits(*thousandths, 3);
    if (std::fabs(value) < 1e13) {
        const qint64 hundredths = std::llround(value * 100.0);
        if (double(hundredths) / 100.0 == value)
            return fromUnits(hundredths, 2);
    }
    // The shortest text that reads back as the same double is the decimal the
    // value was stored from.
    return parseExactly(QString::number(value, 'g', QLocale::FloatingPointShortest)).value_or(Decimal());
}

double Decimal::toDouble() const
{
    if (!isValid())
        return 0;
    // Two exact doubles divided once give the nearest double.
    static const double exactPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                         1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    if (magnitudeOf(m_units) <= (UWide(1) << 53))
        return double(qint64(m_units)) / exactPowers[m_scale];
    return QLocale::c().toDouble(text(m_scale));
}

Money Decimal::toMoney() const
{
    if (!isValid())
        return Money(Money::Invalid);
    const Decimal r = rounded(2);
    if (!r.isValid())
        return Money(Money::Invalid);
    const Wide paise = r.m_units * tenTo(2 - r.m_scale);
    if (magnitudeOf(paise) >= UWide(Money::Limit))
        return Money(Money::Invalid);
    return Money(qint64(paise));
}

Decimal Decimal::rounded(int decimals) const
{
    if (!isValid() || decimals >= m_scale)
        return *this;
    decimals = qMax(0, decimals);
    Decimal r;
    r.m_units = dividedRounded(m_units, tenTo(m_scale - decimals));
    r.m_scale = decimals;
    return fromUnits(r.m_units, r.m_scale);
}

QString Decimal::text(int decimals) const
{
    decimals = qBound(0, decimals, MaxScale);
    const Decimal r = rounded(decimals);
    if (!r.isValid())
        return QString();
    const Wide units = r.m_units * tenTo(decimals - r.m_scale);
    const UWide magnitude = magnitudeOf(units);
    if (magnitude <= std::numeric_limits<quint64>::max())
        return fixedText<quint64>(quint64(magnitude), units < 0, decimals);
    return fixedText<UWide>(magnitude, units < 0, decimals);
}

Decimal Decimal::operator-() const
{
    Decimal r = *this;
    r.m_units = -m_units;
    return r;
}

Decimal operator+(const Decimal &a, const Decimal &b)
{
    if (!a.isValid() || !b.isValid())
        return Decimal::invalid();
    // Below 10^15 with at most MaxScale decimals, both fit at the larger
    // scale, and so does their sum.
    const int scale = qMax(a.m_scale, b.m_scale);
    const Wide sum = a.m_units * tenTo(scale - a.m_scale) + b.m_units * tenTo(scale - b.m_scale);
    return Decimal::fromUnits(sum, scale);
}

Decimal operator*(const Decimal &a, const Decimal &b)
{
    if (!a.isValid() || !b.isValid())
        return Decimal::invalid();
    const int scale = a.m_scale + b.m_scale;
    const int drop = qMax(0, scale - Decimal::MaxScale);
    const bool negative = (a.m_units < 0) != (b.m_units < 0);
    const UWide x = magnitudeOf(a.m_units);
    const UWide y = magnitudeOf(b.m_units);
    UWide kept = 0;
    bool cut = false;
    if ((x >> 63) == 0 && (y >> 63) == 0) {
        const UWide product = x * y;
        const UWide divisor = UWide(tenTo(drop));
        kept = product / divisor;
        cut = product % divisor != 0;
    } else {
        Wide256 product = Wide256::product(x, y);
        for (int left = drop; left > 0; left -= 19)
            cut = product.divide(quint64(tenTo(qMin(left, 19)))) != 0 || cut;
        if (product.w[2] != 0 || product.w[3] != 0)
            return Decimal::invalid();
        kept = (UWide(product.w[1]) << 64) | product.w[0];
    }
    if (kept >= UWide(tenTo(LargestDigits + scale - drop)))
        return Decimal::invalid();
    if (cut)
        kept = markedCut(kept);
    return Decimal::fromUnits(negative ? -Wide(kept) : Wide(kept), scale - drop);
}

int Decimal::compare(const Decimal &a, const Decimal &b)
{
    if (!a.isValid() || !b.isValid())
        return a.isValid() ? -1 : (b.isValid() ? 1 : 0);
    const int scale = qMax(a.m_scale, b.m_scale);
    const Wide x = a.m_units * tenTo(scale - a.m_scale);
    const Wide y = b.m_units * tenTo(scale - b.m_scale);
    return x < y ? -1 : (x > y ? 1 : 0);
}

Money Money::fromPaise(qint64 paise)
{
    return paise > -Limit && paise < Limit ? Money(paise) : Money(Invalid);
}

Money Money::fromRupees(qint64 rupees)
{
    return rupees > -Limit / 100 && rupees < Limit / 100 ? Money(rupees * 100) : Money(Invalid);
}

Money Money::checked(Money a, Money b, int sign)
{
    if (!a.isValid() || !b.isValid())
        return Money(Invalid);
    return fromPaise(a.m_paise + sign * b.m_paise);
}

std::optional<Money> Money::fromText(const QString &text)
{
    const std::optional<Decimal> d = Decimal::fromText(text);
    if (!d)
        return std::nullopt;
    const Money m = d->toMoney();
    if (!m.isValid())
        return std::nullopt;
    return m;
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
    return (quantity * rate).toMoney();
}

Money Money::percentOf(Money amount, const Decimal &percent, int divisor)
{
    if (divisor <= 0)
        return Money();
    const Decimal whole = amount.toDecimal() * percent;
    if (!whole.isValid())
        return Money(Invalid);
    const int scale = whole.scale();
    Wide units = whole.wideUnits();
    Wide below = Wide(divisor);
    if (scale < 2)
        units *= tenTo(2 - scale);
    else
        below *= tenTo(scale - 2);
    return fromPaise(qint64(dividedRounded(units, below)));
}

Money Money::times(const Decimal &factor) const
{
    return product(toDecimal(), factor);
}

qint64 Money::roundedToRupees() const
{
    return isValid() ? qint64(dividedRounded(m_paise, 100)) : 0;
}

Money Money::roundedToWholeRupees() const
{
    return isValid() ? fromRupees(roundedToRupees()) : *this;
}

QString Money::text() const
{
    // Lists write hundreds of thousands of these.
    if (!isValid())
        return QString();
    return fixedText<quint64>(m_paise < 0 ? quint64(0) - quint64(m_paise) : quint64(m_paise), m_paise < 0, 2);
}

QString moneyText(double stored)
{
    return Money::fromStored(stored).text();
}

QString threeDecimalText(const Decimal &value)
{
    return value.text(3);
}

QString threeDecimalText(double stored)
{
    // Lists show thousands of these; most have at most three decimals.
    if (const std::optional<qint64> thousandths = storedThousandths(stored)) {
        const qint64 t = *thousandths;
        return fixedText<quint64>(t < 0 ? quint64(0) - quint64(t) : quint64(t), t < 0, 3);
    }
    return Decimal::fromStored(stored).text(3);
}

QString storedDecimalText(double stored, int decimals)
{
    if (decimals == 3)
        return threeDecimalText(stored);
    if (decimals == 2)
        return moneyText(stored); // paise are hundredths: the same rounding, and fast
    return Decimal::fromStored(stored).text(decimals);
}

bool typedNumberTooLarge(const QString &text)
{
    return readTypedNumber(text).isNumber() && !Decimal::fromText(text);
}

Decimal threeDecimalValue(double stored)
{
    return Decimal::fromStored(stored).rounded(3);
}
