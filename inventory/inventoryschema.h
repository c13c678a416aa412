#pragma once
// The inventory tables: the stock item register `inventory_items`, the stock
// movement log `inventory_transactions` and the material request lines
// `purchase_orders`. Each inventory form creates the tables it works on when
// it is built; failures (a column that is already there) are passed over.
//
// Dates in all three tables are stored as "yyyy-MM-dd" text.

#include <QStringList>

// The stock categories, in the order the forms offer and group them.
QStringList stockCategories();

// Movement types of inventory_transactions.
namespace StockMovement {
inline const QString Opening = QStringLiteral("Opening Stock");
inline const QString Addition = QStringLiteral("Addition");
inline const QString Reduction = QStringLiteral("Reduction");
} // namespace StockMovement

// inventory_items (with supplier_phone and min_stock added to an older
// register) and inventory_transactions: what the stock register works on.
void createStockTables();

// inventory_transactions alone: what the monthly stock report reads.
void createStockMovementTable();

// purchase_orders: the material request lines.
void createMaterialRequestTable();

// All three tables.
void createInventoryTables();
