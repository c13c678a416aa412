#pragma once
// Delivery challans in the database: the open balances of inward lines, the
// challan numbers, the challan list, and saving, updating, deleting and
// reading a challan. Plain functions on the default connection; the challan
// window binds them to its widgets.
//
// A challan is the set of delivery_entries rows sharing delivery_no and
// fy_name. Its lines refer to their inward entry by (inward_no, item_id,
// fy_name). Wherever an open balance is computed, the quantities closed to
// bins of type "DC" count as delivered.

#include "core/listedrow.h"
#include "core/money.h"
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariantMap>

// What an inward line (number, item and year) received and what closed it,
// exactly, as a form read it: the balance the form shows is the balance its
// challan is written against. `delivered` counts the live lines of every
// challan but the one being edited.
struct InwardLineState
{
    bool live = false; // a live inward line of that number, item and year exists
    Decimal received;
    Decimal delivered;
    Decimal binned; // closed to bins of type "DC"

    Decimal balance() const { return received - delivered - binned; }
    friend bool operator==(const InwardLineState &a, const InwardLineState &b)
    {
        return a.live == b.live && a.received == b.received && a.delivered == b.delivered && a.binned == b.binned;
    }
    friend bool operator!=(const InwardLineState &a, const InwardLineState &b) { return !(a == b); }
};

// One line of the challan form: an inward line with what it may deliver.
struct ChallanLine
{
    int itemId = 0;
    int inwardNo = 0;
    QString dcNo;     // the customer's own DC number of the inward line
    QString dcDate;   // as stored, "yyyy-MM-dd"
    QString poNo;
    QString itemCode;
    QString itemName;
    QString uom;
    double qty = 0;        // quantity to deliver
    QString remarks;       // remarks of the inward line (new challans only)
    InwardLineState state; // what the balance is worked out from

    // The most the line may deliver.
    double balance() const { return state.balance().toDouble(); }
};

// The open lines of the handed inward entries, read by number, year and
// customer, in the order of `inwardNos`. Lines with nothing left are left out.
struct PendingInward
{
    QList<ChallanLine> lines; // qty = balance = what is still open
    QList<int> notFound;      // numbers with no live line of the customer in the year
    QList<int> nothingLeft;   // numbers found whose every line is fully issued or binned
    QString remarks;          // the lines' remarks, collected by appendRemark
    QString error;            // the driver's text when a query failed
};
PendingInward loadPendingInwardLines(const QList<int> &inwardNos, int customerId, const QString &fy);

// Adds a remark to the collected text: trimmed, not when empty or already
// contained (case-sensitive), after " | " when the text is not empty.
void appendRemark(QString &collected, const QString &remark);

// The lowest challan number not used in the year.
int nextChallanNumber(const QString &fy);

// The challan number of the number field's text: the trimmed text before the
// first "/", read as a base-10 integer; 0 when it is not one.
int challanNumberFromText(const QString &text);

// Whether a challan of that number exists in the year. False with `error`
// set when the query fails.
bool challanExists(int number, const QString &fy, QString *error);

// One line as it is written.
struct ChallanLineWrite
{
    int inwardNo = 0;
    int itemId = 0;
    double qty = 0;
    InwardLineState shown; // the inward line as the form showed it
};

// A challan as it is written; delivery_no_full is always number + "/" + fy.
struct ChallanWrite
{
    int number = 0;
    QString fy;
    QString date; // "yyyy-MM-dd"
    int customerId = -1;
    QString sacCode;
    QString remarks;
    QList<ChallanLineWrite> lines; // lines with a quantity of 0 or less are not written
};

enum class WriteResult { Written, NothingToWrite, Failed };
struct WriteOutcome
{
    WriteResult result = WriteResult::Failed;
    QString error;         // the driver's text when it failed
    bool changed = false;  // with Failed: the challan is no longer the one loaded
    bool numberUsed = false; // with Failed: a challan of that number and year is stored already
    // With Failed: the lines written against balances or invoices that are no
    // longer what the form showed, one named per line ("Inward No 2/26-27,
    // AX-102: ..."); nothing was written.
    QStringList refusals;
    // With Failed: the inward lines that the challan's lines drawing on them,
    // added up, would issue beyond their balance (received less live
    // challans and "DC" bins), one named per inward line; nothing was written.
    QStringList beyondBalance;
    // With Failed: the items whose new lines would carry less than their
    // invoices bill, one named per item; nothing was written.
    QStringList belowBilled;
};

// Inserts the challan's lines in one transaction: all or none. Inside it,
// before anything is written, the number is checked (numberUsed) and the
// inward line of every line with a quantity above 0 is read again: one no
// longer as the form showed it (issued, binned, received or cancelled
// meanwhile) refuses the challan (`refusals`); so do lines that, added up per
// inward line they draw on, deliver more than its balance (`beyondBalance`):
// however the form's lines or the stored inward rows are laid out, a challan
// never issues more than was received and is not yet delivered or binned. As
// the transaction holds the write lock, no second copy can issue from the
// same lines until it ends.
WriteOutcome saveChallan(const ChallanWrite &challan);

// The challan's lines, every column, by delivery_id: what a loaded challan
// expects to find when it is updated or deleted.
StoredRow challanStoredLines(int number, const QString &fy);

// The warning when the loaded challan was changed or deleted meanwhile;
// `nothingDone` ends it ("Nothing was updated.").
QString challanChangedText(const QString &fullNumber, const QString &nothingDone);

// What the live invoices bill of a challan, per item id: the quantity,
// exactly, and the invoices' full numbers.
struct ChallanBilled
{
    QString itemCode;
    Decimal qty;
    QStringList invoices;
    friend bool operator==(const ChallanBilled &a, const ChallanBilled &b) { return a.qty == b.qty; }
};
using ChallanBilling = QMap<int, ChallanBilled>;
// False with `error` set when the query fails.
bool readChallanBilling(int number, const QString &fy, ChallanBilling *billing, QString *error = nullptr);

// Replaces the stored lines of the challan (number and year of `challan`) by
// its new lines in one transaction; with no line to write it keeps the stored
// challan as it was. Refused (Failed, `changed`), with nothing written, when
// its lines are no longer `loadedRows`: changed, deleted, or deleted and the
// number taken again since it was loaded. Refused (Failed, `refusals`) when an
// inward line it writes against is no longer as the form showed it or the
// invoices billing it are no longer `loadedBilling`; refused (Failed,
// `beyondBalance`) as saveChallan when its new lines, added up per inward
// line, deliver beyond what the other challans and bins left; refused (Failed,
// `belowBilled`) when the new lines of an item would carry less than its
// invoices bill.
WriteOutcome replaceChallan(const ChallanWrite &challan, const StoredRow &loadedRows,
                            const ChallanBilling &loadedBilling);

enum class DeleteResult { Deleted, Changed, Invoiced, Failed };
struct DeleteOutcome
{
    DeleteResult result = DeleteResult::Failed;
    QStringList invoices; // full numbers of the live invoices billing the challan
    QString error;
};

// Deletes the challan outright (its number becomes free), refused while a
// live invoice bills it, and when its lines are no longer `loadedRows`.
DeleteOutcome deleteChallan(int number, const QString &fy, const StoredRow &loadedRows);

// One row of the challan list.
struct ChallanListRow
{
    int number = 0;
    QString fullNumber; // as stored
    QString date;       // as stored
    QString customerName;
    double qty = 0;
    QString remarks;
    QString fy;
};

// The challans, one row each, the year `currentFy` first. A customer id below
// 1 and an empty date mean no filter. When the statement fails the list is
// empty and `error` gets the driver's text.
QList<ChallanListRow> challanList(int customerId, const QString &from, const QString &to,
                                  const QString &currentFy, QString *error = nullptr);
// The statement challanList runs, its values put in `values`; its sum is
// written out as forEachStoredSumRow runs it (core/storedsum.h).
QString challanListStatement(int customerId, const QString &from, const QString &to, const QString &currentFy,
                             QVariantMap *values);

// A saved challan loaded back for editing. Each line's balance is what its
// inward line received less what other challans and bins took from it.
struct LoadedChallan
{
    QString fullNumber;
    QString date; // "yyyy-MM-dd"
    int customerId = -1;
    QString customerName;
    QString remarks;
    QList<ChallanLine> lines;
    StoredRow rows;         // as challanStoredLines gives them
    ChallanBilling billing; // what live invoices bill of it
};
bool loadChallan(int number, const QString &fy, LoadedChallan *challan);

// What the printed challan shows of a saved challan.
struct ChallanPrintLine
{
    QString inwardDate; // "dd/MM/yyyy"
    QString poNo;
    QString dcNo;
    QString itemCode;
    QString itemName;
    QString uom;
    double qty = 0;
};
struct ChallanPrintData
{
    QString fullNumber; // number + "/" + year
    QString date;       // "dd/MM/yyyy", empty when the stored date is unreadable
    QString customerName;
    QString address1;
    QString address2;
    QString gstNo;
    QString phone;
    QString sacCode;
    QString remarks;
    QList<ChallanPrintLine> lines;
};
// False when no challan of that number and year exists.
bool readChallanForPrint(int number, const QString &fy, ChallanPrintData *data);
