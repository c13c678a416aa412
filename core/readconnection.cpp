#include "readconnection.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QVariant>

#include <sqlite3.h>

namespace {

thread_local QString t_readingConnection;

int stopRequested(void *stop)
{
    return static_cast<const std::atomic<bool> *>(stop)->load() ? 1 : 0;
}

} // namespace

QSqlDatabase readingDatabase()
{
    return t_readingConnection.isEmpty() ? QSqlDatabase::database()
                                         : QSqlDatabase::database(t_readingConnection, false);
}

QString defaultDatabaseFile()
{
    const QSqlDatabase db = QSqlDatabase::database(QSqlDatabase::defaultConnection, false);
    const QString name = db.databaseName();
    if (!db.isOpen() || name.isEmpty() || name == QLatin1String(":memory:"))
        return QString();
    return name;
}

ReadConnection::ReadConnection(const QString &path, std::shared_ptr<const std::atomic<bool>> stop)
    : m_name(QStringLiteral("reading_%1").arg(quintptr(this), 0, 16))
    , m_previous(t_readingConnection)
    , m_stop(std::move(stop))
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    db.setDatabaseName(path);
    // Another copy of the program may be writing: wait for its lock as the
    // program's own connection does.
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=5000"));
    m_open = !path.isEmpty() && db.open();
    if (!m_open) {
        m_error = path.isEmpty() ? QStringLiteral("No database is open.") : db.lastError().text();
    } else if (m_stop) {
        const QVariant handle = db.driver()->handle();
        if (handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0) {
            sqlite3 *sqlite = *static_cast<sqlite3 *const *>(handle.data());
            // Asked every thousand steps of a statement.
            sqlite3_progress_handler(sqlite, 1000, stopRequested,
                                     const_cast<std::atomic<bool> *>(m_stop.get()));
        }
    }
    t_readingConnection = m_name;
}

ReadConnection::~ReadConnection()
{
    t_readingConnection = m_previous;
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
}
