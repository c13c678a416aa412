#pragma once
// The invoicing windows show each other's changes at once: after an invoice
// or a payment is written, the change is announced; every invoicing list that
// is open on the screen, other than the window that made it, rebuilds itself
// (a hidden list rebuilds itself when it is shown again), and the figures
// shown elsewhere (the sales dashboard) follow. The announcement knows no
// window: each list and figure listens for it.

#include <QObject>

#include <functional>

class QWidget;

// Announces that `changedBy` (a window, or null) wrote invoices or payments:
// the shown lists of other windows rebuild themselves.
void refreshShownInvoicingLists(const QWidget *changedBy);

// Announces that invoices or payments were written.
class InvoicingNotifier : public QObject
{
    Q_OBJECT

signals:
    void changed(const QWidget *changedBy);
};

// The one notifier of the program.
InvoicingNotifier *invoicingNotifier();

// Keeps the list window `list` following the changes of other windows: at
// each change announced by another window while `list` is shown, `reload`
// runs. The connection ends with `list`.
void followInvoicingChanges(QWidget *list, const std::function<void()> &reload);
