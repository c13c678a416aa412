#include "inventoryschema.h"

#include <QSqlQuery>

namespace {

const char *const MovementTable =
    "CREATE TABLE IF NOT EXISTS inventory_transactions (trans_id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "item_id INTEGER, item_name TEXT, category TEXT, supplier_name TEXT, trans_date TEXT, trans_type TEXT, "
    "quantity REAL, remarks TEXT)";

// An item's movements newest first (the history) and all of them (rename,
// delete) are found by item without reading the whole log.
const char *const MovementIndex =
    "CREATE INDEX IF NOT EXISTS idx_inventory_transactions_item ON inventory_transactions (item_id, trans_id)";

void run(const char *sql)
{
    QSqlQuery q;
    q.exec(QString::fromLatin1(sql));
}

} // namespace

QStringList stockCategories()
{
    return {QStringLiteral("Raw Material"), QStringLiteral("Critical Spare"), QStringLiteral("Safety"),
            QStringLiteral("Packing"), QStringLiteral("Hardware")};
}

void createStockTables()
{
    run("CREATE TABLE IF NOT EXISTS inventory_items (item_id INTEGER PRIMARY KEY AUTOINCREMENT, category TEXT, "
        "supplier_name TEXT, item_name TEXT, opening_stock REAL DEFAULT 0, stock_addition REAL DEFAULT 0, "
        "stock_reduction REAL DEFAULT 0, balance_stock REAL DEFAULT 0, uom TEXT, last_updated TEXT)");
    run("ALTER TABLE inventory_items ADD COLUMN supplier_phone TEXT");
    run("ALTER TABLE inventory_items ADD COLUMN min_stock REAL DEFAULT 0");
    createStockMovementTable();
}

void createStockMovementTable()
{
    run(MovementTable);
    run(MovementIndex);
}

void createMaterialRequestTable()
{
    run("CREATE TABLE IF NOT EXISTS purchase_orders (po_id INTEGER PRIMARY KEY AUTOINCREMENT, po_number TEXT, "
        "po_date TEXT, supplier_name TEXT, supplier_phone TEXT, item_name TEXT, category TEXT, order_qty REAL, "
        "uom TEXT, status TEXT DEFAULT 'Pending')");
}

void createInventoryTables()
{
    createStockTables();
    createMaterialRequestTable();
}
