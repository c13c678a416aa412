#include "backup.h"

#include "core/companydb.h"
#include "output/wholefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <sqlite3.h>

namespace Backup {

namespace {

const int BusyTimeoutMs = 5000; // as the program's own connection waits

// An SQLite connection of the C interface, closed when it goes.
class Connection
{
public:
    Connection(const QString &path, int flags)
    {
        if (sqlite3_open_v2(path.toUtf8().constData(), &m_db, flags, nullptr) != SQLITE_OK)
            m_openError = error();
        sqlite3_busy_timeout(m_db, BusyTimeoutMs);
    }
    ~Connection() { sqlite3_close(m_db); }
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    sqlite3 *handle() const { return m_db; }
    bool isOpen() const { return m_db && m_openError.isEmpty(); }
    QString openError() const { return m_openError; }
    QString error() const { return m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QStringLiteral("out of memory"); }
    bool exec(const char *sql) { return sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) == SQLITE_OK; }

    // SQLite's quick check: true when it found the file sound; otherwise
    // false with the reason (the check's first problem, or why it could not run).
    bool quickCheck(QString *reason, const QString &damaged)
    {
        sqlite3_stmt *statement = nullptr;
        if (sqlite3_prepare_v2(m_db, "PRAGMA quick_check", -1, &statement, nullptr) != SQLITE_OK) {
            *reason = error();
            return false;
        }
        QStringList found;
        int rc;
        while ((rc = sqlite3_step(statement)) == SQLITE_ROW)
            found << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, 0)));
        sqlite3_finalize(statement); // leaves the failed step's message on the connection
        if (rc != SQLITE_DONE) {
            *reason = error();
            return false;
        }
        const QString problem = CompanyDb::quickCheckProblem(found);
        if (!problem.isEmpty())
            *reason = damaged + problem;
        return problem.isEmpty();
    }

private:
    sqlite3 *m_db = nullptr;
    QString m_openError;
};

// The source of one backup, read by a read-only connection of its own (what
// is on the disk, not pages a connection of the program keeps in memory) in
// one read transaction from its check to the end of its last copy: every
// copy is of the snapshot that was checked, whatever another program commits
// meanwhile. The program itself has no write open while a backup runs.
class Source
{
public:
    explicit Source(const QString &database)
        : m_connection(database, SQLITE_OPEN_READONLY)
    {
        if (!m_connection.isOpen()) {
            m_problem = m_connection.openError();
            return;
        }
        if (!m_connection.exec("BEGIN")) {
            m_problem = m_connection.error();
            return;
        }
        m_inTransaction = true;
        // The quick check reads every page: it also opens the snapshot.
        if (m_connection.quickCheck(&m_problem, QStringLiteral("The database file is damaged: ")) && isEmpty())
            m_problem = QStringLiteral("The database file is damaged: ") + CompanyDb::EmptyFileMessage;
    }
    ~Source()
    {
        if (m_inTransaction)
            m_connection.exec("ROLLBACK");
    }

    // Writes the checked snapshot into a temporary file beside `target`,
    // checks the copy, and lets it take the target's name (replacing a backup
    // of the same name). A copy that fails leaves nothing behind.
    bool copyInto(const QString &target, QString *reason)
    {
        if (!m_problem.isEmpty()) {
            *reason = m_problem;
            return false;
        }
        WholeFile::Pending pending(target);
        if (!pending.isValid()) {
            *reason = pending.errorString();
            return false;
        }
        const QString temporary = pending.temporaryPath();
        bool written = false;
        {
            Connection copy(temporary, SQLITE_OPEN_READWRITE);
            // No journal: a copy that fails is thrown away whole.
            written = copy.isOpen() && copy.exec("PRAGMA journal_mode = OFF") && pageCopy(copy, reason)
                      && copy.quickCheck(reason, QStringLiteral("The copy failed its check: "));
            if (!copy.isOpen())
                *reason = copy.openError();
        }
        for (const char *beside : {"-journal", "-wal", "-shm"})
            QFile::remove(temporary + QLatin1String(beside));
        if (!written)
            return false;
        if (!pending.commit()) {
            *reason = pending.errorString();
            return false;
        }
        return true;
    }

private:
    // Whether the snapshot has no page at all: SQLite reads an empty file as
    // a sound, empty database, but a company file that holds nothing was
    // emptied, and its copy would be a backup of no company.
    bool isEmpty()
    {
        sqlite3_stmt *statement = nullptr;
        bool empty = false;
        if (sqlite3_prepare_v2(m_connection.handle(), "PRAGMA page_count", -1, &statement, nullptr) == SQLITE_OK
            && sqlite3_step(statement) == SQLITE_ROW)
            empty = sqlite3_column_int64(statement, 0) == 0;
        sqlite3_finalize(statement);
        return empty;
    }

    bool pageCopy(Connection &copy, QString *reason)
    {
        sqlite3_backup *backup = sqlite3_backup_init(copy.handle(), "main", m_connection.handle(), "main");
        if (!backup) {
            *reason = copy.error();
            return false;
        }
        const int stepped = sqlite3_backup_step(backup, -1);
        const int finished = sqlite3_backup_finish(backup);
        if (stepped == SQLITE_DONE && finished == SQLITE_OK)
            return true;
        *reason = finished != SQLITE_OK ? copy.error() : QString::fromUtf8(sqlite3_errstr(stepped));
        return false;
    }

    Connection m_connection;
    bool m_inTransaction = false;
    QString m_problem; // why the source cannot be copied; empty when it is sound and held
};

// Removes what an earlier backup of this company left in `folder` when it
// was cut off (the program killed, the computer switched off): its temporary
// copies and their journals. Files of other companies and any other file are
// left alone.
void removeLeftovers(const QString &folder, const QString &key)
{
    const QRegularExpression leftover(QStringLiteral("^%1_\\d{4}-\\d{2}-\\d{2}_\\d{6}\\.db\\.[A-Za-z0-9]+\\.tmp(-journal|-wal|-shm)?$")
                                          .arg(QRegularExpression::escape(key)));
    const QStringList files = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : files) {
        if (leftover.match(name).hasMatch())
            QFile::remove(folder + QLatin1Char('/') + name);
    }
}

} // namespace

QString timeStamp(const QDateTime &when)
{
    return when.toString(QStringLiteral("yyyy-MM-dd_HHmmss"));
}

QString backupFileName(const QString &key, const QString &stamp)
{
    return key + "_" + stamp + ".db";
}

QString companyKey(const QString &folder)
{
    // Start-up creates a missing file; the backup only reads one that is there.
    if (!QFileInfo(folder + "/company.cfg").isReadable())
        return QString::fromLatin1(CompanyDb::DefaultKey);
    return CompanyDb::readCompanyKey(folder);
}

QString firstExistingFolder(const QStringList &candidates)
{
    for (const QString &candidate : candidates) {
        if (QFileInfo(candidate).isDir())
            return candidate;
    }
    return QString();
}

QString reportText(const Report &report)
{
    const auto reason = [](const QString &error) {
        return error.isEmpty() ? QString() : QStringLiteral("\nReason: ") + error;
    };
    QString text = QStringLiteral("Local Backup: ");
    text += report.localOk ? QStringLiteral("✅ Success") : QStringLiteral("❌ Failed");
    text += QStringLiteral("\nLocation: ") + report.localTarget;
    if (!report.localOk)
        text += reason(report.localError);
    text += QStringLiteral("\n\n");
    if (report.driveOk)
        text += QStringLiteral("Google Drive Backup: ✅ Success\nLocation: ") + report.driveTarget;
    else
        text += QStringLiteral("Google Drive Backup: ⚠️ Not found or failed\n"
                               "Please ensure Google Drive for Desktop is running and signed in.")
                + reason(report.driveError);
    return text;
}

Report run(const QString &folder, const QString &key, const QDateTime &when,
           const QString &localFolder, const QStringList &driveCandidates)
{
    Report report;
    const QString database = CompanyDb::databasePath(folder, key);
    const QString fileName = backupFileName(key, timeStamp(when));

    if (!QFile::exists(database)) {
        report.text = QStringLiteral("Database file not found!\nExpected: ") + database;
        return report;
    }
    report.databaseFound = true;

    QDir().mkpath(localFolder);
    report.localTarget = QFileInfo(localFolder + "/" + fileName).absoluteFilePath();
    removeLeftovers(localFolder, key);
    const QString root = firstExistingFolder(driveCandidates);
    QString driveFolder;
    if (!root.isEmpty()) {
        driveFolder = root + "/" + key + "_Backups";
        report.driveTarget = driveFolder + "/" + fileName;
        if (QDir().mkpath(driveFolder)) {
            removeLeftovers(driveFolder, key);
        } else {
            report.driveError = QStringLiteral("The folder %1 could not be created").arg(driveFolder);
            driveFolder.clear();
        }
    }

    Source source(database);
    report.localOk = source.copyInto(report.localTarget, &report.localError);
    if (!driveFolder.isEmpty())
        report.driveOk = source.copyInto(report.driveTarget, &report.driveError);

    report.text = reportText(report);
    return report;
}

QString localBackupFolder()
{
#ifdef Q_OS_WIN
    return QStringLiteral("D:/MCMainSoftware_Backup");
#else
    return QDir::homePath() + QStringLiteral("/MCMainSoftware_Backup");
#endif
}

QStringList driveRootCandidates()
{
    QStringList candidates;
#ifdef Q_OS_WIN
    for (char letter = 'G'; letter <= 'Z'; ++letter)
        candidates << QStringLiteral("%1:/My Drive").arg(QChar::fromLatin1(letter));
#endif
    QString home = qEnvironmentVariable("USERPROFILE");
    if (home.isEmpty())
        home = QDir::homePath();
    candidates << home + QStringLiteral("/Google Drive/My Drive") << home + QStringLiteral("/My Drive")
               << home + QStringLiteral("/Google Drive");
    return candidates;
}

} // namespace Backup
