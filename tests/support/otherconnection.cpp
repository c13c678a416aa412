#include "otherconnection.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

OtherConnection::OtherConnection()
    : m_name(QStringLiteral("other copy"))
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    db.setDatabaseName(QSqlDatabase::database().databaseName());
    if (!db.open())
        qFatal("other copy: %s", qPrintable(db.lastError().text()));
}

OtherConnection::~OtherConnection()
{
    QSqlDatabase::database(m_name, false).close();
    QSqlDatabase::removeDatabase(m_name);
}

void OtherConnection::exec(const QString &sql)
{
    QSqlQuery q(QSqlDatabase::database(m_name));
    if (!q.exec(sql))
        qFatal("other copy: %s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
}
