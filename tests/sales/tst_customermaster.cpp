#include "support/testenvironment.h"
#include "support/salesdata.h"
#include "support/masterrefusals.h"
#include "support/secondconnection.h"
#include "support/widgets.h"

#include "sales/customermaster.h"
#include "sales/customerstore.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
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

    void fill(const QString &name, const QString &gst = QString())
    {
        edit("customerName_edit")->setText(name);
        edit("gstEdit")->setText(gst);
    }
    void select(const QString &name) { table()->setCurrentCell(int(columnTexts(table(), 1).indexOf(name)), 1); }
    // Reset, then the customer selected and Edit pressed.
    void startEdit(const QString &name)
    {
        click("pushButton_5");
        select(name);
        click("edit_btn");
    }
    RecordingDesktop::Message last() { return env.desktop.lastMessage(); }
    QString shown() { return env.desktop.lastShown(); }
};

} // namespace

class TestCustomerMaster : public QObject
{
    Q_OBJECT

private slots:
    void addStoresUpperCasedAndTrimmed()
    {
        Fixture f;
        QTest::keyClicks(f.edit("customerName_edit"), "  acme tools ");
        QCOMPARE(f.edit("customerName_edit")->text(), QString("  ACME TOOLS "));
        f.edit("gstEdit")->setText(" 33abcde1234f1z5");
        f.edit("address1Edit")->setText(" 12 Main Road ");
        f.edit("phoneEdit")->setText(" 98400 ");
        f.edit("vendorIdEdit")->setText(" v-77 ");
        f.w<QRadioButton>("radio_igst_btn")->setChecked(true);
        f.click("add_btn");

        QCOMPARE(f.shown(), QString("Success|Customer added successfully!"));
        QCOMPARE(rows("SELECT customer_name, gst_no, address_line1, phone, vendor_id, customer_type FROM customers"),
                 QStringList{"ACME TOOLS|33ABCDE1234F1Z5|12 Main Road|98400|V-77|IGST Customer"});
        QCOMPARE(columnTexts(f.table(), 1), QStringList{"ACME TOOLS"});

        f.fill("   ");
        f.click("add_btn");
        QCOMPARE(f.shown(), QString("Error|Customer name cannot be empty!"));
        QCOMPARE(count("SELECT COUNT(*) FROM customers"), 1);
    }

    void duplicatesInAnyLetterCase()
    {
        Fixture f;
        addCustomer("Acme Tools", {{}, {}, "33abc"});
        const QString duplicate("Duplicate Customer|Customer already exists!\n\nExisting Customer: Acme Tools\nGST No: 33abc");

        f.fill(" acme tools ");
        f.click("add_btn");
        QCOMPARE(f.shown(), duplicate);
        f.fill("NEW NAME", "33ABC");
        f.click("add_btn");
        QCOMPARE(f.shown(), duplicate);

        // Empty GST numbers do not collide.
        f.fill("CASTINGS", "");
        f.click("add_btn");
        f.fill("BOLT WORKS", "");
        f.click("add_btn");
        QCOMPARE(count("SELECT COUNT(*) FROM customers"), 3);
    }

    void editAndUpdate()
    {
        Fixture f;
        addCustomer("ACME", {{}, {}, "33AAA", {}, "IGST Customer", "a@b.in", "VX9"});
        addCustomer("BOLT", {{}, {}, "29BBB"});
        f.startEdit("ACME");
        QCOMPARE(f.edit("vendorIdEdit")->text(), QString("VX9"));
        QVERIFY(f.w<QRadioButton>("radio_igst_btn")->isChecked());

        // Another customer's GST number is refused; the form stays in edit.
        f.edit("gstEdit")->setText("29bbb");
        f.click("update_btn");
        QCOMPARE(f.shown(), QString("Duplicate Customer|Another customer with same name or GST already exists!\nExisting: BOLT"));

        // Its own name and GST number do not collide; another row chosen while
        // editing changes nothing.
        f.edit("gstEdit")->setText("33AAA");
        f.edit("phoneEdit")->setText("12345");
        f.select("BOLT");
        f.click("update_btn");
        QCOMPARE(f.shown(), QString("Success|Customer updated successfully!"));
        QCOMPARE(rows("SELECT customer_name, gst_no, phone, customer_type, vendor_id FROM customers ORDER BY 1"),
                 QStringList({"ACME|33AAA|12345|IGST Customer|VX9", "BOLT|29BBB||Local Customer|"}));
    }

    void deleteRefusedWhileItemsOrDocumentsUseIt()
    {
        Fixture f;
        addItem(addCustomer("ACME"), "P1", "");
        f.click("pushButton_5");

        f.select("ACME");
        f.click("delete_btn");
        QCOMPARE(f.shown(), QString("Cannot Delete|This customer has items linked to Items!\nPlease delete the items first."));

        exec("DELETE FROM items");
        addInward({1, "26-27", 1, 9, 1});
        addPayment(4, "26-27", "2026-07-01", 0, 0, 1);
        f.env.desktop.clear();
        f.click("delete_btn");
        QCOMPARE(f.env.desktop.messages.size(), 1);
        QCOMPARE(f.shown(), QString("Cannot Delete|This customer is still used by Inward Entries, Payments!\nIt cannot be deleted."));

        exec("DELETE FROM inward_entries");
        exec("DELETE FROM invoice_payments");
        addDelivery({1, "26-27", 1, 1, 0, 1});
        addInvoice({1, "26-27"});
        f.click("delete_btn");
        QCOMPARE(f.last().text, QString("This customer is still used by Delivery Challans, Invoices!\nIt cannot be deleted."));
        QCOMPARE(count("SELECT COUNT(*) FROM customers"), 1);

        // A customer nothing uses is deleted after the confirmation.
        exec("DELETE FROM delivery_entries");
        exec("DELETE FROM invoices");
        f.env.desktop.messageAnswers.enqueue(QMessageBox::No);
        f.click("delete_btn");
        QCOMPARE(f.shown(), QString("Confirm Delete|Delete customer: ACME?"));
        QCOMPARE(count("SELECT COUNT(*) FROM customers"), 1);
        f.click("delete_btn");
        QCOMPARE(f.last().text, QString("Customer deleted!"));
        QCOMPARE(count("SELECT COUNT(*) FROM customers"), 0);
        QCOMPARE(f.table()->rowCount(), 0);
    }

    // ACME written by the other copy after this list read it: Update and Delete store nothing
    // and say how to go on; what was typed stays and the form leaves the edit.
    void aCustomerChangedInAnotherCopyIsRefused_data()
    {
        QTest::addColumn<QString>("otherCopy");
        QTest::addColumn<QStringList>("stored"); // none: deleted
        QTest::newRow("phone") << "UPDATE customers SET phone = '777' WHERE customer_id = 1" << QStringList{"ACME|777|"};
        QTest::newRow("vendor id, not listed") << "UPDATE customers SET vendor_id = 'V2' WHERE customer_id = 1"
                                               << QStringList{"ACME||V2"};
        QTest::newRow("deleted") << "DELETE FROM customers WHERE customer_id = 1" << QStringList{};
    }
    void aCustomerChangedInAnotherCopyIsRefused()
    {
        QFETCH(QString, otherCopy);
        QFETCH(QStringList, stored);
        const MasterRefusals refused = masterRefusals("Customer ACME", "customer", stored.isEmpty());
        Fixture f;
        addCustomer("ACME");
        addCustomer("BOLT");
        f.startEdit("ACME");
        writeAsOtherCopy(otherCopy);
        f.edit("phoneEdit")->setText("12345");
        f.click("update_btn");
        QCOMPARE(f.shown(), refused.update);
        QCOMPARE(f.edit("phoneEdit")->text(), QString("12345"));
        QVERIFY(f.w<QPushButton>("edit_btn")->isEnabled() && !f.w<QPushButton>("update_btn")->isEnabled());
        f.env.desktop.messageAnswers.enqueue(QMessageBox::Yes);
        f.click("delete_btn");
        QCOMPARE(f.shown(), refused.remove);
        QCOMPARE(rows("SELECT customer_name, phone, vendor_id FROM customers WHERE customer_name = 'ACME'"), stored);
        if (!stored.isEmpty()) {
            // Reset keeps what was typed; Edit then loads ACME as it is now, and Update stores it.
            f.click("pushButton_5");
            QCOMPARE(f.edit("phoneEdit")->text(), QString("12345"));
            f.startEdit("ACME");
            QCOMPARE(QStringList{"ACME|" + f.edit("phoneEdit")->text() + "|" + f.edit("vendorIdEdit")->text()}, stored);
            f.edit("phoneEdit")->setText("12345");
            f.click("update_btn");
            QCOMPARE(f.shown(), QString("Success|Customer updated successfully!"));
            QCOMPARE(rows("SELECT phone FROM customers WHERE customer_id = 1"), QStringList{"12345"});
        }

        // A long name is cut in a refusal.
        CustomerRow longName;
        longName.name = "ACME PRECISION ENGINEERING AND FORGING WORKS PRIVATE LIMITED";
        QCOMPARE(customerRowName(longName), "Customer ACME PRECISION ENGINEERING AND FORGING\u2026");

        writeAsOtherCopy("INSERT INTO items (customer_id, item_code) VALUES (2, 'B1')");
        QString error; // an item given to BOLT after the list read it
        QVERIFY(!deleteCustomer(findCustomers("BOLT").value(0), &error) && error.startsWith("This customer has items"));
    }

    // The other copy saves the same GST number while Add waits for the lock:
    // the look taken once the lock is held refuses it.
    void aDuplicateSavedMeanwhileInAnotherCopyIsRefused()
    {
        Fixture f;
        f.fill("CAST", "33CCC");
        saveWhileOtherCopyWrites("INSERT INTO customers (customer_name, gst_no) VALUES ('Cast Co', '33ccc')",
                                 [&f] { f.click("add_btn"); });
        QCOMPARE(f.shown(), QString("Duplicate Customer|Customer already exists!\n\nExisting Customer: Cast Co\nGST No: 33ccc"));
        QCOMPARE(rows("SELECT customer_name FROM customers"), QStringList{"Cast Co"});
    }

    void listAndSearchByName()
    {
        Fixture f;
        addCustomer("CHARLIE", {{}, {}, {}, {}, "IGST Customer"});
        addCustomer("ALPHA");
        addCustomer("BRAVO");
        delete f.form;
        f.form = new CustomerMaster;

        QCOMPARE(comboTexts(f.search()), QStringList({"-- All Customers --", "ALPHA", "BRAVO", "CHARLIE"}));
        QCOMPARE(columnTexts(f.table(), 1), QStringList({"ALPHA", "BRAVO", "CHARLIE"}));
        // The type cell is coloured by type.
        QCOMPARE(f.table()->item(0, 5)->background().color(), QColor("#d4edda"));
        QCOMPARE(f.table()->item(2, 5)->background().color(), QColor("#fff3cd"));

        f.search()->setCurrentIndex(2);
        QCOMPARE(columnTexts(f.table(), 1), QStringList{"BRAVO"});
    }
};

QTEST_MAIN(TestCustomerMaster)
#include "tst_customermaster.moc"
