#include "screenfit.h"

#include <QApplication>
#include <QBoxLayout>
#include <QMainWindow>
#include <QScreen>
#include <QScrollArea>
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

} // namespace

void fitToScreen(QWidget *window)
{
    if (!window || !window->isWindow())
        return;
    QScreen *screen = window->screen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QMargins frame = expectedFrame(window);
    const QSize room(area.width() - frame.left() - frame.right(), area.height() - frame.top() - frame.bottom());

    const bool maximised = window->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen);
    QSize designed = maximised ? window->normalGeometry().size() : window->size();
    if (!window->testAttribute(Qt::WA_Resized) && !maximised)
        designed = window->sizeHint();
    const QSize needed = neededSize(window, designed);
    const bool designFits = maximised || holds(room, designed);
    if (designFits && holds(room, needed))
        return; // the screen holds it: nothing changes

    if (!holds(room, needed) && scrollContent(window)) {
        // The layout now asks for the scroll area's small minimum; a minimum
        // the window sets itself may not keep it larger than the screen.
        if (window->layout())
            window->layout()->activate();
        if (!holds(room, window->minimumSize()))
            window->setMinimumSize(window->minimumSize().boundedTo(room));
    }
    if (maximised) {
        if (window->isVisible()) {
            // Maximise again, now that the content no longer holds the window
            // larger than the screen.
            window->setWindowState(window->windowState() & ~Qt::WindowMaximized);
            window->setWindowState(window->windowState() | Qt::WindowMaximized);
        }
        return;
    }
    const QSize size = designed.boundedTo(room);
    window->resize(size);
    // The frame's top left corner, so that the whole frame lies on the screen.
    const int frameWidth = size.width() + frame.left() + frame.right();
    const int frameHeight = size.height() + frame.top() + frame.bottom();
    window->move(area.x() + (area.width() - frameWidth) / 2, area.y() + (area.height() - frameHeight) / 2);
}
