#include "tickcell.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QTableWidget>

QCheckBox *placeTickBox(QTableWidget *table, int row, int column)
{
    auto *cell = new QWidget;
    auto *layout = new QHBoxLayout(cell);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setAlignment(Qt::AlignCenter);
    auto *box = new QCheckBox(cell);
    layout->addWidget(box);
    table->setCellWidget(row, column, cell);
    return box;
}

QCheckBox *tickBoxAt(const QTableWidget *table, int row, int column)
{
    QWidget *cell = table->cellWidget(row, column);
    return cell ? cell->findChild<QCheckBox *>() : nullptr;
}

bool isTicked(const QTableWidget *table, int row, int column)
{
    const QCheckBox *box = tickBoxAt(table, row, column);
    return box && box->isChecked();
}
