#include "figurebound.h"


#include <QLocale>

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

QString figureTooLargeToAddText(const QString &field, const QString &shown)
{
    return QStringLiteral("%1 %2 is too large to be added up exactly; nothing was written.").arg(field, shown);
}

QString storedFigureTooLargeText(const QString &row, const QString &field, const QString &shown)
{
    return QStringLiteral("%1: %2 %3 is too large to work with: the program works exactly only below "
                          "1,000,000,000,000,000.")
        .arg(row, field, shown);
}
