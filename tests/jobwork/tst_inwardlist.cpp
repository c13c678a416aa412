// Inward list: order and filters, load-back, update and cancel.

#include "support/recordingdesktop.h"

#include "app/financialyear.h"
#include "app/formconventions.h"
#include "jobwork/inwardentry.h"
#include "jobwork/inwardstore.h"
#include "tst_inwardsupport.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTableWidget>
#include <QTest>

using namespace inwardtest;

namespace {

QStringList g_menuEntries;
bool g_menuAnswer = true;

bool recordingChooser(QWidget *, const QPoint &, const QString &entryText)
{
    g_menuEntries << entryText;
    return g_menuAnswer;
}

// Writes one inward line as the form does.
void inward(int no, const QString &fy, int customer, int item, double qty, const QString &date = "2026-05-10",
            const QString &dcDate = "2026-05-09", int deleted = 0)
{
    QSqlQuery q;
    q.prepare("INSERT INTO inward_entries (inward_no, inward_no_full, inward_date, customer_id, item_id, dc_no, "
              "dc_date, po_no, po_date, inward_qty, remarks, fy_name, is_deleted) VALUES (?, ?, ?, ?, ?, ?, ?, ?, "
              "?, ?, ?, ?, ?)");
    for (const QVariant &v : QVariantList{no, fullDocumentNumber(no, fy), date, customer, item,
                                          QString("DC-%1").arg(no), dcDate, "PO-1", "2026-04-01", qty,
                                          QString("entry %1").arg(no), fy, deleted})
        q.addBindValue(v);
    if (!q.exec())
        qFatal("insert failed");
}

void challan(int no, const QString &fy, int inwardNo, int item, double qty, int deleted = 0)
{
    exec(QString("INSERT INTO delivery_entries (delivery_no, delivery_no_full, delivery_date, inward_no, "
                 "customer_id, item_id, delivery_qty, fy_name, is_deleted) VALUES (%1, '%1/%2', '2026-06-01', %3, "
                 "1, %4, %5, '%2', %6)")
             .arg(no)
             .arg(fy)
             .arg(inwardNo)
             .arg(item)
             .arg(qty)
             .arg(deleted));
}

QStringList column(QTableWidget *table, int col)
{
    QStringList texts;
    for (int r = 0; r < table->rowCount(); ++r)
        texts << table->item(r, col)->text();
    return texts;
}

// Right-clicks the list row showing `fullNumber`.
void rightClick(inwardentry &form, const QString &fullNumber)
{
    QTableWidget *list = child<QTableWidget>(form, "inward_list_table");
    const int row = int(column(list, 1).indexOf(fullNumber));
    QVERIFY(row >= 0);
    form.onInwardListContextMenu(list->visualItemRect(list->item(row, 1)).center());
}

} // namespace

class TestInwardList : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        g_currentFY = "26-27";
        g_menuEntries.clear();
        g_menuAnswer = true;
        g_loadBackChooser = recordingChooser;
    }

    void listsCurrentYearFirstAndGreysCancelled()
    {
        TestEnvironment env;
        QVERIFY(env.openDatabase());
        seedMasters();
        inward(2, "25-26", 1, 1, 1, "2025-06-01", "2025-05-30");
        inward(3, "26-27", 2, 4, 4, "2026-05-20", "20/05/2026");
        inward(5, "25-26", 1, 1, 2, "2025-09-01");
        inward(5, "25-26", 1, 2, 2, "2025-09-01"); // a second line: still one row
        inward(1, "26-27", 1, 1, 3, "2026-04-15", "2026-04-14", 1);
        inward(7, "24-25", 1, 1, 3, "2024-07-01");
        exec("INSERT INTO inward_entries (inward_no, inward_no_full, customer_id, fy_name, is_deleted) "
             "VALUES (9, '9/26-27', 99, '26-27', 0)"); // its customer is gone

        inwardentry form;
        QTableWidget *list = child<QTableWidget>(form, "inward_list_table");
        QCOMPARE(list->rowCount(), 0); // filled when shown
        form.show();
        QCOMPARE(column(list, 1), QStringList({"3/26-27", "1/26-27", "5/25-26", "2/25-26", "7/24-25"}));
        QCOMPARE(column(list, 0), QStringList({"3", "1", "5", "2", "7"}));
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
        QDateEdit *from = child<QDateEdit>(form, "fromdateEdit_2");
        QDateEdit *to = child<QDateEdit>(form, "todateEdit_2");
        QCOMPARE(from->date(), defaultPeriodStart());
        QCOMPARE(to->date(), QDate::currentDate());

        // Show filters the inward date (both ends included) and the customer.
        from->setDate(QDate(2025, 6, 1));
        to->setDate(QDate(2025, 9, 1));
        child<QPushButton>(form, "show_btn")->click();
        QCOMPARE(column(list, 1), QStringList({"5/25-26", "2/25-26"}));
        QComboBox *customer = child<QComboBox>(form, "company_combo_2");
        customer->setCurrentIndex(customer->findData(2));
        from->setDate(QDate(2020, 1, 1));
        to->setDate(QDate(2030, 1, 1));
        child<QPushButton>(form, "show_btn")->click();
        QCOMPARE(column(list, 1), QStringList({"3/26-27"}));

        child<QPushButton>(form, "reset_btn")->click();
        QCOMPARE(customer->currentIndex(), 0);
        QCOMPARE(from->date(), defaultPeriodStart());
        QCOMPARE(to->date(), QDate::currentDate());
        QCOMPARE(list->rowCount(), 5);

        // Another login year comes first.
        g_currentFY = "25-26";
        form.loadInwardList(-1, QString(), QString());
        QCOMPARE(column(list, 1), QStringList({"5/25-26", "2/25-26", "3/26-27", "1/26-27", "7/24-25"}));
    }

    void loadBackAndUpdateAnotherYear()
    {
        TestEnvironment env;
        QVERIFY(env.openDatabase());
        seedMasters();
        inward(5, "25-26", 1, 1, 10, "2025-09-01", "2025-08-30");
        inward(5, "25-26", 1, 2, 4, "2025-09-01", "2025-08-30");
        inward(5, "26-27", 2, 4, 6);
        inward(1, "26-27", 1, 1, 1, "2026-04-15", "2026-04-14", 1);

        inwardentry form;
        form.show();
        QLineEdit *number = child<QLineEdit>(form, "inwnoEdit");
        QCOMPARE(number->text(), QString("6/26-27"));

        // A cancelled row offers no menu.
        rightClick(form, "1/26-27");
        QCOMPARE(env.desktop.lastMessage().title, QString("Deleted"));
        QCOMPARE(env.desktop.lastMessage().text, QString("This entry has been deleted."));
        QVERIFY(g_menuEntries.isEmpty());

        // Dismissing the menu loads nothing.
        g_menuAnswer = false;
        rightClick(form, "5/25-26");
        QCOMPARE(g_menuEntries, QStringList({"↩ Load Back for View & Edit"}));
        QCOMPARE(number->text(), QString("6/26-27"));
        QVERIFY(child<QPushButton>(form, "save_btn")->isEnabled());

        g_menuAnswer = true;
        rightClick(form, "5/25-26");
        QCOMPARE(number->text(), QString("5/25-26"));
        QCOMPARE(child<QDateEdit>(form, "inwdateEdit")->date(), QDate(2025, 9, 1));
        QCOMPARE(child<QDateEdit>(form, "dcdateEdit")->date(), QDate(2025, 8, 30));
        QCOMPARE(child<QLineEdit>(form, "dcnoEdit")->text(), QString("DC-5"));
        QCOMPARE(child<QComboBox>(form, "company_combo")->currentData().toInt(), 1);
        QTableWidget *lines = child<QTableWidget>(form, "inward_main_table");
        QCOMPARE(column(lines, 1), QStringList({"AB-100", "CD-200"}));
        QCOMPARE(column(lines, 4), QStringList({"10.000", "4.000"}));
        QCOMPARE(child<QLineEdit>(form, "totalqtyEdit")->text(), QString("14.000"));
        QVERIFY(!child<QPushButton>(form, "save_btn")->isEnabled());
        QVERIFY(child<QPushButton>(form, "update_btn")->isEnabled());
        QVERIFY(child<QPushButton>(form, "cancel_btn")->isEnabled());

        // Showing the form again or choosing another customer keeps the loaded number.
        form.hide();
        form.show();
        QCOMPARE(number->text(), QString("5/25-26"));
        QComboBox *customer = child<QComboBox>(form, "company_combo");
        customer->setCurrentIndex(customer->findData(2));
        QCOMPARE(number->text(), QString("5/25-26"));
        QCOMPARE(lines->rowCount(), 0);
        customer->setCurrentIndex(customer->findData(1));
        child<QLineEdit>(form, "search_combo")->setText("cover");
        QTest::keyClick(child<QLineEdit>(form, "search_combo"), Qt::Key_Down);
        QTest::keyClick(child<QLineEdit>(form, "search_combo"), Qt::Key_Return);
        child<QLineEdit>(form, "qtyEdit")->setText("2.25");
        child<QPushButton>(form, "add_btn")->click();
        child<QLineEdit>(form, "remarksEdit")->setText("  rewritten ");

        env.desktop.messageAnswers.enqueue(QMessageBox::Cancel);
        child<QPushButton>(form, "update_btn")->click();
        QCOMPARE(env.desktop.lastMessage().title, QString("Confirm Update"));
        QCOMPARE(env.desktop.lastMessage().text, QString("Update Inward No: 5/25-26?\n\nTotal Items: 1\nTotal Qty: 2.250"));
        QCOMPARE(env.desktop.lastMessage().buttons, QMessageBox::Ok | QMessageBox::Cancel);
        QCOMPARE(rows("SELECT COUNT(*) FROM inward_entries WHERE fy_name = '25-26'"), QStringList({"2"}));

        child<QPushButton>(form, "update_btn")->click();
        QCOMPARE(env.desktop.lastMessage().title, QString("Success"));
        QCOMPARE(env.desktop.lastMessage().text, QString("Inward entry updated successfully!\nInward No: 5/25-26"));
        QCOMPARE(rows("SELECT inward_no, inward_no_full, customer_id, item_id, inward_qty, remarks, is_deleted "
                      "FROM inward_entries WHERE fy_name = '25-26'"),
                 QStringList({"5|5/25-26|1|2|2.25|rewritten|0"}));
        QCOMPARE(rows("SELECT inward_no_full, customer_id, item_id, inward_qty FROM inward_entries "
                      "WHERE fy_name = '26-27' ORDER BY inward_no"),
                 QStringList({"1/26-27|1|1|1", "5/26-27|2|4|6"}));
        QCOMPARE(number->text(), QString("6/26-27"));
        QVERIFY(child<QPushButton>(form, "save_btn")->isEnabled());
        QVERIFY(!child<QPushButton>(form, "update_btn")->isEnabled());
        QCOMPARE(lines->rowCount(), 0);

        // EditCancel leaves edit mode and writes nothing.
        rightClick(form, "5/26-27");
        QCOMPARE(number->text(), QString("5/26-27"));
        child<QPushButton>(form, "cancel_btn")->click();
        QCOMPARE(number->text(), QString("6/26-27"));
        QCOMPARE(customer->currentIndex(), 0);
        QVERIFY(!child<QPushButton>(form, "cancel_btn")->isEnabled());
        QMetaObject::invokeMethod(&form, "on_update_btn_clicked");
        QCOMPARE(env.desktop.lastMessage().text, QString("No inward entry selected for update!"));
    }

    void updateKeepsDeliveredQuantities()
    {
        TestEnvironment env;
        QVERIFY(env.openDatabase());
        seedMasters();
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
        QTableWidget *lines = child<QTableWidget>(form, "inward_main_table");
        QCOMPARE(lines->item(0, 1)->text(), QString("AB-100"));

        lines->item(0, 4)->setText("6.5");
        child<QPushButton>(form, "update_btn")->click();
        QCOMPARE(env.desktop.lastMessage().title, QString("Cannot Update"));
        QVERIFY(env.desktop.lastMessage().text.contains("AB-100 - ABLE BRACKET: delivered 7.000"));
        QVERIFY(env.desktop.lastMessage().text.contains("2/26-27, 4/26-27"));
        QVERIFY(env.desktop.lastMessage().text.contains("new qty 6.500"));
        QVERIFY(!env.desktop.lastMessage().text.contains("CD-200"));
        QCOMPARE(rows("SELECT inward_id, item_id, inward_qty FROM inward_entries"), before);

        // Dropping the delivered line is refused too.
        lines->setCurrentCell(0, 1);
        QTest::keyClick(lines, Qt::Key_Delete);
        child<QPushButton>(form, "update_btn")->click();
        QCOMPARE(env.desktop.lastMessage().title, QString("Cannot Update"));
        QVERIFY(env.desktop.lastMessage().text.contains("new qty 0.000"));
        QCOMPARE(rows("SELECT inward_id, item_id, inward_qty FROM inward_entries"), before);

        // At the delivered qty, with the undelivered line dropped, the update goes through.
        rightClick(form, "1/26-27");
        lines->item(0, 4)->setText("7");
        lines->setCurrentCell(1, 1);
        QTest::keyClick(lines, Qt::Key_Delete);
        child<QPushButton>(form, "update_btn")->click();
        QCOMPARE(env.desktop.lastMessage().title, QString("Success"));
        QCOMPARE(rows("SELECT item_id, inward_qty FROM inward_entries"), QStringList({"1|7"}));

        // The store refuses on its own as well.
        InwardHeader header = loadInward(1, "26-27").header;
        const InwardUpdateResult refused = updateInward(header, {{1, 2.0}});
        QCOMPARE(refused.status, InwardUpdateResult::DeliveredBeyond);
        QCOMPARE(refused.delivered.size(), 1);
        QCOMPARE(refused.delivered.at(0).delivered, 7.0);
        QCOMPARE(rows("SELECT item_id, inward_qty FROM inward_entries"), QStringList({"1|7"}));
    }

    void failedRewriteRollsBack()
    {
        TestEnvironment env;
        QVERIFY(env.openDatabase());
        seedMasters();
        inward(1, "26-27", 1, 1, 10);
        inward(1, "26-27", 1, 2, 5);
        exec("CREATE TRIGGER refuse_cover BEFORE INSERT ON inward_entries WHEN NEW.item_id = 2 "
             "BEGIN SELECT RAISE(ABORT, 'forced failure'); END");
        const QStringList before = rows("SELECT * FROM inward_entries");
        inwardentry form;
        form.show();
        rightClick(form, "1/26-27");
        child<QPushButton>(form, "update_btn")->click();
        QCOMPARE(env.desktop.lastMessage().title, QString("Error"));
        QVERIFY(env.desktop.lastMessage().text.startsWith("Insert failed: "));
        QVERIFY(env.desktop.lastMessage().text.contains("forced failure"));
        QCOMPARE(rows("SELECT * FROM inward_entries"), before);
        QVERIFY(child<QPushButton>(form, "update_btn")->isEnabled()); // still loaded
    }

    void unreadableStoredDatesSurviveUpdate()
    {
        TestEnvironment env;
        QVERIFY(env.openDatabase());
        seedMasters();
        inward(1, "26-27", 1, 1, 10, "2026-05-10", "18/04/2026");
        exec("UPDATE inward_entries SET po_date = NULL");
        inwardentry form;
        form.show();
        QDateEdit *dcDate = child<QDateEdit>(form, "dcdateEdit");
        QDateEdit *poDate = child<QDateEdit>(form, "podateEdit");

        rightClick(form, "1/26-27");
        QCOMPARE(dcDate->text(), QString("18/04/2026"));
        QCOMPARE(child<QDateEdit>(form, "inwdateEdit")->date(), QDate(2026, 5, 10));
        child<QPushButton>(form, "update_btn")->click();
        QCOMPARE(env.desktop.lastMessage().title, QString("Success"));
        QCOMPARE(rows("SELECT inward_date, dc_date, po_date FROM inward_entries"),
                 QStringList({"2026-05-10|18/04/2026|"}));
        QCOMPARE(dcDate->date(), QDate::currentDate()); // the new entry starts on today

        // A date picked by the user replaces the stored text.
        rightClick(form, "1/26-27");
        dcDate->setDate(QDate(2026, 4, 18));
        child<QPushButton>(form, "update_btn")->click();
        QCOMPARE(rows("SELECT dc_date, po_date FROM inward_entries"), QStringList({"2026-04-18|"}));

        // Leaving edit mode forgets the stored text.
        rightClick(form, "1/26-27");
        QCOMPARE(poDate->text().trimmed(), QString());
        child<QPushButton>(form, "cancel_btn")->click();
        QCOMPARE(poDate->date(), QDate::currentDate());
        QVERIFY(poDate->specialValueText().isEmpty());
    }

    void cancelRefusedWhileChallansUseIt()
    {
        TestEnvironment env;
        QVERIFY(env.openDatabase());
        seedMasters();
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
        child<QPushButton>(form, "delete_btn")->click();
        QCOMPARE(env.desktop.lastMessage().title, QString("Error"));
        QCOMPARE(env.desktop.lastMessage().text, QString("Load an entry first (right-click → Load Back)!"));

        rightClick(form, "1/26-27");
        child<QPushButton>(form, "delete_btn")->click();
        QCOMPARE(env.desktop.lastMessage().title, QString("Cannot Cancel"));
        QCOMPARE(env.desktop.lastMessage().text,
                 QString("This inward entry is used in Delivery Challan(s):\n2/26-27, 4/26-27\n\n"
                         "Delete those delivery challans first before cancelling this inward."));
        QCOMPARE(rows("SELECT COUNT(*) FROM inward_entries WHERE is_deleted = 1"), QStringList({"0"}));

        // Another entry, only named by a challan of another year, can be cancelled.
        rightClick(form, "2/26-27");
        env.desktop.messageAnswers.enqueue(QMessageBox::No);
        child<QPushButton>(form, "delete_btn")->click();
        QCOMPARE(env.desktop.lastMessage().title, QString("Confirm Cancel"));
        QCOMPARE(env.desktop.lastMessage().text,
                 QString("Cancel Inward No 2/26-27?\nEntry will be kept but marked as cancelled."));
        QCOMPARE(env.desktop.lastMessage().buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(rows("SELECT COUNT(*) FROM inward_entries WHERE is_deleted = 1"), QStringList({"0"}));
        child<QPushButton>(form, "delete_btn")->click();
        QCOMPARE(env.desktop.lastMessage().title, QString("Cancelled"));
        QCOMPARE(env.desktop.lastMessage().text, QString("Inward entry cancelled!"));
        QCOMPARE(rows("SELECT inward_no, is_deleted FROM inward_entries ORDER BY inward_id"),
                 QStringList({"1|0", "1|0", "2|1"}));
        QCOMPARE(child<QLineEdit>(form, "inwnoEdit")->text(), QString("3/26-27"));
        QVERIFY(child<QPushButton>(form, "save_btn")->isEnabled());

        // Once its challans are gone, the first entry can be cancelled in the same window.
        exec("DELETE FROM delivery_entries WHERE fy_name = '26-27'");
        rightClick(form, "1/26-27");
        child<QPushButton>(form, "delete_btn")->click();
        QCOMPARE(env.desktop.lastMessage().title, QString("Cancelled"));
        QCOMPARE(rows("SELECT COUNT(*) FROM inward_entries WHERE is_deleted = 1"), QStringList({"3"}));
        QTableWidget *list = child<QTableWidget>(form, "inward_list_table");
        QCOMPARE(list->item(0, 1)->foreground().color(), QColor(150, 150, 150));
    }
};

QTEST_MAIN(TestInwardList)
#include "tst_inwardlist.moc"
