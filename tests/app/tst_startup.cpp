// Start-up of the program against a fresh or existing application folder:
// the company key, the database file, the core tables, the header, the year
// list, the login and the module windows.

#include "support/files.h"
#include "support/recordingdesktop.h"
#include "support/salesdata.h"
#include "support/widgets.h"

#include "app/companydb.h"
#include "app/companyinfo.h"
#include "app/financialyear.h"
#include "app/mainwindow.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTest>
#include <QToolButton>

using namespace testdata;

namespace {

QString readFile(const QString &path)
{
    return QString::fromUtf8(fileBytes(path));
}

// Everything the core tables hold, schema included.
QStringList coreSnapshot()
{
    return rows("SELECT type, name, sql FROM sqlite_master ORDER BY name") + rows("SELECT * FROM users")
           + rows("SELECT * FROM financial_years") + rows("SELECT * FROM modules ORDER BY module_name")
           + rows("SELECT * FROM company_settings");
}

// Prepares a database in the folder the way a user left it, before the program starts.
void prepareDatabase(TestEnvironment &env, const QStringList &statements)
{
    QVERIFY(env.openDatabase());
    CompanyDb::createCoreSchema();
    QSqlQuery q;
    for (const QString &sql : statements)
        QVERIFY2(q.exec(sql), qPrintable(sql));
    closeDefaultDatabase();
}

void login(MainWindow *w, const QString &user, const QString &password)
{
    child<QLineEdit>(w, "usernameEdit")->setText(user);
    child<QLineEdit>(w, "passwordEdit")->setText(password);
    child<QPushButton>(w, "submit_btn")->click();
}

const char *const moduleButtons[] = {"sales_btn", "purchase_btn", "expenses_btn", "invent_cum_btn", "salary_slip_btn"};

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void freshFolderCreatesConfigDatabaseAndSeeds();
    void companyKeyIsTrimmedAndBlankFileGivesDefault();
    void unopenableDatabaseReportsAndDisablesTheWindow();
    void headerAndYearList_data();
    void headerAndYearList();
    void loginChecksCredentialsExactly();
    void loginShowsSwitchedOnModules();
    void renamedLoginDoesNotBringBackTheDefault();
    void moduleWindowsAreKept();
};

void TestStartup::freshFolderCreatesConfigDatabaseAndSeeds()
{
    TestEnvironment env;
    auto *w = new MainWindow;
    QCOMPARE(readFile(env.folder() + "/company.cfg"), QStringLiteral("MorvelCoats"));
    QVERIFY(QFile::exists(env.folder() + "/MorvelCoats.db"));

    const QStringList tables = rows("SELECT name || ':' || sql FROM sqlite_master WHERE type = 'table' "
                                    "AND name NOT LIKE 'sqlite_%' ORDER BY rowid");
    QCOMPARE(tables,
             QStringList({
                 "users:CREATE TABLE users (id INTEGER PRIMARY KEY AUTOINCREMENT, username TEXT UNIQUE, password TEXT)",
                 "financial_years:CREATE TABLE financial_years (fy_id INTEGER PRIMARY KEY AUTOINCREMENT, fy_name TEXT "
                 "UNIQUE, is_active INTEGER DEFAULT 0, is_released INTEGER DEFAULT 1)",
                 "modules:CREATE TABLE modules (module_name TEXT PRIMARY KEY, is_enabled INTEGER DEFAULT 1)",
                 "company_settings:CREATE TABLE company_settings (id INTEGER PRIMARY KEY, company_name TEXT, "
                 "address_line1 TEXT, address_line2 TEXT, phone TEXT, email TEXT, gst_no TEXT, bank_details TEXT)",
             }));
    QCOMPARE(rows("SELECT username, password FROM users"), QStringList({"pravo|pravo"}));
    QCOMPARE(rows("SELECT fy_name, is_active, is_released FROM financial_years"), QStringList({"26-27|1|1"}));
    QCOMPARE(rows("SELECT module_name, is_enabled FROM modules ORDER BY rowid"),
             QStringList({"expenses|1", "purchase|1", "sales|1", "salary|1", "inventory|1"}));
    QCOMPARE(rows("SELECT * FROM company_settings"),
             QStringList({"1|Your Company Name|Address Line 1|Address Line 2||||"}));
    QVERIFY(value("SELECT bank_details FROM company_settings").isNull());

    // The login state: no module button, no user panel.
    w->show();
    for (const char *name : moduleButtons)
        QVERIFY2(!child<QToolButton>(w, name)->isVisible(), name);
    QVERIFY(!child<QPushButton>(w, "settings_btn")->isVisible());

    // A second start changes nothing.
    const QStringList first = coreSnapshot();
    delete w;
    new MainWindow;
    QCOMPARE(coreSnapshot(), first);
    QCOMPARE(readFile(env.folder() + "/company.cfg"), QStringLiteral("MorvelCoats"));
    QVERIFY(env.desktop.messages.isEmpty());
}

void TestStartup::companyKeyIsTrimmedAndBlankFileGivesDefault()
{
    {
        TestEnvironment env;
        QVERIFY(writeFile(env.folder() + "/company.cfg", "  AcmeWorks \n"));
        new MainWindow;
        QVERIFY(QFile::exists(env.folder() + "/AcmeWorks.db"));
        QVERIFY(!QFile::exists(env.folder() + "/MorvelCoats.db"));
        QCOMPARE(readFile(env.folder() + "/company.cfg"), QStringLiteral("  AcmeWorks \n"));
    }
    for (const QByteArray &blank : {QByteArray(), QByteArray(" \n\t ")}) {
        TestEnvironment env;
        QVERIFY(writeFile(env.folder() + "/company.cfg", blank));
        new MainWindow;
        QVERIFY(QFile::exists(env.folder() + "/MorvelCoats.db"));
        QCOMPARE(readFile(env.folder() + "/company.cfg").toUtf8(), blank);
    }
}

void TestStartup::unopenableDatabaseReportsAndDisablesTheWindow()
{
    TestEnvironment env;
    // A key naming a folder that does not exist: SQLite cannot create the file.
    QVERIFY(writeFile(env.folder() + "/company.cfg", "missing-folder/Acme"));
    auto *w = new MainWindow;
    QVERIFY(!w->databaseReady());
    QCOMPARE(env.desktop.messages.size(), 1);
    const auto m = env.desktop.lastMessage();
    QCOMPARE(m.icon, QMessageBox::Critical);
    QCOMPARE(m.title, QStringLiteral("DB Error"));
    QVERIFY2(m.text.contains("unable to open database file", Qt::CaseInsensitive), qPrintable(m.text));
    QVERIFY(!QFile::exists(env.folder() + "/missing-folder"));

    // Nothing can run on the unopened database; the about box still can.
    for (const char *name : {"submit_btn", "settings_btn", "backup_btn", "developer_btn"})
        QVERIFY2(!child<QPushButton>(w, name)->isEnabled(), name);
    for (const char *name : moduleButtons)
        QVERIFY2(!child<QToolButton>(w, name)->isEnabled(), name);
    QVERIFY(child<QPushButton>(w, "app_info_btn")->isEnabled());
}

void TestStartup::headerAndYearList_data()
{
    QTest::addColumn<QStringList>("statements");
    QTest::addColumn<QString>("header");
    QTest::addColumn<QStringList>("years");
    QTest::addColumn<QString>("current");

    QTest::newRow("seeded") << QStringList() << "Your Company Name Management Application"
                            << QStringList({"26-27"}) << "26-27";
    QTest::newRow("empty name") << QStringList({"UPDATE company_settings SET company_name = '' WHERE id = 1"})
                                << "Morvel Coats Management Application" << QStringList({"26-27"}) << "26-27";
    QTest::newRow("active year preselected")
        << QStringList({"UPDATE company_settings SET company_name = 'Shah Engineering' WHERE id = 1",
                        "UPDATE financial_years SET is_active = 0",
                        "INSERT INTO financial_years (fy_name, is_active) VALUES ('27-28', 1)",
                        "INSERT INTO financial_years (fy_name, is_active) VALUES ('28-29', 0)"})
        << "Shah Engineering Management Application" << QStringList({"26-27", "27-28", "28-29"}) << "27-28";
    // The seed puts 26-27 back at start, so an emptied table shows only it again.
    QTest::newRow("emptied year table") << QStringList({"DELETE FROM financial_years"})
                                        << "Your Company Name Management Application" << QStringList({"26-27"})
                                        << "26-27";
}

void TestStartup::headerAndYearList()
{
    QFETCH(QStringList, statements);
    QFETCH(QString, header);
    QFETCH(QStringList, years);
    QFETCH(QString, current);

    TestEnvironment env;
    prepareDatabase(env, statements);
    auto *w = new MainWindow;
    QCOMPARE(child<QLabel>(w, "company_header_label")->text(), header);
    auto *combo = child<QComboBox>(w, "fy_combo");
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    QCOMPARE(items, years);
    QCOMPARE(combo->currentText(), current);

    // A year table without rows leaves the list empty.
    QSqlQuery q;
    QVERIFY(q.exec("DELETE FROM financial_years"));
    w->loadFinancialYears();
    QCOMPARE(combo->count(), 0);
    QVERIFY(combo->currentText().isEmpty());
}

void TestStartup::loginChecksCredentialsExactly()
{
    TestEnvironment env;
    auto *w = new MainWindow;
    w->show();

    login(w, "pravo", "");
    QCOMPARE(env.desktop.lastMessage().title + "|" + env.desktop.lastMessage().text,
             QStringLiteral("Error|Please enter username and password!"));

    for (const auto &[user, password] : QList<QPair<QString, QString>>{{"pravo ", "pravo"}, {"pravo", "PRAVO"}}) {
        login(w, user, password);
        QCOMPARE(env.desktop.lastMessage().title + "|" + env.desktop.lastMessage().text,
                 QStringLiteral("Wrong Credantail|Enter Your Right Password"));
        QVERIFY(child<QLineEdit>(w, "usernameEdit")->text().isEmpty());
        QVERIFY(child<QLineEdit>(w, "passwordEdit")->text().isEmpty());
    }
    QVERIFY(child<QLabel>(w, "label_5")->text().isEmpty());
}

void TestStartup::loginShowsSwitchedOnModules()
{
    TestEnvironment env;
    prepareDatabase(env, {"INSERT INTO financial_years (fy_name) VALUES ('27-28')",
                          "UPDATE modules SET is_enabled = 2 WHERE module_name = 'purchase'",
                          "UPDATE modules SET is_enabled = 0 WHERE module_name = 'salary'",
                          "DELETE FROM modules WHERE module_name = 'inventory'"});
    g_currentFY = "26-27";
    auto *w = new MainWindow;
    w->show();
    child<QComboBox>(w, "fy_combo")->setCurrentText("27-28");
    login(w, "pravo", "pravo");

    QVERIFY(env.desktop.messages.isEmpty());
    QCOMPARE(g_currentFY, QStringLiteral("27-28"));
    QCOMPARE(child<QLabel>(w, "label_5")->text(), QStringLiteral("Access Granted"));
    QVERIFY(child<QToolButton>(w, "sales_btn")->isVisible());
    QVERIFY(child<QToolButton>(w, "expenses_btn")->isVisible());
    QVERIFY(child<QToolButton>(w, "invent_cum_btn")->isVisible()); // no row: on
    QVERIFY(!child<QToolButton>(w, "purchase_btn")->isVisible());  // 2: off
    QVERIFY(!child<QToolButton>(w, "salary_slip_btn")->isVisible());
    QVERIFY(child<QPushButton>(w, "settings_btn")->isVisible());
    QVERIFY(!child<QPushButton>(w, "submit_btn")->isVisible());
    QVERIFY(!child<QLineEdit>(w, "usernameEdit")->isVisible());

    // The year is fixed for the run.
    child<QComboBox>(w, "fy_combo")->setCurrentText("26-27");
    QCOMPARE(g_currentFY, QStringLiteral("27-28"));
    g_currentFY = "26-27";
}

void TestStartup::renamedLoginDoesNotBringBackTheDefault()
{
    TestEnvironment env;
    prepareDatabase(env, {"UPDATE users SET username = 'office', password = 's3cret'"});
    auto *w = new MainWindow;
    QCOMPARE(rows("SELECT username, password FROM users"), QStringList({"office|s3cret"}));
    login(w, "pravo", "pravo");
    QCOMPARE(env.desktop.lastMessage().title, QStringLiteral("Wrong Credantail"));
    login(w, "office", "s3cret");
    QCOMPARE(child<QLabel>(w, "label_5")->text(), QStringLiteral("Access Granted"));
}

void TestStartup::moduleWindowsAreKept()
{
    TestEnvironment env;
    auto *w = new MainWindow;
    w->show();
    login(w, "pravo", "pravo");

    auto moduleWindows = [w](const QString &title) {
        QList<QMainWindow *> found;
        for (QMainWindow *m : w->findChildren<QMainWindow *>(QString(), Qt::FindDirectChildrenOnly))
            if (m->windowTitle() == title)
                found << m;
        return found;
    };

    // Created once: a second press raises the same window, also after closing it.
    child<QToolButton>(w, "purchase_btn")->click();
    child<QToolButton>(w, "purchase_btn")->click();
    QCOMPARE(moduleWindows("Purchase Entry - Kestrova App").size(), 1);
    QMainWindow *purchase = moduleWindows("Purchase Entry - Kestrova App").first();
    purchase->close();
    child<QToolButton>(w, "purchase_btn")->click();
    QCOMPARE(moduleWindows("Purchase Entry - Kestrova App"), QList<QMainWindow *>{purchase});
    QVERIFY(purchase->isVisible());

    // Rebuilt: the inventory window comes back fresh once it was closed.
    child<QToolButton>(w, "invent_cum_btn")->click();
    QPointer<QMainWindow> inventory = moduleWindows("MainWindow").first();
    inventory->close();
    child<QToolButton>(w, "invent_cum_btn")->click();
    QVERIFY(inventory.isNull());
    QCOMPARE(moduleWindows("MainWindow").size(), 1);
    QVERIFY(moduleWindows("MainWindow").first()->isVisible());
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
