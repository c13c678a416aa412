#pragma once
// A column of check boxes for a list of thousands of rows. A check box is a
// widget of its own, and thousands of them make a table slow to fill and to
// scroll; here only the rows in and around the view carry one, made when they
// come near it. The tick itself lives in the row's item of the column, so it
// is kept while a row has no box.

#include <QList>
#include <QObject>

class QCheckBox;
class QTableWidget;
class QTableWidgetItem;

class CheckBoxColumn : public QObject
{
    Q_OBJECT

public:
    // The column `column` of `table`; the helper is a child of the table.
    CheckBoxColumn(QTableWidget *table, int column);

    // The item a filled row holds in the column: not ticked, and tickable
    // or not (a box that cannot be ticked is shown disabled).
    static QTableWidgetItem *makeItem(bool tickable);

    // Call after the rows were filled: puts the boxes near the view.
    void refresh();

    // The rows whose tick is set, top down.
    QList<int> tickedRows() const;

    // The box of a row, or null while the row has none.
    QCheckBox *checkBoxAt(int row) const;

    // Whether the row's box may be ticked (a box that may not is disabled).
    void setTickable(int row, bool tickable);

signals:
    // The user ticked or unticked the row's box; the row's item holds it already.
    void toggled(int row, bool ticked);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *makeCell(int row);

    QTableWidget *m_table;
    int m_column;
    int m_first = 0;
    int m_last = -1;
};
