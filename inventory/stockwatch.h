#pragma once
// What needs attention in the stock: items at or below their minimum, and
// material request lines still open. Read by the inventory dashboard's cards
// and by the stock alert message.

#include <QList>
#include <QString>

// An item is low when its minimum is above 0 and its balance at or below it.
struct LowStockItem
{
    QString itemName;
    double balance = 0;
    double minStock = 0;
    QString uom;
};

// The low items of a category, by name; a failing query gives none.
QList<LowStockItem> lowStockItems(const QString &category);

// A request line whose status is exactly "Open".
struct OpenRequestLine
{
    QString supplier;
    QString itemName;
    double orderQty = 0;
    QString uom;
    QString poDate; // as stored

    // The date "dd/MM/yy"; "" when the stored date is no "yyyy-MM-dd".
    QString shortDate() const;
};

enum class OpenRequestOrder {
    BySupplier,            // by supplier only, lines of one supplier as stored
    BySupplierNewestFirst, // by supplier, then the newest request first
};

// The open lines of a category; a failing query gives none.
QList<OpenRequestLine> openRequestLines(const QString &category, OpenRequestOrder order);
