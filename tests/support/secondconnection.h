#pragma once
// Another copy of the program on the same company file: a second connection.

#include <QSqlDatabase>
#include <QSqlQuery>

inline bool execAsOtherCopy(const QString &sql)
{
    bool ok = false;
    {
        QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "other copy");
        other.setDatabaseName(QSqlDatabase::database().databaseName());
        ok = other.open() && QSqlQuery(other).exec(sql);
    }
    QSqlDatabase::removeDatabase("other copy");
    return ok;
}
