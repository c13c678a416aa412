#pragma once
#include <QStringList>

// The four blocks the main window appends to the application's style sheet:
// scroll bars, combo pop-ups, calendar, tables.
QStringList applicationStyleBlocks();

// Appends each block, one at a time, to the application's current style sheet.
void appendApplicationStyle();

// Makes the pop-up of every combo box, present and future, draw its rows with
// an item-view delegate, so that the combo pop-up block above holds there:
// the highlighted row #0078d4 with white text, the hover colour and the
// padding. Without it a combo draws its pop-up rows as menu entries, and a
// background that the combo's own style sheet (or a parent's) sets reaches
// those entries: the highlighted row shows white on white. A combo given a
// delegate of its own keeps it. Calling it again does nothing more.
void styleComboPopups();
