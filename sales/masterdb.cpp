#include "masterdb.h"

#include "core/transaction.h"

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

MasterWrite writeMasterRow(const std::function<QString(bool *stale)> &refusal,
                           const std::function<bool(bool *duplicate, QString *failure)> &write, QString *error)
{
    bool duplicate = false;
    bool stale = false;
    const bool written = runInTransaction(
        [&](QString *failure) {
            if (const QString reason = refusal ? refusal(&stale) : QString(); !reason.isEmpty()) {
                *failure = reason;
                return false;
            }
            return write(&duplicate, failure);
        },
        error);
    if (written)
        return MasterWrite::Written;
    return duplicate ? MasterWrite::Duplicate : stale ? MasterWrite::Stale : MasterWrite::Failed;
}

QString masterUpdateRefusal(const RowSource &source, int id, const StoredRow &loaded, const QString &row,
                            const QString &noun, bool *stale)
{
    return listedRowRefusalWithWayOn(
        source, id, loaded, row,
        QStringLiteral("What you typed stays in the fields: press Reset to list the %1 as it is now, then select it "
                       "and press Edit to load it in place of what you typed.")
            .arg(noun),
        QStringLiteral("What you typed stays in the fields: press Add to save it as a new %1.").arg(noun), stale);
}

bool deleteMasterRow(const RowSource &source, int id, const StoredRow &loaded, const QString &row,
                     const QString &noun, const QString &sql, const std::function<QString()> &deletionRefusal,
                     QString *error)
{
    const QString wayOn =
        QStringLiteral("Press Reset to list the %1 as it is now, then select it and press Delete again.").arg(noun);
    return runInTransaction(
        [&](QString *failure) {
            *failure = listedRowRefusalWithWayOn(source, id, loaded, row, wayOn, QString());
            if (failure->isEmpty())
                *failure = deletionRefusal();
            return failure->isEmpty()
                   && execListedRow(sql, {{QStringLiteral(":id"), id}}, rowGoneText(row, true), failure);
        },
        error);
}
