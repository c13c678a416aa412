#include "secondconnection.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

void writeAsOtherCopy(const QString &statements)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "other copy");
        db.setDatabaseName(QSqlDatabase::database().databaseName());
        if (!db.open())
            qFatal("other copy: %s", qPrintable(db.lastError().text()));
        QSqlQuery q(db);
        for (const QString &sql : ("BEGIN IMMEDIATE;" + statements + ";COMMIT").split(';', Qt::SkipEmptyParts)) {
            if (!q.exec(sql))
                qFatal("other copy: %s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
        }
    }
    QSqlDatabase::removeDatabase("other copy");
}
