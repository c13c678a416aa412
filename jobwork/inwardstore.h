#pragma once
// Inward entries in the database: the next number, the item search, the list,
// loading one entry back, and saving, rewriting and cancelling an entry. Every
// function works on the default connection and takes and returns plain values;
// the inward entry form binds them to its widgets.

#include "core/listedrow.h"
#include "core/listformat.h"
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariantMap>

class Decimal;

// The header values that every line of one inward entry carries.
struct InwardHeader
{
    int number = 0;     // inward_no
    QString fullNumber; // inward_no_full, "7/26-27"
    QString fy;         // fy_name
    QString inwardDate; // "yyyy-MM-dd", as the three dates
    QString dcDate;
    QString poDate;
    int customerId = -1;
    QString dcNo;
    QString poNo;
    QString remarks;
};

// One item line to write.
struct InwardLine
{
    int itemId = 0;
    double qty = 0;
};

// An item line of a saved entry, as the form shows it.
struct InwardItemLine
{
    int itemId = 0;
    QString code;
    QString name;
    QString uom;
    double qty = 0;
};

struct LoadedInward
{
    bool found = false;
    InwardHeader header;
    QList<InwardItemLine> lines;
    StoredRow rows; // its live rows, every column, by inward_id: what Update and Cancel expect to find
};

// One row of the inward list: one inward entry.
struct InwardListRow
{
    int number = 0;
    QString fullNumber;
    QString dcNo;
    QString dcDate; // as stored
    QString customerName;
    QString remarks;
    bool cancelled = false;
};

// An item of the search popup.
struct ItemHit
{
    int itemId = 0;
    QString code;
    QString name;
    QString uom;
};

// What live delivery challans have delivered of one item of an inward entry,
// and what bins of type "DC" closed of it.
struct DeliveredItem
{
    int itemId = 0;
    QString code;
    QString name;
    double delivered = 0;
    QStringList challans; // full challan numbers
    double newQty = 0;    // filled by deliveredBeyond: the qty the update would leave
    double binned = 0;

    double closed() const { return delivered + binned; }
};

// --- text and arithmetic ---

// The integer before the first "/" of a full number; 0 when it is not one.
int inwardNumberOf(const QString &fullNumber);

// The popup's text for an item: "CODE - NAME [UOM]", or "NAME [UOM]" without a code.
QString itemHitText(const ItemHit &hit);

// Height in pixels of the item popup for `hits` entries: eight rows at most, 35 each.
int itemPopupHeight(int hits);

// A typed line quantity as it is written, totalled and shown again: rounded
// once to the thousandth from all of its digits. Text that is no number, and
// a figure that rounds to the quantity bound or beyond, count as 0.
Decimal inwardQuantity(const QString &text);

// The lines to write from the table's (item id, qty) cell texts, each qty as
// inwardQuantity reads it: above 0 only, one line per item, in ascending item
// id. An entry loaded with two stored rows of one item (merged by two copies
// of an older program, or written by hand) shows two lines of it; their
// quantities are added up, so an update never drops one.
QList<InwardLine> inwardLinesToWrite(const QList<QPair<QString, QString>> &cells);

// The delivered or binned items that `lines` would leave below their
// delivered plus binned qty, so below a balance of 0 (an item missing from
// `lines` counts as 0); each with its new qty filled in.
QList<DeliveredItem> deliveredBeyond(const QList<DeliveredItem> &delivered, const QList<InwardLine> &lines);

// The warning that refuses an update lowering delivered lines.
QString deliveredBeyondText(const QList<DeliveredItem> &items);

// The refusal of cancelling an entry that the challans use.
QString cancelRefusalText(const QStringList &challans);

// The warning when the loaded entry was rewritten or cancelled meanwhile;
// `nothingDone` ends it ("Nothing was updated.").
QString inwardChangedText(const QString &fullNumber, const QString &nothingDone);

// The question asked before an update.
QString updateQuestionText(const QString &fullNumber, int itemCount, const Decimal &totalQty);

// --- database ---

// "n/fy" for the next inward entry of the year (the largest number plus one).
QString nextInwardFullNumber(const QString &fy);

// Up to ten items of the customer whose code or name holds `text` in any
// letter case, by code. `text` is used as given (the caller trims it).
QList<ItemHit> searchCustomerItems(int customerId, const QString &text);

// One row per inward entry, rows of `fy` first, then other years by name
// descending, then by number descending. A customer id below 1 and empty
// dates mean no filter; the dates bound the inward date, both ends included.
// When the statement fails the list is empty and `error` gets the driver's text.
QList<InwardListRow> inwardListRows(int customerId, const QString &from, const QString &to, const QString &fy,
                                    QString *error = nullptr);
// The statement inwardListRows runs, its values put in `values`.
QString inwardListStatement(int customerId, const QString &from, const QString &to, const QString &fy,
                            QVariantMap *values);

// The entry with number `number` of year `fy`: its live rows (not found when
// it has none: cancelled or gone), with its lines by item code.
LoadedInward loadInward(int number, const QString &fy);

struct InwardSaveResult
{
    enum Status { Saved, NumberUsed, Failed };
    Status status = Failed;
    QString error;          // with Failed: the driver's text
    QString nextFullNumber; // with NumberUsed: the next number of the year no entry uses
};

// Writes a new entry, one row per line, all or nothing. Inside the write
// transaction, before anything is written, it checks that no row of the
// header's number and year is stored (live or cancelled); one is
// (NumberUsed: saved meanwhile, e.g. by a second copy of the program on the
// same file), and nothing is written. As the transaction holds the write
// lock, no two entries are ever stored under one number and year.
InwardSaveResult saveInward(const InwardHeader &header, const QList<InwardLine> &lines);

// The refusal of a save whose number was taken meanwhile, with how to go on.
QString inwardNumberUsedText(const QString &fullNumber, const QString &nextFullNumber);

struct InwardUpdateResult
{
    enum Status { Updated, Changed, DeliveredBeyond, DeleteFailed, InsertFailed, CommitFailed };
    Status status = Updated;
    QString error;                  // the driver's text
    QList<DeliveredItem> delivered; // with DeliveredBeyond: the lines refused
};

// Rewrites the live rows of the entry that the header's number and year name,
// with the header and lines, all or nothing; rows of the number and year
// cancelled earlier stay as they are. Refused, with nothing written, when its
// live rows are no longer `loadedRows`, any column (rewritten, cancelled or
// gone since it was loaded: Changed), or when a line would fall below what
// live delivery challans delivered of it plus what bins closed of it.
InwardUpdateResult updateInward(const InwardHeader &header, const QList<InwardLine> &lines,
                                const StoredRow &loadedRows);

// Per item, what the live delivery challans of year `fy` delivered against
// inward entry `number`, and what its bins of type "DC" closed. Empty, with
// the driver's text in `error`, when they cannot be read.
QList<DeliveredItem> deliveredItems(int number, const QString &fy, QString *error = nullptr);

// The full numbers of the live delivery challans that use the entry, by
// number, in `challans`; false with the driver's text when they cannot be read.
bool challansUsingInward(int number, const QString &fy, QStringList *challans, QString *error);

struct InwardCancelResult
{
    enum Status { Cancelled, Changed, UsedByChallans, Failed };
    Status status = Failed;
    QStringList challans; // with UsedByChallans: as challansUsingInward gives them
    QString error;        // with Failed: the driver's text
};

// Marks the entry's rows cancelled, in one transaction that first checks that
// its live rows are still `loadedRows` and that no live challan uses it.
InwardCancelResult cancelInward(int number, const QString &fy, const StoredRow &loadedRows);
