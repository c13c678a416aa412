// The material request list: the lines of a period with their status, status
// changes of ticked lines, the printed list and the CSV export.

#include "support/files.h"
#include "support/formfonts.h"
#include "support/inventorytest.h"
#include "support/materialrequestdata.h"
#include "support/secondconnection.h"
#include "support/recordingdesktop.h"
#include "support/salesdata.h"
#include "support/tablelook.h"
#include "support/widgets.h"

#include "widgets/tickcolumn.h"

#include "inventory/inventory_polist.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QDateEdit>
#include <QRadioButton>
#include <QTableWidget>
#include <QtTest>

#include <memory>

using namespace stockdata;
using testdata::exec;
using testdata::rows;

namespace {

QString day(int offset)
{
    return QDate::currentDate().addDays(offset).toString("yyyy-MM-dd");
}

// What a refused status change adds to the reason.
const QString ShowAdvice = "\n\nPress Show to list the lines as they are now, then tick them again.";

QString shown(int offset)
{
    return QDate::currentDate().addDays(offset).toString("dd-MM-yyyy");
}

} // namespace

class TestMaterialRequestList : public InventoryTest
{
    Q_OBJECT

private slots:
    void listsThePeriodAndStoresStatusOfTickedLines()
    {
        const QString monthAgo = QDate::currentDate().addMonths(-1).toString("yyyy-MM-dd");
        addRequestLine({"MR/26-27/010", day(0), "SHAH, SONS", "Rod", "Hardware", 5, "kgs", "Open"});
        addRequestLine({"MR/26-27/010", day(0), "SHAH, SONS", "Bolt", "Hardware", 2.5, "nos", "Open"});
        addRequestLine({"MR/26-27/009", day(0), "ALPHA", "Glove \"XL\"", "Safety", 3, "pairs", "Pending"});
        addRequestLine({"MR/26-27/011", day(1), "ALPHA", "Tape", "Packing", 1, "roll", "Order Cancel"});
        addRequestLine({"MR/26-27/001", monthAgo, "ALPHA", "Oil", "Raw Material", 4, "ltr", "received"});
        addRequestLine({"MR/26-27/000", QDate::currentDate().addMonths(-1).addDays(-1).toString("yyyy-MM-dd"),
                        "ALPHA", "Old", "Raw Material", 4, "ltr", "Open"});
        addRequestLine({"MR/25-26/090", day(-70), "", "Loose pin", "Hardware", 1, "nos", "Open"});

        auto *list = new inventory_polist;
        auto *table = child<QTableWidget>(list, "ordered_list");
        // Tomorrow and exactly one month back are in; newest date first, then
        // by number.
        QCOMPARE(columnTexts(table, 1),
                 QStringList({"MR/26-27/011", "MR/26-27/009", "MR/26-27/010", "MR/26-27/010", "MR/26-27/001"}));
        QCOMPARE(rowTexts(table, 2), QStringList({"", "MR/26-27/010", shown(0), "SHAH, SONS", "Rod", "Hardware",
                                                  "5.00", "kgs", "Open"}));
        QCOMPARE(table->item(0, 8)->background().color(), QColor("#f8d7da"));
        QCOMPARE(table->item(1, 8)->background().color(), QColor("#fff3cd")); // Pending as Open
        QCOMPARE(table->item(4, 8)->background().style(), Qt::NoBrush);       // other letter case

        // The empty entry lists the lines stored without a supplier, not all.
        auto *supplier = child<QComboBox>(list, "company_combo");
        supplier->setCurrentIndex(supplier->findText(""));
        child<QDateEdit>(list, "fromdateEdit")->setDate(QDate::currentDate().addDays(-80));
        click(list, "show_btn");
        QCOMPARE(columnTexts(table, 4), QStringList({"Loose pin"}));
        // Reset brings back all suppliers and the default period.
        click(list, "reset_btn");
        QCOMPARE(table->rowCount(), 5);
        supplier->setCurrentText("SHAH, SONS");
        click(list, "show_btn");

        click(list, "save_status_btn");
        QCOMPARE(env->desktop.lastShown(), QString("Error|Please select at least one order!"));

        // Only the ticked line of the request changes.
        ticks(table)->setTicked(0, true);
        child<QRadioButton>(list, "radio_recevied_btn")->setChecked(true);
        click(list, "save_status_btn");
        QCOMPARE(env->desktop.lastShown(), QString("Success|1 order(s) updated to Received!"));
        QCOMPARE(rows("SELECT item_name, status FROM purchase_orders WHERE po_number = 'MR/26-27/010' ORDER BY po_id"),
                 QStringList({"Rod|Received", "Bolt|Open"}));
        // Reloaded with the same filter, the ticks gone.
        QCOMPARE(columnTexts(table, 8), QStringList({"Received", "Open"}));
        QVERIFY(ticks(table)->tickedRows().isEmpty());

        // A failing update changes nothing and says why.
        exec("CREATE TRIGGER refuse BEFORE UPDATE ON purchase_orders WHEN NEW.item_name = 'Bolt' "
             "BEGIN SELECT RAISE(ABORT, 'status refused'); END");
        ticks(table)->setTicked(0, true);
        ticks(table)->setTicked(1, true);
        child<QRadioButton>(list, "radio_ordcan_btn")->setChecked(true);
        click(list, "save_status_btn");
        QVERIFY2(env->desktop.lastShown().startsWith("Error|") && env->desktop.lastShown().contains("status refused"),
                 qPrintable(env->desktop.lastShown()));
        QCOMPARE(rows("SELECT status FROM purchase_orders WHERE po_number = 'MR/26-27/010' ORDER BY po_id"),
                 QStringList({"Received", "Open"}));

        // Lines that cannot be read: the old rows go, and the driver says why.
        exec("DROP TABLE purchase_orders");
        click(list, "show_btn");
        QVERIFY2(env->desktop.lastShown().startsWith("Error|") && env->desktop.lastShown().contains("no such table"),
                 qPrintable(env->desktop.lastShown()));
        QCOMPARE(table->rowCount(), 0);
    }

    // Another copy changes a ticked line meanwhile, any column, or deletes it
    // and adds one of the same number and item (not the line the list
    // showed): nothing of the batch is stored, the warning names the line.
    void statusOfALineChangedMeanwhileIsRefused_data()
    {
        QTest::addColumn<QString>("otherCopy");
        QTest::addColumn<QString>("refusal");
        QTest::addColumn<QString>("bolt");
        const QString changed = " (listed as Open) was changed or deleted meanwhile, perhaps in another window. "
                                "Nothing was updated.";
        QTest::newRow("status") << "UPDATE purchase_orders SET status = 'Order Cancel' WHERE item_name = 'Bolt'"
                                << changed << "Order Cancel|2";
        QTest::newRow("quantity") << "UPDATE purchase_orders SET order_qty = 7 WHERE item_name = 'Bolt'" << changed
                                  << "Open|7";
        QTest::newRow("deleted") << "DELETE FROM purchase_orders WHERE item_name = 'Bolt'; INSERT INTO purchase_orders "
                                    "(po_number, po_date, supplier_name, item_name, category, order_qty, uom, status) "
                                    "SELECT po_number, po_date, supplier_name, 'Bolt', category, 2, 'nos', 'Open' "
                                    "FROM purchase_orders LIMIT 1"
                                 << " no longer exists; it may have been deleted in another window. Nothing was saved."
                                 << "Open|2";
    }
    void statusOfALineChangedMeanwhileIsRefused()
    {
        QFETCH(QString, otherCopy);
        QFETCH(QString, refusal);
        QFETCH(QString, bolt);
        addRequestLine({"MR/26-27/010", day(0), "SHAH", "Rod", "Hardware", 5, "kgs", "Open"});
        addRequestLine({"MR/26-27/010", day(0), "SHAH", "Rod", "Hardware", 1, "kgs", "Open"}); // same item twice
        addRequestLine({"MR/26-27/010", day(0), "SHAH", "Bolt", "Hardware", 2, "nos", "Open"});
        auto *list = new inventory_polist;
        auto *table = child<QTableWidget>(list, "ordered_list");
        auto *received = child<QRadioButton>(list, "radio_recevied_btn");
        received->setChecked(true);
        for (int r = 0; r < 3; ++r)
            ticks(table)->setTicked(r, true);
        writeAsOtherCopy(otherCopy);
        click(list, "save_status_btn");
        QCOMPARE(env->desktop.lastShown(), "Error|PO Number MR/26-27/010, item 'Bolt'" + refusal + ShowAdvice);
        QCOMPARE(rows("SELECT status, order_qty FROM purchase_orders ORDER BY po_id"),
                 QStringList({"Open|5", "Open|1", bolt}));

        // Both rows of one number and item ticked: both stored.
        ticks(table)->setTicked(int(columnTexts(table, 4).indexOf("Bolt")), false);
        click(list, "save_status_btn");
        QCOMPARE(env->desktop.lastShown(), QString("Success|2 order(s) updated to Received!"));
        // One of them ticked: the other stays as it was.
        ticks(table)->setTicked(int(columnTexts(table, 6).indexOf("1.00")), true);
        child<QRadioButton>(list, "radio_partial_btn")->setChecked(true);
        click(list, "save_status_btn");
        QCOMPARE(env->desktop.lastShown(), QString("Success|1 order(s) updated to Partial Received!"));
        QCOMPARE(rows("SELECT status, order_qty FROM purchase_orders ORDER BY po_id"),
                 QStringList({"Received|5", "Partial Received|1", bolt}));
    }

    // Show again keeps the items of the rows that stay: the list must look
    // as a list filled afresh, with statuses changed in between (a colour
    // gone with an unknown status), the ticks gone and the view at its top.
    void aRefilledListShowsWhatAFreshOneShows()
    {
        const QStringList statuses{"Open", "Received", "Partial Received", "Order Cancel", "Pending", "closed"};
        for (int i = 0; i < 60; ++i)
            addRequestLine({QString("MR/26-27/%1").arg(i / 3, 3, 10, QChar('0')), day(-(i % 20)),
                            i % 2 ? "ALPHA" : "SHAH, SONS", QString("Item %1").arg(i), "Hardware", i * 1.25, "nos",
                            statuses.at(i % statuses.size())});
        auto *list = new inventory_polist;
        list->resize(1500, 800);
        list->show();
        auto *table = child<QTableWidget>(list, "ordered_list");
        QCOMPARE(table->rowCount(), 60);
        ticks(table)->setTicked(0, true);
        ticks(table)->setTicked(2, true);
        table->selectRow(3);
        table->scrollToBottom();
        QVERIFY(ticks(table)->checkBox(table->rowCount() - 1));

        exec("UPDATE purchase_orders SET status = CASE status WHEN 'Open' THEN 'odd' WHEN 'closed' THEN 'Received' "
             "ELSE status END");
        exec("UPDATE purchase_orders SET item_name = 'Renamed rod', order_qty = 7 WHERE item_name = 'Item 7'");
        // The rows stay: their items are kept.
        const QTableWidgetItem *kept = table->item(5, 1);
        click(list, "show_btn");
        QCOMPARE(table->item(5, 1), kept);
        QApplication::processEvents();

        auto *fresh = new inventory_polist;
        fresh->resize(1500, 800);
        fresh->show();
        QApplication::processEvents();
        auto *freshTable = child<QTableWidget>(fresh, "ordered_list");
        QCOMPARE(tableLook(table), tableLook(freshTable));
        for (int c = 0; c < table->columnCount(); ++c)
            QCOMPARE(table->columnWidth(c), freshTable->columnWidth(c));
        QVERIFY(ticks(table)->tickedRows().isEmpty());
        QVERIFY(ticks(table)->checkBox(0) && !ticks(table)->checkBox(0)->isChecked());
        QVERIFY(columnTexts(table, 4).contains("Renamed rod"));

        // Fewer rows after more: the rows beyond go.
        child<QDateEdit>(list, "fromdateEdit")->setDate(QDate::currentDate().addDays(-2));
        child<QDateEdit>(fresh, "fromdateEdit")->setDate(QDate::currentDate().addDays(-2));
        click(list, "show_btn");
        click(fresh, "show_btn");
        QApplication::processEvents();
        QCOMPARE(table->rowCount(), 9);
        QCOMPARE(tableLook(table), tableLook(freshTable));
        delete fresh;
        delete list;
    }

    void printsTickedLinesAndExportsAll()
    {
        setCompany("Morvel Coats");
        // Quantities from their decimals, half away from zero: 1.005 is 1.01.
        addRequestLine({"MR/26-27/010", day(0), "SHAH, SONS", "Rod & <bar>", "Hardware", 1.005, "kgs", "Received"});
        addRequestLine({"MR/26-27/009", day(0), "ALPHA", "Glove \"XL\"", "Safety", 2.675, "pairs", "Open"});

        auto *list = new inventory_polist;
        auto *table = child<QTableWidget>(list, "ordered_list");
        ticks(table)->setTicked(1, true);
        click(list, "print_btn");
        const QString text = pdfText(env->desktop.previews.at(0).pdfPath).simplified();
        QVERIFY2(text.contains("PURCHASE ORDER LIST") && text.contains("Rod & <bar>") && text.contains("1.01"),
                 qPrintable(text));
        QVERIFY2(!text.contains("Glove"), qPrintable(text));

        const QString path = env->folder() + "/list.csv";
        env->desktop.saveFileAnswers.enqueue(path);
        click(list, "print_statement");
        QCOMPARE(env->desktop.fileDialogDirs.last(),
                 "PO_List_" + QDate::currentDate().toString("ddMMyyyy") + ".csv");
        QCOMPARE(QString::fromUtf8(fileBytes(path)),
                 "PO Number,PO Date,Supplier Name,Item Name,Category,Order Qty,UOM,Status\n"
                 "MR/26-27/009," + shown(0) + ",ALPHA,\"Glove \"\"XL\"\"\",Safety,2.68,pairs,Open\n"
                 "MR/26-27/010," + shown(0) + ",\"SHAH, SONS\",Rod & <bar>,Hardware,1.01,kgs,Received\n");

        // An empty list prints and exports nothing.
        child<QDateEdit>(list, "fromdateEdit")->setDate(QDate::currentDate().addDays(5));
        click(list, "show_btn");
        click(list, "print_btn");
        QCOMPARE(env->desktop.lastShown(), QString("Print|No data to print!"));
        click(list, "print_statement");
        QCOMPARE(env->desktop.lastShown(), QString("Export|No data to export!"));
    }

    // Under the application's style sheet the list, its headings and the
    // bottom bar keep the form's type; the filter band has none of its own.
    void formShowsItsFont()
    {
        ApplicationStyleInTest style;
        addRequestLine({"MR/26-27/001", day(0)});
        auto *list = new inventory_polist;
        list->show();
        QCOMPARE(child<QTableWidget>(list, "ordered_list")->rowCount(), 1);
        const QStringList wrong = widgetsNotShowing(list, "Times New Roman", {"groupBox_6"});
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(", ")));
    }
};

QTEST_MAIN(TestMaterialRequestList)
#include "tst_materialrequestlist.moc"
