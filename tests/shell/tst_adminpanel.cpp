// The administration panel behind its password, and the company settings dialog.

#include "support/files.h"
#include "support/filesizelimit.h"
#include "support/salesdata.h"
#include "support/secondconnection.h"
#include "support/testenvironment.h"
#include "support/widgets.h"

#include "core/companydb.h"
#include "shell/companysettingsdialog.h"
#include "shell/developerdialog.h"
#include "shell/mainwindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTest>
#include <QTimer>

using testdata::exec;
using testdata::rows;

namespace {

template<class Dialog>
struct Form
{
    Dialog dialog;
    QLineEdit *edit(const char *name) { return child<QLineEdit>(&dialog, name); }
    QCheckBox *check(const QString &name) { return child<QCheckBox>(&dialog, name.toLatin1().constData()); }
    void click(const char *name) { ::click(&dialog, name); }
    void fillCompany(const QStringList &values)
    {
        const char *fields[] = {"companyNameEdit", "address1Edit", "address2Edit", "phoneEdit", "emailEdit", "gstEdit"};
        for (int i = 0; i < 6; ++i)
            edit(fields[i])->setText(values[i]);
    }
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
    return rows("SELECT company_name, address_line1, address_line2, phone, email, gst_no FROM company_settings "
                "WHERE id = 1");
}

void openCoreDatabase(TestEnvironment &env)
{
    QVERIFY(env.openDatabase());
    CompanyDb::createCoreSchema();
}

} // namespace

class TestAdminPanel : public QObject
{
    Q_OBJECT

private slots:
    void passwordGate();
    void opensWithStoredSettings();
    void companyDetailsSaved();
    void logoFiles();
    void logoWriteFailureIsReported();
    void moduleSwitches();
    void yearList();
    void yearListFailureIsReported();
    void yearWithdrawnOnlyWhileNoInwardEntryIsSaved();
    void companyRecordChangedMeanwhileIsRefused_data();
    void companyRecordChangedMeanwhileIsRefused();
    void companySettingsDialog();
    void companySettingsSlot();
};

void TestAdminPanel::passwordGate()
{
    TestEnvironment env;
    MainWindow w;
    QPushButton *button = w.findChild<QPushButton *>("developer_btn");

    // Compared exactly as typed.
    for (const QString &wrong : {QString("TELMO@PNL8316 "), QString("telmo@pnl8316")}) {
        env.desktop.textAnswers << wrong;
        button->click();
        QCOMPARE(env.desktop.lastShown(), QString("Access Denied|Invalid developer password!"));
    }
    QCOMPARE(env.desktop.messages.first().title + "|" + env.desktop.messages.first().text,
             QString("Developer Access|Enter Developer Password:"));

    env.desktop.clear();
    env.desktop.textAnswers << "TELMO@PNL8316";
    QWidget *parent = nullptr;
    QTimer::singleShot(0, [&] {
        if (auto *d = qobject_cast<DeveloperDialog *>(QApplication::activeModalWidget())) {
            parent = d->parentWidget();
            d->findChild<QPushButton *>("cancel_btn")->click();
        }
    });
    button->click();
    QCOMPARE(parent, &w);
    QCOMPARE(env.desktop.messages.size(), 1); // the prompt only
}

void TestAdminPanel::opensWithStoredSettings()
{
    TestEnvironment env;
    openCoreDatabase(env);
    exec("UPDATE modules SET is_enabled = 0 WHERE module_name = 'salary'");
    exec("INSERT INTO financial_years (fy_name, is_released) VALUES ('27-28', 0), ('29-30', 1)");
    exec("DELETE FROM company_settings");

    Form<DeveloperDialog> f;
    QCOMPARE(f.edit("companyNameEdit")->text(), QStringLiteral("Morvel Coats")); // built-in company
    QVERIFY(!f.check("salaryCheck")->isChecked());
    QVERIFY(f.check("salesCheck")->isChecked());
    QStringList ticked;
    for (const QString &fy : AdminSettings::offeredYears()) {
        if (f.check("fy_" + QString(fy).remove('-') + "_check")->isChecked())
            ticked << fy;
    }
    QCOMPARE(ticked, (QStringList{"26-27", "29-30"}));
}

void TestAdminPanel::companyDetailsSaved()
{
    TestEnvironment env;
    openCoreDatabase(env);
    exec("DELETE FROM company_settings");
    Form<DeveloperDialog> f;
    env.desktop.openFileAnswers << saveImage(env.folder() + "/chosen.png", "PNG", Qt::red);
    f.click("left_logo_btn");

    // A refused save writes no logo.
    f.edit("companyNameEdit")->setText("   ");
    f.click("company_save_btn");
    QCOMPARE(env.desktop.lastShown(), QString("Error|Company name cannot be empty!"));
    QVERIFY(!QFile::exists(env.folder() + "/left_logo.png"));

    f.fillCompany({"  Acme Coatings ", " Plot 4 ", "", " 98400 ", "a@b.in ", " 33ABCDE1234F1Z5"});
    f.click("company_save_btn");
    QCOMPARE(env.desktop.lastShown(), QString("Success|Company details saved successfully!"));
    QCOMPARE(storedCompany(), QStringList{"Acme Coatings|Plot 4||98400|a@b.in|33ABCDE1234F1Z5"});
    QVERIFY(QFile::exists(env.folder() + "/left_logo.png"));

    // The panel's own save (which created row 1) is no change meanwhile.
    f.edit("phoneEdit")->setText("98401");
    f.click("company_save_btn");
    QCOMPARE(env.desktop.lastShown(), QString("Success|Company details saved successfully!"));
    QCOMPARE(storedCompany(), QStringList{"Acme Coatings|Plot 4||98401|a@b.in|33ABCDE1234F1Z5"});
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
        f.click("company_save_btn");
        QCOMPARE(env.desktop.lastMessage().title, QStringLiteral("Success"));
        QCOMPARE(fileBytes(left), leftBefore);
        QCOMPARE(fileBytes(right), rightBefore);
    }
    // A JPEG chosen for the left side is stored as PNG; a file that is no
    // image is refused and the right logo stays as it was.
    Form<DeveloperDialog> f;
    const QString bogus = env.desktop.tempFolder + "/broken.png";
    QVERIFY(writeFile(bogus, "not an image"));
    env.desktop.openFileAnswers << saveImage(env.desktop.tempFolder + "/company.jpg", "JPG", Qt::yellow) << bogus;
    f.click("left_logo_btn");
    f.click("right_logo_btn");
    QCOMPARE(env.desktop.lastShown(), QString("Error|Could not load image."));
    f.click("company_save_btn");
    QCOMPARE(env.desktop.lastMessage().title, QStringLiteral("Success"));
    QImageReader reader(left);
    QCOMPARE(reader.format(), QByteArray("png"));
    QVERIFY(qAbs(QColor(reader.read().pixel(30, 15)).hue() - QColor(Qt::yellow).hue()) < 10);
    QCOMPARE(fileBytes(right), rightBefore);
}

void TestAdminPanel::logoWriteFailureIsReported()
{
    TestEnvironment env;
    openCoreDatabase(env);
    // A folder where the right logo file belongs cannot be replaced by a file.
    QVERIFY(QDir().mkpath(env.folder() + "/right_logo.png"));
    const QString chosen = saveImage(env.desktop.tempFolder + "/cert.png", "PNG", Qt::red);

    Form<DeveloperDialog> f;
    env.desktop.openFileAnswers << chosen << chosen;
    f.click("left_logo_btn");
    f.click("right_logo_btn");
    f.click("company_save_btn");
    QCOMPARE(env.desktop.messages.size(), 1);
    QVERIFY(env.desktop.lastShown().startsWith("Error|Failed to save right_logo.png: "));
    QVERIFY(QFile::exists(env.folder() + "/left_logo.png"));

    // A logo larger than the files the system lets the program write (a disk
    // that fills up) is refused with that reason; the logo there was stays.
    const QByteArray before = fileBytes(env.folder() + "/left_logo.png");
    QImage noise(512, 512, QImage::Format_RGB32);
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < noise.width(); ++x)
            noise.setPixel(x, y, QRandomGenerator::global()->generate());
    QVERIFY(noise.save(env.desktop.tempFolder + "/large.png")); // about 800 KB
    Form<DeveloperDialog> g;
    env.desktop.clear();
    env.desktop.openFileAnswers << env.desktop.tempFolder + "/large.png";
    g.click("left_logo_btn");
    {
        FileSizeLimit limit(256 * 1024);
        g.click("company_save_btn");
    }
    QCOMPARE(env.desktop.lastShown(), QString("Error|Failed to save left_logo.png: File too large"));
    QCOMPARE(fileBytes(env.folder() + "/left_logo.png"), before);
}

void TestAdminPanel::moduleSwitches()
{
    TestEnvironment env;
    openCoreDatabase(env);
    Form<DeveloperDialog> f;
    f.check("salaryCheck")->setChecked(false);
    f.check("inventoryCheck")->setChecked(false);
    f.click("module_save_btn");
    QCOMPARE(env.desktop.lastShown(),
             QStringLiteral("Success|Module settings saved!\nChanges will take effect on next login."));
    const QStringList saved{"expenses|1", "inventory|0", "purchase|1", "salary|0", "sales|1"};
    QCOMPARE(rows("SELECT module_name, is_enabled FROM modules ORDER BY module_name"), saved);

    env.desktop.clear();
    f.check("salaryCheck")->setChecked(true);
    exec("ALTER TABLE modules RENAME TO modules_old");
    f.click("module_save_btn");
    QCOMPARE(env.desktop.messages.size(), 1);
    QVERIFY(env.desktop.lastShown().startsWith("Error|no such table"));
    exec("ALTER TABLE modules_old RENAME TO modules");
    QCOMPARE(rows("SELECT module_name, is_enabled FROM modules ORDER BY module_name"), saved);
}

void TestAdminPanel::yearList()
{
    TestEnvironment env;
    openCoreDatabase(env);
    exec("INSERT INTO financial_years (fy_name, is_active, is_released) VALUES ('28-29', 0, 0), ('24-25', 0, 1)");
    {
        // Before the sales tables exist no year is known to be free: unticked,
        // the only year stays.
        Form<DeveloperDialog> f;
        f.check("fy_2627_check")->setChecked(false);
        f.check("fy_2728_check")->setChecked(true);
        f.check("fy_2829_check")->setChecked(true);
        f.click("save_fy_btn");
        QCOMPARE(env.desktop.lastShown(),
                 QStringLiteral("Success|Financial year settings saved!\nChanges visible on next login."));
        // 27-28 is added released, not active; 28-29, present but not released, keeps its row as it was.
        QCOMPARE(rows("SELECT fy_name, is_active, is_released FROM financial_years ORDER BY fy_name"),
                 QStringList({"24-25|0|1", "26-27|1|1", "27-28|0|1", "28-29|0|0"}));
    }

    testdata::createTables();
    testdata::addInward({1, "27-28", 1, 1, 1});
    Form<DeveloperDialog> f;
    f.check("fy_2627_check")->setChecked(false);
    f.check("fy_2728_check")->setChecked(false);
    f.click("save_fy_btn");
    // 27-28 holds an inward entry; 26-27 goes with its active flag; a year
    // the panel does not offer is never touched.
    QCOMPARE(rows("SELECT fy_name FROM financial_years ORDER BY fy_name"), (QStringList{"24-25", "27-28"}));
}

void TestAdminPanel::yearListFailureIsReported()
{
    TestEnvironment env;
    openCoreDatabase(env);
    // An inward table that cannot answer for the year: the year stays.
    exec("CREATE TABLE inward_entries (inward_id INTEGER PRIMARY KEY)");
    Form<DeveloperDialog> f;
    f.check("fy_2627_check")->setChecked(false);
    f.click("save_fy_btn");
    QCOMPARE(env.desktop.messages.size(), 1);
    QVERIFY(env.desktop.lastShown().startsWith("Error|no such column: fy_name"));
    QCOMPARE(rows("SELECT fy_name FROM financial_years ORDER BY fy_name"), QStringList{"26-27"});
}

// Another copy saves the year's first inward entry while the panel withdraws
// the year: the look waits for that copy's write and the year stays.
void TestAdminPanel::yearWithdrawnOnlyWhileNoInwardEntryIsSaved()
{
    TestEnvironment env;
    openCoreDatabase(env);
    testdata::createTables();
    Form<DeveloperDialog> f;
    f.check("fy_2627_check")->setChecked(false);
    saveWhileOtherCopyWrites("INSERT INTO inward_entries (inward_no, inward_no_full, fy_name) VALUES (1, '1/26-27', '26-27')",
                             [&f] { f.click("save_fy_btn"); });
    QCOMPARE(env.desktop.lastMessage().title, QStringLiteral("Success"));
    QCOMPARE(rows("SELECT fy_name FROM financial_years"), QStringList{"26-27"});
}

// Another copy writes the company details of row 1 after the panel read them
// (or holds the file while the panel saves): nothing is stored, no logo
// written, the row is named and the panel says how to go on. A change of a
// column the panel does not show is no reason against.
void TestAdminPanel::companyRecordChangedMeanwhileIsRefused_data()
{
    QTest::addColumn<QString>("otherCopy");
    QTest::addColumn<bool>("whileSaving");
    QTest::addColumn<QString>("meanwhile");
    QTest::addColumn<QStringList>("stored");
    const QString changed = "was changed or deleted meanwhile, perhaps in another window. Nothing was saved.";
    QTest::newRow("phone") << "UPDATE company_settings SET phone = '999' WHERE id = 1" << false << changed
                           << QStringList{"Your Company Name|Address Line 1|Address Line 2|999||"};
    QTest::newRow("bank details, not shown") << "UPDATE company_settings SET bank_details = 'HDFC' WHERE id = 1"
                                             << false << QString()
                                             << QStringList{"Acme Coatings|Plot 4||98400||"};
    QTest::newRow("name, while saving") << "UPDATE company_settings SET company_name = 'Other Co' WHERE id = 1"
                                        << true << changed
                                        << QStringList{"Other Co|Address Line 1|Address Line 2|||"};
    QTest::newRow("deleted") << "DELETE FROM company_settings" << false
                             << "no longer exists; it may have been deleted in another window. Nothing was saved."
                             << QStringList();
    QTest::newRow("created") << "INSERT INTO company_settings (id, company_name) VALUES (1, 'Other Co')" << false
                             << "was created meanwhile, perhaps in another window. Nothing was saved."
                             << QStringList{"Other Co|||||"};
}

void TestAdminPanel::companyRecordChangedMeanwhileIsRefused()
{
    QFETCH(QString, otherCopy);
    QFETCH(bool, whileSaving);
    QFETCH(QString, meanwhile);
    TestEnvironment env;
    openCoreDatabase(env);
    if (QString(QTest::currentDataTag()) == "created")
        exec("DELETE FROM company_settings");
    {
        Form<DeveloperDialog> f;
        env.desktop.openFileAnswers << saveImage(env.folder() + "/chosen.png", "PNG", Qt::red);
        f.click("left_logo_btn");
        f.fillCompany({"Acme Coatings", "Plot 4", "", "98400", "", ""});
        if (whileSaving) {
            saveWhileOtherCopyWrites(otherCopy, [&f] { f.click("company_save_btn"); });
        } else {
            writeAsOtherCopy(otherCopy);
            f.click("company_save_btn");
        }
        QCOMPARE(env.desktop.lastShown(), meanwhile.isEmpty() ? "Success|Company details saved successfully!"
                                          : "Error|Failed to save: The company record " + meanwhile
                                                + " Press Cancel and open the Developer Panel again to see the "
                                                  "company details as they are now.");
        QCOMPARE(QFile::exists(env.folder() + "/left_logo.png"), meanwhile.isEmpty());
    }
    QTEST(storedCompany(), "stored");

    // The company settings dialog keeps its row the same way.
    exec("DELETE FROM company_settings");
    exec("INSERT INTO company_settings (id, company_name) VALUES (1, 'Before')");
    Form<CompanySettingsDialog> g;
    writeAsOtherCopy("UPDATE company_settings SET email = 'x@y.in' WHERE id = 1");
    g.edit("companyNameEdit")->setText("After");
    g.click("save_btn");
    QCOMPARE(env.desktop.lastShown(), "Error|Failed to save: The company record was changed or deleted meanwhile, "
                                      "perhaps in another window. Nothing was saved. Press Cancel and open the "
                                      "dialog again to see the record as it is now.");
    QCOMPARE(storedCompany(), QStringList{"Before||||x@y.in|"});
}

void TestAdminPanel::companySettingsDialog()
{
    TestEnvironment env;
    openCoreDatabase(env);
    {
        Form<CompanySettingsDialog> f;
        QCOMPARE(f.edit("companyNameEdit")->text(), QStringLiteral("Your Company Name"));
        f.fillCompany({" Kestrel Paints ", "Road 1 ", "", "", "", "GST9 "});
        f.click("save_btn");
        QCOMPARE(env.desktop.lastShown(), QString("Success|Company settings saved successfully!"));
        QCOMPARE(f.dialog.result(), int(QDialog::Accepted));
        QCOMPARE(storedCompany(), QStringList{"Kestrel Paints|Road 1||||GST9"});
    }
    exec("DELETE FROM company_settings");
    // No row 1: the fields open empty and the save creates the row; a failed
    // save keeps the dialog open.
    Form<CompanySettingsDialog> f;
    f.dialog.show();
    QVERIFY(f.edit("address2Edit")->text().isEmpty());
    f.edit("companyNameEdit")->setText("New Firm");
    f.click("save_btn");
    QCOMPARE(storedCompany(), QStringList{"New Firm|||||"});

    f.dialog.show();
    exec("ALTER TABLE company_settings RENAME TO company_settings_old");
    f.click("save_btn");
    QVERIFY(env.desktop.lastShown().startsWith("Error|Failed to save: no such table"));
    QVERIFY(f.dialog.isVisible());
}

void TestAdminPanel::companySettingsSlot()
{
    TestEnvironment env;
    MainWindow w;
    // No control of the window opens the dialog; the slot does, modally.
    QVERIFY(!w.findChild<QWidget *>("company_setting_btn"));
    QLabel *header = child<QLabel>(&w, "company_header_label");
    const QString before = header->text();
    for (const char *button : {"cancel_btn", "save_btn"}) {
        QWidget *parent = nullptr;
        QTimer::singleShot(0, [&] {
            if (auto *d = qobject_cast<CompanySettingsDialog *>(QApplication::activeModalWidget())) {
                parent = d->parentWidget();
                d->findChild<QLineEdit *>("companyNameEdit")->setText("Kestrel Paints");
                d->findChild<QPushButton *>(button)->click();
            }
        });
        QVERIFY(QMetaObject::invokeMethod(&w, "on_company_setting_btn_clicked"));
        QCOMPARE(parent, &w);
        // Accepted, the header shows the saved name at once.
        QCOMPARE(header->text(), QString(button) == "save_btn" ? QString("Kestrel Paints Management Application")
                                                               : before);
    }
    QVERIFY(w.findChildren<CompanySettingsDialog *>().isEmpty());
}

QTEST_MAIN(TestAdminPanel)
#include "tst_adminpanel.moc"
