#pragma once
// Whether a table shows its own font in all its parts, and its header texts whole.

#include <QStringList>

class QTableWidget;

// The parts of `table` that show another family or point size than the table
// itself: its two headers, its viewport and, after opening the editor of cell
// (0, 0) when the table has one, that editor. Each is named by its class.
QStringList tablePartsWithOtherFont(QTableWidget *table);

// The header sections of `table` narrower than their text, as
// "column: header text".
QStringList cutHeaderSections(const QTableWidget *table);
