// The stock register and an item's movement history over the heavy stock
// data (5,000 items, 200,000 movements): each list's time to show its rows
// beside the time of its statements alone and its floor (the statements run
// by the sqlite3 shell on the same file). A list is held to at most 1.5 x its
// floor + 100 ms. The register's opening and the history dialog are the
// fastest of five.
//
//   bench_inventory

#include "support/benchlimit.h"
#include "support/benchrun.h"
#include "support/heavystock.h"
#include "support/heavyyear.h"
#include "support/testenvironment.h"
#include "support/widgets.h"

#include "inventory/stockentry.h"
#include "widgets/formconventions.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QTableWidget>
#include <QTimer>
#include <cstdio>
#include <functional>

namespace {

const QString ListSql = "SELECT item_id, category, supplier_name, supplier_phone, item_name, opening_stock, "
                        "stock_addition, stock_reduction, balance_stock, uom, last_updated, min_stock "
                        "FROM inventory_items WHERE 1=1 ";
const QString ListOrder = "ORDER BY category ASC, item_name ASC";
const QString SupplierSql =
    "SELECT DISTINCT supplier_name, supplier_phone FROM inventory_items ORDER BY supplier_name ASC";
const QString HistorySql = "SELECT trans_date, trans_type, quantity FROM inventory_transactions "
                           "WHERE item_id = :id ORDER BY trans_id DESC LIMIT :limit";

bool chooseEntry(QWidget *, const QPoint &, const QString &)
{
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    BenchApplication app(argc, argv);
    TestEnvironment env;
    openBenchDatabase(env);
    const StockSize size = heavyStock();
    std::printf("%s\n\n", qPrintable(fillStock(size).summary()));

    // Warm the file cache once.
    countRows(ListSql + ListOrder, {});

    inventory_stockentry *form = nullptr;
    QTableWidget *table = nullptr;
    {
        const double statement = msOf([] { countRows(ListSql + ListOrder, {}); countRows(SupplierSql, {}); }, 3);
        const double window = bestOpeningMs(&form);
        table = child<QTableWidget>(form, "inventory_stock");
        printAgainstStatements("Stock register: open", statement, window, table->rowCount(),
                               {ListStatement(ListSql + ListOrder), ListStatement(SupplierSql)});
    }
    if (qEnvironmentVariableIsSet("PROFILE")) {
        printFigure("loadStockTable alone", msOf([&] { form->loadStockTable("", "", ""); }, 3));
        printFigure("loadStockTable + events", msOf([&] { form->loadStockTable("", "", ""); QApplication::processEvents(); }, 3));
        printFigure("construct only", msOf([&] { delete new inventory_stockentry; }, 3));
    }
    {
        const QString supplier = stockSupplierName(2); // holds an apostrophe
        const QVariantMap like{{":sup", "%" + supplier + "%"}};
        const QString sql = ListSql + "AND UPPER(supplier_name) LIKE :sup " + ListOrder;
        const double statement = msOf([&] { countRows(sql, like); }, 3);
        auto *edit = child<QLineEdit>(form, "search_supnameEdit");
        const double window = msOf([&] {
            edit->setText(supplier);
            QApplication::processEvents();
        });
        printAgainstStatements("Stock register: supplier " + supplier, statement, window, table->rowCount(),
                               ListStatement(sql, like));
        const double back = msOf([&] {
            edit->clear();
            QApplication::processEvents();
        });
        printAgainstStatements("Stock register: supplier filter cleared", msOf([] { countRows(ListSql + ListOrder, {}); }, 3), back,
                table->rowCount(), ListStatement(ListSql + ListOrder));
    }
    {
        auto *category = child<QComboBox>(form, "search_category_combo");
        const QString sql = ListSql + "AND category = :cat " + ListOrder;
        const double statement = msOf([&] { countRows(sql, {{":cat", "Hardware"}}); }, 3);
        const double window = msOf([&] {
            category->setCurrentText("Hardware");
            QApplication::processEvents();
        });
        printAgainstStatements("Stock register: category Hardware", statement, window, table->rowCount(),
                               ListStatement(sql, QVariantMap{{":cat", "Hardware"}}));
        category->setCurrentIndex(0);
    }
    {
        // The history dialog of the first listed item (about 40 movements, the
        // dialog lists the last 10): from the menu choice to the dialog shown
        // with its rows. Its statement returns 10 rows, so the figure is
        // mostly the building of the dialog itself.
        const int row = 0;
        const int itemId = table->item(row, 0)->text().toInt();
        const QVariantMap values{{":id", itemId}, {":limit", 10}};
        const double statement = bestMsOf([&] { countRows(HistorySql, values); }, 5);
        g_loadBackChooser = chooseEntry;
        int shownRows = 0;
        const auto open = [&] {
            QTimer::singleShot(0, [&] {
                if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
                    shownRows = child<QTableWidget>(dialog, "historyTable")->rowCount();
                    dialog->accept();
                }
            });
            const QRect cell = table->visualItemRect(table->item(row, 4));
            emit table->customContextMenuRequested(cell.center());
        };
        // The first opening also sets up what every later dialog shares.
        printFigure("Movement history of one item: first opening", msOf(open));
        const double window = bestMsOf(open, 5);
        printAgainstStatements("Movement history of one item", statement, window, shownRows,
                               ListStatement(HistorySql, values));
    }
    delete form;
    printLimitVerdict();
    return 0;
}
