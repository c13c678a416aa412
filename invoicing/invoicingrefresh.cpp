#include "invoicingrefresh.h"

#include "generatinvoices.h"
#include "invoicegstmainlist.h"
#include "paymentfollowup.h"
#include "paymentstatement.h"

#include <QApplication>
#include <QPointer>

void refreshShownInvoicingLists(const QWidget *changedBy)
{
    // A rebuild may show a message box, which changes the list of windows.
    QList<QPointer<QWidget>> windows;
    for (QWidget *w : QApplication::topLevelWidgets())
        windows << w;
    for (const QPointer<QWidget> &w : windows) {
        if (!w || w == changedBy || !w->isVisible())
            continue;
        if (auto *generation = qobject_cast<generatInvoices *>(w))
            generation->loadDeliveryChallans();
        else if (auto *list = qobject_cast<invoiceGSTmainList *>(w))
            list->loadInvoices();
        else if (auto *followUp = qobject_cast<paymentFollowUp *>(w))
            followUp->loadPendingInvoices();
        else if (auto *history = qobject_cast<paymentStatement *>(w))
            history->loadPayments();
    }
    emit invoicingNotifier()->changed();
}

InvoicingNotifier *invoicingNotifier()
{
    static InvoicingNotifier notifier;
    return &notifier;
}
