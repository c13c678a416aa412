// The user panel: credentials, bank details and the invoice format choice.

#include "support/salesdata.h"
#include "support/secondconnection.h"
#include "support/testenvironment.h"
#include "support/widgets.h"

#include "shell/changepassworddialog.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

using testdata::exec;
using testdata::rows;

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

QStringList users()
{
    return rows("SELECT username, password FROM users ORDER BY id");
}

QVariant stored(const char *column)
{
    return testdata::value(QString("SELECT %1 FROM company_settings WHERE id = 1").arg(column));
}

} // namespace

class TestUserPanel : public QObject
{
    Q_OBJECT

private slots:
    void refusalsInOrder();
    void changesOnlyTheMatchingUser();
    void bankDetailsStoredTrimmed();
    void bankDetailsFailureIsReported();
    void invoiceFormatChoice();
    void aRowChangedInAnotherCopyIsRefused_data();
    void aRowChangedInAnotherCopyIsRefused();
};

void TestUserPanel::refusalsInOrder()
{
    TestEnvironment env;
    QVERIFY(testdata::openSalesDatabase(env));
    Panel p;
    QCOMPARE(p.edit("newUsernameEdit")->text(), QStringLiteral("pravo"));

    p.fill("   ", "pravo", "abcd", "abcd");
    p.click("save_btn");
    QCOMPARE(env.desktop.lastShown(), QStringLiteral("Error|Please fill all fields!"));

    // Compared as typed: a trailing blank does not match.
    p.fill("boss", "pravo ", "ab", "abc");
    p.click("save_btn");
    QCOMPARE(env.desktop.lastMessage().text, QStringLiteral("Current password is incorrect!"));
    QVERIFY(p.edit("currentPassEdit")->text().isEmpty());

    // A mismatched pair of short passwords reports the mismatch first.
    p.fill("boss", "pravo", "ab", "abc");
    p.click("save_btn");
    QCOMPARE(env.desktop.lastMessage().text, QStringLiteral("New password and confirm password do not match!"));
    QVERIFY(p.edit("newPasswordEdit")->text().isEmpty());

    p.fill("boss", "pravo", "abc", "abc");
    p.click("save_btn");
    QCOMPARE(env.desktop.lastMessage().text, QStringLiteral("Password must be at least 4 characters!"));
    QCOMPARE(users(), QStringList{"pravo|pravo"});

    p.fill("  boss ", "pravo", "abcd", "abcd");
    p.click("save_btn");
    QCOMPARE(env.desktop.lastShown(), QStringLiteral("Success|Username and password updated successfully!\n"
                                                     "Please use new credentials next time you login."));
    QCOMPARE(p.dialog.result(), int(QDialog::Accepted));
    QCOMPARE(users(), QStringList{"boss|abcd"});
}

void TestUserPanel::changesOnlyTheMatchingUser()
{
    TestEnvironment env;
    QVERIFY(testdata::openSalesDatabase(env));
    exec("INSERT INTO users (username, password) VALUES ('office', 'secret')");
    Panel p;
    p.dialog.show();

    // The other user already has this name: refused by the driver, nothing
    // changes and the dialog stays open.
    p.fill("pravo", "secret", "n3w!", "n3w!");
    p.click("save_btn");
    QVERIFY(env.desktop.lastShown().startsWith("Error|Failed to update: "));
    QVERIFY(env.desktop.lastMessage().text.contains("UNIQUE"));
    QVERIFY(p.dialog.isVisible());
    QCOMPARE(users(), (QStringList{"pravo|pravo", "office|secret"}));

    p.fill("clerk", "secret", "n3w!", "n3w!");
    p.click("save_btn");
    QCOMPARE(env.desktop.lastMessage().title, QStringLiteral("Success"));
    QCOMPARE(users(), (QStringList{"pravo|pravo", "clerk|n3w!"}));
    // The panel's own write is no change meanwhile.
    p.fill("desk", "n3w!", "wxyz", "wxyz");
    p.click("save_btn");
    QCOMPARE(env.desktop.lastMessage().title, QStringLiteral("Success"));
    QCOMPARE(users(), (QStringList{"pravo|pravo", "desk|wxyz"}));
}

void TestUserPanel::bankDetailsStoredTrimmed()
{
    TestEnvironment env;
    QVERIFY(testdata::openSalesDatabase(env));
    exec("UPDATE company_settings SET bank_details = 'HDFC Bank\nA/c 42' WHERE id = 1");
    Panel p;
    auto *bank = child<QPlainTextEdit>(&p.dialog, "bankDetailsEdit");
    QCOMPARE(bank->toPlainText(), QStringLiteral("HDFC Bank\nA/c 42"));

    bank->setPlainText("  \n State Bank\n\nIFSC SBIN0001  \n\n");
    p.click("bank_save_btn");
    QCOMPARE(stored("bank_details").toString(), QStringLiteral("State Bank\n\nIFSC SBIN0001"));
    QVERIFY(env.desktop.messages.isEmpty());

    // Saved again, then the format (the same row): each after the panel's own write.
    bank->setPlainText(" \n \n");
    p.click("bank_save_btn");
    QCOMPARE(stored("bank_details"), QVariant(QString("")));
    child<QComboBox>(&p.dialog, "invoice_format_combo")->setCurrentIndex(1);
    p.click("save_invpref_btn");
    QCOMPARE(env.desktop.lastShown(), QString("Saved|Invoice format preference saved!"));
    QCOMPARE(rows("SELECT bank_details, invoice_format FROM company_settings"), QStringList{"|tally"});
}

void TestUserPanel::bankDetailsFailureIsReported()
{
    TestEnvironment env;
    QVERIFY(testdata::openSalesDatabase(env));
    Panel p;
    exec("ALTER TABLE company_settings RENAME TO company_settings_old");
    child<QPlainTextEdit>(&p.dialog, "bankDetailsEdit")->setPlainText("ICICI");
    p.click("bank_save_btn");
    QCOMPARE(env.desktop.messages.size(), 1);
    QVERIFY(env.desktop.lastShown().startsWith("Error|no such table: company_settings"));
}

void TestUserPanel::invoiceFormatChoice()
{
    TestEnvironment env;
    QVERIFY(testdata::openSalesDatabase(env));
    {
        Panel p;
        auto *combo = child<QComboBox>(&p.dialog, "invoice_format_combo");
        combo->setCurrentIndex(1);
        p.click("save_invpref_btn");
        QCOMPARE(env.desktop.lastShown(), QString("Saved|Invoice format preference saved!"));
        QCOMPARE(stored("invoice_format").toString(), QStringLiteral("tally"));
    }
    // The column is added once; a second panel finds it and preselects.
    Panel p;
    QCOMPARE(child<QComboBox>(&p.dialog, "invoice_format_combo")->currentIndex(), 1);
    exec("ALTER TABLE company_settings RENAME TO company_settings_old");
    p.click("save_invpref_btn");
    QVERIFY(env.desktop.lastShown().startsWith("Error|no such table"));
}

// Each save writes its columns only while they are still as the panel read
// them: another copy's change of one of them is named, nothing is stored and
// the panel stays open; its change of another column is no reason against.
void TestUserPanel::aRowChangedInAnotherCopyIsRefused_data()
{
    QTest::addColumn<QString>("otherCopy");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("storedSql");
    QTest::addColumn<QStringList>("stored");
    const QString wayOn = " Nothing was saved. Close the User Panel and open it again to see it as it is now.";
    const QString company = "Error|The company record was changed or deleted meanwhile, perhaps in another window."
                            + wayOn;
    const QString sql = "SELECT phone, bank_details, invoice_format FROM company_settings";
    QTest::newRow("bank details, phone changed") << "UPDATE company_settings SET phone = '999'" << "bank_save_btn"
                                                 << QString() << sql << QStringList{"999|State Bank|"};
    QTest::newRow("bank details, bank details changed")
        << "UPDATE company_settings SET bank_details = 'ICICI'" << "bank_save_btn" << company << sql
        << QStringList{"|ICICI|"};
    QTest::newRow("bank details, deleted") << "DELETE FROM company_settings" << "bank_save_btn"
                                           << "Error|The company record no longer exists; it may have been deleted "
                                              "in another window." + wayOn
                                           << sql << QStringList();
    QTest::newRow("format, bank details changed") << "UPDATE company_settings SET bank_details = 'ICICI'"
                                                  << "save_invpref_btn" << "Saved|Invoice format preference saved!"
                                                  << sql << QStringList{"|ICICI|tally"};
    QTest::newRow("format, format changed") << "UPDATE company_settings SET invoice_format = 'standard'"
                                            << "save_invpref_btn" << company << sql
                                            << QStringList{"|HDFC|standard"};
    QTest::newRow("credentials, user renamed")
        << "UPDATE users SET username = 'chief'" << "save_btn"
        << "Error|Failed to update: The user pravo was changed or deleted meanwhile, perhaps in another window."
               + wayOn
        << "SELECT username, password FROM users" << QStringList{"chief|pravo"};
}

void TestUserPanel::aRowChangedInAnotherCopyIsRefused()
{
    QFETCH(QString, otherCopy);
    QFETCH(QString, button);
    QFETCH(QString, shown);
    QFETCH(QString, storedSql);
    TestEnvironment env;
    QVERIFY(testdata::openSalesDatabase(env));
    exec("UPDATE company_settings SET bank_details = 'HDFC' WHERE id = 1");
    Panel p;
    p.dialog.show();
    child<QPlainTextEdit>(&p.dialog, "bankDetailsEdit")->setPlainText("State Bank");
    child<QComboBox>(&p.dialog, "invoice_format_combo")->setCurrentIndex(1);
    p.fill("boss", "pravo", "abcd", "abcd");
    writeAsOtherCopy(otherCopy);
    p.click(button.toLatin1().constData());
    QCOMPARE(env.desktop.messages.size(), shown.isEmpty() ? 0 : 1);
    QCOMPARE(env.desktop.lastShown(), shown);
    QVERIFY(p.dialog.isVisible());
    QTEST(rows(storedSql), "stored");
}

QTEST_MAIN(TestUserPanel)
#include "tst_userpanel.moc"
