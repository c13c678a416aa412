#pragma once
// Supplier payments: the unpaid credit bills of a supplier, one payment over
// ticked bills written in one transaction, the payment receipt, and the
// supplier payment statement with its printout. Plain functions on the
// default connection; the payment and statement windows bind them.

#include "core/companyinfo.h"
#include "core/listedrow.h"
#include "core/money.h"
#include "core/storedsum.h"

#include <QColor>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// ---- Payment entry --------------------------------------------------------

struct UnpaidBill
{
    int billId = 0;
    QString billNo;
    QString billDate; // as stored
    QString company;
    Money total;
    // The bill as the list read it: every column and its payments.
    StoredRow stored;
};

// The supplier's credit bills (type "credit" in any letter case) that are
// unpaid (payment_status NULL or 'Unpaid'), oldest bill date first.
bool loadUnpaidBills(const QString &company, QList<UnpaidBill> *bills, QString *error);

// A bill date as the payment lists show it: stored "yyyy-MM-dd" or
// "dd-MM-yyyy" as "dd-MM-yyyy"; any other text unchanged.
QString paymentListDate(const QString &stored);
// Days from the bill date to `today`; 0 when the date reads in neither form.
int billAgeDays(const QString &stored, const QDate &today);
// The age cell's colour: red above 90 days, yellow above 60, else none.
std::optional<QColor> billAgeColour(int days);

// "RCT-" and the moment as "yyMMddHHmmss".
QString receiptNumber(const QDateTime &moment);

struct SupplierPayment
{
    // The ticked bills, in table order, as the payment list read them: each
    // is paid only while it is still stored exactly so, its total and status
    // as the form showed them.
    QList<UnpaidBill> bills;
    QString date;       // "yyyy-MM-dd"
    Money amount;       // the whole amount, recorded on every bill's row
    QString reference;
    QString mode;
    QString receiptNo; // proposed; the payment's rows share it, or the free one freePaymentRef makes of it
};

enum class PaymentWrite {
    Recorded,
    BillNotUnpaid, // a bill was paid, changed or deleted meanwhile
    Failed,        // the database refused a statement
};

// Marks every bill 'Paid' and adds one payment_records row per bill, all in
// one transaction. A bill that is no longer unpaid, or no longer stored as
// `bills` holds it, is not paid: the whole payment is refused, its id given
// in *staleBillId and the reason, naming it, in *error. The payment_ref
// of its rows is chosen inside the transaction (freePaymentRef of the
// proposed receipt number), which holds the write lock from its start, so two
// payments made in the same second, from one copy of the program or two,
// never share one; *paymentRef gets it. On anything but Recorded nothing is
// written; *error holds the driver's text on Failed.
PaymentWrite recordSupplierPayment(const SupplierPayment &payment, QString *error, int *staleBillId = nullptr,
                                   QString *paymentRef = nullptr);

// A payment_ref that no stored record carries yet: `receiptNo`, or it with
// "-2", "-3", ... when payments were made within the same second. False with
// `error` set when the lookup fails.
bool freePaymentRef(const QString &receiptNo, QString *paymentRef, QString *error = nullptr);

// ---- Receipt --------------------------------------------------------------

struct ReceiptBill
{
    QString billNo;
    QString billDate; // "dd-MM-yyyy", empty when the stored date is not "yyyy-MM-dd"
    Money total;
};

// The bills of the receipt, in the given order; a bill that is gone gives no row.
QList<ReceiptBill> receiptBills(const QList<int> &billIds);

struct PaymentReceipt
{
    CompanyInfo company;
    QString leftLogoHtml; // an image element or "&nbsp;" (logoImageHtml)
    QString rightLogoHtml;
    QString receiptNo;
    QString date; // "dd-MM-yyyy"
    QString supplier;
    QString mode;
    QString reference;
    int billCount = 0;
    QString amountText; // as typed
    QList<ReceiptBill> bills;
};

// The receipt's page HTML; every value escaped.
QString paymentReceiptHtml(const PaymentReceipt &receipt);

// ---- Statement ------------------------------------------------------------

struct StatementRecord
{
    QString billNo;
    QString billDate;
    QString company;
    Money billTotal;
    Money paid;
    QString paymentDate;
    QString paymentRef; // null for records written before payments carried one
};

// The supplier's payment records dated from..to ("yyyy-MM-dd", inclusive)
// beside their bills, by payment date, a payment's records together.
bool loadSupplierStatement(const QString &company, const QString &from, const QString &to,
                           QList<StatementRecord> *records, QString *error);

// The six cells of each statement row. A payment shows its amount and date on
// its first bill only: a record of the same payment_ref as the record above
// leaves them empty; records without payment_ref are grouped as before, by
// the same payment date and amount as the record above.
QList<QStringList> statementCells(const QList<StatementRecord> &records);

struct StatementTotals
{
    StoredTotal bills;
    StoredTotal paid;
};
// Column 3 summed over every row, column 4 over the rows where it is not
// empty, exactly, however many rows there are.
StatementTotals statementTotals(const QList<QStringList> &rows);

struct StatementPrint
{
    CompanyInfo company;
    QString leftLogoHtml;
    QString rightLogoHtml;
    QString supplier;
    QString from; // "dd/MM/yyyy"
    QString to;
    QList<QStringList> rows; // the six cells of each row, as the table shows them
};

// The printout's HTML; every cell escaped, with the Grand Total row.
QString supplierStatementHtml(const StatementPrint &print);
