#include "figurebound.h"

#include "money.h"
#include "typednumber.h"

#include <QLocale>

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
