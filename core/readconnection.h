#pragma once
// Reading the company database off the GUI thread. A Qt SQL connection
// serves only the thread that made it: a worker thread opens a read-only
// connection of its own to the same file, and the functions that read for a
// printed document run their statements on readingDatabase(), the
// connection of the thread they run on.

#include <QSqlDatabase>
#include <QString>

#include <atomic>
#include <memory>

// The connection this thread reads on: the one a ReadConnection opened on
// it, else the default connection.
QSqlDatabase readingDatabase();

// The file of the default connection; empty when it is not an open file.
QString defaultDatabaseFile();

// A read-only connection to `path` on the calling thread, its
// readingDatabase() until the object goes; then closed and removed.
class ReadConnection
{
public:
    // Once `*stop` is true the statement running on it fails, as does every
    // later one: a reader stopped in the middle of a long statement ends at
    // once.
    explicit ReadConnection(const QString &path, std::shared_ptr<const std::atomic<bool>> stop = {});
    ~ReadConnection();
    ReadConnection(const ReadConnection &) = delete;
    ReadConnection &operator=(const ReadConnection &) = delete;

    bool isOpen() const { return m_open; }
    // Why it could not be opened.
    QString errorText() const { return m_error; }

private:
    QString m_name;
    QString m_previous; // the thread's reading connection before this one
    std::shared_ptr<const std::atomic<bool>> m_stop;
    bool m_open = false;
    QString m_error;
};
