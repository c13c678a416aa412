#include "tickcells.h"

#include <QCheckBox>
#include <QTableWidget>
#include <QtTest>

QCheckBox *tickBox(const QTableWidget *table, int row, int column)
{
    QWidget *cell = table->cellWidget(row, column);
    return cell ? cell->findChild<QCheckBox *>() : nullptr;
}

void clickTickBox(const QTableWidget *table, int row, int column)
{
    QCheckBox *box = tickBox(table, row, column);
    QVERIFY2(box, qPrintable(QString("row %1 carries no check box").arg(row)));
    box->click();
}
