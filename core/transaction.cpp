#include "transaction.h"

#include "boundquery.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <sqlite3.h>

bool runInTransaction(const std::function<bool(QString *error)> &work, QString *error)
{
    // The driver's own transaction() begins with a plain "BEGIN", which
    // takes no lock until the first write: a read before it could be
    // overtaken, and the write after a read cannot wait for the lock. The
    // statements are run here instead, on the same connection.
    QSqlQuery control(QSqlDatabase::database());
    const auto failed = [&control](const QString &fallback) {
        const QString text = control.lastError().text();
        return text.trimmed().isEmpty() ? fallback : text;
    };
    // Inside an open transaction, a savepoint of it.
    sqlite3 *handle = defaultSqliteHandle();
    const bool joined = handle && !sqlite3_get_autocommit(handle);
    const auto rollBack = [&control, joined] {
        if (!joined) {
            control.exec(QStringLiteral("ROLLBACK"));
            return;
        }
        control.exec(QStringLiteral("ROLLBACK TO joined"));
        control.exec(QStringLiteral("RELEASE joined"));
    };
    QString message;
    if (!control.exec(joined ? QStringLiteral("SAVEPOINT joined") : QStringLiteral("BEGIN IMMEDIATE"))) {
        message = failed(QStringLiteral("could not start a transaction"));
    } else if (!work(&message)) {
        rollBack();
    } else if (!control.exec(joined ? QStringLiteral("RELEASE joined") : QStringLiteral("COMMIT"))) {
        message = failed(QStringLiteral("could not commit the transaction"));
        rollBack();
    } else {
        return true;
    }
    if (error)
        *error = message;
    return false;
}
