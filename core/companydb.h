#pragma once
// The company database: which file, opening it, and the shell's own tables.

#include <QString>
#include <QStringList>

#include <functional>

class QObject;

namespace CompanyDb {

extern const char *const DefaultKey; // "MorvelCoats"
// The reason given for a company file of 0 bytes: it is damaged, not new.
extern const char *const EmptyFileMessage;

// Reads the company key from folder/company.cfg (trimmed). A missing file is
// created holding the default key; an empty or blank file gives the default key
// and is left as it is.
QString readCompanyKey(const QString &folder);

// folder + "/" + key + ".db"
QString databasePath(const QString &folder, const QString &key);

// What SQLite's quick check found in a database file.
struct FileCheck
{
    enum State {
        Sound,      // passed, or no file yet (opening creates it)
        Damaged,    // failed the check, is not a database, or is empty
        Unreadable, // the check could not run: locked by another program, no access
    };
    State state = Sound;
    QString message; // SQLite's first message (or EmptyFileMessage) when not Sound
};

// SQLite's first message among the rows of "PRAGMA quick_check"; empty when
// they are the one row "ok".
QString quickCheckProblem(const QStringList &found);

// Runs SQLite's quick check on the file over a read-only connection of its
// own, before the program's connection touches it: neither the file nor a
// journal beside it is written. A journal left by an interrupted write is
// rolled back on a copy, and the copy checked. A file of 0 bytes is damaged
// without a check.
FileCheck checkDatabaseFile(const QString &path);

// Starts checkDatabaseFile(path) on a thread of its own, so that at start the
// check of a large file runs while the main window shows.
void startDatabaseCheck(const QString &path);
// Whether a check of `path` was started and its result not yet taken.
bool databaseCheckStarted(const QString &path);
// Has `whenDone` run on the receiver's thread, from its event loop, once the
// started check has finished (at once when it has). One receiver at a time;
// a receiver that goes away first calls forgetDatabaseCheckReceiver().
void whenDatabaseChecked(QObject *receiver, const std::function<void()> &whenDone);
void forgetDatabaseCheckReceiver(QObject *receiver);
// What the check of `path` found: the one startDatabaseCheck started, waited
// for, or else (none started, or for another file) checkDatabaseFile(path).
FileCheck databaseCheckResult(const QString &path);

// The "DB Error" text for a damaged file: its path, that a backup can restore
// it, then SQLite's message.
QString damagedFileText(const QString &path, const QString &message);

// Opens folder/key.db as the default QSQLITE connection. On failure returns
// false and gives the driver's error text.
bool openDatabase(const QString &folder, const QString &key, QString *error);

// Creates and seeds the core tables: users, financial years, module switches
// and the company record. Safe to run at every start; writes nothing when all
// is there. False, with SQLite's reason, when the file could not be written
// (another program holding it past the busy timeout): nothing was changed.
bool createCoreSchema(QString *error = nullptr);

} // namespace CompanyDb
