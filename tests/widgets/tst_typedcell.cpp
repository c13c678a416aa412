// Typed numbers read from table cells: a cell without an item is empty.

#include "widgets/typedcell.h"

#include <QTableWidget>
#include <QtTest>

class TestTypedCell : public QObject
{
    Q_OBJECT

private slots:
    void cells()
    {
        QTableWidget table(1, 3);
        table.setItem(0, 0, new QTableWidgetItem("7.5"));
        table.setItem(0, 2, new QTableWidgetItem("1e309"));
        QCOMPARE(readTypedCell(&table, 0, 0).value, 7.5);
        QVERIFY(readTypedCell(&table, 0, 1).isEmpty()); // no item
        QVERIFY(readTypedCell(table.item(0, 2)).isNotANumber());
        QVERIFY(readTypedCell(nullptr, 0, 0).isEmpty());
    }
};

QTEST_MAIN(TestTypedCell)
#include "tst_typedcell.moc"
