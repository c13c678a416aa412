#pragma once
// Widget set-up the customer and item masters share.

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class QLineEdit;
class QTableWidget;
class QTableWidgetItem;

// Upper-cases the field on every change of its text, with its own signals
// blocked, and puts the cursor at the end.
void upperCaseAsTyped(QLineEdit *edit);

struct MasterColumn
{
    enum Width { Hidden = -1, Stretch = 0 };
    QString header;
    int width; // pixels (user-resizable), or Hidden / Stretch
};

// A master list: the columns, whole-row selection, alternating rows (white and
// #f0f9ff), selection in #0284c7 with white text, no row header, not sortable.
void setupMasterTable(QTableWidget *table, const QList<MasterColumn> &columns);

// The text of a cell; empty when the cell holds nothing.
QString cellText(const QTableWidget *table, int row, int column);

// Replaces the rows of a master list: `cell(row, column)` gives the text of
// each cell, and `decorate`, when given, sets what else an item of a column
// shows (set on that column of every row, on every fill). Built for lists of
// many thousand rows: rows that stay keep their items.
void fillMasterTable(QTableWidget *table, int rowCount, const std::function<QString(int row, int column)> &cell,
                     const std::function<void(int row, int column, QTableWidgetItem *item)> &decorate = nullptr);
