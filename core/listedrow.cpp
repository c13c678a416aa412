#include "listedrow.h"

#include "boundquery.h"
#include "transaction.h"

#include <QSqlQuery>

bool execListedRow(const QString &sql, const QVariantMap &values, const QString &goneText, QString *error)
{
    QSqlQuery q;
    if (!execBound(q, sql, values, error))
        return false;
    // SQLite counts every row its WHERE matched, changed or not.
    if (q.numRowsAffected() < 1) {
        if (error)
            *error = goneText;
        return false;
    }
    return true;
}

bool writeListedRow(const QString &sql, const QVariantMap &values, const QString &goneText, QString *error)
{
    return runInTransaction([&](QString *failure) { return execListedRow(sql, values, goneText, failure); },
                            error);
}
