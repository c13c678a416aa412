#pragma once
// The one reading of a number the user typed: a quantity, a rate or an amount
// in a line edit or an editable table cell. Every form reads typed numbers
// through it, so NaN, infinities, overflow and stray text never reach the
// database or a total. The bound a figure must keep (money below 10^11
// rupees, quantities below 10^9 units) and the refusal of a figure beyond
// it are in figurebound.h, included here for the forms that refuse one; the
// checks of a figure against it are with the money type (money.h).

#include "figurebound.h"

#include <QString>

struct TypedNumber
{
    enum Kind { Empty, Number, NotANumber };
    Kind kind = Empty;
    double value = 0; // 0 unless kind is Number

    bool isEmpty() const { return kind == Empty; }
    bool isNumber() const { return kind == Number; }
    bool isNotANumber() const { return kind == NotANumber; }
    // The value, or `fallback` for empty text and for text that is no number.
    double valueOr(double fallback) const { return kind == Number ? value : fallback; }
};

// Reads `text` after trimming: empty (or only spaces) is Empty; a plain
// decimal number with a point (sign, exponent allowed) that is finite is
// Number; everything else, including "nan", "inf", "1e309" and digit
// grouping, is NotANumber.
TypedNumber readTypedNumber(const QString &text);

// The number in the text, or 0 when it is empty or no number: for fields and
// cells where an unreadable value counts as nothing (a TDS or tax cell).
double typedNumberOrZero(const QString &text);

// True when the text spells a number that is not finite: "nan", "inf" or a
// decimal too large for a double ("1e309"). Forms where other stray text
// counts as 0 refuse these, since a REAL column holds finite numbers only.
bool spellsNonFiniteNumber(const QString &text);
