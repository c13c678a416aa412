#pragma once
// Typed numbers in editable table cells, read by the shared reading of
// core/typednumber.h.

#include "core/typednumber.h"

class QTableWidget;
class QTableWidgetItem;

// Reads an item's text; a missing item is Empty.
TypedNumber readTypedCell(const QTableWidgetItem *item);
TypedNumber readTypedCell(const QTableWidget *table, int row, int column);
