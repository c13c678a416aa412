#include "tablelook.h"

#include <QBrush>
#include <QScrollBar>
#include <QTableWidget>

namespace {

QString brushText(const QTableWidgetItem *item, int role)
{
    const QVariant value = item->data(role);
    return value.isValid() ? value.value<QBrush>().color().name(QColor::HexArgb) : QString();
}

} // namespace

QStringList tableLook(const QTableWidget *table)
{
    QStringList look;
    for (int r = 0; r < table->rowCount(); ++r) {
        for (int c = 0; c < table->columnCount(); ++c) {
            const QString at = QStringLiteral("%1,%2: ").arg(r).arg(c);
            const QTableWidgetItem *item = table->item(r, c);
            if (!item) {
                look << at + QStringLiteral("none");
                continue;
            }
            look << at
                        + QStringList{item->text(), QString::number(item->data(Qt::TextAlignmentRole).toInt()),
                                      brushText(item, Qt::BackgroundRole), brushText(item, Qt::ForegroundRole),
                                      item->data(Qt::FontRole).isValid() ? item->font().toString() : QString(),
                                      QString::number(int(item->flags())), item->data(Qt::UserRole).toString()}
                              .join('|');
        }
    }
    QStringList selected;
    for (const QModelIndex &index : table->selectionModel()->selectedRows())
        selected << QString::number(index.row());
    look << QStringLiteral("current %1,%2").arg(table->currentRow()).arg(table->currentColumn())
         << QStringLiteral("selected ") + selected.join(',')
         << QStringLiteral("scrolled %1,%2")
                .arg(table->verticalScrollBar()->value())
                .arg(table->horizontalScrollBar()->value());
    return look;
}
