#include "support/recordingdesktop.h"
#include "support/salesdata.h"
#include "support/widgets.h"

#include "sales/customermaster.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlQuery>
#include <QTableWidget>
#include <QtTest>

using namespace testdata;

namespace {

// A customer master over a fresh database with the sales tables.
struct Fixture
{
    TestEnvironment env;
    CustomerMaster *form = nullptr;

    Fixture()
    {
        openSalesDatabase(env);
        form = new CustomerMaster;
        form->show();
    }
    template<class T>
    T *w(const char *name) { return child<T>(form, name); }
    QLineEdit *edit(const char *name) { return w<QLineEdit>(name); }
    QTableWidget *table() { return w<QTableWidget>("customerTable"); }
    QComboBox *search() { return w<QComboBox>("searchCombo"); }
    void click(const char *button) { ::click(form, button); }

    void fill(const QString &name, const QString &gst = QString(), const QString &vendor = QString())
    {
        edit("customerName_edit")->setText(name);
        edit("gstEdit")->setText(gst);
        edit("vendorIdEdit")->setText(vendor);
    }
    void select(const QString &name) { table()->setCurrentCell(int(columnTexts(table(), 1).indexOf(name)), 1); }
    RecordingDesktop::Message last() { return env.desktop.lastMessage(); }
    QString shown() { return env.desktop.lastShown(); }
};

} // namespace

class TestCustomerMaster : public QObject
{
    Q_OBJECT

private slots:
    void formAndList()
    {
        Fixture f;
        QCOMPARE(f.form->windowTitle(), QString("Customer Master - Kestrova App"));
        QVERIFY(f.form->styleSheet().startsWith("/* 1. Main Window / Container Background (Light Blue) */"));
        QVERIFY(!f.w<QPushButton>("update_btn")->isEnabled());
        QVERIFY(!f.w<QPushButton>("cancel_btn")->isEnabled());
        QVERIFY(f.w<QRadioButton>("radio_local_btn")->isChecked());
        QCOMPARE(f.table()->columnCount(), 8);
        QVERIFY(f.table()->isColumnHidden(0));
        QCOMPARE(f.table()->horizontalHeaderItem(5)->text(), QString("Type"));

        addCustomer("ZED");
        addCustomer("ABC", {{}, {}, {}, {}, "IGST Customer"});
        f.click("pushButton_5");
        QCOMPARE(f.table()->rowCount(), 2);
        QCOMPARE(f.table()->item(0, 1)->text(), QString("ABC"));
        QCOMPARE(f.table()->item(0, 5)->background().color(), QColor("#fff3cd"));
        QCOMPARE(f.table()->item(1, 5)->background().color(), QColor("#d4edda"));
    }

    void addStoresUpperCasedAndTrimmed()
    {
        Fixture f;
        QTest::keyClicks(f.edit("customerName_edit"), "  acme tools ");
        QCOMPARE(f.edit("customerName_edit")->text(), QString("  ACME TOOLS "));
        QCOMPARE(f.edit("customerName_edit")->cursorPosition(), 13);
        f.edit("gstEdit")->setText(" 33abcde1234f1z5");
        f.edit("address1Edit")->setText(" 12 Main Road ");
        f.edit("phoneEdit")->setText(" 98400 ");
        f.edit("vendorIdEdit")->setText(" v-77 ");
        f.w<QRadioButton>("radio_igst_btn")->setChecked(true);
        f.click("add_btn");

        QCOMPARE(f.shown(), QString("Success|Customer added successfully!"));
        QCOMPARE(rows("SELECT customer_name, gst_no, address_line1, phone, vendor_id, customer_type FROM customers"),
                 QStringList{"ACME TOOLS|33ABCDE1234F1Z5|12 Main Road|98400|V-77|IGST Customer"});
        QVERIFY(f.edit("customerName_edit")->text().isEmpty());
        QVERIFY(f.edit("vendorIdEdit")->text().isEmpty());
        QVERIFY(f.w<QRadioButton>("radio_igst_btn")->isChecked());
        QCOMPARE(f.search()->itemText(1), QString("ACME TOOLS"));
        QCOMPARE(f.table()->rowCount(), 1);

        f.fill("   ");
        f.click("add_btn");
        QCOMPARE(f.shown(), QString("Error|Customer name cannot be empty!"));
        QCOMPARE(value("SELECT COUNT(*) FROM customers").toInt(), 1);
    }

    void duplicatesInAnyLetterCase()
    {
        Fixture f;
        addCustomer("Acme Tools", {{}, {}, "33abc"});
        addCustomer("BOLT WORKS");

        f.fill(" acme tools ");
        f.click("add_btn");
        QCOMPARE(f.shown(), QString("Duplicate Customer|Customer already exists!\n\nExisting Customer: Acme Tools\nGST No: 33abc"));

        f.fill("NEW NAME", "33ABC");
        f.click("add_btn");
        QCOMPARE(f.shown(), QString("Duplicate Customer|Customer already exists!\n\nExisting Customer: Acme Tools\nGST No: 33abc"));

        // Empty GST numbers do not collide.
        f.fill("CASTINGS", "");
        f.click("add_btn");
        QCOMPARE(f.last().title, QString("Success"));
        QCOMPARE(value("SELECT COUNT(*) FROM customers").toInt(), 3);
    }

    void editAndUpdate()
    {
        Fixture f;
        addCustomer("ACME", {{}, {}, "33AAA", {}, "IGST Customer", "a@b.in", "VX9"});
        addCustomer("BOLT", {{}, {}, "29BBB"});
        f.click("pushButton_5");

        f.click("edit_btn");
        QCOMPARE(f.last().text, QString("Please select a customer to edit!"));

        f.select("ACME");
        f.click("edit_btn");
        QCOMPARE(f.edit("customerName_edit")->text(), QString("ACME"));
        QCOMPARE(f.edit("vendorIdEdit")->text(), QString("VX9"));
        QVERIFY(f.w<QRadioButton>("radio_igst_btn")->isChecked());
        QVERIFY(!f.w<QPushButton>("add_btn")->isEnabled());
        QVERIFY(!f.w<QPushButton>("delete_btn")->isEnabled());
        QVERIFY(f.w<QPushButton>("update_btn")->isEnabled());

        // Another customer's GST number is refused; the form stays in edit.
        f.edit("gstEdit")->setText("29bbb");
        f.click("update_btn");
        QCOMPARE(f.shown(), QString("Duplicate Customer|Another customer with same name or GST already exists!\nExisting: BOLT"));
        QVERIFY(f.w<QPushButton>("update_btn")->isEnabled());

        // Its own name and GST number do not collide.
        f.edit("gstEdit")->setText("33AAA");
        f.edit("phoneEdit")->setText("12345");
        f.select("BOLT"); // another row chosen while editing changes nothing
        f.click("update_btn");
        QCOMPARE(f.shown(), QString("Success|Customer updated successfully!"));
        QCOMPARE(value("SELECT phone FROM customers WHERE customer_name = 'ACME'").toString(), QString("12345"));
        QCOMPARE(value("SELECT vendor_id FROM customers WHERE customer_name = 'ACME'").toString(), QString("VX9"));
        QCOMPARE(value("SELECT phone FROM customers WHERE customer_name = 'BOLT'").toString(), QString());
        QVERIFY(f.w<QPushButton>("add_btn")->isEnabled());
        QVERIFY(!f.w<QPushButton>("update_btn")->isEnabled());

        QMetaObject::invokeMethod(f.form, "on_update_btn_clicked"); // nothing in edit any more
        QCOMPARE(f.last().text, QString("No customer selected for editing!"));

        f.select("BOLT");
        f.click("edit_btn");
        QVERIFY(f.w<QRadioButton>("radio_local_btn")->isChecked());
        f.click("cancel_btn");
        QVERIFY(f.edit("customerName_edit")->text().isEmpty());
        QVERIFY(f.w<QPushButton>("edit_btn")->isEnabled());
        QVERIFY(!f.w<QPushButton>("cancel_btn")->isEnabled());
    }

    void deleteRefusedWhileItemsOrDocumentsUseIt()
    {
        Fixture f;
        addItem(addCustomer("ACME"), "P1", "");
        f.click("pushButton_5");

        f.select("ACME");
        f.click("delete_btn");
        QCOMPARE(f.shown(), QString("Cannot Delete|This customer has items linked to Items!\nPlease delete the items first."));

        QSqlQuery("DELETE FROM items");
        addInward({1, "26-27", 1, 9, 1});
        addPayment(4, "26-27", "2026-07-01", 0, 0, 1);
        f.env.desktop.clear();
        f.click("delete_btn");
        QCOMPARE(f.env.desktop.messages.size(), 1);
        QCOMPARE(f.shown(), QString("Cannot Delete|This customer is still used by Inward Entries, Payments!\nIt cannot be deleted."));
        QCOMPARE(value("SELECT COUNT(*) FROM customers").toInt(), 1);

        QSqlQuery("DELETE FROM inward_entries");
        QSqlQuery("DELETE FROM invoice_payments");
        addDelivery({1, "26-27", 1, 1, 0, 1});
        addInvoice({1, "26-27"});
        f.click("delete_btn");
        QCOMPARE(f.last().text, QString("This customer is still used by Delivery Challans, Invoices!\nIt cannot be deleted."));
        QCOMPARE(value("SELECT COUNT(*) FROM customers").toInt(), 1);
    }

    void deleteAfterConfirmation()
    {
        Fixture f;
        addCustomer("ACME");
        addCustomer("BOLT");
        f.form->close();
        delete f.form;
        f.form = new CustomerMaster;

        f.click("delete_btn");
        QCOMPARE(f.last().text, QString("Please select a customer to delete!"));

        f.select("ACME");
        f.env.desktop.messageAnswers.enqueue(QMessageBox::No);
        f.click("delete_btn");
        QCOMPARE(f.shown(), QString("Confirm Delete|Delete customer: ACME?"));
        QCOMPARE(f.last().buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(value("SELECT COUNT(*) FROM customers").toInt(), 2);

        f.click("delete_btn");
        QCOMPARE(f.last().text, QString("Customer deleted!"));
        QCOMPARE(value("SELECT COUNT(*) FROM customers").toInt(), 1);
        QCOMPARE(f.table()->rowCount(), 1);
        // The search list is refilled only later: the deleted name is still offered.
        QCOMPARE(f.search()->findText("ACME"), 1);
        f.search()->setCurrentIndex(1);
        QCOMPARE(f.table()->rowCount(), 0);
    }

    void searchByName()
    {
        Fixture f;
        for (const char *name : {"CHARLIE", "ALPHA", "BRAVO"})
            addCustomer(name);
        delete f.form;
        f.form = new CustomerMaster;

        QCOMPARE(f.search()->count(), 4);
        QCOMPARE(f.search()->itemText(0), QString("-- All Customers --"));
        QCOMPARE(f.search()->itemText(1), QString("ALPHA"));
        QCOMPARE(f.table()->rowCount(), 3);

        f.search()->setCurrentIndex(f.search()->findText("BRAVO"));
        QCOMPARE(f.table()->rowCount(), 1);
        QCOMPARE(f.table()->item(0, 1)->text(), QString("BRAVO"));

        f.search()->setCurrentIndex(0);
        QCOMPARE(f.table()->rowCount(), 3);

        f.search()->setCurrentIndex(3);
        f.click("pushButton_5");
        QCOMPARE(f.search()->currentIndex(), 0);
        QCOMPARE(f.table()->rowCount(), 3);
    }
};

QTEST_MAIN(TestCustomerMaster)
#include "tst_customermaster.moc"
