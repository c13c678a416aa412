#include "masterdb.h"

#include "core/boundquery.h"

#include <QSqlQuery>
#include <QVariant>

QStringList documentsUsing(const QString &column, int id, const QList<QPair<QString, QString>> &tables)
{
    QStringList uses;
    for (const auto &table : tables) {
        QSqlQuery q;
        q.prepare(QString("SELECT 1 FROM %1 WHERE %2 = :id LIMIT 1").arg(table.first, column));
        q.bindValue(":id", id);
        if (q.exec() && q.next())
            uses << table.second;
    }
    return uses;
}

QString stillUsedText(const QString &what, const QStringList &uses)
{
    return QString("%1 is still used by %2!\nIt cannot be deleted.").arg(what, uses.join(", "));
}

MasterWrite writeMasterRow(const QList<LoadedRow> &listed,
                           const std::function<bool(bool *duplicate, QString *failure)> &write, QString *error)
{
    bool duplicate = false;
    const RowWrite outcome = writeLoadedRows(listed, [&](QString *failure) { return write(&duplicate, failure); });
    if (outcome.ok(error))
        return MasterWrite::Written;
    return duplicate ? MasterWrite::Duplicate
                     : outcome.result == ListedWrite::Stale ? MasterWrite::Stale : MasterWrite::Failed;
}

LoadedRow masterUpdateRow(const RowSource &source, int id, const StoredRow &loaded, const QString &row,
                          const QString &noun)
{
    LoadedRow listed(source, id, loaded, row);
    listed.changedWayOn = QStringLiteral("What you typed stays in the fields: press Reset to list the %1 as it is "
                                         "now, then select it and press Edit to load it in place of what you typed.")
                              .arg(noun);
    listed.goneWayOn = QStringLiteral("What you typed stays in the fields: press Add to save it as a new %1.").arg(noun);
    return listed;
}

bool deleteMasterRow(const RowSource &source, int id, const StoredRow &loaded, const QString &row,
                     const QString &noun, const QString &sql, const std::function<QString()> &deletionRefusal,
                     QString *error)
{
    LoadedRow listed(source, id, loaded, row);
    listed.changedWayOn =
        QStringLiteral("Press Reset to list the %1 as it is now, then select it and press Delete again.").arg(noun);
    return writeLoadedRows({listed}, [&](QString *failure) {
               *failure = deletionRefusal();
               QSqlQuery q;
               return failure->isEmpty() && execBound(q, sql, {{QStringLiteral(":id"), id}}, failure);
           })
        .ok(error);
}
