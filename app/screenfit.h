#pragma once
// Every top-level window and form opens within the screen it is shown on.
//
// Where the screen's available area holds the window's designed size and its
// minimum size, nothing changes. Where it does not, the window opens no larger
// than that area, frame included, and its content scrolls inside it, so every
// field, button and column can still be reached. A window that maximises keeps
// maximising. Called once per window, after it is built (before or right after
// its first show); the window stays watched: content that grows later (rows,
// cards written, fonts applied when it first shows) and no longer fits the
// screen is then put into the scroll area, before the window grows.
//
// Where the content scrolls, the focused widget is kept in view: moving the
// focus into it (Tab, a click, a box handing the focus back) scrolls the whole
// widget into view.

class QWidget;

void fitToScreen(QWidget *window);
