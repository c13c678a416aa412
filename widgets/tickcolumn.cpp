#include "tickcolumn.h"

#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableWidget>

namespace {

const int TickedRole = Qt::UserRole;
// Far above the roles the lists keep on their tick items (a phone, a key).
const int UntickableRole = Qt::UserRole + 1000;

// Rows above and below the visible ones that carry their check box too.
const int Margin = 30;

} // namespace

TickColumn::TickColumn(QTableWidget *table, int column)
    : QObject(table)
    , m_table(table)
    , m_column(column)
{
    QScrollBar *scroll = table->verticalScrollBar();
    connect(scroll, &QScrollBar::valueChanged, this, &TickColumn::refresh);
    connect(scroll, &QScrollBar::rangeChanged, this, &TickColumn::refresh);
    table->viewport()->installEventFilter(this);
}

QTableWidgetItem *TickColumn::newTick(bool tickable)
{
    auto *tick = new QTableWidgetItem;
    tick->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    tick->setData(TickedRole, false);
    if (!tickable)
        tick->setData(UntickableRole, true);
    return tick;
}

void TickColumn::refresh()
{
    const int rows = m_table->rowCount();
    QPair<int, int> wanted{0, -1};
    if (rows > 0) {
        const int height = m_table->viewport()->height();
        const int top = qMax(0, m_table->rowAt(0));
        int bottom = m_table->rowAt(height - 1);
        // Below the last row, or before the rows are laid out: as many rows
        // as the view holds.
        if (bottom < 0)
            bottom = top + height / qMax(1, m_table->verticalHeader()->defaultSectionSize());
        wanted = {qMax(0, top - Margin), qMin(rows - 1, bottom + Margin)};
    }
    m_leaving.removeIf([](const QPointer<QWidget> &cell) { return cell.isNull(); });
    for (int r = m_placed.first; r <= m_placed.second && r < rows; ++r) {
        if (r < wanted.first || r > wanted.second) {
            // The table deletes the box at the next event loop pass.
            if (QWidget *cell = m_table->cellWidget(r, m_column)) {
                m_table->removeCellWidget(r, m_column);
                m_leaving << cell;
            }
        }
    }
    for (int r = wanted.first; r <= wanted.second; ++r) {
        if (!m_table->cellWidget(r, m_column) && m_table->item(r, m_column))
            m_table->setCellWidget(r, m_column, makeCell(r));
    }
    m_placed = wanted;
}

void TickColumn::dropBoxes()
{
    // The table lets a removed cell widget go only at the next event loop
    // pass, so it would still be in the table during the fill: the boxes are
    // deleted here, with those the last refreshes took away.
    for (int r = m_placed.first; r <= m_placed.second && r < m_table->rowCount(); ++r) {
        QWidget *cell = m_table->cellWidget(r, m_column);
        m_table->removeCellWidget(r, m_column);
        delete cell;
    }
    m_placed = {0, -1};
    for (const QPointer<QWidget> &cell : std::as_const(m_leaving))
        delete cell.data();
    m_leaving.clear();
}

bool TickColumn::isTicked(int row) const
{
    const QTableWidgetItem *tick = m_table->item(row, m_column);
    return tick && tick->data(TickedRole).toBool();
}

void TickColumn::setTicked(int row, bool ticked)
{
    QTableWidgetItem *tick = m_table->item(row, m_column);
    if (!tick)
        return;
    if (QCheckBox *box = checkBox(row)) {
        box->setChecked(ticked); // the box writes the item and tells
        return;
    }
    if (tick->data(TickedRole).toBool() == ticked)
        return;
    tick->setData(TickedRole, ticked);
    emit stateChanged(ticked ? Qt::Checked : Qt::Unchecked);
    emit toggled(row, ticked);
}

void TickColumn::setTickable(int row, bool tickable)
{
    QTableWidgetItem *tick = m_table->item(row, m_column);
    if (!tick)
        return;
    if (tick->data(UntickableRole).toBool() == !tickable)
        return;
    tick->setData(UntickableRole, !tickable);
    if (QCheckBox *box = checkBox(row))
        box->setEnabled(tickable);
}

QList<int> TickColumn::tickedRows() const
{
    QList<int> rows;
    for (int r = 0; r < m_table->rowCount(); ++r) {
        if (isTicked(r) && !m_table->item(r, m_column)->data(UntickableRole).toBool())
            rows << r;
    }
    return rows;
}

QCheckBox *TickColumn::checkBox(int row) const
{
    QWidget *cell = m_table->cellWidget(row, m_column);
    return cell ? cell->findChild<QCheckBox *>() : nullptr;
}

void TickColumn::setBoxProperties(std::function<QVariantMap(int row)> properties)
{
    m_boxProperties = std::move(properties);
}

bool TickColumn::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize)
        refresh();
    return QObject::eventFilter(watched, event);
}

QWidget *TickColumn::makeCell(int row)
{
    QTableWidgetItem *tick = m_table->item(row, m_column);
    auto *box = new QCheckBox;
    box->setChecked(tick->data(TickedRole).toBool());
    box->setEnabled(!tick->data(UntickableRole).toBool());
    if (m_boxProperties) {
        const QVariantMap properties = m_boxProperties(row);
        for (auto it = properties.cbegin(); it != properties.cend(); ++it)
            box->setProperty(it.key().toUtf8().constData(), it.value());
    }
    connect(box, &QCheckBox::stateChanged, this, [this, tick](int state) {
        tick->setData(TickedRole, state == Qt::Checked);
        emit stateChanged(state);
        emit toggled(m_table->row(tick), state == Qt::Checked);
    });
    auto *cell = new QWidget;
    auto *layout = new QHBoxLayout(cell);
    layout->addWidget(box);
    layout->setAlignment(Qt::AlignCenter);
    layout->setContentsMargins(0, 0, 0, 0);
    return cell;
}
