#include "typednumber.h"

#include <QLocale>
#include <cmath>

TypedNumber readTypedNumber(const QString &text)
{
    const QString trimmed = text.trimmed();
    TypedNumber n;
    if (trimmed.isEmpty())
        return n;
    // The C locale reads a point as the decimal mark, refuses group
    // separators, and reports overflow ("1e309") as a failure.
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double value = c.toDouble(trimmed, &ok);
    if (!ok || !std::isfinite(value)) {
        n.kind = TypedNumber::NotANumber;
        return n;
    }
    n.kind = TypedNumber::Number;
    n.value = value == 0 ? 0.0 : value; // no negative zero
    return n;
}

double typedNumberOrZero(const QString &text)
{
    return readTypedNumber(text).valueOr(0);
}

bool spellsNonFiniteNumber(const QString &text)
{
    // The C locale reads "nan" and "inf" as numbers and gives an infinity
    // (with ok false) for an overflow; stray text gives 0.
    bool ok = false;
    return !std::isfinite(QLocale::c().toDouble(text.trimmed(), &ok));
}
