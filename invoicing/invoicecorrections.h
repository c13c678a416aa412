#pragma once
// Taking a saved invoice back: cancelling keeps its row (is_deleted = 1, its
// number stays used) and removes its lines; deleting removes the row and its
// lines, so the number is free again. Either way the challan quantities the
// lines held become billable again. An invoice is its number and financial
// year. None of these opens a transaction: the caller runs them inside
// runInTransaction (one invoice or a batch) and rolls back on false.

#include <QString>

// Whether customer payments are recorded against the invoice (payments refer
// to an invoice by number and year). False with `error` set when the query fails.
bool invoiceHasPayments(int invoiceNo, const QString &fyName, bool *has, QString *error);

// Whether the invoice of that number and year is still the one a form loaded
// back: its live row has `invoiceId`. An invoice deleted meanwhile (its number
// perhaps taken by a new one), cancelled or rewritten elsewhere is not. Run
// inside the write transaction, so the answer holds until the rows are changed.
bool invoiceStillLoaded(int invoiceId, int invoiceNo, const QString &fyName, bool *still, QString *error);

// Removes the invoice's lines and marks it cancelled; its number stays used.
bool cancelInvoiceRows(int invoiceNo, const QString &fyName, QString *error);

// Removes the invoice's lines and its row; its number becomes free.
bool deleteInvoiceRows(int invoiceNo, const QString &fyName, QString *error);

// The two steps of deleteInvoiceRows, for a caller that names the failing one.
bool deleteInvoiceLines(int invoiceNo, const QString &fyName, QString *error);
bool deleteInvoiceHead(int invoiceNo, const QString &fyName, QString *error);
