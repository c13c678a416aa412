#pragma once
// The invoicing windows show each other's changes at once: after an invoice
// or a payment is written, every other invoicing list that is open on the
// screen is rebuilt (a hidden list rebuilds itself when it is shown again),
// and the figures shown elsewhere (the sales dashboard) are told to follow.

#include <QObject>

class QWidget;

// Rebuilds the shown invoice generation, invoice list, payment follow-up and
// payment history windows other than `changedBy`, then announces the change.
void refreshShownInvoicingLists(const QWidget *changedBy);

// Announces that invoices or payments were written.
class InvoicingNotifier : public QObject
{
    Q_OBJECT

signals:
    void changed();
};

// The one notifier of the program.
InvoicingNotifier *invoicingNotifier();
