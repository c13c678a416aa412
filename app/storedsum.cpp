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

QString microsInRupees(const QString &statement)
{
    return QStringLiteral("SELECT (") + statement + QStringLiteral(") / 1000000.0");
}
