#include "listfilter.h"

QString customerPeriodConditions(const CustomerPeriod &filter, const QString &alias, const QString &dateColumn,
                                 QVariantMap *values)
{
    const QString column = alias + QLatin1Char('.');
    QString sql;
    if (filter.customerId > 0) {
        sql += QStringLiteral("AND ") + column + QStringLiteral("customer_id = :cid ");
        values->insert(QStringLiteral(":cid"), filter.customerId);
    }
    if (!filter.from.isEmpty()) {
        sql += QStringLiteral("AND ") + column + dateColumn + QStringLiteral(" >= :from ");
        values->insert(QStringLiteral(":from"), filter.from);
    }
    if (!filter.to.isEmpty()) {
        sql += QStringLiteral("AND ") + column + dateColumn + QStringLiteral(" <= :to ");
        values->insert(QStringLiteral(":to"), filter.to);
    }
    return sql;
}
