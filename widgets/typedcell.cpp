#include "typedcell.h"

#include <QTableWidget>

TypedNumber readTypedCell(const QTableWidgetItem *item)
{
    return item ? readTypedNumber(item->text()) : TypedNumber{};
}

TypedNumber readTypedCell(const QTableWidget *table, int row, int column)
{
    return readTypedCell(table ? table->item(row, column) : nullptr);
}

Decimal cellDecimal(const QTableWidget *table, int row, int column)
{
    const QTableWidgetItem *item = table->item(row, column);
    return item ? Decimal::fromText(item->text()).value_or(Decimal()) : Decimal();
}
