#pragma once
// The invoicing windows show each other's changes at once: after an invoice
// or a payment is written, every other invoicing list that is open on the
// screen is rebuilt. (A hidden list rebuilds itself when it is shown again.)

class QWidget;

// Rebuilds the shown invoice generation, invoice list, payment follow-up and
// payment history windows other than `changedBy`.
void refreshShownInvoicingLists(const QWidget *changedBy);
