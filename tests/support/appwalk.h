#pragma once
// Walking the program as its user does: log in, open the sales window, choose
// menu entries, and find the one window an entry opened.

#include "widgets.h"

class MainWindow;
class SalesWindow;

// Logs in as pravo/pravo and opens the sales window; null when either fails.
SalesWindow *logInToSales(MainWindow *main);

// Triggers the menu entry named `action` of `window`.
void trigger(QWidget *window, const char *action);

// The one shown parentless window of type W; stops the test program when
// there is not exactly one.
template<class W>
W *onlyWindow()
{
    QList<W *> shown;
    for (W *w : topLevelWindows<W>()) {
        if (w->isVisible())
            shown << w;
    }
    if (shown.size() != 1)
        qFatal("expected one %s shown, found %d", W::staticMetaObject.className(), int(shown.size()));
    return shown.first();
}
