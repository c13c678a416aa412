#include "screenfit.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QBoxLayout>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QWindow>

namespace {

// What a window manager puts around a window, before any window of the
// program has been framed: a title bar and thin borders.
const QMargins UnframedGuess(8, 32, 8, 8);

// The frame of a shown window that the window manager frames as it frames a
// window at its own size (a maximised window may lose its borders).
QMargins shownFrame(const QWidget *window)
{
    if (!window->isVisible() || !window->windowHandle()
        || (window->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
        return QMargins();
    return window->windowHandle()->frameMargins();
}

// The frame the window has, or, before it is shown, the frame of another
// shown window of the program (the window manager frames them alike).
QMargins expectedFrame(const QWidget *window)
{
    QMargins frame = shownFrame(window);
    if (!frame.isNull())
        return frame;
    for (const QWidget *other : QApplication::topLevelWidgets()) {
        if (other == window || (other->windowType() != Qt::Window && other->windowType() != Qt::Dialog))
            continue;
        frame = shownFrame(other);
        if (!frame.isNull())
            return frame;
    }
    return UnframedGuess;
}

bool holds(const QSize &room, const QSize &size)
{
    return size.width() <= room.width() && size.height() <= room.height();
}

// The widget that holds what the window shows.
QWidget *contentOf(QWidget *window)
{
    if (auto *main = qobject_cast<QMainWindow *>(window))
        return main->centralWidget();
    return window;
}

// The smallest size at which the content shows whole. Content placed at fixed
// positions (no layout) needs all of it.
QSize neededSize(QWidget *window, const QSize &designed)
{
    QSize minimum = window->minimumSizeHint();
    if (!minimum.isValid())
        minimum = QSize(0, 0);
    minimum = minimum.expandedTo(window->minimumSize());
    const QWidget *content = contentOf(window);
    if (content && !content->layout())
        minimum = minimum.expandedTo(content == window ? designed : content->size());
    return minimum;
}

// Room kept around a widget scrolled into view, so that its neighbours show
// where it lies.
const int FocusMargin = 8;

// Scrolls one bar, no further than needed, so that [start, start + length)
// shows in the view of `shown` pixels starting at the bar's value. A part
// longer than the view is left where it fills half the view or more (a
// click in a wide list does not move it); else it is brought to fill the view.
void scrollBarTo(QScrollBar *bar, int start, int length, int shown)
{
    const int first = bar->value();
    const int end = start + length;
    if (length > shown) {
        if (qMin(end, first + shown) - qMax(start, first) >= shown / 2)
            return;
    } else if (start >= first && end <= first + shown) {
        return;
    }
    // A part that fits the view is brought in on the side where it lies out;
    // a longer one fills the view from the side where it lies.
    const bool fromStart = length <= shown ? start < first : start > first;
    bar->setValue(fromStart ? start : end - shown);
}

// Scrolls the area so that the whole of `widget` shows, or as much of it as
// the lists it lies in show.
void showWhole(QScrollArea *area, QWidget *widget)
{
    QWidget *content = area->widget();
    if (!content || !content->isAncestorOf(widget))
        return;
    QRect part(widget->mapTo(content, QPoint(0, 0)), widget->size());
    // Within a list (a cell's editor) only the part the list shows counts.
    for (QWidget *p = widget->parentWidget(); p && p != content; p = p->parentWidget()) {
        if (auto *view = qobject_cast<QAbstractScrollArea *>(p))
            part &= QRect(view->viewport()->mapTo(content, QPoint(0, 0)), view->viewport()->size());
    }
    if (part.isEmpty())
        return;
    part.adjust(-FocusMargin, -FocusMargin, FocusMargin, FocusMargin);
    part &= content->rect();
    scrollBarTo(area->horizontalScrollBar(), part.left(), part.width(), area->viewport()->width());
    scrollBarTo(area->verticalScrollBar(), part.top(), part.height(), area->viewport()->height());
}

// Keeps the focused widget in view where the focus moves without the mouse:
// Tab and Backtab, a shortcut, or the program (a refused field it returns
// to, a cell's editor opened by a key) scroll the whole widget into view
// (the area's own rule shows only a field's cursor, and only on Tab). A
// widget the user clicks stays where it was clicked: neither the focus a
// click gives, nor a focus the click's own handling moves, nor an editor
// opening on the spot last clicked scrolls; the focus coming back to where
// it was left (a window brought to the front, a pop-up or menu closed)
// scrolls nothing either.
class FocusFollower : public QObject
{
public:
    static void install()
    {
        static FocusFollower *follower = nullptr;
        if (!follower) {
            follower = new FocusFollower(qApp);
            qApp->installEventFilter(follower);
        }
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!watched->isWidgetType())
            return false;
        const QEvent::Type type = event->type();
        if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick
            || type == QEvent::MouseButtonRelease) {
            if (type != QEvent::MouseButtonRelease) {
                m_pressWindow = static_cast<QWidget *>(watched)->window();
                m_pressAt = static_cast<QMouseEvent *>(event)->globalPosition().toPoint();
            }
            // What the click does (a slot moving the focus) happens before
            // the events posted meanwhile are handled.
            if (!m_handlingClick) {
                m_handlingClick = true;
                QMetaObject::invokeMethod(this, [this] { m_handlingClick = false; }, Qt::QueuedConnection);
            }
        } else if (type == QEvent::FocusIn) {
            follow(static_cast<QWidget *>(watched), static_cast<QFocusEvent *>(event)->reason());
        }
        return false;
    }

private:
    using QObject::QObject;

    void follow(QWidget *now, Qt::FocusReason reason)
    {
        // An open pop-up (a combo's list) stays by its widget.
        if (QApplication::activePopupWidget())
            return;
        QScrollArea *area = areaAround(now);
        if (!area)
            return;
        switch (reason) {
        case Qt::TabFocusReason:
        case Qt::BacktabFocusReason:
        case Qt::ShortcutFocusReason:
            break;
        case Qt::OtherFocusReason:
            if (m_handlingClick || coversLastClick(now))
                return;
            break;
        default:
            return;
        }
        showWhole(area, now);
    }

    // Whether `widget` lies under the spot of the window last clicked.
    bool coversLastClick(const QWidget *widget) const
    {
        return m_pressWindow == widget->window() && widget->rect().contains(widget->mapFromGlobal(m_pressAt));
    }

    // The fitted window's scroll area whose content holds `widget`.
    static QScrollArea *areaAround(QWidget *widget)
    {
        for (QWidget *p = widget->parentWidget(); p && !p->isWindow(); p = p->parentWidget()) {
            auto *area = qobject_cast<QScrollArea *>(p);
            if (area && area->objectName() == QLatin1String("screenFitArea") && area->widget()
                && area->widget()->isAncestorOf(widget))
                return area;
        }
        return nullptr;
    }

    QPointer<QWidget> m_pressWindow;
    QPoint m_pressAt;
    bool m_handlingClick = false;
};

QScrollArea *scrollAround(QWidget *content)
{
    auto *area = new QScrollArea;
    area->setObjectName(QStringLiteral("screenFitArea"));
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setWidget(content);
    // The window's own background shows through, as it did without the area.
    content->setAutoFillBackground(false);
    area->viewport()->setAutoFillBackground(false);
    FocusFollower::install();
    return area;
}

// Moves what a plain widget, form or dialog shows into a new widget: its
// top-level box layout with every item, or, without layout, its children at
// their fixed positions.
QWidget *takeContent(QWidget *form)
{
    auto *content = new QWidget;
    content->setObjectName(QStringLiteral("screenFitContent"));
    QLayout *old = form->layout();
    auto *box = qobject_cast<QBoxLayout *>(old);
    if (old && !box)
        return nullptr; // no other kind of top-level layout is used

    if (!old) {
        QSize extent = form->size();
        const QRect children = form->childrenRect();
        extent = extent.expandedTo(QSize(children.right() + 1, children.bottom() + 1));
        const QList<QWidget *> widgets = form->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
        for (QWidget *w : widgets) {
            if (!w->isWindow())
                w->setParent(content); // keeps its position; explicitly hidden ones stay hidden
        }
        content->setMinimumSize(extent);
        return content;
    }

    auto *moved = new QBoxLayout(box->direction(), content);
    moved->setContentsMargins(box->contentsMargins());
    moved->setSpacing(box->spacing());
    moved->setSizeConstraint(QLayout::SetDefaultConstraint);
    QList<int> stretches;
    while (box->count() > 0) {
        stretches << box->stretch(0);
        const Qt::Alignment alignment = box->itemAt(0)->alignment();
        QLayoutItem *item = box->takeAt(0);
        if (QLayout *layout = item->layout()) {
            moved->addLayout(layout);
        } else if (QWidget *w = item->widget()) {
            delete item;
            w->setParent(content);
            moved->addWidget(w, 0, alignment);
        } else {
            moved->addItem(item);
        }
    }
    for (int i = 0; i < stretches.size(); ++i)
        moved->setStretch(i, stretches.at(i));
    delete old;
    return content;
}

// Puts the window's content into a scroll area; false when it cannot.
bool scrollContent(QWidget *window)
{
    if (auto *main = qobject_cast<QMainWindow *>(window)) {
        if (!main->centralWidget())
            return false;
        QWidget *central = main->takeCentralWidget();
        if (!central->layout()) {
            const QRect children = central->childrenRect();
            central->setMinimumSize(central->size().expandedTo(QSize(children.right() + 1, children.bottom() + 1)));
        }
        main->setCentralWidget(scrollAround(central));
        return true;
    }
    QWidget *content = takeContent(window);
    if (!content)
        return false;
    auto *layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scrollAround(content));
    return true;
}

// Marks on a fitted window: that it is watched, and that its content
// scrolls (or cannot be made to).
const char *const WatchedMark = "screenFitWatched";
const char *const ScrolledMark = "screenFitScrolled";
const char *const PendingMark = "screenFitPending";

struct Room
{
    QRect area;     // the screen's available area
    QMargins frame; // the window manager's frame
    QSize inside;   // the area less the frame
};

Room roomFor(QWidget *window)
{
    Room room;
    room.area = window->screen()->availableGeometry();
    room.frame = expectedFrame(window);
    room.inside = QSize(room.area.width() - room.frame.left() - room.frame.right(),
                        room.area.height() - room.frame.top() - room.frame.bottom());
    return room;
}

bool isMaximised(const QWidget *window)
{
    return window->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen);
}

// Puts the content into a scroll area, once; the window's own minimum may
// then not keep it larger than the room.
void scrollWithin(QWidget *window, const QSize &room)
{
    window->setProperty(ScrolledMark, true);
    if (!scrollContent(window))
        return;
    // The layout now asks for the scroll area's small minimum; a minimum the
    // window sets itself may not keep it larger than the screen.
    if (window->layout())
        window->layout()->activate();
    if (!holds(room, window->minimumSize()))
        window->setMinimumSize(window->minimumSize().boundedTo(room));
}

// Places a window that does not maximise: `size` at most the room, the
// whole frame on the screen.
void placeWithin(QWidget *window, const Room &room, const QSize &size)
{
    const QSize bounded = size.boundedTo(room.inside);
    window->resize(bounded);
    const int frameWidth = bounded.width() + room.frame.left() + room.frame.right();
    const int frameHeight = bounded.height() + room.frame.top() + room.frame.bottom();
    window->move(room.area.x() + (room.area.width() - frameWidth) / 2,
                 room.area.y() + (room.area.height() - frameHeight) / 2);
}

// Content that grows after the window was fitted (a list filled, a
// dashboard's cards written, widgets shown, fonts applied when the window
// first shows) and no longer fits the screen is put into a scroll area. Most
// growth asks the window for a new layout first: the content is then put
// into the area before the window lays itself out again, so the window never
// grows past the screen (where a window manager would take its maximised
// state away). Growth that lays the window out at once (a widget shown in
// it) is caught when the window grows, and the window is brought back.
class GrowthWatcher : public QObject
{
public:
    static void watch(QWidget *window)
    {
        static GrowthWatcher *watcher = nullptr;
        if (!watcher) {
            watcher = new GrowthWatcher(qApp);
            qApp->installEventFilter(watcher);
        }
        window->setProperty(WatchedMark, true);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const QEvent::Type type = event->type();
        if ((type == QEvent::LayoutRequest || type == QEvent::Resize) && watched->isWidgetType()) {
            auto *window = static_cast<QWidget *>(watched);
            if (window->isWindow() && window->property(WatchedMark).toBool()
                && !window->property(ScrolledMark).toBool() && window->screen()) {
                if (type == QEvent::LayoutRequest)
                    beforeGrowing(window);
                else
                    laterIfGrown(window);
            }
        }
        return false;
    }

private:
    using QObject::QObject;

    static void beforeGrowing(QWidget *window)
    {
        const Room room = roomFor(window);
        if (holds(room.inside, neededSize(window, window->size())))
            return;
        scrollWithin(window, room.inside);
        if (!isMaximised(window) && !holds(room.inside, window->size()))
            placeWithin(window, room, window->size());
    }

    // The window grows while it lays itself out: its content is moved once
    // that layout has finished.
    static void laterIfGrown(QWidget *window)
    {
        if (holds(roomFor(window).inside, window->minimumSize()) || window->property(PendingMark).toBool())
            return;
        window->setProperty(PendingMark, true);
        QMetaObject::invokeMethod(
            window,
            [window] {
                window->setProperty(PendingMark, false);
                if (!window->property(ScrolledMark).toBool())
                    afterGrowing(window);
            },
            Qt::QueuedConnection);
    }

    static void afterGrowing(QWidget *window)
    {
        const Room room = roomFor(window);
        if (holds(room.inside, window->minimumSize()))
            return;
        scrollWithin(window, room.inside);
        if (!isMaximised(window)) {
            placeWithin(window, room, window->size());
        } else if (window->isVisible()) {
            window->setWindowState(window->windowState() & ~Qt::WindowMaximized);
            window->setWindowState(window->windowState() | Qt::WindowMaximized);
        }
    }
};

} // namespace

void fitToScreen(QWidget *window)
{
    if (!window || !window->isWindow())
        return;
    QScreen *screen = window->screen();
    if (!screen)
        return;
    GrowthWatcher::watch(window);
    if (window->property(ScrolledMark).toBool())
        return;
    // Measured in the fonts and margins of the widgets' style sheets, which
    // a widget added after the window was shown takes only when it shows.
    for (QWidget *w : window->findChildren<QWidget *>())
        w->ensurePolished();
    const Room room = roomFor(window);

    const bool maximised = isMaximised(window);
    QSize designed = maximised ? window->normalGeometry().size() : window->size();
    if (!window->testAttribute(Qt::WA_Resized) && !maximised)
        designed = window->sizeHint();
    const QSize needed = neededSize(window, designed);
    const bool designFits = maximised || holds(room.inside, designed);
    if (designFits && holds(room.inside, needed))
        return; // the screen holds it: nothing changes

    if (!holds(room.inside, needed))
        scrollWithin(window, room.inside);
    if (maximised) {
        if (window->isVisible()) {
            // Maximise again, now that the content no longer holds the window
            // larger than the screen.
            window->setWindowState(window->windowState() & ~Qt::WindowMaximized);
            window->setWindowState(window->windowState() | Qt::WindowMaximized);
        }
        return;
    }
    placeWithin(window, room, designed);
}
