#include "backup.h"

#include "companydb.h"
#include "wholefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace Backup {

namespace {

// Has SQLite write the database as it stands after its last committed
// transaction into a temporary file beside the target, which then takes the
// target's name (replacing a backup of the same name). A copy that fails
// leaves nothing under the target's name that was not there before.
bool snapshotInto(const QSqlDatabase &db, const QString &target, QString *reason)
{
    WholeFile::Pending pending(target);
    if (!pending.isValid()) {
        *reason = pending.errorString();
        return false;
    }
    QSqlQuery q(db);
    q.prepare(QStringLiteral("VACUUM INTO :path"));
    q.bindValue(QStringLiteral(":path"), pending.temporaryPath());
    if (!q.exec()) {
        const QSqlError error = q.lastError();
        *reason = error.databaseText().isEmpty() ? error.text() : error.databaseText();
        return false;
    }
    if (!pending.commit()) {
        *reason = pending.errorString();
        return false;
    }
    return true;
}

bool sameFile(const QString &a, const QString &b)
{
    const QString canonical = QFileInfo(a).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(b).canonicalFilePath();
}

const char *const OwnConnection = "kestrova_backup_source";

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

    const QSqlDatabase program = QSqlDatabase::database(QSqlDatabase::defaultConnection, false);
    const bool ownConnection = !(program.isOpen() && sameFile(program.databaseName(), database));
    {
        QSqlDatabase db = program;
        if (ownConnection) {
            db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QLatin1String(OwnConnection));
            db.setDatabaseName(database);
            db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
            db.open();
        }

        QDir().mkpath(localFolder);
        report.localTarget = QFileInfo(localFolder + "/" + fileName).absoluteFilePath();
        report.localOk = snapshotInto(db, report.localTarget, &report.localError);

        const QString root = firstExistingFolder(driveCandidates);
        if (!root.isEmpty()) {
            const QString driveFolder = root + "/" + key + "_Backups";
            report.driveTarget = driveFolder + "/" + fileName;
            if (QDir().mkpath(driveFolder))
                report.driveOk = snapshotInto(db, report.driveTarget, &report.driveError);
            else
                report.driveError = QStringLiteral("The folder %1 could not be created").arg(driveFolder);
        }
        if (ownConnection)
            db.close();
    }
    if (ownConnection)
        QSqlDatabase::removeDatabase(QLatin1String(OwnConnection));

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
