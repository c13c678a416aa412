#include "masterdb.h"

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
