#include "appstyle.h"

#include <QAbstractItemDelegate>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QStyledItemDelegate>

namespace {

// The combo's own delegates draw rows as menu entries or plain items, past the
// view's style sheet rules.
bool hasBuiltInDelegate(const QComboBox *combo)
{
    const QAbstractItemDelegate *delegate = combo->itemDelegate();
    if (!delegate)
        return true;
    const QByteArray name = delegate->metaObject()->className();
    return name == "QComboMenuDelegate" || name == "QComboBoxDelegate";
}

void useItemViewDelegate(QComboBox *combo)
{
    if (hasBuiltInDelegate(combo))
        combo->setItemDelegate(new QStyledItemDelegate(combo));
}

// Gives each combo box the delegate as it is polished, before it is first
// shown, and again after a style change that put a built-in delegate back.
class ComboPopupStyler : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const QEvent::Type type = event->type();
        if (type == QEvent::Polish || type == QEvent::Show || type == QEvent::StyleChange) {
            if (auto *combo = qobject_cast<QComboBox *>(watched))
                useItemViewDelegate(combo);
        }
        return false;
    }
};

} // namespace

QStringList applicationStyleBlocks()
{
    return {
        QStringLiteral(
            "QScrollBar:vertical {    background: #f0f0f0;    width: 12px;    border-radius: 6px;} "
            "QScrollBar::handle:vertical {    background: #0078d4;    border-radius: 6px;    min-height: 30px;} "
            "QScrollBar::handle:vertical:hover {    background: #005fa3;} "
            "QScrollBar:horizontal {    background: #f0f0f0;    height: 12px;    border-radius: 6px;} "
            "QScrollBar::handle:horizontal {    background: #0078d4;    border-radius: 6px;    min-width: 30px;} "
            "QScrollBar::handle:horizontal:hover {    background: #005fa3;} "
            "QScrollBar::add-line, QScrollBar::sub-line {    background: none;    border: none;}"),
        QStringLiteral(
            "QComboBox QAbstractItemView {    selection-background-color: #0078d4;    selection-color: white;    outline: none;} "
            "QComboBox QAbstractItemView::item {    padding: 4px;    min-height: 24px;} "
            "QComboBox QAbstractItemView::item:hover {    background-color: #cce4f7;    color: black;} "
            "QComboBox QAbstractItemView::item:selected, QComboBox QAbstractItemView::item:focus {    background-color: #0078d4;    color: white;}"),
        QStringLiteral(
            "QCalendarWidget QWidget#qt_calendar_navigationbar, QCalendarWidget QToolButton, QCalendarWidget QSpinBox {"
            "    background-color: rgb(255, 255, 255);    color: rgb(0, 0, 0);}"),
        QStringLiteral(
            "QTableWidget {    alternate-background-color: #e8f4fd;    background-color: white;    gridline-color: #b0c4de;} "
            "QTableWidget::item:selected {    background-color: #0078d4;    color: white;} "
            "QTableWidget::item:hover {    background-color: #cce4f7;    color: black;} "
            "QHeaderView::section {    background-color: #d0e8f8;    color: #1a1a1a;    font-weight: bold;    border: 1px solid #b0c4de;    padding: 4px;}"),
    };
}

void styleComboPopups()
{
    static ComboPopupStyler *styler = nullptr;
    if (styler)
        return;
    styler = new ComboPopupStyler(qApp);
    qApp->installEventFilter(styler);
    const QList<QWidget *> widgets = QApplication::allWidgets();
    for (QWidget *widget : widgets)
        if (auto *combo = qobject_cast<QComboBox *>(widget))
            useItemViewDelegate(combo);
}

void appendApplicationStyle()
{
    for (const QString &block : applicationStyleBlocks()) {
        const QString current = qApp->styleSheet();
        qApp->setStyleSheet(current + block);
    }
}
