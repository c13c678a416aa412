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
// A figure is read through the typed-number reading (typednumber.h) into
// the money type (money.h); both headers give these declarations to their
// users.

#include <QString>
#include <QtGlobal>
#include <optional>

class Decimal;
class Money;

enum class FigureKind { Money, Quantity };
constexpr qint64 MoneyBoundRupees = 100000000000LL; // 10^11, itself refused
constexpr qint64 QuantityBoundUnits = 1000000000LL; // 10^9, itself refused

// Whether a figure is within the bound of its kind; an invalid one is not.
bool withinBound(const Decimal &figure, FigureKind kind);
bool withinBound(Money amount);
// A typed figure within its bound, to all of its digits: nullopt for empty
// text, text that is no number, and a number beyond the bound.
std::optional<Decimal> boundedFigure(const QString &text, FigureKind kind);
// A typed amount within the money bound, rounded once to paise.
std::optional<Money> boundedAmount(const QString &text);
// Whether a typed text is a number (see typednumber.h) beyond the bound of
// its kind ("1e15", "1e308"): a form refuses it with its field's warning
// before it saves anything.
bool typedNumberTooLarge(const QString &text, FigureKind kind);

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
// That text when `text` is a number beyond the bound, or a decimal too large
// even for a double ("1e309"); empty otherwise (empty text, text that is no
// number, "nan" and "inf", a number within the bound).
QString typedFigureTooLarge(const QString &field, const QString &text, FigureKind kind);
