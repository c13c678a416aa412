#pragma once
// Taking a saved invoice back: cancelling keeps its row (is_deleted = 1, its
// number stays used) and removes its lines; deleting removes the row and its
// lines, so the number is free again. Either way the challan quantities the
// lines held become billable again. An invoice is its number and financial
// year; what is written is the one row checked, by its invoice_id, so a
// second row stored under the same number is never touched unchecked. None
// of these opens a transaction: the caller runs them inside runInTransaction
// (one invoice or a batch) and rolls back on false.

#include "core/listedrow.h"

#include <QString>
#include <QStringList>

// Whether customer payments are recorded against the invoice (payments refer
// to an invoice by number and year). False with `error` set when the query fails.
bool invoiceHasPayments(int invoiceNo, const QString &fyName, bool *has, QString *error);

// Where an invoice row is stored, by its invoice_id, with the payments
// recorded against its number and year (by pay_id) as what is stored against
// it. A rewritten invoice is a new row, so the row a form or list read is
// gone once another copy of the program rewrote it.
extern const RowSource InvoiceRowSource;
// A payment row, by its pay_id, every column in the table's order; the
// payments stored against an invoice are these columns.
extern const RowSource InvoicePaymentRowSource;

// The one definition of the payments recorded against an invoice: the
// payment rows joined to the invoice ("v") whose number and year they name,
// by pay_id. Every column of InvoicePaymentRowSource ("p"), then `extra`,
// of the payments whose invoice meets `where` (empty: every invoice).
// InvoiceRowSource reads those of one invoice; a list, those of all its
// invoices in one pass.
QString invoicePaymentsStatement(const QString &where, const QString &extra = QString());

// The position of `column` among `columns` (a source's, an invoice line's)
// in a statement that puts `first` other columns before them.
int columnAt(const QStringList &columns, const char *column, int first = 0);

// The columns of an invoice line (invoice_items) a form keeps, in the
// table's order.
extern const QStringList InvoiceLineColumns;

// The statement of an invoice's lines as a form keeps them: every column of
// InvoiceLineColumns of the lines of invoice_id :id, by inv_item_id; with
// `extra` (", i.item_code ...", from "LEFT JOIN items i") after them for a
// form that reads what it shows in the same pass.
QString invoiceLinesStatement(const QString &extra = QString());

// A saved invoice as a form read it: its row with the payments recorded
// against it (InvoiceRowSource) and its lines (invoiceLinesStatement, read
// by readStoredLines). A rewritten invoice is a new row, so a form's invoice
// rewritten elsewhere is no longer as read.
struct InvoiceAsRead
{
    int invoiceId = -1;
    StoredRow row;
    StoredRow lines;
};

// The invoice row and its lines as `read`, for writeLoadedRows: either one
// no longer as read (paid, changed, cancelled or deleted since, in this or
// another copy of the program) refuses the write with
// invoiceChangedText(fullNumber, outcome).
QList<LoadedRow> invoiceAsLoaded(const InvoiceAsRead &read, const QString &fullNumber, const QString &outcome);

// The refusal of an invoice no longer as it was shown: "Invoice No <full
// number> was paid, changed, cancelled or deleted meanwhile, perhaps in
// another window. <outcome>".
QString invoiceChangedText(const QString &fullNumber, const QString &outcome);

// Removes the lines of the invoice row `invoiceId` and marks it cancelled;
// its number stays used.
bool cancelInvoiceRows(int invoiceId, QString *error);

// Removes the invoice row `invoiceId` and its lines; its number becomes free
// (unless another row holds it).
bool deleteInvoiceRows(int invoiceId, QString *error);

// What became of cancelling or deleting an invoice loaded into a form.
enum class CorrectionResult { Done, Stale, HasPayments, Failed };
struct CorrectionOutcome
{
    CorrectionResult result = CorrectionResult::Failed;
    // Stale: the refusal naming the invoice; Failed: the driver's text,
    // after the failing step's own words ("Failed to delete items: ").
    QString error;
};

// Cancels the invoice of that number and year (the row `read` names) in one
// write transaction, only while it is still exactly `read` (else Stale,
// nothing written).
CorrectionOutcome cancelLoadedInvoice(int invoiceNo, const QString &fyName, const InvoiceAsRead &read);

// Deletes the invoice of that number and year (the row `read` names) with
// its lines in one write transaction, only while it is still exactly `read`
// (else Stale) and has no payment recorded against it (else HasPayments: the
// next invoice given its number would take them over); nothing written then.
// Lines left by no invoice are swept afterwards.
CorrectionOutcome deleteLoadedInvoice(int invoiceNo, const QString &fyName, const InvoiceAsRead &read);
