// Database backups, the close prompt and the about box of the main window.

#include "support/files.h"
#include "support/recordingdesktop.h"
#include "support/salesdata.h"

#include "app/backup.h"
#include "app/mainwindow.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QTimer>

class TestBackup : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void copiesToLocalAndDriveFolders();
    void reportsMissingDriveAndFailedLocalCopy();
    void candidatesFollowTheHomeFolder();

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
    QVERIFY(writeFile(db, QByteArray("SQLite format 3\0 some pages", 27)));
    QVERIFY(QDir().mkpath(homeDrive()));

    const QDateTime when(QDate(2026, 12, 6), QTime(14, 15, 30));
    Backup::Report report = Backup::run(env.folder(), "Acme", when, localFolder(), Backup::driveRootCandidates());
    const QString local = localFolder() + "/Acme_2026-12-06_141530.db";
    const QString drive = homeDrive() + "/Acme_Backups/Acme_2026-12-06_141530.db";
    QCOMPARE(fileBytes(local), fileBytes(db));
    QCOMPARE(fileBytes(drive), fileBytes(db));
    QCOMPARE(report.text, QStringLiteral("Local Backup: ✅ Success\nLocation: ") + local
                              + QStringLiteral("\n\nGoogle Drive Backup: ✅ Success\nLocation: ") + drive);
    // No temporary copy is left beside the backups.
    QCOMPARE(QDir(localFolder()).entryList(QDir::Files), QStringList{"Acme_2026-12-06_141530.db"});

    // A second backup in the same second replaces the first.
    QVERIFY(writeFile(db, "second, longer"));
    report = Backup::run(env.folder(), "Acme", when, localFolder(), {homeDrive()});
    QVERIFY(report.localOk && report.driveOk);
    QCOMPARE(fileBytes(local), QByteArray("second, longer"));
    QCOMPARE(fileBytes(drive), QByteArray("second, longer"));
}

void TestBackup::reportsMissingDriveAndFailedLocalCopy()
{
    TestEnvironment env;
    QVERIFY(writeFile(env.folder() + "/Acme.db", "data"));
    const QDateTime when(QDate(2027, 1, 2), QTime(3, 4, 5));
    const QString noDrive = QStringLiteral("\n\nGoogle Drive Backup: ⚠️ Not found or failed\n"
                                           "Please ensure Google Drive for Desktop is running and signed in.");

    // A file, not a folder, where the drive root would be.
    const QString blocker = env.folder() + "/blocker";
    QVERIFY(writeFile(blocker, "x"));
    Backup::Report report = Backup::run(env.folder(), "Acme", when, localFolder(), {blocker});
    QCOMPARE(report.text,
             QStringLiteral("Local Backup: ✅ Success\nLocation: ") + localFolder() + "/Acme_2027-01-02_030405.db" + noDrive);

    // A local folder that cannot be made (a file stands in its way).
    report = Backup::run(env.folder(), "Acme", when, blocker + "/backups", {});
    QCOMPARE(report.text, QStringLiteral("Local Backup: ❌ Failed\nLocation: ") + blocker
                              + "/backups/Acme_2027-01-02_030405.db" + noDrive);
}

// The home candidates follow "USERPROFILE" where it is set.
void TestBackup::candidatesFollowTheHomeFolder()
{
    qputenv("USERPROFILE", "/profile");
    const QStringList candidates = Backup::driveRootCandidates();
    qunsetenv("USERPROFILE");
    QCOMPARE(candidates, (QStringList{"/profile/Google Drive/My Drive", "/profile/My Drive", "/profile/Google Drive"}));
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
