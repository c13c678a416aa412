// Inward entry: new entries, numbering, the item popup and the checks on input.

#include "support/recordingdesktop.h"

#include "app/financialyear.h"
#include "app/keptwindow.h"
#include "jobwork/inwardentry.h"
#include "jobwork/inwardstore.h"
#include "tst_inwardsupport.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableWidget>
#include <QTest>

using namespace inwardtest;

namespace {

void chooseCustomer(inwardentry &form, int customerId)
{
    QComboBox *combo = child<QComboBox>(form, "company_combo");
    combo->setCurrentIndex(combo->findData(customerId));
}

// Finds the item through the popup by keyboard and adds it with `qty`.
void addLine(inwardentry &form, const QString &search, const QString &qty)
{
    QLineEdit *box = child<QLineEdit>(form, "search_combo");
    box->setText(search);
    QTest::keyClick(box, Qt::Key_Down);
    QTest::keyClick(box, Qt::Key_Return);
    child<QLineEdit>(form, "qtyEdit")->setText(qty);
    child<QPushButton>(form, "add_btn")->click();
}

int count(const QString &sql)
{
    return rows(sql).value(0, "-1").toInt();
}

} // namespace

class TestInwardEntry : public QObject
{
    Q_OBJECT

private slots:
    void init() { g_currentFY = "26-27"; }

    void savesNumberedEntriesLineByLine()
    {
        TestEnvironment env;
        QVERIFY(env.openDatabase());
        seedMasters();
        inwardentry form;
        form.show();
        QCOMPARE(form.windowTitle(), QString("Inward Entry - Kestrova App"));
        QLineEdit *number = child<QLineEdit>(form, "inwnoEdit");
        QCOMPARE(number->text(), QString("1/26-27"));

        chooseCustomer(form, 1);
        child<QDateEdit>(form, "inwdateEdit")->setDate(QDate(2026, 5, 4));
        child<QDateEdit>(form, "dcdateEdit")->setDate(QDate(2026, 5, 2));
        child<QDateEdit>(form, "podateEdit")->setDate(QDate(2026, 4, 20));
        child<QLineEdit>(form, "dcnoEdit")->setText("  DC-77 ");
        child<QLineEdit>(form, "ponoEdit")->setText("PO-9");
        child<QLineEdit>(form, "remarksEdit")->setText(" urgent ");
        addLine(form, "cd", "2.5");
        addLine(form, "able", "10");
        QCOMPARE(child<QLineEdit>(form, "totalqtyEdit")->text(), QString("12.500"));
        QCOMPARE(child<QTableWidget>(form, "inward_main_table")->item(1, 4)->text(), QString("10.000"));
        child<QPushButton>(form, "save_btn")->click();

        QCOMPARE(env.desktop.lastMessage().title, QString("Success"));
        QCOMPARE(env.desktop.lastMessage().text, QString("Inward entry saved!\nInward No: 1/26-27"));
        QCOMPARE(number->text(), QString("2/26-27"));
        QCOMPARE(child<QComboBox>(form, "company_combo")->currentIndex(), 0);
        QCOMPARE(child<QTableWidget>(form, "inward_main_table")->rowCount(), 0);
        QCOMPARE(child<QTableWidget>(form, "inward_list_table")->rowCount(), 1);

        QSqlQuery q("SELECT inward_no, inward_no_full, inward_date, customer_id, item_id, dc_no, dc_date, po_no, "
                    "po_date, inward_qty, remarks, fy_name, is_deleted FROM inward_entries ORDER BY inward_id");
        const QList<QVariantList> expected{
            {1, "1/26-27", "2026-05-04", 1, 1, "DC-77", "2026-05-02", "PO-9", "2026-04-20", 10.0, "urgent", "26-27", 0},
            {1, "1/26-27", "2026-05-04", 1, 2, "DC-77", "2026-05-02", "PO-9", "2026-04-20", 2.5, "urgent", "26-27", 0}};
        for (const QVariantList &row : expected) {
            QVERIFY(q.next());
            for (int c = 0; c < row.size(); ++c)
                QCOMPARE(q.value(c).toString(), row.at(c).toString());
        }
        QVERIFY(!q.next());

        chooseCustomer(form, 2);
        addLine(form, "900", "1");
        child<QPushButton>(form, "save_btn")->click();
        QCOMPARE(env.desktop.lastMessage().text, QString("Inward entry saved!\nInward No: 2/26-27"));

        // A cancelled entry keeps its number: no gap is filled.
        QSqlQuery cancel;
        QVERIFY(cancel.exec("UPDATE inward_entries SET is_deleted = 1 WHERE inward_no = 2"));
        form.hide();
        form.show();
        QCOMPARE(number->text(), QString("3/26-27"));
        chooseCustomer(form, 1);
        addLine(form, "AB-1", "4");
        child<QPushButton>(form, "save_btn")->click();
        QCOMPARE(count("SELECT COUNT(*) FROM inward_entries WHERE inward_no_full = '3/26-27' AND is_deleted = 0"), 1);
    }

    void failedLineWritesNothing()
    {
        TestEnvironment env;
        QVERIFY(env.openDatabase());
        seedMasters();
        QSqlQuery q;
        QVERIFY(q.exec("CREATE TRIGGER refuse_cover BEFORE INSERT ON inward_entries WHEN NEW.item_id = 2 "
                       "BEGIN SELECT RAISE(ABORT, 'forced failure'); END"));
        inwardentry form;
        form.show();
        chooseCustomer(form, 1);
        addLine(form, "cover", "3");
        addLine(form, "able", "5"); // item 1 is written first, item 2 fails
        child<QPushButton>(form, "save_btn")->click();

        QCOMPARE(env.desktop.lastMessage().title, QString("Save Error"));
        QVERIFY(env.desktop.lastMessage().text.startsWith("Failed: "));
        QVERIFY(env.desktop.lastMessage().text.contains("forced failure"));
        QCOMPARE(count("SELECT COUNT(*) FROM inward_entries"), 0);
        QCOMPARE(child<QTableWidget>(form, "inward_main_table")->rowCount(), 2);
        QCOMPARE(child<QLineEdit>(form, "inwnoEdit")->text(), QString("1/26-27"));

        // Saving again once the fault is gone writes the entry exactly once.
        QVERIFY(q.exec("DROP TRIGGER refuse_cover"));
        child<QPushButton>(form, "save_btn")->click();
        QCOMPARE(env.desktop.lastMessage().title, QString("Success"));
        QCOMPARE(count("SELECT COUNT(*) FROM inward_entries WHERE inward_no = 1"), 2);
    }

    void refusesBadInputAndWritesNothing()
    {
        TestEnvironment env;
        QVERIFY(env.openDatabase());
        seedMasters();
        inwardentry form;
        form.show();
        QPushButton *save = child<QPushButton>(form, "save_btn");
        QPushButton *add = child<QPushButton>(form, "add_btn");
        QLineEdit *qty = child<QLineEdit>(form, "qtyEdit");
        QTableWidget *lines = child<QTableWidget>(form, "inward_main_table");

        save->click();
        QCOMPARE(env.desktop.lastMessage().title, QString("Error"));
        QCOMPARE(env.desktop.lastMessage().text, QString("Please select a company first!"));

        chooseCustomer(form, 1);
        save->click();
        QCOMPARE(env.desktop.lastMessage().text, QString("Please enter qty for at least one item!"));

        // A name typed by hand is no chosen item.
        child<QLineEdit>(form, "nameEdit")->setText("TYPED");
        qty->setText("1");
        add->click();
        QCOMPARE(env.desktop.lastMessage().text, QString("Please select an item first!"));

        for (const QString &bad : {QString("abc"), QString("0"), QString("-2")}) {
            addLine(form, "able", bad);
            QCOMPARE(env.desktop.lastMessage().title, QString("Error"));
            QCOMPARE(env.desktop.lastMessage().text, QString("Please enter a valid quantity!"));
        }
        qty->setText("7");
        add->click();
        QCOMPARE(lines->rowCount(), 1);
        addLine(form, "able", "1");
        QCOMPARE(env.desktop.lastMessage().title, QString("Duplicate"));
        QCOMPARE(env.desktop.lastMessage().text, QString("Item already added!\nEdit qty directly in the table."));
        QCOMPARE(lines->rowCount(), 1);

        // A line edited to 0 in the table is not saved; with only such lines the save is refused.
        lines->item(0, 4)->setText("0");
        QCOMPARE(child<QLineEdit>(form, "totalqtyEdit")->text(), QString("0.000"));
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
        child<QLineEdit>(form, "search_combo")->setText("cover");
        QTest::keyClick(child<QLineEdit>(form, "search_combo"), Qt::Key_Down);
        QTest::keyClick(child<QLineEdit>(form, "search_combo"), Qt::Key_Return);
        chooseCustomer(form, 2);
        QCOMPARE(lines->rowCount(), 0);
        QVERIFY(child<QLineEdit>(form, "nameEdit")->text().isEmpty());
        qty->setText("1");
        add->click();
        QCOMPARE(env.desktop.lastMessage().text, QString("Please select an item first!"));
        QCOMPARE(lines->rowCount(), 0);
    }

    void itemPopupSizesAndKeys()
    {
        TestEnvironment env;
        QVERIFY(env.openDatabase());
        seedMasters();
        QSqlQuery q;
        for (int i = 0; i < 9; ++i)
            QVERIFY(q.exec(QString("INSERT INTO items (customer_id, item_code, item_name, uom) VALUES "
                                   "(1, 'X%1', 'CAB PART %1', 'NOS')").arg(i)));
        inwardentry form;
        form.show();
        QLineEdit *box = child<QLineEdit>(form, "search_combo");
        QListWidget *popup = child<QListWidget>(form, "item_popup");

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

        box->setText("X");
        QCOMPARE(popup->count(), 9);
        QCOMPARE(popup->height(), 280);
        box->setText("l"); // ABLE BRACKET, COVER PLATE, SLAB RING
        QCOMPARE(popup->count(), 3);
        QCOMPARE(popup->height(), 105);
        box->setText("slab");
        QCOMPARE(popup->count(), 1);
        QCOMPARE(popup->height(), 35);
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
        QVERIFY(child<QLineEdit>(form, "nameEdit")->text().isEmpty());
        QTest::keyClick(box, Qt::Key_Down);
        QTest::keyClick(box, Qt::Key_Return);
        QVERIFY(!popup->isVisible());
        QVERIFY(box->text().isEmpty());
        QCOMPARE(child<QLineEdit>(form, "codeEdit")->text(), QString("CD-200"));
        QCOMPARE(child<QLineEdit>(form, "nameEdit")->text(), QString("COVER PLATE"));
        QCOMPARE(child<QLineEdit>(form, "uomEdit")->text(), QString("KGS"));
        QCOMPARE(box->property("selected_item_id").toInt(), 2);

        // A mouse click chooses too; an empty text hides the popup.
        box->setText("slab");
        QTest::mouseClick(popup->viewport(), Qt::LeftButton, {}, popup->visualItemRect(popup->item(0)).center());
        QCOMPARE(child<QLineEdit>(form, "nameEdit")->text(), QString("SLAB RING"));
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

    void opensAsAKeptParentlessWindow()
    {
        TestEnvironment env;
        QVERIFY(env.openDatabase());
        seedMasters();
        QPointer<inwardentry> kept;
        inwardentry *first = openKeptWindow(kept, KeptForm::Rebuilt);
        QVERIFY(first && first->isVisible() && !first->parent());
        chooseCustomer(*first, 1);
        QCOMPARE(openKeptWindow(kept, KeptForm::Rebuilt), first); // open: the same form, as left
        QCOMPARE(child<QComboBox>(*first, "company_combo")->currentData().toInt(), 1);
        first->close();
        inwardentry *second = openKeptWindow(kept, KeptForm::Rebuilt);
        QVERIFY(second && second->isVisible());
        QCOMPARE(child<QComboBox>(*second, "company_combo")->currentIndex(), 0);
    }

    void formLayoutAndTabOrder()
    {
        TestEnvironment env;
        QVERIFY(env.openDatabase());
        seedMasters();
        inwardentry form;
        QCOMPARE(form.size(), QSize(1500, 800));
        QVERIFY(child<QPushButton>(form, "save_btn")->isEnabled());
        QVERIFY(!child<QPushButton>(form, "update_btn")->isEnabled());
        QVERIFY(!child<QPushButton>(form, "cancel_btn")->isEnabled());
        QVERIFY(child<QPushButton>(form, "delete_btn")->isEnabled());

        const QStringList order{"company_combo", "inwnoEdit", "inwdateEdit", "dcnoEdit", "dcdateEdit", "ponoEdit",
                                "podateEdit", "remarksEdit", "search_combo", "inward_main_table", "save_btn",
                                "update_btn", "cancel_btn", "delete_btn", "close_btn", "totalqtyEdit",
                                "company_combo_2", "fromdateEdit_2", "todateEdit_2", "show_btn", "reset_btn",
                                "inward_list_table"};
        // The listed widgets follow each other in the focus chain in this order.
        QStringList seen;
        QWidget *first = child<QWidget>(form, "company_combo");
        QWidget *w = first;
        do {
            if (order.contains(w->objectName()) && !seen.contains(w->objectName()))
                seen << w->objectName();
            w = w->nextInFocusChain();
        } while (w && w != first);
        QCOMPARE(seen, order);

        // Closing only hides the form.
        form.show();
        child<QPushButton>(form, "close_btn")->click();
        QVERIFY(!form.isVisible());
    }

    void pureHelpers()
    {
        QCOMPARE(quantityText(12.5), QString("12.500"));
        QCOMPARE(storedDateText("2026-05-04"), QString("04-05-2026"));
        QCOMPARE(storedDateText("4/5/26"), QString("4/5/26"));
        QCOMPARE(storedDateText(""), QString(""));
        QCOMPARE(inwardNumberOf("17/26-27"), 17);
        QCOMPARE(inwardNumberOf("x/26-27"), 0);
        QCOMPARE(itemPopupHeight(0), 0);
        const QList<InwardLine> lines =
            inwardLinesToWrite({{"5", "1.5"}, {"2", "0"}, {"3", "abc"}, {"1", "2"}, {"5", "9"}});
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines.at(0).itemId, 1);
        QCOMPARE(lines.at(1).itemId, 5);
        QCOMPARE(lines.at(1).qty, 1.5);
    }
};

QTEST_MAIN(TestInwardEntry)
#include "tst_inwardentry.moc"
