#pragma once
// The check boxes of a tick column (widgets/tickcolumn.h) as a test reaches them.

class QCheckBox;
class QTableWidget;

// The check box of the row's tick cell while the row carries one (rows near
// the view do), else null.
QCheckBox *tickBox(const QTableWidget *table, int row, int column = 0);

// Clicks the row's check box as the user would; fails the test (QVERIFY) when
// the row carries none.
void clickTickBox(const QTableWidget *table, int row, int column = 0);
