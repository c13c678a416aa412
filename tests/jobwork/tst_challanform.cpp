// The delivery challan window: the hand-over from generation, the quantity
// check, Save with its refusals, the list with load-back, Update, Delete and
// Print, each challan identified by the number and year of its row.

#include "support/recordingdesktop.h"
#include "support/salesdata.h"
#include "support/standintool.h"
#include "support/widgets.h"

#include "app/financialyear.h"
#include "jobwork/deliverychallanlist.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

using namespace testdata;

namespace {

LoadBackMenus *g_menus = nullptr;

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
    addDelivery({1, "26-27", 2, d.customer, d.bracket, 3});
    addDelivery({2, "26-27", 2, d.customer, d.flange, 4});
    return d;
}

struct Form
{
    deliveryChallanList *w = new deliveryChallanList; // deleted by the test environment
    QTableWidget *lines = child<QTableWidget>(w, "qtyEditing_Table");
    QTableWidget *list = child<QTableWidget>(w, "dc_list_table");
    QLineEdit *number = child<QLineEdit>(w, "odcEdit");
    QLineEdit *customer = child<QLineEdit>(w, "companyNameEdit");
    QLineEdit *total = child<QLineEdit>(w, "totalQtyEdit");
    QLineEdit *remarks = child<QLineEdit>(w, "remarksEdit");

    bool enabled(const char *name) const { return child<QPushButton>(w, name)->isEnabled(); }
    void click(const char *name) const { ::click(w, name); }
    QString cell(int row, int col) const { return tableCell(lines, row, col); }
    void setQty(int row, const QString &text) const { lines->item(row, 7)->setText(text); }
    int listRowOf(const QString &fullNumber) const { return int(columnTexts(list, 1).indexOf(fullNumber)); }
    void handOver(const QList<int> &inwardNos, int customerId) const
    {
        w->setInwardData(inwardNos, customerId, "ACME FORGINGS");
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
    void init()
    {
        g_menus = &recordLoadBackMenus();
        g_currentFY = "26-27";
    }
    void handOverShowsOpenBalancesAndNextNumber();
    void inwardOfAnotherYearIsRefused();
    void quantityAboveBalanceIsReset();
    void refusalsWriteNothing();
    void saveWritesNumberOfTheYearAndPrints();
    void saveFailureKeepsTheForm();
    void listFiltersAndOrder();
    void loadBackTakesTheYearOfTheRow();
    void updateKeepsNumberAndYear();
    void deleteFreesTheNumberUnlessInvoiced();
    void printFromTheList();
};

void TestChallanForm::handOverShowsOpenBalancesAndNextNumber()
{
    TestEnvironment env;
    QVERIFY(openSalesDatabase(env));
    const Data d = addData();
    addDelivery({4, "26-27", 3, d.customer, d.gear, 1});
    addDelivery({1, "25-26", 3, d.customer, d.gear, 1});
    addBin(2, "26-27", d.bracket, 2);

    Form f;
    QCOMPARE(f.w->windowTitle(), QString("Delivery Challan - Kestrova App"));
    QVERIFY(!f.enabled("update_btn") && !f.enabled("cancel_btn"));
    f.handOver({2, 3}, d.customer);

    // Challans 1, 2, 4 of the year and 1 of the year before: the lowest free number.
    QCOMPARE(f.number->text(), QString("3/26-27"));
    QCOMPARE(f.customer->text(), QString("ACME FORGINGS"));
    QCOMPARE(f.lines->rowCount(), 3); // the flange is fully delivered
    // The bracket: 10 less 3 delivered less 2 binned.
    QCOMPARE(rowTexts(f.lines, 0), QStringList({"1", "CDC-9", "20-04-2026", "PO-7", "A1", "BRACKET", "KGS", "5.000",
                                                QString::number(d.bracket), "2", "5.000"}));
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

    // Delete takes out the current line, without renumbering.
    QTest::keyClick(f.lines, Qt::Key_Delete); // no current row: nothing
    QCOMPARE(f.lines->rowCount(), 3);
    f.lines->setCurrentCell(1, 4);
    QTest::keyClick(f.lines, Qt::Key_Delete);
    QCOMPARE(columnTexts(f.lines, 0), QStringList({"1", "3"}));
    QCOMPARE(f.total->text(), QString("12.000"));
}

void TestChallanForm::inwardOfAnotherYearIsRefused()
{
    TestEnvironment env;
    QVERIFY(openSalesDatabase(env));
    const Data d = addData();
    addInward({9, "25-26", d.customer, d.gear, 5});

    Form f;
    f.handOver({9}, d.customer);
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
    QVERIFY(openSalesDatabase(env));
    const Data d = addData();
    Form f;
    f.handOver({3}, d.customer);
    QCOMPARE(f.cell(0, 10), QString("8.000"));

    f.setQty(0, "12.5");
    QCOMPARE(env.desktop.lastShown(), QString("Qty Exceeds Balance|Delivery qty cannot exceed balance (8.000)!"));
    QCOMPARE(f.cell(0, 7), QString("8.000"));
    QCOMPARE(env.desktop.messages.size(), 1); // resetting the cell is not checked again

    f.setQty(0, "2.5");
    QCOMPARE(env.desktop.messages.size(), 1);
    QCOMPARE(f.total->text(), QString("2.500"));
    f.setQty(0, "abc");
    QCOMPARE(f.total->text(), QString("0.000"));
}

void TestChallanForm::refusalsWriteNothing()
{
    TestEnvironment env;
    QVERIFY(openSalesDatabase(env));
    const Data d = addData();

    Form empty;
    empty.click("save_btn");
    QCOMPARE(env.desktop.lastShown(), QString("Error|No items to save! Select DCs from Generate DC first."));

    Form f;
    f.handOver({3}, d.customer);
    for (const QString &text : QStringList({"abc", "0", "-3", ""})) {
        f.number->setText(text);
        f.click("save_btn");
        QCOMPARE(env.desktop.lastMessage().text, QString("Invalid DC No!"));
    }
    f.number->setText(" 1 ");
    f.click("save_btn");
    QCOMPARE(env.desktop.lastShown(), QString("Duplicate|DC No 1/26-27 already exists!\nPlease use a different number."));
    f.number->setText("3/26-27");
    f.setQty(0, "0");
    f.click("save_btn");
    QCOMPARE(env.desktop.lastShown(), QString("Error|Please enter qty for at least one item!"));

    QCOMPARE(env.desktop.messages.size(), 7);
    QCOMPARE(env.desktop.previews.size(), 0);
    QCOMPARE(count("SELECT COUNT(*) FROM delivery_entries"), 2);
    QCOMPARE(f.lines->rowCount(), 1);
}

void TestChallanForm::saveWritesNumberOfTheYearAndPrints()
{
    TestEnvironment env;
    QVERIFY(openSalesDatabase(env));
    const Data d = addData();
    StandInTool tool(env.folder());
    addDelivery({5, "25-26", 3, d.customer, d.gear, 1});

    Form f;
    f.handOver({2, 3}, d.customer);
    f.number->setText(" 5/25-26 "); // typed with another year: saved in the current one
    f.setQty(0, "4");
    f.setQty(1, "0");
    f.remarks->setText("  rush  ");
    child<QDateEdit>(f.w, "odcdateEdit")->setDate(QDate(2026, 6, 10));
    f.click("save_btn");

    QCOMPARE(env.desktop.messages.size(), 1);
    QCOMPARE(env.desktop.lastMessage().icon, QMessageBox::Information);
    QCOMPARE(env.desktop.lastShown(), QString("Success|Delivery Challan 5/26-27 saved successfully!"));
    QCOMPARE(rows("SELECT delivery_no_full, delivery_date, item_id, delivery_qty, remarks, sac_code, is_deleted "
                  "FROM delivery_entries WHERE delivery_no = 5 AND fy_name = '26-27' ORDER BY item_id"),
             QStringList({QString("5/26-27|2026-06-10|%1|4|rush|998873|0").arg(d.bracket),
                          QString("5/26-27|2026-06-10|%1|8|rush|998873|0").arg(d.gear)}));
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
    QVERIFY(openSalesDatabase(env));
    const Data d = addData();
    exec(QString("CREATE TRIGGER refuse BEFORE INSERT ON delivery_entries WHEN NEW.item_id = %1 "
                 "BEGIN SELECT RAISE(ABORT, 'shaft refused'); END")
             .arg(d.shaft));
    Form f;
    f.handOver({2}, d.customer);
    f.click("save_btn");
    QCOMPARE(env.desktop.lastMessage().title, QString("Save Error"));
    QVERIFY(env.desktop.lastMessage().text.contains("shaft refused"));
    QCOMPARE(count("SELECT COUNT(*) FROM delivery_entries"), 2);
    QCOMPARE(f.lines->rowCount(), 2);
    QCOMPARE(f.number->text(), QString("3/26-27"));
    QCOMPARE(env.desktop.previews.size(), 0);
}

void TestChallanForm::listFiltersAndOrder()
{
    TestEnvironment env;
    QVERIFY(openSalesDatabase(env));
    addData();
    const int other = addCustomer("BETA WORKS");
    addDelivery({7, "25-26", 1, other, 1, 1, "2025-05-01"});
    addDelivery({3, "26-27", 1, other, 1, 2.5, "2026-05-20", "first lot"});
    addDelivery({3, "26-27", 1, other, 2, 1, "2026-05-20", "first lot"});
    addDelivery({8, "24-25", 1, other, 1, 1, "2024-05-01", "", "8"}); // stored as typed

    Form f;
    // The login year first, then the others by year descending, each by number descending.
    QCOMPARE(columnTexts(f.list, 1), QStringList({"3/26-27", "2/26-27", "1/26-27", "7/25-26", "8"}));
    QVERIFY(f.list->isColumnHidden(0));
    // One row a challan, its lines' quantities summed.
    QCOMPARE(rowTexts(f.list, 0).mid(1), QStringList({"3/26-27", "20-05-2026", "BETA WORKS", "3.500", "first lot"}));

    auto *filter = child<QComboBox>(f.w, "company_combo");
    auto *from = child<QDateEdit>(f.w, "fromdateEdit");
    auto *to = child<QDateEdit>(f.w, "todateEdit");
    filter->setCurrentIndex(filter->findData(other));
    from->setDate(QDate(2025, 1, 1));
    to->setDate(QDate(2026, 12, 31));
    f.click("show_btn");
    QCOMPARE(columnTexts(f.list, 1), QStringList({"3/26-27", "7/25-26"}));
    filter->setCurrentIndex(0);
    from->setDate(QDate(2026, 5, 15));
    to->setDate(QDate(2026, 5, 31));
    f.click("show_btn");
    QCOMPARE(f.list->rowCount(), 1);
    f.click("reset_btn");
    QCOMPARE(f.list->rowCount(), 5);
    QCOMPARE(to->date(), QDate::currentDate());
}

void TestChallanForm::loadBackTakesTheYearOfTheRow()
{
    TestEnvironment env;
    QVERIFY(openSalesDatabase(env));
    const Data d = addData();
    // Challan 4 of 26-27 stored by an older version with another year in its text.
    addDelivery({4, "26-27", 2, d.customer, d.bracket, 4, "2026-06-03", "as agreed", "4/25-26"});
    addDelivery({4, "25-26", 2, d.customer, d.bracket, 9, "2025-06-03", "", "4/25-26"});
    addInward({2, "25-26", d.customer, d.bracket, 50});

    Form f;
    g_menus->choose = false;
    f.loadBack("4/25-26"); // the first such row is the current year's challan
    QCOMPARE(g_menus->entries, QStringList({"↩ Load Back for view & Edit"}));
    QCOMPARE(f.lines->rowCount(), 0); // menu dismissed: nothing loaded

    g_menus->choose = true;
    f.loadBack("4/25-26");
    QCOMPARE(f.number->text(), QString("4/26-27"));
    QVERIFY(f.number->isReadOnly());
    QCOMPARE(f.customer->text(), QString("ACME FORGINGS"));
    QCOMPARE(f.remarks->text(), QString("as agreed"));
    QCOMPARE(f.lines->rowCount(), 1);
    QCOMPARE(f.cell(0, 7), QString("4.000"));
    QCOMPARE(f.cell(0, 10), QString("7.000")); // 10 received, 3 on challan 1
    QVERIFY(!f.enabled("save_btn") && f.enabled("update_btn") && f.enabled("cancel_btn"));

    f.setQty(0, "8");
    QCOMPARE(env.desktop.lastMessage().text, QString("Delivery qty cannot exceed balance (7.000)!"));
    QCOMPARE(f.cell(0, 7), QString("7.000"));

    f.click("cancel_btn");
    QCOMPARE(f.lines->rowCount(), 0);
    QVERIFY(f.enabled("save_btn") && !f.enabled("update_btn"));
    QVERIFY(!f.number->isReadOnly());
}

void TestChallanForm::updateKeepsNumberAndYear()
{
    TestEnvironment env;
    QVERIFY(openSalesDatabase(env));
    const Data d = addData();
    addInward({2, "25-26", d.customer, d.bracket, 50});
    addInward({2, "25-26", d.customer, d.flange, 5});
    addDelivery({1, "25-26", 2, d.customer, d.bracket, 9, "2025-06-03", "", "1"}); // typed without a year
    addDelivery({1, "25-26", 2, d.customer, d.flange, 2, "2025-06-03", "", "1"});
    addBin(2, "25-26", d.flange, 1);

    Form f;
    f.loadBack("1");
    QCOMPARE(f.number->text(), QString("1/25-26"));
    QCOMPARE(columnTexts(f.lines, 10), QStringList({"50.000", "4.000"})); // 5 received, 1 closed to a bin
    f.setQty(0, "0");
    f.setQty(1, "0");
    f.click("update_btn");
    QCOMPARE(env.desktop.lastMessage().text, QString("At least one item must have qty!"));
    QCOMPARE(f.lines->rowCount(), 2);
    QVERIFY(f.enabled("update_btn"));
    QCOMPARE(count("SELECT SUM(delivery_qty) FROM delivery_entries WHERE fy_name = '25-26'"), 11);

    f.setQty(0, "12");
    f.click("update_btn");
    QCOMPARE(env.desktop.lastShown(), QString("Success|Delivery Challan updated!"));
    QCOMPARE(rows("SELECT delivery_no, delivery_no_full, delivery_qty FROM delivery_entries WHERE fy_name = '25-26'"),
             QStringList({"1|1/25-26|12"}));
    // The current year's challan 1 is untouched.
    QCOMPARE(rows("SELECT delivery_qty FROM delivery_entries WHERE fy_name = '26-27' AND delivery_no = 1"),
             QStringList{"3"});
    QCOMPARE(f.lines->rowCount(), 0);
    QVERIFY(f.enabled("save_btn") && !f.enabled("update_btn"));
    QVERIFY(f.listRowOf("1/25-26") >= 0);
}

void TestChallanForm::deleteFreesTheNumberUnlessInvoiced()
{
    TestEnvironment env;
    QVERIFY(openSalesDatabase(env));
    const Data d = addData();
    addInvoiceLine(addInvoice({6, "26-27"}), 1, d.bracket, "26-27");

    Form f;
    f.click("delete_btn");
    QCOMPARE(env.desktop.lastMessage().text, QString("Load a DC first (right-click → Load Back)!"));

    f.loadBack("1/26-27");
    f.click("delete_btn");
    const RecordingDesktop::Message question = env.desktop.messages.at(env.desktop.messages.size() - 2);
    QCOMPARE(question.title, QString("Confirm Delete"));
    QCOMPARE(question.text, QString("Permanently delete DC 1/26-27?\nThe number becomes available for reuse."));
    QCOMPARE(env.desktop.lastShown(), QString("Cannot Delete|DC 1/26-27 is billed on invoice 6/26-27.\n"
                                              "Cancel or delete the invoice before deleting the DC."));
    QCOMPARE(count("SELECT COUNT(*) FROM delivery_entries WHERE delivery_no = 1"), 1);
    QVERIFY(f.enabled("update_btn")); // still loaded

    f.click("cancel_btn");
    f.loadBack("2/26-27");
    env.desktop.messageAnswers.enqueue(QMessageBox::No);
    f.click("delete_btn");
    QCOMPARE(count("SELECT COUNT(*) FROM delivery_entries WHERE delivery_no = 2"), 1);

    f.click("delete_btn"); // answered Yes
    QCOMPARE(env.desktop.lastShown(), QString("Deleted|DC deleted! Number available for reuse."));
    QCOMPARE(count("SELECT COUNT(*) FROM delivery_entries WHERE delivery_no = 2"), 0);
    QCOMPARE(f.listRowOf("2/26-27"), -1);
    QCOMPARE(f.lines->rowCount(), 0);
    QVERIFY(!f.enabled("update_btn"));

    // The freed number goes to the next challan.
    Form next;
    next.handOver({2}, d.customer);
    QCOMPARE(next.number->text(), QString("2/26-27"));
    QCOMPARE(next.lines->rowCount(), 3); // the flange is open again
    next.click("save_btn");
    QCOMPARE(count("SELECT COUNT(*) FROM delivery_entries WHERE delivery_no = 2 AND fy_name = '26-27'"), 3);
}

void TestChallanForm::printFromTheList()
{
    TestEnvironment env;
    QVERIFY(openSalesDatabase(env));
    const Data d = addData();
    StandInTool tool(env.folder());
    addInward({2, "25-26", d.customer, d.bracket, 50});
    addDelivery({12, "25-26", 2, d.customer, d.bracket, 9, "2025-06-03", "", "12"});

    Form f;
    f.click("print_btn");
    QCOMPARE(env.desktop.lastShown(), QString("Print|Please select a DC from the list."));
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
