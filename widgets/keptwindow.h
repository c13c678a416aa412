#pragma once
// Opening a window that is kept in a pointer.
//
// CreatedOnce: built on first use, afterwards shown again as the user left it.
// Rebuilt:     shown while it is open; once closed (hidden) it is deleted and a
//              fresh one is built on the next use.
// Windows never delete themselves on close; closing only hides them.
// A window built here is fitted to the screen it opens on (screenfit.h).

#include "screenfit.h"

#include <QPointer>
#include <QWidget>
#include <functional>

enum class KeptForm { CreatedOnce, Rebuilt };

template<class W>
W *openKeptWindow(QPointer<W> &kept, KeptForm form, const std::function<W *()> &create)
{
    if (form == KeptForm::Rebuilt && kept && !kept->isVisible()) {
        delete kept.data();
        kept = nullptr;
    }
    if (!kept) {
        kept = create();
        fitToScreen(kept.data());
    }
    if (kept) {
        kept->show();
        kept->raise();
        kept->activateWindow();
    }
    return kept.data();
}

template<class W>
W *openKeptWindow(QPointer<W> &kept, KeptForm form, QWidget *parent = nullptr)
{
    return openKeptWindow<W>(kept, form, std::function<W *()>([parent] { return new W(parent); }));
}
