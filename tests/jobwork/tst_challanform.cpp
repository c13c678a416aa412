// The delivery challan window: the hand-over from generation, the quantity
// check, Save with its refusals, the list with load-back, Update, Delete and
// Print, each challan identified by the number and year of its row.

#include "support/recordingdesktop.h"
#include "support/salesdata.h"
#include "support/standintool.h"

#include "app/financialyear.h"
#include "app/formconventions.h"
#include "jobwork/deliverychallanlist.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QSqlQuery>
#include <QtTest>

using namespace testdata;

namespace {

bool g_chooseEntry = true;
QStringList g_menuEntries;

bool recordingChooser(QWidget *, const QPoint &, const QString &entryText)
{
    g_menuEntries << entryText;
    return g_chooseEntry;
}

// The customer, items and inward entries most cases share: inward 2 of
// 26-27 with bracket 10 (3 on challan 1), flange 4 (all on challan 2) and
// shaft 6; inward 3 of 26-27 with gear 8.
struct Data
{
    int customer = 0;
    int bracket = 0;
    int flange = 0;
    int shaft = 0;
    int gear = 0;
};

Data addData()
{
    createTables();
    Data d;
    d.customer = addCustomer("ACME FORGINGS");
    d.bracket = addItem(d.customer, "A1", "BRACKET", "KGS");
    d.flange = addItem(d.customer, "B1", "FLANGE");
    d.shaft = addItem(d.customer, "C1", "SHAFT");
    d.gear = addItem(d.customer, "D1", "GEAR");
    addInward({2, "26-27", d.customer, d.bracket, 10, "2026-05-02", "CDC-9", "2026-04-20", "PO-7", "coat both sides"});
    addInward({2, "26-27", d.customer, d.flange, 4, "2026-05-02", "CDC-9", "2026-04-20", "PO-7", "coat both sides"});
    addInward({2, "26-27", d.customer, d.shaft, 6, "2026-05-02", "CDC-9", "2026-04-20", "PO-7", "both sides"});
    addInward({3, "26-27", d.customer, d.gear, 8, "2026-05-02", "CDC-11", "bad date", "PO-8", "urgent"});
    addChallanLine({1, "26-27", 2, d.customer, d.bracket, 3});
    addChallanLine({2, "26-27", 2, d.customer, d.flange, 4});
    return d;
}

struct Form
{
    deliveryChallanList *w = new deliveryChallanList; // deleted by the test environment
    QTableWidget *lines = w->findChild<QTableWidget *>("qtyEditing_Table");
    QTableWidget *list = w->findChild<QTableWidget *>("dc_list_table");
    QLineEdit *number = w->findChild<QLineEdit *>("odcEdit");
    QLineEdit *customer = w->findChild<QLineEdit *>("companyNameEdit");
    QLineEdit *total = w->findChild<QLineEdit *>("totalQtyEdit");
    QLineEdit *remarks = w->findChild<QLineEdit *>("remarksEdit");
    QComboBox *filter = w->findChild<QComboBox *>("company_combo");
    QDateEdit *from = w->findChild<QDateEdit *>("fromdateEdit");
    QDateEdit *to = w->findChild<QDateEdit *>("todateEdit");

    QPushButton *button(const char *name) const { return w->findChild<QPushButton *>(name); }
    void click(const char *name) const { button(name)->click(); }
    QString cell(int row, int col) const { return lines->item(row, col) ? lines->item(row, col)->text() : QString(); }
    void setQty(int row, const QString &text) const { lines->item(row, 7)->setText(text); }
    int listRowOf(const QString &fullNumber) const
    {
        for (int row = 0; row < list->rowCount(); ++row) {
            if (list->item(row, 1)->text() == fullNumber)
                return row;
        }
        return -1;
    }
    // Right-clicks the list row showing `fullNumber` and chooses the entry.
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

private slots:
    void init();
    void handOverShowsOpenBalancesAndNextNumber();
    void inwardOfAnotherYearIsRefused();
    void quantityAboveBalanceIsReset();
    void refusalsWriteNothing();
    void saveWritesNumberOfTheYearAndPrints();
    void saveFailureKeepsTheForm();
    void deleteKeyRemovesTheCurrentLine();
    void listFiltersAndOrder();
    void loadBackTakesTheYearOfTheRow();
    void updateKeepsNumberAndYear();
    void deleteFreesTheNumberUnlessInvoiced();
    void printFromTheList();
};

void TestChallanForm::init()
{
    g_chooseEntry = true;
    g_menuEntries.clear();
    g_loadBackChooser = recordingChooser;
    g_currentFY = "26-27";
}

void TestChallanForm::handOverShowsOpenBalancesAndNextNumber()
{
    TestEnvironment env;
    QVERIFY(env.openDatabase());
    const Data d = addData();
    addChallanLine({4, "26-27", 3, d.customer, d.gear, 1});
    addChallanLine({1, "25-26", 3, d.customer, d.gear, 1});
    addBin(2, "26-27", d.bracket, 2);

    Form f;
    QCOMPARE(f.w->windowTitle(), QString("Delivery Challan - Kestrova App"));
    QVERIFY(!f.button("update_btn")->isEnabled());
    QVERIFY(!f.button("cancel_btn")->isEnabled());
    f.w->setInwardData({2, 3}, d.customer, "ACME FORGINGS");

    QCOMPARE(f.number->text(), QString("3/26-27"));
    QCOMPARE(f.customer->text(), QString("ACME FORGINGS"));
    QCOMPARE(f.lines->rowCount(), 3); // the flange is fully delivered
    QCOMPARE(f.cell(0, 0), QString("1"));
    QCOMPARE(f.cell(0, 1), QString("CDC-9"));
    QCOMPARE(f.cell(0, 2), QString("20-04-2026"));
    QCOMPARE(f.cell(0, 3), QString("PO-7"));
    QCOMPARE(f.cell(0, 4), QString("A1"));
    QCOMPARE(f.cell(0, 6), QString("KGS"));
    QCOMPARE(f.cell(0, 7), QString("5.000")); // 10 less 3 delivered less 2 binned
    QCOMPARE(f.cell(0, 8), QString::number(d.bracket));
    QCOMPARE(f.cell(0, 9), QString("2"));
    QCOMPARE(f.cell(0, 10), QString("5.000"));
    QCOMPARE(f.cell(1, 4), QString("C1"));
    QCOMPARE(f.cell(2, 0), QString("3"));
    QCOMPARE(f.cell(2, 2), QString()); // an unreadable date shows empty
    QCOMPARE(f.cell(2, 7), QString("7.000"));
    QCOMPARE(f.total->text(), QString("18.000"));
    QCOMPARE(f.remarks->text(), QString("coat both sides | urgent"));
    QVERIFY(f.lines->isColumnHidden(8) && f.lines->isColumnHidden(9) && f.lines->isColumnHidden(10));
    QVERIFY(f.lines->item(0, 7)->flags() & Qt::ItemIsEditable);
    QVERIFY(!(f.lines->item(0, 5)->flags() & Qt::ItemIsEditable));
    QCOMPARE(env.desktop.messages.size(), 0);
}

void TestChallanForm::inwardOfAnotherYearIsRefused()
{
    TestEnvironment env;
    QVERIFY(env.openDatabase());
    const Data d = addData();
    addInward({9, "25-26", d.customer, d.gear, 5});

    Form f;
    f.w->setInwardData({9}, d.customer, "ACME FORGINGS");
    QCOMPARE(f.lines->rowCount(), 0);
    QCOMPARE(env.desktop.messages.size(), 1);
    QCOMPARE(env.desktop.lastMessage().icon, QMessageBox::Warning);
    QCOMPARE(env.desktop.lastMessage().text,
             QString("Inward No 9 of this customer not found in financial year 26-27; not loaded.\n"
                     "Only inward entries of the current financial year can be delivered here."));
    f.click("save_btn");
    QCOMPARE(env.desktop.lastMessage().text, QString("No items to save! Select DCs from Generate DC first."));
    QCOMPARE(count("SELECT COUNT(*) FROM delivery_entries"), 2);
}

void TestChallanForm::quantityAboveBalanceIsReset()
{
    TestEnvironment env;
    QVERIFY(env.openDatabase());
    const Data d = addData();
    Form f;
    f.w->setInwardData({3}, d.customer, "ACME FORGINGS");
    QCOMPARE(f.cell(0, 10), QString("8.000"));

    f.setQty(0, "12.5");
    QCOMPARE(env.desktop.messages.size(), 1);
    QCOMPARE(env.desktop.lastMessage().title, QString("Qty Exceeds Balance"));
    QCOMPARE(env.desktop.lastMessage().text, QString("Delivery qty cannot exceed balance (8.000)!"));
    QCOMPARE(f.cell(0, 7), QString("8.000"));
    QCOMPARE(env.desktop.messages.size(), 1); // resetting the cell is not checked again

    f.setQty(0, "8");
    f.setQty(0, "2.5");
    QCOMPARE(env.desktop.messages.size(), 1);
    QCOMPARE(f.total->text(), QString("2.500"));
    f.setQty(0, "abc");
    QCOMPARE(f.total->text(), QString("0.000"));
}

void TestChallanForm::refusalsWriteNothing()
{
    TestEnvironment env;
    QVERIFY(env.openDatabase());
    const Data d = addData();

    Form empty;
    empty.click("save_btn");
    QCOMPARE(env.desktop.lastMessage().title, QString("Error"));
    QCOMPARE(env.desktop.lastMessage().text, QString("No items to save! Select DCs from Generate DC first."));

    Form f;
    f.w->setInwardData({3}, d.customer, "ACME FORGINGS");
    for (const QString &text : QStringList({"abc", "0", "-3", ""})) {
        f.number->setText(text);
        f.click("save_btn");
        QCOMPARE(env.desktop.lastMessage().text, QString("Invalid DC No!"));
    }
    f.number->setText(" 1 ");
    f.click("save_btn");
    QCOMPARE(env.desktop.lastMessage().title, QString("Duplicate"));
    QCOMPARE(env.desktop.lastMessage().text, QString("DC No 1/26-27 already exists!\nPlease use a different number."));
    f.number->setText("3/26-27");
    f.setQty(0, "0");
    f.click("save_btn");
    QCOMPARE(env.desktop.lastMessage().title, QString("Error"));
    QCOMPARE(env.desktop.lastMessage().text, QString("Please enter qty for at least one item!"));

    QCOMPARE(env.desktop.messages.size(), 7);
    QCOMPARE(env.desktop.previews.size(), 0);
    QCOMPARE(count("SELECT COUNT(*) FROM delivery_entries"), 2);
    QCOMPARE(f.lines->rowCount(), 1);
}

void TestChallanForm::saveWritesNumberOfTheYearAndPrints()
{
    TestEnvironment env;
    QVERIFY(env.openDatabase());
    const Data d = addData();
    StandInTool tool(env.folder());
    addChallanLine({5, "25-26", 3, d.customer, d.gear, 1});

    Form f;
    f.w->setInwardData({2, 3}, d.customer, "ACME FORGINGS");
    f.number->setText(" 5/25-26 "); // typed with another year: saved in the current one
    f.setQty(0, "4");
    f.setQty(1, "0");
    f.remarks->setText("  rush  ");
    f.w->findChild<QDateEdit *>("odcdateEdit")->setDate(QDate(2026, 6, 10));
    f.click("save_btn");

    QCOMPARE(env.desktop.messages.size(), 1);
    QCOMPARE(env.desktop.lastMessage().icon, QMessageBox::Information);
    QCOMPARE(env.desktop.lastMessage().title, QString("Success"));
    QCOMPARE(env.desktop.lastMessage().text, QString("Delivery Challan 5/26-27 saved successfully!"));
    QCOMPARE(count("SELECT COUNT(*) FROM delivery_entries WHERE delivery_no = 5 AND fy_name = '26-27' "
                   "AND delivery_no_full = '5/26-27' AND delivery_date = '2026-06-10' AND remarks = 'rush' "
                   "AND sac_code = '998873' AND is_deleted = 0"),
             2);
    QCOMPARE(value("SELECT SUM(delivery_qty) FROM delivery_entries WHERE delivery_no = 5 AND fy_name = '26-27'")
                 .toDouble(),
             12.0);
    QCOMPARE(count("SELECT COUNT(*) FROM delivery_entries WHERE fy_name = '25-26'"), 1);

    // Printed at once, then the form is empty.
    QCOMPARE(env.desktop.previews.size(), 1);
    QCOMPARE(env.desktop.previews[0].title, QString("DC Preview - 5"));
    QVERIFY(tool.htmlGiven().value(0).contains("<b>NO.: </b>5/26-27"));
    QCOMPARE(f.lines->rowCount(), 0);
    QCOMPARE(f.number->text(), QString());
    QCOMPARE(f.list->item(0, 1)->text(), QString("5/26-27"));

    f.click("save_btn");
    QCOMPARE(env.desktop.lastMessage().text, QString("No items to save! Select DCs from Generate DC first."));
}

void TestChallanForm::saveFailureKeepsTheForm()
{
    TestEnvironment env;
    QVERIFY(env.openDatabase());
    const Data d = addData();
    exec(QString("CREATE TRIGGER refuse BEFORE INSERT ON delivery_entries WHEN NEW.item_id = %1 "
                 "BEGIN SELECT RAISE(ABORT, 'shaft refused'); END")
             .arg(d.shaft));
    Form f;
    f.w->setInwardData({2}, d.customer, "ACME FORGINGS");
    f.click("save_btn");
    QCOMPARE(env.desktop.lastMessage().title, QString("Save Error"));
    QVERIFY(env.desktop.lastMessage().text.contains("shaft refused"));
    QCOMPARE(count("SELECT COUNT(*) FROM delivery_entries"), 2);
    QCOMPARE(f.lines->rowCount(), 2);
    QCOMPARE(f.number->text(), QString("3/26-27"));
    QCOMPARE(env.desktop.previews.size(), 0);
}

void TestChallanForm::deleteKeyRemovesTheCurrentLine()
{
    TestEnvironment env;
    QVERIFY(env.openDatabase());
    const Data d = addData();
    Form f;
    f.w->setInwardData({2, 3}, d.customer, "ACME FORGINGS");
    QTest::keyClick(f.lines, Qt::Key_Delete); // no current row: nothing
    QCOMPARE(f.lines->rowCount(), 3);
    f.lines->setCurrentCell(1, 4);
    QTest::keyClick(f.lines, Qt::Key_Delete);
    QCOMPARE(f.lines->rowCount(), 2);
    QCOMPARE(f.cell(1, 0), QString("3")); // not renumbered
    QCOMPARE(f.total->text(), QString("15.000"));
    QCOMPARE(env.desktop.messages.size(), 0);
}

void TestChallanForm::listFiltersAndOrder()
{
    TestEnvironment env;
    QVERIFY(env.openDatabase());
    const Data d = addData();
    const int other = addCustomer("BETA WORKS");
    addChallanLine({7, "25-26", 1, other, 1, 1, "2025-05-01"});
    addChallanLine({3, "26-27", 1, other, 1, 2.5, "2026-05-20", "first lot"});

    Form f;
    QCOMPARE(f.list->rowCount(), 4);
    QStringList shown;
    for (int row = 0; row < f.list->rowCount(); ++row)
        shown << f.list->item(row, 1)->text();
    QCOMPARE(shown, QStringList({"3/26-27", "2/26-27", "1/26-27", "7/25-26"}));
    QVERIFY(f.list->isColumnHidden(0));
    QCOMPARE(f.list->item(0, 2)->text(), QString("20-05-2026"));
    QCOMPARE(f.list->item(0, 3)->text(), QString("BETA WORKS"));
    QCOMPARE(f.list->item(0, 4)->text(), QString("2.500"));
    QCOMPARE(f.list->item(0, 5)->text(), QString("first lot"));

    f.filter->setCurrentIndex(f.filter->findData(other));
    f.from->setDate(QDate(2025, 1, 1));
    f.to->setDate(QDate(2026, 12, 31));
    f.click("show_btn");
    QCOMPARE(f.list->rowCount(), 2);
    f.filter->setCurrentIndex(0);
    f.from->setDate(QDate(2026, 5, 15));
    f.to->setDate(QDate(2026, 5, 31));
    f.click("show_btn");
    QCOMPARE(f.list->rowCount(), 1);
    f.click("reset_btn");
    QCOMPARE(f.list->rowCount(), 4);
    QCOMPARE(f.to->date(), QDate::currentDate());
    Q_UNUSED(d);
}

void TestChallanForm::loadBackTakesTheYearOfTheRow()
{
    TestEnvironment env;
    QVERIFY(env.openDatabase());
    const Data d = addData();
    // Challan 4 of 26-27 stored by an older version with another year in its text.
    addChallanLine({4, "26-27", 2, d.customer, d.bracket, 4, "2026-06-03", "as agreed", "4/25-26"});
    addChallanLine({4, "25-26", 2, d.customer, d.bracket, 9, "2025-06-03", QString(), "4/25-26"});
    addInward({2, "25-26", d.customer, d.bracket, 50});

    Form f;
    g_chooseEntry = false;
    f.loadBack("4/25-26"); // the first such row is the current year's challan
    QCOMPARE(g_menuEntries, QStringList({"↩ Load Back for view & Edit"}));
    QCOMPARE(f.lines->rowCount(), 0); // menu dismissed: nothing loaded

    g_chooseEntry = true;
    f.loadBack("4/25-26");
    QCOMPARE(f.number->text(), QString("4/26-27"));
    QVERIFY(f.number->isReadOnly());
    QCOMPARE(f.customer->text(), QString("ACME FORGINGS"));
    QCOMPARE(f.remarks->text(), QString("as agreed"));
    QCOMPARE(f.lines->rowCount(), 1);
    QCOMPARE(f.cell(0, 7), QString("4.000"));
    QCOMPARE(f.cell(0, 10), QString("7.000")); // 10 received, 3 on challan 1
    QVERIFY(!f.button("save_btn")->isEnabled());
    QVERIFY(f.button("update_btn")->isEnabled());
    QVERIFY(f.button("cancel_btn")->isEnabled());

    f.setQty(0, "8");
    QCOMPARE(env.desktop.lastMessage().text, QString("Delivery qty cannot exceed balance (7.000)!"));
    QCOMPARE(f.cell(0, 7), QString("7.000"));

    f.click("cancel_btn");
    QCOMPARE(f.lines->rowCount(), 0);
    QVERIFY(f.button("save_btn")->isEnabled());
    QVERIFY(!f.button("update_btn")->isEnabled());
    QVERIFY(!f.number->isReadOnly());
}

void TestChallanForm::updateKeepsNumberAndYear()
{
    TestEnvironment env;
    QVERIFY(env.openDatabase());
    const Data d = addData();
    addInward({2, "25-26", d.customer, d.bracket, 50});
    addChallanLine({1, "25-26", 2, d.customer, d.bracket, 9, "2025-06-03", QString(), "1"}); // typed without a year

    Form f;
    f.loadBack("1");
    QCOMPARE(f.number->text(), QString("1/25-26"));
    QCOMPARE(f.cell(0, 10), QString("50.000"));
    f.setQty(0, "0");
    f.click("update_btn");
    QCOMPARE(env.desktop.lastMessage().text, QString("At least one item must have qty!"));
    QCOMPARE(f.lines->rowCount(), 1);
    QVERIFY(f.button("update_btn")->isEnabled());
    QCOMPARE(value("SELECT delivery_qty FROM delivery_entries WHERE fy_name = '25-26'").toDouble(), 9.0);

    f.setQty(0, "12");
    f.click("update_btn");
    QCOMPARE(env.desktop.lastMessage().title, QString("Success"));
    QCOMPARE(env.desktop.lastMessage().text, QString("Delivery Challan updated!"));
    QCOMPARE(count("SELECT COUNT(*) FROM delivery_entries WHERE fy_name = '25-26' AND delivery_no = 1 "
                   "AND delivery_no_full = '1/25-26' AND delivery_qty = 12"),
             1);
    // The current year's challan 1 is untouched.
    QCOMPARE(value("SELECT delivery_qty FROM delivery_entries WHERE fy_name = '26-27' AND delivery_no = 1")
                 .toDouble(),
             3.0);
    QCOMPARE(f.lines->rowCount(), 0);
    QVERIFY(f.button("save_btn")->isEnabled());
    QVERIFY(!f.button("update_btn")->isEnabled());
    QVERIFY(f.listRowOf("1/25-26") >= 0);
}

void TestChallanForm::deleteFreesTheNumberUnlessInvoiced()
{
    TestEnvironment env;
    QVERIFY(env.openDatabase());
    const Data d = addData();
    addInvoiceLine(addInvoice({6, "26-27"}), 1, d.bracket, "26-27");

    Form f;
    f.click("delete_btn");
    QCOMPARE(env.desktop.lastMessage().text, QString("Load a DC first (right-click → Load Back)!"));

    f.loadBack("1/26-27");
    f.click("delete_btn");
    QCOMPARE(env.desktop.messages.at(env.desktop.messages.size() - 2).title, QString("Confirm Delete"));
    QCOMPARE(env.desktop.messages.at(env.desktop.messages.size() - 2).text,
             QString("Permanently delete DC 1/26-27?\nThe number becomes available for reuse."));
    QCOMPARE(env.desktop.lastMessage().title, QString("Cannot Delete"));
    QCOMPARE(env.desktop.lastMessage().text,
             QString("DC 1/26-27 is billed on invoice 6/26-27.\nCancel or delete the invoice before deleting the DC."));
    QCOMPARE(count("SELECT COUNT(*) FROM delivery_entries WHERE delivery_no = 1"), 1);
    QVERIFY(f.button("update_btn")->isEnabled()); // still loaded

    f.click("cancel_btn");
    f.loadBack("2/26-27");
    env.desktop.messageAnswers.enqueue(QMessageBox::No);
    f.click("delete_btn");
    QCOMPARE(count("SELECT COUNT(*) FROM delivery_entries WHERE delivery_no = 2"), 1);

    f.click("delete_btn"); // answered Yes
    QCOMPARE(env.desktop.lastMessage().title, QString("Deleted"));
    QCOMPARE(env.desktop.lastMessage().text, QString("DC deleted! Number available for reuse."));
    QCOMPARE(count("SELECT COUNT(*) FROM delivery_entries WHERE delivery_no = 2"), 0);
    QCOMPARE(f.listRowOf("2/26-27"), -1);
    QCOMPARE(f.lines->rowCount(), 0);
    QVERIFY(!f.button("update_btn")->isEnabled());

    // The freed number goes to the next challan.
    Form next;
    next.w->setInwardData({2}, d.customer, "ACME FORGINGS");
    QCOMPARE(next.number->text(), QString("2/26-27"));
    QCOMPARE(next.lines->rowCount(), 3); // the flange is open again
    next.click("save_btn");
    QCOMPARE(count("SELECT COUNT(*) FROM delivery_entries WHERE delivery_no = 2 AND fy_name = '26-27'"), 3);
}

void TestChallanForm::printFromTheList()
{
    TestEnvironment env;
    QVERIFY(env.openDatabase());
    const Data d = addData();
    StandInTool tool(env.folder());
    addInward({2, "25-26", d.customer, d.bracket, 50});
    addChallanLine({12, "25-26", 2, d.customer, d.bracket, 9, "2025-06-03", QString(), "12"});

    Form f;
    f.click("print_btn");
    QCOMPARE(env.desktop.lastMessage().title, QString("Print"));
    QCOMPARE(env.desktop.lastMessage().text, QString("Please select a DC from the list."));
    QCOMPARE(env.desktop.previews.size(), 0);

    f.list->setCurrentCell(f.listRowOf("12"), 1);
    f.click("print_btn");
    QCOMPARE(env.desktop.previews.size(), 1);
    QCOMPARE(env.desktop.previews[0].title, QString("DC Preview - 12"));
    const QString html = tool.htmlGiven().value(0);
    QVERIFY(html.contains("<b>NO.: </b>12/25-26"));
    QVERIFY(html.contains(">9.00 KGS</td>"));
}

QTEST_MAIN(TestChallanForm)
#include "tst_challanform.moc"
