#pragma once
// Customer payments against invoices: what is still owed on each invoice,
// recording a payment (paid amount plus TDS) split over chosen invoices, the
// payment history of a period, and deleting payment rows. Plain functions on
// the default connection; the follow-up and history windows bind them.
//
// An invoice is the pair (invoice_no, fy_name). It is settled by the sum of
// paid_amount + tds_amount over its invoice_payments rows; there is no status
// column. The rows of one payment share one payment_ref.

#include "core/listedrow.h"
#include "core/money.h"
#include "core/storedsum.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QVariantMap>

#include <optional>

// Paid + TDS of invoice_payments rows, summed exactly (core/storedsum.h).
#define SETTLED_SUM STORED_SUM("invoice_payments:paid_amount;invoice_payments:tds_amount")

// A balance at or below 0.005 is paid; the tolerance of the payment checks.
const Decimal SettledBalance(5, 3);

// Whether an outstanding balance still counts as owed: above 0.005 exactly,
// so 100 less 99.995 is paid.
bool balanceIsOwed(const Decimal &balance);
bool balanceIsOwed(const StoredTotal &balance);

// Whole days from a stored "yyyy-MM-dd" date to `to`; nullopt when the text
// is no such date.
std::optional<int> daysSince(const QString &storedDate, const QDate &to);

// The background of an age in days: above 90 "#f8d7da", above 60 "#fff3cd",
// else empty (no colour).
QString ageColour(int days);

// A list's filter: dates as "yyyy-MM-dd", both included; a customer id below
// 1 means every customer. Rows of `currentFy` come first.
struct PaymentFilter
{
    QString from;
    QString to;
    int customerId = -1;
    QString currentFy;
};

// One live invoice with what has been settled on it.
struct PendingInvoice
{
    int invoiceNo = 0;
    QString invoiceNoFull;
    QString invoiceDate; // as stored
    int customerId = -1;
    QString customerName;
    double grandTotal = 0; // as stored
    StoredTotal settled;   // paid + TDS over its payment rows, summed exactly however large
    QString fy;
    int invoiceId = 0; // the row read
    StoredRow stored;  // the row as read, with its payments

    // What is still owed, exactly: the list shows it rounded to paise.
    Decimal balance() const { return Decimal::fromStored(grandTotal) - settled.toDecimal(); }
    // The same however large: a grand total or payments stored at 10^15 or
    // more (by another program), which balance() holds only as invalid, as stored.
    StoredTotal balanceTotal() const { return storedBalance(grandTotal) - settled; }
};

// The live invoices (is_deleted NULL or 0) dated in the period that still
// have a balance above 0.005: the current year first, then the other years
// newest first, each by date and number. Payments are summed in one grouped
// pass; each row's `stored` is read with it, its payments in one more
// statement for the whole list (ListedInvoicePayments). False with `error`
// set to the driver's text when a query fails.
bool queryPendingInvoices(const PaymentFilter &filter, QList<PendingInvoice> *rows, QString *error);
// The statement of the rows, its values put in `values`; its sum is written
// as core/storedsum.h runs it.
QString pendingInvoicesStatement(const PaymentFilter &filter, QVariantMap *values);

// An invoice ticked for a payment, with its balance as listed.
struct PaymentTarget
{
    int invoiceNo = 0;
    QString fy;
    Money balance; // as listed
    int invoiceId = 0; // the row listed
    StoredRow listed = {}; // as listed, with its payments
};

// One invoice's share of a payment.
struct PaymentShare
{
    int invoiceNo = 0;
    QString fy;
    Money paid;
    Money tds;
    int invoiceId = 0; // the row the share was worked out on
    StoredRow listed = {}; // that row as listed, with its payments
};

// Splits paid and TDS over the targets in their order, on the exact typed
// amounts: the paid amount fills each balance first, TDS covers what it
// leaves of that balance. A target whose share would be 0.005 or less gets
// none; the split stops once both amounts are used up (within 0.005). Each
// share is whole paise: the shares' paid amounts, and their paid + TDS, are
// rounded on their running sums, so that they add up exactly to what the
// split used of the typed amounts rounded to paise (the last paid invoice
// takes the remainder). What the 0.005 tolerance leaves over is not
// recorded: 63.195 against a balance of 63.19 records 63.19.
QList<PaymentShare> splitPayment(const QList<PaymentTarget> &targets, const Decimal &paid, const Decimal &tds);

// A refusal of a payment before anything is written.
struct PaymentRefusal
{
    QString title;
    QString text;
};

// What the payment entry was given: the ticked rows' balances summed as
// listed (exactly, however many), the typed paid and TDS texts, and the
// customers of the ticked rows.
struct PaymentInput
{
    int tickedRows = 0;
    StoredTotal selected;
    QString paidText;
    QString tdsText;
    QList<int> customerIds;
};

// The checks before a payment is recorded, in order: something ticked, both
// amounts empty (0) or a finite number of 0 or more, paid not above the
// selected total (+0.005), paid + TDS equal to it (within 0.005), one
// customer. The amounts are compared exactly as typed: 63.195 against
// 63.19 is within the tolerance as 100.005 against 100.00 is. nullopt when
// the payment may go ahead.
std::optional<PaymentRefusal> checkPayment(const PaymentInput &input);

// "PAY" and the time as "yyyyMMddhhmmss".
QString paymentReference(const QDateTime &at);

// A payment as it is written.
struct PaymentEntry
{
    int customerId = -1;
    QDate date;
    QString chequeRef; // trimmed when written
    QString remarks;   // trimmed when written
    QString mode;
    QList<PaymentShare> shares;
};

struct PaymentOutcome
{
    bool ok = false;
    QString reference;
    int written = 0;
    QString error; // the driver's text when it failed
    // The first share whose invoice is no longer as it was listed; nothing
    // was written. Null when none.
    std::optional<PaymentShare> stale;
};

// Writes one invoice_payments row per share in one transaction, all under one
// reference made from `at` (a reference already in use takes the next free
// second): all rows or none. The reference is chosen inside the transaction,
// which holds the write lock from its start, so two payments never share one,
// even when two copies of the program record them at the same moment.
// Before anything is written each share's invoice is read again: the row
// `invoiceId` must still be exactly as listed (every column, and the
// payments against it), and what is open on it (its grand total less paid +
// TDS stored, summed exactly) must cover the share within 0.005. Otherwise
// nothing is written and `stale` names the share: an invoice paid by another
// copy of the program, or changed, cancelled, rewritten or deleted, since the
// list was read. So two copies paying one invoice at once store one payment.
PaymentOutcome recordPayment(const PaymentEntry &entry, const QDateTime &at = QDateTime::currentDateTime());

// One payment row of the history.
struct PaymentHistoryRow
{
    int payId = 0;
    QString invoiceNoFull;
    QString invoiceDate; // as stored
    QString customerName;
    double grandTotal = 0; // as stored
    double paid = 0;       // as stored
    double tds = 0;        // as stored
    QString paymentDate; // as stored
    QString mode;
    QString remarks;
    QString reference;
    QString fy;
    Money paymentTotal; // paid + TDS over every row of the payment, in paise
    bool opensPayment = false; // the first listed row of its payment
    int paidDays = 0; // from the invoice to the payment; 0 when a date is unreadable
    StoredRow stored;  // its invoice_payments row as read
};

// The payment rows dated in the period whose invoice and customer exist, the
// current year first, then the other years newest first, each by payment
// date (newest first), reference and id. The rows of one payment are kept
// together where its first row is listed, even when its invoices are of two
// years; a row without a reference is a payment of its own. One pass.
bool queryPaymentHistory(const PaymentFilter &filter, QList<PaymentHistoryRow> *rows, QString *error);
// The statement queryPaymentHistory runs, its values put in `values`; its
// sum is written as core/storedsum.h runs it.
QString paymentHistoryStatement(const PaymentFilter &filter, QVariantMap *values);

struct PaymentTotals
{
    StoredTotal paid;            // every payment counted once
    StoredTotal invoices;        // the distinct listed invoices' grand totals
    std::optional<double> averageDays; // over the rows paid after at least a day
};
PaymentTotals paymentTotals(const QList<PaymentHistoryRow> &rows);

// The style of the average paid days field: above 90 red, 60 or less green,
// amber between.
QString averageDaysStyle(double average);

// A payment row of the history as it was listed, and the invoice number the
// list shows with it.
struct ListedPayment
{
    int payId = 0;
    StoredRow listed;
    QString invoice;
};

// Deletes the payment rows in one transaction: all or none. False with
// `error` set: a row no longer exactly as listed (changed or deleted by
// another copy of the program since the list was read) deletes none and is
// named by its invoice; otherwise the driver's text.
bool deletePayments(const QList<ListedPayment> &payments, QString *error);
