// The inward entry window: new entries and their numbers, the item popup,
// the checks on input, and the list beside it with its order and filters,
// load-back, update and cancel.

#include "support/recordingdesktop.h"
#include "support/salesdata.h"
#include "support/widgets.h"

#include "app/financialyear.h"
#include "app/keptwindow.h"
#include "jobwork/inwardentry.h"
#include "jobwork/inwardstore.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableWidget>
#include <QtTest>

using namespace testdata;

namespace {

LoadBackMenus *g_menus = nullptr;

// Opens the database with two customers; ACME's three items hold "ab" or "l"
// in several letter cases, one of them without a code.
bool openWithMasters(TestEnvironment &env)
{
    if (!openSalesDatabase(env))
        return false;
    addCustomer("ACME FORGE");
    addCustomer("BHARAT CASTINGS");
    addItem(1, "AB-100", "ABLE BRACKET");
    addItem(1, "CD-200", "COVER PLATE", "KGS");
    addItem(1, "", "SLAB RING");
    addItem(2, "AB-900", "OTHER FIRM PART");
    return true;
}

void chooseCustomer(inwardentry &form, int customerId)
{
    QComboBox *combo = child<QComboBox>(&form, "company_combo");
    combo->setCurrentIndex(combo->findData(customerId));
}

// Finds the item through the popup by keyboard and adds it with `qty`.
void addLine(inwardentry &form, const QString &search, const QString &qty)
{
    QLineEdit *box = child<QLineEdit>(&form, "search_combo");
    box->setText(search);
    QTest::keyClick(box, Qt::Key_Down);
    QTest::keyClick(box, Qt::Key_Return);
    child<QLineEdit>(&form, "qtyEdit")->setText(qty);
    click(&form, "add_btn");
}

// An inward line with DC "DC-<no>" and remarks "entry <no>".
void inward(int no, const QString &fy, int customer, int item, double qty, const QString &date = "2026-05-10",
            const QString &dcDate = "2026-05-09", int deleted = 0)
{
    addInward({no, fy, customer, item, qty, date, QString("DC-%1").arg(no), dcDate, "PO-1",
               QString("entry %1").arg(no), deleted});
}

void challan(int no, const QString &fy, int inwardNo, int item, double qty, int deleted = 0)
{
    addDelivery(Delivery{no, fy, inwardNo, 1, item, qty}.deleted(deleted));
}

// Right-clicks the list row showing `fullNumber`.
void rightClick(inwardentry &form, const QString &fullNumber)
{
    QTableWidget *list = child<QTableWidget>(&form, "inward_list_table");
    const int row = int(columnTexts(list, 1).indexOf(fullNumber));
    QVERIFY(row >= 0);
    form.onInwardListContextMenu(list->visualItemRect(list->item(row, 1)).center());
}

} // namespace

class TestInwardEntry : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        g_currentFY = "26-27";
        g_menus = &recordLoadBackMenus();
    }

    void savesNumberedEntriesLineByLine()
    {
        TestEnvironment env;
        QVERIFY(openWithMasters(env));
        inwardentry form;
        form.show();
        QCOMPARE(form.windowTitle(), QString("Inward Entry - Kestrova App"));
        QLineEdit *number = child<QLineEdit>(&form, "inwnoEdit");
        QCOMPARE(number->text(), QString("1/26-27"));

        chooseCustomer(form, 1);
        child<QDateEdit>(&form, "inwdateEdit")->setDate(QDate(2026, 5, 4));
        child<QDateEdit>(&form, "dcdateEdit")->setDate(QDate(2026, 5, 2));
        child<QDateEdit>(&form, "podateEdit")->setDate(QDate(2026, 4, 20));
        child<QLineEdit>(&form, "dcnoEdit")->setText("  DC-77 ");
        child<QLineEdit>(&form, "ponoEdit")->setText("PO-9");
        child<QLineEdit>(&form, "remarksEdit")->setText(" urgent ");
        addLine(form, "cd", "2.5");
        addLine(form, "able", "10");
        QCOMPARE(child<QLineEdit>(&form, "totalqtyEdit")->text(), QString("12.500"));
        QCOMPARE(child<QTableWidget>(&form, "inward_main_table")->item(1, 4)->text(), QString("10.000"));
        click(&form, "save_btn");

        QCOMPARE(env.desktop.lastShown(), QString("Success|Inward entry saved!\nInward No: 1/26-27"));
        QCOMPARE(number->text(), QString("2/26-27"));
        QCOMPARE(child<QComboBox>(&form, "company_combo")->currentIndex(), 0);
        QCOMPARE(child<QTableWidget>(&form, "inward_main_table")->rowCount(), 0);
        QCOMPARE(child<QTableWidget>(&form, "inward_list_table")->rowCount(), 1);

        QCOMPARE(rows("SELECT inward_no, inward_no_full, inward_date, customer_id, item_id, dc_no, dc_date, po_no, "
                      "po_date, inward_qty, remarks, fy_name, is_deleted FROM inward_entries ORDER BY inward_id"),
                 QStringList({"1|1/26-27|2026-05-04|1|1|DC-77|2026-05-02|PO-9|2026-04-20|10|urgent|26-27|0",
                              "1|1/26-27|2026-05-04|1|2|DC-77|2026-05-02|PO-9|2026-04-20|2.5|urgent|26-27|0"}));

        chooseCustomer(form, 2);
        addLine(form, "900", "1");
        click(&form, "save_btn");
        QCOMPARE(env.desktop.lastMessage().text, QString("Inward entry saved!\nInward No: 2/26-27"));

        // A cancelled entry keeps its number: no gap is filled.
        exec("UPDATE inward_entries SET is_deleted = 1 WHERE inward_no = 2");
        form.hide();
        form.show();
        QCOMPARE(number->text(), QString("3/26-27"));
        chooseCustomer(form, 1);
        addLine(form, "AB-1", "4");
        click(&form, "save_btn");
        QCOMPARE(count("SELECT COUNT(*) FROM inward_entries WHERE inward_no_full = '3/26-27' AND is_deleted = 0"), 1);
    }

    void failedLineWritesNothing()
    {
        TestEnvironment env;
        QVERIFY(openWithMasters(env));
        exec("CREATE TRIGGER refuse_cover BEFORE INSERT ON inward_entries WHEN NEW.item_id = 2 "
             "BEGIN SELECT RAISE(ABORT, 'forced failure'); END");
        inwardentry form;
        form.show();
        chooseCustomer(form, 1);
        addLine(form, "cover", "3");
        addLine(form, "able", "5"); // item 1 is written first, item 2 fails
        click(&form, "save_btn");

        QVERIFY(env.desktop.lastShown().startsWith("Save Error|Failed: "));
        QVERIFY(env.desktop.lastMessage().text.contains("forced failure"));
        QCOMPARE(count("SELECT COUNT(*) FROM inward_entries"), 0);
        QCOMPARE(child<QTableWidget>(&form, "inward_main_table")->rowCount(), 2);
        QCOMPARE(child<QLineEdit>(&form, "inwnoEdit")->text(), QString("1/26-27"));

        // Saving again once the fault is gone writes the entry exactly once.
        exec("DROP TRIGGER refuse_cover");
        click(&form, "save_btn");
        QCOMPARE(env.desktop.lastMessage().title, QString("Success"));
        QCOMPARE(count("SELECT COUNT(*) FROM inward_entries WHERE inward_no = 1"), 2);
    }

    void refusesBadInputAndWritesNothing()
    {
        TestEnvironment env;
        QVERIFY(openWithMasters(env));
        inwardentry form;
        form.show();
        QPushButton *save = child<QPushButton>(&form, "save_btn");
        QPushButton *add = child<QPushButton>(&form, "add_btn");
        QLineEdit *qty = child<QLineEdit>(&form, "qtyEdit");
        QTableWidget *lines = child<QTableWidget>(&form, "inward_main_table");

        save->click();
        QCOMPARE(env.desktop.lastShown(), QString("Error|Please select a company first!"));

        chooseCustomer(form, 1);
        save->click();
        QCOMPARE(env.desktop.lastMessage().text, QString("Please enter qty for at least one item!"));

        // A name typed by hand is no chosen item.
        child<QLineEdit>(&form, "nameEdit")->setText("TYPED");
        qty->setText("1");
        add->click();
        QCOMPARE(env.desktop.lastMessage().text, QString("Please select an item first!"));

        for (const QString &bad : {QString("abc"), QString("0"), QString("-2")}) {
            addLine(form, "able", bad);
            QCOMPARE(env.desktop.lastShown(), QString("Error|Please enter a valid quantity!"));
        }
        qty->setText("7");
        add->click();
        QCOMPARE(lines->rowCount(), 1);
        addLine(form, "able", "1");
        QCOMPARE(env.desktop.lastShown(), QString("Duplicate|Item already added!\nEdit qty directly in the table."));
        QCOMPARE(lines->rowCount(), 1);

        // A line edited to 0 in the table is not saved; with only such lines the save is refused.
        lines->item(0, 4)->setText("0");
        QCOMPARE(child<QLineEdit>(&form, "totalqtyEdit")->text(), QString("0.000"));
        save->click();
        QCOMPARE(env.desktop.lastMessage().text, QString("Please enter qty for at least one item!"));

        // Delete removes the current line.
        addLine(form, "cover", "2");
        lines->setCurrentCell(1, 1);
        QTest::keyClick(lines, Qt::Key_Delete);
        QCOMPARE(lines->rowCount(), 1);
        QCOMPARE(lines->item(0, 1)->text(), QString("AB-100"));
        QCOMPARE(count("SELECT COUNT(*) FROM inward_entries"), 0);

        // Another customer empties the lines and forgets the item chosen for the last one.
        addLine(form, "cover", "2");
        child<QLineEdit>(&form, "search_combo")->setText("cover");
        QTest::keyClick(child<QLineEdit>(&form, "search_combo"), Qt::Key_Down);
        QTest::keyClick(child<QLineEdit>(&form, "search_combo"), Qt::Key_Return);
        chooseCustomer(form, 2);
        QCOMPARE(lines->rowCount(), 0);
        QVERIFY(child<QLineEdit>(&form, "nameEdit")->text().isEmpty());
        qty->setText("1");
        add->click();
        QCOMPARE(env.desktop.lastMessage().text, QString("Please select an item first!"));
        QCOMPARE(lines->rowCount(), 0);
    }

    void itemPopupSizesAndKeys()
    {
        TestEnvironment env;
        QVERIFY(openWithMasters(env));
        for (int i = 0; i < 9; ++i)
            addItem(1, QString("X%1").arg(i), QString("CAB PART %1").arg(i));
        inwardentry form;
        form.show();
        QLineEdit *box = child<QLineEdit>(&form, "search_combo");
        QListWidget *popup = child<QListWidget>(&form, "item_popup");

        box->setText("ab");
        QVERIFY(!popup->isVisible()); // no customer chosen yet
        chooseCustomer(form, 1);
        QVERIFY(box->text().isEmpty());

        // Trimmed, any letter case, at most ten hits by code, eight rows high.
        QTest::keyClicks(box, "  aB ");
        QVERIFY(popup->isVisible());
        QCOMPARE(popup->count(), 10);
        QCOMPARE(popup->height(), 280);
        QCOMPARE(popup->width(), box->width());
        QCOMPARE(popup->pos(), box->mapToGlobal(QPoint(0, box->height())));
        QCOMPARE(popup->item(0)->text(), QString("SLAB RING [NOS]")); // no code: name and UOM
        QCOMPARE(popup->item(1)->text(), QString("AB-100 - ABLE BRACKET [NOS]"));

        // Fewer hits: 35 pixels a row. "l": ABLE BRACKET, COVER PLATE, SLAB RING.
        for (const QString &text : QStringList{"X", "l", "slab"}) {
            box->setText(text);
            QCOMPARE(QString("%1 %2").arg(popup->count()).arg(popup->height()),
                     QString(text == "X" ? "9 280" : text == "l" ? "3 105" : "1 35"));
        }
        box->setText("900"); // another customer's item
        QVERIFY(!popup->isVisible());

        box->setText("a");
        QCOMPARE(popup->count(), 10);
        QCOMPARE(popup->currentRow(), -1);
        QTest::keyClick(box, Qt::Key_Up);
        QCOMPARE(popup->currentRow(), -1);
        QTest::keyClick(box, Qt::Key_Down);
        QCOMPARE(popup->currentRow(), 0);
        QTest::keyClick(box, Qt::Key_Down);
        QTest::keyClick(box, Qt::Key_Down);
        QTest::keyClick(box, Qt::Key_Up);
        QCOMPARE(popup->currentRow(), 1);
        for (int i = 0; i < 12; ++i)
            QTest::keyClick(box, Qt::Key_Down);
        QCOMPARE(popup->currentRow(), 9);
        QTest::keyClick(box, Qt::Key_Escape);
        QVERIFY(!popup->isVisible());
        QCOMPARE(box->text(), QString("a")); // Escape only hides
        QTest::keyClick(box, Qt::Key_Down); // reaches the box while hidden
        QVERIFY(!popup->isVisible());

        box->setText("cover");
        QTest::keyClick(box, Qt::Key_Return); // nothing chosen yet
        QVERIFY(popup->isVisible());
        QVERIFY(child<QLineEdit>(&form, "nameEdit")->text().isEmpty());
        QTest::keyClick(box, Qt::Key_Down);
        QTest::keyClick(box, Qt::Key_Return);
        QVERIFY(!popup->isVisible());
        QVERIFY(box->text().isEmpty());
        QCOMPARE(child<QLineEdit>(&form, "codeEdit")->text(), QString("CD-200"));
        QCOMPARE(child<QLineEdit>(&form, "nameEdit")->text(), QString("COVER PLATE"));
        QCOMPARE(child<QLineEdit>(&form, "uomEdit")->text(), QString("KGS"));
        QCOMPARE(box->property("selected_item_id").toInt(), 2);

        // A mouse click chooses too; an empty text hides the popup.
        box->setText("slab");
        QTest::mouseClick(popup->viewport(), Qt::LeftButton, {}, popup->visualItemRect(popup->item(0)).center());
        QCOMPARE(child<QLineEdit>(&form, "nameEdit")->text(), QString("SLAB RING"));
        QCOMPARE(box->property("selected_item_id").toInt(), 3);
        box->setText("slab");
        QVERIFY(popup->isVisible());
        box->setText("   ");
        QVERIFY(!popup->isVisible());
        box->setText("zzz");
        QVERIFY(!popup->isVisible());

        // Closing the form takes the popup with it.
        box->setText("slab");
        QVERIFY(popup->isVisible());
        form.close();
        QVERIFY(!popup->isVisible());
    }

    // The table's cells as they are written: quantities above 0 only, one
    // line an item (its first), in ascending item id.
    void linesToWrite()
    {
        const QList<InwardLine> lines =
            inwardLinesToWrite({{"5", "1.5"}, {"2", "0"}, {"3", "abc"}, {"1", "2"}, {"5", "9"}});
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines.at(0).itemId, 1);
        QCOMPARE(lines.at(1).itemId, 5);
        QCOMPARE(lines.at(1).qty, 1.5);
    }

    void listsCurrentYearFirstAndGreysCancelled()
    {
        TestEnvironment env;
        QVERIFY(openWithMasters(env));
        inward(2, "25-26", 1, 1, 1, "2025-06-01", "2025-05-30");
        inward(3, "26-27", 2, 4, 4, "2026-05-20", "20/05/2026");
        inward(5, "25-26", 1, 1, 2, "2025-09-01");
        inward(5, "25-26", 1, 2, 2, "2025-09-01"); // a second line: still one row
        inward(1, "26-27", 1, 1, 3, "2026-04-15", "2026-04-14", 1);
        inward(7, "24-25", 1, 1, 3, "2024-07-01");
        exec("INSERT INTO inward_entries (inward_no, inward_no_full, customer_id, fy_name, is_deleted) "
             "VALUES (9, '9/26-27', 99, '26-27', 0)"); // its customer is gone

        inwardentry form;
        QTableWidget *list = child<QTableWidget>(&form, "inward_list_table");
        QCOMPARE(list->rowCount(), 0); // filled when shown
        form.show();
        QCOMPARE(columnTexts(list, 1), QStringList({"3/26-27", "1/26-27", "5/25-26", "2/25-26", "7/24-25"}));
        QCOMPARE(columnTexts(list, 0), QStringList({"3", "1", "5", "2", "7"}));
        QVERIFY(list->isColumnHidden(0));
        QCOMPARE(list->item(0, 3)->text(), QString("20/05/2026")); // not a stored date: as stored
        QCOMPARE(list->item(1, 3)->text(), QString("14-04-2026"));
        QCOMPARE(list->item(0, 4)->text(), QString("BHARAT CASTINGS"));
        QCOMPARE(list->item(0, 5)->text(), QString("entry 3"));
        for (int c = 0; c < 6; ++c) {
            QCOMPARE(list->item(1, c)->foreground().color(), QColor(150, 150, 150));
            QCOMPARE(list->item(1, c)->background().color(), QColor(230, 230, 230));
        }
        QVERIFY(list->item(1, 0)->data(Qt::UserRole + 1).toBool());
        QVERIFY(!list->item(0, 0)->data(Qt::UserRole + 1).toBool());
        QCOMPARE(list->item(0, 1)->background().style(), Qt::NoBrush);

        // The period opens on the foundation's default start and ends today.
        QDateEdit *from = child<QDateEdit>(&form, "fromdateEdit_2");
        QDateEdit *to = child<QDateEdit>(&form, "todateEdit_2");
        QCOMPARE(from->date(), defaultPeriodStart());
        QCOMPARE(to->date(), QDate::currentDate());

        // Show filters the inward date (both ends included) and the customer.
        from->setDate(QDate(2025, 6, 1));
        to->setDate(QDate(2025, 9, 1));
        click(&form, "show_btn");
        QCOMPARE(columnTexts(list, 1), QStringList({"5/25-26", "2/25-26"}));
        QComboBox *customer = child<QComboBox>(&form, "company_combo_2");
        customer->setCurrentIndex(customer->findData(2));
        from->setDate(QDate(2020, 1, 1));
        to->setDate(QDate(2030, 1, 1));
        click(&form, "show_btn");
        QCOMPARE(columnTexts(list, 1), QStringList({"3/26-27"}));

        click(&form, "reset_btn");
        QCOMPARE(customer->currentIndex(), 0);
        QCOMPARE(from->date(), defaultPeriodStart());
        QCOMPARE(to->date(), QDate::currentDate());
        QCOMPARE(list->rowCount(), 5);

        // Another login year comes first.
        g_currentFY = "25-26";
        form.loadInwardList(-1, QString(), QString());
        QCOMPARE(columnTexts(list, 1), QStringList({"5/25-26", "2/25-26", "3/26-27", "1/26-27", "7/24-25"}));
    }

    void loadBackAndUpdateAnotherYear()
    {
        TestEnvironment env;
        QVERIFY(openWithMasters(env));
        inward(5, "25-26", 1, 1, 10, "2025-09-01", "2025-08-30");
        inward(5, "25-26", 1, 2, 4, "2025-09-01", "2025-08-30");
        inward(5, "26-27", 2, 4, 6);
        inward(1, "26-27", 1, 1, 1, "2026-04-15", "2026-04-14", 1);

        inwardentry form;
        form.show();
        QLineEdit *number = child<QLineEdit>(&form, "inwnoEdit");
        QCOMPARE(number->text(), QString("6/26-27"));

        // A cancelled row offers no menu.
        rightClick(form, "1/26-27");
        QCOMPARE(env.desktop.lastShown(), QString("Deleted|This entry has been deleted."));
        QVERIFY(g_menus->entries.isEmpty());

        // Dismissing the menu loads nothing.
        g_menus->choose = false;
        rightClick(form, "5/25-26");
        QCOMPARE(g_menus->entries, QStringList({"↩ Load Back for View & Edit"}));
        QCOMPARE(number->text(), QString("6/26-27"));
        QVERIFY(child<QPushButton>(&form, "save_btn")->isEnabled());

        g_menus->choose = true;
        rightClick(form, "5/25-26");
        QCOMPARE(number->text(), QString("5/25-26"));
        QCOMPARE(child<QDateEdit>(&form, "inwdateEdit")->date(), QDate(2025, 9, 1));
        QCOMPARE(child<QDateEdit>(&form, "dcdateEdit")->date(), QDate(2025, 8, 30));
        QCOMPARE(child<QLineEdit>(&form, "dcnoEdit")->text(), QString("DC-5"));
        QCOMPARE(child<QComboBox>(&form, "company_combo")->currentData().toInt(), 1);
        QTableWidget *lines = child<QTableWidget>(&form, "inward_main_table");
        QCOMPARE(columnTexts(lines, 1), QStringList({"AB-100", "CD-200"}));
        QCOMPARE(columnTexts(lines, 4), QStringList({"10.000", "4.000"}));
        QCOMPARE(child<QLineEdit>(&form, "totalqtyEdit")->text(), QString("14.000"));
        QVERIFY(!child<QPushButton>(&form, "save_btn")->isEnabled());
        QVERIFY(child<QPushButton>(&form, "update_btn")->isEnabled());
        QVERIFY(child<QPushButton>(&form, "cancel_btn")->isEnabled());

        // Showing the form again or choosing another customer keeps the loaded number.
        form.hide();
        form.show();
        QCOMPARE(number->text(), QString("5/25-26"));
        QComboBox *customer = child<QComboBox>(&form, "company_combo");
        customer->setCurrentIndex(customer->findData(2));
        QCOMPARE(number->text(), QString("5/25-26"));
        QCOMPARE(lines->rowCount(), 0);
        customer->setCurrentIndex(customer->findData(1));
        child<QLineEdit>(&form, "search_combo")->setText("cover");
        QTest::keyClick(child<QLineEdit>(&form, "search_combo"), Qt::Key_Down);
        QTest::keyClick(child<QLineEdit>(&form, "search_combo"), Qt::Key_Return);
        child<QLineEdit>(&form, "qtyEdit")->setText("2.25");
        click(&form, "add_btn");
        child<QLineEdit>(&form, "remarksEdit")->setText("  rewritten ");

        env.desktop.messageAnswers.enqueue(QMessageBox::Cancel);
        click(&form, "update_btn");
        QCOMPARE(env.desktop.lastShown(), QString("Confirm Update|Update Inward No: 5/25-26?\n\nTotal Items: 1\nTotal Qty: 2.250"));
        QCOMPARE(env.desktop.lastMessage().buttons, QMessageBox::Ok | QMessageBox::Cancel);
        QCOMPARE(count("SELECT COUNT(*) FROM inward_entries WHERE fy_name = '25-26'"), 2);

        click(&form, "update_btn");
        QCOMPARE(env.desktop.lastShown(), QString("Success|Inward entry updated successfully!\nInward No: 5/25-26"));
        QCOMPARE(rows("SELECT inward_no, inward_no_full, customer_id, item_id, inward_qty, remarks, is_deleted "
                      "FROM inward_entries WHERE fy_name = '25-26'"),
                 QStringList({"5|5/25-26|1|2|2.25|rewritten|0"}));
        QCOMPARE(rows("SELECT inward_no_full, customer_id, item_id, inward_qty FROM inward_entries "
                      "WHERE fy_name = '26-27' ORDER BY inward_no"),
                 QStringList({"1/26-27|1|1|1", "5/26-27|2|4|6"}));
        QCOMPARE(number->text(), QString("6/26-27"));
        QVERIFY(child<QPushButton>(&form, "save_btn")->isEnabled());
        QVERIFY(!child<QPushButton>(&form, "update_btn")->isEnabled());
        QCOMPARE(lines->rowCount(), 0);

        // EditCancel leaves edit mode and writes nothing.
        rightClick(form, "5/26-27");
        QCOMPARE(number->text(), QString("5/26-27"));
        click(&form, "cancel_btn");
        QCOMPARE(number->text(), QString("6/26-27"));
        QCOMPARE(customer->currentIndex(), 0);
        QVERIFY(!child<QPushButton>(&form, "cancel_btn")->isEnabled());
        QMetaObject::invokeMethod(&form, "on_update_btn_clicked");
        QCOMPARE(env.desktop.lastMessage().text, QString("No inward entry selected for update!"));
    }

    void updateKeepsDeliveredQuantities()
    {
        TestEnvironment env;
        QVERIFY(openWithMasters(env));
        inward(1, "26-27", 1, 1, 10);
        inward(1, "26-27", 1, 2, 5);
        challan(2, "26-27", 1, 1, 4);
        challan(4, "26-27", 1, 1, 3);
        challan(3, "26-27", 1, 2, 5, 1);   // a deleted challan does not count
        challan(1, "25-26", 1, 2, 5);      // nor does another year's
        const QStringList before = rows("SELECT inward_id, item_id, inward_qty FROM inward_entries");

        inwardentry form;
        form.show();
        rightClick(form, "1/26-27");
        QTableWidget *lines = child<QTableWidget>(&form, "inward_main_table");
        QCOMPARE(lines->item(0, 1)->text(), QString("AB-100"));

        lines->item(0, 4)->setText("6.5");
        click(&form, "update_btn");
        QCOMPARE(env.desktop.lastMessage().title, QString("Cannot Update"));
        QVERIFY(env.desktop.lastMessage().text.contains("AB-100 - ABLE BRACKET: delivered 7.000"));
        QVERIFY(env.desktop.lastMessage().text.contains("2/26-27, 4/26-27"));
        QVERIFY(env.desktop.lastMessage().text.contains("new qty 6.500"));
        QVERIFY(!env.desktop.lastMessage().text.contains("CD-200"));
        QCOMPARE(rows("SELECT inward_id, item_id, inward_qty FROM inward_entries"), before);

        // Dropping the delivered line is refused too.
        lines->setCurrentCell(0, 1);
        QTest::keyClick(lines, Qt::Key_Delete);
        click(&form, "update_btn");
        QCOMPARE(env.desktop.lastMessage().title, QString("Cannot Update"));
        QVERIFY(env.desktop.lastMessage().text.contains("new qty 0.000"));
        QCOMPARE(rows("SELECT inward_id, item_id, inward_qty FROM inward_entries"), before);

        // At the delivered qty, with the undelivered line dropped, the update goes through.
        rightClick(form, "1/26-27");
        lines->item(0, 4)->setText("7");
        lines->setCurrentCell(1, 1);
        QTest::keyClick(lines, Qt::Key_Delete);
        click(&form, "update_btn");
        QCOMPARE(env.desktop.lastMessage().title, QString("Success"));
        QCOMPARE(rows("SELECT item_id, inward_qty FROM inward_entries"), QStringList({"1|7"}));

    }

    void failedRewriteRollsBack()
    {
        TestEnvironment env;
        QVERIFY(openWithMasters(env));
        inward(1, "26-27", 1, 1, 10);
        inward(1, "26-27", 1, 2, 5);
        exec("CREATE TRIGGER refuse_cover BEFORE INSERT ON inward_entries WHEN NEW.item_id = 2 "
             "BEGIN SELECT RAISE(ABORT, 'forced failure'); END");
        const QStringList before = rows("SELECT * FROM inward_entries");
        inwardentry form;
        form.show();
        rightClick(form, "1/26-27");
        click(&form, "update_btn");
        QVERIFY(env.desktop.lastShown().startsWith("Error|Insert failed: "));
        QVERIFY(env.desktop.lastMessage().text.contains("forced failure"));
        QCOMPARE(rows("SELECT * FROM inward_entries"), before);
        QVERIFY(child<QPushButton>(&form, "update_btn")->isEnabled()); // still loaded
    }

    void unreadableStoredDatesSurviveUpdate()
    {
        TestEnvironment env;
        QVERIFY(openWithMasters(env));
        inward(1, "26-27", 1, 1, 10, "2026-05-10", "18/04/2026");
        exec("UPDATE inward_entries SET po_date = NULL");
        inwardentry form;
        form.show();
        QDateEdit *dcDate = child<QDateEdit>(&form, "dcdateEdit");
        QDateEdit *poDate = child<QDateEdit>(&form, "podateEdit");

        rightClick(form, "1/26-27");
        QCOMPARE(dcDate->text(), QString("18/04/2026"));
        QCOMPARE(child<QDateEdit>(&form, "inwdateEdit")->date(), QDate(2026, 5, 10));
        click(&form, "update_btn");
        QCOMPARE(env.desktop.lastMessage().title, QString("Success"));
        QCOMPARE(rows("SELECT inward_date, dc_date, po_date FROM inward_entries"),
                 QStringList({"2026-05-10|18/04/2026|"}));
        QCOMPARE(dcDate->date(), QDate::currentDate()); // the new entry starts on today

        // A date picked by the user replaces the stored text.
        rightClick(form, "1/26-27");
        dcDate->setDate(QDate(2026, 4, 18));
        click(&form, "update_btn");
        QCOMPARE(rows("SELECT dc_date, po_date FROM inward_entries"), QStringList({"2026-04-18|"}));

        // Leaving edit mode forgets the stored text.
        rightClick(form, "1/26-27");
        QCOMPARE(poDate->text().trimmed(), QString());
        click(&form, "cancel_btn");
        QCOMPARE(poDate->date(), QDate::currentDate());
        QVERIFY(poDate->specialValueText().isEmpty());
    }

    void cancelRefusedWhileChallansUseIt()
    {
        TestEnvironment env;
        QVERIFY(openWithMasters(env));
        inward(1, "26-27", 1, 1, 10);
        inward(1, "26-27", 1, 2, 5);
        inward(2, "26-27", 1, 1, 8);
        challan(4, "26-27", 1, 1, 1);
        challan(2, "26-27", 1, 1, 1);
        challan(2, "26-27", 1, 2, 1); // the same challan twice: named once
        challan(3, "26-27", 1, 2, 1, 1);
        challan(6, "25-26", 2, 1, 1); // another year's inward 2

        inwardentry form;
        form.show();
        click(&form, "delete_btn");
        QCOMPARE(env.desktop.lastShown(), QString("Error|Load an entry first (right-click → Load Back)!"));

        rightClick(form, "1/26-27");
        click(&form, "delete_btn");
        QCOMPARE(env.desktop.lastShown(),
                 QString("Cannot Cancel|This inward entry is used in Delivery Challan(s):\n2/26-27, 4/26-27\n\n"
                         "Delete those delivery challans first before cancelling this inward."));
        QCOMPARE(count("SELECT COUNT(*) FROM inward_entries WHERE is_deleted = 1"), 0);

        // Another entry, only named by a challan of another year, can be cancelled.
        rightClick(form, "2/26-27");
        env.desktop.messageAnswers.enqueue(QMessageBox::No);
        click(&form, "delete_btn");
        QCOMPARE(env.desktop.lastShown(),
                 QString("Confirm Cancel|Cancel Inward No 2/26-27?\nEntry will be kept but marked as cancelled."));
        QCOMPARE(env.desktop.lastMessage().buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(count("SELECT COUNT(*) FROM inward_entries WHERE is_deleted = 1"), 0);
        click(&form, "delete_btn");
        QCOMPARE(env.desktop.lastShown(), QString("Cancelled|Inward entry cancelled!"));
        QCOMPARE(rows("SELECT inward_no, is_deleted FROM inward_entries ORDER BY inward_id"),
                 QStringList({"1|0", "1|0", "2|1"}));
        QCOMPARE(child<QLineEdit>(&form, "inwnoEdit")->text(), QString("3/26-27"));
        QVERIFY(child<QPushButton>(&form, "save_btn")->isEnabled());

        // Once its challans are gone, the first entry can be cancelled in the same window.
        exec("DELETE FROM delivery_entries WHERE fy_name = '26-27'");
        rightClick(form, "1/26-27");
        click(&form, "delete_btn");
        QCOMPARE(env.desktop.lastMessage().title, QString("Cancelled"));
        QCOMPARE(count("SELECT COUNT(*) FROM inward_entries WHERE is_deleted = 1"), 3);
        QTableWidget *list = child<QTableWidget>(&form, "inward_list_table");
        QCOMPARE(list->item(0, 1)->foreground().color(), QColor(150, 150, 150));
    }
};

QTEST_MAIN(TestInwardEntry)
#include "tst_inwardentry.moc"
