#include "companydb.h"

#include <QFile>
#include <QFileInfo>
#include <QMetaObject>
#include <QObject>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>

#include <functional>
#include <future>
#include <mutex>

namespace CompanyDb {

const char *const DefaultKey = "MorvelCoats";
const char *const EmptyFileMessage = "The file is empty (0 bytes): it holds no company data.";

QString readCompanyKey(const QString &folder)
{
    QString key = QString::fromLatin1(DefaultKey);
    QFile cfg(folder + "/company.cfg");
    if (cfg.open(QIODevice::ReadOnly | QIODevice::Text)) {
        QTextStream in(&cfg);
        const QString text = in.readAll().trimmed();
        if (!text.isEmpty())
            key = text;
        cfg.close();
    } else if (cfg.open(QIODevice::WriteOnly | QIODevice::Text)) {
        QTextStream out(&cfg);
        out << DefaultKey;
        cfg.close();
    }
    return key;
}

QString databasePath(const QString &folder, const QString &key)
{
    return folder + "/" + key + ".db";
}

QString quickCheckProblem(const QStringList &found)
{
    if (found == QStringList{QStringLiteral("ok")})
        return QString();
    // The first problem, without the heading naming the schema.
    QString first = found.value(0);
    if (first.startsWith(QLatin1String("*** in database")))
        first = first.section(QLatin1Char('\n'), 1, 1);
    if (first.isEmpty())
        first = found.value(1);
    return first.isEmpty() ? QStringLiteral("the quick check gave no answer") : first;
}

namespace {

const int SqliteReadOnly = 8;
const int SqliteCorrupt = 11;
const int SqliteNotADatabase = 26;

int primaryCode(const QSqlError &error)
{
    return error.nativeErrorCode().toInt() & 0xff;
}

// The quick check on a connection that is opened with `options` and dropped
// afterwards; `readOnlyRollback` tells that the file has a journal to roll
// back, which a read-only connection cannot do.
FileCheck quickCheck(const QString &path, const QString &options, bool *readOnlyRollback)
{
    const QString name = QStringLiteral("kestrova_quick_check");
    FileCheck result;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.setConnectOptions(options);
        QSqlError error;
        QStringList found;
        if (db.open()) {
            QSqlQuery q(db);
            if (q.exec(QStringLiteral("PRAGMA quick_check"))) {
                while (q.next())
                    found << q.value(0).toString();
            }
            error = q.lastError();
            db.close();
        } else {
            error = db.lastError();
        }

        if (error.isValid()) {
            const int code = primaryCode(error);
            *readOnlyRollback = code == SqliteReadOnly;
            result.state = code == SqliteCorrupt || code == SqliteNotADatabase ? FileCheck::Damaged
                                                                                : FileCheck::Unreadable;
            result.message = error.databaseText().isEmpty() ? error.text() : error.databaseText();
        } else if (found != QStringList{QStringLiteral("ok")}) {
            result.state = FileCheck::Damaged;
            result.message = quickCheckProblem(found);
        }
    }
    QSqlDatabase::removeDatabase(name);
    return result;
}

} // namespace

FileCheck checkDatabaseFile(const QString &path)
{
    const QFileInfo file(path);
    if (!file.exists())
        return {};
    // SQLite takes an empty file for a new database, but a company file that
    // exists and holds nothing was emptied (a failed copy, a full disk).
    if (file.size() == 0)
        return {FileCheck::Damaged, QString::fromLatin1(EmptyFileMessage)};
    bool readOnlyRollback = false;
    FileCheck result = quickCheck(path, QStringLiteral("QSQLITE_OPEN_READONLY"), &readOnlyRollback);
    if (result.state != FileCheck::Unreadable || !readOnlyRollback || !QFileInfo::exists(path + "-journal"))
        return result;

    // A write was cut off (power cut, crash) and its journal waits to be rolled
    // back. SQLite does that on the program's first statement; whether the
    // rolled-back file is sound is found out on a copy, so that a damaged file
    // is not written to by the rollback either.
    QTemporaryDir scratch;
    const QString copy = scratch.path() + "/check.db";
    if (!scratch.isValid() || !QFile::copy(path, copy) || !QFile::copy(path + "-journal", copy + "-journal"))
        return result;
    return quickCheck(copy, QString(), &readOnlyRollback);
}

namespace {

struct StartedCheck
{
    QString path;
    std::future<FileCheck> result;
    std::mutex mutex; // guards what follows
    bool done = false;
    QObject *receiver = nullptr;
    std::function<void()> whenDone;
};

StartedCheck &startedCheck()
{
    static StartedCheck started;
    return started;
}

// Runs `whenDone` on the receiver's thread, once its events are processed.
void post(QObject *receiver, const std::function<void()> &whenDone)
{
    QMetaObject::invokeMethod(receiver, whenDone, Qt::QueuedConnection);
}

} // namespace

void startDatabaseCheck(const QString &path)
{
    StartedCheck &started = startedCheck();
    if (started.result.valid())
        started.result.wait();
    started.path = path;
    {
        std::lock_guard<std::mutex> lock(started.mutex);
        started.done = false;
        started.receiver = nullptr;
    }
    started.result = std::async(std::launch::async, [path, &started] {
        const FileCheck result = checkDatabaseFile(path);
        std::lock_guard<std::mutex> lock(started.mutex);
        started.done = true;
        if (started.receiver)
            post(started.receiver, started.whenDone);
        started.receiver = nullptr;
        return result;
    });
}

bool databaseCheckStarted(const QString &path)
{
    const StartedCheck &started = startedCheck();
    return started.result.valid() && started.path == path;
}

void whenDatabaseChecked(QObject *receiver, const std::function<void()> &whenDone)
{
    StartedCheck &started = startedCheck();
    std::lock_guard<std::mutex> lock(started.mutex);
    if (started.done) {
        post(receiver, whenDone);
        return;
    }
    started.receiver = receiver;
    started.whenDone = whenDone;
}

void forgetDatabaseCheckReceiver(QObject *receiver)
{
    StartedCheck &started = startedCheck();
    std::lock_guard<std::mutex> lock(started.mutex);
    if (started.receiver == receiver)
        started.receiver = nullptr;
}

FileCheck databaseCheckResult(const QString &path)
{
    StartedCheck &started = startedCheck();
    if (started.result.valid()) {
        const FileCheck result = started.result.get();
        if (started.path == path)
            return result;
    }
    return checkDatabaseFile(path);
}

QString damagedFileText(const QString &path, const QString &message)
{
    return QStringLiteral("The database file %1 is damaged. It can be restored from a backup.\n\n%2")
        .arg(path, message);
}

bool openDatabase(const QString &folder, const QString &key, QString *error)
{
    QSqlDatabase db = QSqlDatabase::contains(QSqlDatabase::defaultConnection)
                          ? QSqlDatabase::database(QSqlDatabase::defaultConnection, false)
                          : QSqlDatabase::addDatabase("QSQLITE");
    if (db.isOpen())
        db.close();
    db.setDatabaseName(databasePath(folder, key));
    if (!db.open()) {
        if (error)
            *error = db.lastError().text();
        return false;
    }
    return true;
}

namespace {

// Whether the core tables and their seeds are all there, found by reading
// alone: a start with nothing to write takes no write lock, so another
// program holding the file open does not hold it up. A table that is missing
// makes the statement fail, which means there is something to write.
bool coreSchemaComplete()
{
    QSqlQuery q;
    return q.exec("SELECT (SELECT COUNT(*) FROM pragma_table_info('company_settings') WHERE name = 'bank_details') = 1"
                  " AND EXISTS (SELECT 1 FROM users)"
                  " AND EXISTS (SELECT 1 FROM financial_years WHERE fy_name = '26-27')"
                  " AND (SELECT COUNT(*) FROM modules WHERE module_name IN"
                  " ('expenses', 'purchase', 'sales', 'salary', 'inventory')) = 5"
                  " AND EXISTS (SELECT 1 FROM company_settings WHERE id = 1)")
           && q.next() && q.value(0).toInt() == 1;
}

QString reasonOf(const QSqlQuery &q)
{
    const QSqlError error = q.lastError();
    return error.databaseText().isEmpty() ? error.text() : error.databaseText();
}

} // namespace

bool createCoreSchema(QString *error)
{
    if (coreSchemaComplete())
        return true;

    // One write transaction: while another program holds the file, start-up
    // waits the busy timeout once, at its beginning or at its commit, and
    // then gives up with SQLite's reason.
    QSqlQuery q;
    if (!q.exec("BEGIN IMMEDIATE")) {
        if (error)
            *error = reasonOf(q);
        return false;
    }
    q.exec("CREATE TABLE IF NOT EXISTS users (id INTEGER PRIMARY KEY AUTOINCREMENT, username TEXT UNIQUE, password TEXT)");
    // The default login is seeded only into an empty table: once the user has
    // changed the credentials the well-known default must not come back.
    q.exec("INSERT INTO users (username, password) SELECT 'pravo', 'pravo' WHERE NOT EXISTS (SELECT 1 FROM users)");
    q.exec("CREATE TABLE IF NOT EXISTS financial_years (fy_id INTEGER PRIMARY KEY AUTOINCREMENT, fy_name TEXT UNIQUE, is_active INTEGER DEFAULT 0, is_released INTEGER DEFAULT 1)");
    q.exec("INSERT OR IGNORE INTO financial_years (fy_name, is_active, is_released) VALUES ('26-27', 1, 1)");
    q.exec("CREATE TABLE IF NOT EXISTS modules (module_name TEXT PRIMARY KEY, is_enabled INTEGER DEFAULT 1)");
    q.exec("INSERT OR IGNORE INTO modules (module_name, is_enabled) VALUES ('expenses', 1)");
    q.exec("INSERT OR IGNORE INTO modules (module_name, is_enabled) VALUES ('purchase', 1)");
    q.exec("INSERT OR IGNORE INTO modules (module_name, is_enabled) VALUES ('sales', 1)");
    q.exec("INSERT OR IGNORE INTO modules (module_name, is_enabled) VALUES ('salary', 1)");
    q.exec("INSERT OR IGNORE INTO modules (module_name, is_enabled) VALUES ('inventory', 1)");
    q.exec("CREATE TABLE IF NOT EXISTS company_settings (id INTEGER PRIMARY KEY, company_name TEXT, address_line1 TEXT, address_line2 TEXT, phone TEXT, email TEXT, gst_no TEXT)");
    q.exec("ALTER TABLE company_settings ADD COLUMN bank_details TEXT");
    q.exec("INSERT OR IGNORE INTO company_settings (id, company_name, address_line1, address_line2, phone, email, gst_no) VALUES (1, 'Your Company Name', 'Address Line 1', 'Address Line 2', '', '', '')");
    if (!q.exec("COMMIT")) {
        if (error)
            *error = reasonOf(q);
        q.exec("ROLLBACK");
        return false;
    }
    return true;
}

} // namespace CompanyDb
