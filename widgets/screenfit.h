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
// Where the content scrolls, a widget the focus moves to without the mouse
// (Tab, Backtab, a shortcut, the program returning to a field) is scrolled
// whole into view. A click never scrolls: the widget clicked stays where it
// was clicked, so the next click lands where the user aims.

class QWidget;

void fitToScreen(QWidget *window);
