#include "storedlines.h"

#include "core/boundquery.h"

#include <QSqlQuery>
#include <QSqlRecord>

bool readStoredLines(const QString &sql, const QVariantMap &values, StoredRow *lines, QString *error)
{
    *lines = StoredRow();
    QSqlQuery q;
    q.setForwardOnly(true);
    if (!execBound(q, sql, values, error))
        return false;
    const int columns = q.record().count();
    while (q.next())
        lines->dependents.append(storedRowOf(q, 0, columns).columns);
    return true;
}

bool storedLinesAre(const QString &sql, const QVariantMap &values, const StoredRow &loaded, bool *same,
                    QString *error)
{
    StoredRow now;
    if (!readStoredLines(sql, values, &now, error))
        return false;
    *same = !loaded.dependents.isEmpty() && now == loaded;
    return true;
}
