#include "support/testenvironment.h"
#include "support/salesdata.h"
#include "support/masterrefusals.h"
#include "support/secondconnection.h"
#include "support/typedinput.h"
#include "support/widgets.h"

#include "sales/itemmaster.h"
#include "sales/itemstore.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

using namespace testdata;

namespace {

// An item master over a fresh database holding two customers, ACME (1) and BOLT (2).
struct Fixture
{
    TestEnvironment env;
    itemmaster *form = nullptr;

    Fixture()
    {
        openSalesDatabase(env);
        addCustomer("ACME");
        addCustomer("BOLT");
        form = new itemmaster;
        form->show();
    }
    template<class T>
    T *w(const char *name) { return child<T>(form, name); }
    QLineEdit *edit(const char *name) { return w<QLineEdit>(name); }
    QTableWidget *table() { return w<QTableWidget>("item_table"); }
    QComboBox *customers() { return w<QComboBox>("searchCombo"); }
    void click(const char *button) { ::click(form, button); }
    void chooseCustomer(const QString &name) { customers()->setCurrentIndex(customers()->findText(name)); }

    void fill(const QString &code, const QString &name, const QString &rate = QString(), const QString &tax = "0 %",
              const QString &uom = "NOS")
    {
        edit("codeEdit")->setText(code);
        edit("nameEdit")->setText(name);
        edit("rate_edit")->setText(rate);
        w<QComboBox>("tax_combo")->setCurrentText(tax);
        w<QComboBox>("uom_combo")->setCurrentText(uom);
    }
    void selectCode(const QString &code) { table()->setCurrentCell(int(column(2).indexOf(code)), 2); }
    QStringList column(int c) { return columnTexts(table(), c); }
    RecordingDesktop::Message last() { return env.desktop.lastMessage(); }
    QString shown() { return env.desktop.lastShown(); }
};

} // namespace

class TestItemMaster : public QObject
{
    Q_OBJECT

private slots:
    void formAndCustomerList()
    {
        Fixture f;
        QCOMPARE(comboTexts(f.customers()), QStringList({"-- All Customers Items --", "ACME", "BOLT"}));
        QCOMPARE(f.customers()->itemData(0).toInt(), -1);

        // Shown again: customers added meanwhile appear, the first entry is chosen.
        f.chooseCustomer("BOLT");
        addCustomer("CAST");
        f.form->hide();
        f.form->show();
        QCOMPARE(f.customers()->count(), 4);
        QCOMPARE(f.customers()->currentIndex(), 0);
    }

    void addStoresAndListsTheItem()
    {
        Fixture f;
        f.fill("p-1", "pin", "1");
        f.click("add_btn");
        QCOMPARE(f.last().text, QString("Please select a customer first!"));

        f.chooseCustomer("ACME");
        f.edit("codeEdit")->clear();
        QTest::keyClicks(f.edit("codeEdit"), "p-1");
        QCOMPARE(f.edit("codeEdit")->text(), QString("P-1"));
        f.fill(" p-1 ", " shaft pin ", "12.5", "18 %", "KGS");
        f.edit("drawingEdit")->setText(" dr-4 ");
        f.click("add_btn");
        QCOMPARE(f.shown(), QString("Success|Item added successfully!"));

        // Tax typed as "18 %" is stored as 18; the list shows rate and tax formatted.
        QCOMPARE(rows("SELECT customer_id, item_code, item_name, drawing_no, uom, rate_wo_tax, tax_percent FROM items"),
                 QStringList{"1|P-1|SHAFT PIN|DR-4|KGS|12.5|18"});
        QCOMPARE(rowTexts(f.table(), 0).mid(1, 7),
                 QStringList({"ACME", "P-1", "SHAFT PIN", "DR-4", "KGS", "12.500", "18 %"}));

        // A name alone will do, twice over; neither code nor name will not.
        f.fill("", "washer");
        f.click("add_btn");
        f.fill("", "washer");
        f.click("add_btn");
        QCOMPARE(f.last().title, QString("Success"));
        f.fill("  ", " ");
        f.click("add_btn");
        QCOMPARE(f.last().text, QString("Item code or Item Name cannot be empty!"));
        QCOMPARE(count("SELECT COUNT(*) FROM items"), 3);
    }

    void codeIsUniquePerCustomer()
    {
        Fixture f;
        f.chooseCustomer("ACME");
        f.fill("P1", "PIN");
        f.click("add_btn");
        f.fill("p1", "OTHER");
        f.click("add_btn");
        QCOMPARE(f.shown(), QString("Duplicate|Item code already exists for this customer!"));

        f.chooseCustomer("BOLT");
        f.fill("P1", "PIN");
        f.click("add_btn");
        QCOMPARE(count("SELECT COUNT(*) FROM items"), 2);
    }

    void rateMustBeANumber()
    {
        Fixture f;
        f.chooseCustomer("ACME");
        f.fill("P1", "PIN", "12,5");
        f.click("add_btn");
        QCOMPARE(f.shown(), QString("Error|Please enter a valid rate!"));
        QCOMPARE(count("SELECT COUNT(*) FROM items"), 0);

        f.fill("P1", "PIN", "");
        f.click("add_btn");
        QCOMPARE(f.last().title, QString("Success"));
        QCOMPARE(rows("SELECT rate_wo_tax FROM items"), QStringList{"0"});

        // Update refuses it too and writes nothing.
        f.selectCode("P1");
        f.click("edit_btn");
        f.edit("rate_edit")->setText("ten");
        f.click("update_btn");
        QCOMPARE(f.last().text, QString("Please enter a valid rate!"));
        QCOMPARE(rows("SELECT rate_wo_tax FROM items"), QStringList{"0"});

        f.edit("rate_edit")->setText("1e15");
        f.click("update_btn");
        QCOMPARE(f.shown(), QString("Figure Too Large|Rate is too large: at most 99,999,999,999.99"));
        QCOMPARE(rows("SELECT rate_wo_tax FROM items"), QStringList{"0"});

        double rate = -1;
        QVERIFY(!parseRate("inf", &rate));
        // A rate is money: below 10^11 rupees to the paisa.
        QVERIFY(!parseRate("1e15", &rate));
        QVERIFY(!parseRate("100000000000", &rate));
        QVERIFY(!parseRate("99999999999.995", &rate));
        QVERIFY(parseRate("99999999999.99", &rate));
        QCOMPARE(rate, 99999999999.99);
    }

    // Add and Update refuse a rate that is no number and keep what is stored.
    void rateThatIsNoNumber_data() { typedinput::addTextRows(false); }
    void rateThatIsNoNumber()
    {
        QFETCH(QString, text);
        Fixture f;
        f.chooseCustomer("ACME");
        f.fill("P1", "PIN", text);
        f.click("add_btn");
        QCOMPARE(f.shown(), QString("Error|Please enter a valid rate!"));
        QCOMPARE(count("SELECT COUNT(*) FROM items"), 0);

        f.fill("P1", "PIN", " 12.5 ");
        f.click("add_btn");
        f.selectCode("P1");
        f.click("edit_btn");
        f.edit("rate_edit")->setText(text);
        f.click("update_btn");
        QCOMPARE(f.shown(), QString("Error|Please enter a valid rate!"));
        QCOMPARE(rows("SELECT rate_wo_tax FROM items"), QStringList{"12.5"});
        QCOMPARE(typedinput::unsoundReals("items", "rate_wo_tax"), 0);
    }

    void editUpdateAndMoveToAnotherCustomer()
    {
        Fixture f;
        addItem(1, "P1", "PIN", "KGS", 12.5, 18);
        addItem(1, "P2", "ROD");
        addItem(2, "P2", "BOLT ROD");
        f.click("reset_btn");

        f.selectCode("P1");
        f.click("edit_btn");
        QCOMPARE(f.customers()->currentText(), QString("ACME"));
        QCOMPARE(f.edit("rate_edit")->text(), QString("12.500"));
        QCOMPARE(f.w<QComboBox>("tax_combo")->currentText(), QString("18 %"));

        // Update without a change does not collide with the item itself.
        f.click("update_btn");
        QCOMPARE(f.last().text, QString("Item updated successfully!"));
        QCOMPARE(rows("SELECT rate_wo_tax, tax_percent FROM items WHERE item_id = 1"), QStringList{"12.5|18"});

        // Moving ROD to BOLT collides with BOLT's P2 until its code changes.
        f.table()->setCurrentCell(f.column(3).indexOf("ROD"), 3);
        f.click("edit_btn");
        f.chooseCustomer("BOLT");
        f.click("update_btn");
        QCOMPARE(f.last().title, QString("Duplicate"));
        f.edit("codeEdit")->setText("P9");
        f.click("update_btn");
        QCOMPARE(f.last().title, QString("Success"));
        QCOMPARE(rows("SELECT customer_id, item_code FROM items WHERE item_id = 2"), QStringList{"2|P9"});
    }

    void anItemOrCustomerGoneInAnotherCopyIsRefused()
    {
        Fixture f;
        addItem(1, "P2", "ROD");
        f.click("reset_btn"); // moved to a customer deleted meanwhile, the item stays
        f.selectCode("P2");
        f.click("edit_btn");
        f.chooseCustomer("BOLT");
        writeAsOtherCopy("DELETE FROM customers WHERE customer_name = 'BOLT'");
        f.click("update_btn");
        QVERIFY(f.shown().startsWith("Error|The chosen customer no longer exists"));
        f.click("cancel_btn"); // nor added for it
        f.fill("P3", "NUT");
        f.click("add_btn");
        QVERIFY(f.shown().startsWith("Error|The chosen customer no longer exists"));
        QCOMPARE(rows("SELECT customer_id, item_name FROM items"), QStringList{"1|ROD"});
    }

    // Nothing is stored, what was typed stays and the form is out of the
    // edit; the refusal says how to go on. The rate compared is the stored
    // one, not the list's three decimals.
    void anItemChangedInAnotherCopyIsRefused_data()
    {
        QTest::addColumn<QString>("otherCopy");
        QTest::addColumn<QStringList>("stored"); // none: deleted
        QTest::newRow("renamed") << "UPDATE items SET item_name = 'PIN B' WHERE item_id = 1" << QStringList{"PIN B|12.5"};
        QTest::newRow("rate, listed alike") << "UPDATE items SET rate_wo_tax = 12.5001 WHERE item_id = 1"
                                            << QStringList{"PIN|12.5001"};
        QTest::newRow("deleted") << "DELETE FROM items WHERE item_id = 1" << QStringList();
    }
    void anItemChangedInAnotherCopyIsRefused()
    {
        QFETCH(QString, otherCopy);
        QFETCH(QStringList, stored);
        const MasterRefusals refused = masterRefusals("Item P1", "item", stored.isEmpty());
        Fixture f;
        addItem(1, "P1", "PIN", "NOS", 12.5, 0);
        f.click("reset_btn");
        f.selectCode("P1");
        f.click("edit_btn");
        writeAsOtherCopy(otherCopy);
        f.edit("nameEdit")->setText("PIN A");
        f.click("update_btn");
        QCOMPARE(f.shown(), refused.update);
        QCOMPARE(f.edit("nameEdit")->text(), QString("PIN A"));
        QVERIFY(f.w<QPushButton>("edit_btn")->isEnabled() && !f.w<QPushButton>("update_btn")->isEnabled());
        f.env.desktop.messageAnswers.enqueue(QMessageBox::Yes);
        f.click("delete_btn");
        QCOMPARE(f.shown(), refused.remove);
        QCOMPARE(rows("SELECT item_name, rate_wo_tax FROM items"), stored);
    }

    // The other copy gives the customer the same code while Add waits for the
    // lock: the look taken once the lock is held refuses it.
    void aDuplicateSavedMeanwhileInAnotherCopyIsRefused()
    {
        Fixture f;
        f.chooseCustomer("ACME");
        f.fill("P5", "PIN");
        saveWhileOtherCopyWrites("INSERT INTO items (customer_id, item_code) VALUES (1, 'p5')",
                                 [&f] { f.click("add_btn"); });
        QCOMPARE(f.shown(), QString("Duplicate|Item code already exists for this customer!"));
        QCOMPARE(rows("SELECT item_code FROM items"), QStringList{"p5"});
    }

    void searchByCustomerAndText()
    {
        Fixture f;
        addItem(2, "ZX-10", "GEAR");
        addItem(1, "AB-20", "SHAFT");
        addItem(1, "AB-10", "COLLAR");
        addItem(7, "LOST", "ORPHAN");
        f.click("reset_btn");
        QCOMPARE(f.column(2), QStringList({"AB-10", "AB-20", "ZX-10"}));

        f.edit("searchLineEdit")->setText("  ab- ");
        QCOMPARE(f.column(2), QStringList({"AB-10", "AB-20"}));
        f.edit("searchLineEdit")->setText("gear");
        QCOMPARE(f.column(2), QStringList({"ZX-10"}));
        f.edit("searchLineEdit")->setText("10");
        f.chooseCustomer("ACME");
        QCOMPARE(f.column(2), QStringList({"AB-10"}));
        f.edit("searchLineEdit")->setText("'; DROP TABLE items; --");
        QCOMPARE(f.table()->rowCount(), 0);
        QCOMPARE(count("SELECT COUNT(*) FROM items"), 4);
    }

    void deleteRefusedWhileDocumentsUseIt()
    {
        Fixture f;
        addItem(1, "P1", "PIN");
        addItem(1, "P2", "ROD");
        addInward({1, "26-27", 1, 1, 1});
        addBin(1, "26-27", 1, 1);
        f.click("reset_btn");

        f.selectCode("P1");
        f.env.desktop.clear();
        f.click("delete_btn");
        QCOMPARE(f.env.desktop.messages.size(), 1);
        QCOMPARE(f.shown(), QString("Cannot Delete|This item is still used by Inward Entries, Bins!\nIt cannot be deleted."));

        exec("DELETE FROM inward_entries");
        exec("DELETE FROM bins");
        addDelivery({1, "26-27", 1, 1, 1, 1});
        addInvoiceLine(1, 1, 1, "26-27");
        f.click("delete_btn");
        QCOMPARE(f.last().text, QString("This item is still used by Delivery Challans, Invoices!\nIt cannot be deleted."));
        QCOMPARE(count("SELECT COUNT(*) FROM items"), 2);

        // An item nothing uses is deleted after the confirmation.
        f.selectCode("P2");
        f.env.desktop.messageAnswers.enqueue(QMessageBox::No);
        f.click("delete_btn");
        QCOMPARE(f.shown(), QString("Confirm Delete|Delete item: ROD?"));
        QCOMPARE(count("SELECT COUNT(*) FROM items"), 2);
        f.click("delete_btn");
        QCOMPARE(f.last().text, QString("Item deleted!"));
        QCOMPARE(f.column(2), QStringList{"P1"});
    }
};

QTEST_MAIN(TestItemMaster)
#include "tst_itemmaster.moc"
