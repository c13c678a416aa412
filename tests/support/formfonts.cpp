#include "formfonts.h"

#include "widgets/appstyle.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>

ApplicationStyleInTest::ApplicationStyleInTest()
    : m_earlier(qApp->styleSheet())
{
    appendApplicationStyle();
    styleComboPopups();
}

ApplicationStyleInTest::~ApplicationStyleInTest()
{
    qApp->setStyleSheet(m_earlier);
}

namespace {

bool showsText(const QWidget *widget)
{
    if (const auto *label = qobject_cast<const QLabel *>(widget))
        return !label->text().isEmpty();
    if (const auto *button = qobject_cast<const QAbstractButton *>(widget))
        return !button->text().isEmpty();
    return qobject_cast<const QLineEdit *>(widget) || qobject_cast<const QComboBox *>(widget)
           || qobject_cast<const QAbstractSpinBox *>(widget) || qobject_cast<const QAbstractItemView *>(widget);
}

bool insideOneOf(const QWidget *widget, const QStringList &names)
{
    for (const QWidget *w = widget; w; w = w->parentWidget()) {
        if (!w->objectName().isEmpty() && names.contains(w->objectName()))
            return true;
    }
    return false;
}

} // namespace

QStringList widgetsNotShowing(const QWidget *window, const QString &family, const QStringList &givenNoFont)
{
    QStringList wrong;
    for (const QWidget *widget : window->findChildren<QWidget *>()) {
        if (!showsText(widget) || insideOneOf(widget, givenNoFont))
            continue;
        // Pop-ups are windows of their own; a combo's list is checked below.
        if (widget->window() != window)
            continue;
        QString name = QString::fromLatin1(widget->metaObject()->className()) + ' ' + widget->objectName();
        if (widget->objectName().isEmpty() && widget->parentWidget())
            name += "of " + widget->parentWidget()->objectName();
        if (widget->font().family() != family)
            wrong << name;
        if (const auto *combo = qobject_cast<const QComboBox *>(widget); combo && combo->view()->font().family() != family)
            wrong << "pop-up of " + name;
    }
    return wrong;
}
