// The administration panel behind its password, and the company settings dialog.

#include "support/files.h"
#include "support/recordingdesktop.h"
#include "support/salesdata.h"
#include "support/widgets.h"

#include "app/companydb.h"
#include "app/companysettingsdialog.h"
#include "app/developerdialog.h"
#include "app/mainwindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTest>
#include <QTimer>

namespace {

template<class Dialog>
struct Form
{
    Dialog dialog;
    QLineEdit *edit(const char *name) { return child<QLineEdit>(&dialog, name); }
    QCheckBox *check(const QString &name) { return child<QCheckBox>(&dialog, name.toLatin1().constData()); }
    void click(const char *name) { ::click(&dialog, name); }
};

QString saveImage(const QString &path, const char *format, const QColor &colour)
{
    QImage image(60, 30, QImage::Format_RGB32);
    image.fill(colour);
    image.save(path, format);
    return path;
}

QStringList storedCompany()
{
    QSqlQuery q("SELECT company_name, address_line1, address_line2, phone, email, gst_no FROM company_settings "
                "WHERE id = 1");
    QStringList row;
    if (q.next()) {
        for (int i = 0; i < 6; ++i)
            row << q.value(i).toString();
    }
    return row;
}

QStringList years()
{
    QStringList names;
    QSqlQuery q("SELECT fy_name FROM financial_years ORDER BY fy_name");
    while (q.next())
        names << q.value(0).toString();
    return names;
}

int moduleFlag(const QString &name)
{
    QSqlQuery q;
    q.prepare("SELECT is_enabled FROM modules WHERE module_name = :n");
    q.bindValue(":n", name);
    return q.exec() && q.next() ? q.value(0).toInt() : -1;
}

void openCoreDatabase(TestEnvironment &env)
{
    QVERIFY(env.openDatabase());
    CompanyDb::createCoreSchema();
}

const QString CompanyFields[] = {"companyNameEdit", "address1Edit", "address2Edit", "phoneEdit", "emailEdit", "gstEdit"};

template<class Dialog>
void fillCompany(Form<Dialog> &f, const QStringList &values)
{
    for (int i = 0; i < 6; ++i)
        f.edit(CompanyFields[i].toLatin1())->setText(values[i]);
}

} // namespace

class TestAdminPanel : public QObject
{
    Q_OBJECT

private slots:
    void passwordGate();
    void opensWithStoredSettings();
    void companyDetailsSaved();
    void companySaveFailures();
    void logoFiles();
    void logoWriteFailureIsReported();
    void moduleSwitches();
    void yearList();
    void yearListFailureIsReported();
    void companySettingsDialog();
};

void TestAdminPanel::passwordGate()
{
    TestEnvironment env;
    MainWindow w;
    QPushButton *button = w.findChild<QPushButton *>("developer_btn");

    env.desktop.textAnswers << QString() << QString("");
    button->click(); // cancelled
    button->click(); // empty
    QCOMPARE(env.desktop.messages.size(), 2);
    QCOMPARE(env.desktop.messages.first().title, QStringLiteral("Developer Access"));
    QCOMPARE(env.desktop.messages.first().text, QStringLiteral("Enter Developer Password:"));

    for (const QString &wrong : {QString(" TELMO@PNL8316"), QString("TELMO@PNL8316 "), QString("telmo@pnl8316")}) {
        env.desktop.clear();
        env.desktop.textAnswers << wrong;
        button->click();
        QCOMPARE(env.desktop.messages.size(), 2);
        QCOMPARE(env.desktop.lastShown(), QString("Access Denied|Invalid developer password!"));
        QCOMPARE(env.desktop.lastMessage().icon, QMessageBox::Warning);
    }

    env.desktop.clear();
    env.desktop.textAnswers << "TELMO@PNL8316";
    QString title;
    QWidget *parent = nullptr;
    QTimer::singleShot(0, [&] {
        if (auto *d = qobject_cast<DeveloperDialog *>(QApplication::activeModalWidget())) {
            title = d->windowTitle();
            parent = d->parentWidget();
            d->findChild<QPushButton *>("cancel_btn")->click();
        }
    });
    button->click();
    QCOMPARE(title, QStringLiteral("Developer Panel - Morvel Technologies"));
    QCOMPARE(parent, &w);
    QCOMPARE(env.desktop.messages.size(), 1); // the prompt only
    QVERIFY(w.findChildren<DeveloperDialog *>().isEmpty());
}

void TestAdminPanel::opensWithStoredSettings()
{
    TestEnvironment env;
    openCoreDatabase(env);
    testdata::exec("UPDATE modules SET is_enabled = 0 WHERE module_name = 'salary'");
    testdata::exec("UPDATE modules SET is_enabled = 2 WHERE module_name = 'purchase'");
    testdata::exec("DELETE FROM modules WHERE module_name = 'sales'");
    testdata::exec("INSERT INTO financial_years (fy_name, is_released) VALUES ('27-28', 0), ('29-30', 1)");
    testdata::exec("DELETE FROM company_settings");

    Form<DeveloperDialog> f;
    QCOMPARE(f.edit("companyNameEdit")->text(), QStringLiteral("Morvel Coats")); // built-in company
    QVERIFY(!f.edit("address1Edit")->text().isEmpty());
    QVERIFY(f.check("expensesCheck")->isChecked());
    QVERIFY(!f.check("purchaseCheck")->isChecked());
    QVERIFY(f.check("salesCheck")->isChecked());
    QVERIFY(!f.check("salaryCheck")->isChecked());
    QVERIFY(f.check("inventoryCheck")->isChecked());
    QStringList ticked;
    for (const QString &fy : AdminSettings::offeredYears()) {
        if (f.check("fy_" + QString(fy).remove('-') + "_check")->isChecked())
            ticked << fy;
    }
    QCOMPARE(ticked, (QStringList{"26-27", "29-30"}));
    QCOMPARE(f.dialog.findChild<QLabel *>("left_logo_lable")->text(), QStringLiteral("Left Logo Preview"));
}

void TestAdminPanel::companyDetailsSaved()
{
    TestEnvironment env;
    openCoreDatabase(env);
    Form<DeveloperDialog> f;
    fillCompany(f, {"  Acme Coatings ", " Plot 4 ", "", " 98400 ", "a@b.in ", " 33ABCDE1234F1Z5"});
    f.click("company_save_btn");
    QCOMPARE(env.desktop.lastShown(), QString("Success|Company details saved successfully!"));
    QCOMPARE(storedCompany(), (QStringList{"Acme Coatings", "Plot 4", "", "98400", "a@b.in", "33ABCDE1234F1Z5"}));

    // Row 1 gone: the save brings it back rather than changing nothing.
    testdata::exec("DELETE FROM company_settings");
    f.click("company_save_btn");
    QCOMPARE(env.desktop.lastMessage().title, QStringLiteral("Success"));
    QCOMPARE(storedCompany().first(), QStringLiteral("Acme Coatings"));
}

void TestAdminPanel::companySaveFailures()
{
    TestEnvironment env;
    openCoreDatabase(env);
    const QString chosen = saveImage(env.folder() + "/chosen.png", "PNG", Qt::red);
    Form<DeveloperDialog> f;
    env.desktop.openFileAnswers << chosen;
    f.click("left_logo_btn");

    f.edit("companyNameEdit")->setText("   ");
    f.click("company_save_btn");
    QCOMPARE(env.desktop.lastMessage().text, QStringLiteral("Company name cannot be empty!"));
    QCOMPARE(storedCompany().first(), QStringLiteral("Your Company Name"));
    QVERIFY(!QFile::exists(env.folder() + "/left_logo.png"));
    testdata::exec("ALTER TABLE company_settings RENAME TO company_settings_old");
    f.edit("companyNameEdit")->setText("Acme");
    f.click("company_save_btn");
    QVERIFY(env.desktop.lastShown().startsWith("Error|Failed to save: "));
    QVERIFY(env.desktop.lastMessage().text.contains("no such table"));
    QVERIFY(!QFile::exists(env.folder() + "/left_logo.png"));

    // A later successful save in the same run writes the chosen logo.
    testdata::exec("ALTER TABLE company_settings_old RENAME TO company_settings");
    f.click("company_save_btn");
    QCOMPARE(env.desktop.lastMessage().title, QStringLiteral("Success"));
    QVERIFY(QFile::exists(env.folder() + "/left_logo.png"));
}

void TestAdminPanel::logoFiles()
{
    TestEnvironment env;
    openCoreDatabase(env);
    const QString left = saveImage(env.folder() + "/left_logo.png", "PNG", Qt::blue);
    const QString right = saveImage(env.folder() + "/right_logo.png", "PNG", Qt::green);
    const QByteArray leftBefore = fileBytes(left), rightBefore = fileBytes(right);

    {
        // Nothing chosen: both files stay byte for byte.
        Form<DeveloperDialog> f;
        QVERIFY(!f.dialog.findChild<QLabel *>("left_logo_lable")->pixmap().isNull());
        f.click("company_save_btn");
        QCOMPARE(env.desktop.lastMessage().title, QStringLiteral("Success"));
        QCOMPARE(fileBytes(left), leftBefore);
        QCOMPARE(fileBytes(right), rightBefore);
    }
    {
        // A JPEG chosen for the left side is stored as PNG; a file that is
        // no image is refused and the earlier choice stays.
        Form<DeveloperDialog> f;
        const QString jpeg = saveImage(env.desktop.tempFolder + "/company.jpg", "JPG", Qt::yellow);
        const QString bogus = env.desktop.tempFolder + "/broken.png";
        QVERIFY(writeFile(bogus, "not an image"));
        env.desktop.clear();
        env.desktop.openFileAnswers << jpeg << bogus;
        f.click("left_logo_btn");
        f.click("right_logo_btn");
        QCOMPARE(env.desktop.fileDialogCaptions, (QStringList{"Select Left Logo", "Select Right Logo"}));
        QCOMPARE(env.desktop.fileDialogFilters.first(), QStringLiteral("Images (*.png *.jpg *.jpeg)"));
        QCOMPARE(env.desktop.lastShown(), QString("Error|Could not load image."));
        QCOMPARE(fileBytes(left), leftBefore); // nothing written before the save

        f.click("company_save_btn");
        QCOMPARE(env.desktop.lastMessage().text, QStringLiteral("Company details saved successfully!"));
        QImageReader reader(left);
        QCOMPARE(reader.format(), QByteArray("png"));
        QVERIFY(fileBytes(left).startsWith("\x89PNG"));
        const QImage stored = reader.read();
        QCOMPARE(stored.size(), QSize(60, 30));
        QVERIFY(qAbs(QColor(stored.pixel(30, 15)).hue() - QColor(Qt::yellow).hue()) < 10);
        QCOMPARE(fileBytes(right), rightBefore);
    }
}

void TestAdminPanel::logoWriteFailureIsReported()
{
    TestEnvironment env;
    openCoreDatabase(env);
    // A folder where the right logo file belongs cannot be replaced by a file.
    QVERIFY(QDir().mkpath(env.folder() + "/right_logo.png"));
    const QString chosen = saveImage(env.desktop.tempFolder + "/cert.png", "PNG", Qt::red);

    Form<DeveloperDialog> f;
    env.desktop.clear();
    env.desktop.openFileAnswers << chosen << chosen;
    f.click("left_logo_btn");
    f.click("right_logo_btn");
    f.click("company_save_btn");
    QCOMPARE(env.desktop.messages.size(), 1);
    QCOMPARE(env.desktop.lastMessage().title, QStringLiteral("Error"));
    QCOMPARE(env.desktop.lastMessage().icon, QMessageBox::Warning);
    QVERIFY(env.desktop.lastMessage().text.startsWith("Failed to save right_logo.png: "));
    QVERIFY(QFile::exists(env.folder() + "/left_logo.png"));
}

void TestAdminPanel::moduleSwitches()
{
    TestEnvironment env;
    openCoreDatabase(env);
    {
        Form<DeveloperDialog> f;
        f.check("salaryCheck")->setChecked(false);
        f.check("inventoryCheck")->setChecked(false);
        f.click("module_save_btn");
        QCOMPARE(env.desktop.lastShown(),
                 QStringLiteral("Success|Module settings saved!\nChanges will take effect on next login."));
        QCOMPARE(moduleFlag("salary"), 0);
        QCOMPARE(moduleFlag("inventory"), 0);
        QCOMPARE(moduleFlag("sales"), 1);
        QCOMPARE(moduleFlag("expenses"), 1);
    }
    {
        Form<DeveloperDialog> f;
        QVERIFY(!f.check("salaryCheck")->isChecked());
        f.check("salaryCheck")->setChecked(true);
        env.desktop.clear();
        testdata::exec("ALTER TABLE modules RENAME TO modules_old");
        f.click("module_save_btn");
        QCOMPARE(env.desktop.messages.size(), 1);
        QCOMPARE(env.desktop.lastMessage().title, QStringLiteral("Error"));
        QVERIFY(env.desktop.lastMessage().text.contains("no such table"));
        testdata::exec("ALTER TABLE modules_old RENAME TO modules");
        QCOMPARE(moduleFlag("salary"), 0);
    }
}

void TestAdminPanel::yearList()
{
    TestEnvironment env;
    openCoreDatabase(env);
    testdata::exec("INSERT INTO financial_years (fy_name, is_active, is_released) VALUES ('28-29', 0, 0), "
                   "('24-25', 0, 1)");
    {
        // Before the sales tables exist no year holds an inward entry.
        Form<DeveloperDialog> f;
        f.check("fy_2728_check")->setChecked(true);
        f.check("fy_2829_check")->setChecked(true);
        f.click("save_fy_btn");
        QCOMPARE(env.desktop.lastShown(),
                 QStringLiteral("Success|Financial year settings saved!\nChanges visible on next login."));
        QCOMPARE(years(), (QStringList{"24-25", "26-27", "27-28", "28-29"}));
        // 27-28 is added released, not active; 28-29, present but not released, keeps its row as it was.
        QCOMPARE(testdata::rows("SELECT fy_name, is_active, is_released FROM financial_years "
                                "WHERE fy_name IN ('27-28', '28-29') ORDER BY fy_name"),
                 QStringList({"27-28|0|1", "28-29|0|0"}));
    }

    testdata::createTables();
    testdata::addInward({1, "27-28", 1, 1, 1});
    {
        Form<DeveloperDialog> f;
        QVERIFY(f.check("fy_2627_check")->isChecked());
        QVERIFY(f.check("fy_2728_check")->isChecked());
        QVERIFY(!f.check("fy_2829_check")->isChecked());
        f.check("fy_2627_check")->setChecked(false);
        f.check("fy_2728_check")->setChecked(false);
        f.click("save_fy_btn");
        QCOMPARE(env.desktop.lastMessage().title, QStringLiteral("Success"));
        // 27-28 holds an inward entry; 26-27 goes with its active flag; a year
        // the panel does not offer is never touched.
        QCOMPARE(years(), (QStringList{"24-25", "27-28"}));
    }
}

void TestAdminPanel::yearListFailureIsReported()
{
    TestEnvironment env;
    openCoreDatabase(env);
    QSqlQuery q;
    // An inward table that cannot answer for the year: the year stays.
    testdata::exec("CREATE TABLE inward_entries (inward_id INTEGER PRIMARY KEY)");
    Form<DeveloperDialog> f;
    f.check("fy_2627_check")->setChecked(false);
    f.click("save_fy_btn");
    QCOMPARE(env.desktop.messages.size(), 1);
    QCOMPARE(env.desktop.lastMessage().title, QStringLiteral("Error"));
    QVERIFY(env.desktop.lastMessage().text.contains("no such column: fy_name"));
    QCOMPARE(years(), QStringList{"26-27"});

    env.desktop.clear();
    testdata::exec("DROP TABLE inward_entries");
    testdata::exec("ALTER TABLE financial_years RENAME TO financial_years_old");
    f.check("fy_2627_check")->setChecked(true);
    f.click("save_fy_btn");
    QCOMPARE(env.desktop.messages.size(), 1);
    QCOMPARE(env.desktop.lastMessage().title, QStringLiteral("Error"));
    QVERIFY(env.desktop.lastMessage().text.contains("no such table: financial_years"));
}

void TestAdminPanel::companySettingsDialog()
{
    TestEnvironment env;
    openCoreDatabase(env);
    {
        Form<CompanySettingsDialog> f;
        QCOMPARE(f.dialog.windowTitle(), QStringLiteral("Company Settings"));
        QCOMPARE(f.dialog.minimumSize(), QSize(450, 320));
        QCOMPARE(f.dialog.maximumSize(), QSize(450, 320));
        QCOMPARE(f.edit("companyNameEdit")->text(), QStringLiteral("Your Company Name"));
        QCOMPARE(f.edit("address2Edit")->text(), QStringLiteral("Address Line 2"));

        f.edit("companyNameEdit")->setText(" ");
        f.click("save_btn");
        QCOMPARE(env.desktop.lastMessage().text, QStringLiteral("Company name cannot be empty!"));
        QCOMPARE(f.dialog.result(), int(QDialog::Rejected));

        fillCompany(f, {" Kestrel Paints ", "Road 1 ", "", "", "", "GST9 "});
        f.click("save_btn");
        QCOMPARE(env.desktop.lastShown(), QString("Success|Company settings saved successfully!"));
        QCOMPARE(f.dialog.result(), int(QDialog::Accepted));
        QCOMPARE(storedCompany(), (QStringList{"Kestrel Paints", "Road 1", "", "", "", "GST9"}));
    }
    testdata::exec("DELETE FROM company_settings");
    {
        // No row 1: the fields open empty and the save creates the row.
        Form<CompanySettingsDialog> f;
        for (const QString &name : CompanyFields)
            QVERIFY(f.edit(name.toLatin1())->text().isEmpty());
        f.edit("companyNameEdit")->setText("New Firm");
        f.click("save_btn");
        QCOMPARE(env.desktop.lastMessage().title, QStringLiteral("Success"));
        QCOMPARE(storedCompany(), (QStringList{"New Firm", "", "", "", "", ""}));
    }
    {
        Form<CompanySettingsDialog> f;
        f.dialog.show();
        f.edit("companyNameEdit")->setText("Unsaved");
        f.click("cancel_btn");
        QCOMPARE(f.dialog.result(), int(QDialog::Rejected));
        QCOMPARE(storedCompany().first(), QStringLiteral("New Firm"));

        f.dialog.show();
        testdata::exec("ALTER TABLE company_settings RENAME TO company_settings_old");
        f.click("save_btn");
        QVERIFY(env.desktop.lastShown().startsWith("Error|Failed to save: "));
        QVERIFY(f.dialog.isVisible());
    }
}

QTEST_MAIN(TestAdminPanel)
#include "tst_adminpanel.moc"
