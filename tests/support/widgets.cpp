#include "widgets.h"

#include "widgets/formconventions.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QPushButton>
#include <QTableWidget>

void click(const QObject *parent, const char *name)
{
    child<QAbstractButton>(parent, name)->click();
}

QAbstractButton *buttonWithText(const QObject *parent, const QString &text)
{
    for (QPushButton *b : parent->findChildren<QPushButton *>()) {
        if (b->text() == text)
            return b;
    }
    return nullptr;
}

QString tableCell(const QTableWidget *table, int row, int column)
{
    const QTableWidgetItem *item = table->item(row, column);
    return item ? item->text() : QStringLiteral("<none>");
}

QStringList columnTexts(const QTableWidget *table, int column)
{
    QStringList texts;
    for (int row = 0; row < table->rowCount(); ++row)
        texts << tableCell(table, row, column);
    return texts;
}

QStringList comboTexts(const QComboBox *combo)
{
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i)
        texts << combo->itemText(i);
    return texts;
}

QStringList rowTexts(const QTableWidget *table, int row)
{
    QStringList texts;
    for (int column = 0; column < table->columnCount(); ++column)
        texts << tableCell(table, row, column);
    return texts;
}

namespace {

LoadBackMenus g_menus;

bool recordingChooser(QWidget *, const QPoint &globalPos, const QString &entryText)
{
    g_menus.entries << entryText;
    g_menus.positions << globalPos;
    return g_menus.choose;
}

} // namespace

LoadBackMenus &recordLoadBackMenus()
{
    g_menus = LoadBackMenus();
    g_loadBackChooser = recordingChooser;
    return g_menus;
}
