#include "completerpopup.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QMouseEvent>
#include <QPointer>

namespace {

// Gives the focus as a click of the user does: to the widget clicked, or the
// nearest of its parents that takes the focus by a click; none when the
// widget that has the focus is on the way.
void giveClickFocus(QWidget *widget, QPoint localPos)
{
    while (widget) {
        QWidget *proxied = widget;
        while (proxied->focusProxy())
            proxied = proxied->focusProxy();
        if (widget->isEnabled() && widget->rect().contains(localPos)
            && (widget->focusPolicy() & Qt::ClickFocus) && (proxied->focusPolicy() & Qt::ClickFocus)) {
            widget->setFocus(Qt::MouseFocusReason);
            return;
        }
        if (widget->isWindow() || proxied->hasFocus())
            return;
        localPos += widget->pos();
        widget = widget->parentWidget();
    }
}

// Presses and releases `button` on `target` at the global point `globalPos`.
void clickAt(QWidget *target, QPoint globalPos, Qt::MouseButton button, Qt::KeyboardModifiers modifiers)
{
    const QPoint local = target->mapFromGlobal(globalPos);
    const QPoint inWindow = target->window()->mapFromGlobal(globalPos);
    giveClickFocus(target, local);
    QMouseEvent press(QEvent::MouseButtonPress, local, inWindow, globalPos, button, button, modifiers);
    QCoreApplication::sendEvent(target, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, inWindow, globalPos, button, Qt::NoButton, modifiers);
    QCoreApplication::sendEvent(target, &release);
}

bool blockedByModal(const QWidget *widget)
{
    const QWidget *modal = QApplication::activeModalWidget();
    return modal && modal != widget->window() && !modal->isAncestorOf(widget);
}

// The property that marks a list whose outside clicks pass on.
const char *const PassesClicks = "passesClicksPastPopup";

// Watches the whole application: its filter runs before those of the lists
// themselves, among them the completer's, which would swallow the press.
class ClickPastPopup : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::MouseButtonPress || !watched->isWidgetType()
            || !watched->property(PassesClicks).toBool())
            return false;
        auto *popup = static_cast<QWidget *>(watched);
        const auto *press = static_cast<QMouseEvent *>(event);
        const QPoint globalPos = press->globalPosition().toPoint();
        if (popup->rect().contains(popup->mapFromGlobal(globalPos)))
            return false; // a suggestion chosen, or the list scrolled
        popup->hide();
        QPointer<QWidget> target = QApplication::widgetAt(globalPos);
        if (!target || blockedByModal(target))
            return true;
        const Qt::MouseButton button = press->button();
        const Qt::KeyboardModifiers modifiers = press->modifiers();
        // After the list has gone and the focus is back in its field.
        QMetaObject::invokeMethod(
            target,
            [target, globalPos, button, modifiers] {
                if (target && target->isVisible())
                    clickAt(target, globalPos, button, modifiers);
            },
            Qt::QueuedConnection);
        return true;
    }
};

} // namespace

void passClicksPastPopup(QCompleter *completer)
{
    Q_ASSERT(completer->widget());
    static ClickPastPopup *const filter = [] {
        auto *f = new ClickPastPopup(qApp);
        qApp->installEventFilter(f);
        return f;
    }();
    Q_UNUSED(filter);
    completer->popup()->setProperty(PassesClicks, true);
}
