#pragma once
// The stock register in the database: the items with their running totals and
// the movement log beside them. Plain functions on the default connection; the
// stock entry form binds them to its widgets.
//
// An item's totals change only here and always together with its log:
// balance = opening + additions - reductions, exactly. A movement starts from
// the totals stored at the moment it is written, to the thousandth (not from
// the two decimals a list showed earlier), so no thousandth is lost and two
// open forms never lose one another's movement.

#include "core/listedrow.h"

#include <QList>
#include <QString>

class Decimal;

// One row of the stock list.
struct StockItemRow
{
    int id = 0;
    QString category;
    QString supplier;
    QString phone;
    QString name;
    double opening = 0;
    double additions = 0;
    double reductions = 0;
    double balance = 0;
    QString uom;
    QString lastUpdated; // as stored, "yyyy-MM-dd"
    double minimum = 0;
    // Every column as the list read it: an edit or delete of the item is
    // written only while it is still stored so.
    StoredRow stored;

    // Low stock: a minimum is set and the balance has come down to it.
    bool belowMinimum() const { return minimum > 0 && balance <= minimum; }
    bool outOfStock() const { return balance <= 0; }
};

// The list's filters: an exact category ("-- All --" or empty: every
// category), and supplier and item names matched as case-insensitive parts.
struct StockFilter
{
    QString category;
    QString supplier;
    QString item;
};

// The items that pass the filter, by category and then name. False with the
// driver's text when the query fails.
bool loadStockItems(const StockFilter &filter, QList<StockItemRow> *rows, QString *error);

// One cell text per column of the stock list (column 0 the id), numbers with
// two decimals and the date as "dd-MM-yyyy".
QStringList stockListCells(const StockItemRow &row);

// A supplier known to the register with the phone stored on its items.
struct KnownSupplier
{
    QString name;
    QString phone;
};

// Every distinct supplier and phone, by name; empty when the query fails.
QList<KnownSupplier> knownSuppliers();

// The master data of an item as the entry fields give it.
struct StockItemFields
{
    QString category;
    QString supplier;
    QString phone;
    QString name;
    QString uom;
    double minimum = 0;
};

// Refused: the item is no longer stored as the list read it (changed or
// deleted meanwhile, e.g. in another window); nothing was written.
enum class StockWrite { Done, Duplicate, Refused, Failed };
struct StockWriteOutcome
{
    StockWrite result = StockWrite::Failed;
    int itemId = 0;
    QString error; // the driver's text when it failed
};

// Registers an item with its opening stock, rounded once to the thousandth
// as every movement is, and writes its "Opening Stock" movement dated
// `today`, both or neither. A name already in the category (ignoring case) is
// a Duplicate and writes nothing.
StockWriteOutcome addStockItem(const StockItemFields &item, const Decimal &opening, const QString &today);

// Saves the master data of the item `listed` and renames its movements to
// match, both or neither. Its stock figures stay as they are.
// Both this and the delete write only while the item is still stored exactly
// as the list read it; otherwise Refused, nothing written, and the error names
// the item ("Item 'Hex Bolt' was changed or deleted meanwhile, ...").
StockWriteOutcome updateStockItem(const StockItemRow &listed, const StockItemFields &item);

// Deletes the item `listed` together with its movements.
StockWriteOutcome deleteStockItem(const StockItemRow &listed);

enum class Movement { Addition, Reduction };

enum class MovementResult { Recorded, ExceedsBalance, BalanceTooLarge, TotalsTooLarge, InvalidQuantity, Failed };
struct MovementOutcome
{
    MovementResult result = MovementResult::Failed;
    QString error; // why, when it failed or the totals are too large
    // With Recorded: the item's row as it stood just before the movement and
    // just after it, read in the same transaction. A form that still shows
    // the item as `before` keeps `after` as its own: its next write of the
    // item is not refused for this movement.
    StoredRow before;
    StoredRow after;
};

// Records an addition or a reduction of `quantity`, rounded once to the
// thousandth (above 0, below the quantity bound), on `date` ("yyyy-MM-dd"):
// the stored totals are read as a typed quantity is, to the nearest
// thousandth (a total stored as 0.30000000000000004 by another program is
// 0.3), and written back so;
// the item's totals and last_updated, and one movement row, both or neither.
// A reduction above the stored balance is refused and writes nothing; one
// equal to it leaves 0. An addition that takes the balance to the quantity
// bound is refused as BalanceTooLarge; one whose running totals would pass
// what a REAL column keeps exactly to the thousandth as TotalsTooLarge.
MovementOutcome recordStockMovement(int itemId, Movement kind, const Decimal &quantity, const QString &date);
MovementOutcome recordStockMovement(int itemId, Movement kind, double quantity, const QString &date);

// One movement of the history.
struct StockMovementRow
{
    QString date; // as stored
    QString type;
    double quantity = 0;
};

// The `limit` movements of the item entered last, newest first. False with
// the driver's text when the query fails.
bool recentStockMovements(int itemId, int limit, QList<StockMovementRow> *rows, QString *error);

// Text given when the item a form still shows was deleted meanwhile.
QString missingItemText();
