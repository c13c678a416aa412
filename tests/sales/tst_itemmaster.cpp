#include "support/recordingdesktop.h"
#include "support/salesdata.h"
#include "support/widgets.h"

#include "sales/itemmaster.h"
#include "sales/itemstore.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
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
        QCOMPARE(f.form->windowTitle(), QString("Item Master - Kestrova App"));
        QCOMPARE(f.customers()->itemText(0), QString("-- All Customers Items --"));
        QCOMPARE(f.customers()->itemData(0).toInt(), -1);
        QCOMPARE(f.customers()->count(), 3);
        QCOMPARE(comboTexts(f.w<QComboBox>("uom_combo")), QStringList({"NOS", "KGS", "SETS", "MTRS", "LTRS", "PCS"}));
        QCOMPARE(comboTexts(f.w<QComboBox>("tax_combo")), QStringList({"0 %", "5 %", "12 %", "18 %", "28 %"}));
        QVERIFY(!f.w<QPushButton>("update_btn")->isEnabled());

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
        QCOMPARE(f.table()->rowCount(), 1);
        QCOMPARE(f.column(1), QStringList{"ACME"});
        QCOMPARE(f.column(6), QStringList{"12.500"});
        QCOMPARE(f.column(7), QStringList{"18 %"});
        QVERIFY(f.edit("codeEdit")->text().isEmpty());
        QCOMPARE(f.w<QComboBox>("tax_combo")->currentText(), QString("0 %"));
        QCOMPARE(f.customers()->currentText(), QString("ACME"));

        // A name alone or a code alone will do; neither will not.
        f.fill("", "washer");
        f.click("add_btn");
        QCOMPARE(f.last().title, QString("Success"));
        f.fill("", "washer");
        f.click("add_btn");
        QCOMPARE(f.last().title, QString("Success"));
        f.fill("  ", " ");
        f.click("add_btn");
        QCOMPARE(f.last().text, QString("Item code or Item Name cannot be empty!"));
        QCOMPARE(value("SELECT COUNT(*) FROM items").toInt(), 3);
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
        QCOMPARE(f.last().title, QString("Success"));
        QCOMPARE(value("SELECT COUNT(*) FROM items").toInt(), 2);
    }

    void rateMustBeANumber()
    {
        Fixture f;
        f.chooseCustomer("ACME");
        f.fill("P1", "PIN", "12,5");
        f.click("add_btn");
        QCOMPARE(f.shown(), QString("Error|Please enter a valid rate!"));
        f.fill("P1", "PIN", "abc");
        f.click("add_btn");
        QCOMPARE(f.last().text, QString("Please enter a valid rate!"));
        QCOMPARE(value("SELECT COUNT(*) FROM items").toInt(), 0);

        f.fill("P1", "PIN", "");
        f.click("add_btn");
        QCOMPARE(f.last().title, QString("Success"));
        QCOMPARE(value("SELECT rate_wo_tax FROM items").toDouble(), 0.0);

        // Update refuses it too and writes nothing.
        f.selectCode("P1");
        f.click("edit_btn");
        f.edit("rate_edit")->setText("ten");
        f.click("update_btn");
        QCOMPARE(f.last().text, QString("Please enter a valid rate!"));
        QVERIFY(f.w<QPushButton>("update_btn")->isEnabled());
        QCOMPARE(value("SELECT rate_wo_tax FROM items").toDouble(), 0.0);

        double rate = -1;
        QVERIFY(parseRate(" 7.25 ", &rate));
        QCOMPARE(rate, 7.25);
        QVERIFY(!parseRate("inf", &rate));
        QVERIFY(!parseRate("nan", &rate));
    }

    void editUpdateAndMoveToAnotherCustomer()
    {
        Fixture f;
        addItem(1, "P1", "PIN", "KGS", 12.5, 18);
        addItem(1, "P2", "ROD", "BAGS", 3, 7);
        addItem(2, "P2", "BOLT ROD");
        f.click("reset_btn");

        f.click("edit_btn");
        QCOMPARE(f.last().text, QString("Please select an item to edit!"));

        f.selectCode("P1");
        f.click("edit_btn");
        QCOMPARE(f.customers()->currentText(), QString("ACME"));
        QCOMPARE(f.edit("codeEdit")->text(), QString("P1"));
        QCOMPARE(f.edit("rate_edit")->text(), QString("12.500"));
        QCOMPARE(f.w<QComboBox>("tax_combo")->currentText(), QString("18 %"));
        QCOMPARE(f.w<QComboBox>("uom_combo")->currentText(), QString("KGS"));
        QVERIFY(!f.w<QPushButton>("reset_btn")->isEnabled());
        QCOMPARE(f.table()->rowCount(), 3);

        // Update without a change does not collide with the item itself.
        f.click("update_btn");
        QCOMPARE(f.last().text, QString("Item updated successfully!"));
        QCOMPARE(value("SELECT rate_wo_tax FROM items WHERE item_id = 1").toDouble(), 12.5);
        QCOMPARE(value("SELECT tax_percent FROM items WHERE item_id = 1").toDouble(), 18.0);
        QVERIFY(f.w<QPushButton>("reset_btn")->isEnabled());

        // A stored unit or tax not on the lists selects their first entries.
        f.table()->setCurrentCell(f.column(3).indexOf("ROD"), 3);
        f.click("edit_btn");
        QCOMPARE(f.w<QComboBox>("uom_combo")->currentText(), QString("NOS"));
        QCOMPARE(f.w<QComboBox>("tax_combo")->currentText(), QString("0 %"));
        // Moving it to BOLT collides with BOLT's P2.
        f.chooseCustomer("BOLT");
        f.click("update_btn");
        QCOMPARE(f.last().title, QString("Duplicate"));
        f.edit("codeEdit")->setText("P9");
        f.click("update_btn");
        QCOMPARE(f.last().title, QString("Success"));
        QCOMPARE(value("SELECT customer_id FROM items WHERE item_id = 2").toInt(), 2);
        QCOMPARE(f.table()->rowCount(), 3); // every item, whatever the list shows

        QMetaObject::invokeMethod(f.form, "on_update_btn_clicked");
        QCOMPARE(f.last().text, QString("No item selected for editing!"));

        f.selectCode("P1");
        f.click("edit_btn");
        f.customers()->setCurrentIndex(0);
        f.click("update_btn");
        QCOMPARE(f.last().text, QString("Please select a customer!"));
        f.click("cancel_btn");
        QVERIFY(f.edit("codeEdit")->text().isEmpty());
        QVERIFY(f.w<QPushButton>("add_btn")->isEnabled());
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
        QCOMPARE(value("SELECT COUNT(*) FROM items").toInt(), 4);

        f.click("reset_btn");
        QCOMPARE(f.customers()->currentIndex(), 0);
        QVERIFY(f.edit("searchLineEdit")->text().isEmpty());
        QCOMPARE(f.table()->rowCount(), 3);
    }

    void deleteRefusedWhileDocumentsUseIt()
    {
        Fixture f;
        addItem(1, "P1", "PIN");
        addItem(1, "P2", "ROD");
        addInward({1, "26-27", 1, 1, 1});
        addBin(1, "26-27", 1, 1);
        f.click("reset_btn");

        f.click("delete_btn");
        QCOMPARE(f.last().text, QString("Please select an item to delete!"));

        f.selectCode("P1");
        f.env.desktop.clear();
        f.click("delete_btn");
        QCOMPARE(f.env.desktop.messages.size(), 1);
        QCOMPARE(f.shown(), QString("Cannot Delete|This item is still used by Inward Entries, Bins!\nIt cannot be deleted."));

        QSqlQuery("DELETE FROM inward_entries");
        QSqlQuery("DELETE FROM bins");
        addDelivery({1, "26-27", 1, 1, 1, 1});
        addInvoiceLine(1, 1, 1, "26-27");
        f.click("delete_btn");
        QCOMPARE(f.last().text, QString("This item is still used by Delivery Challans, Invoices!\nIt cannot be deleted."));
        QCOMPARE(value("SELECT COUNT(*) FROM items").toInt(), 2);

        // An item nothing uses is deleted after the confirmation.
        f.selectCode("P2");
        f.env.desktop.messageAnswers.enqueue(QMessageBox::No);
        f.click("delete_btn");
        QCOMPARE(f.shown(), QString("Confirm Delete|Delete item: ROD?"));
        QCOMPARE(value("SELECT COUNT(*) FROM items").toInt(), 2);
        f.click("delete_btn");
        QCOMPARE(f.last().text, QString("Item deleted!"));
        QCOMPARE(value("SELECT COUNT(*) FROM items WHERE item_id = 2").toInt(), 0);
        QCOMPARE(f.column(2), QStringList{"P1"});
    }
};

QTEST_MAIN(TestItemMaster)
#include "tst_itemmaster.moc"
