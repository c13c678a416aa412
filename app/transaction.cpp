#include "transaction.h"

#include <QSqlDatabase>
#include <QSqlError>

bool runInTransaction(const std::function<bool(QString *error)> &work, QString *error)
{
    QString message;
    QSqlDatabase db = QSqlDatabase::database();
    if (!db.transaction()) {
        message = db.lastError().text();
        if (message.isEmpty())
            message = QStringLiteral("could not start a transaction");
    } else if (!work(&message)) {
        db.rollback();
    } else if (!db.commit()) {
        message = db.lastError().text();
        db.rollback();
    } else {
        return true;
    }
    if (error)
        *error = message;
    return false;
}
