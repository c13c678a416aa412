#include "tablefill.h"

#include <QEvent>
#include <QFont>
#include <QHash>
#include <QStyledItemDelegate>
#include <QHeaderView>
#include <QTableWidget>

#include <algorithm>

namespace {

// The table's plain delegate, keeping the size of each text it measured.
// The size of a cell's text depends on the text, its alignment, the view's
// font and style and the item's features (wrapping, alternate row); a cell
// with a font, icon, check box or size hint of its own is measured afresh
// each time. The sizes are kept from fill to fill (a refill of the same
// period measures nothing again) until the table's font or style changes;
// past MaxSizes texts they are let go.
class TextSizeDelegate : public QStyledItemDelegate
{
public:
    explicit TextSizeDelegate(QTableWidget *table)
        : QStyledItemDelegate(table)
        , m_table(table)
    {
        table->installEventFilter(this);
    }

    // The view makes the delegate the event filter of each editor it opens
    // (Tab, Esc and Return close the editor there); on the table itself the
    // delegate only watches for a new look and lets every event through, so
    // the table keeps its keys.
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != parent())
            return QStyledItemDelegate::eventFilter(watched, event);
        if (event->type() == QEvent::StyleChange || event->type() == QEvent::FontChange)
            m_sizes.clear();
        return false;
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        // The table's model gives a cell's data from its item: read from the
        // item, each role costs a fraction of a question to the model (a
        // column sized to its contents asks for every row on every pass).
        const QTableWidgetItem *item = m_table->item(index.row(), index.column());
        const auto data = [item](int role) { return item ? item->data(role) : QVariant(); };
        if (data(Qt::FontRole).isValid() || data(Qt::DecorationRole).isValid() || data(Qt::CheckStateRole).isValid()
            || data(Qt::SizeHintRole).isValid())
            return QStyledItemDelegate::sizeHint(option, index);
        if (option.font != m_font || option.widget != m_widget
            || (option.widget && option.widget->style() != m_style)) {
            m_sizes.clear();
            m_font = option.font;
            m_widget = option.widget;
            m_style = option.widget ? option.widget->style() : nullptr;
        }
        // A row height asked for a given column width depends on that width
        // (wrapped text); a column width is asked with no width.
        // An alignment is held as flags, which toInt() reaches only through a
        // conversion.
        const QVariant alignment = data(Qt::TextAlignmentRole);
        const int aligned = alignment.metaType() == QMetaType::fromType<Qt::Alignment>()
                                ? int(alignment.value<Qt::Alignment>())
                                : alignment.toInt();
        const Key key{data(Qt::DisplayRole).toString(), aligned, option.rect.width(), int(option.features),
                      int(option.viewItemPosition)};
        const auto found = m_sizes.constFind(key);
        if (found != m_sizes.cend())
            return *found;
        const QSize size = QStyledItemDelegate::sizeHint(option, index);
        if (m_sizes.size() >= MaxSizes)
            m_sizes.clear();
        m_sizes.insert(key, size);
        return size;
    }

private:
    static constexpr qsizetype MaxSizes = 200000;

    struct Key
    {
        QString text;
        int alignment;
        int width;
        int features;
        int position;
        bool operator==(const Key &other) const
        {
            return alignment == other.alignment && width == other.width && features == other.features
                   && position == other.position && text == other.text;
        }
    };
    friend size_t qHash(const Key &key, size_t seed)
    {
        return qHash(key.text, seed) ^ size_t(key.alignment) ^ (size_t(key.width) << 8)
               ^ (size_t(key.features) << 24) ^ (size_t(key.position) << 20);
    }

    const QTableWidget *m_table;
    mutable QHash<Key, QSize> m_sizes;
    mutable QFont m_font;
    mutable const QWidget *m_widget = nullptr;
    mutable const QStyle *m_style = nullptr;
};

// Whether the rows of `table` may keep their items through a refill: nothing
// on them that a fresh fill would take away besides items and selection.
bool canKeepItems(const QTableWidget *table)
{
    if (table->verticalHeader()->hiddenSectionCount() > 0)
        return false;
    // Cell widgets and open editors are children of the viewport.
    const QObjectList &children = table->viewport()->children();
    return std::none_of(children.cbegin(), children.cend(),
                        [](const QObject *child) { return child->isWidgetType(); });
}

void useTextSizeDelegate(QTableWidget *table)
{
    QAbstractItemDelegate *current = table->itemDelegate();
    if (dynamic_cast<TextSizeDelegate *>(current))
        return;
    // Only the default delegate is replaced; a table with a delegate of its
    // own keeps it.
    if (current && current->metaObject() != &QStyledItemDelegate::staticMetaObject)
        return;
    table->setItemDelegate(new TextSizeDelegate(table));
    if (current && current->parent() == table)
        current->deleteLater();
}

} // namespace

TableFill::TableFill(QTableWidget *table, int rowCount)
    : TableFill(table, rowCount, Items::New)
{
}

TableFill::TableFill(QTableWidget *table, int rowCount, Items items)
    : m_table(table)
    , m_rows(qMax(0, rowCount))
    , m_columns(table->columnCount())
    , m_sorting(table->isSortingEnabled())
    , m_updates(table->updatesEnabled())
{
    m_table->setUpdatesEnabled(false);
    if (m_sorting)
        m_table->setSortingEnabled(false);
    useTextSizeDelegate(m_table);
    if (items == Items::Kept && canKeepItems(m_table))
        m_keptRows = qMin(m_table->rowCount(), m_rows);
    if (m_keptRows > 0) {
        // What taking every row away would clear.
        if (QItemSelectionModel *selection = m_table->selectionModel())
            selection->clear();
        m_table->clearSpans();
        m_table->setRowCount(m_rows);
        m_given.assign(size_t(m_keptRows) * m_columns, false);
        m_table->model()->blockSignals(true);
    } else {
        m_table->setRowCount(0);
        m_table->setRowCount(m_rows);
    }
    m_cells.reserve(qsizetype(m_rows - m_keptRows) * m_columns);
}

TableFill::~TableFill()
{
    finish();
}

QTableWidgetItem *TableFill::add(int row, int column, const QString &text)
{
    if (!m_finished && row >= 0 && row < m_keptRows && column >= 0 && column < m_columns) {
        if (QTableWidgetItem *kept = m_table->item(row, column)) {
            m_given[size_t(row) * m_columns + column] = true;
            // The item compares its text itself and tells the view nothing
            // when it stays.
            kept->setText(text);
            return kept;
        }
    }
    return add(row, column, new QTableWidgetItem(text));
}

QTableWidgetItem *TableFill::add(int row, int column, QTableWidgetItem *item)
{
    if (m_finished || row < 0 || row >= m_rows || column < 0 || column >= m_columns) {
        // A scratch item takes what the caller sets up; no table shows it.
        delete item;
        static QTableWidgetItem scratch;
        return &scratch;
    }
    if (row < m_keptRows) {
        // Into a kept row at once (the model is quiet already).
        m_given[size_t(row) * m_columns + column] = true;
        m_table->setItem(row, column, item);
        return item;
    }
    m_cells.append({row, column, item});
    return item;
}

void TableFill::finish()
{
    if (m_finished)
        return;
    m_finished = true;
    QAbstractItemModel *model = m_table->model();
    if (m_keptRows > 0) {
        // Kept cells not given again are empty now, as in a fresh fill.
        for (int r = 0; r < m_keptRows; ++r)
            for (int c = 0; c < m_columns; ++c)
                if (!m_given[size_t(r) * m_columns + c])
                    delete m_table->takeItem(r, c);
        m_given = {};
        model->blockSignals(false);
    }
    {
        const QSignalBlocker quiet(model);
        for (const Cell &cell : std::as_const(m_cells))
            m_table->setItem(cell.row, cell.column, cell.item);
    }
    m_cells = {};
    if (m_rows > 0 && m_columns > 0) {
        // The view, its headers and the delegate hear of the whole range once;
        // the table's own itemChanged/cellChanged stay quiet.
        const QSignalBlocker quietTable(m_table);
        emit model->dataChanged(model->index(0, 0), model->index(m_rows - 1, m_columns - 1));
        if (m_keptRows > 0) {
            // Rows that stayed were not inserted: the views lay them out (and
            // size columns to their contents) anew as after a fresh fill.
            emit model->layoutAboutToBeChanged();
            emit model->layoutChanged();
        }
    }
    if (m_sorting)
        m_table->setSortingEnabled(true);
    m_table->setUpdatesEnabled(m_updates);
}

void fillTableTexts(QTableWidget *table, const QList<QStringList> &cells, const QList<int> &rightAligned)
{
    TableFill fill(table, int(cells.size()), TableFill::Items::Kept);
    const int columns = table->columnCount();
    QList<bool> right(columns, false);
    for (int c : rightAligned)
        if (c >= 0 && c < columns)
            right[c] = true;
    for (int r = 0; r < cells.size(); ++r) {
        const QStringList &row = cells.at(r);
        const int n = qMin(int(row.size()), columns);
        for (int c = 0; c < n; ++c) {
            QTableWidgetItem *item = fill.add(r, c, row.at(c));
            if (right.at(c))
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        }
    }
}
