#include "masterform.h"

#include "widgets/tablefill.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTableWidget>

void upperCaseAsTyped(QLineEdit *edit)
{
    QObject::connect(edit, &QLineEdit::textChanged, edit, [edit](const QString &text) {
        const QString upper = text.toUpper();
        if (upper == text)
            return;
        const QSignalBlocker blocker(edit);
        edit->setText(upper);
        edit->setCursorPosition(upper.size());
    });
}

void setupMasterTable(QTableWidget *table, const QList<MasterColumn> &columns)
{
    table->setColumnCount(columns.size());
    QStringList headers;
    for (const MasterColumn &c : columns)
        headers << c.header;
    table->setHorizontalHeaderLabels(headers);

    QHeaderView *header = table->horizontalHeader();
    header->setStretchLastSection(false);
    table->ensurePolished();
    header->ensurePolished();
    for (int i = 0; i < columns.size(); ++i) {
        const int width = columns[i].width;
        if (width == MasterColumn::Hidden) {
            table->setColumnHidden(i, true);
        } else if (width == MasterColumn::Stretch) {
            header->setSectionResizeMode(i, QHeaderView::Stretch);
        } else {
            header->setSectionResizeMode(i, QHeaderView::Interactive);
            // Never narrower than the column's (bold) heading.
            table->setColumnWidth(i, qMax(width, header->sectionSizeHint(i)));
        }
    }

    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setAlternatingRowColors(true);
    table->setSortingEnabled(false);
    table->verticalHeader()->setVisible(false);
    table->setStyleSheet("QTableWidget { background-color: white; alternate-background-color: #f0f9ff; "
                         "selection-background-color: #0284c7; selection-color: white; }\n"
                         "QTableWidget::item:selected { background-color: #0284c7; color: white; }");
}

QString cellText(const QTableWidget *table, int row, int column)
{
    const QTableWidgetItem *item = table->item(row, column);
    return item ? item->text() : QString();
}

void fillMasterTable(QTableWidget *table, int rowCount, const std::function<QString(int row, int column)> &cell,
                     const std::function<void(int row, int column, QTableWidgetItem *item)> &decorate)
{
    // Every cell is given on every fill with the same roles: rows that stay
    // keep their items.
    TableFill fill(table, rowCount, TableFill::Items::Kept);
    const int columns = table->columnCount();
    for (int r = 0; r < rowCount; ++r) {
        for (int c = 0; c < columns; ++c) {
            QTableWidgetItem *item = fill.add(r, c, cell(r, c));
            if (decorate)
                decorate(r, c, item);
        }
    }
}
