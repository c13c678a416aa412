#include "money.h"

#include "typednumber.h"

#include <QLocale>
#include <QVarLengthArray>
#include <cmath>
#include <limits>
#include <vector>

namespace {

using Wide = __int128;
using UWide = unsigned __int128;

// Working figures of 10^15 or more do not fit (entries keep far smaller bounds).
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

} // namespace

// The long form of a Decimal: the digits of its magnitude as text, most
// significant first, with `scale` of them after the point. Used only for
// figures of more than MaxScale decimals, so it is plain rather than fast.
struct LongDecimal
{
    bool negative = false;
    std::string digits; // no leading zeros; empty for 0
    int scale = 0;

    static std::string digitsOf(UWide magnitude)
    {
        std::string digits;
        for (; magnitude > 0; magnitude /= 10)
            digits.push_back(char('0' + int(magnitude % 10)));
        return std::string(digits.rbegin(), digits.rend());
    }

    static LongDecimal of(const Decimal &d)
    {
        LongDecimal l;
        l.negative = d.m_units < 0;
        l.scale = d.m_scale;
        l.digits = d.m_digits ? *d.m_digits : digitsOf(magnitudeOf(d.m_units));
        return l;
    }

    // The figure these digits spell, in the wide integer when it has at most
    // MaxScale decimals; invalid when its whole part has over LargestDigits.
    static Decimal make(bool negative, std::string digits, int scale)
    {
        size_t lead = 0;
        while (lead < digits.size() && digits[lead] == '0')
            ++lead;
        digits.erase(0, lead);
        while (scale > 0 && !digits.empty() && digits.back() == '0') {
            digits.pop_back();
            --scale;
        }
        if (digits.empty())
            return Decimal();
        if (qint64(digits.size()) - scale > LargestDigits)
            return Decimal::invalid();
        if (scale <= Decimal::MaxScale) {
            UWide m = 0;
            for (const char c : digits)
                m = m * 10 + UWide(c - '0');
            for (; scale < 0; ++scale)
                m *= 10;
            return Decimal::fromUnits(negative ? -Wide(m) : Wide(m), scale);
        }
        Decimal d;
        d.m_units = negative ? -1 : 1;
        d.m_scale = scale;
        d.m_digits = std::make_shared<const std::string>(std::move(digits));
        return d;
    }
    Decimal make() const { return make(negative, digits, scale); }

    // The digits with `to` decimals (to >= scale).
    std::string at(int to) const { return digits + std::string(size_t(to - scale), '0'); }

    // -1, 0 or 1 for magnitudes of as many decimals.
    static int compareMagnitudes(const std::string &a, const std::string &b)
    {
        if (a.size() != b.size())
            return a.size() < b.size() ? -1 : 1;
        const int c = a.compare(b);
        return c < 0 ? -1 : (c > 0 ? 1 : 0);
    }

    static std::string add(const std::string &a, const std::string &b)
    {
        std::string r;
        int carry = 0;
        for (size_t i = 0; i < a.size() || i < b.size() || carry; ++i) {
            int digit = carry;
            if (i < a.size())
                digit += a[a.size() - 1 - i] - '0';
            if (i < b.size())
                digit += b[b.size() - 1 - i] - '0';
            r.push_back(char('0' + digit % 10));
            carry = digit / 10;
        }
        return std::string(r.rbegin(), r.rend());
    }

    // a - b for a >= b.
    static std::string subtract(const std::string &a, const std::string &b)
    {
        std::string r;
        int borrow = 0;
        for (size_t i = 0; i < a.size(); ++i) {
            int digit = (a[a.size() - 1 - i] - '0') - borrow - (i < b.size() ? b[b.size() - 1 - i] - '0' : 0);
            borrow = digit < 0 ? 1 : 0;
            r.push_back(char('0' + digit + 10 * borrow));
        }
        return std::string(r.rbegin(), r.rend());
    }

    static std::string multiply(const std::string &a, const std::string &b)
    {
        if (a.empty() || b.empty())
            return std::string();
        std::vector<int> r(a.size() + b.size(), 0);
        for (size_t i = a.size(); i-- > 0;) {
            int carry = 0;
            for (size_t j = b.size(); j-- > 0;) {
                const int v = r[i + j + 1] + (a[i] - '0') * (b[j] - '0') + carry;
                r[i + j + 1] = v % 10;
                carry = v / 10;
            }
            r[i] += carry;
        }
        std::string s;
        for (const int digit : r)
            s.push_back(char('0' + digit));
        return s;
    }

    static Decimal sum(const Decimal &x, const Decimal &y)
    {
        const LongDecimal a = of(x), b = of(y);
        const int scale = qMax(a.scale, b.scale);
        const std::string da = a.at(scale), db = b.at(scale);
        if (a.negative == b.negative)
            return make(a.negative, add(da, db), scale);
        const int c = compareMagnitudes(da, db);
        if (c == 0)
            return Decimal();
        return c > 0 ? make(a.negative, subtract(da, db), scale) : make(b.negative, subtract(db, da), scale);
    }

    static Decimal product(const Decimal &x, const Decimal &y)
    {
        const LongDecimal a = of(x), b = of(y);
        return make(a.negative != b.negative, multiply(a.digits, b.digits), a.scale + b.scale);
    }

    static int compare(const Decimal &x, const Decimal &y)
    {
        const LongDecimal a = of(x), b = of(y);
        const int sa = a.digits.empty() ? 0 : (a.negative ? -1 : 1);
        const int sb = b.digits.empty() ? 0 : (b.negative ? -1 : 1);
        if (sa != sb)
            return sa < sb ? -1 : 1;
        const int scale = qMax(a.scale, b.scale);
        const int c = compareMagnitudes(a.at(scale), b.at(scale));
        return sa < 0 ? -c : c;
    }

    // Rounded to `decimals` (fewer than its scale), half away from zero:
    // the first digit dropped decides.
    Decimal rounded(int decimals) const
    {
        const qint64 keep = qint64(digits.size()) - (scale - decimals);
        std::string kept = keep > 0 ? digits.substr(0, size_t(keep)) : std::string();
        const bool up = keep >= 0 && keep < qint64(digits.size()) && digits[size_t(keep)] >= '5';
        if (up)
            kept = add(kept, "1");
        return make(negative, kept, decimals);
    }

    // All of its digits, a point and no grouping.
    QString text() const
    {
        std::string whole = digits.size() > size_t(scale) ? digits.substr(0, digits.size() - size_t(scale)) : "0";
        const std::string fraction = std::string(size_t(qMax(0, scale - int(digits.size()))), '0')
                                     + digits.substr(digits.size() > size_t(scale) ? digits.size() - size_t(scale) : 0);
        return QString::fromLatin1((negative ? "-" : "") + whole + (scale > 0 ? "." + fraction : std::string()));
    }
};

namespace {

// The decimal a number text spells: sign, digits, an optional point and
// digits, an optional exponent; nullopt for anything else and for a
// magnitude of 10^15 or more. Every digit is kept.
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

    if (scale > Decimal::MaxScale)
        return LongDecimal::make(negative, std::string(digits.constData(), size_t(digits.size())), int(scale));
    UWide magnitude = 0;
    for (const char digit : digits)
        magnitude = magnitude * 10 + UWide(digit - '0');
    for (; scale < 0; ++scale)
        magnitude *= 10;
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

Decimal Decimal::outsized(double value)
{
    Decimal d;
    d.m_scale = OutsizedScale;
    d.m_units = value < 0 ? -1 : 1;
    d.m_outsized = value;
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
        *this = LongDecimal::make(units < 0, LongDecimal::digitsOf(magnitudeOf(units)), scale);
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
    if (storedValueOutsized(value))
        return outsized(value);
    if (value == 0)
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
        return outsizedValue();
    // Two exact doubles divided once give the nearest double.
    static const double exactPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                         1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    if (m_digits)
        return QLocale::c().toDouble(LongDecimal::of(*this).text());
    if (magnitudeOf(m_units) <= (UWide(1) << 53))
        return double(qint64(m_units)) / exactPowers[m_scale];
    return QLocale::c().toDouble(text(m_scale));
}

Money Decimal::toMoney() const
{
    if (isOutsized())
        return Money::outsized(m_outsized);
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
    if (m_digits)
        return LongDecimal::of(*this).rounded(decimals);
    Decimal r;
    r.m_units = dividedRounded(m_units, tenTo(m_scale - decimals));
    r.m_scale = decimals;
    return fromUnits(r.m_units, r.m_scale);
}

QString Decimal::text(int decimals) const
{
    decimals = qBound(0, decimals, MaxScale);
    if (isOutsized())
        return outsizedText(m_outsized, decimals);
    const Decimal r = rounded(decimals);
    if (!r.isValid())
        return QString();
    if (r.m_digits)
        return LongDecimal::of(r).text();
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
    r.m_outsized = -m_outsized;
    return r;
}

Decimal operator+(const Decimal &a, const Decimal &b)
{
    if (!a.isValid() || !b.isValid())
        return Decimal::invalid();
    if (a.m_digits || b.m_digits)
        return LongDecimal::sum(a, b);
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
    const UWide x = magnitudeOf(a.m_units);
    const UWide y = magnitudeOf(b.m_units);
    const int scale = a.m_scale + b.m_scale;
    if (a.m_digits || b.m_digits || (x >> 63) != 0 || (y >> 63) != 0 || scale > Decimal::MaxScale)
        return LongDecimal::product(a, b);
    const Wide product = Wide(x * y);
    return Decimal::fromUnits((a.m_units < 0) != (b.m_units < 0) ? -product : product, scale);
}

int Decimal::compare(const Decimal &a, const Decimal &b)
{
    if (a.isOutsized() && b.isOutsized())
        return a.m_outsized < b.m_outsized ? -1 : (a.m_outsized > b.m_outsized ? 1 : 0);
    if (!a.isValid() || !b.isValid())
        return a.isValid() ? -1 : (b.isValid() ? 1 : 0);
    if (a.m_digits || b.m_digits)
        return LongDecimal::compare(a, b);
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

Money Money::outsized(double value)
{
    Money m(Outsized);
    m.m_outsized = value;
    return m;
}

Decimal Money::toDecimal() const
{
    if (isOutsized())
        return Decimal::outsized(m_outsized);
    return isValid() ? Decimal(m_paise, 2) : Decimal::invalid();
}

Money Money::operator-() const
{
    if (isOutsized())
        return outsized(-m_outsized);
    return isValid() ? Money(-m_paise) : *this;
}

Money Money::fromStored(double value)
{
    if (storedValueOutsized(value))
        return outsized(value);
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
    // 1 / divisor as an exact decimal (0.01 for 100, 0.005 for 200), taken
    // off the percent first: amount x percent may pass what a figure holds
    // on the way to a tax that fits.
    for (int decimals = 0; decimals <= 18; ++decimals) {
        const Wide power = tenTo(decimals);
        if (power % divisor == 0) {
            const Decimal share = percent * Decimal::fromUnits(power / divisor, decimals);
            return Money::product(amount.toDecimal(), share);
        }
    }
    return Money(Invalid);
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
        return isOutsized() ? outsizedText(m_outsized, 2) : QString();
    return fixedText<quint64>(m_paise < 0 ? quint64(0) - quint64(m_paise) : quint64(m_paise), m_paise < 0, 2);
}

QString moneyText(double stored)
{
    return Money::fromStored(stored).text();
}

bool storedValueOutsized(double stored)
{
    return !std::isfinite(stored) || std::fabs(stored) >= Largest;
}

QString outsizedText(double stored, int decimals)
{
    if (std::isnan(stored))
        return QStringLiteral("NaN");
    if (std::isinf(stored))
        return stored < 0 ? QStringLiteral("-Inf") : QStringLiteral("Inf");
    decimals = qMax(0, decimals);
    // The shortest digits that read back as the value, in full.
    const QString shortest = QString::number(std::fabs(stored), 'f', QLocale::FloatingPointShortest);
    const qsizetype point = shortest.indexOf(QLatin1Char('.'));
    QByteArray whole = (point < 0 ? shortest : shortest.left(point)).toLatin1();
    QByteArray fraction = point < 0 ? QByteArray() : shortest.mid(point + 1).toLatin1();
    if (fraction.size() > decimals) {
        const bool up = fraction.at(decimals) >= '5';
        fraction.truncate(decimals);
        if (up) {
            // Carry through the kept digits, half away from zero.
            QByteArray digits = whole + fraction;
            qsizetype i = digits.size() - 1;
            for (; i >= 0 && digits.at(i) == '9'; --i)
                digits[i] = '0';
            if (i < 0)
                digits.prepend('1');
            else
                digits[i] = char(digits.at(i) + 1);
            whole = digits.left(digits.size() - decimals);
            fraction = digits.right(decimals);
        }
    }
    fraction.append(QByteArray(decimals - fraction.size(), '0'));
    QString text = QString::fromLatin1(whole);
    if (decimals > 0)
        text += QLatin1Char('.') + QString::fromLatin1(fraction);
    return stored < 0 ? QLatin1Char('-') + text : text;
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

Decimal threeDecimalValue(double stored)
{
    return Decimal::fromStored(stored).rounded(3);
}

bool withinBound(const Decimal &figure, FigureKind kind)
{
    if (!figure.isValid())
        return false;
    // Money is kept to the paisa, a quantity shown to the thousandth.
    const bool money = kind == FigureKind::Money;
    static const Decimal moneyBound = Decimal::whole(MoneyBoundRupees);
    static const Decimal quantityBound = Decimal::whole(QuantityBoundUnits);
    return figure.rounded(money ? 2 : 3).abs() < (money ? moneyBound : quantityBound);
}

bool withinBound(Money amount)
{
    return amount.isValid() && amount.paise() > -MoneyBoundRupees * 100 && amount.paise() < MoneyBoundRupees * 100;
}

std::optional<Decimal> boundedFigure(const QString &text, FigureKind kind)
{
    std::optional<Decimal> figure = Decimal::fromText(text);
    if (figure && !withinBound(*figure, kind))
        return std::nullopt;
    return figure;
}

std::optional<Money> boundedAmount(const QString &text)
{
    const std::optional<Money> amount = Money::fromText(text);
    if (amount && !withinBound(*amount))
        return std::nullopt;
    return amount;
}

bool typedNumberTooLarge(const QString &text, FigureKind kind)
{
    return readTypedNumber(text).isNumber() && !boundedFigure(text, kind);
}

QString typedFigureTooLarge(const QString &field, const QString &text, FigureKind kind)
{
    // "nan", "inf" and "infinity" each hold an n; a decimal that overflows a
    // double holds none.
    const bool overflows = spellsNonFiniteNumber(text) && !text.contains(QLatin1Char('n'), Qt::CaseInsensitive);
    return typedNumberTooLarge(text, kind) || overflows ? figureTooLargeText(field, kind) : QString();
}
