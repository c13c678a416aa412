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
