// Database backups, the close prompt and the about box of the main window.

#include "support/files.h"
#include "support/filesizelimit.h"
#include "support/salesdata.h"
#include "support/testenvironment.h"

#include "core/companydb.h"
#include "output/wholefile.h"
#include "shell/backup.h"
#include "shell/mainwindow.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QTimer>

namespace {

// Replaces the file with a database holding `count` bills of `amount` each.
void writeBills(const QString &path, int count, int amount)
{
    QFile::remove(path);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "bills");
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QSqlQuery q(db);
        QVERIFY(q.exec("CREATE TABLE bills (id INTEGER PRIMARY KEY, party TEXT, amount INTEGER)"));
        QVERIFY(db.transaction());
        q.prepare("INSERT INTO bills (party, amount) VALUES (:party, :amount)");
        for (int i = 0; i < count; ++i) {
            q.bindValue(":party", QString("Supplier %1 of Bhiwandi Road").arg(i).repeated(4));
            q.bindValue(":amount", amount);
            QVERIFY(q.exec());
        }
        QVERIFY(db.commit());
        db.close();
    }
    QSqlDatabase::removeDatabase("bills");
}

// "rows:amount" of the bills of a database file, or the error.
QString billSummary(const QString &path)
{
    QString summary;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "summary");
        db.setDatabaseName(path);
        db.setConnectOptions("QSQLITE_OPEN_READONLY");
        QSqlQuery q(db);
        if (db.open() && q.exec("SELECT COUNT(*), GROUP_CONCAT(DISTINCT amount) FROM bills") && q.next())
            summary = q.value(0).toString() + ":" + q.value(1).toString();
        else
            summary = q.lastError().text();
        db.close();
    }
    QSqlDatabase::removeDatabase("summary");
    return summary;
}

// A company file as the program leaves it, with 2,000 invoices.
void writeInvoices(TestEnvironment &env)
{
    QVERIFY(env.openDatabase());
    QVERIFY(CompanyDb::createCoreSchema());
    QSqlQuery q;
    QVERIFY(q.exec("CREATE TABLE invoices (id INTEGER PRIMARY KEY, invoice_no TEXT, customer TEXT, amount INTEGER)"));
    QSqlDatabase::database().transaction();
    q.prepare("INSERT INTO invoices (invoice_no, customer, amount) VALUES (:no, :customer, 125000)");
    for (int i = 1; i <= 2000; ++i) {
        q.bindValue(":no", QString("INV/26-27/%1").arg(i));
        q.bindValue(":customer", QString("Customer %1, Bhiwandi").arg(i % 37));
        QVERIFY(q.exec());
    }
    QSqlDatabase::database().commit();
    closeDefaultDatabase();
}

// The damage a failing disk does without a sign: the cell count of one leaf
// page of invoices lowered by 8, so that SQLite, reading as usual, finds 8
// invoices fewer and says nothing; only a check of the file finds it.
void damageInvoicesLeaf(const QString &path)
{
    qint64 offset = 0;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "pages");
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QSqlQuery q(db);
        QVERIFY(q.exec("SELECT (SELECT page_size FROM pragma_page_size), pageno FROM dbstat "
                       "WHERE name = 'invoices' AND pagetype = 'leaf' ORDER BY pageno LIMIT 1 OFFSET 5")
                && q.next());
        offset = (q.value(1).toLongLong() - 1) * q.value(0).toLongLong() + 3;
        db.close();
    }
    QSqlDatabase::removeDatabase("pages");
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite) && file.seek(offset));
    const QByteArray count = file.read(2);
    const int cells = (uchar(count[0]) << 8 | uchar(count[1])) - 8;
    QVERIFY(cells > 0 && file.seek(offset));
    const char lowered[2] = {char(cells >> 8), char(cells & 0xff)};
    QCOMPARE(file.write(lowered, 2), qint64(2));
}

// Every file in the folder, hidden ones too; empty when there is no folder.
QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

} // namespace

class TestBackup : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void copiesToLocalAndDriveFolders();
    void reportsMissingDriveAndFailedLocalCopy();
    void candidatesFollowTheHomeFolder();
    void copyHoldsOnlyCommittedRows();
    void damagedFileIsNeverBackedUp_data();
    void damagedFileIsNeverBackedUp();
    void failedAndInterruptedBackupsLeaveNothing();
    void backupButtonUnderAFileSizeLimit();

    void backupButtonCopiesTheOpenDatabase();
    void closePrompt_data();
    void closePrompt();
    void closePromptEscapeKeepsTheWindow();

    void aboutBoxText();

private:
    QTemporaryDir m_home;
    QString homeDrive() const { return m_home.path() + "/My Drive"; }
    QString localFolder() const { return m_home.path() + "/MCMainSoftware_Backup"; }
};

void TestBackup::initTestCase()
{
    // The backup folders live in the home folder: point it at a scratch folder.
    QVERIFY(m_home.isValid());
    qputenv("HOME", m_home.path().toUtf8());
    qunsetenv("USERPROFILE");
}

void TestBackup::init()
{
    QDir(homeDrive()).removeRecursively();
    QDir(localFolder()).removeRecursively();
}

void TestBackup::copiesToLocalAndDriveFolders()
{
    TestEnvironment env;
    const QString db = env.folder() + "/Acme.db";
    writeBills(db, 500, 7);
    QVERIFY(QDir().mkpath(homeDrive()));

    const QDateTime when(QDate(2026, 12, 6), QTime(14, 15, 30));
    Backup::Report report = Backup::run(env.folder(), "Acme", when, localFolder(), Backup::driveRootCandidates());
    const QString local = localFolder() + "/Acme_2026-12-06_141530.db";
    const QString drive = homeDrive() + "/Acme_Backups/Acme_2026-12-06_141530.db";
    QCOMPARE(report.text, QStringLiteral("Local Backup: ✅ Success\nLocation: ") + local
                              + QStringLiteral("\n\nGoogle Drive Backup: ✅ Success\nLocation: ") + drive);
    QCOMPARE(billSummary(local), QString("500:7"));
    QCOMPARE(billSummary(drive), QString("500:7"));
    // No temporary copy is left beside the backups, and the live file is as it was.
    QCOMPARE(QDir(localFolder()).entryList(QDir::Files), QStringList{"Acme_2026-12-06_141530.db"});
    QCOMPARE(QDir(env.folder()).entryList(QDir::Files), QStringList{"Acme.db"});

    // A second backup in the same second replaces the first.
    writeBills(db, 20, 9);
    report = Backup::run(env.folder(), "Acme", when, localFolder(), {homeDrive()});
    QVERIFY(report.localOk && report.driveOk);
    QCOMPARE(billSummary(local), QString("20:9"));
    QCOMPARE(billSummary(drive), QString("20:9"));
}

void TestBackup::reportsMissingDriveAndFailedLocalCopy()
{
    TestEnvironment env;
    writeBills(env.folder() + "/Acme.db", 3, 1);
    const QDateTime when(QDate(2027, 1, 2), QTime(3, 4, 5));
    const QString noDrive = QStringLiteral("\n\nGoogle Drive Backup: ⚠️ Not found or failed\n"
                                           "Please ensure Google Drive for Desktop is running and signed in.");

    // A file, not a folder, where the drive root would be.
    const QString blocker = env.folder() + "/blocker";
    QVERIFY(writeFile(blocker, "x"));
    Backup::Report report = Backup::run(env.folder(), "Acme", when, localFolder(), {blocker});
    QCOMPARE(report.text,
             QStringLiteral("Local Backup: ✅ Success\nLocation: ") + localFolder() + "/Acme_2027-01-02_030405.db" + noDrive);

    // A local folder that cannot be made (a file stands in its way): the
    // reason follows the location.
    report = Backup::run(env.folder(), "Acme", when, blocker + "/backups", {});
    const QString failed = QStringLiteral("Local Backup: ❌ Failed\nLocation: ") + blocker
                           + "/backups/Acme_2027-01-02_030405.db\nReason: ";
    QVERIFY2(report.text.startsWith(failed) && report.text.endsWith(noDrive) && !report.localError.isEmpty()
                 && report.text == failed + report.localError + noDrive,
             qPrintable(report.text));

    // Not a database: nothing is reported copied, and nothing is left.
    QDir(localFolder()).removeRecursively();
    QVERIFY(writeFile(env.folder() + "/Acme.db", "not a database, some bytes"));
    report = Backup::run(env.folder(), "Acme", when, localFolder(), {homeDrive()});
    QVERIFY(!report.localOk);
    QCOMPARE(report.localError, QString("file is not a database"));
    QVERIFY(report.text.startsWith("Local Backup: ❌ Failed\nLocation: " + localFolder()
                                   + "/Acme_2027-01-02_030405.db\nReason: file is not a database\n\n"));
    QVERIFY(QDir(localFolder()).entryList(QDir::Files).isEmpty());
}

// The home candidates follow "USERPROFILE" where it is set.
void TestBackup::candidatesFollowTheHomeFolder()
{
    qputenv("USERPROFILE", "/profile");
    const QStringList candidates = Backup::driveRootCandidates();
    qunsetenv("USERPROFILE");
    QCOMPARE(candidates, (QStringList{"/profile/Google Drive/My Drive", "/profile/My Drive", "/profile/Google Drive"}));
}

// Another program (a second copy of the program, a database viewer) is
// part-way through a large write while the backup runs, on the program's
// own connection: the copy holds the last committed rows, or, when that
// write holds the whole file past the busy timeout, the copy is reported
// failed with the reason and no file is left under its name.
void TestBackup::copyHoldsOnlyCommittedRows()
{
    TestEnvironment env;
    const QString db = env.folder() + "/MorvelCoats.db";
    writeBills(db, 3000, 5);
    QVERIFY(env.openDatabase());
    const QDateTime when(QDate(2026, 12, 6), QTime(9, 0, 0));
    const QString local = localFolder() + "/MorvelCoats_2026-12-06_090000.db";

    QSqlDatabase writer = QSqlDatabase::addDatabase("QSQLITE", "writer");
    writer.setDatabaseName(db);
    QVERIFY(writer.open());
    QSqlQuery w(writer);

    // The write still sits in the other program's memory.
    QVERIFY(writer.transaction());
    QVERIFY(w.exec("UPDATE bills SET amount = 6"));
    Backup::Report report = Backup::run(env.folder(), "MorvelCoats", when, localFolder(), {});
    QVERIFY2(report.localOk, qPrintable(report.text));
    QCOMPARE(billSummary(local), QString("3000:5"));
    QVERIFY(writer.rollback());

    // The write has begun to reach the file: the file is locked until it ends.
    QVERIFY(QFile::remove(local));
    QVERIFY(w.exec("PRAGMA cache_size = 5"));
    QVERIFY(writer.transaction());
    QVERIFY(w.exec("UPDATE bills SET amount = 6"));
    QVERIFY(QFile::exists(db + "-journal"));
    report = Backup::run(env.folder(), "MorvelCoats", when, localFolder(), {homeDrive()});
    QVERIFY(!report.localOk);
    QCOMPARE(report.localError, QString("database is locked"));
    QVERIFY2(report.text.startsWith("Local Backup: ❌ Failed\nLocation: " + local + "\nReason: database is locked\n\n"),
             qPrintable(report.text));
    QVERIFY(QDir(localFolder()).entryList(QDir::Files).isEmpty());
    QVERIFY(writer.commit());
    writer.close();
    w = QSqlQuery();
    writer = QSqlDatabase();
    QSqlDatabase::removeDatabase("writer");

    // A quiet moment: the copy equals the live database.
    report = Backup::run(env.folder(), "MorvelCoats", when, localFolder(), {});
    QVERIFY(report.localOk);
    QCOMPARE(billSummary(local), QString("3000:6"));
    QCOMPARE(billSummary(local), billSummary(db));
}

void TestBackup::damagedFileIsNeverBackedUp_data()
{
    QTest::addColumn<bool>("emptied"); // else a leaf page damaged
    QTest::newRow("leaf page damaged") << false;
    QTest::newRow("emptied to 0 bytes") << true;
}

// A damaged company file is not backed up: a copy of it would read as sound
// with rows missing (or as an empty company), and be the newest backup. At
// start it is the "DB Error" and closing asks nothing; damaged while the
// program runs, both copies of the Backup button fail with the reason. No
// file is left in either folder.
void TestBackup::damagedFileIsNeverBackedUp()
{
    QFETCH(bool, emptied);
    const auto damage = [emptied](const QString &path) {
        if (emptied)
            QVERIFY(QFile::resize(path, 0));
        else
            damageInvoicesLeaf(path);
    };
    QVERIFY(QDir().mkpath(homeDrive()));
    {
        TestEnvironment env;
        writeInvoices(env);
        damage(env.folder() + "/MorvelCoats.db");
        auto *w = new MainWindow;
        w->show();
        QVERIFY(!w->databaseReady());
        QVERIFY(w->close());
        QCOMPARE(env.desktop.messages.size(), 1);
        QCOMPARE(env.desktop.lastMessage().title, QStringLiteral("DB Error"));
        QVERIFY(filesIn(localFolder()).isEmpty());
        QVERIFY(filesIn(homeDrive() + "/MorvelCoats_Backups").isEmpty());
    }
    {
        TestEnvironment env;
        writeInvoices(env);
        auto *w = new MainWindow;
        w->show();
        QVERIFY(w->databaseReady());
        damage(env.folder() + "/MorvelCoats.db");
        if (!emptied)
            QCOMPARE(testdata::value("SELECT COUNT(*) FROM invoices").toInt(), 1992); // nothing says so

        // Backup, then close with a backup.
        env.desktop.messageAnswers << QMessageBox::Ok << QMessageBox::Yes;
        w->findChild<QPushButton *>("backup_btn")->click();
        QVERIFY(w->close());
        QCOMPARE(env.desktop.messages.size(), 3);
        for (const RecordingDesktop::Message &m : {env.desktop.messages[0], env.desktop.messages[2]}) {
            QCOMPARE(m.title, QStringLiteral("Backup Result"));
            QVERIFY2(!m.text.contains("Success"), qPrintable(m.text));
            QVERIFY2(m.text.count("Reason: The database file is damaged: ") == 2, qPrintable(m.text));
            QCOMPARE(m.text.count(CompanyDb::EmptyFileMessage), emptied ? 2 : 0);
        }
        QVERIFY(filesIn(localFolder()).isEmpty());
        QVERIFY(filesIn(homeDrive() + "/MorvelCoats_Backups").isEmpty());
    }
}

// A copy that fails on a full folder leaves nothing, not even its journal;
// the temporary files of a backup that was cut off (the program killed) are
// removed by the next backup of the company, in both folders, and nothing
// else is.
void TestBackup::failedAndInterruptedBackupsLeaveNothing()
{
    TestEnvironment env;
    writeBills(env.folder() + "/Acme.db", 3000, 5);
    QVERIFY(QDir().mkpath(homeDrive()));
    const QString driveFolder = homeDrive() + "/Acme_Backups";
    const QDateTime when(QDate(2026, 12, 6), QTime(9, 0, 0));
    {
        FileSizeLimit full(64 * 1024);
        const Backup::Report report = Backup::run(env.folder(), "Acme", when, localFolder(), {homeDrive()});
        QVERIFY(!report.localOk && !report.driveOk);
        QVERIFY2(!report.localError.isEmpty() && !report.driveError.isEmpty(), qPrintable(report.text));
    }
    QVERIFY(filesIn(localFolder()).isEmpty());
    QVERIFY(filesIn(driveFolder).isEmpty());

    // Cut off half-way: the temporary copies and journals stay as a killed
    // program leaves them (the pending files are never destroyed).
    const QStringList others = {"Other_2026-12-06_090000.db.AbC123.tmp", "notes.txt", "Acme_2026-12-06_090000.db"};
    for (const QString &folder : {localFolder(), driveFolder}) {
        const QString temporary = (new WholeFile::Pending(folder + "/Acme_2026-12-05_180000.db"))->temporaryPath();
        QVERIFY(QFile::remove(temporary) && QFile::copy(env.folder() + "/Acme.db", temporary));
        QVERIFY(writeFile(temporary + "-journal", QByteArray(512, 'j')));
        for (const QString &other : others)
            QVERIFY(writeFile(folder + "/" + other, "kept"));
    }
    const QDateTime next(QDate(2026, 12, 6), QTime(9, 30, 0));
    const Backup::Report report = Backup::run(env.folder(), "Acme", next, localFolder(), {homeDrive()});
    QVERIFY2(report.localOk && report.driveOk, qPrintable(report.text));
    const QStringList left = QStringList(others) << "Acme_2026-12-06_093000.db";
    for (const QString &folder : {localFolder(), driveFolder}) {
        QStringList files = filesIn(folder);
        QCOMPARE(files.size(), left.size());
        for (const QString &file : left)
            QVERIFY2(files.contains(file), qPrintable(folder + ": " + files.join(", ")));
    }
    QCOMPARE(billSummary(localFolder() + "/Acme_2026-12-06_093000.db"), QString("3000:5"));
}

// Under a file-size limit (ulimit -f) below the company file's size the Backup
// button reports both copies failed with the reason and leaves no file in either
// folder; the program goes on, and the next backup, with room, succeeds.
void TestBackup::backupButtonUnderAFileSizeLimit()
{
    TestEnvironment env;
    writeBills(env.folder() + "/MorvelCoats.db", 3000, 7);
    QVERIFY(QDir().mkpath(homeDrive()));
    MainWindow w;
    QVERIFY(w.databaseReady());
    {
        FileSizeLimit limit(64 * 1024);
        w.findChild<QPushButton *>("backup_btn")->click();
    }
    QCOMPARE(env.desktop.messages.size(), 1);
    const QString shown = env.desktop.lastShown();
    QVERIFY2(shown.startsWith("Backup Result|Local Backup: ❌ Failed\nLocation: " + localFolder() + "/MorvelCoats_"),
             qPrintable(shown));
    QVERIFY2(shown.count("\nReason: ") == 2 && shown.contains("Google Drive Backup: ⚠️ Not found or failed"),
             qPrintable(shown));
    QVERIFY(filesIn(localFolder()).isEmpty());
    QVERIFY(filesIn(homeDrive() + "/MorvelCoats_Backups").isEmpty());

    env.desktop.clear();
    w.findChild<QPushButton *>("backup_btn")->click();
    QVERIFY2(env.desktop.lastShown().count("✅ Success") == 2, qPrintable(env.desktop.lastShown()));
    QCOMPARE(billSummary(localFolder() + "/" + filesIn(localFolder()).value(0)), QString("3000:7"));
}

void TestBackup::backupButtonCopiesTheOpenDatabase()
{
    TestEnvironment env;
    QVERIFY(QDir().mkpath(homeDrive()));
    MainWindow w;
    QVERIFY(w.databaseReady());
    testdata::exec("UPDATE company_settings SET company_name = 'Copied Ltd' WHERE id = 1");

    w.findChild<QPushButton *>("backup_btn")->click();
    QCOMPARE(env.desktop.messages.size(), 1);
    const QString shown = env.desktop.lastShown();
    QVERIFY(shown.startsWith("Backup Result|Local Backup: ✅ Success\nLocation: " + localFolder() + "/MorvelCoats_"));
    QVERIFY(shown.contains("Google Drive Backup: ✅ Success\nLocation: " + homeDrive() + "/MorvelCoats_Backups/"));

    // The copy is a whole database holding what was written before it.
    const QStringList copies = QDir(localFolder()).entryList(QDir::Files);
    QCOMPARE(copies.size(), 1);
    {
        QSqlDatabase copy = QSqlDatabase::addDatabase("QSQLITE", "copy");
        copy.setDatabaseName(localFolder() + "/" + copies.first());
        QVERIFY(copy.open());
        QSqlQuery c(copy);
        QVERIFY(c.exec("SELECT company_name FROM company_settings WHERE id = 1") && c.next());
        QCOMPARE(c.value(0).toString(), QStringLiteral("Copied Ltd"));
    }
    QSqlDatabase::removeDatabase("copy");

    // With the database file gone the button says where it looked, and copies nothing.
    env.desktop.clear();
    QFile::rename(env.folder() + "/MorvelCoats.db", env.folder() + "/moved.db");
    w.findChild<QPushButton *>("backup_btn")->click();
    QCOMPARE(env.desktop.lastShown(), "Error|Database file not found!\nExpected: " + env.folder() + "/MorvelCoats.db");
    QCOMPARE(QDir(localFolder()).entryList(QDir::Files).size(), 1);
}

void TestBackup::closePrompt_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<int>("backups");
    QTest::newRow("Yes backs up and closes") << int(QMessageBox::Yes) << true << 1;
    QTest::newRow("No closes") << int(QMessageBox::No) << true << 0;
    QTest::newRow("Cancel keeps the window") << int(QMessageBox::Cancel) << false << 0;
}

void TestBackup::closePrompt()
{
    QFETCH(int, answer);
    QFETCH(bool, closes);
    QFETCH(int, backups);
    TestEnvironment env;
    auto *w = new MainWindow;
    w->show();
    env.desktop.messageAnswers.enqueue(QMessageBox::StandardButton(answer));
    QCOMPARE(w->close(), closes);
    const RecordingDesktop::Message ask = env.desktop.messages.first();
    QCOMPARE(ask.title + "|" + ask.text, QStringLiteral("Backup|Do you want to backup before closing?"));
    QCOMPARE(ask.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    QCOMPARE(QDir(localFolder()).entryList(QDir::Files).size(), backups);
}

void TestBackup::closePromptEscapeKeepsTheWindow()
{
    TestEnvironment env;
    auto *w = new MainWindow;
    w->show();
    // Escape on the real question box.
    Desktop::setHandler(nullptr);
    bool sawBox = false;
    QTimer::singleShot(0, [&sawBox] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            sawBox = true;
            QTest::keyClick(box, Qt::Key_Escape);
        }
    });
    const bool closed = w->close();
    Desktop::setHandler(&env.desktop);
    QVERIFY(sawBox);
    QVERIFY(!closed);
    QVERIFY(!QDir(localFolder()).exists());
}

void TestBackup::aboutBoxText()
{
    TestEnvironment env;
    MainWindow w;
    w.findChild<QPushButton *>("app_info_btn")->click();
    QCOMPARE(env.desktop.messages.size(), 1);
    QCOMPARE(env.desktop.lastMessage().title, QStringLiteral("About Kestrova"));

    QTextDocument doc;
    doc.setHtml(env.desktop.lastMessage().text);
    const QString bullet = QStringLiteral("\u00a0\u00a0• ");
    const QString expected = QStringLiteral("Kestrova\n\nVersion History:\n"
                                            "v1.0.0 — Initial Release\n")
                             + bullet + "Sales Management Module\n" + bullet + "Purchase Management Module\n"
                             + bullet + "Expenses Tracking\n" + bullet + "Salary Management\n" + bullet
                             + "Developer Panel\n" + bullet + "Backup System\n"
                             + "v1.1.0 — Framework Upgrade\n" + bullet + "Upgraded from Qt 5.6.3 to Qt 6.8.3\n"
                             + bullet + "Improved performance and stability\n" + bullet + "Qt6 compatibility fixes\n"
                             + "v1.1.1 — Charts & Inventory\n" + bullet + "Implemented Qt Charts (QChart)\n" + bullet
                             + "Sales Dashboard with bar chart\n" + bullet + "Purchase Dashboard\n" + bullet
                             + "Inventory Management Module\n" + bullet + "Stock Entry & Material Request\n"
                             + bullet + "Stock Report (monthly ledger)\n\nCurrent Version: 1.1.1";
    QCOMPARE(doc.toRawText().replace(QChar::LineSeparator, '\n').replace(QChar::ParagraphSeparator, '\n'), expected);
}

QTEST_MAIN(TestBackup)
#include "tst_backup.moc"
