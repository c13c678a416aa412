// The user panel: credentials, bank details and the invoice format choice.

#include "support/recordingdesktop.h"
#include "support/salesdata.h"
#include "support/widgets.h"

#include "app/changepassworddialog.h"
#include "app/companydb.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

namespace {

struct Panel
{
    ChangePasswordDialog dialog;
    QLineEdit *edit(const char *name) { return child<QLineEdit>(&dialog, name); }
    void click(const char *name) { ::click(&dialog, name); }
    void fill(const QString &user, const QString &current, const QString &password, const QString &confirm)
    {
        edit("newUsernameEdit")->setText(user);
        edit("currentPassEdit")->setText(current);
        edit("newPasswordEdit")->setText(password);
        edit("confirmPassEdit")->setText(confirm);
    }
};

QList<QPair<QString, QString>> users()
{
    QList<QPair<QString, QString>> rows;
    QSqlQuery q("SELECT username, password FROM users ORDER BY id");
    while (q.next())
        rows.append({q.value(0).toString(), q.value(1).toString()});
    return rows;
}

QVariant stored(const QString &column)
{
    QSqlQuery q("SELECT " + column + " FROM company_settings WHERE id = 1");
    return q.next() ? q.value(0) : QVariant();
}

void openCoreDatabase(TestEnvironment &env)
{
    QVERIFY(env.openDatabase());
    CompanyDb::createCoreSchema();
}

} // namespace

class TestUserPanel : public QObject
{
    Q_OBJECT

private slots:
    void opensWithStoredValues();
    void refusalsInOrder();
    void changesOnlyTheMatchingUser();
    void bankDetailsStoredTrimmed();
    void bankDetailsFailureIsReported();
    void invoiceFormatChoice();
};

void TestUserPanel::opensWithStoredValues()
{
    TestEnvironment env;
    openCoreDatabase(env);
    testdata::exec("UPDATE company_settings SET bank_details = 'HDFC Bank\nA/c 42' WHERE id = 1");

    Panel p;
    QCOMPARE(p.dialog.windowTitle(), QStringLiteral("User Panel -  Kestrova App"));
    QCOMPARE(p.edit("newUsernameEdit")->text(), QStringLiteral("pravo"));
    QCOMPARE(p.edit("newUsernameEdit")->echoMode(), QLineEdit::Normal);
    for (const char *name : {"currentPassEdit", "newPasswordEdit", "confirmPassEdit"})
        QCOMPARE(p.edit(name)->echoMode(), QLineEdit::Password);
    QCOMPARE(p.dialog.findChild<QPlainTextEdit *>("bankDetailsEdit")->toPlainText(), QStringLiteral("HDFC Bank\nA/c 42"));
    QVERIFY(p.dialog.styleSheet().startsWith("/* 1. Main Window / Container Background (Light Blue) */"));

    // An empty users table leaves the name empty.
    testdata::exec("DELETE FROM users");
    Panel empty;
    QVERIFY(empty.edit("newUsernameEdit")->text().isEmpty());
}

void TestUserPanel::refusalsInOrder()
{
    TestEnvironment env;
    openCoreDatabase(env);
    Panel p;
    auto lastText = [&env] { return env.desktop.lastMessage().text; };

    p.fill("   ", "pravo", "abcd", "abcd");
    p.click("save_btn");
    QCOMPARE(env.desktop.lastMessage().title, QStringLiteral("Error"));
    QCOMPARE(env.desktop.lastMessage().icon, QMessageBox::Warning);
    QCOMPARE(lastText(), QStringLiteral("Please fill all fields!"));

    // Compared as typed: a trailing blank does not match.
    p.fill("boss", "pravo ", "ab", "abc");
    p.click("save_btn");
    QCOMPARE(lastText(), QStringLiteral("Current password is incorrect!"));
    QVERIFY(p.edit("currentPassEdit")->text().isEmpty());
    QCOMPARE(p.edit("newPasswordEdit")->text(), QStringLiteral("ab"));

    // A mismatched pair of short passwords reports the mismatch first.
    p.fill("boss", "pravo", "ab", "abc");
    p.click("save_btn");
    QCOMPARE(lastText(), QStringLiteral("New password and confirm password do not match!"));
    QVERIFY(p.edit("newPasswordEdit")->text().isEmpty());
    QVERIFY(p.edit("confirmPassEdit")->text().isEmpty());
    QCOMPARE(p.edit("currentPassEdit")->text(), QStringLiteral("pravo"));

    p.fill("boss", "pravo", "abc", "abc");
    p.click("save_btn");
    QCOMPARE(lastText(), QStringLiteral("Password must be at least 4 characters!"));
    QCOMPARE(p.edit("newPasswordEdit")->text(), QStringLiteral("abc"));
    QCOMPARE(users(), (QList<QPair<QString, QString>>{{"pravo", "pravo"}}));
    QCOMPARE(env.desktop.messages.size(), 4);

    p.fill("  boss ", "pravo", "abcd", "abcd");
    p.click("save_btn");
    QCOMPARE(env.desktop.lastMessage().title, QStringLiteral("Success"));
    QCOMPARE(lastText(), QStringLiteral("Username and password updated successfully!\n"
                                        "Please use new credentials next time you login."));
    QCOMPARE(p.dialog.result(), int(QDialog::Accepted));
    QCOMPARE(users(), (QList<QPair<QString, QString>>{{"boss", "abcd"}}));
}

void TestUserPanel::changesOnlyTheMatchingUser()
{
    TestEnvironment env;
    openCoreDatabase(env);
    testdata::exec("INSERT INTO users (username, password) VALUES ('office', 'secret')");
    Panel p;
    p.dialog.show();

    // The other user already has this name: refused by the driver, nothing
    // changes and the dialog stays open as it was.
    p.fill("pravo", "secret", "n3w!", "n3w!");
    p.click("save_btn");
    QVERIFY(env.desktop.lastShown().startsWith("Error|Failed to update: "));
    QVERIFY(env.desktop.lastMessage().text.contains("UNIQUE"));
    QVERIFY(p.dialog.isVisible());
    QCOMPARE(p.edit("newPasswordEdit")->text(), QStringLiteral("n3w!"));
    QCOMPARE(users(), (QList<QPair<QString, QString>>{{"pravo", "pravo"}, {"office", "secret"}}));

    p.fill("clerk", "secret", "n3w!", "n3w!");
    p.click("save_btn");
    QCOMPARE(env.desktop.lastMessage().title, QStringLiteral("Success"));
    QCOMPARE(users(), (QList<QPair<QString, QString>>{{"pravo", "pravo"}, {"clerk", "n3w!"}}));
}

void TestUserPanel::bankDetailsStoredTrimmed()
{
    TestEnvironment env;
    openCoreDatabase(env);
    Panel p;
    p.dialog.show();
    auto *bank = p.dialog.findChild<QPlainTextEdit *>("bankDetailsEdit");

    bank->setPlainText("  \n State Bank\n\nIFSC SBIN0001  \n\n");
    p.click("bank_save_btn");
    QCOMPARE(stored("bank_details").toString(), QStringLiteral("State Bank\n\nIFSC SBIN0001"));
    QVERIFY(env.desktop.messages.isEmpty());
    QVERIFY(p.dialog.isVisible());

    bank->setPlainText(" \n \n");
    p.click("bank_save_btn");
    QCOMPARE(stored("bank_details"), QVariant(QString("")));

    // Cancel and Close store nothing.
    bank->setPlainText("unsaved");
    p.edit("newUsernameEdit")->setText("unsaved");
    p.click("close_btn");
    QVERIFY(!p.dialog.isVisible());
    QCOMPARE(stored("bank_details").toString(), QString());
    QCOMPARE(users().first().first, QStringLiteral("pravo"));
}

void TestUserPanel::bankDetailsFailureIsReported()
{
    TestEnvironment env;
    openCoreDatabase(env);
    Panel p;
    testdata::exec("ALTER TABLE company_settings RENAME TO company_settings_old");
    p.dialog.findChild<QPlainTextEdit *>("bankDetailsEdit")->setPlainText("ICICI");
    p.click("bank_save_btn");
    QCOMPARE(env.desktop.messages.size(), 1);
    QCOMPARE(env.desktop.lastMessage().title, QStringLiteral("Error"));
    QVERIFY(env.desktop.lastMessage().text.contains("company_settings"));
}

void TestUserPanel::invoiceFormatChoice()
{
    TestEnvironment env;
    openCoreDatabase(env);
    {
        Panel p;
        auto *combo = child<QComboBox>(&p.dialog, "invoice_format_combo");
        QCOMPARE(comboTexts(combo), QStringList({"Standard", "Tally Style"}));
        QCOMPARE(combo->itemData(0).toString() + "|" + combo->itemData(1).toString(), QStringLiteral("standard|tally"));
        QCOMPARE(combo->currentIndex(), 0);
        combo->setCurrentIndex(1);
        p.click("save_invpref_btn");
        QCOMPARE(env.desktop.lastShown(), QString("Saved|Invoice format preference saved!"));
        QCOMPARE(stored("invoice_format").toString(), QStringLiteral("tally"));
    }
    {
        // The column is added once; a second panel finds it and preselects.
        Panel p;
        QCOMPARE(p.dialog.findChild<QComboBox *>("invoice_format_combo")->currentIndex(), 1);
        testdata::exec("UPDATE company_settings SET invoice_format = 'Tally' WHERE id = 1");
    }
    {
        Panel p; // no exact match: the first entry stays
        QCOMPARE(p.dialog.findChild<QComboBox *>("invoice_format_combo")->currentIndex(), 0);
        env.desktop.clear();
        testdata::exec("ALTER TABLE company_settings RENAME TO company_settings_old");
        p.click("save_invpref_btn");
        QCOMPARE(env.desktop.lastMessage().title, QStringLiteral("Error"));
        QVERIFY(env.desktop.lastMessage().text.contains("no such table"));
    }
}

QTEST_MAIN(TestUserPanel)
#include "tst_userpanel.moc"
