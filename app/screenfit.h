#pragma once
// Every top-level window and form opens within the screen it is shown on.
//
// Where the screen's available area holds the window's designed size and its
// minimum size, nothing changes. Where it does not, the window opens no larger
// than that area, frame included, and its content scrolls inside it, so every
// field, button and column can still be reached. A window that maximises keeps
// maximising. Called once per window, after it is built (before or right after
// its first show).

class QWidget;

void fitToScreen(QWidget *window);
