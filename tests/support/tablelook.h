#pragma once
// Everything a list shows of its cells, to compare a list refilled in place
// with one filled afresh.

#include <QStringList>

class QTableWidget;

// One line per cell, row by row: "row,column: none" for a cell without an
// item, else its text, alignment, colours, font, flags and the data under
// Qt::UserRole (the record a row stands for). Then the current cell, the
// selected rows and the scroll positions.
QStringList tableLook(const QTableWidget *table);
