#include "support/files.h"
#include "support/tablefonts.h"
#include "support/tablelook.h"
#include "support/purchasedata.h"
#include "support/purchaseenvironment.h"
#include "support/testenvironment.h"
#include "support/salesdata.h"
#include "support/secondconnection.h"
#include "support/widgets.h"

#include "core/companydb.h"
#include "purchase/purchasewindow.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSqlQuery>
#include <QStackedWidget>
#include <QTableWidget>
#include <QUrlQuery>
#include <QtTest>

using namespace testdata;
using Cells = QMap<int, QString>;

namespace {

QTableWidget *entryTable(PurchaseWindow &w)
{
    return child<QTableWidget>(&w, "entering_table");
}

QTableWidget *list(PurchaseWindow &w)
{
    return child<QTableWidget>(&w, "main_table");
}

void typeEntry(PurchaseWindow &w, const QString &billNo, const QString &company, const QDate &date,
               const QMap<int, QString> &cells)
{
    child<QLineEdit>(&w, "billnoEdit")->setText(billNo);
    child<QLineEdit>(&w, "companyEdit")->setText(company);
    child<QDateEdit>(&w, "dateEdit")->setDate(date);
    for (auto it = cells.begin(); it != cells.end(); ++it)
        entryTable(w)->item(0, it.key())->setText(it.value());
}

void setCell(QTableWidget *table, int row, int column, const QString &text)
{
    if (!table->item(row, column))
        table->setItem(row, column, new QTableWidgetItem);
    table->item(row, column)->setText(text);
}

// Bills S1 (100, paid 40 and 5) and S2 (200, paid 10) of ACME, listed S2 first, the
// list in edit mode.
struct BillsInEdit
{
    PurchaseEnvironment env;
    [[maybe_unused]] int added = addBill({"S1", "2026-04-01", "ACME", "Credit", 100})
                                 + addBill({"S2", "2026-04-02", "ACME", "Credit", 200})
                                 + (exec("INSERT INTO payment_records (bill_id, paid_amount, payment_date, "
                                         "reference_no, mode_of_payment, payment_ref) VALUES (1, 40, '2026-04-05', "
                                         "'UTR1', 'Neft', 'RCT-1'), (2, 10, '2026-04-05', 'UTR2', 'Neft', 'RCT-2'), "
                                         "(1, 5, '2026-04-06', 'UTR3', 'Cash', 'RCT-3')"), 0);
    PurchaseWindow w;
    QTableWidget *t = (click(&w, "edit_table_btn"), list(w));
};

} // namespace

class TestPurchaseWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { initTestProgram(); }
    void cleanup() { closeDefaultDatabase(); }

    void freshDatabaseGetsVersionTwoAndTheBillColumns()
    {
        TestEnvironment env;
        QVERIFY(env.openDatabase());
        PurchaseWindow w;
        QCOMPARE(rows("SELECT module, version FROM db_version"), QStringList{"purchase|2"});
        QCOMPARE(rows("SELECT name FROM pragma_table_info('purchase_bills')"),
                 QStringList({"bill_id", "bill_no", "bill_date", "company_name", "gst_no", "type", "description",
                              "quantity", "base_amount", "cgst2_5", "sgst2_5", "cgst6", "sgst6", "cgst9", "sgst9",
                              "cgst14", "sgst14", "bill_total", "hsn_code", "payment_status"}));
        // The payments' table exists before any payment form was opened.
        QCOMPARE(count("SELECT COUNT(*) FROM payment_records"), 0);
        // An empty list shows its blank row.
        QCOMPARE(list(w)->rowCount(), 1);
        QCOMPARE(tableCell(list(w), 0, 16), QString("0.00"));
    }

    void versionOneTablesAreKeptAsBackups()
    {
        TestEnvironment env;
        QVERIFY(env.openDatabase());
        exec("CREATE TABLE purchase_bills (id INTEGER PRIMARY KEY, bill_no TEXT, supplier TEXT)");
        exec("INSERT INTO purchase_bills (bill_no, supplier) VALUES ('OLD1', 'A'), ('OLD2', 'B')");
        exec("CREATE TABLE purchase_items (id INTEGER PRIMARY KEY, bill_id INTEGER, item TEXT)");
        exec("INSERT INTO purchase_items (bill_id, item) VALUES (1, 'Paint')");
        {
            PurchaseWindow w;
        }
        QCOMPARE(rows("SELECT bill_no FROM purchase_bills_v1_backup ORDER BY id"), QStringList({"OLD1", "OLD2"}));
        QCOMPARE(rows("SELECT item FROM purchase_items_v1_backup"), QStringList{"Paint"});
        QCOMPARE(count("SELECT COUNT(*) FROM purchase_bills"), 0);
        QCOMPARE(rows("SELECT version FROM db_version WHERE module = 'purchase'"), QStringList{"2"});

        // At version 2 nothing is renamed again, nor is a new purchase_items.
        exec("CREATE TABLE purchase_items (x TEXT)");
        addBill({});
        PurchaseWindow again;
        QCOMPARE(count("SELECT COUNT(*) FROM purchase_bills"), 1);
        QCOMPARE(count("SELECT COUNT(*) FROM sqlite_master WHERE name = 'purchase_items'"), 1);
    }

    void entryRowKeepsItsFontAndNoHeaderIsCut()
    {
        PurchaseEnvironment env;
        PurchaseWindow w(nullptr);
        // Headers and the cell being typed show the entry row's own font.
        QCOMPARE(tablePartsWithOtherFont(entryTable(w)), QStringList());
        QCOMPARE(cutHeaderSections(entryTable(w)), QStringList());
        QCOMPARE(cutHeaderSections(list(w)), QStringList());
    }

    void entryTotalIsRoundedToRupees_data()
    {
        QTest::addColumn<Cells>("cells");
        QTest::addColumn<QString>("total");
        QTest::newRow("9 % pair") << Cells{{2, "1000"}, {7, "90"}, {8, "90"}} << "1180.00";
        QTest::newRow("quarters") << Cells{{2, "1000.25"}, {3, "0.25"}} << "1001.00";
        QTest::newRow("below half") << Cells{{2, "1000.49"}} << "1000.00";
        QTest::newRow("negative half") << Cells{{2, "-10.5"}} << "-11.00";
        QTest::newRow("letters count 0") << Cells{{2, "500"}, {5, "abc"}, {1, "7"}} << "500.00";
        // Long texts are rounded to paise once, from all their digits, and the
        // total from those paise: 1000.4999999999999 is 1000.50, so 1001.
        QTest::newRow("13 decimals") << Cells{{2, "1000.4999999999999"}} << "1001.00";
        QTest::newRow("20 decimals") << Cells{{2, "0.49499999999999999999"}} << "0.00";
        QTest::newRow("17 decimals") << Cells{{2, "250.00499999999999999"}, {7, "2.67499999999999982"}} << "253.00";
    }

    void entryTotalIsRoundedToRupees()
    {
        QFETCH(Cells, cells);
        QFETCH(QString, total);
        PurchaseEnvironment env;
        PurchaseWindow w;
        for (auto it = cells.begin(); it != cells.end(); ++it)
            entryTable(w)->item(0, it.key())->setText(it.value());
        QCOMPARE(tableCell(entryTable(w), 0, 11), total);
    }

    void entrySavesOnceAndRefusesTheDuplicate()
    {
        PurchaseEnvironment env;
        PurchaseWindow w;
        typeEntry(w, " INV-7 ", "Paint, white", QDate(2026, 5, 4), {{0, "Enamel"}, {1, "10 kg"}, {2, "1000"}, {7, "90"}, {8, "90"}});
        child<QRadioButton>(&w, "creditradio_btn")->setChecked(true);
        click(&w, "save_btn");
        QCOMPARE(env.desktop.lastShown(), QString("Saved|Bill entry recorded successfully!"));
        QCOMPARE(rows("SELECT bill_no, bill_date, company_name, type, description, quantity, base_amount, cgst9, sgst9, "
                      "bill_total, payment_status FROM purchase_bills"),
                 QStringList{"INV-7|2026-05-04|Paint, white|Credit|Enamel|10 kg|1000|90|90|1180|Unpaid"});
        // The entry is cleared and the list shows the bill.
        QCOMPARE(rowTexts(entryTable(w), 0),
                 QStringList({"", "", "", "", "", "", "", "", "", "", "", "0.00", ""}));
        QVERIFY(child<QLineEdit>(&w, "billnoEdit")->text().isEmpty());
        QCOMPARE(tableCell(list(w), 0, 0), QString("INV-7"));
        QCOMPARE(comboTexts(child<QComboBox>(&w, "companyComboBox")), QStringList({"All Companies", "Paint, white"}));

        // The same number on the same date is refused; the supplier's details fill in.
        typeEntry(w, "INV-7", "Paint, white", QDate(2026, 5, 4), {{0, "Again"}, {2, "5"}});
        emit child<QLineEdit>(&w, "companyEdit")->editingFinished();
        QVERIFY(child<QRadioButton>(&w, "creditradio_btn")->isChecked());
        click(&w, "save_btn");
        QCOMPARE(env.desktop.lastShown(),
                 QString("Duplicate Bill|An entry with Bill No 'INV-7' and Date '04-05-2026' already exists in the "
                         "database!\nSaving cancelled."));
        QCOMPARE(count("SELECT COUNT(*) FROM purchase_bills"), 1);
        QCOMPARE(tableCell(entryTable(w), 0, 0), QString("Again"));
    }

    // Refused by the cell's header; the quantity is free text ("10 kg"), but
    // a number too large to be summed in the report's total is refused too.
    void entryRefusesAmountsItCannotTake_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("column");
        const auto row = [](const char *tag, const char *typed, const QString &shown, int column = 9) {
            QTest::newRow(tag) << QString(typed) << shown << column;
        };
        const QString noNumber = "Invalid Amount|'CGST 14%' is not a valid amount. Please enter a number such as 1250.50.";
        const QString tooLarge = "Figure Too Large|CGST 14% is too large: at most 99,999,999,999.99";
        const QString totalTooLarge = "Figure Too Large|Bill Total is too large: at most 99,999,999,999.99";
        const QString qtyTooLarge = "Figure Too Large|Qty is too large: at most 999,999,999.999 (quantity)";
        row("text", "12abc", noNumber);
        row("nan", "nan", noNumber);
        row("infinity", "inf", noNumber);
        row("grouping", "1,000", noNumber);
        row("overflow", "1e309", tooLarge);
        row("too large", "1e15", tooLarge);
        row("at the money bound", "100000000000", tooLarge);
        row("just over the bound", "100000000000.01", tooLarge);
        // With the base of 100: 100,000,000,000.00 in all.
        row("total at the bound", "99999999900", totalTooLarge);
        // 99,999,999,999.50 rounds to a bill of 10^11 rupees.
        row("total rounds to the bound", "99999999899.50", totalTooLarge);
        row("qty overflow", "1e300", qtyTooLarge, 1);
        row("qty at the bound", "1000000000", qtyTooLarge, 1);
        row("qty rounds to the bound", "999999999.9995", qtyTooLarge, 1);
    }

    void entryRefusesAmountsItCannotTake()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(int, column);
        PurchaseEnvironment env;
        PurchaseWindow w;
        Cells cells{{0, "Paint"}, {2, "100"}};
        cells.insert(column, typed);
        typeEntry(w, "X1", "ACME", QDate(2026, 5, 4), cells);
        click(&w, "save_btn");
        QCOMPARE(env.desktop.lastShown(), shown);
        QCOMPARE(count("SELECT COUNT(*) FROM purchase_bills"), 0);

        // Missing details come first.
        child<QLineEdit>(&w, "billnoEdit")->setText("   ");
        click(&w, "save_btn");
        QCOMPARE(env.desktop.lastShown(),
                 QString("Missing Details|Bill No, Company Name, and Item Description are mandatory!"));
    }

    void showFilterAndResetOrderTheList()
    {
        PurchaseEnvironment env;
        addBill({"N1", "2026-04-10", "ACME"});
        addBill({"N2", "2026-04-20", "BETA"});
        addBill({"N3", "2026-04-05", "ACME"});
        addBill({"N4", "2026-06-01", "ACME"});
        PurchaseWindow w;
        QCOMPARE(columnTexts(list(w), 0), QStringList({"N4", "N2", "N1", "N3"}));

        // Show: the period, newest record first.
        child<QDateEdit>(&w, "fromdateEdit")->setDate(QDate(2026, 4, 5));
        child<QDateEdit>(&w, "todateEdit")->setDate(QDate(2026, 4, 20));
        click(&w, "show_btn");
        QCOMPARE(columnTexts(list(w), 0), QStringList({"N3", "N2", "N1"}));

        // Filter: one supplier over all dates, latest date first.
        auto *combo = child<QComboBox>(&w, "companyComboBox");
        combo->setCurrentText("ACME");
        click(&w, "company_show");
        QCOMPARE(columnTexts(list(w), 0), QStringList({"N4", "N1", "N3"}));

        click(&w, "pushButton");
        QCOMPARE(combo->currentText(), QString("All Companies"));
        QCOMPARE(columnTexts(list(w), 0), QStringList({"N4", "N2", "N1", "N3"}));
        click(&w, "company_show");
        QCOMPARE(env.desktop.lastShown(), QString("Selection Required|Please select a specific company first!"));

        // A period without bills empties the list.
        child<QDateEdit>(&w, "fromdateEdit")->setDate(QDate(2025, 1, 1));
        child<QDateEdit>(&w, "todateEdit")->setDate(QDate(2025, 1, 2));
        click(&w, "show_btn");
        QCOMPARE(env.desktop.lastShown(), QString("No Data|No bills found in selected range!"));
        QCOMPARE(list(w)->rowCount(), 0);
    }

    void aRefilledListShowsWhatAFreshListShows()
    {
        PurchaseEnvironment env;
        for (int i = 1; i <= 60; ++i) {
            addBill({QString("R%1").arg(i), QString("2026-04-%1").arg(i % 28 + 1, 2, 10, QChar('0')),
                     i % 3 ? "ACME" : "BETA", i % 4 ? "Credit" : "Cash", 100.0 * i});
        }
        PurchaseWindow w;
        w.show();
        QTableWidget *t = list(w);
        // The list refilled from another one whose every cell became an item
        // (edit mode), with a row selected and scrolled down.
        child<QComboBox>(&w, "companyComboBox")->setCurrentText("BETA");
        click(&w, "company_show");
        QCOMPARE(t->rowCount(), 20);
        click(&w, "edit_table_btn");
        t->selectRow(3);
        t->scrollToBottom();
        click(&w, "pushButton");

        PurchaseWindow fresh;
        fresh.show();
        QCOMPARE(tableLook(t), tableLook(list(fresh)));
    }

    void editedRowsAreWrittenAndUnreadableOnesReported()
    {
        PurchaseEnvironment env;
        const int first = addBill({"E1", "2026-04-01", "ACME", "Credit", 100});
        addBill({"E2", "2026-04-02", "ACME", "Credit", 200});
        addBill({"E3", "2026-04-03", "ACME", "Credit", 300});
        PurchaseWindow w;
        QTableWidget *t = list(w);
        click(&w, "edit_table_btn");
        QCOMPARE(t->rowCount(), 3);

        // Rows are E3, E2, E1. The CGST cell mirrors into its twin; the total is not rounded.
        setCell(t, 2, 1, "05-01-2026");
        setCell(t, 2, 7, "1000.40");
        setCell(t, 2, 12, "150");
        QCOMPARE(tableCell(t, 2, 13), QString("150.00"));
        QCOMPARE(tableCell(t, 2, 16), QString("1300.40"));
        QCOMPARE(t->rowCount(), 4); // the last row's edit appends a blank row
        setCell(t, 2, 12, "abc");
        QCOMPARE(tableCell(t, 2, 13), QString());
        setCell(t, 2, 12, "150");
        setCell(t, 0, 1, "5/1/2026");  // E3: no date
        setCell(t, 1, 8, "inf");        // E2: no amount
        click(&w, "update_table_btn");

        QCOMPARE(env.desktop.lastMessage().title, QString("Update"));
        QCOMPARE(env.desktop.lastMessage().text,
                 QString("1 bill(s) updated successfully!\n\nNot updated:\n"
                         "Bill No E3: the date '5/1/2026' is not a date (dd-MM-yyyy)\n"
                         "Bill No E2: CGST 2.5% is not a valid amount"));
        QCOMPARE(value(QString("SELECT bill_date || '|' || bill_total || '|' || cgst9 || '|' || sgst9 || '|' || "
                               "cgst2_5 FROM purchase_bills WHERE bill_id = %1").arg(first)).toString(),
                 QString("2026-01-05|1300.4|150.0|150.0|0.0"));
        QCOMPARE(rows("SELECT bill_date FROM purchase_bills WHERE bill_no IN ('E2', 'E3') ORDER BY bill_no"),
                 QStringList({"2026-04-02", "2026-04-03"}));
        // Edit mode stays on until every row could be written.
        QCOMPARE(child<QLabel>(&w, "edit_status_label")->text(), QString("✏ EDIT MODE ACTIVE"));
        setCell(t, 0, 1, "2026-01-05");
        setCell(t, 1, 8, "");
        setCell(t, 1, 6, "1000000000");
        click(&w, "update_table_btn");
        QCOMPARE(env.desktop.lastMessage().text, QString("1 bill(s) updated successfully!\n\nNot updated:\n"
                                                         "Bill No E2: Qty is too large: at most 999,999,999.999 (quantity)"));
        setCell(t, 1, 6, "999999999.999");
        click(&w, "update_table_btn");
        QCOMPARE(env.desktop.lastShown(), QString("Success|1 bill(s) updated successfully!"));
        QCOMPARE(child<QLabel>(&w, "edit_status_label")->text(), QString());
        QCOMPARE(rows("SELECT bill_date FROM purchase_bills WHERE bill_no = 'E3'"), QStringList{"2026-01-05"});
    }

    // A stored date that reads as neither form is written back as stored
    // when only another cell of its row changed; only written rows count.
    void aStoredDateOfAnotherFormStaysWhenAnotherCellChanges()
    {
        PurchaseEnvironment env;
        addBill({"H1", "05/01/2026"});
        for (int i = 2; i <= 11; ++i)
            addBill({QString("H%1").arg(i), "2026-04-02"});
        PurchaseWindow w;
        QTableWidget *t = list(w);
        click(&w, "edit_table_btn");
        QCOMPARE(tableCell(t, 10, 1), QString("05/01/2026"));
        setCell(t, 10, 17, "3208");
        click(&w, "update_table_btn");
        QCOMPARE(env.desktop.lastShown(), QString("Success|1 bill(s) updated successfully!"));
        QCOMPARE(rows("SELECT bill_no, bill_date, hsn_code FROM purchase_bills WHERE hsn_code <> ''"),
                 QStringList{"H1|05/01/2026|3208"});
    }

    void deleteRemovesTheSelectedRecordOnly()
    {
        PurchaseEnvironment env;
        const int keep = addBill({"D1", "2026-04-01"});
        const int gone = addBill({"D1", "2026-04-02"});
        exec(QString("INSERT INTO payment_records (bill_id, paid_amount) VALUES (%1, 5)").arg(gone));
        PurchaseWindow w;
        list(w)->setCurrentCell(0, 0); // the later date comes first
        env.desktop.messageAnswers.enqueue(QMessageBox::Yes);
        click(&w, "delete_billno_btn");
        QCOMPARE(env.desktop.messages.first().text, QString("Are you sure you want to delete Bill No: D1?"));
        QCOMPARE(env.desktop.lastShown(), QString("Success|Bill deleted successfully!"));
        QCOMPARE(rows("SELECT bill_id FROM purchase_bills"), QStringList{QString::number(keep)});
        QCOMPARE(count("SELECT COUNT(*) FROM payment_records"), 1);
        QCOMPARE(list(w)->rowCount(), 1);
    }

    // Nothing of the batch is stored; the edit stays in the list.
    void aBillChangedInAnotherCopyIsNeitherUpdatedNorDeleted_data()
    {
        QTest::addColumn<QString>("otherCopy");
        QTest::addColumn<QString>("meanwhile");
        const QString changed = "was changed or deleted meanwhile, perhaps in";
        const QString gone = "no longer exists; it may have been deleted in";
        QTest::newRow("paid") << "UPDATE purchase_bills SET payment_status = 'Paid' WHERE bill_id = 1;"
                                 "INSERT INTO payment_records (bill_id, paid_amount) VALUES (1, 100)" << changed;
        QTest::newRow("deleted") << "DELETE FROM purchase_bills WHERE bill_id = 1" << gone;
        QTest::newRow("renumbered") << "UPDATE purchase_bills SET bill_id = 99 WHERE bill_id = 1" << gone;
        // Every other column; a text in a REAL column stays a text.
        for (const char *column : {"bill_no", "bill_date", "company_name", "gst_no", "type", "description", "quantity",
                                   "base_amount", "cgst2_5", "sgst2_5", "cgst6", "sgst6", "cgst9", "sgst9", "cgst14",
                                   "sgst14", "bill_total", "hsn_code", "payment_status"})
            QTest::newRow(column) << QString("UPDATE purchase_bills SET %1 = 'changed' WHERE bill_id = 1").arg(column)
                                  << changed;
        // S1 was listed with payments 1 and 3.
        QTest::newRow("payment added") << "INSERT INTO payment_records (bill_id, paid_amount) VALUES (1, 60)"
                                       << changed;
        QTest::newRow("payment deleted") << "DELETE FROM payment_records WHERE payment_id = 3" << changed;
        for (const char *change : {"paid_amount = 41", "payment_date = '2026-04-07'", "reference_no = 'UTR9'",
                                   "mode_of_payment = 'Upi'", "payment_ref = 'RCT-9'"})
            QTest::newRow(QByteArray("payment: ") + change)
                << QString("UPDATE payment_records SET %1 WHERE payment_id = 3").arg(change) << changed;
    }
    void aBillChangedInAnotherCopyIsNeitherUpdatedNorDeleted()
    {
        QFETCH(QString, otherCopy);
        QFETCH(QString, meanwhile);
        const QString refusal = "Bill No S1 " + meanwhile + " another window. Nothing was saved.";
        const QString wayOn = " Your changes stay in the list: press Edit Table to leave edit mode, which lists the "
                              "bills as they are now, then Edit Table again to edit them anew.";
        BillsInEdit bills;
        auto &[env, added, w, t] = bills;
        setCell(t, 0, 7, "300"); // S2
        setCell(t, 1, 7, "150"); // S1
        writeAsOtherCopy(otherCopy);
        const QStringList stored = rows("SELECT * FROM purchase_bills ORDER BY bill_id");
        click(&w, "update_table_btn");
        QCOMPARE(env.desktop.lastShown(),
                 "Update Error|No bill was updated: Bill No S1 could not be written.\n" + refusal + wayOn);
        QCOMPARE(rows("SELECT * FROM purchase_bills ORDER BY bill_id"), stored);
        QCOMPARE(tableCell(t, 1, 16), QString("150.00"));
        t->setCurrentCell(1, 0);
        env.desktop.messageAnswers.enqueue(QMessageBox::Yes);
        click(&w, "delete_billno_btn");
        QCOMPARE(env.desktop.lastShown(), "Delete Error|" + refusal + " Press Show to list the bills as they are now"
                                              + (meanwhile.contains("changed") ? ", then select the bill and press "
                                                                                 "Delete bill no again."
                                                                               : "."));
        QCOMPARE(rows("SELECT * FROM purchase_bills ORDER BY bill_id"), stored);
    }

    // A refusal names the bill by its number as the list shows it, a long
    // one cut to 40 characters.
    void aLongBillNumberIsCutShortInARefusal()
    {
        PurchaseEnvironment env;
        addBill({QString(10000, 'N'), "2026-04-01"});
        PurchaseWindow w;
        click(&w, "edit_table_btn");
        const QString name = "Bill No " + QString(39, 'N') + QChar(0x2026);
        setCell(list(w), 0, 17, "3208");
        writeAsOtherCopy("UPDATE purchase_bills SET hsn_code = '9999'");
        click(&w, "update_table_btn");
        QVERIFY(env.desktop.lastShown().startsWith("Update Error|No bill was updated: " + name
                                                   + " could not be written.\n" + name
                                                   + " was changed or deleted meanwhile, perhaps in another window. "
                                                     "Nothing was saved. Your changes stay in the list"));
    }

    // After a refusal the way on is Edit Table: asked first, it drops the
    // edits, lists the bills as they are now and leaves edit mode; Update
    // Table with nothing changed says so, and stores nothing.
    void editModeIsLeftByEditTableAndAnUnchangedUpdateSaysSo()
    {
        BillsInEdit bills;
        auto &[env, added, w, t] = bills;
        auto *label = child<QLabel>(&w, "edit_status_label");
        setCell(t, 1, 5, "Typed here"); // S1's description
        writeAsOtherCopy("UPDATE purchase_bills SET quantity = '7' WHERE bill_no = 'S1'");
        const QStringList stored = rows("SELECT * FROM purchase_bills ORDER BY bill_id");
        click(&w, "update_table_btn"); // refused

        env.desktop.messageAnswers.enqueue(QMessageBox::No);
        click(&w, "edit_table_btn");
        QCOMPARE(env.desktop.lastShown(), QString("Leave Edit Mode|Leave edit mode without updating? What you changed "
                                                  "in the list is dropped, and the list shows the bills as they are now."));
        QCOMPARE(QStringList({tableCell(t, 1, 5), label->text()}), QStringList({"Typed here", "✏ EDIT MODE ACTIVE"}));
        env.desktop.messageAnswers.enqueue(QMessageBox::Yes);
        click(&w, "edit_table_btn");
        QCOMPARE(QStringList({tableCell(t, 1, 5), tableCell(t, 1, 6), label->text()}), QStringList({"Item", "7", ""}));

        // Nothing edited: left without a question; an Update says nothing changed.
        const auto shown = env.desktop.messages.size();
        click(&w, "edit_table_btn");
        click(&w, "edit_table_btn");
        QCOMPARE(env.desktop.messages.size(), shown + 1); // the edit-mode notice only
        click(&w, "edit_table_btn");
        click(&w, "update_table_btn");
        QCOMPARE(env.desktop.lastShown(), QString("Update|No bill was changed in the list: nothing was updated."));
        QCOMPARE(label->text(), QString());
        QCOMPARE(rows("SELECT * FROM purchase_bills ORDER BY bill_id"), stored);

        // Only refused rows: no success either; then the list writes what is edited.
        click(&w, "edit_table_btn");
        setCell(t, 1, 1, "someday");
        click(&w, "update_table_btn");
        QCOMPARE(env.desktop.lastShown(), QString("Update|No bill was updated.\n\nNot updated:\nBill No S1: the date "
                                                  "'someday' is not a date (dd-MM-yyyy)"));
        setCell(t, 1, 1, "01-04-2026");
        setCell(t, 1, 7, "150");
        click(&w, "update_table_btn");
        QCOMPARE(env.desktop.lastShown(), QString("Success|1 bill(s) updated successfully!"));
    }

    // A figure another program stored beyond what Money holds shows as
    // stored, and the report writes it and adds it exactly:
    // 10,000,000,000,000,000.00 + 500.00 = 10,000,000,000,000,500.00. One
    // beyond what any total adds up exactly is named, and nothing written.
    void aFigureStoredBeyondMoneyShowsAndExportsAsStored()
    {
        PurchaseEnvironment env;
        addBill({"G1", "2026-04-01", "ACME", "Credit", 1e16});
        addBill({"G2", "2026-04-02", "ACME", "Cash", 500});
        PurchaseWindow w;
        QTableWidget *t = list(w);
        QCOMPARE(QStringList({tableCell(t, 1, 7), tableCell(t, 1, 16)}),
                 QStringList({"10000000000000000.00", "10000000000000000.00"}));
        const QString path = env.folder() + "/report.csv";
        env.desktop.saveFileAnswers << path << path;
        click(&w, "printexcel_btn");
        const QByteArray written = fileBytes(path);
        const QStringList lines = QString::fromUtf8(written).split('\n');
        QCOMPARE(lines.at(6), QString("G1,01-04-2026,ACME,,Credit,Item,1,10000000000000000.00,,,,,,,,,"
                                      "10000000000000000.00,"));
        QCOMPARE(lines.at(8), QString("TOTAL,,,,,,2.00,10000000000000500.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,"
                                      "10000000000000500.00,"));
        exec("UPDATE purchase_bills SET bill_total = 1e21 WHERE bill_no = 'G1'");
        click(&w, "pushButton");
        click(&w, "printexcel_btn");
        QCOMPARE(env.desktop.lastShown(), QString("Figure Too Large|Bill No G1: Bill Total 1000000000000000000000.00 "
                                                  "is too large to be added up exactly; nothing was written."));
        QCOMPARE(fileBytes(path), written);
    }

    // Update Table writes only the rows edited here; a row written here is
    // then kept as written.
    void aRowNotEditedHereKeepsTheOtherCopysChange()
    {
        BillsInEdit bills;
        auto &[env, added, w, t] = bills;
        writeAsOtherCopy("UPDATE purchase_bills SET base_amount = 250, bill_total = 250 WHERE bill_no = 'S2'");
        setCell(t, 1, 7, "150");
        click(&w, "update_table_btn");
        QCOMPARE(env.desktop.lastShown(), QString("Success|1 bill(s) updated successfully!"));
        QCOMPARE(rows("SELECT bill_no, base_amount, bill_total FROM purchase_bills ORDER BY bill_id"),
                 QStringList({"S1|150|150", "S2|250|250"}));

        click(&w, "edit_table_btn");
        setCell(t, 1, 7, "160");
        click(&w, "update_table_btn");
        QCOMPARE(rows("SELECT bill_total FROM purchase_bills WHERE bill_no = 'S1'"), QStringList{"160"});
    }

    void reportExportsTheListWithTotals()
    {
        PurchaseEnvironment env;
        addBill({"R1", "2026-04-01", "Paint, white", "Credit", 1180, "Unpaid", "Say \"hi\"", "10", 1000});
        addBill({"R2", "2026-04-02", "ACME", "Cash", 500, "Unpaid", "Bolts", "10 kg"});
        PurchaseWindow w;
        child<QDateEdit>(&w, "fromdateEdit")->setDate(QDate(2026, 4, 1));
        child<QDateEdit>(&w, "todateEdit")->setDate(QDate(2026, 4, 30));
        click(&w, "show_btn");
        const QString path = env.folder() + "/report.csv";
        env.desktop.saveFileAnswers.enqueue(path);
        click(&w, "printexcel_btn");
        QCOMPARE(env.desktop.fileDialogDirs.last(), QString("Purchase_Report_01_04_2026_to_30_04_2026.csv"));
        QCOMPARE(env.desktop.lastShown(), "Success|Report exported successfully!\n" + path);
        const QStringList lines = QString::fromUtf8(fileBytes(path)).split('\n');
        QCOMPARE(lines.mid(0, 5),
                 QStringList({"PURCHASE REPORT", "Period: 01-04-2026 to 30-04-2026", "Company: All Companies", "",
                              "Bill no,Bill Date,Company Name,GST,Type,Item Despcrition,Qty,Base Amount,CGST 2.5%,"
                              "SGST 2.5%,CGST 6%,SGST 6%,CGST 9%,SGST 9%,CGST 14%,SGST 14%,Bill Total,HSN Code"}));
        QCOMPARE(lines.at(5), QString("R2,02-04-2026,ACME,,Cash,Bolts,10 kg,500.00,,,,,,,,,500.00,"));
        QCOMPARE(lines.at(6), QString("R1,01-04-2026,\"Paint, white\",,Credit,\"Say \"\"hi\"\"\",10,1000.00,,,,,,,,,1180.00,"));
        QCOMPARE(lines.mid(7),
                 QStringList({"", "TOTAL,,,,,,10.00,1500.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,1680.00,", ""}));
    }

    // The title block is written field by field, so a supplier of quotes,
    // commas and a formula stays one text cell.
    void reportTitleKeepsTheSupplierInOneCell()
    {
        const QString supplier = "=HYPERLINK(\"http://x\",\"y\");a,b";
        PurchaseEnvironment env;
        addBill({"C1", "2026-04-01", supplier});
        PurchaseWindow w;
        child<QComboBox>(&w, "companyComboBox")->setCurrentText(supplier);
        child<QDateEdit>(&w, "fromdateEdit")->setDate(QDate(2026, 4, 1));
        child<QDateEdit>(&w, "todateEdit")->setDate(QDate(2026, 4, 30));
        click(&w, "show_btn");
        const QString path = env.folder() + "/report.csv";
        env.desktop.saveFileAnswers.enqueue(path);
        click(&w, "printexcel_btn");
        const QList<QStringList> cells = readCsv(QString::fromUtf8(fileBytes(path)));
        QCOMPARE(cells.at(2), QStringList{"Company: " + supplier});
        QCOMPARE(cells.at(5).at(2), "'" + supplier);
        QCOMPARE(cells.at(7).size(), 18);
    }

    // Half a paisa rounds up as the decimal typed or stored, not as its
    // binary neighbour: on entry, in the list, in its edits and in the file.
    void amountsAtHalfAPaisaRoundUp()
    {
        PurchaseEnvironment env;
        // An older row whose amounts carry a third decimal is read as it is.
        exec("INSERT INTO purchase_bills (bill_no, bill_date, company_name, type, description, quantity, base_amount, "
             "cgst9, sgst9, bill_total) VALUES ('OLD', '2026-04-01', 'ACME', 'Credit', 'Paint', '1', 2.445, 0.115, "
             "0.115, 2.675)");
        PurchaseWindow w;
        QTableWidget *t = list(w);
        // 2.445 -> 2.45, 0.115 -> 0.12, 2.675 -> 2.68, on the dashboard too.
        const QString none = "<none>";
        QCOMPARE(rowTexts(t, 0).mid(7, 10),
                 QStringList({"2.45", none, none, none, none, "0.12", "0.12", none, none, "2.68"}));
        QCOMPARE(child<QLabel>(&w, "lbl_pur_debt")->text(), QString("Rs. 2.68"));

        // Entry: 1000.495 is 1000.50, whose total rounds to 1001; with 2.675
        // (2.68) twice it is 1005.86, rounded to 1006.
        typeEntry(w, "T1", "ACME", QDate(2026, 5, 4), {{0, "Enamel"}, {2, "1000.495"}});
        QCOMPARE(tableCell(entryTable(w), 0, 11), QString("1001.00"));
        typeEntry(w, "T1", "ACME", QDate(2026, 5, 4), {{7, "2.675"}, {8, "2.675"}});
        QCOMPARE(tableCell(entryTable(w), 0, 11), QString("1006.00"));
        click(&w, "save_btn");
        QCOMPARE(rows("SELECT base_amount, cgst9, sgst9, bill_total FROM purchase_bills WHERE bill_no = 'T1'"),
                 QStringList{"1000.5|2.68|2.68|1006"});

        // List edit of the older bill (second row): CGST 9 % of 2.675 copies
        // 2.68; its total 2.45 + 2.68 + 2.68 = 7.81 is what Update stores.
        QCOMPARE(columnTexts(t, 0).mid(0, 2), QStringList({"T1", "OLD"}));
        click(&w, "edit_table_btn");
        setCell(t, 1, 12, "2.675");
        QCOMPARE(tableCell(t, 1, 13), QString("2.68"));
        QCOMPARE(tableCell(t, 1, 16), QString("7.81"));
        click(&w, "update_table_btn");
        QCOMPARE(env.desktop.lastShown(), QString("Success|1 bill(s) updated successfully!"));
        QCOMPARE(rows("SELECT base_amount, cgst9, sgst9, bill_total FROM purchase_bills WHERE bill_no = 'OLD'"),
                 QStringList{"2.45|2.68|2.68|7.81"});

        // Pasted texts of many decimals: 250.00, 2.67 and 2.67 stored, 255.34 rounded to 255.
        typeEntry(w, "T2", "ACME", QDate(2026, 5, 4),
                  {{0, "Enamel"}, {2, "250.00499999999999999"}, {7, "2.67499999999999982"}, {8, "2.6749999999999"}});
        click(&w, "save_btn");
        QCOMPARE(rows("SELECT base_amount, cgst9, sgst9, bill_total FROM purchase_bills WHERE bill_no = 'T2'"),
                 QStringList{"250|2.67|2.67|255"});
    }

    // The TOTAL line adds plain decimal numbers only: "1e3" and "10 kg" add
    // nothing to the quantity.
    void reportTotalsAddPlainNumbersOnly()
    {
        PurchaseEnvironment env;
        addBill({"Q1", "2026-04-01", "ACME", "Credit", 2.445, "Unpaid", "Item", "1e3"});
        addBill({"Q2", "2026-04-02", "ACME", "Credit", 1.005, "Unpaid", "Item", "10.5"});
        addBill({"Q3", "2026-04-03", "ACME", "Credit", 100, "Unpaid", "Item", "2.25"});
        addBill({"Q4", "2026-04-04", "ACME", "Credit", 0.125, "Unpaid", "Item", "10 kg"});
        PurchaseWindow w;
        const QString path = env.folder() + "/report.csv";
        env.desktop.saveFileAnswers.enqueue(path);
        click(&w, "printexcel_btn");
        const QStringList lines = QString::fromUtf8(fileBytes(path)).split('\n');
        QCOMPARE(lines.at(5), QString("Q4,04-04-2026,ACME,,Credit,Item,10 kg,0.13,,,,,,,,,0.13,"));
        // Quantity 10.5 + 2.25 = 12.75; amounts 0.13 + 100.00 + 1.01 + 2.45 = 103.59.
        QCOMPARE(lines.mid(9),
                 QStringList({"", "TOTAL,,,,,,12.75,103.59,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,103.59,", ""}));

        // A figure no total can add up exactly is refused before a file is
        // asked for, naming the cell, as by every export.
        click(&w, "edit_table_btn");
        const QByteArray written = fileBytes(path);
        const QString refusal = " is too large to be added up exactly; nothing was written.";
        for (const auto &[row, column, typed, refused] :
             {std::tuple(0, 7, "1000000000000000000000", "Bill No Q4: Base Amount 1000000000000000000000"),
              std::tuple(3, 10, "1e21", "Bill No Q1: CGST 6% 1e21"),
              std::tuple(4, 6, "-1e400", "Row 5: Qty -1e400")}) {
            setCell(list(w), row, column, typed);
            click(&w, "printexcel_btn");
            QCOMPARE(env.desktop.lastShown(), QString("Figure Too Large|") + refused + refusal);
            setCell(list(w), row, column, "");
        }
        QCOMPARE(env.desktop.fileDialogDirs.size(), 1);
        QCOMPARE(fileBytes(path), written);
    }

    void alertOfAnUnpaidCreditBillGoesToTheCompanyPhone()
    {
        TestEnvironment env;
        QVERIFY(env.openDatabase());
        {
            PurchaseWindow first; // a fresh database: no payment form was ever opened
        }
        CompanyDb::createCoreSchema();
        exec("UPDATE company_settings SET company_name = 'Morvel Coats', phone = '098765 43210' WHERE id = 1");
        const QDate billDate = QDate::currentDate().addDays(-40);
        addBill({"A1", billDate.toString("yyyy-MM-dd"), "ACME", "credit", 2500, QVariant()});
        addBill({"A2", isoDaysFromToday(-1), "CASHCO", "Cash", 900, QVariant()});
        PurchaseWindow w;
        // The age counts from midnight UTC of the bill date to now.
        const QDateTime now = QDateTime::currentDateTimeUtc();
        const QString days = QString::number(qRound(40 + now.time().msecsSinceStartOfDay() / 86400000.0));
        QCOMPARE(child<QLabel>(&w, "lbl_pur_unpaidbills")->text(), QString("1 bills"));
        QCOMPARE(child<QLabel>(&w, "lbl_pur_debt")->text(), QString("Rs. 2500.00"));
        QCOMPARE(child<QLabel>(&w, "lbl_pur_overdue")->text(), "1) ACME\n    Rs. 2500.00 (" + days + " days)\n");

        buttonWithText(&w, "📱 WhatsApp Alert")->click();
        const QUrlQuery query(env.desktop.openedUrls.first());
        QCOMPARE(query.queryItemValue("phone"), QString("919876543210"));
        const QDate today = QDate::currentDate();
        const bool lastMonth = billDate.month() == today.addMonths(-1).month();
        QCOMPARE(query.queryItemValue("text", QUrl::FullyDecoded),
                 QString("Purchase and Supplier Payment Details\nMorvel Coats\n%1\nFinancial Summary:\n"
                         "Current Month Purchase : Rs.0.00\nLast Month Purchase : Rs.%2\nTotal Debt : Rs.2500.00\n\n"
                         "Unpaid Suppliers:\n1) ACME - Rs.2500.00\n\n Overdue > 30 Days:\n1) ACME - Rs.2500.00 (%3 days)\n\n"
                         "Please arrange payments urgently.")
                     .arg(today.toString("dd/MM/yyyy"), lastMonth ? "2500.00" : "0.00", days));

        // Once the bill is paid there is nothing to send.
        exec("UPDATE purchase_bills SET payment_status = 'Paid'");
        buttonWithText(&w, "📱 WhatsApp Alert")->click();
        QCOMPARE(env.desktop.lastShown(), QString("Purchase Alert|No unpaid or overdue bills!"));
        QCOMPARE(env.desktop.openedUrls.size(), 1);
    }
};

QTEST_MAIN(TestPurchaseWindow)
#include "tst_purchasewindow.moc"
