#include "boundquery.h"

#include <QSqlError>

bool execBound(QSqlQuery &q, const QString &sql, const QVariantMap &values, QString *error)
{
    bool ok = q.prepare(sql);
    if (ok) {
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            q.bindValue(it.key(), it.value());
        ok = q.exec();
    }
    if (!ok && error)
        *error = q.lastError().text();
    return ok;
}
