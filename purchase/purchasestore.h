#pragma once
// Purchase bills: the purchase tables, the bill row, the list statements, the
// entry's total and duplicate check, the in-place update of listed bills and
// the purchase report file. Plain functions on the default connection; the
// purchase window binds them to its widgets.

#include "core/listedrow.h"
#include "core/money.h"
#include "output/csvexport.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

// Creates db_version, moves a purchase schema older than version 2 aside
// (purchase_bills and purchase_items become ..._v1_backup) and creates
// purchase_bills. Also adds what the supplier payments need, so that the
// dashboard sees unpaid bills before the payment form has ever been opened.
// Failures go to the debug stream only.
void initPurchaseTables();

// Adds payment_status to purchase_bills, creates payment_records and gives
// it payment_ref, the receipt number that ties a payment's rows together (all
// idempotent); run by every payment form and by initPurchaseTables.
void initPaymentTables();

// Where a bill is stored: its purchase_bills row, and the payment_records
// rows stored against it, by payment_id. A list or form keeps a bill as this
// gives it and changes or pays it only while it is still so.
const RowSource &purchaseBillSource();

// "Bill No " and the number as the list shows it, a long one cut short
// (shortRowName): how refusals name a bill.
QString billRowName(const QString &billNo);

// The payments of the bills that "SELECT bill_id FROM purchase_bills " +
// `billWhere` gives, each with the columns purchaseBillSource compares, by
// bill and then in the order that source reads them.
QString listedBillPaymentsStatement(const QString &billWhere);

// Adds the payments that `paymentsSql` (listedBillPaymentsStatement, bound
// with `values`) gives to the stored rows of `rows`, read by bill_id without
// their payments: each then compares as readStoredRow of purchaseBillSource
// gives it. False with the driver's text when they cannot be read.
bool readListedBillPayments(const QString &paymentsSql, const QVariantMap &values,
                            const QHash<int, StoredRow *> &rows, QString *error);

// The number of tax amount columns: CGST and SGST at 2.5, 6, 9 and 14 %.
constexpr int PurchaseTaxColumns = 8;

// One purchase_bills row: one supplier bill with its one item line.
struct PurchaseBill
{
    int billId = 0;
    QString billNo;
    QString billDate; // stored text, normally "yyyy-MM-dd"
    QString companyName;
    QString gstNo;
    QString type; // "Cash" or "Credit"
    QString description;
    QString quantity; // as typed
    // The amounts to the paisa; a stored amount is read as the decimal it
    // was written from (Money::fromStored).
    Money baseAmount;
    // cgst2_5, sgst2_5, cgst6, sgst6, cgst9, sgst9, cgst14, sgst14
    std::array<Money, PurchaseTaxColumns> taxes{};
    Money billTotal;
    QString hsnCode;
    // The row as a list read it (every column and its payments); empty for
    // a bill that was not read from the file.
    StoredRow stored;
};

// Base amount plus the eight tax amounts, as they are.
Money billAmountSum(const PurchaseBill &bill);

// The entry's total: the sum rounded half away from zero to whole rupees.
Money roundedBillTotal(Money sum);

// True when a bill with this number is stored on this date ("yyyy-MM-dd");
// nullopt when the check itself failed.
std::optional<bool> purchaseBillExists(const QString &billNo, const QString &billDate);

// Inserts columns 2 to 19 of the bill; false with the driver's text on failure.
bool insertPurchaseBill(const PurchaseBill &bill, QString *error);

// Which bills a list shows.
struct BillListFilter
{
    QString company; // empty or "All Companies": every supplier
    QString from;    // "yyyy-MM-dd"; the period applies when both ends are given
    QString to;
    bool newestRecordFirst = false; // by bill_id instead of bill_date, both descending
};

// The statements of a list and their bound values: its bills with their
// stored columns (Show: the period always applies, newest record first;
// Filter and Reset: by bill date), then the payments of those bills.
QString billListStatement(const BillListFilter &filter);
QString billListPaymentsStatement(const BillListFilter &filter);
QVariantMap billListValues(const BillListFilter &filter);
// The bills of a list, each with its stored row and payments.
bool loadPurchaseBills(const BillListFilter &filter, QList<PurchaseBill> *bills, QString *error);

// The eighteen texts of a list row: dates "dd-MM-yyyy" (other text as
// stored), base and total always with two decimals, a tax amount only when
// above 0.
QStringList billListCells(const PurchaseBill &bill);

// A date typed into the list: "dd-MM-yyyy" or "yyyy-MM-dd" gives the stored
// "yyyy-MM-dd"; any other text gives nullopt.
std::optional<QString> storedBillDate(const QString &typed);

// A bill as a list read it (or last wrote it): its stored row with its
// payments, and its number then, by which refusals name it.
struct ListedBill
{
    StoredRow stored;
    QString billNo;
};

// Writes columns 2 to 19 of `bill` by its bill_id (payment_status
// untouched), inside the caller's transaction, only while the record is still
// exactly as `listed` was read (its payments included); `written` then gets
// the row as now stored. False with the reason otherwise: the refusal names
// the bill by its listed number.
bool updatePurchaseBill(const PurchaseBill &bill, const ListedBill &listed, StoredRow *written, QString *error);

// Deletes the record `billId` in a transaction of its own, only while it is
// still exactly as `listed` was read (else false with the reason); its
// payment_records rows stay, as they were when it was listed.
bool deletePurchaseBill(int billId, const ListedBill &listed, QString *error);

// The supplier choices: the filter combo's names (distinct, by name) and the
// completers' names and GST numbers (distinct, in stored order).
struct SupplierLists
{
    QStringList comboNames;
    QStringList completerNames;
    QStringList gstNumbers;
};
SupplierLists loadSupplierLists();

// GST number and type of the supplier's latest bill (by bill date); exact name.
struct SupplierDetails
{
    QString gstNo;
    QString type;
};
std::optional<SupplierDetails> latestSupplierDetails(const QString &company);

// The purchase report: title block of the last Show, the list's header and
// rows, and the TOTAL line of columns 6 to 16.
CsvExportProfile purchaseReportProfile(const QString &from, const QString &to, const QString &company,
                                       const QStringList &headers, const QList<QStringList> &rows);
// The TOTAL line's eighteen fields: columns 6 to 16 summed over the cells
// that hold a plain decimal number (a quantity such as "10 kg" or "1e3" adds
// nothing), each amount cell to the paisa. A stored figure beyond what the
// program keeps, shown as stored, adds as shown; a cell that cannot be added
// up exactly leaves its total empty, and the export names it (row: "Bill No
// S1", or "Row 3" without a number; field: its header).
QStringList purchaseReportTotals(const QList<QStringList> &rows);
