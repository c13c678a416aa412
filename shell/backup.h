#pragma once
// Copies of the company database: one into the local backup folder and one
// into the Google Drive for Desktop folder, both named after the company key
// and the moment of the backup.
//
// Each copy is written by SQLite itself from one read transaction, so it
// holds the last committed state of the database, never part of a write that
// another program has under way; while such a write holds the file, the
// backup waits as long as the busy timeout allows and then fails. The file is
// quick-checked in the same transaction, and each copy before it takes its
// name: a damaged or empty file is never backed up, and a failed copy leaves
// no file.

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace Backup {

// "yyyy-MM-dd_HHmmss" of the moment.
QString timeStamp(const QDateTime &when);

// key + "_" + stamp + ".db"
QString backupFileName(const QString &key, const QString &stamp);

// The company key as start-up reads it from folder/company.cfg, but without
// ever creating the file: an unreadable or blank file gives the default key.
QString companyKey(const QString &folder);

// The first of the candidates that is an existing folder; empty when none is.
QString firstExistingFolder(const QStringList &candidates);

struct Report
{
    bool databaseFound = false; // false: nothing was copied, text is the error
    bool localOk = false;
    bool driveOk = false;
    QString localTarget;        // absolute path of the local copy
    QString driveTarget;        // empty when no Google Drive root was found
    QString localError;         // why the local copy failed
    QString driveError;         // why the Google Drive copy failed, when a root was found
    QString text;               // what the user is shown
};

// Backs up folder/key.db into localFolder and into <root>/<key>_Backups, where
// root is the first existing folder of driveCandidates, through a read-only
// connection of its own. Temporary files that an interrupted backup of the
// same key left in either folder are removed first.
Report run(const QString &folder, const QString &key, const QDateTime &when,
           const QString &localFolder, const QStringList &driveCandidates);

// The report text of a finished backup; the reason of a failed copy follows
// its lines.
QString reportText(const Report &report);

// Where the backups go on this computer.
// The local folder is "D:/MCMainSoftware_Backup" where drive letters exist,
// otherwise the folder MCMainSoftware_Backup in the user's home folder.
QString localBackupFolder();
// "G:/My Drive" to "Z:/My Drive" where drive letters exist, then under the
// home folder ("USERPROFILE" when it is set) "Google Drive/My Drive",
// "My Drive" and "Google Drive".
QStringList driveRootCandidates();

} // namespace Backup
