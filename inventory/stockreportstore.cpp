#include "stockreportstore.h"

#include "core/boundquery.h"
#include "core/money.h"
#include "core/storedsum.h"
#include "output/csvexport.h"
#include "inventory/inventoryschema.h"

#include <QDate>
#include <QHash>
#include <QSqlQuery>

namespace {

// " IN (:t0, :t1, ...)" with the types bound into `values`.
QString typeList(StockMovementKinds kinds, QVariantMap *values)
{
    QStringList names;
    const QStringList types = movementTypes(kinds);
    for (int i = 0; i < types.size(); ++i) {
        const QString name = QStringLiteral(":t%1").arg(i);
        names << name;
        values->insert(name, types.at(i));
    }
    return QStringLiteral("t.trans_type IN (") + names.join(QLatin1Char(',')) + QStringLiteral(") ");
}

// The day of the month of a stored date, 0 when it does not read as "yyyy-MM-dd".
int dayOf(const QString &stored)
{
    if (stored.size() != 10 || stored.at(4) != QLatin1Char('-') || stored.at(7) != QLatin1Char('-'))
        return 0;
    const QDate date = QDate::fromString(stored, QStringLiteral("yyyy-MM-dd"));
    return date.isValid() ? date.day() : 0;
}

bool isAddition(const QString &type)
{
    return type == StockMovement::Addition || type == StockMovement::Opening;
}

} // namespace

QStringList movementTypes(StockMovementKinds kinds)
{
    switch (kinds) {
    case StockMovementKinds::Additions:
        return {StockMovement::Addition, StockMovement::Opening};
    case StockMovementKinds::Reductions:
        return {StockMovement::Reduction};
    case StockMovementKinds::All:
        break;
    }
    return {StockMovement::Addition, StockMovement::Opening, StockMovement::Reduction};
}

StoredTotal StockReportRow::lineTotal(StockMovementKinds kinds) const
{
    switch (kinds) {
    case StockMovementKinds::Additions:
        return totalAdditions;
    case StockMovementKinds::Reductions:
        return totalReductions;
    case StockMovementKinds::All:
        break;
    }
    return totalAdditions + totalReductions;
}

bool queryStockReport(const StockReportFilter &filter, QList<StockReportRow> *rows, QString *error)
{
    rows->clear();
    const QString month = QStringLiteral("%1").arg(filter.month, 2, 10, QLatin1Char('0'));
    const QString year = QString::number(filter.year);

    // The listed items: one row per distinct name, category and supplier.
    QVariantMap values{{":month", month}, {":year", year}};
    QString sql = QStringLiteral("SELECT DISTINCT t.item_id, t.item_name, t.category, t.supplier_name "
                                 "FROM inventory_transactions t WHERE substr(t.trans_date, 6, 2) = :month "
                                 "AND substr(t.trans_date, 1, 4) = :year ");
    if (!filter.category.isEmpty()) {
        sql += QStringLiteral("AND t.category = :cat ");
        values.insert(":cat", filter.category);
    }
    if (filter.supplier) {
        sql += QStringLiteral("AND t.supplier_name = :sup ");
        values.insert(":sup", *filter.supplier);
    }
    if (!filter.search.isEmpty()) {
        sql += QStringLiteral("AND UPPER(t.item_name) LIKE :search ");
        values.insert(":search", QStringLiteral("%") + filter.search.toUpper() + QStringLiteral("%"));
    }
    sql += QStringLiteral("AND ") + typeList(filter.kinds, &values)
           + QStringLiteral("ORDER BY t.category ASC, t.item_name ASC");

    QString driverError;
    QSqlQuery items;
    items.setForwardOnly(true);
    if (!execBound(items, sql, values, &driverError)) {
        *error = QStringLiteral("itemQ failed: ") + driverError;
        return false;
    }
    QHash<int, QList<int>> rowsOfItem;
    while (items.next()) {
        StockReportRow row;
        row.itemId = items.value(0).toInt();
        row.itemName = items.value(1).toString();
        row.category = items.value(2).toString();
        row.supplier = items.value(3).toString();
        rowsOfItem[row.itemId] << rows->size();
        rows->append(row);
    }
    if (rows->isEmpty())
        return true;

    // The movements of the month in one grouped pass, whatever the filters:
    // a listed row shows all movements of its item.
    QVariantMap moveValues{{":month", month}, {":year", year}};
    const QString moveSql = QStringLiteral("SELECT t.item_id, t.trans_date, t.trans_type, "
                                           STORED_SUM("inventory_transactions:t.quantity") " "
                                           "FROM inventory_transactions t WHERE substr(t.trans_date, 6, 2) = :month "
                                           "AND substr(t.trans_date, 1, 4) = :year AND ")
                            + typeList(filter.kinds, &moveValues)
                            + QStringLiteral("GROUP BY t.item_id, t.trans_date, t.trans_type");
    const auto readMove = [&](const QSqlQuery &moves) {
        const auto found = rowsOfItem.constFind(moves.value(0).toInt());
        if (found == rowsOfItem.constEnd())
            return;
        const int day = dayOf(moves.value(1).toString());
        const bool addition = isAddition(moves.value(2).toString());
        const StoredTotal qty = storedTotal(moves.value(3));
        for (int index : *found) {
            StockReportRow &row = (*rows)[index];
            // A date that is no "yyyy-MM-dd" counts in the total but in no day.
            if (addition) {
                row.totalAdditions += qty;
                if (day > 0)
                    row.additions[day] += qty;
            } else {
                row.totalReductions += qty;
                if (day > 0)
                    row.reductions[day] += qty;
            }
        }
    };
    const auto restart = [&] {
        for (StockReportRow &row : *rows) {
            row.additions.clear();
            row.reductions.clear();
            row.totalAdditions = row.totalReductions = StoredTotal();
        }
    };
    if (!forEachStoredSumRow(moveSql, moveValues, readMove, restart, &driverError)) {
        *error = QStringLiteral("tq failed: ") + driverError;
        rows->clear();
        return false;
    }
    return true;
}

StockDayCell stockDayCell(const StockReportRow &row, int day, StockMovementKinds kinds)
{
    StockDayCell cell;
    const bool added = kinds != StockMovementKinds::Reductions && row.additions.contains(day);
    const bool removed = kinds != StockMovementKinds::Additions && row.reductions.contains(day);
    const StoredTotal a = row.additions.value(day);
    const StoredTotal r = row.reductions.value(day);
    if (added && removed) {
        cell.kind = StockDayCell::Both;
        cell.text = a.text(0) + QLatin1Char('\n') + r.text(0);
        cell.toolTip = QStringLiteral("Addition: ") + a.text(2) + QStringLiteral("\nReduction: ") + r.text(2);
    } else if (added) {
        cell.kind = StockDayCell::Addition;
        cell.text = a.text(0);
    } else if (removed) {
        cell.kind = StockDayCell::Reduction;
        cell.text = r.text(0);
    }
    return cell;
}

QString stockReportCsvHeader(int days)
{
    QStringList titles{QStringLiteral("Sl"), QStringLiteral("Category"), QStringLiteral("Supplier"),
                       QStringLiteral("Item"), QStringLiteral("Line Total")};
    for (int d = 1; d <= days; ++d)
        titles << QString::number(d);
    // Each title through the one field writer, as every field of the rows.
    return csvJoined(titles);
}
