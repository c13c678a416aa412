#pragma once
// The bounds of the figures this office enters, the same in every form: a
// money figure (an amount, rate, payment, TDS, tax, expense, salary field,
// line amount or total) is taken only when, to the paisa, it is below 10^11
// rupees (99,999,999,999.99 at most); a quantity only when, to the
// thousandth, it is below 10^9 units (999,999,999.999 at most). A REAL
// column holds every such figure exactly to the decimals it keeps (paise;
// a quantity's thousandths and up to six decimals in all): at most fifteen
// significant digits, far inside a double's 2^53, which read back as the
// same decimal, so what is stored lists, prints and adds as was entered.
//
// These are the bounds and their refusal texts; the checks of a figure
// against them are with the money type (money.h), which reads it through the
// typed-number reading (typednumber.h).

#include <QString>
#include <QtGlobal>

enum class FigureKind { Money, Quantity };
constexpr qint64 MoneyBoundRupees = 100000000000LL; // 10^11, itself refused
constexpr qint64 QuantityBoundUnits = 1000000000LL; // 10^9, itself refused

// The refusal of a typed number beyond the bound of its kind, the same in
// every form: under figureTooLargeTitle(), a text that names the field, the
// reason and the bound: "Amount is too large: at most 99,999,999,999.99",
// "Qty is too large: at most 999,999,999.999 (quantity)".
QString figureTooLargeTitle();
QString figureTooLargeText(const QString &field, FigureKind kind);
// The refusal of a figure that is within its bound itself but would take a
// running figure past it, in the same shape: "Quantity is too large: the
// balance would pass 999,999,999.999 (quantity)".
QString figureWouldPassText(const QString &field, const QString &runningFigure, FigureKind kind);

// The refusal of a figure a list shows that a total of its rows cannot add
// up exactly (a stored figure of 10^21 or more, shown as stored), in the
// same shape: "Amount 1e+21 is too large to be added up exactly; nothing
// was written."
QString figureTooLargeToAddText(const QString &field, const QString &shown);

// The refusal of an action on a figure a list shows as stored because it is
// beyond what the program works with exactly (10^15 or more, written by
// another program; see money.h), naming its row and field: "Invoice No
// 3/26-27: Balance 10000000000000000.00 is too large to work with: the
// program works exactly only below 1,000,000,000,000,000."
QString storedFigureTooLargeText(const QString &row, const QString &field, const QString &shown);
