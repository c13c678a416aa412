// The monthly stock report: the grid of a month's movements per item, its
// filters and its CSV export.

#include "support/files.h"
#include "support/formfonts.h"
#include "support/inventorytest.h"
#include "support/materialrequestdata.h"
#include "support/recordingdesktop.h"
#include "support/salesdata.h"
#include "support/tablefonts.h"
#include "support/widgets.h"

#include "inventory/inventory_stockreport.h"
#include "inventory/stockreportstore.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableWidget>
#include <QtTest>

#include <memory>

using namespace stockdata;

namespace {

// Chooses the month and year and presses Show; returns the grid.
QTableWidget *show(QWidget *form, int month, int year, const char *radio = "radio_all")
{
    child<QComboBox>(form, "month_combo")->setCurrentIndex(month - 1);
    child<QComboBox>(form, "year_combo")->setCurrentText(QString::number(year));
    child<QRadioButton>(form, radio)->setChecked(true);
    click(form, "show_btn");
    return child<QTableWidget>(form, "inventory_stockreport_2");
}

// Movements of March 2026: Bolt (Hardware, O'BRIEN, LTD) and Rod (Raw Material).
void addMarch()
{
    const int bolt = addStockItem({"Hardware", "O'BRIEN, LTD", "Hex BOLT M8", 0, "nos"});
    const int rod = addStockItem({"Raw Material", "SHAH TRADERS", "Rod", 0, "kgs"});
    addMovement({bolt, "2026-03-01", "Opening Stock", 0, "Hex BOLT M8", "Hardware", "O'BRIEN, LTD"});
    addMovement({bolt, "2026-03-05", "Addition", 10, "Hex BOLT M8", "Hardware", "O'BRIEN, LTD"});
    addMovement({bolt, "2026-03-05", "Reduction", 4, "Hex BOLT M8", "Hardware", "O'BRIEN, LTD"});
    addMovement({rod, "2026-03-02", "Addition", 2.5, "Rod", "Raw Material", "SHAH TRADERS"});
    addMovement({rod, "2026-03-02", "Addition", 3.5, "Rod", "Raw Material", "SHAH TRADERS"});
    addMovement({rod, "2026-03-31", "Reduction", 1, "Rod", "Raw Material", "SHAH TRADERS"});
    addMovement({rod, "2026-04-01", "Reduction", 1, "Rod", "Raw Material", "SHAH TRADERS"});
    addMovement({rod, "2025-03-03", "Addition", 7, "Rod", "Raw Material", "SHAH TRADERS"});
}

} // namespace

class TestStockReport : public InventoryTest
{
    Q_OBJECT

private slots:
    void gridOfTheMonth()
    {
        addMarch();
        auto *form = new inventory_stockreport;
        QTableWidget *grid = show(form, 3, 2026);
        // By category, then item; gross movement as the line total.
        QCOMPARE(rowTexts(grid, 0).mid(0, 5), QStringList({"1", "Hardware", "O'BRIEN, LTD", "Hex BOLT M8", "14"}));
        QCOMPARE(rowTexts(grid, 1).mid(0, 5), QStringList({"2", "Raw Material", "SHAH TRADERS", "Rod", "7"}));

        // A day of both kinds: two lines on yellow, the exact figures in the tooltip.
        QTableWidgetItem *both = grid->item(0, 4 + 5);
        QCOMPARE(both->text(), QString("10\n4"));
        QCOMPARE(both->background().color(), QColor("#fff3cd"));
        QCOMPARE(both->toolTip(), QString("Addition: 10.00\nReduction: 4.00"));
        // The opening 0 is a green addition; one day's additions sum to one cell.
        QCOMPARE(grid->item(0, 4 + 1)->text(), QString("0"));
        QCOMPARE(grid->item(0, 4 + 1)->foreground().color(), QColor("#27ae60"));
        QCOMPARE(grid->item(1, 4 + 2)->text(), QString("6"));
        QCOMPARE(grid->item(1, 4 + 31)->foreground().color(), QColor("#e74c3c"));
        QVERIFY(!grid->item(1, 4 + 3));

        // Additions only, reductions only.
        grid = show(form, 3, 2026, "radio_add");
        QCOMPARE(tableCell(grid, 0, 4), QString("10"));
        QCOMPARE(tableCell(grid, 0, 4 + 5), QString("10"));
        grid = show(form, 3, 2026, "radio_red");
        QCOMPARE(columnTexts(grid, 4), QStringList({"4", "1"}));
        QCOMPARE(grid->item(0, 4 + 5)->foreground().color(), QColor("#e74c3c"));
        QVERIFY(!grid->item(1, 4 + 2));

        // The tooltip's figures from their decimals, half away from zero:
        // 1.005 is 1.01 and 2.675 is 2.68; the line total 3.68 more is 17.68.
        const int bolt = testdata::rows("SELECT item_id FROM inventory_items WHERE item_name = 'Hex BOLT M8'")
                             .value(0)
                             .toInt();
        addMovement({bolt, "2026-03-07", "Addition", 1.005, "Hex BOLT M8", "Hardware", "O'BRIEN, LTD"});
        addMovement({bolt, "2026-03-07", "Reduction", 2.675, "Hex BOLT M8", "Hardware", "O'BRIEN, LTD"});
        grid = show(form, 3, 2026);
        QCOMPARE(grid->item(0, 4 + 7)->toolTip(), QString("Addition: 1.01\nReduction: 2.68"));
        QCOMPARE(grid->item(0, 4 + 7)->text(), QString("1\n3"));
        QCOMPARE(tableCell(grid, 0, 4), QString("18"));

        // A leap February has 29 days (2028 is offered by a form built from 2027 on).
        env->desktop.clear();
        child<QComboBox>(form, "year_combo")->addItem("2028", 2028);
        grid = show(form, 2, 2028);
        QCOMPARE(grid->columnCount(), 34);
        QCOMPARE(grid->rowCount(), 0);
        QCOMPARE(env->desktop.lastShown(), QString("No Data|No transactions found for selected filters."));
    }

    // Line totals summed exactly, rounded once: 0.6 + 0.7 + 0.2 is 1.5 (in double 1.4999999999999998);
    // 999,999,999.257 + 999,999,999.620 + 0.623 is 1,999,999,999.5 (in double 1,999,999,999.4999998).
    void lineTotalsAreSummedExactly()
    {
        const int nut = addStockItem({"Safety", "S", "Nut", 0, "nos"});
        const int pipe = addStockItem({"Safety", "S", "Pipe", 0, "nos"});
        addMovement({nut, "2026-03-01", "Addition", 0.6, "Nut", "Safety", "S"});
        addMovement({nut, "2026-03-02", "Addition", 0.7, "Nut", "Safety", "S"});
        addMovement({nut, "2026-03-03", "Reduction", 0.2, "Nut", "Safety", "S"});
        addMovement({pipe, "2026-03-01", "Addition", 999999999.257, "Pipe", "Safety", "S"});
        addMovement({pipe, "2026-03-02", "Addition", 999999999.620, "Pipe", "Safety", "S"});
        addMovement({pipe, "2026-03-03", "Addition", 0.623, "Pipe", "Safety", "S"});
        auto *form = new inventory_stockreport;
        QCOMPARE(columnTexts(show(form, 3, 2026), 4), QStringList({"2", "2000000000"}));
    }

    void filtersAreBoundValues()
    {
        addMarch();
        const int pin = addStockItem({"Hardware", "", "Loose pin", 0, "nos"});
        addMovement({pin, "2026-03-03", "Addition", 1, "Loose pin", "Hardware", ""});
        auto *form = new inventory_stockreport;
        auto *supplier = child<QComboBox>(form, "sup_search_combo");
        auto *search = child<QLineEdit>(form, "search_itemEdit");

        supplier->setCurrentText("O'BRIEN, LTD");
        QCOMPARE(columnTexts(show(form, 3, 2026), 3), QStringList({"Hex BOLT M8"}));
        // The empty entry: the items stored without a supplier, not all.
        supplier->setCurrentIndex(supplier->findText(""));
        QCOMPARE(columnTexts(show(form, 3, 2026), 3), QStringList({"Loose pin"}));
        supplier->setCurrentIndex(0);
        search->setText("  bolt ");
        QCOMPARE(columnTexts(show(form, 3, 2026), 3), QStringList({"Hex BOLT M8"}));
        search->setText("r_d");
        QCOMPARE(columnTexts(show(form, 3, 2026), 3), QStringList({"Rod"}));
        search->setText("' OR 1=1 --");
        QCOMPARE(show(form, 3, 2026)->rowCount(), 0);
        search->clear();
        child<QComboBox>(form, "search_category_combo")->setCurrentText("Raw Material");
        QCOMPARE(columnTexts(show(form, 3, 2026), 3), QStringList({"Rod"}));
    }

    void exportNamesTheShownMonth()
    {
        addMarch();
        auto *form = new inventory_stockreport;
        show(form, 3, 2026);
        // Another month chosen without Show: the file still is March's.
        child<QComboBox>(form, "month_combo")->setCurrentIndex(1);
        const QString path = env->folder() + "/report.csv";
        env->desktop.saveFileAnswers.enqueue(path);
        click(form, "print_list_btn");
        QCOMPARE(env->desktop.fileDialogDirs.last(), QString("Stock_Report_March_2026.csv"));
        const QStringList lines = QString::fromUtf8(fileBytes(path)).split('\n');
        QStringList header{"Sl", "Category", "Supplier", "Item", "Line Total"};
        for (int d = 1; d <= 31; ++d)
            header << QString::number(d);
        QCOMPARE(lines.at(0), header.join(','));
        QCOMPARE(lines.at(1), "1,Hardware,\"O'BRIEN, LTD\",Hex BOLT M8,14,0,,,,10+4" + QString(26, ','));
        QCOMPARE(lines.size(), 4); // two rows and the final line break

        // After Reset nothing is left to export.
        click(form, "reset_btn");
        click(form, "print_list_btn");
        QCOMPARE(env->desktop.lastShown(), QString("Export|No data to export!"));
    }

    void itemListedPerNameShowsAllItsMovements()
    {
        addMovement({7, "2026-03-01", "Addition", 2, "Old name", "Safety", "S"});
        addMovement({7, "2026-03-09", "Addition", 3, "New name", "Safety", "S"});
        addMovement({7, "2026-03-9", "Addition", 5, "New name", "Safety", "S"}); // no day, still counted
        QList<StockReportRow> rows;
        QString error;
        QVERIFY(queryStockReport({3, 2026, "Safety", {}, QString(), StockMovementKinds::All}, &rows, &error));
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows.at(0).itemName, QString("New name"));
        for (const StockReportRow &row : rows) {
            QCOMPARE(row.lineTotal(StockMovementKinds::All).text(0), QString("10"));
            QCOMPARE(row.additions.keys(), QList<int>({1, 9}));
        }

        testdata::exec("DROP TABLE inventory_transactions");
        QVERIFY(!queryStockReport({3, 2026, {}, {}, {}, StockMovementKinds::All}, &rows, &error));
        QVERIFY2(error.startsWith("itemQ failed: "), qPrintable(error));
    }

    // Under the application's style sheet the form keeps its type, the grid's
    // headings (rebuilt by every report) and the combo pop-ups included.
    void formShowsItsFont()
    {
        ApplicationStyleInTest style;
        addMarch();
        auto *form = new inventory_stockreport;
        form->show();
        // The headers read whole, in the empty grid and in the month's.
        auto *grid = child<QTableWidget>(form, "inventory_stockreport_2");
        QCOMPARE(cutHeaderSections(grid), QStringList());
        QCOMPARE(show(form, 3, 2026)->rowCount(), 2);
        QCOMPARE(cutHeaderSections(grid), QStringList());
        const QStringList wrong = widgetsNotShowing(form, "Times New Roman");
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(", ")));
    }
};

QTEST_MAIN(TestStockReport)
#include "tst_stockreport.moc"
