// The monthly stock report, the material request list and the inventory
// dashboard over the heavy stock data (5,000 items, 200,000 movements and
// 20,000 material request lines over a year): each shown in its window beside
// the time of its statements alone, and their ratio. A list is held to at most
// 1.5 x its floor (its statements run by the sqlite3 shell on the same file)
// + 100 ms. Each figure is the fastest of five runs (steadier on a busy
// machine). The inventory window opens on the dashboard of today.
//
//   bench_stockreport            the figures
//   bench_stockreport --as-given also the month read with one movement
//                                statement per listed item (about a minute)

#include "support/benchlimit.h"
#include "support/benchrun.h"
#include "support/heavystock.h"
#include "support/heavyyear.h"
#include "support/testenvironment.h"
#include "support/widgets.h"

#include "inventory/inventoryschema.h"
#include "widgets/dashboard.h"

#include "inventory/inventory_polist.h"
#include "inventory/inventory_stockreport.h"
#include "inventory/inventorydashboard.h"
#include "inventory/inventorywindow.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QMainWindow>
#include <QFileInfo>
#include <QSqlQuery>
#include <QTableWidget>
#include <cstdio>

namespace {

const QVariantMap May{{":month", "05"}, {":year", "2026"}, {":t0", "Addition"}, {":t1", "Opening Stock"},
                      {":t2", "Reduction"}};

const QString ItemSql = "SELECT DISTINCT t.item_id, t.item_name, t.category, t.supplier_name "
                        "FROM inventory_transactions t WHERE substr(t.trans_date, 6, 2) = :month "
                        "AND substr(t.trans_date, 1, 4) = :year ";
const QString Types = "AND t.trans_type IN (:t0,:t1,:t2) ";
const QString ItemOrder = "ORDER BY t.category ASC, t.item_name ASC";
const QString MoveSql = "SELECT t.item_id, t.trans_date, t.trans_type, SUM(t.quantity) FROM inventory_transactions t "
                        "WHERE substr(t.trans_date, 6, 2) = :month AND substr(t.trans_date, 1, 4) = :year "
                        "AND t.trans_type IN (:t0,:t1,:t2) GROUP BY t.item_id, t.trans_date, t.trans_type";

// The month read the long way: one grouped statement per listed item.
void timePerItemStatements(const QString &how)
{
    QSqlQuery items;
    items.exec("SELECT DISTINCT t.item_id FROM inventory_transactions t WHERE substr(t.trans_date, 6, 2) = '05' "
               "AND substr(t.trans_date, 1, 4) = '2026' AND t.trans_type IN ('Addition','Opening Stock','Reduction') "
               "ORDER BY t.category ASC, t.item_name ASC");
    QList<int> ids;
    while (items.next())
        ids << items.value(0).toInt();
    printFigure("Per-item movement statements, May 2026, " + how, msOf([&] {
                    for (int id : ids) {
                        QSqlQuery q;
                        q.exec(QString("SELECT trans_date, trans_type, SUM(quantity) as total_qty FROM "
                                       "inventory_transactions WHERE item_id = %1 AND substr(trans_date, 6, 2) = '05' "
                                       "AND substr(trans_date, 1, 4) = '2026' AND trans_type IN "
                                       "('Addition','Opening Stock','Reduction') GROUP BY trans_date, trans_type "
                                       "ORDER BY trans_date ASC")
                                   .arg(id));
                        while (q.next()) {
                        }
                    }
                }),
                QString("%1 statements").arg(countText(ids.size())));
}

// What the inventory dashboard runs for `today`: twelve monthly counts, then
// each category's open requests and low stock.
QList<ListStatement> dashboardStatements(const QDate &today)
{
    QList<ListStatement> statements;
    const DashboardChart chart = requestChart(today);
    for (const DashboardMonth &m : chart.months)
        statements << ListStatement(chart.monthSql, QVariantMap{{":from", m.from.toString(Qt::ISODate)},
                                                                {":to", m.to.toString(Qt::ISODate)}});
    for (const QString &category : stockCategories()) {
        const QVariantMap cat{{":cat", category}};
        statements << ListStatement("SELECT supplier_name, item_name, order_qty, uom, po_date FROM purchase_orders "
                                    "WHERE category = :cat AND status = 'Open' ORDER BY supplier_name ASC, po_date DESC",
                                    cat)
                   << ListStatement("SELECT item_name, balance_stock, min_stock, uom FROM inventory_items "
                                    "WHERE category = :cat AND min_stock > 0 AND balance_stock <= min_stock "
                                    "ORDER BY item_name ASC",
                                    cat);
    }
    return statements;
}

// As fast as the stock register's movement index makes it, then without it.
void asGiven()
{
    timePerItemStatements(QStringLiteral("movement index"));
    QSqlQuery drop;
    drop.exec("DROP INDEX IF EXISTS idx_inventory_transactions_item");
    timePerItemStatements(QStringLiteral("no index"));
}

} // namespace

int main(int argc, char **argv)
{
    BenchApplication app(argc, argv);
    TestEnvironment env;
    openBenchDatabase(env);
    StockSize size = heavyStock();
    size.requestLines = 20000;
    std::printf("%s\n\n", qPrintable(fillStock(size).summary()));
    countRows(MoveSql, May); // warm the file cache

    auto *form = new inventory_stockreport;
    form->show();
    QApplication::processEvents();
    child<QComboBox>(form, "month_combo")->setCurrentIndex(4);
    child<QComboBox>(form, "year_combo")->setCurrentText("2026");
    auto *grid = child<QTableWidget>(form, "inventory_stockreport_2");

    {
        const double statements = bestMsOf([] { countRows(ItemSql + Types + ItemOrder, May); countRows(MoveSql, May); }, 5);
        const double window = bestClickMs(form, "show_btn");
        printAgainstStatements("Stock report, May 2026, All", statements, window, grid->rowCount(),
                               {ListStatement(ItemSql + Types + ItemOrder, May), ListStatement(MoveSql, May)});
    }
    {
        const QString supplier = stockSupplierName(2); // holds an apostrophe
        QVariantMap values = May;
        values.insert(":sup", supplier);
        const QString sql = ItemSql + "AND t.supplier_name = :sup " + Types + ItemOrder;
        const double statements = bestMsOf([&] { countRows(sql, values); countRows(MoveSql, May); }, 5);
        child<QComboBox>(form, "sup_search_combo")->setCurrentText(supplier);
        const double window = bestClickMs(form, "show_btn");
        printAgainstStatements("Stock report, May 2026, supplier " + supplier, statements, window, grid->rowCount(),
                               {ListStatement(sql, values), ListStatement(MoveSql, May)});
        child<QComboBox>(form, "sup_search_combo")->setCurrentIndex(0);
        click(form, "show_btn");
    }
    const QString path = env.folder() + "/stock.csv";
    env.desktop.saveFileAnswers.enqueue(path);
    printTimed("Stock report export", [&] { click(form, "print_list_btn"); },
               [&] { return QString("%1 bytes").arg(countText(QFileInfo(path).size())); });

    {
        // The request list over the whole year.
        const QString sql = "SELECT po_number, po_date, supplier_name, item_name, category, order_qty, uom, status "
                            "FROM purchase_orders WHERE po_date >= :from AND po_date <= :to "
                            "ORDER BY po_date DESC, po_number ASC";
        const QVariantMap year{{":from", "2026-04-01"}, {":to", "2027-03-31"}};
        auto *list = new inventory_polist;
        list->show();
        QApplication::processEvents();
        child<QDateEdit>(list, "fromdateEdit")->setDate(QDate(2026, 4, 1));
        child<QDateEdit>(list, "todateEdit")->setDate(QDate(2027, 3, 31));
        const double statement = bestMsOf([&] { countRows(sql, year); }, 5);
        const double window = bestClickMs(list, "show_btn");
        printAgainstStatements("Material request list, whole year", statement, window,
                               child<QTableWidget>(list, "ordered_list")->rowCount(), ListStatement(sql, year));
        delete list;
    }
    {
        // The dashboard: twelve monthly counts and ten cards, refreshed in a
        // window of its own, then the inventory window opening on it (today).
        const QDate today(2027, 3, 31);
        const auto figures = [](const QDate &day) {
            monthlyValues(requestChart(day));
            for (const QString &category : stockCategories()) {
                countRows("SELECT item_name, balance_stock, min_stock, uom FROM inventory_items WHERE category = :cat "
                          "AND min_stock > 0 AND balance_stock <= min_stock ORDER BY item_name ASC",
                          {{":cat", category}});
                countRows("SELECT supplier_name, item_name, order_qty, uom, po_date FROM purchase_orders "
                          "WHERE category = :cat AND status = 'Open' ORDER BY supplier_name ASC, po_date DESC",
                          {{":cat", category}});
            }
        };
        const double statements = bestMsOf([&] { figures(today); }, 5);
        InventoryWindow window;
        window.resize(1920, 1000);
        window.show();
        QApplication::processEvents();
        const double shown = bestMsOf([&] {
            loadInventoryDashboard(&window, today);
            QApplication::processEvents();
        }, 5);
        const int open = countRows("SELECT 1 FROM purchase_orders WHERE status = 'Open'", {});
        printAgainstStatements("Inventory dashboard, refresh", statements, shown, open, dashboardStatements(today));

        const QDate now = QDate::currentDate();
        const double nowStatements = bestMsOf([&] { figures(now); }, 5);
        InventoryWindow *opened = nullptr;
        const double openMs = bestOpeningMs(&opened);
        printAgainstStatements("Inventory window, open (dashboard)", nowStatements, openMs, open, dashboardStatements(now));
        delete opened;
    }

    if (app.hasOption("--as-given"))
        asGiven();
    delete form;
    return printLimitVerdict() ? 0 : 1;
}
