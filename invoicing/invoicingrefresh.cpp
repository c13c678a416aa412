#include "invoicingrefresh.h"

#include <QWidget>

void refreshShownInvoicingLists(const QWidget *changedBy)
{
    emit invoicingNotifier()->changed(changedBy);
}

InvoicingNotifier *invoicingNotifier()
{
    static InvoicingNotifier notifier;
    return &notifier;
}

void followInvoicingChanges(QWidget *list, const std::function<void()> &reload)
{
    QObject::connect(invoicingNotifier(), &InvoicingNotifier::changed, list,
                     [list, reload](const QWidget *changedBy) {
                         if (changedBy != list && list->isVisible())
                             reload();
                     });
}
