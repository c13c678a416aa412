#pragma once
// The invoice main list: every invoice of a period with its GST split, the
// totals of the live invoices, the batch cancel and delete of ticked
// invoices, and the GST statement CSV for the accountant.

#include "core/companyinfo.h"
#include "core/listedrow.h"
#include "core/money.h"
#include "core/storedsum.h"
#include "output/csvexport.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <functional>

class StatementRow;

struct InvoiceListFilter
{
    int customerId = -1; // below 1: every customer
    QString from;        // "yyyy-MM-dd", inclusive; empty: no bound
    QString to;          // "yyyy-MM-dd", inclusive; empty: no bound
    QString currentFy;   // its invoices come first
};

struct InvoiceListRow
{
    int invoiceNo = 0;
    QString invoiceNoFull;
    QString invoiceDate; // as stored
    QString customerName;
    QString gstNo;
    double subTotal = 0;
    double cgst = 0;
    double sgst = 0;
    double igst = 0;
    double grandTotal = 0;
    bool cancelled = false;
    QString fy;
    int invoiceId = 0; // the row read
    // The row as stored, with the payments recorded against it.
    StoredRow stored;

    // CGST + SGST + IGST as stored, added in paise (exactly, a tax stored
    // beyond what Money holds included).
    StoredTotal taxValue() const
    {
        StoredTotal tax;
        for (const double amount : {cgst, sgst, igst})
            tax += Money::fromStored(amount);
        return tax;
    }
};

// The invoices of the period, the current year first, then the other years
// by name descending, each by number descending, each kept as stored with
// its payments (ListedInvoicePayments). False with the driver's text when a
// query fails.
bool queryInvoiceList(const InvoiceListFilter &filter, QList<InvoiceListRow> *rows, QString *error);
// The statement of the rows, its values put in `values`: what the list shows
// of the customer, then the invoice's stored columns (InvoiceRowSource).
QString invoiceListStatement(const InvoiceListFilter &filter, QVariantMap *values);

// The payments recorded against the invoices of a list, read once for the
// whole list after its rows: each invoice's StoredRow gets, as its
// dependents, the payment rows of its own (invoicePaymentsStatement, the
// statement InvoiceRowSource reads them with for one invoice) in pay_id
// order.
class ListedInvoicePayments
{
public:
    // The invoice `invoiceId` is list row `index`.
    void addInvoice(int invoiceId, int index);
    // Adds the payments to the StoredRow that `storedOf` gives for each
    // index added. Nothing is read when no invoice was added. False with
    // the driver's text when the payments cannot be read.
    bool read(const std::function<StoredRow *(int index)> &storedOf, QString *error) const;

    // The statement read runs.
    static QString statement();

private:
    QHash<int, int> m_index;
};

// Column sums of the live invoices, each figure as the list shows it (the
// stored value read as the decimal it stands for, in paise), added exactly
// however many there are; cancelled ones are left out.
struct GstTotals
{
    StoredTotal base;
    StoredTotal cgst;
    StoredTotal sgst;
    StoredTotal igst;
    StoredTotal tax;
    StoredTotal net;
    int invoices = 0;

    bool isValid() const
    {
        return base.isValid() && cgst.isValid() && sgst.isValid() && igst.isValid() && tax.isValid() && net.isValid();
    }
};
GstTotals liveTotals(const QList<InvoiceListRow> &rows);

// An invoice of the list: number and year, the row listed with its
// payments as they were then, and its full number as the list shows it.
struct InvoiceKey
{
    int no = 0;
    QString fy;
    int invoiceId = 0;
    StoredRow listed;
    QString shownNo;
};

// The full numbers ("n/fy") of those invoices that have payments recorded;
// false with the driver's text when that cannot be read.
bool invoicesWithPayments(const QList<InvoiceKey> &invoices, QStringList *withPayments, QString *error);

enum class BatchResult { Done, HasPayments, Stale, Failed };
struct BatchOutcome
{
    BatchResult result = BatchResult::Done;
    QString error;            // Failed: the driver's text; Stale: the refusal
    QStringList withPayments; // HasPayments: the invoices that have them
};

// Cancels every invoice (its lines removed, the row kept as cancelled) in one
// transaction: all of them or none. Inside the transaction each invoice is
// read again first: when one is no longer exactly as listed, its payments
// included (paid, cancelled, rewritten or deleted since it was listed, in
// this or another copy of the program), nothing is written (Stale, the
// refusal naming it by its shown number, the list to be read again). An
// invoice listed with payments is cancelled with them.
BatchOutcome cancelInvoices(const QList<InvoiceKey> &invoices);
// Deletes every invoice with its lines in one transaction: all or none.
// Refused, with nothing written, when any of them is no longer as listed
// (Stale, as for cancelInvoices) or has payments.
BatchOutcome deleteInvoices(const QList<InvoiceKey> &invoices);

// What the GST statement is written from besides its rows.
struct GstStatementHead
{
    CompanyInfo company;
    QString from; // "dd-MM-yyyy"
    QString to;   // "dd-MM-yyyy"
    QString fy;
    QDateTime printedAt;
};

// The file's description: save dialog, title lines, header and total lines.
// Cancelled invoices are listed marked " (CANCELLED)" and left out of the
// totals and the count, as on screen. Refused when a total cannot be formed.
CsvExportProfile gstStatementProfile(const GstStatementHead &head, const QList<InvoiceListRow> &rows);
// One line of fields per invoice, numbered from 1.
QList<QStringList> gstStatementRows(const QList<InvoiceListRow> &rows);
