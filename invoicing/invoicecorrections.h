#pragma once
// Taking a saved invoice back: cancelling keeps its row (is_deleted = 1, its
// number stays used) and removes its lines; deleting removes the row and its
// lines, so the number is free again. Either way the challan quantities the
// lines held become billable again. An invoice is its number and financial
// year. None of these opens a transaction: the caller runs them inside
// runInTransaction (one invoice or a batch) and rolls back on false.

#include "core/listedrow.h"

#include <QString>

// Whether customer payments are recorded against the invoice (payments refer
// to an invoice by number and year). False with `error` set when the query fails.
bool invoiceHasPayments(int invoiceNo, const QString &fyName, bool *has, QString *error);

// Whether the invoice of that number and year is still the one a form loaded
// back: its live row has `invoiceId`. An invoice deleted meanwhile (its number
// perhaps taken by a new one), cancelled or rewritten elsewhere is not. Run
// inside the write transaction, so the answer holds until the rows are changed.
bool invoiceStillLoaded(int invoiceId, int invoiceNo, const QString &fyName, bool *still, QString *error);

// Where an invoice row is stored, by its invoice_id, with the payments
// recorded against its number and year (by pay_id) as what is stored against
// it. A rewritten invoice is a new row, so the row a form or list read is
// gone once another copy of the program rewrote it.
extern const RowSource InvoiceRowSource;
// A payment row, by its pay_id, every column in the table's order; the
// payments stored against an invoice are these columns.
extern const RowSource InvoicePaymentRowSource;

// Whether the invoice row `invoiceId` is still exactly `read` (every column
// and its payments), as a form or list read it; a `read` that found no row
// never is. Run inside the write transaction, so the answer holds until the
// rows are changed. False with `error` set when it cannot be read.
bool invoiceStillAsRead(int invoiceId, const StoredRow &read, bool *same, QString *error);

// The refusal of an invoice no longer as it was shown: "Invoice No <full
// number> was paid, changed, cancelled or deleted meanwhile, perhaps in
// another window. <outcome>".
QString invoiceChangedText(const QString &fullNumber, const QString &outcome);

// Removes the invoice's lines and marks it cancelled; its number stays used.
bool cancelInvoiceRows(int invoiceNo, const QString &fyName, QString *error);

// Removes the invoice's lines and its row; its number becomes free.
bool deleteInvoiceRows(int invoiceNo, const QString &fyName, QString *error);

// The two steps of deleteInvoiceRows, for a caller that names the failing one.
bool deleteInvoiceLines(int invoiceNo, const QString &fyName, QString *error);
bool deleteInvoiceHead(int invoiceNo, const QString &fyName, QString *error);
