#pragma once
// The tick column under the names the invoice generation list uses. It hands
// every call to the one implementation, TickColumn (tickcolumn.h), which this
// header does not name, so that a file may keep a column called TickColumn.

#include <QList>
#include <QObject>

class QCheckBox;
class QTableWidget;
class QTableWidgetItem;

class CheckBoxColumn : public QObject
{
    Q_OBJECT

public:
    CheckBoxColumn(QTableWidget *table, int column);

    static QTableWidgetItem *makeItem(bool tickable);
    void refresh();
    QList<int> tickedRows() const;
    QCheckBox *checkBoxAt(int row) const;
    void setTickable(int row, bool tickable);

signals:
    // The row's box was ticked or unticked.
    void toggled(int row, bool ticked);

private:
    QObject *m_ticks; // the TickColumn
};
