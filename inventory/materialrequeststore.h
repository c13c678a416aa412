#pragma once
// Material requests in the database: a supplier's stock items to order from,
// saving the ticked lines as one numbered request, the request list with its
// status changes. Plain functions on the default connection; the request form
// and the request list bind them to their widgets.
//
// A request is the set of purchase_orders rows sharing one po_number; a line
// of the list is its own row (po_id): a request may name one item twice.

#include "core/listedrow.h"

#include <QColor>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// The suppliers of the stock items, by name ("" for items without one).
QStringList stockItemSuppliers();

// One stock item of a supplier, as the request form lists it.
struct SupplierItem
{
    QString category;
    QString supplierName;
    QString supplierPhone; // "" when none is stored
    QString itemName;
    double balance = 0;
    QString uom;
};

// The supplier's items by name; a failing query gives none.
QList<SupplierItem> supplierItems(const QString &supplier);

// One ticked line of the request form, as its cells read.
struct RequestLineInput
{
    QString category;
    QString itemName;
    QString qtyText; // the order quantity as typed
    QString uom;
    QString supplierPhone;
};

// What stops a request from being saved.
enum class RequestCheck { Ok, NothingTicked, MissingQty, QtyTooLarge };

// Every ticked line needs an order quantity above 0; empty text, letters,
// NaN and infinities count as no quantity; a figure beyond the quantity
// bound (see money.h) is too large, refused under figureTooLargeTitle().
RequestCheck checkRequestLines(const QList<RequestLineInput> &lines);
QString requestCheckText(RequestCheck check); // "" for Ok

// The number of the next request made on `date`: "MR/" + year label + "/" +
// the count of stored lines plus one, at least three digits. False with
// `error` set when the lines cannot be counted.
bool nextMaterialRequestNumber(const QDate &date, QString *number, QString *error);

struct RequestSaveOutcome
{
    int saved = -1;  // lines written, -1 when nothing was
    QString number;  // the request number they share
    QString error;   // the driver's text when the save failed
};

// The request number a save takes, asked inside its write transaction: ""
// with `error` set when it cannot be taken.
using RequestNumberSource = std::function<QString(QString *error)>;

// Writes the lines (checked beforehand) as one request of `supplier`, dated
// `date`, status "Open", all carrying the phone of the first line: numbered
// and written in one transaction, all lines or none. The number comes from
// `numberSource`, or else from nextMaterialRequestNumber for `date`.
RequestSaveOutcome saveMaterialRequestLines(const QString &supplier, const QList<RequestLineInput> &lines,
                                            const QDate &date, const RequestNumberSource &numberSource = {});

// The suppliers that requests were made to, by name.
QStringList requestSuppliers();

// One line of the request list.
struct RequestListRow
{
    int poId = 0;
    QString poNumber;
    QString poDate; // as stored
    QString supplierName;
    QString itemName;
    QString category;
    double orderQty = 0;
    QString uom;
    QString status;
    StoredRow stored; // the line's every column as the list read it
};

// Lines dated from..to ("yyyy-MM-dd", both inclusive), of one supplier when
// `supplier` is given ("" for lines without one), newest date first, then by
// request number.
bool queryRequestList(const std::optional<QString> &supplier, const QString &from, const QString &to,
                      QList<RequestListRow> *rows, QString *error);

// The list's date of a line, "dd-MM-yyyy" from the stored "yyyy-MM-dd"; ""
// when the stored date does not read as one.
QString requestDateText(const QString &stored);
// The list's quantity of a line: two decimals.
QString requestQtyText(double qty);

// The background of a status cell; invalid (none) for an unknown status.
QColor requestStatusColor(const QString &status);

// The stored status values, in the order of the list's radio buttons.
QStringList requestStatuses();

// A ticked line of the list: its row, the number and item name and status
// the list showed for it, and the line as the list read it.
struct RequestLineKey
{
    int poId = 0;
    QString poNumber;
    QString itemName;
    QString shownStatus; // "" for a line stored without one
    StoredRow loaded;
};

// Stores `status` on the line of each key, by its row (po_id) alone, in one
// transaction; every other line, of the same number and item too, stays as
// it is. Returns the number of lines updated, or -1 with `error` set when it
// failed (nothing is changed then). A line no longer exactly as loaded, any
// column changed or the line deleted since the list was read, fails the
// whole batch with requestChangedText (or, for a line gone, rowGoneText),
// and `refused` (when given) is set.
int updateRequestStatus(const QList<RequestLineKey> &keys, const QString &status, QString *error,
                        bool *refused = nullptr);

// The warning when a ticked line is no longer as the list showed it.
QString requestChangedText(const RequestLineKey &key);
