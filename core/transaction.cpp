#include "transaction.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

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
    QString message;
    if (!control.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
        message = failed(QStringLiteral("could not start a transaction"));
    } else if (!work(&message)) {
        control.exec(QStringLiteral("ROLLBACK"));
    } else if (!control.exec(QStringLiteral("COMMIT"))) {
        message = failed(QStringLiteral("could not commit the transaction"));
        control.exec(QStringLiteral("ROLLBACK"));
    } else {
        return true;
    }
    if (error)
        *error = message;
    return false;
}
