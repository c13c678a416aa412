#include "typednumber.h"

#include "money.h"

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

QString figureTooLargeTitle()
{
    return QStringLiteral("Figure Too Large");
}

namespace {

// The largest figure of a kind, grouped in thousands as the bound is quoted,
// and the word that follows it for a quantity.
QString largestFigureText(FigureKind kind)
{
    const QLocale grouped(QLocale::English, QLocale::UnitedStates);
    const bool money = kind == FigureKind::Money;
    return grouped.toString(money ? MoneyBoundRupees - 1 : QuantityBoundUnits - 1)
           + (money ? QStringLiteral(".99") : QStringLiteral(".999 (quantity)"));
}

} // namespace

QString figureTooLargeText(const QString &field, FigureKind kind)
{
    return QStringLiteral("%1 is too large: at most %2").arg(field, largestFigureText(kind));
}

QString figureWouldPassText(const QString &field, const QString &runningFigure, FigureKind kind)
{
    return QStringLiteral("%1 is too large: the %2 would pass %3").arg(field, runningFigure, largestFigureText(kind));
}

QString typedFigureTooLarge(const QString &field, const QString &text, FigureKind kind)
{
    // "nan", "inf" and "infinity" each hold an n; a decimal that overflows a
    // double holds none.
    const bool overflows = spellsNonFiniteNumber(text) && !text.contains(QLatin1Char('n'), Qt::CaseInsensitive);
    return typedNumberTooLarge(text, kind) || overflows ? figureTooLargeText(field, kind) : QString();
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
