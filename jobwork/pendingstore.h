#pragma once
// What is still to be sent back on each inward entry, and closing it to bins.
// Plain functions on the default connection; the challan generation window
// binds them to its widgets.
//
// An inward entry is all live lines of one inward number in one financial
// year. What closes its quantity is the live challan lines of the same number
// and year plus the quantities binned to type "DC" in that year; every balance
// here subtracts both, so the list, the challan form and Bin agree.

#include "core/storedsum.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantMap>

enum class PendingStatus { Pending, Partial, Issued };

// Whether a balance still counts as open: its exact decimal above 0.005, so
// 10 less 9.995 is closed. The balances here are the nearest doubles to exact
// decimals, which read back as those decimals: an entry's own lines are
// summed to all their digits, the list's groups exactly (see storedsum.h).
bool balanceIsOpen(double balance);

// Nothing closed yet: Pending; a balance above 0.005 left: Partial; otherwise
// (a negative balance included): Issued.
PendingStatus pendingStatus(double received, double closed);
QString statusText(PendingStatus status);

// Which rows the list keeps: open ones (Pending and Partial), Issued ones, or all.
enum class PendingFilter { Open, Issued, All };
bool filterKeeps(PendingFilter filter, PendingStatus status);

// One inward entry with what is still to be sent back on it.
struct PendingRow
{
    int inwardNo = 0;
    QString inwardNoFull;
    QString fy;
    QString inwardDate; // as stored
    QString dcNo;       // the customer's own challan
    QString dcDate;     // as stored
    QString poNo;
    int customerId = -1;
    QString customerName;
    double received = 0;  // the entry's inward quantity
    double delivered = 0; // live challan lines
    double binned = 0;    // closed to bins of type "DC"

    // Exactly: 3.0005 received less 1 delivered is 2.0005.
    double closed() const;
    double balance() const;
    // The balance exactly, however large: what the list shows (a quantity
    // stored at 10^15 or more by another program is taken as stored).
    StoredTotal balanceTotal() const;
    // Why no challan can be made or bin written on the entry: a figure stored
    // beyond what the program works with exactly, named with the entry; empty
    // when every figure is within it.
    QString tooLargeText() const;
    PendingStatus status() const { return pendingStatus(received, closed()); }
};

// The list's filter: a customer id below 1 means every customer; a blank item
// text every entry, else the entries with a line whose item code or name holds
// it in any letter case. Rows of `currentFy` come first, then the other years
// by name descending, each by inward number descending.
struct PendingQuery
{
    int customerId = -1;
    QString itemText;
    QString currentFy;
    PendingFilter filter = PendingFilter::Open;
};

// One grouped pass over inward lines, challan lines and bins. False with
// `error` set to the driver's text when the query fails.
bool queryPendingInwards(const PendingQuery &query, QList<PendingRow> *rows, QString *error);
// The statement queryPendingInwards runs (before its status filter), its
// values put in `values`; its sums are written out as forEachStoredSumRow
// runs it (core/storedsum.h).
QString pendingStatement(const PendingQuery &query, QVariantMap *values);

// A line of an inward entry as the preview shows it.
struct InwardItemRow
{
    QString itemCode;
    QString itemName;
    double qty = 0;
    QString uom;
    QString remarks;
};

// The live lines of the inward entry, by item code.
QList<InwardItemRow> inwardItemRows(int inwardNo, const QString &fy);

// An inward entry whose balance is to be closed, with its customer and the
// figures the list showed for it: Bin closes it only while they still hold.
struct BinTarget
{
    int inwardNo = 0;
    QString fy;
    int customerId = -1;
    double received = 0;
    double delivered = 0;
    double binned = 0;
};
BinTarget binTargetOf(const PendingRow &listed);

struct BinOutcome
{
    bool ok = false;
    int written = 0;    // bins rows written
    QString error;      // the driver's text when it failed
    QString notPending; // the full number of an entry found issued or cancelled: nothing was binned
    // Why a line's figure, stored beyond what the program works with exactly,
    // was not binned (storedFigureTooLargeText); nothing was binned.
    QString tooLarge;
};

// Closes what is still open on each line of the entries: one bins row of type
// "DC" per item whose balance (received less live challan lines and earlier
// "DC" bins of the same number, item and year) is above 0.005, dated `date`,
// with the entry's year and customer. All entries in one transaction: all or
// nothing. An entry that is no longer pending or partial (issued, cancelled
// or gone since it was listed), or whose received, delivered or binned
// quantity is no longer what the list showed (a challan made or cancelled,
// a bin written meanwhile), refuses the whole batch (`notPending`), so
// nothing is binned that the list did not show; so does one whose figures
// as listed are stored beyond what the program works with exactly
// (`tooLarge`).
BinOutcome binPendingBalances(const QList<BinTarget> &targets, const QDate &date);

// What PendingRow::tooLargeText gives for an entry's figures as listed.
QString entryTooLargeText(const QString &inwardNoFull, double received, double delivered, double binned);

// The warning that refuses a bin of an entry no longer as listed.
QString notPendingText(const QString &fullNumber);

// The warning that refuses to open a challan form for entries that have
// nothing left to deliver since they were listed.
QString nothingLeftText(const QStringList &fullNumbers);

// The warning that refuses handing an earlier (or later) year's inward entry
// to the challan form, which works in the current year.
QString otherYearRefusalText(const QString &inwardNoFull, const QString &fy, const QString &currentFy);
