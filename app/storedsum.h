#pragma once
// Stored REAL amounts summed exactly in SQL. SQLite adds REAL values as binary
// fractions: 2268.95 + 915.78 + 630.27 comes to 3815 less 4.5e-13, which a
// check of what is still owed takes for money. A statement sums each value
// instead as the whole number of millionths of a rupee it stands for, which
// SQLite adds exactly as integers, and reads the sum back with fromMicros:
//
//     "SELECT SUM(" STORED_MICROS("bill_total") ") FROM purchase_bills"
//     const Money total = fromMicros(q.value(0)).toMoney();
//
// A NULL value stays NULL (SUM skips it), as in the plain sum.

#include "app/money.h"

class QString;
class QVariant;

#define STORED_MICROS(column) "CAST(ROUND((" column ") * 1000000) AS INTEGER)"

// For the few values of one record (the lines of one challan), exactly to
// all of their digits: SQLite writes each REAL value as the decimal it was
// stored from (fifteen significant digits), joined by blanks, and
// fromStoredList sums them as exact decimals. NULL when there is none.
//
//     "SELECT " STORED_LIST("d.delivery_qty") " FROM delivery_entries d WHERE ..."
//     const Decimal delivered = fromStoredList(q.value(0));
#define STORED_LIST(column) "GROUP_CONCAT(" column ", ' ')"

// A sum of STORED_MICROS values as the exact decimal it is; NULL is 0.
Decimal fromMicros(const QVariant &sum);

// The exact sum of a STORED_LIST; NULL is 0.
Decimal fromStoredList(const QVariant &list);

// A statement whose one value is a sum of STORED_MICROS values, giving that
// sum in rupees instead (the nearest double: a chart's bar).
QString microsInRupees(const QString &statement);
