#include "secondconnection.h"

#include <QSemaphore>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>

#include <memory>

namespace {

// `beforeCommit` runs just before the commit.
void writeOnConnection(const QString &file, const QString &statements, const std::function<void()> &beforeCommit)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "other copy");
        db.setDatabaseName(file);
        if (!db.open())
            qFatal("other copy: %s", qPrintable(db.lastError().text()));
        QSqlQuery q(db);
        for (const QString &sql : ("BEGIN IMMEDIATE;" + statements + ";COMMIT").split(';', Qt::SkipEmptyParts)) {
            if (sql == "COMMIT")
                beforeCommit();
            if (!q.exec(sql))
                qFatal("other copy: %s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
        }
    }
    QSqlDatabase::removeDatabase("other copy");
}

} // namespace

void writeAsOtherCopy(const QString &statements)
{
    writeOnConnection(QSqlDatabase::database().databaseName(), statements, [] {});
}

void saveWhileOtherCopyWrites(const QString &statements, const std::function<void()> &save)
{
    QSemaphore written;
    const std::unique_ptr<QThread> other(QThread::create([&, file = QSqlDatabase::database().databaseName()] {
        writeOnConnection(file, statements, [&written] {
            written.release();
            QThread::msleep(300);
        });
    }));
    other->start();
    written.acquire();
    save();
    other->wait();
}
