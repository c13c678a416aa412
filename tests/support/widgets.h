#pragma once
// Finding and working the child widgets of a window under test, and a
// recorder in place of the load-back menu.

#include <QApplication>
#include <QList>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <QWidget>

class QAbstractButton;
class QComboBox;
class QTableWidget;

// The child named `name`; stops the test program when there is none.
template<class W>
W *child(const QObject *parent, const char *name)
{
    W *w = parent->findChild<W *>(name);
    if (!w)
        qFatal("no %s named %s", W::staticMetaObject.className(), name);
    return w;
}

// Clicks the button named `name`.
void click(const QObject *parent, const char *name);

// The first push button showing `text`, or null.
QAbstractButton *buttonWithText(const QObject *parent, const QString &text);

// The text of a cell; "<none>" when the cell has no item.
QString tableCell(const QTableWidget *table, int row, int column);

// The texts of one column, top down.
QStringList columnTexts(const QTableWidget *table, int column);

// The texts of a combo's entries, in order.
QStringList comboTexts(const QComboBox *combo);

// The texts of one row, left to right.
QStringList rowTexts(const QTableWidget *table, int row);

// The parentless top-level windows of type W.
template<class W>
QList<W *> topLevelWindows()
{
    QList<W *> found;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *typed = qobject_cast<W *>(w); typed && !w->parent())
            found << typed;
    }
    return found;
}

// What the load-back menus offered while the recorder was installed, and
// whether the next menus choose their entry.
struct LoadBackMenus
{
    QStringList entries;
    QList<QPoint> positions;
    bool choose = true;
};

// Puts the recorder in place of the real menu and returns its (cleared) record.
LoadBackMenus &recordLoadBackMenus();
