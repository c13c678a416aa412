#pragma once
// The tick box of a list row: a check box centred in a plain cell widget, as
// the material request form and the request list show it in column 0.

class QCheckBox;
class QTableWidget;

// Puts an unticked box into the cell and returns it.
QCheckBox *placeTickBox(QTableWidget *table, int row, int column = 0);

// The box of the cell, or null when the cell holds none.
QCheckBox *tickBoxAt(const QTableWidget *table, int row, int column = 0);

// Whether the cell holds a ticked box.
bool isTicked(const QTableWidget *table, int row, int column = 0);
