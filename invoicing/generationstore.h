#pragma once
// What is still to be invoiced on each delivery challan, and closing it to
// bins. Plain functions on the default connection; the invoice generation
// window binds them to its widgets.
//
// A challan is the live delivery_entries rows sharing delivery_no and
// fy_name. What closes its quantity is the lines of live invoices and the
// "INVOICE" bins of the same number and year (challanLineBalances in
// invoicestore.h gives it per line).

#include "core/storedsum.h"
#include "jobwork/pendingstore.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QVariantMap>

// Nothing invoiced yet: Pending; more than 0.0005 still open, compared
// exactly: Partial; otherwise Issued. 1.999 of 2 stays Partial.
// The list's quantities are summed exactly (core/storedsum.h).
PendingStatus invoicingStatus(double delivered, double invoiced);

// What stands against one challan: its live lines, the lines of live
// invoices and its "INVOICE" bins, each as the exact sum of its quantities,
// how many rows and the last row's id. These rows are only ever inserted or
// deleted, under ids never given twice, so two readings are equal exactly
// when no such row came or went between them: the challan's line balances
// are then still as they were read.
struct ChallanTaken
{
    StoredTotal delivered;
    int deliveryLines = 0;
    qint64 lastDeliveryLine = 0;
    StoredTotal invoiced;
    int invoiceLines = 0;
    qint64 lastInvoiceLine = 0;
    StoredTotal binned;
    int bins = 0;
    qint64 lastBin = 0;

    friend bool operator==(const ChallanTaken &a, const ChallanTaken &b)
    {
        return a.delivered == b.delivered && a.deliveryLines == b.deliveryLines
               && a.lastDeliveryLine == b.lastDeliveryLine && a.invoiced == b.invoiced
               && a.invoiceLines == b.invoiceLines && a.lastInvoiceLine == b.lastInvoiceLine && a.binned == b.binned
               && a.bins == b.bins && a.lastBin == b.lastBin;
    }
    friend bool operator!=(const ChallanTaken &a, const ChallanTaken &b) { return !(a == b); }
};

// One challan with what was invoiced or binned of it.
struct InvoiceChallanRow
{
    int deliveryNo = 0;
    QString fullNumber;
    QString date; // as stored
    int customerId = -1;
    QString customerName;
    double delivered = 0;
    double invoiced = 0; // live invoice lines and "INVOICE" bins
    QString fy;
    ChallanTaken taken; // as the list read it

    PendingStatus status() const { return invoicingStatus(delivered, invoiced); }
};

// The challans, one row each, in one grouped pass: the year `currentFy`
// first, then the other years by name descending, each by number
// descending. A customer id below 1 means every customer. False with `error`
// set to the driver's text when the query fails.
bool queryInvoiceChallans(int customerId, const QString &currentFy, PendingFilter filter,
                          QList<InvoiceChallanRow> *rows, QString *error);
// The statement queryInvoiceChallans runs (before its status filter), its
// values put in `values`; its sums are still to be written out for a run
// (storedSumStatement, core/storedsum.h).
QString invoiceChallansStatement(int customerId, const QString &currentFy, QVariantMap *values);

// What stands against challan `deliveryNo` of year `fy` now, read as the
// list reads it. False with the driver's text when it cannot be read.
bool readChallanTaken(int deliveryNo, const QString &fy, ChallanTaken *taken, QString *error);

// A challan whose open balance is to be closed, with its customer, and what
// stood against it when it was listed.
struct InvoiceBinTarget
{
    int deliveryNo = 0;
    QString fy;
    int customerId = -1;
    QString fullNumber; // as listed, to name it
    ChallanTaken listed;
};

// Closes what is still open on each live line of the challans: one bins row
// of type "INVOICE" per line whose balance (see challanLineBalances) is above
// 0.005, dated `date`, with the challan's year and the customer. All
// challans in one transaction: all or nothing. Inside it, before anything is
// written, each challan is read again: one invoiced, un-invoiced (its
// invoice cancelled or deleted), binned or changed since it was listed
// refuses the whole batch (`notPending` names it), so no balance other than
// the one listed is closed. `written` 0 with `ok`: no line had anything
// above 0.005 open, nothing was stored.
BinOutcome binInvoiceBalances(const QList<InvoiceBinTarget> &targets, const QDate &date);

// The warning that refuses a bin of a challan changed since it was listed.
QString challanChangedText(const QString &fullNumber);
// The warning of a bin that found nothing above 0.005 open.
QString nothingToBinText();

// The warning that refuses handing challans of two years to one invoice.
QString twoYearsRefusalText(const QString &firstFy, const QString &otherFy);
