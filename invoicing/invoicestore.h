#pragma once
// Tax invoices in the database: the customer block, the year's next number,
// the challan lines still to be billed, the totals with the GST split, and
// saving, listing, loading back and rewriting an invoice. Plain functions on
// the default connection; the invoice form binds them to its widgets.
//
// An invoice is its number and financial year. Its lines refer to a delivery
// challan by delivery_no and the challan's own year (a challan of an earlier
// year billed now keeps its year on the line), so every balance here matches
// invoice lines and bins against the challan's number and year. What a
// challan line still has to bill is its delivered quantity less the lines of
// live invoices and the "INVOICE" bins of the same challan and item.

#include "core/listedrow.h"
#include "core/money.h"
#include "core/storedsum.h"
#include "invoicing/gstheads.h"
#include "invoicing/invoicecorrections.h"
#include "jobwork/challanstore.h"

#include <QList>
#include <QString>
#include <QVariantMap>

// Whether a challan line's balance is left to bill in the invoice form: its
// exact decimal above 0.0001.
bool balanceIsBillable(double balance);

struct InvoiceCustomer
{
    QString name;
    QString address1;
    QString address2;
    QString gstNo;
    QString phone;
    QString email;
    QString type; // "IGST Customer" is billed with IGST
    QString vendorId;

    // "address line 1, address line 2", the separator written always.
    QString address() const { return address1 + ", " + address2; }
};
// False when the customer has no row (or the query fails).
bool readInvoiceCustomer(int customerId, InvoiceCustomer *customer);

// Exactly "IGST Customer" (letter case and blanks count).
bool isIgstCustomer(const QString &customerType);

// The lowest invoice number not used in the year; cancelled invoices keep
// their numbers, deleted ones free them.
int nextInvoiceNumber(const QString &fy);

// One line of the invoice form.
struct InvoiceFormLine
{
    int deliveryNo = 0;
    QString deliveryFy; // the challan's year, carried by the saved line
    QString deliveryNoFull;
    QString deliveryDate; // as stored
    int itemId = 0;
    QString itemCode;
    QString itemName;
    QString sacCode;
    QString uom;
    double qty = 0;
    double rate = 0;
    Money amount;
    double taxPercent = 0;
    double balance = 0; // the most the line may bill
    StoredTotal balanceTotal; // the same exactly, however large (a challan stored at 10^15 or more)
    double challanCarried = 0; // what its challan carried of the item (every line) when it was read

    // The texts of the balance and the quantity, three decimals: a balance
    // beyond what Decimal holds exactly, as balanceTotal shows it.
    QString balanceText() const;
    QString qtyText() const;
};

// A challan line with what its delivered quantity has been billed or binned.
struct ChallanLineBalance
{
    int itemId = 0;
    int inwardNo = 0;
    bool hasItem = false; // the item still has its row in items
    QString deliveryNoFull;
    QString deliveryDate; // as stored
    QString itemCode;
    QString itemName;
    QString sacCode;
    QString uom;
    double rate = 0;
    double taxPercent = 0;
    QString poNo; // of the inward entry the line was delivered from
    // The nearest doubles to the exact decimals, which read back as them
    // (Decimal::fromStored): a balance of 3.0005 less 1 is 2.0005.
    double delivered = 0;
    double consumed = 0; // taken by live invoice lines and "INVOICE" bins
    double balance = 0;  // delivered - consumed
    StoredTotal balanceTotal; // the same exactly, however large (storedsum.h)
};

// A challan line's balance as the forms show it, three decimals: as the
// double it is kept as, and beyond what Decimal holds, exactly.
QString challanBalanceText(double balance, const StoredTotal &exact);

// The live lines of challan `deliveryNo` of year `fy` in stored order. What
// was billed and binned of an item fills the challan's lines of that item in
// order. False with `error` set when a query fails.
bool challanLineBalances(int deliveryNo, const QString &fy, QList<ChallanLineBalance> *lines, QString *error);

// The lines of the handed challans that still have more than
// 0.0001 to bill (balanceIsBillable), each at its balance and the item's rate and tax,
// in the order of `deliveryNos`, with the challans' PO numbers collected.
struct BillableLines
{
    QList<InvoiceFormLine> lines;
    QString poNumbers; // "A1, B2"
};
BillableLines billableChallanLines(const QList<int> &deliveryNos, const QString &fy);

// Adds a PO number to the collected text: trimmed, not when empty or already
// contained, after ", " when the text is not empty.
void appendPoNumber(QString &collected, const QString &poNo);

// What the form shows under the items: the taxable total, CGST and SGST
// or IGST as the sums of the heads per rate, the net rounded to whole
// rupees, its words and the tax details.
struct InvoiceTotals
{
    Money taxable;
    Money cgst;
    Money sgst;
    Money igst;
    qint64 net = 0; // whole rupees, half away from zero
    QString words;
    QString taxDetails;
};
InvoiceTotals computeInvoiceTotals(const QList<TaxedAmount> &rows, bool igstCustomer);

// A billable line's amount: quantity x rate as the form shows them (three
// decimals each, from the decimals they were stored as), rounded once to
// paise; invalid when it does not fit.
Money billableLineAmount(double qty, double rate);

// Why a form's lines cannot be billed: a line's qty x rate, or the invoice's
// taxable amount, tax or total, beyond the money bound (see money.h), named
// as the form names it ("Amount of row 2", "CGST", "Net Total"); empty when
// every figure fits. Shown under figureTooLargeTitle().
QString invoiceFiguresRefusal(const QList<TaxedAmount> &lines, bool igstCustomer);
// The first line whose qty x rate is beyond the money bound; -1 when none.
int invoiceLineTooLarge(const QList<TaxedAmount> &lines);
// Why the form's quantities cannot be billed: a line's quantity beyond the
// quantity bound (a balance stored beyond it, offered whole), named as the
// form names it ("Qty of row 2"); empty when every quantity fits. Shown
// under figureTooLargeTitle().
QString invoiceQtyRefusal(const QStringList &qtyTexts);

// A quantity typed into a line: a number of 0 or more up to the balance is
// taken as typed; above the balance it is cut to the balance; a negative
// number, NaN, an infinity or other text is refused. An empty cell counts as 0.
enum class QtyCheck { Accepted, Exceeds, Refused };
struct QtyEdit
{
    QtyCheck check = QtyCheck::Accepted;
    double qty = 0; // what the line bills after the check
};
QtyEdit checkInvoiceQty(const QString &typed, double balance);

// The warning texts of the quantity check; the balance as a number or as
// the form shows it.
QString qtyExceedsText(double balance);
QString qtyExceedsText(const QString &shownBalance);
QString qtyRefusedText();

// The invoice number of the number field's text: the trimmed text before the
// first "/" read as a base-10 integer above 0 that fits 32 bits; 0 otherwise.
int invoiceNumberFromText(const QString &text);

// Whether an invoice row (cancelled ones included) has that number in the
// year. False with `error` set when the query fails.
bool invoiceNumberUsed(int number, const QString &fy, bool *used, QString *error);

// One line as it is written; lines with a quantity of 0 or less are not.
struct InvoiceLineWrite
{
    int deliveryNo = 0;
    QString deliveryFy;
    int itemId = 0;
    double qty = 0;
    double rate = 0;
    Money amount; // stored with two decimals
    double taxPercent = 0;
    // The line's challanCarried as the form read it, to tell a challan
    // lowered meanwhile from one billed meanwhile; below 0 when not known.
    double shownCarried = -1;
};

// An invoice as it is written; invoice_no_full is number + "/" + fy.
struct InvoiceWrite
{
    int number = 0;
    QString fy;
    QString date; // "yyyy-MM-dd"
    int customerId = -1;
    // Stored with two decimals.
    Money subTotal;
    Money cgst;
    Money sgst;
    Money igst;
    Money grandTotal;
    QString remarks;
    bool isAbstract = false;
    QString abstractContent;
    QList<InvoiceLineWrite> lines;
};

struct InvoiceWriteOutcome
{
    WriteResult result = WriteResult::Failed;
    QString error;     // the driver's text when it failed
    int failedRow = 0; // 1-based index into the lines of the line that failed; 0 otherwise
    bool noInvoiceId = false; // the new row gave no id
    bool overBalance = false; // a line bills more than its challan has open; `error` names it
    bool numberUsed = false;  // an invoice of that number and year is stored already
    bool stale = false;       // the invoice to replace is no longer as it was loaded; `error` names it
};

// Inserts the invoice and its lines with a quantity above 0 in one
// transaction; with no such line nothing is written. Inside the transaction,
// before anything else, the number is checked: when an invoice of that number
// and year is stored (a cancelled one too) nothing is written (numberUsed).
// As the transaction holds the write lock from its start, a second copy of
// the program saving the same number at the same moment waits for this save
// and then finds the number used. Then each line is checked against what its challan has open of its item now
// (delivered less live invoices and "INVOICE" bins, the lines of one challan
// and item sharing it in order): a line above it by more than 0.0005 writes
// nothing (overBalance), so a challan billed meanwhile from another form is
// not billed twice.
InvoiceWriteOutcome saveInvoice(const InvoiceWrite &invoice);

// Replaces the invoice of that number and year (its row and lines) by
// `invoice` in one transaction; number and year stay. With no line above 0,
// or a line above what is open (the invoice itself left out), nothing changes.
// Nor when it is no longer exactly `read`, its row, payments and lines as the
// form read them (stale, `error` naming it): one paid, cancelled, rewritten
// or deleted meanwhile, in this or another copy of the program, is not
// overwritten. An invoice that was paid before it was loaded is rewritten
// like any other.
InvoiceWriteOutcome replaceInvoice(const InvoiceWrite &invoice, const InvoiceAsRead &read);

// A row of the invoice form's mini list of saved invoices. The list keeps
// no more: its one action, Load Back, reads the invoice afresh, and the form
// compares what it loaded when it writes.
struct MiniListRow
{
    int invoiceNo = 0;
    QString fullNumber;
    QString date; // as stored
    QString customerName;
    double grandTotal = 0;
    bool cancelled = false;
    QString fy;
};

// The mini list's statement: every invoice (cancelled ones too) of the
// customer (below 1: every customer) within the dates ("yyyy-MM-dd",
// inclusive; empty: no bound), the year `currentFy` first, then the other
// years by name descending, each by number descending; its values put in
// `values`.
QString invoiceMiniListStatement(int customerId, const QString &from, const QString &to, const QString &currentFy,
                                 QVariantMap *values);
// Its rows. False with the driver's text when it fails.
bool queryInvoiceMiniList(int customerId, const QString &from, const QString &to, const QString &currentFy,
                          QList<MiniListRow> *rows, QString *error);

// A saved invoice loaded back into the form. Each line is laid on a line of
// its challan with its item (the first one not taken that holds its
// quantity); its balance is what that challan line has left once the other
// live invoices and the "INVOICE" bins of the challan and item are consumed
// line by line around the invoice's own quantities. So two lines of one item
// never offer more together than the challan has open.
//
// Everything shown is read in the same pass as what is kept of the row and
// its lines (`read`): an update, cancel or delete acts only while the
// invoice is still exactly as shown.
struct LoadedInvoice
{
    InvoiceAsRead read;
    QString fullNumber;
    QString date; // "yyyy-MM-dd"
    int customerId = -1;
    QString remarks;
    bool cancelled = false;
    bool isAbstract = false;
    QString abstractContent;
    QList<InvoiceFormLine> lines;
};
enum class LoadResult { Loaded, NotFound, Failed };
LoadResult loadInvoice(int number, const QString &fy, LoadedInvoice *invoice, QString *error);
