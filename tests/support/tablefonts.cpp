#include "tablefonts.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHeaderView>
#include <QTableWidget>
#include <QTest>

namespace {

bool sameFace(const QFont &a, const QFont &b)
{
    return a.family() == b.family() && a.pointSize() == b.pointSize();
}

void compare(const QWidget *part, const QFont &expected, QStringList *differing)
{
    if (!sameFace(part->font(), expected))
        *differing << QString::fromLatin1(part->metaObject()->className());
}

} // namespace

QStringList tablePartsWithOtherFont(QTableWidget *table)
{
    QStringList differing;
    const QFont font = table->font();
    compare(table->horizontalHeader(), font, &differing);
    compare(table->verticalHeader(), font, &differing);
    compare(table->viewport(), font, &differing);
    if (table->rowCount() > 0 && table->columnCount() > 0) {
        if (!table->item(0, 0))
            table->setItem(0, 0, new QTableWidgetItem);
        table->setCurrentCell(0, 0);
        table->editItem(table->item(0, 0));
        for (QWidget *editor : table->viewport()->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
            if (editor->isVisible()) {
                compare(editor, font, &differing);
                QTest::keyClick(editor, Qt::Key_Escape);
            }
        }
    }
    return differing;
}

QStringList cutHeaderSections(const QTableWidget *table)
{
    QStringList cut;
    const QHeaderView *header = table->horizontalHeader();
    for (int c = 0; c < table->columnCount(); ++c) {
        if (table->isColumnHidden(c))
            continue;
        if (header->sectionSize(c) < header->sectionSizeHint(c)) {
            const QTableWidgetItem *item = table->horizontalHeaderItem(c);
            cut << QStringLiteral("%1: %2").arg(c).arg(item ? item->text() : QString());
        }
    }
    return cut;
}
