#pragma once
// The items table as the item master reads and writes it, and the way rates
// and tax percentages are read and shown.

#include "masterdb.h"

#include "core/listedrow.h"

#include <QList>
#include <QString>
#include <QStringList>

struct ItemRow
{
    int id = 0;
    QString customerName, code, name, drawingNo, uom;
    double rate = 0;
    double taxPercent = 0;
    // Every column of the item as the list read it.
    StoredRow stored;
};

struct ItemFields
{
    int customerId = 0;
    QString code, name, drawingNo, uom;
    double rate = 0;
    double taxPercent = 0;
};

// Code, name and drawing number trimmed and upper-cased; the rest as given.
ItemFields storedItemFields(ItemFields fields);

// Items of one customer (every customer for an id below 1) whose code or
// name contains `search` (letter case of ASCII letters ignored), by customer
// name, code and name. Items whose customer is gone are not listed.
QList<ItemRow> findItems(int customerId, const QString &search);

// "Item <code>" (or "Item <name>" for an item without a code), cut to about
// 40 characters: how a refusal names a listed item.
QString itemRowName(const ItemRow &row);

// Add and update write only while, once they hold the write lock, the
// chosen customer is still stored (else Failed) and no other item of it has
// the code in any letter case (else Duplicate; an item without a code is not
// looked for); update writes the listed item `loaded` only while it is still
// stored exactly as the list read it (else Stale, with the reason and how to
// go on in `error`). Failed gives the reason in `error`; nothing is written
// unless Written.
MasterWrite insertItem(const ItemFields &fields, QString *error);
MasterWrite updateItem(const ItemRow &loaded, const ItemFields &fields, QString *error);
// Delete removes the listed item only while it is still stored exactly as
// the list read it and no document names it: otherwise false, nothing
// written, and the reason (and how to go on) in `error`.
bool deleteItem(const ItemRow &loaded, QString *error);

// Why the item cannot be deleted: documents ("Inward Entries", ...) still
// name it; empty when it can.
QString itemDeletionRefusal(int id);

// A rate typed by the user: empty reads as 0; false for any other text that
// is not a finite number.
bool parseRate(const QString &text, double *rate);

// "18 %" reads as 18: every space and "%" removed, the rest read as a number.
double taxPercentFromText(const QString &text);

// How the list shows them: "12.500" and "18 %".
QString rateText(double rate);
QString taxText(double taxPercent);
