#pragma once
#include <QStringList>

// The four blocks the main window appends to the application's style sheet:
// scroll bars, combo pop-ups, calendar, tables.
QStringList applicationStyleBlocks();

// Appends each block, one at a time, to the application's current style sheet.
void appendApplicationStyle();
