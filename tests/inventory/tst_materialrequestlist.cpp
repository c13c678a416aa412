// The material request list: the lines of a period with their status, status
// changes of ticked lines, the printed list and the CSV export.

#include "support/files.h"
#include "support/formfonts.h"
#include "support/materialrequestdata.h"
#include "support/recordingdesktop.h"
#include "support/salesdata.h"
#include "support/widgets.h"

#include "app/tickcolumn.h"

#include "inventory/inventory_polist.h"

#include <QComboBox>
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

QString shown(int offset)
{
    return QDate::currentDate().addDays(offset).toString("dd-MM-yyyy");
}

} // namespace

class TestMaterialRequestList : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;

private slots:
    void initTestCase() { initTestProgram(); }
    void init()
    {
        env = std::make_unique<TestEnvironment>();
        QVERIFY(openInventoryDatabase(*env));
    }
    void cleanup() { env.reset(); }

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

    void printsTickedLinesAndExportsAll()
    {
        setCompany("Morvel Coats");
        addRequestLine({"MR/26-27/010", day(0), "SHAH, SONS", "Rod & <bar>", "Hardware", 5, "kgs", "Received"});
        addRequestLine({"MR/26-27/009", day(0), "ALPHA", "Glove \"XL\"", "Safety", 3, "pairs", "Open"});

        auto *list = new inventory_polist;
        auto *table = child<QTableWidget>(list, "ordered_list");
        ticks(table)->setTicked(1, true);
        click(list, "print_btn");
        const QString text = pdfText(env->desktop.previews.at(0).pdfPath).simplified();
        QVERIFY2(text.contains("PURCHASE ORDER LIST") && text.contains("Rod & <bar>"), qPrintable(text));
        QVERIFY2(!text.contains("Glove"), qPrintable(text));

        const QString path = env->folder() + "/list.csv";
        env->desktop.saveFileAnswers.enqueue(path);
        click(list, "print_statement");
        QCOMPARE(env->desktop.fileDialogDirs.last(),
                 "PO_List_" + QDate::currentDate().toString("ddMMyyyy") + ".csv");
        QCOMPARE(QString::fromUtf8(fileBytes(path)),
                 "PO Number,PO Date,Supplier Name,Item Name,Category,Order Qty,UOM,Status\n"
                 "MR/26-27/009," + shown(0) + ",ALPHA,\"Glove \"\"XL\"\"\",Safety,3.00,pairs,Open\n"
                 "MR/26-27/010," + shown(0) + ",\"SHAH, SONS\",Rod & <bar>,Hardware,5.00,kgs,Received\n");

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
