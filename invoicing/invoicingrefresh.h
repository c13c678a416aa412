#pragma once
// After invoices or payments are written, the change is announced. Two lists
// act on the rows they show by number and year only, and no later check
// catches a row that changed meanwhile: the invoice list's Cancel and Delete
// (a cancelled invoice would be deleted and its number freed) and the payment
// follow-up's payment (it would be written against a cancelled, deleted or
// reduced invoice). Those two rebuild themselves while shown when another
// window made a change; every other list reloads only at its own points.

#include <QObject>

#include <functional>

class QWidget;

// Announces that `changedBy` (a window, or null) wrote invoices or payments:
// the following lists of other windows that are shown rebuild themselves.
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
// runs. The connection ends with `list`. Only for the two lists above.
void followInvoicingChanges(QWidget *list, const std::function<void()> &reload);
