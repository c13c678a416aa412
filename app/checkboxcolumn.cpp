#include "checkboxcolumn.h"

#include "tickcolumn.h"

#include <QTableWidget>

namespace {

TickColumn *ticks(QObject *object)
{
    return static_cast<TickColumn *>(object);
}

} // namespace

CheckBoxColumn::CheckBoxColumn(QTableWidget *table, int column)
    : QObject(table)
{
    auto *tickColumn = new TickColumn(table, column);
    m_ticks = tickColumn;
    connect(tickColumn, &TickColumn::toggled, this, &CheckBoxColumn::toggled);
}

QTableWidgetItem *CheckBoxColumn::makeItem(bool tickable)
{
    return TickColumn::newTick(tickable);
}

void CheckBoxColumn::refresh()
{
    ticks(m_ticks)->refresh();
}

QList<int> CheckBoxColumn::tickedRows() const
{
    return ticks(m_ticks)->tickedRows();
}

QCheckBox *CheckBoxColumn::checkBoxAt(int row) const
{
    return ticks(m_ticks)->checkBox(row);
}

void CheckBoxColumn::setTickable(int row, bool tickable)
{
    ticks(m_ticks)->setTickable(row, tickable);
}
