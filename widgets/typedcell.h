#pragma once
// Typed numbers in editable table cells, read by the shared reading of
// core/typednumber.h.

#include "core/money.h"
#include "core/typednumber.h"

class QTableWidget;
class QTableWidgetItem;

// Reads an item's text; a missing item is Empty.
TypedNumber readTypedCell(const QTableWidgetItem *item);
TypedNumber readTypedCell(const QTableWidget *table, int row, int column);

// A cell's number exactly as its text spells it, to all of its digits; 0 when
// it is none or the cell is missing.
Decimal cellDecimal(const QTableWidget *table, int row, int column);
