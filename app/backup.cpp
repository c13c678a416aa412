#include "backup.h"

#include "companydb.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace Backup {

namespace {

// Replaces target with a copy of source. QFile::copy writes into a temporary
// file beside the target and renames it at the end, so a failed copy leaves no
// half-written backup under the backup's name.
bool copyReplacing(const QString &source, const QString &target)
{
    if (QFile::exists(target) && !QFile::remove(target))
        return false;
    return QFile::copy(source, target);
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

QString reportText(bool localOk, const QString &localTarget, bool driveOk, const QString &driveTarget)
{
    QString text = QStringLiteral("Local Backup: ");
    text += localOk ? QStringLiteral("✅ Success") : QStringLiteral("❌ Failed");
    text += QStringLiteral("\nLocation: ") + localTarget + QStringLiteral("\n\n");
    if (driveOk)
        text += QStringLiteral("Google Drive Backup: ✅ Success\nLocation: ") + driveTarget;
    else
        text += QStringLiteral("Google Drive Backup: ⚠️ Not found or failed\n"
                               "Please ensure Google Drive for Desktop is running and signed in.");
    return text;
}

Report run(const QString &folder, const QString &key, const QDateTime &when,
           const QString &localFolder, const QStringList &driveCandidates)
{
    Report report;
    const QString database = folder + "/" + key + ".db";
    const QString fileName = backupFileName(key, timeStamp(when));

    if (!QFile::exists(database)) {
        report.text = QStringLiteral("Database file not found!\nExpected: ") + database;
        return report;
    }
    report.databaseFound = true;

    QDir().mkpath(localFolder);
    report.localTarget = QFileInfo(localFolder + "/" + fileName).absoluteFilePath();
    report.localOk = copyReplacing(database, report.localTarget);

    const QString root = firstExistingFolder(driveCandidates);
    if (!root.isEmpty()) {
        const QString driveFolder = root + "/" + key + "_Backups";
        report.driveTarget = driveFolder + "/" + fileName;
        report.driveOk = QDir().mkpath(driveFolder) && copyReplacing(database, report.driveTarget);
    }

    report.text = reportText(report.localOk, report.localTarget, report.driveOk, report.driveTarget);
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
