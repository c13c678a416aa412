// The delivery challan window: the hand-over from generation, the quantity
// check, Save with its refusals, the list with load-back, Update, Delete and
// Print, each challan identified by the number and year of its row.

#include "support/salesdata.h"
#include "support/secondconnection.h"
#include "support/standintool.h"
#include "support/testenvironment.h"
#include "support/typedinput.h"
#include "support/widgets.h"

#include "core/financialyear.h"
#include "jobwork/deliverychallanlist.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

#include <memory>

using namespace testdata;

namespace {

// Every case starts from customer 1 with inward 2 of 26-27: bracket 10 (3 on
// challan 1), flange 4 (all on challan 2) and shaft 6; and inward 3 of 26-27
// with gear 8.
enum { Customer = 1, Bracket = 1, Flange = 2, Shaft = 3, Gear = 4 };

void addData()
{
    addCustomer("ACME FORGINGS");
    addItem(Customer, "A1", "BRACKET", "KGS");
    addItem(Customer, "B1", "FLANGE");
    addItem(Customer, "C1", "SHAFT");
    addItem(Customer, "D1", "GEAR");
    addInward({2, "26-27", Customer, Bracket, 10, "2026-05-02", "CDC-9", "2026-04-20", "PO-7", "coat both sides"});
    addInward({2, "26-27", Customer, Flange, 4, "2026-05-02", "CDC-9", "2026-04-20", "PO-7", "coat both sides"});
    addInward({2, "26-27", Customer, Shaft, 6, "2026-05-02", "CDC-9", "2026-04-20", "PO-7", "both sides"});
    addInward({3, "26-27", Customer, Gear, 8, "2026-05-02", "CDC-11", "bad date", "PO-8", "urgent"});
    addDelivery({1, "26-27", 2, Customer, Bracket, 3});
    addDelivery({2, "26-27", 2, Customer, Flange, 4});
}

// What a refusal of the loaded DC adds to the reason.
const QString ReloadAdvice = "\n\nPress Reset to list the challans as they are now, then load the DC back "
                             "(right-click → Load Back); what you typed stays in the form until then. "
                             "EditCancel leaves the DC.";

struct Form
{
    deliveryChallanList *w = new deliveryChallanList; // deleted by the test environment
    QTableWidget *lines = child<QTableWidget>(w, "qtyEditing_Table");
    QTableWidget *list = child<QTableWidget>(w, "dc_list_table");
    QLineEdit *number = child<QLineEdit>(w, "odcEdit");
    QLineEdit *total = child<QLineEdit>(w, "totalQtyEdit");
    QLineEdit *remarks = child<QLineEdit>(w, "remarksEdit");

    bool enabled(const char *name) const { return child<QPushButton>(w, name)->isEnabled(); }
    void click(const char *name) const { ::click(w, name); }
    QString cell(int row, int col) const { return tableCell(lines, row, col); }
    void setQty(int row, const QString &text) const { lines->item(row, 7)->setText(text); }
    int listRowOf(const QString &fullNumber) const { return int(columnTexts(list, 1).indexOf(fullNumber)); }
    void handOver(const QList<int> &inwardNos) const { w->setInwardData(inwardNos, Customer, "ACME FORGINGS"); }
    // Right-clicks the list row showing `fullNumber`.
    void loadBack(const QString &fullNumber) const
    {
        w->resize(1500, 800);
        w->show();
        const int row = listRowOf(fullNumber);
        QVERIFY(row >= 0);
        const QPoint pos = list->visualRect(list->model()->index(row, 1)).center();
        QVERIFY(QMetaObject::invokeMethod(w, "onDcListContextMenu", Q_ARG(QPoint, pos)));
    }
};

} // namespace

class TestChallanForm : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    LoadBackMenus *menus = nullptr;

    RecordingDesktop &desktop() { return env->desktop; }

private slots:
    void init()
    {
        g_currentFY = "26-27";
        menus = &recordLoadBackMenus();
        env = std::make_unique<TestEnvironment>();
        QVERIFY(openSalesDatabase(*env));
        addData();
    }
    void cleanup() { env.reset(); }

    void handOverShowsOpenBalancesAndNextNumber()
    {
        addDelivery({4, "26-27", 3, Customer, Gear, 1});
        addDelivery({1, "25-26", 3, Customer, Gear, 1});
        addBin(2, "26-27", Bracket, 2);
        Form f;
        f.handOver({2, 3});

        // Challans 1, 2, 4 of the year and 1 of the year before: the lowest free number.
        QCOMPARE(f.number->text(), QString("3/26-27"));
        // The bracket: 10 less 3 delivered less 2 binned; the flange is fully delivered.
        QCOMPARE(rowTexts(f.lines, 0), QStringList({"1", "CDC-9", "20-04-2026", "PO-7", "A1", "BRACKET", "KGS",
                                                    "5.000", "1", "2", "5.000"}));
        QCOMPARE(columnTexts(f.lines, 4), QStringList({"A1", "C1", "D1"}));
        QCOMPARE(f.cell(2, 2), QString()); // an unreadable date shows empty
        QCOMPARE(f.total->text(), QString("18.000"));
        QCOMPARE(f.remarks->text(), QString("coat both sides | urgent"));

        // Delete takes out the current line, without renumbering.
        f.lines->setCurrentCell(1, 4);
        QTest::keyClick(f.lines, Qt::Key_Delete);
        QCOMPARE(columnTexts(f.lines, 0), QStringList({"1", "3"}));
        QCOMPARE(f.total->text(), QString("12.000"));
    }

    // The total adds the quantities as typed, exactly, rounded once: 0.7 + 0.1 + 0.0005 is
    // 0.8005 (in double 0.800); 999,999,999.999 + 0.0005 is 999,999,999.9995 (in double .999).
    void totalQtyIsSummedExactly()
    {
        Form f;
        f.handOver({2, 3});
        f.setQty(0, "0.7");
        f.setQty(1, "0.1");
        f.setQty(2, "0.0005");
        QCOMPARE(f.total->text(), QString("0.801"));
        addInward({5, "26-27", Customer, Shaft, 1});
        addInward({5, "26-27", Customer, Gear, 999999999.999});
        Form large;
        large.handOver({5});
        large.setQty(int(columnTexts(large.lines, 4).indexOf("C1")), "0.0005");
        QCOMPARE(large.total->text(), QString("1000000000.000"));
    }

    void inwardOfAnotherYearIsRefused()
    {
        addInward({9, "25-26", Customer, Gear, 5});
        Form f;
        f.handOver({9});
        QCOMPARE(f.lines->rowCount(), 0);
        QCOMPARE(desktop().lastMessage().icon, QMessageBox::Warning);
        QCOMPARE(desktop().lastMessage().text,
                 QString("Inward No 9 of this customer not found in financial year 26-27; not loaded.\n"
                         "Only inward entries of the current financial year can be delivered here."));
    }

    void refusalsWriteNothing()
    {
        Form empty;
        empty.click("save_btn");
        QCOMPARE(desktop().lastShown(), QString("Error|No items to save! Select DCs from Generate DC first."));

        Form f;
        f.handOver({3});
        f.setQty(0, "12.5");
        QCOMPARE(desktop().lastShown(), QString("Qty Exceeds Balance|Delivery qty cannot exceed balance (8.000)!"));
        QCOMPARE(f.cell(0, 7), QString("8.000"));
        QCOMPARE(desktop().messages.size(), 2); // resetting the cell is not checked again
        for (const QString &text : QStringList({"1000000000", "1e300"})) {
            f.setQty(0, text);
            QCOMPARE(desktop().lastShown(), QString("Qty Exceeds Balance|Delivery qty cannot exceed balance (8.000)!"));
            QCOMPARE(f.cell(0, 7), QString("8.000"));
        }

        for (const QString &text : QStringList({"abc", "0", "-3", ""})) {
            f.number->setText(text);
            f.click("save_btn");
            QCOMPARE(desktop().lastMessage().text, QString("Invalid DC No!"));
        }
        f.number->setText(" 1 ");
        f.click("save_btn");
        QCOMPARE(desktop().lastShown(),
                 QString("Duplicate|DC No 1/26-27 already exists!\nPlease use a different number."));
        f.number->setText("3/26-27");
        f.setQty(0, "0");
        f.click("save_btn");
        QCOMPARE(desktop().lastShown(), QString("Error|Please enter qty for at least one item!"));
        QCOMPARE(count("SELECT COUNT(*) FROM delivery_entries"), 2);
        QCOMPARE(f.lines->rowCount(), 1);
    }

    // A quantity cell that is no number counts 0: it passes the balance
    // check, leaves the total, and its line is neither saved nor updated.
    void quantityThatIsNoNumber_data() { typedinput::addTextRows(); }
    void quantityThatIsNoNumber()
    {
        QFETCH(QString, text);
        StandInTool tool(env->folder());
        Form f;
        f.handOver({2});
        QCOMPARE(f.lines->rowCount(), 2);
        const int shown = int(desktop().messages.size());
        f.setQty(0, text);
        QCOMPARE(desktop().messages.size(), shown);
        QCOMPARE(f.cell(0, 7), text);
        QCOMPARE(f.total->text(), QString("6.000"));
        f.setQty(1, text);
        f.click("save_btn");
        QCOMPARE(desktop().lastShown(), QString("Error|Please enter qty for at least one item!"));
        QCOMPARE(count("SELECT COUNT(*) FROM delivery_entries"), 2);

        f.setQty(1, "6");
        f.click("save_btn");
        QCOMPARE(desktop().lastShown(), QString("Success|Delivery Challan 3/26-27 saved successfully!"));
        QCOMPARE(rows("SELECT item_id, delivery_qty FROM delivery_entries WHERE delivery_no = 3"),
                 QStringList{"3|6"});

        f.loadBack("3/26-27");
        f.setQty(0, text);
        f.click("update_btn");
        QCOMPARE(desktop().lastMessage().text, QString("At least one item must have qty!"));
        QCOMPARE(rows("SELECT item_id, delivery_qty FROM delivery_entries WHERE delivery_no = 3"),
                 QStringList{"3|6"});
        QCOMPARE(typedinput::unsoundReals("delivery_entries", "delivery_qty"), 0);
    }

    void saveWritesNumberOfTheYearAndPrints()
    {
        StandInTool tool(env->folder());
        addDelivery({5, "25-26", 3, Customer, Gear, 1});
        Form f;
        f.handOver({2, 3});
        f.number->setText(" 5/25-26 "); // typed with another year: saved in the current one
        f.setQty(0, "4");
        f.setQty(1, "0");
        f.remarks->setText("  rush  ");
        child<QDateEdit>(f.w, "odcdateEdit")->setDate(QDate(2026, 6, 10));
        f.click("save_btn");

        QCOMPARE(desktop().lastShown(), QString("Success|Delivery Challan 5/26-27 saved successfully!"));
        QCOMPARE(rows("SELECT delivery_no_full, delivery_date, item_id, delivery_qty, remarks, sac_code, is_deleted "
                      "FROM delivery_entries WHERE delivery_no = 5 AND fy_name = '26-27' ORDER BY item_id"),
                 QStringList({"5/26-27|2026-06-10|1|4|rush|998873|0", "5/26-27|2026-06-10|4|8|rush|998873|0"}));
        // Printed at once, then the form is empty.
        QVERIFY(tool.htmlGiven().value(0).contains("<b>NO.: </b>5/26-27"));
        QCOMPARE(f.lines->rowCount(), 0);
        QCOMPARE(f.list->item(0, 1)->text(), QString("5/26-27"));
    }

    void saveFailureKeepsTheForm()
    {
        exec("CREATE TRIGGER refuse BEFORE INSERT ON delivery_entries WHEN NEW.item_id = 3 "
             "BEGIN SELECT RAISE(ABORT, 'shaft refused'); END");
        Form f;
        f.handOver({2});
        f.click("save_btn");
        QCOMPARE(desktop().lastMessage().title, QString("Save Error"));
        QVERIFY(desktop().lastMessage().text.contains("shaft refused"));
        QCOMPARE(count("SELECT COUNT(*) FROM delivery_entries"), 2);
        QCOMPARE(f.lines->rowCount(), 2);
    }

    void listFiltersAndOrder()
    {
        const int other = addCustomer("BETA WORKS");
        addDelivery({7, "25-26", 1, other, 1, 1, "2025-05-01"});
        addDelivery({3, "26-27", 1, other, 1, 2.5, "2026-05-20", "first lot"});
        addDelivery({3, "26-27", 1, other, 2, 1, "2026-05-20", "first lot"});
        addDelivery({8, "24-25", 1, other, 1, 1, "2024-05-01", "", "8"}); // stored as typed

        Form f;
        // The login year first, then the others by year descending, each by number descending.
        QCOMPARE(columnTexts(f.list, 1), QStringList({"3/26-27", "2/26-27", "1/26-27", "7/25-26", "8"}));
        // One row a challan, its lines' quantities summed.
        QCOMPARE(rowTexts(f.list, 0).mid(1),
                 QStringList({"3/26-27", "20-05-2026", "BETA WORKS", "3.500", "first lot"}));

        auto *filter = child<QComboBox>(f.w, "company_combo");
        filter->setCurrentIndex(filter->findData(other));
        child<QDateEdit>(f.w, "fromdateEdit")->setDate(QDate(2025, 1, 1));
        child<QDateEdit>(f.w, "todateEdit")->setDate(QDate(2026, 12, 31));
        f.click("show_btn");
        QCOMPARE(columnTexts(f.list, 1), QStringList({"3/26-27", "7/25-26"}));
        f.click("reset_btn");
        QCOMPARE(f.list->rowCount(), 5);
    }

    void loadBackTakesTheYearOfTheRow()
    {
        // Challan 4 of 26-27 stored by an older version with another year in its text.
        addDelivery({4, "26-27", 2, Customer, Bracket, 4, "2026-06-03", "as agreed", "4/25-26"});
        addDelivery({4, "25-26", 2, Customer, Bracket, 9, "2025-06-03", "", "4/25-26"});
        addInward({2, "25-26", Customer, Bracket, 50});

        Form f;
        menus->choose = false;
        f.loadBack("4/25-26"); // the first such row is the current year's challan
        QCOMPARE(menus->entries, QStringList({"↩ Load Back for view & Edit"}));
        QCOMPARE(f.lines->rowCount(), 0); // menu dismissed: nothing loaded

        menus->choose = true;
        f.loadBack("4/25-26");
        QCOMPARE(f.number->text(), QString("4/26-27"));
        QCOMPARE(f.remarks->text(), QString("as agreed"));
        QCOMPARE(rowTexts(f.lines, 0).mid(7), QStringList({"4.000", "1", "2", "7.000"})); // 10 less 3 on challan 1
        QVERIFY(!f.enabled("save_btn") && f.enabled("update_btn"));

        f.click("cancel_btn");
        QCOMPARE(f.lines->rowCount(), 0);
        QVERIFY(f.enabled("save_btn") && !f.enabled("update_btn"));
    }

    void updateKeepsNumberAndYear()
    {
        addInward({2, "25-26", Customer, Bracket, 50});
        addInward({2, "25-26", Customer, Flange, 5});
        addDelivery({1, "25-26", 2, Customer, Bracket, 9, "2025-06-03", "", "1"}); // typed without a year
        addDelivery({1, "25-26", 2, Customer, Flange, 2, "2025-06-03", "", "1"});
        addBin(2, "25-26", Flange, 1);

        Form f;
        f.loadBack("1");
        QCOMPARE(f.number->text(), QString("1/25-26"));
        QCOMPARE(columnTexts(f.lines, 10), QStringList({"50.000", "4.000"})); // 5 received, 1 closed to a bin
        f.setQty(0, "0");
        f.setQty(1, "0");
        f.click("update_btn");
        QCOMPARE(desktop().lastMessage().text, QString("At least one item must have qty!"));
        QCOMPARE(f.lines->rowCount(), 2);
        QCOMPARE(count("SELECT SUM(delivery_qty) FROM delivery_entries WHERE fy_name = '25-26'"), 11);

        f.setQty(0, "12");
        f.click("update_btn");
        QCOMPARE(desktop().lastShown(), QString("Success|Delivery Challan updated!"));
        QCOMPARE(rows("SELECT delivery_no, delivery_no_full, delivery_qty FROM delivery_entries "
                      "WHERE fy_name = '25-26'"),
                 QStringList({"1|1/25-26|12"}));
        // The current year's challan 1 is untouched.
        QCOMPARE(rows("SELECT delivery_qty FROM delivery_entries WHERE fy_name = '26-27' AND delivery_no = 1"),
                 QStringList{"3"});
    }

    void deleteFreesTheNumberUnlessInvoiced()
    {
        addInvoiceLine(addInvoice({6, "26-27"}), 1, Bracket, "26-27");
        Form f;
        f.click("delete_btn");
        QCOMPARE(desktop().lastMessage().text, QString("Load a DC first (right-click → Load Back)!"));

        f.loadBack("1/26-27");
        f.click("delete_btn");
        const RecordingDesktop::Message question = desktop().messages.at(desktop().messages.size() - 2);
        QCOMPARE(question.title + "|" + question.text,
                 QString("Confirm Delete|Permanently delete DC 1/26-27?\nThe number becomes available for reuse."));
        QCOMPARE(desktop().lastShown(), QString("Cannot Delete|DC 1/26-27 is billed on invoice 6/26-27.\n"
                                                "Cancel or delete the invoice before deleting the DC."));
        QCOMPARE(count("SELECT COUNT(*) FROM delivery_entries WHERE delivery_no = 1"), 1);

        f.click("cancel_btn");
        f.loadBack("2/26-27");
        desktop().messageAnswers.enqueue(QMessageBox::No);
        f.click("delete_btn");
        QCOMPARE(count("SELECT COUNT(*) FROM delivery_entries WHERE delivery_no = 2"), 1);
        f.click("delete_btn"); // answered Yes
        QCOMPARE(desktop().lastShown(), QString("Deleted|DC deleted! Number available for reuse."));
        QCOMPARE(count("SELECT COUNT(*) FROM delivery_entries WHERE delivery_no = 2"), 0);
        QCOMPARE(f.listRowOf("2/26-27"), -1);

        // The freed number goes to the next challan, and the flange is open again.
        Form next;
        next.handOver({2});
        QCOMPARE(next.number->text(), QString("2/26-27"));
        QCOMPARE(next.lines->rowCount(), 3);
    }

    // Another copy deletes the loaded challan, then saves a new one under its
    // number: Update and Delete store nothing, say so and how to go on; what
    // was typed stays, and EditCancel leaves the DC.
    void changedMeanwhileIsRefused()
    {
        Form f;
        f.loadBack("1/26-27");
        f.setQty(0, "5");
        writeAsOtherCopy("DELETE FROM delivery_entries WHERE delivery_no = 1");
        f.click("update_btn");
        QCOMPARE(desktop().lastShown(), "Error|DC 1/26-27 was changed or deleted meanwhile, perhaps in "
                                        "another window. Nothing was updated." + ReloadAdvice);
        QCOMPARE(count("SELECT COUNT(*) FROM delivery_entries WHERE delivery_no = 1"), 0);
        QCOMPARE(f.cell(0, 7), QString("5"));
        QVERIFY(f.enabled("cancel_btn") && f.enabled("update_btn"));

        writeAsOtherCopy(challanLineStatement(1, 2, 3, 2));
        f.click("delete_btn"); // answered Yes
        QCOMPARE(desktop().lastShown(), "Error|DC 1/26-27 was changed or deleted meanwhile, perhaps in "
                                        "another window. Nothing was deleted." + ReloadAdvice);
        QCOMPARE(rows("SELECT item_id, delivery_qty FROM delivery_entries WHERE delivery_no = 1"),
                 QStringList{"3|2"});
    }

    // Another copy changes a column of a loaded line that its id does not
    // show: Update and Delete store nothing, its value stays.
    void columnChangedMeanwhileIsRefused_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("outcome");
        QTest::newRow("update") << "update_btn" << "updated";
        QTest::newRow("delete") << "delete_btn" << "deleted";
    }
    void columnChangedMeanwhileIsRefused()
    {
        QFETCH(QString, button);
        QFETCH(QString, outcome);
        Form f;
        f.loadBack("1/26-27");
        f.setQty(0, "5");
        writeAsOtherCopy("UPDATE delivery_entries SET remarks = 'moved' WHERE delivery_no = 1");
        const QStringList before = rows("SELECT * FROM delivery_entries ORDER BY delivery_id");
        f.click(qPrintable(button)); // Delete answered Yes
        QCOMPARE(desktop().lastShown(), "Error|DC 1/26-27 was changed or deleted meanwhile, perhaps in another "
                                        "window. Nothing was " + outcome + "." + ReloadAdvice);
        QCOMPARE(rows("SELECT * FROM delivery_entries ORDER BY delivery_id"), before);
    }

    // The form offers inward 2's bracket (7 open) and shaft (6 open); another
    // copy issues 4 of the shaft, or bins all of it, meanwhile. Save names
    // the line and stores nothing; with the shaft at 0 the rest saves.
    void saveRefusesABalanceChangedMeanwhile_data()
    {
        QTest::addColumn<QString>("otherCopy");
        QTest::addColumn<QString>("now");
        QTest::newRow("issued") << challanLineStatement(5, 2, 3, 4) << "2.000";
        QTest::newRow("binned") << dcBinStatement(2, 3, 6) << "0.000";
    }
    void saveRefusesABalanceChangedMeanwhile()
    {
        QFETCH(QString, otherCopy);
        QFETCH(QString, now);
        StandInTool tool(env->folder());
        Form f;
        f.handOver({2});
        f.setQty(0, "2");
        writeAsOtherCopy(otherCopy);
        f.click("save_btn");
        QCOMPARE(desktop().lastShown(),
                 "Error|Inward No 2/26-27, C1: the form showed a balance of 6.000; it is " + now
                     + " now. The line was issued, binned, changed or cancelled meanwhile, perhaps in another "
                       "window.\nNothing was saved.\n\nSet the Qty of the line(s) named to 0 to save the rest, or open "
                       "Create Delivery Challan, press Show and Proceed again: the new form shows the balances as "
                       "they are now. This form keeps what you typed until you close it.");
        QCOMPARE(count("SELECT COUNT(*) FROM delivery_entries WHERE delivery_no = 3"), 0);
        QCOMPARE(columnTexts(f.lines, 7), QStringList({"2", "6.000"}));

        f.setQty(1, "0");
        f.click("save_btn");
        QCOMPARE(desktop().lastShown(), QString("Success|Delivery Challan 3/26-27 saved successfully!"));
    }

    // Challan 1 carries 3 of the bracket's 10; another copy issues or bins 6
    // more meanwhile. Raising the line to 5 is refused; loaded again, it may
    // go up to the 4 still open.
    void updateRefusesABalanceChangedMeanwhile_data()
    {
        QTest::addColumn<QString>("otherCopy");
        QTest::newRow("issued") << challanLineStatement(5, 2, 1, 6);
        QTest::newRow("binned") << dcBinStatement(2, 1, 6);
    }
    void updateRefusesABalanceChangedMeanwhile()
    {
        QFETCH(QString, otherCopy);
        Form f;
        f.loadBack("1/26-27");
        writeAsOtherCopy(otherCopy);
        f.setQty(0, "5");
        f.click("update_btn");
        QCOMPARE(desktop().lastShown(),
                 "Error|Inward No 2/26-27, A1: the form showed a balance of 10.000; it is 4.000 now. The line was "
                 "issued, binned, changed or cancelled meanwhile, perhaps in another window.\nNothing was "
                 "updated." + ReloadAdvice);
        QCOMPARE(rows("SELECT delivery_qty FROM delivery_entries WHERE delivery_no = 1"), QStringList{"3"});

        f.click("reset_btn");
        f.loadBack("1/26-27");
        f.setQty(0, "5");
        QCOMPARE(f.cell(0, 7), QString("4.000"));
        f.click("update_btn");
        QCOMPARE(desktop().lastShown(), QString("Success|Delivery Challan updated!"));
    }

    // Another copy bills 1 of challan 1's bracket meanwhile: the update is
    // refused; loaded again, the line cannot go below the 1 billed.
    void updateKeepsWhatInvoicesBill()
    {
        Form f;
        f.loadBack("1/26-27");
        writeAsOtherCopy("INSERT INTO invoices (invoice_no, invoice_no_full, fy_name, is_deleted) "
                         "VALUES (6, '6/26-27', '26-27', 0);"
                         "INSERT INTO invoice_items (invoice_id, delivery_no, item_id, invoiced_qty, fy_name) "
                         "VALUES ((SELECT invoice_id FROM invoices WHERE invoice_no = 6), 1, 1, 1, '26-27')");
        f.setQty(0, "2");
        f.click("update_btn");
        QCOMPARE(desktop().lastShown(),
                 "Error|DC 1/26-27, A1: invoices billed 0.000 of it when it was loaded and bill 1.000 now (invoice "
                 "6/26-27); it was invoiced or an invoice cancelled meanwhile, perhaps in another window.\nNothing "
                 "was updated." + ReloadAdvice);

        f.click("reset_btn");
        f.loadBack("1/26-27");
        f.setQty(0, "0.5");
        f.click("update_btn");
        QCOMPARE(desktop().lastShown(), QString("Error|DC 1/26-27, A1: invoice 6/26-27 bills 1.000 of it; the DC "
                                                "cannot carry less. Type at least 1.000, or cancel the invoice "
                                                "first.\nNothing was updated."));
        QCOMPARE(rows("SELECT delivery_qty FROM delivery_entries WHERE delivery_no = 1"), QStringList{"3"});
        f.setQty(0, "1");
        f.click("update_btn");
        QCOMPARE(rows("SELECT delivery_qty FROM delivery_entries WHERE delivery_no = 1"), QStringList{"1"});
    }

    // Inward 5 holds the gear twice (5 + 5, as two copies once merged it):
    // Proceed offers it once, with its balance of 10. Challan 6 stored by hand
    // with two lines of it: each line shows the whole balance, but together
    // they may not deliver more than it.
    void oneItemStoredTwiceInAnEntryIsOneLine()
    {
        addInward({5, "26-27", Customer, Gear, 5});
        addInward({5, "26-27", Customer, Gear, 5});
        Form f;
        f.handOver({5});
        QCOMPARE(columnTexts(f.lines, 7), QStringList{"10.000"});
        addDelivery({6, "26-27", 5, Customer, Gear, 2});
        addDelivery({6, "26-27", 5, Customer, Gear, 2});
        f.click("reset_btn");
        f.loadBack("6/26-27");
        QCOMPARE(columnTexts(f.lines, 10), QStringList({"10.000", "10.000"}));
        f.setQty(0, "6");
        f.setQty(1, "6");
        f.click("update_btn");
        QCOMPARE(desktop().lastShown(),
                 QString("Qty Exceeds Balance|Inward No 5/26-27, D1: the 2 lines of this DC that draw on it deliver "
                         "12.000 together, but only 10.000 is left to deliver (received 10.000, delivered 0.000, "
                         "binned 0.000).\nNothing was updated.\n\nLower the Qty of the line(s) named so that together "
                         "they stay within what is left, then press Update again; what you typed stays in the form."));
        QCOMPARE(columnTexts(f.lines, 7), QStringList({"6", "6"}));
        f.setQty(1, "4");
        f.click("update_btn");
        QCOMPARE(rows("SELECT delivery_qty FROM delivery_entries WHERE delivery_no = 6"), QStringList({"6", "4"}));
    }

    void printFromTheList()
    {
        StandInTool tool(env->folder());
        addInward({2, "25-26", Customer, Bracket, 50});
        addDelivery({12, "25-26", 2, Customer, Bracket, 9, "2025-06-03", "", "12"}); // typed without a year

        Form f;
        f.click("print_btn");
        QCOMPARE(desktop().lastShown(), QString("Print|Please select a DC from the list."));
        f.list->setCurrentCell(f.listRowOf("12"), 1);
        f.click("print_btn");
        QCOMPARE(desktop().previews.value(0).title, QString("DC Preview - 12"));
        QVERIFY(tool.htmlGiven().value(0).contains("<b>NO.: </b>12/25-26"));
    }
};

QTEST_MAIN(TestChallanForm)
#include "tst_challanform.moc"
