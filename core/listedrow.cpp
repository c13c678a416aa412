#include "listedrow.h"

#include "boundquery.h"
#include "transaction.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

QString rowGoneText(const QString &row, bool nothingSaved)
{
    QString text = row + QStringLiteral(" no longer exists; it may have been deleted in another window.");
    if (nothingSaved)
        text += QStringLiteral(" Nothing was saved.");
    return text;
}

QString rowChangedText(const QString &row, const QString &how, const QString &outcome)
{
    return row + QStringLiteral(" was ") + (how.isEmpty() ? QStringLiteral("changed or deleted") : how)
           + QStringLiteral(" meanwhile, perhaps in another window. ")
           + (outcome.isEmpty() ? QStringLiteral("Nothing was saved.") : outcome);
}

namespace {

// One stored value against another as SQLite holds them: the driver gives
// an integer as qlonglong, a real as double, a text as QString, a blob as
// QByteArray and NULL as a null value of whatever type.
bool sameStoredValue(const QVariant &a, const QVariant &b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() && b.isNull();
    if (a.typeId() != b.typeId())
        return false;
    switch (a.typeId()) {
    case QMetaType::Double:
        return a.toDouble() == b.toDouble();
    case QMetaType::LongLong:
    case QMetaType::Int:
        return a.toLongLong() == b.toLongLong();
    case QMetaType::QByteArray:
        return a.toByteArray() == b.toByteArray();
    default:
        return a.toString() == b.toString();
    }
}

bool sameValues(const QVariantList &a, const QVariantList &b)
{
    if (a.size() != b.size())
        return false;
    for (int i = 0; i < a.size(); ++i) {
        if (!sameStoredValue(a.at(i), b.at(i)))
            return false;
    }
    return true;
}

QVariantList recordValues(const QSqlQuery &q, int first, int count)
{
    const int end = count < 0 ? q.record().count() : first + count;
    QVariantList values;
    values.reserve(end - first);
    for (int c = first; c < end; ++c)
        values.append(q.value(c));
    return values;
}

} // namespace

bool operator==(const StoredRow &a, const StoredRow &b)
{
    if (!sameValues(a.columns, b.columns) || a.dependents.size() != b.dependents.size())
        return false;
    for (int i = 0; i < a.dependents.size(); ++i) {
        if (!sameValues(a.dependents.at(i), b.dependents.at(i)))
            return false;
    }
    return true;
}

bool readStoredRow(const RowSource &source, const QVariant &key, StoredRow *row, QString *error)
{
    *row = StoredRow();
    const QVariantMap values{{QStringLiteral(":key"), key}};
    QSqlQuery q;
    q.setForwardOnly(true);
    if (!execBound(q,
                   QStringLiteral("SELECT * FROM ") + source.table + QStringLiteral(" WHERE ") + source.keyColumn
                       + QStringLiteral(" = :key"),
                   values, error))
        return false;
    if (!q.next())
        return true;
    row->columns = recordValues(q, 0, -1);
    if (source.dependentsSql.isEmpty())
        return true;
    QSqlQuery d;
    d.setForwardOnly(true);
    if (!execBound(d, source.dependentsSql, values, error)) {
        *row = StoredRow();
        return false;
    }
    while (d.next())
        row->dependents.append(recordValues(d, 0, -1));
    return true;
}

StoredRow storedRowOf(const QSqlQuery &q, int first, int count)
{
    StoredRow row;
    row.columns = recordValues(q, first, count);
    return row;
}

StoredRow storedRowOf(const StatementRow &row, int columnCount, int first, int count)
{
    StoredRow stored;
    const int end = count < 0 ? columnCount : first + count;
    stored.columns.reserve(end - first);
    for (int c = first; c < end; ++c)
        stored.columns.append(row.value(c));
    return stored;
}

QString listedRowRefusal(const RowSource &source, const QVariant &key, const StoredRow &loaded, const QString &row,
                         const QString &changedText)
{
    StoredRow now;
    QString error;
    if (!readStoredRow(source, key, &now, &error))
        return error.isEmpty() ? QStringLiteral("could not read ") + source.table : error;
    if (!now.found())
        return rowGoneText(row, true);
    if (now != loaded)
        return changedText.isEmpty() ? rowChangedText(row) : changedText;
    return QString();
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

bool writeLoadedRow(const QString &sql, const QVariantMap &values, const RowSource &source, const QVariant &key,
                    const StoredRow &loaded, const QString &row, QString *error,
                    const std::function<QString()> &refusal)
{
    return writeListedRow(sql, values, rowGoneText(row, true), error, [&] {
        if (QString reason = listedRowRefusal(source, key, loaded, row); !reason.isEmpty())
            return reason;
        return refusal ? refusal() : QString();
    });
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
