#include "stockstore.h"

#include "core/boundquery.h"
#include "core/listedrow.h"
#include "core/listformat.h"
#include "core/money.h"
#include "core/transaction.h"
#include "inventoryschema.h"

#include <QSqlQuery>
#include <QVariant>

namespace {

const QString AllCategories = QStringLiteral("-- All --");
// Every column of a stock item as stored, in the list's order.
const RowSource StoredItem{QStringLiteral("inventory_items"),
                           QStringLiteral("item_id"),
                           {QStringLiteral("item_id"), QStringLiteral("category"), QStringLiteral("supplier_name"),
                            QStringLiteral("supplier_phone"), QStringLiteral("item_name"),
                            QStringLiteral("opening_stock"), QStringLiteral("stock_addition"),
                            QStringLiteral("stock_reduction"), QStringLiteral("balance_stock"), QStringLiteral("uom"),
                            QStringLiteral("last_updated"), QStringLiteral("min_stock")},
                           QString()};

// How the texts of a refused write name the listed item.
QString listedItemName(const StockItemRow &listed)
{
    return QStringLiteral("Item '") + shortRowName(listed.name) + QLatin1Char('\'');
}

// Writes `statements` while the item is still stored exactly as the list
// read it.
StockWriteOutcome writeListedItem(const StockItemRow &listed, const QList<QPair<QString, QVariantMap>> &statements)
{
    const RowWrite written = writeLoadedRows({LoadedRow(StoredItem, listed.id, listed.stored, listedItemName(listed))},
                                             statements);
    StockWriteOutcome outcome;
    outcome.itemId = listed.id;
    outcome.error = written.error;
    outcome.result = written.ok() ? StockWrite::Done
                     : written.result == ListedWrite::Stale ? StockWrite::Refused
                                                            : StockWrite::Failed;
    return outcome;
}

// Whether a REAL column gives the figure back as the same decimal.
bool storedExactly(const Decimal &figure)
{
    return figure.isValid() && Decimal::fromStored(figure.toDouble()) == figure;
}

QString twoDecimals(double value)
{
    return storedDecimalText(value, 2);
}

} // namespace

QString missingItemText()
{
    return rowGoneText(QStringLiteral("The item"));
}

bool loadStockItems(const StockFilter &filter, QList<StockItemRow> *rows, QString *error)
{
    rows->clear();
    QString sql =
        QStringLiteral("SELECT ") + StoredItem.columnList() + QStringLiteral(" FROM inventory_items WHERE 1=1 ");
    QVariantMap values;
    if (!filter.category.isEmpty() && filter.category != AllCategories) {
        sql += QStringLiteral("AND category = :cat ");
        values.insert(QStringLiteral(":cat"), filter.category);
    }
    if (!filter.supplier.isEmpty()) {
        sql += QStringLiteral("AND UPPER(supplier_name) LIKE :sup ");
        values.insert(QStringLiteral(":sup"), QLatin1Char('%') + filter.supplier.toUpper() + QLatin1Char('%'));
    }
    if (!filter.item.isEmpty()) {
        sql += QStringLiteral("AND UPPER(item_name) LIKE :item ");
        values.insert(QStringLiteral(":item"), QLatin1Char('%') + filter.item.toUpper() + QLatin1Char('%'));
    }
    sql += QStringLiteral("ORDER BY category ASC, item_name ASC");

    const int columns = int(StoredItem.columns.size());
    return forEachRow(
        sql, values,
        [&](const StatementRow &q) {
            StockItemRow row;
            row.id = q.integer(0);
            row.category = q.text(1);
            row.supplier = q.text(2);
            row.phone = q.text(3);
            row.name = q.text(4);
            row.opening = q.real(5);
            row.additions = q.real(6);
            row.reductions = q.real(7);
            row.balance = q.real(8);
            row.uom = q.text(9);
            row.lastUpdated = q.text(10);
            row.minimum = q.real(11);
            row.stored = StoredRow::of(q, 0, columns);
            rows->append(row);
        },
        error);
}

QStringList stockListCells(const StockItemRow &row)
{
    return {QString::number(row.id),
            row.category,
            row.supplier,
            row.phone,
            row.name,
            twoDecimals(row.opening),
            twoDecimals(row.minimum),
            twoDecimals(row.additions),
            twoDecimals(row.reductions),
            twoDecimals(row.balance),
            row.uom,
            storedDateText(row.lastUpdated)};
}

QList<KnownSupplier> knownSuppliers()
{
    QList<KnownSupplier> suppliers;
    QSqlQuery q;
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral(
            "SELECT DISTINCT supplier_name, supplier_phone FROM inventory_items ORDER BY supplier_name ASC")))
        return suppliers;
    while (q.next())
        suppliers.append({q.value(0).toString(), q.value(1).toString()});
    return suppliers;
}

StockWriteOutcome addStockItem(const StockItemFields &item, const Decimal &opening, const QString &today)
{
    StockWriteOutcome outcome;
    // To the thousandth a movement can take, so that no opening leaves a
    // remainder (0.0004) that no reduction could ever clear.
    const double openingStock = opening.rounded(3).toDouble();
    bool duplicate = false;
    const bool ok = runInTransaction(
        [&](QString *error) {
            QSqlQuery q;
            if (!execBound(q,
                           QStringLiteral("SELECT item_id FROM inventory_items WHERE UPPER(item_name) = UPPER(:name) "
                                          "AND category = :cat"),
                           {{QStringLiteral(":name"), item.name}, {QStringLiteral(":cat"), item.category}}, error))
                return false;
            if (q.next()) {
                duplicate = true;
                return false;
            }
            if (!execBound(q,
                           QStringLiteral("INSERT INTO inventory_items (category, supplier_name, supplier_phone, "
                                          "item_name, opening_stock, stock_addition, stock_reduction, balance_stock, "
                                          "uom, last_updated, min_stock) VALUES (:cat, :sup, :phone, :item, :open, 0, "
                                          "0, :bal, :uom, :date, :min)"),
                           {{QStringLiteral(":cat"), item.category},
                            {QStringLiteral(":sup"), item.supplier},
                            {QStringLiteral(":phone"), item.phone},
                            {QStringLiteral(":item"), item.name},
                            {QStringLiteral(":open"), openingStock},
                            {QStringLiteral(":bal"), openingStock},
                            {QStringLiteral(":uom"), item.uom},
                            {QStringLiteral(":date"), today},
                            {QStringLiteral(":min"), item.minimum}},
                           error))
                return false;
            outcome.itemId = q.lastInsertId().toInt();
            return execBound(q,
                             QStringLiteral("INSERT INTO inventory_transactions (item_id, item_name, category, "
                                            "supplier_name, trans_date, trans_type, quantity, remarks) VALUES (:id, "
                                            ":item, :cat, :sup, :date, :type, :qty, :rem)"),
                             {{QStringLiteral(":id"), outcome.itemId},
                              {QStringLiteral(":item"), item.name},
                              {QStringLiteral(":cat"), item.category},
                              {QStringLiteral(":sup"), item.supplier},
                              {QStringLiteral(":date"), today},
                              {QStringLiteral(":type"), StockMovement::Opening},
                              {QStringLiteral(":qty"), openingStock},
                              {QStringLiteral(":rem"), StockMovement::Opening}},
                             error);
        },
        &outcome.error);
    if (ok)
        outcome.result = StockWrite::Done;
    else if (duplicate)
        outcome = {StockWrite::Duplicate, 0, QString()};
    else
        outcome.itemId = 0;
    return outcome;
}

StockWriteOutcome updateStockItem(const StockItemRow &listed, const StockItemFields &item)
{
    return writeListedItem(
        listed, {{QStringLiteral("UPDATE inventory_items SET category = :cat, supplier_name = :sup, "
                                 "supplier_phone = :phone, item_name = :item, uom = :uom, min_stock = :min "
                                 "WHERE item_id = :id"),
                  {{QStringLiteral(":cat"), item.category},
                   {QStringLiteral(":sup"), item.supplier},
                   {QStringLiteral(":phone"), item.phone},
                   {QStringLiteral(":item"), item.name},
                   {QStringLiteral(":uom"), item.uom},
                   {QStringLiteral(":min"), item.minimum},
                   {QStringLiteral(":id"), listed.id}}},
                 {QStringLiteral("UPDATE inventory_transactions SET category = :cat, supplier_name = :sup, "
                                 "item_name = :item WHERE item_id = :id"),
                  {{QStringLiteral(":cat"), item.category},
                   {QStringLiteral(":sup"), item.supplier},
                   {QStringLiteral(":item"), item.name},
                   {QStringLiteral(":id"), listed.id}}}});
}

StockWriteOutcome deleteStockItem(const StockItemRow &listed)
{
    const QVariantMap id{{QStringLiteral(":id"), listed.id}};
    return writeListedItem(listed, {{QStringLiteral("DELETE FROM inventory_transactions WHERE item_id = :id"), id},
                                    {QStringLiteral("DELETE FROM inventory_items WHERE item_id = :id"), id}});
}

MovementOutcome recordStockMovement(int itemId, Movement kind, double quantity, const QString &date)
{
    return recordStockMovement(itemId, kind, Decimal::fromStored(quantity), date);
}

MovementOutcome recordStockMovement(int itemId, Movement kind, const Decimal &quantity, const QString &date)
{
    MovementOutcome outcome;
    const Decimal typed = quantity.rounded(3);
    if (!quantity.isValid() || typed <= Decimal() || !withinBound(typed, FigureKind::Quantity)) {
        outcome.result = MovementResult::InvalidQuantity;
        return outcome;
    }
    MovementResult refused = MovementResult::Failed;
    StoredRow before, after;
    const bool ok = runInTransaction(
        [&](QString *error) {
            // The item's values and its stored row, read in one pass.
            bool found = false;
            QString name, category, supplier;
            Decimal additions, reductions, balance;
            if (!forEachRow(QStringLiteral("SELECT ") + StoredItem.columnList()
                                + QStringLiteral(" FROM inventory_items WHERE item_id = :id"),
                            {{QStringLiteral(":id"), itemId}},
                            [&](const StatementRow &row) {
                                found = true;
                                category = row.text(1);
                                supplier = row.text(2);
                                name = row.text(4);
                                // The stored totals to the thousandth every
                                // movement keeps, as a typed quantity is read: a
                                // REAL summed elsewhere as 0.1 + 0.2
                                // (0.30000000000000004) is the 0.3 it stands for.
                                additions = threeDecimalValue(row.real(6));
                                reductions = threeDecimalValue(row.real(7));
                                balance = threeDecimalValue(row.real(8));
                                before = StoredRow::of(row, 0, int(StoredItem.columns.size()));
                            },
                            error))
                return false;
            if (!found) {
                *error = missingItemText();
                return false;
            }

            // Exact sums, so no thousandth is dropped for what the list shows.
            if (kind == Movement::Addition) {
                additions = additions + typed;
                balance = balance + typed;
            } else {
                if (typed > balance) {
                    refused = MovementResult::ExceedsBalance;
                    return false;
                }
                reductions = reductions + typed;
                balance = balance - typed;
            }
            // A balance beyond the quantity bound is refused; the running totals
            // only need to keep every movement exactly, so an item whose
            // additions have come near the bound can still be reduced.
            if (kind == Movement::Addition && !withinBound(balance, FigureKind::Quantity)) {
                refused = MovementResult::BalanceTooLarge;
                return false;
            }
            // After very many of the largest movements the additions or the
            // reductions pass what a REAL keeps to the thousandth.
            if (!storedExactly(additions) || !storedExactly(reductions) || !storedExactly(balance)) {
                refused = MovementResult::TotalsTooLarge;
                *error = QStringLiteral("The running totals of item '") + name
                         + QStringLiteral("' are too large to keep exactly to the thousandth. Nothing was saved.");
                return false;
            }

            QSqlQuery q;
            if (!execBound(q,
                           QStringLiteral("UPDATE inventory_items SET stock_addition = :add, stock_reduction = :red, "
                                          "balance_stock = :bal, last_updated = :date WHERE item_id = :id"),
                           {{QStringLiteral(":add"), additions.toDouble()},
                            {QStringLiteral(":red"), reductions.toDouble()},
                            {QStringLiteral(":bal"), balance.toDouble()},
                            {QStringLiteral(":date"), date},
                            {QStringLiteral(":id"), itemId}},
                           error))
                return false;
            if (!execBound(
                    q,
                    QStringLiteral("INSERT INTO inventory_transactions (item_id, item_name, category, supplier_name, "
                                   "trans_date, trans_type, quantity, remarks) VALUES (:id, :item, :cat, :sup, :date, "
                                   ":type, :qty, :rem)"),
                {{QStringLiteral(":id"), itemId},
                 {QStringLiteral(":item"), name},
                 {QStringLiteral(":cat"), category},
                 {QStringLiteral(":sup"), supplier},
                 {QStringLiteral(":date"), date},
                 {QStringLiteral(":type"),
                  kind == Movement::Addition ? StockMovement::Addition : StockMovement::Reduction},
                 {QStringLiteral(":qty"), typed.toDouble()},
                 {QStringLiteral(":rem"), QStringLiteral("")}},
                error))
                return false;
            // The row as this movement left it, for the form that keeps it.
            return readStoredRow(StoredItem, itemId, &after, error);
        },
        &outcome.error);
    if (ok) {
        outcome.result = MovementResult::Recorded;
        outcome.before = before;
        outcome.after = after;
    } else if (refused != MovementResult::Failed) {
        outcome.result = refused;
        // Only the totals' refusal carries a text of its own.
        if (refused != MovementResult::TotalsTooLarge)
            outcome.error.clear();
    }
    return outcome;
}

bool recentStockMovements(int itemId, int limit, QList<StockMovementRow> *rows, QString *error)
{
    rows->clear();
    QSqlQuery q;
    q.setForwardOnly(true);
    if (!execBound(q,
                   QStringLiteral("SELECT trans_date, trans_type, quantity FROM inventory_transactions "
                                  "WHERE item_id = :id ORDER BY trans_id DESC LIMIT :limit"),
                   {{QStringLiteral(":id"), itemId}, {QStringLiteral(":limit"), limit}}, error))
        return false;
    while (q.next())
        rows->append({q.value(0).toString(), q.value(1).toString(), q.value(2).toDouble()});
    return true;
}
