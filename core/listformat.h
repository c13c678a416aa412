#pragma once
// How the lists show stored values.

#include <QDate>
#include <QString>

// A quantity with three decimals, rounded from the decimal it was stored as,
// half away from zero: 12.5 gives "12.500", 2.0005 gives "2.001".
QString quantityText(double qty);

// A stored amount with two decimals and no grouping: 1250 gives "1250.00",
// 2.445 gives "2.45" (the decimal it was stored from, rounded half away from
// zero; see money.h), never "-0.00".
QString amountText(double amount);

// A stored "yyyy-MM-dd" date as "dd-MM-yyyy"; any other text as stored.
QString storedDateText(const QString &stored);

// The date of a stored "yyyy-MM-dd" text; invalid for any other text. Read
// by hand: a list of thousands of rows would spend most of its time in the
// general date parser.
QDate storedDate(const QString &stored);
