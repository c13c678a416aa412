#pragma once
// Filling a QTableWidget with thousands of rows quickly: the one way every
// list and report of the program puts its rows on screen.
//
// Where the time of a plain fill goes (20,000 rows of 12 columns, measured
// with the job-work lists):
//   - every setItem() makes the model emit dataChanged for its cell, and the
//     table answers each with itemChanged and cellChanged, a repaint request
//     and a sorting check: about half of the time of putting the items in;
//   - a colour or alignment set on an item that is already in the table does
//     all of that once more;
//   - columns sized to their contents (QHeaderView::ResizeToContents) ask the
//     item delegate for the size of up to 1,000 cells per column, and the
//     header lays itself out two to four times on a first fill (once more
//     when the scroll bars come and go), each pass measuring every text
//     again through the style (and the form's style sheet);
//   - a table with sorting on moves each row as its sorted column is set.
//
// TableFill removes those costs and keeps what the table shows identical:
// the same items, texts, colours, alignment, data, column widths and order.
//   - The rows are replaced in one step; items are built first, so their
//     colours, alignment, flags and data are set while they belong to no
//     table (no signal), and go into the table with the model's signals held
//     back; the view then hears of the whole range once.
//   - Updates and sorting are off during the fill; sorting (when it was on)
//     sorts once at the end, as the sort indicator says.
//   - A plain QStyledItemDelegate of the table is replaced by one that keeps
//     the size of each text it has measured, so a column sized to its
//     contents measures every distinct text once, whatever the number of
//     header passes (a row sized to wrapped contents: once per column
//     width). Cells with their own font, icon, check box or size hint are
//     measured every time. The header's resize modes stay as they are.
//   - With Items::Kept (below) a refill keeps the items of the rows that
//     stay: deleting and building hundreds of thousands of items (three
//     small allocations each, plus the text) is the largest cost left.
//
// itemChanged and cellChanged are NOT emitted for the filled cells (a form
// that fills lines it also edits guards its change slots anyway); every other
// signal of the model and the view is as with a plain fill.
//
// Use it for a list:
//
//     TableFill fill(table, rows.size());
//     for (int r = 0; r < rows.size(); ++r) {
//         fill.add(r, 0, rows.at(r).number);
//         fill.add(r, 4, quantityText(rows.at(r).qty))
//             ->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
//     }
//     fill.finish(); // or let `fill` go out of scope
//
// (a report that sets the same roles on every row and every fill passes
// TableFill::Items::Kept as a third argument), or, for rows of plain texts,
// fillTableTexts(table, cells, {4}), which keeps items.

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTableWidgetItem>

#include <cstring>
#include <functional>
#include <vector>

class QTableWidget;

class TableFill
{
public:
    // Removes every row of `table` and makes `rowCount` empty rows; the
    // column count stays. The table shows nothing new until finish(). A
    // table's own signals stay quiet for the filled cells; so do the model's
    // until finish().
    TableFill(QTableWidget *table, int rowCount);

    // Kept items: for a list whose every cell is given each time with the
    // same kinds of data (the same roles set on every fill, as a report's
    // text, alignment and colour), the rows that stay keep their items and
    // take the new texts and data in place: a refill of the same period
    // then builds and deletes nothing. Rows and cells beyond are as with a
    // fresh fill; selection, current cell and spans are cleared as a fresh
    // fill clears them. A table with cell widgets, open editors or hidden
    // rows is filled afresh. Do not use it where a role is set on some fills
    // and not on others (it would stay from the earlier fill).
    enum class Items { New, Kept };
    TableFill(QTableWidget *table, int rowCount, Items items);
    // Finishes the fill when finish() was not called.
    ~TableFill();

    TableFill(const TableFill &) = delete;
    TableFill &operator=(const TableFill &) = delete;

    // A new item showing `text` for cell (row, column) (with Items::Kept,
    // the cell's item when its row stays, given `text`); a new item goes into the
    // table at finish(). Set its alignment, colours, flags and data on the
    // returned item (cheap until then). Give each cell once (a cell given
    // twice keeps the later item). A cell outside the table, or one given
    // after finish(), is dropped and its item deleted; the call then returns
    // a scratch item that no table shows.
    QTableWidgetItem *add(int row, int column, const QString &text);
    // Puts an item the caller made; the table owns it from finish() on.
    QTableWidgetItem *add(int row, int column, QTableWidgetItem *item);

    // Puts the items into the table, tells the view once, turns sorting
    // (when it was on) and updates back on. Later calls do nothing.
    void finish();

private:
    struct Cell
    {
        int row;
        int column;
        QTableWidgetItem *item;
    };
    QTableWidget *m_table;
    int m_rows;
    int m_columns;
    bool m_sorting;
    bool m_updates;
    bool m_finished = false;
    int m_keptRows = 0;            // rows 0..m_keptRows-1 keep their items
    std::vector<bool> m_given;     // kept cells given again, row by row
    QList<Cell> m_cells;
};

// Replaces the rows of `table` by `cells`, one list of texts per row (a row
// shorter than the column count leaves its last cells empty). The columns in
// `rightAligned` are aligned right and vertically centred. The items hold
// only that, so rows that stay keep their items (TableFill::Items::Kept).
void fillTableTexts(QTableWidget *table, const QList<QStringList> &cells, const QList<int> &rightAligned = {});

// The cells of a list that repeat a value and its look (a figure, a date, a
// colour): a cell made anew is a copy (clone()) of the first cell made for
// its key, and shares its texts and look with it until either is changed
// (an edit gives the cell its own), so each distinct cell is made, and its
// look set, once. Key by column as well where columns differ. Use one for a
// fill; the first cells go with it.
template<class Key>
class RepeatedCells
{
public:
    RepeatedCells() = default;
    RepeatedCells(const RepeatedCells &) = delete;
    RepeatedCells &operator=(const RepeatedCells &) = delete;
    ~RepeatedCells() { qDeleteAll(m_first); }

    // The first cell of `key`: the new item make() gives, on first use.
    template<class Make>
    const QTableWidgetItem &first(const Key &key, Make &&make)
    {
        QTableWidgetItem *&first = m_first[key];
        if (!first)
            first = make();
        return *first;
    }

private:
    QHash<Key, QTableWidgetItem *> m_first;
};

// The new cells of a list's columns, made row by row: a cell showing the
// text and look of the cell made just before it in its column is a copy of
// that one and shares its data (an entry's texts on each of its lines, a
// date down the list); any other is made by make(). Unlike RepeatedCells it
// keeps nothing more, so a column of texts that seldom repeat costs no more
// than cells made anew. `look` tells apart cells of one text whose look
// differs. Use one for a fill.
class CellsAbove
{
public:
    explicit CellsAbove(int columns) : m_above(columns) {}

    template<class Make>
    QTableWidgetItem *item(int column, const QString &text, int look, Make &&make)
    {
        Above &above = m_above[column];
        if (above.item && above.look == look && above.text == text)
            return above.item->clone();
        above = {make(), text, look};
        return above.item;
    }

    // Gives row `row` of `fill` its `cells`: a row `kept` from the last fill
    // (TableFill::Items::Kept) takes them into its own items, a new row has
    // its items from item(). dress(item, column) sets the alignment and look
    // of either and returns the item.
    template<class Dress>
    void addRow(TableFill &fill, int row, bool kept, const QStringList &cells, int look, const Dress &dress)
    {
        for (int c = 0; c < cells.size(); ++c) {
            const QString &text = cells.at(c);
            if (kept)
                dress(fill.add(row, c, text), c);
            else
                fill.add(row, c, item(c, text, look, [&] { return dress(new QTableWidgetItem(text), c); }));
        }
    }

private:
    struct Above
    {
        QTableWidgetItem *item = nullptr; // the table's (or the fill's) own
        QString text;
        int look = 0;
    };
    QList<Above> m_above;
};
