#include "listedrow.h"

#include "boundquery.h"
#include "transaction.h"

#include <QSqlQuery>
#include <QVariant>

QString rowGoneText(const QString &row, bool nothingSaved)
{
    QString text = row + QStringLiteral(" no longer exists; it may have been deleted in another window.");
    if (nothingSaved)
        text += QStringLiteral(" Nothing was saved.");
    return text;
}

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

bool writeListedRow(const QString &sql, const QVariantMap &values, const QString &goneText, QString *error,
                    const std::function<QString()> &refusal)
{
    return runInTransaction(
        [&](QString *failure) {
            if (const QString reason = refusal ? refusal() : QString(); !reason.isEmpty()) {
                *failure = reason;
                return false;
            }
            return execListedRow(sql, values, goneText, failure);
        },
        error);
}

bool readRowIds(const QString &sql, const QVariantMap &values, QList<int> *ids, QString *error)
{
    QSqlQuery q;
    if (!execBound(q, sql, values, error))
        return false;
    while (q.next())
        ids->append(q.value(0).toInt());
    return true;
}

bool rowIdsAre(const QString &sql, const QVariantMap &values, const QList<int> &loadedIds, bool *same,
               QString *error)
{
    QList<int> ids;
    if (!readRowIds(sql, values, &ids, error))
        return false;
    *same = !loadedIds.isEmpty() && ids == loadedIds;
    return true;
}
