#include "storedsum.h"

#include <QString>
#include <QVariant>

namespace {
constexpr int MicroScale = 6;
}

Decimal fromMicros(const QVariant &sum)
{
    return Decimal(sum.toLongLong(), MicroScale);
}

Decimal fromStoredList(const QVariant &list)
{
    Decimal sum;
    const QString text = list.toString();
    for (const QStringView value : QStringView(text).split(QLatin1Char(' '), Qt::SkipEmptyParts))
        sum = sum + Decimal::fromText(value.toString()).value_or(Decimal());
    return sum;
}

QString microsInRupees(const QString &statement)
{
    return QStringLiteral("SELECT (") + statement + QStringLiteral(") / 1000000.0");
}
