#pragma once
// A column of check boxes in a list of thousands of rows.
//
// A check box is a widget of its own and thousands of them make a table
// crawl, so each row keeps its tick in its item of the column and only the
// rows in and around the view carry a check box (centred in a plain cell
// widget). Scrolling and resizing move the boxes along.

#include <QList>
#include <QObject>
#include <QPair>
#include <QPointer>
#include <QVariantMap>

#include <functional>

class QCheckBox;
class QTableWidget;
class QTableWidgetItem;

class TickColumn : public QObject
{
    Q_OBJECT

public:
    TickColumn(QTableWidget *table, int column);

    // A tick item (unticked) for a row's cell of the column; fill every row
    // with one, then refresh() once the fill is done. A row that may not be
    // ticked (a cancelled document) shows its box disabled.
    static QTableWidgetItem *newTick(bool tickable = true);
    // Places the boxes for the rows in view; drops the boxes of rows no
    // longer there. Call after a fill.
    void refresh();
    // Takes every box away at once (deleted now, not later); the ticks stay
    // in the items. A fill that keeps the items of its rows
    // (TableFill::Items::Kept) needs a table without cell widgets: call this
    // before it, refresh() after it.
    void dropBoxes();

    bool isTicked(int row) const;
    void setTicked(int row, bool ticked);
    // Whether the row may be ticked now; a row that may not shows its box
    // disabled and is not among the ticked rows.
    void setTickable(int row, bool tickable);
    // Rows whose tick is set, top to bottom (rows without a tick item, and
    // rows that may not be ticked, are passed over).
    QList<int> tickedRows() const;
    // The row's check box while it is in view, else null.
    QCheckBox *checkBox(int row) const;
    // Dynamic properties every box carries, read from its row (by name) when
    // the box is made; set before the first refresh().
    void setBoxProperties(std::function<QVariantMap(int row)> properties);

signals:
    // A box was ticked or unticked by the user or by setTicked.
    void stateChanged(int state);
    // The same, with the row.
    void toggled(int row, bool ticked);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *makeCell(int row);

    QTableWidget *m_table;
    int m_column;
    QPair<int, int> m_placed{0, -1}; // first and last row that carry a box
    QList<QPointer<QWidget>> m_leaving; // boxes taken away, not yet deleted
    std::function<QVariantMap(int row)> m_boxProperties;
};
