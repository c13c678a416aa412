#pragma once
// What is still to be invoiced on each delivery challan, and closing it to
// bins. Plain functions on the default connection; the invoice generation
// window binds them to its widgets.
//
// A challan is the live delivery_entries rows sharing delivery_no and
// fy_name. What closes its quantity is the lines of live invoices and the
// "INVOICE" bins of the same number and year (challanLineBalances in
// invoicestore.h gives it per line).

#include "jobwork/pendingstore.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QVariantMap>

// Nothing invoiced yet: Pending; more than 0.0005 still open, compared
// exactly: Partial; otherwise Issued. 1.999 of 2 stays Partial.
// The list's quantities are summed exactly (core/storedsum.h).
PendingStatus invoicingStatus(double delivered, double invoiced);

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

    PendingStatus status() const { return invoicingStatus(delivered, invoiced); }
};

// The challans, one row each, in one grouped pass: the year `currentFy`
// first, then the other years by name descending, each by number
// descending. A customer id below 1 means every customer. False with `error`
// set to the driver's text when the query fails.
bool queryInvoiceChallans(int customerId, const QString &currentFy, PendingFilter filter,
                          QList<InvoiceChallanRow> *rows, QString *error);
// The statement queryInvoiceChallans runs (before its status filter), its
// values put in `values`.
QString invoiceChallansStatement(int customerId, const QString &currentFy, QVariantMap *values);

// A challan whose open balance is to be closed, with its customer.
struct InvoiceBinTarget
{
    int deliveryNo = 0;
    QString fy;
    int customerId = -1;
};

// Closes what is still open on each live line of the challans: one bins row
// of type "INVOICE" per line whose balance (see challanLineBalances) is above
// 0.005, dated `date`, with the challan's year and the customer. All
// challans in one transaction: all or nothing.
BinOutcome binInvoiceBalances(const QList<InvoiceBinTarget> &targets, const QDate &date);

// The warning that refuses handing challans of two years to one invoice.
QString twoYearsRefusalText(const QString &firstFy, const QString &otherFy);
