#include "checkboxcolumn.h"

#include <QAbstractItemModel>
#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableWidget>

namespace {

const int TickedRole = Qt::UserRole + 20;
const int TickableRole = Qt::UserRole + 21;

// Rows above and below the visible ones that carry their box too, so that a
// short scroll finds them made.
const int Margin = 100;

} // namespace

CheckBoxColumn::CheckBoxColumn(QTableWidget *table, int column)
    : QObject(table)
    , m_table(table)
    , m_column(column)
{
    QScrollBar *scroll = table->verticalScrollBar();
    connect(scroll, &QScrollBar::valueChanged, this, &CheckBoxColumn::refresh);
    connect(scroll, &QScrollBar::rangeChanged, this, &CheckBoxColumn::refresh);
    table->viewport()->installEventFilter(this);
}

QTableWidgetItem *CheckBoxColumn::makeItem(bool tickable)
{
    auto *item = new QTableWidgetItem;
    item->setData(TickedRole, false);
    item->setData(TickableRole, tickable);
    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    return item;
}

bool CheckBoxColumn::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_table->viewport() && event->type() == QEvent::Resize)
        refresh();
    return QObject::eventFilter(watched, event);
}

void CheckBoxColumn::refresh()
{
    const int rows = m_table->rowCount();
    int first = 0;
    int last = -1;
    if (rows > 0) {
        const int height = m_table->viewport()->height();
        const int top = qMax(0, m_table->rowAt(0));
        int bottom = m_table->rowAt(height - 1);
        // Below the last row, or before the rows are laid out: as many rows
        // as the view holds.
        if (bottom < 0)
            bottom = top + height / qMax(1, m_table->verticalHeader()->defaultSectionSize());
        first = qMax(0, top - Margin);
        last = qMin(rows - 1, bottom + Margin);
    }
    for (int r = m_first; r <= m_last && r < rows; ++r) {
        if (r < first || r > last)
            m_table->removeCellWidget(r, m_column);
    }
    for (int r = first; r <= last; ++r) {
        if (!m_table->cellWidget(r, m_column) && m_table->item(r, m_column))
            m_table->setCellWidget(r, m_column, makeCell(r));
    }
    m_first = first;
    m_last = last;
}

QWidget *CheckBoxColumn::makeCell(int row)
{
    QTableWidgetItem *item = m_table->item(row, m_column);
    auto *box = new QCheckBox;
    box->setChecked(item->data(TickedRole).toBool());
    box->setEnabled(item->data(TickableRole).toBool());
    // The cell, not the row number, is followed: rows may move or go.
    const QPersistentModelIndex cellIndex(m_table->model()->index(row, m_column));
    QAbstractItemModel *model = m_table->model();
    connect(box, &QCheckBox::toggled, this, [this, model, cellIndex](bool ticked) {
        if (!cellIndex.isValid())
            return;
        model->setData(cellIndex, ticked, TickedRole);
        emit toggled(cellIndex.row(), ticked);
    });
    auto *cell = new QWidget;
    auto *layout = new QHBoxLayout(cell);
    layout->addWidget(box);
    layout->setAlignment(Qt::AlignCenter);
    layout->setContentsMargins(0, 0, 0, 0);
    return cell;
}

QList<int> CheckBoxColumn::tickedRows() const
{
    QList<int> ticked;
    for (int r = 0; r < m_table->rowCount(); ++r) {
        const QTableWidgetItem *item = m_table->item(r, m_column);
        if (item && item->data(TickedRole).toBool() && item->data(TickableRole).toBool())
            ticked.append(r);
    }
    return ticked;
}

void CheckBoxColumn::setTickable(int row, bool tickable)
{
    if (QTableWidgetItem *item = m_table->item(row, m_column))
        item->setData(TickableRole, tickable);
    if (QCheckBox *box = checkBoxAt(row))
        box->setEnabled(tickable);
}

QCheckBox *CheckBoxColumn::checkBoxAt(int row) const
{
    QWidget *cell = m_table->cellWidget(row, m_column);
    return cell ? cell->findChild<QCheckBox *>() : nullptr;
}
