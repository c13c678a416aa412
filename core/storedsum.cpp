#include "storedsum.h"

#include "boundquery.h"
#include "typednumber.h"

#include <QLocale>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <sqlite3.h>

#include <cmath>
#include <limits>

namespace {

using Wide = __int128;
using UWide = unsigned __int128;

constexpr int MicroScale = 6;
constexpr qint64 MicrosPerUnit = 1000000;
// What the integer run leaves to the exact one: the largest figure the forms
// accept is below it, and up to it a stored value's millionths are those of
// the decimal it was stored from to within a few, so a sum of such values is
// exact to the paisa while it fits 64 bits.
const char *const IntegerLimit = "1e11";
// Beyond this a stored value is no figure of any kind.
constexpr double ExactLimit = 1e21;
// An exact sum as text: this mark, then its millionths offset by 2^127 in a
// fixed 39 digits, so that texts sort as the sums do.
constexpr char ExactMark = '~';
constexpr int ExactDigits = 39;
const UWide Offset = UWide(1) << 127;

UWide magnitude(Wide v)
{
    return v < 0 ? UWide(0) - UWide(v) : UWide(v);
}

Wide tenTo(int n)
{
    Wide p = 1;
    while (n-- > 0)
        p *= 10;
    return p;
}

// value / divisor, half away from zero.
Wide dividedRounded(Wide value, Wide divisor)
{
    Wide quotient = value / divisor;
    const Wide rest = value % divisor;
    if ((rest < 0 ? -rest : rest) * 2 >= divisor)
        quotient += value < 0 ? -1 : 1;
    return quotient;
}

// A decimal's millionths, rounded half away from zero.
Wide microsOf(const Decimal &value)
{
    const Decimal r = value.rounded(MicroScale);
    return r.wideUnits() * tenTo(MicroScale - r.scale());
}

// The millionths of a stored value: of the decimal it was stored from, or,
// beyond what Decimal holds, of its own binary value, exactly; nullopt for
// no finite number and for 1e21 or more.
std::optional<Wide> microsOfDouble(double value)
{
    if (!std::isfinite(value) || std::fabs(value) >= ExactLimit)
        return std::nullopt;
    const Decimal decimal = Decimal::fromStored(value);
    if (decimal.isValid() && (!decimal.isZero() || value == 0))
        return microsOf(decimal);
    int exponent = 0;
    const Wide mantissa = Wide(std::ldexp(std::frexp(value, &exponent), 53)); // value = mantissa x 2^(exponent - 53)
    exponent -= 53;
    if (exponent < -100)
        return 0;
    const Wide micros = mantissa * MicrosPerUnit;
    return exponent >= 0 ? micros * (Wide(1) << exponent) : dividedRounded(micros, Wide(1) << -exponent);
}

QByteArray exactText(Wide micros)
{
    UWide v = UWide(micros) + Offset;
    QByteArray text(ExactDigits + 1, '0');
    text[0] = ExactMark;
    for (int i = ExactDigits; i > 0; --i) {
        text[i] = char('0' + int(v % 10));
        v /= 10;
    }
    return text;
}

std::optional<Wide> fromExactText(QStringView text)
{
    if (text.size() != ExactDigits + 1 || text[0] != QLatin1Char(ExactMark))
        return std::nullopt;
    UWide v = 0;
    for (int i = 1; i <= ExactDigits; ++i)
        v = v * 10 + UWide(text[i].unicode() - '0');
    return Wide(v - Offset);
}

// The value of one part for the exact sum: a stored column's value, or a sum
// an inner statement gave (its text). False when it is too large.
bool exactMicros(sqlite3_value *value, Wide *micros)
{
    switch (sqlite3_value_type(value)) {
    case SQLITE_INTEGER:
        *micros = Wide(sqlite3_value_int64(value)) * MicrosPerUnit;
        return true;
    case SQLITE_FLOAT:
        if (const auto m = microsOfDouble(sqlite3_value_double(value))) {
            *micros = *m;
            return true;
        }
        return false;
    case SQLITE_TEXT: {
        const QString text = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_value_text(value)));
        if (const auto m = fromExactText(text)) {
            *micros = *m;
            return true;
        }
        if (const auto decimal = Decimal::fromText(text)) {
            *micros = microsOf(*decimal);
            return true;
        }
        // Text that is no number counts 0, as in SQL.
        bool number = false;
        const auto m = microsOfDouble(text.toDouble(&number));
        *micros = number ? m.value_or(0) : 0;
        return m || !number;
    }
    default:
        *micros = 0;
        return true;
    }
}

struct ExactAccumulator
{
    Wide sum;
    bool any;
};

// exact_sum(label, value, label, value, ...): per row the values added (a
// label starting with "-" subtracts its value); a NULL value leaves the row
// out. The label names the value's table in the error of a value too large.
void exactSumStep(sqlite3_context *context, int count, sqlite3_value **args)
{
    auto *acc = static_cast<ExactAccumulator *>(sqlite3_aggregate_context(context, sizeof(ExactAccumulator)));
    if (!acc)
        return sqlite3_result_error_nomem(context);
    Wide row = 0;
    for (int i = 0; i + 1 < count; i += 2) {
        if (sqlite3_value_type(args[i + 1]) == SQLITE_NULL)
            return;
        const QString label = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_value_text(args[i])));
        Wide micros = 0;
        if (!exactMicros(args[i + 1], &micros)) {
            const QString table = label.startsWith(QLatin1Char('-')) ? label.mid(1) : label;
            const QByteArray message =
                QStringLiteral("A figure stored in %1 is too large to add: %2")
                    .arg(table, QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_value_text(args[i + 1]))))
                    .toUtf8();
            return sqlite3_result_error(context, message.constData(), int(message.size()));
        }
        row += label.startsWith(QLatin1Char('-')) ? -micros : micros;
    }
    acc->sum += row;
    acc->any = true;
}

void exactSumFinal(sqlite3_context *context)
{
    auto *acc = static_cast<ExactAccumulator *>(sqlite3_aggregate_context(context, 0));
    if (!acc || !acc->any)
        return sqlite3_result_null(context);
    const QByteArray text = exactText(acc->sum);
    sqlite3_result_text(context, text.constData(), int(text.size()), SQLITE_TRANSIENT);
}

bool addExactSum(QString *error)
{
    sqlite3 *db = defaultSqliteHandle();
    if (!db) {
        *error = QStringLiteral("The exact sum needs an SQLite database.");
        return false;
    }
    // Once per connection: it cannot be replaced while a statement runs.
    sqlite3_stmt *probe = nullptr;
    const bool present = sqlite3_prepare_v2(db, "SELECT exact_sum('', 0)", -1, &probe, nullptr) == SQLITE_OK;
    sqlite3_finalize(probe);
    if (present)
        return true;
    if (sqlite3_create_function(db, "exact_sum", -1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, nullptr,
                                exactSumStep, exactSumFinal)
        != SQLITE_OK) {
        *error = QString::fromUtf8(sqlite3_errmsg(db));
        return false;
    }
    return true;
}

// One part of a STORED_SUM written out for a run.
QString partText(QString part, StoredSumRun run, bool first)
{
    part = part.trimmed();
    const bool minus = part.startsWith(QLatin1Char('-'));
    if (minus)
        part = part.mid(1).trimmed();
    const bool inner = part.startsWith(QLatin1Char('@'));
    QString table;
    QString expression;
    if (inner) {
        expression = part.mid(1).trimmed();
    } else {
        const int colon = int(part.indexOf(QLatin1Char(':')));
        table = part.left(colon).trimmed();
        expression = part.mid(colon + 1).trimmed();
    }
    const QString value = QStringLiteral("(") + expression + QStringLiteral(")");
    if (run == StoredSumRun::Exact) {
        const QString label = (minus ? QStringLiteral("-") : QString()) + (inner ? QStringLiteral("an inner sum") : table);
        return (first ? QString() : QStringLiteral(", ")) + QStringLiteral("'") + label + QStringLiteral("', ")
               + (inner ? QStringLiteral("IFNULL") + value.left(value.size() - 1) + QStringLiteral(", 0)") : value);
    }
    QString term;
    if (inner)
        term = QStringLiteral("IFNULL") + value.left(value.size() - 1) + QStringLiteral(", 0)");
    else if (run == StoredSumRun::Bars)
        term = value;
    else
        term = QStringLiteral("CASE WHEN %1 >= %2 OR %1 <= -%2 THEN ABS(-9223372036854775807 - 1) "
                              "ELSE CAST(ROUND(%1 * 1000000) AS INTEGER) END")
                   .arg(value, QLatin1String(IntegerLimit));
    return (first ? (minus ? QStringLiteral("-") : QString()) : (minus ? QStringLiteral(" - ") : QStringLiteral(" + ")))
           + term;
}

bool isOverflow(const QString &message)
{
    return message.contains(QLatin1String("integer overflow"));
}

bool runRows(const QString &statement, const QVariantMap &values,
             const std::function<void(const StatementRow &)> &readRow, QString *error)
{
    return forEachRow(statement, values, readRow, error);
}

bool runRows(const QString &statement, const QVariantMap &values,
             const std::function<void(const QSqlQuery &)> &readRow, QString *error)
{
    QSqlQuery q;
    q.setForwardOnly(true);
    if (!execBound(q, statement, values, error))
        return false;
    while (q.next())
        readRow(q);
    if (q.lastError().isValid()) {
        *error = q.lastError().text();
        return false;
    }
    return true;
}

} // namespace

StoredTotal StoredTotal::fromMicros(__int128 micros)
{
    StoredTotal t;
    t.m_micros = micros;
    return t;
}

StoredTotal StoredTotal::ofStored(double value)
{
    if (const std::optional<Wide> micros = microsOfDouble(value))
        return fromMicros(*micros);
    StoredTotal none;
    none.m_valid = false;
    return none;
}

__int128 StoredTotal::micros() const
{
    return roundedUnits(MicroScale);
}

Wide StoredTotal::roundedUnits(int decimals) const
{
    // The total is n + e millionths: n whole, |e| at most one half.
    Wide n = m_micros;
    Decimal e;
    if (!m_beyond.isZero()) {
        const Decimal whole = m_beyond.rounded(MicroScale);
        n += microsOf(whole);
        e = m_beyond - whole;
    }
    const Wide unit = tenTo(MicroScale - qBound(0, decimals, MicroScale));
    if (e.isZero())
        return dividedRounded(n, unit);
    if (unit == 1) {
        // A tie only when e is exactly one half: away from zero.
        const int half = Decimal::compare(e.abs(), Decimal(5, 7));
        if (half < 0)
            return n;
        const bool negative = n != 0 ? n < 0 : e.isNegative();
        if (negative)
            return e.isNegative() ? n - 1 : n;
        return e.isNegative() ? n : n + 1;
    }
    // A whole number of millionths lies on the half of a unit only at n
    // itself, so e decides only there, and never as a tie.
    Wide rest = n % unit;
    if (rest < 0)
        rest += unit;
    if (rest == unit / 2)
        return (e.isNegative() ? n - unit / 2 : n + unit / 2) / unit;
    return dividedRounded(n, unit);
}

QString StoredTotal::text(int decimals) const
{
    if (!m_valid)
        return QString();
    decimals = qBound(0, decimals, MicroScale);
    const Wide rounded = roundedUnits(decimals);
    UWide v = magnitude(rounded);
    QByteArray digits;
    for (int i = 0; i <= decimals || v > 0; ++i) {
        if (i == decimals && decimals > 0)
            digits.prepend('.');
        digits.prepend(char('0' + int(v % 10)));
        v /= 10;
    }
    if (rounded < 0)
        digits.prepend('-');
    return QString::fromLatin1(digits);
}

double StoredTotal::toDouble() const
{
    if (!m_valid)
        return 0;
    if (m_beyond.isZero() && magnitude(m_micros) <= (UWide(1) << 53))
        return double(qint64(m_micros)) / double(MicrosPerUnit);
    return QLocale::c().toDouble(text(MicroScale));
}

Decimal StoredTotal::toDecimal() const
{
    if (!m_valid)
        return Decimal::fromUnits(0, -1); // invalid
    return Decimal::fromUnits(m_micros, MicroScale) + m_beyond;
}

Money StoredTotal::toMoney() const
{
    // Money::fromPaise gives an invalid amount beyond its limit.
    constexpr qint64 beyond = std::numeric_limits<qint64>::max();
    if (!m_valid)
        return Money::fromPaise(beyond);
    const Wide paise = roundedUnits(2);
    return Money::fromPaise(magnitude(paise) < UWide(beyond) ? qint64(paise) : beyond);
}

StoredTotal &StoredTotal::operator+=(const StoredTotal &other)
{
    if (!m_valid || !other.m_valid || __builtin_add_overflow(m_micros, other.m_micros, &m_micros)) {
        m_valid = false;
        return *this;
    }
    if (!other.m_beyond.isZero()) {
        m_beyond = m_beyond + other.m_beyond;
        m_valid = m_beyond.isValid();
    }
    return *this;
}

StoredTotal &StoredTotal::operator+=(Money amount)
{
    if (amount.isOutsized())
        return *this += StoredTotal::ofStored(amount.outsizedValue());
    if (!amount.isValid() || !m_valid) {
        m_valid = false;
        return *this;
    }
    if (__builtin_add_overflow(m_micros, Wide(amount.paise()) * 10000, &m_micros))
        m_valid = false;
    return *this;
}

StoredTotal &StoredTotal::operator+=(const Decimal &figure)
{
    if (figure.isOutsized())
        return *this += StoredTotal::ofStored(figure.outsizedValue());
    if (!figure.isValid() || !m_valid) {
        m_valid = false;
        return *this;
    }
    if (figure.scale() <= MicroScale) { // most figures: whole millionths
        if (__builtin_add_overflow(m_micros, figure.wideUnits() * tenTo(MicroScale - figure.scale()), &m_micros))
            m_valid = false;
        return *this;
    }
    const Decimal whole = figure.rounded(MicroScale);
    StoredTotal part = fromMicros(microsOf(whole));
    part.m_beyond = figure - whole;
    return *this += part;
}

StoredTotal StoredTotal::operator-() const
{
    StoredTotal t = *this;
    t.m_micros = -m_micros;
    t.m_beyond = -m_beyond;
    return t;
}

int StoredTotal::compare(const StoredTotal &a, const StoredTotal &b)
{
    if (!a.m_valid || !b.m_valid)
        return a.m_valid ? -1 : (b.m_valid ? 1 : 0);
    const StoredTotal d = a - b;
    if (!d.m_valid) // past 128 bits: the signs differ
        return a.m_micros < 0 ? -1 : 1;
    // d is n + e millionths with |e| at most one half: n decides, else e.
    const Wide n = d.m_micros + (d.m_beyond.isZero() ? 0 : microsOf(d.m_beyond.rounded(MicroScale)));
    if (n != 0)
        return n < 0 ? -1 : 1;
    const Decimal e = d.m_beyond - d.m_beyond.rounded(MicroScale);
    return e.isZero() ? 0 : (e.isNegative() ? -1 : 1);
}

StoredTotal storedBalance(double stored, std::initializer_list<Decimal> taken)
{
    StoredTotal left = StoredTotal::ofStored(stored);
    for (const Decimal &figure : taken)
        left += -figure;
    return left;
}

StoredTotal storedTotal(const QVariant &value)
{
    if (value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::LongLong:
    case QMetaType::Int:
    case QMetaType::ULongLong:
        return StoredTotal::fromMicros(value.toLongLong());
    case QMetaType::Double:
        return StoredTotal::ofStored(value.toDouble());
    default: {
        const QString text = value.toString();
        return StoredTotal::fromMicros(fromExactText(text).value_or(0));
    }
    }
}


std::optional<StoredTotal> listedFigure(const QString &text, bool plainOnly)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    // A figure a list shows as the program keeps it: every digit.
    if (const std::optional<Decimal> d = plainOnly ? Decimal::fromPlainText(t) : Decimal::fromText(t)) {
        StoredTotal total;
        total += *d;
        return total;
    }
    if (plainOnly) {
        static const QRegularExpression plain(QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)$"));
        if (!plain.match(t).hasMatch())
            return std::nullopt;
    } else if (!readTypedNumber(t).isNumber()) {
        // An infinity ("Inf", as a list shows one stored, or "1e309") is too
        // large; "nan" and other text are no number.
        return std::isinf(QLocale::c().toDouble(t)) ? std::optional(StoredTotal::ofStored(qInf())) : std::nullopt;
    }
    // A number of 10^15 or more, as a list shows a stored figure beyond what
    // Decimal holds: its millionths, exactly, when it has no more decimals.
    const StoredTotal invalid = StoredTotal::ofStored(qInf());
    const qsizetype e = t.indexOf(QLatin1Char('e'), 0, Qt::CaseInsensitive);
    QString mantissa = e < 0 ? t : t.left(e);
    bool exponentRead = true;
    const qint64 exponent = e < 0 ? 0 : QStringView(t).mid(e + 1).toLongLong(&exponentRead);
    if (!exponentRead || exponent > 100 || exponent < -100)
        return invalid;
    const bool negative = mantissa.startsWith(QLatin1Char('-'));
    if (negative || mantissa.startsWith(QLatin1Char('+')))
        mantissa.remove(0, 1);
    const qsizetype point = mantissa.indexOf(QLatin1Char('.'));
    QString digits = mantissa;
    qint64 scale = 0;
    if (point >= 0) {
        digits.remove(point, 1);
        scale = mantissa.size() - point - 1;
    }
    scale -= exponent;
    while (scale > 0 && digits.endsWith(QLatin1Char('0'))) {
        digits.chop(1);
        --scale;
    }
    while (digits.size() > 1 && digits.startsWith(QLatin1Char('0')))
        digits.remove(0, 1);
    // Below 10^21, in whole millionths: what a StoredTotal adds exactly.
    if (scale > MicroScale || qint64(digits.size()) - scale > 21)
        return invalid;
    Wide micros = 0;
    for (const QChar c : std::as_const(digits))
        micros = micros * 10 + (c.unicode() - '0');
    micros *= tenTo(int(MicroScale - scale));
    return StoredTotal::fromMicros(negative ? -micros : micros);
}

QString storedSumStatement(const QString &statement, StoredSumRun run)
{
    static const QRegularExpression marker(QStringLiteral("\\{\\{(.*?)\\}\\}"));
    QString out;
    qsizetype at = 0;
    for (auto it = marker.globalMatch(statement); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out += QStringView(statement).mid(at, m.capturedStart() - at);
        const QStringList parts = m.captured(1).split(QLatin1Char(';'));
        QString body;
        for (int i = 0; i < parts.size(); ++i)
            body += partText(parts.at(i), run, i == 0);
        switch (run) {
        case StoredSumRun::Integers:
            out += QStringLiteral("SUM(") + body + QLatin1Char(')');
            break;
        case StoredSumRun::Exact:
            out += QStringLiteral("exact_sum(") + body + QLatin1Char(')');
            break;
        case StoredSumRun::Bars:
            out += QStringLiteral("TOTAL(") + body + QLatin1Char(')');
            break;
        }
        at = m.capturedEnd();
    }
    return out + statement.mid(at);
}

namespace {

template<class Row>
bool runStoredSumRows(const QString &statement, const QVariantMap &values,
                      const std::function<void(const Row &)> &readRow, const std::function<void()> &restart,
                      QString *error)
{
    QString message;
    if (runRows(storedSumStatement(statement, StoredSumRun::Integers), values, readRow, &message))
        return true;
    if (isOverflow(message)) {
        restart();
        if (addExactSum(&message)
            && runRows(storedSumStatement(statement, StoredSumRun::Exact), values, readRow, &message))
            return true;
        restart();
    }
    if (error)
        *error = message;
    return false;
}

} // namespace

bool forEachStoredSumRow(const QString &statement, const QVariantMap &values,
                         const std::function<void(const QSqlQuery &)> &readRow, const std::function<void()> &restart,
                         QString *error)
{
    return runStoredSumRows(statement, values, readRow, restart, error);
}

bool forEachStoredSumRow(const QString &statement, const QVariantMap &values,
                         const std::function<void(const StatementRow &)> &readRow,
                         const std::function<void()> &restart, QString *error)
{
    return runStoredSumRows(statement, values, readRow, restart, error);
}

std::optional<StoredTotal> firstStoredTotal(const QString &statement, const QVariantMap &values)
{
    std::optional<StoredTotal> first;
    const bool ok = forEachStoredSumRow(
        statement, values,
        [&](const QSqlQuery &q) {
            if (!first)
                first = storedTotal(q.value(0));
        },
        [&] { first.reset(); });
    return ok ? first : std::nullopt;
}

Decimal fromStoredList(const QVariant &list)
{
    Decimal sum;
    const QString text = list.toString();
    for (const QStringView value : QStringView(text).split(QLatin1Char(' '), Qt::SkipEmptyParts))
        sum = sum + Decimal::fromText(value.toString()).value_or(Decimal());
    return sum;
}
