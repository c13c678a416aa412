#pragma once
// Money, exact to the paisa.
//
// Every amount of the program (invoices, payments, purchase bills, expenses,
// salary) is computed as a whole number of paise, never summed in double.
// Figures come in as decimal text (what the user typed) or as the REAL value
// of a stored column; both are read as the decimal number they spell, so
// 1.005 is one rupee and half a paisa, not the binary 1.00499999... A figure
// is rounded once, from all of its digits, half away from zero, and shown
// with two decimals (money) or three (rates and quantities).
//
// Every form takes a figure only within its bound (FigureKind, in
// figurebound.h, which this header includes; the checks are below): a money figure below 10^11
// rupees, a quantity below 10^9 units. Working figures reach further: a
// product or sum of 10^15 or more (ten crore crore) is not clamped but
// invalid (isValid() false), which a form checks before it saves anything.
//
//     const Decimal qty = Decimal::fromText(qtyCell->text()).value_or(Decimal());
//     const Money amount = Money::product(qty, Decimal::fromStored(rate));
//     if (!amount.isValid()) ...                       // refuse, save nothing
//     const Money cgst = Money::percentOf(taxable, Decimal::fromStored(18), 200);
//     query.bindValue(":amount", amount.toDouble());   // the REAL column
//     cell->setText(amount.text());                    // "1089.66"
//     rateCell->setText(threeDecimalText(rate));       // "1.235" for 1.2345

#include "figurebound.h"

#include <QString>
#include <QtGlobal>
#include <limits>
#include <memory>
#include <optional>
#include <string>

class Money;

// An exact decimal number: a whole count of units of 10^-scale. What a typed
// or stored figure spells, kept exactly to all of its decimals, so that
// checks that look at any decimal, and sums of products of quantities and
// rates, are exact. Figures of up to MaxScale decimals are held in a wide
// integer; a longer one (a text pasted from a spreadsheet, or a product of
// two long figures) keeps all of its digits too, in a slower long form.
class Decimal
{
public:
    // The decimals held in the wide integer; more take the long form.
    static constexpr int MaxScale = 22;

    Decimal() = default;
    Decimal(qint64 units, int scale);
    // A whole number.
    static Decimal whole(qint64 value) { return Decimal(value, 0); }

    // The number a typed text spells, read through the one typed-number
    // reading, to all of its digits: nullopt for empty text, for text that
    // is no number, and for a number of ten crore crore (10^15) or more.
    static std::optional<Decimal> fromText(const QString &text);
    // The same for a plain decimal only: a sign, digits and at most one
    // point (blanks around it allowed); "1e3", "1,000" and "10 kg" give
    // nullopt.
    static std::optional<Decimal> fromPlainText(const QString &text);
    // The decimal a stored REAL value stands for: its shortest decimal text
    // (1.005, not 1.00499999999999989...). A value of 10^15 or more, or no
    // finite number (written by another program), is never read as 0: it
    // gives an outsized figure, which is invalid in every sum and check but
    // keeps the stored value, so that text() shows it as stored and a
    // StoredTotal (storedsum.h) adds it exactly.
    static Decimal fromStored(double value);

    // False for the result of a product or sum that does not fit, and for an
    // outsized stored value.
    bool isValid() const { return m_scale >= 0; }
    bool isOutsized() const { return m_scale == OutsizedScale; }
    // The stored value of an outsized figure (0 for any other).
    double outsizedValue() const { return isOutsized() ? m_outsized : 0.0; }
    int scale() const { return m_scale; }
    bool isZero() const { return m_units == 0; }
    bool isNegative() const { return m_units < 0; }
    // The nearest double, for a REAL column or a chart (0 when invalid, the
    // stored value when outsized).
    double toDouble() const;
    // Rounded once to paise, half away from zero.
    Money toMoney() const;
    // Rounded once to `decimals` decimals, from all of its digits, half away
    // from zero.
    Decimal rounded(int decimals) const;
    // Rounded as rounded() and written with exactly `decimals` decimals, a
    // point and no grouping: "1.235" for 1.2345 and 3; never "-0.000".
    // Empty when invalid; an outsized figure as stored (outsizedText).
    QString text(int decimals) const;

    Decimal operator-() const;
    Decimal abs() const { return m_units < 0 ? -*this : *this; }
    // Exact; invalid when either is, or when the result does not fit.
    friend Decimal operator+(const Decimal &a, const Decimal &b);
    friend Decimal operator-(const Decimal &a, const Decimal &b) { return a + -b; }
    // Exact to every digit; invalid when either is, or when the product does
    // not fit.
    friend Decimal operator*(const Decimal &a, const Decimal &b);
    // -1, 0 or 1 as a is below, equal to or above b; an invalid figure is
    // above every valid one.
    static int compare(const Decimal &a, const Decimal &b);
    friend bool operator==(const Decimal &a, const Decimal &b) { return compare(a, b) == 0; }
    friend bool operator!=(const Decimal &a, const Decimal &b) { return compare(a, b) != 0; }
    friend bool operator<(const Decimal &a, const Decimal &b) { return compare(a, b) < 0; }
    friend bool operator<=(const Decimal &a, const Decimal &b) { return compare(a, b) <= 0; }
    friend bool operator>(const Decimal &a, const Decimal &b) { return compare(a, b) > 0; }
    friend bool operator>=(const Decimal &a, const Decimal &b) { return compare(a, b) >= 0; }

private:
    friend class Money;
    friend struct LongDecimal;
    static constexpr int OutsizedScale = -2;
    static Decimal invalid();
    static Decimal outsized(double value);
public:
    // A count of units of 10^-scale (scale 0 to MaxScale), invalid when it
    // does not fit; for the arithmetic in money.cpp.
    static Decimal fromUnits(__int128 units, int scale);
    // That count, for a figure of at most MaxScale decimals (every figure
    // rounded() to fewer is one).
    __int128 wideUnits() const
    {
        Q_ASSERT(!m_digits);
        return m_units;
    }

private:
    __int128 m_units = 0; // the sign alone (-1 or 1) in the long form and when outsized
    int m_scale = 0; // -1: invalid; OutsizedScale: an outsized stored value
    double m_outsized = 0;
    // The long form: the digits of the magnitude, most significant first,
    // with m_scale (over MaxScale) of them after the point.
    std::shared_ptr<const std::string> m_digits;
};

class Money
{
public:
    Money() = default;
    // Invalid when the amount is ten crore crore (10^15) or more.
    static Money fromPaise(qint64 paise);
    static Money fromRupees(qint64 rupees);

    // A typed amount rounded once to paise: nullopt as Decimal::fromText.
    static std::optional<Money> fromText(const QString &text);
    // A stored REAL amount as the decimal it stands for, rounded once to
    // paise: 2.445 is 2.45, 1.005 is 1.01. A value of 10^15 or more, or no
    // finite number, gives an outsized amount as Decimal::fromStored does:
    // invalid, never 0, shown as stored and added exactly by a StoredTotal.
    static Money fromStored(double value);

    // quantity x rate, rounded once to paise; invalid when it does not fit.
    static Money product(const Decimal &quantity, const Decimal &rate);
    // amount x percent / divisor, rounded once to paise: the tax of a rate
    // (divisor 100) or each half of it (divisor 200). Exact whenever the tax
    // fits, however large amount x percent is along the way; a divisor that
    // is no factor of a power of ten gives an invalid figure.
    static Money percentOf(Money amount, const Decimal &percent, int divisor = 100);
    // amount x factor, rounded once to paise (a day's salary x days).
    Money times(const Decimal &factor) const;

    // False for a product or sum that does not fit (and what is made of it),
    // and for an outsized stored amount.
    bool isValid() const { return m_paise != Invalid && m_paise != Outsized; }
    bool isOutsized() const { return m_paise == Outsized; }
    // The stored value of an outsized amount (0 for any other).
    double outsizedValue() const { return isOutsized() ? m_outsized : 0.0; }
    qint64 paise() const { return m_paise; }
    bool isZero() const { return m_paise == 0; }
    // Whole rupees, half away from zero: 444.49 is 444, -0.50 is -1 (0 when
    // invalid).
    qint64 roundedToRupees() const;
    Money roundedToWholeRupees() const;

    // Two decimals, a point, no grouping; never "-0.00". Empty when invalid;
    // an outsized amount as stored (outsizedText).
    QString text() const;
    // The nearest double, for a REAL column (0 when invalid, the stored value
    // when outsized).
    double toDouble() const { return isValid() ? double(m_paise) / 100.0 : outsizedValue(); }
    Decimal toDecimal() const;

    Money operator-() const;
    Money &operator+=(Money other) { return *this = *this + other; }
    Money &operator-=(Money other) { return *this = *this - other; }
    friend Money operator+(Money a, Money b) { return checked(a, b, 1); }
    friend Money operator-(Money a, Money b) { return checked(a, b, -1); }
    friend bool operator==(Money a, Money b)
    {
        return a.m_paise == b.m_paise && (!a.isOutsized() || a.m_outsized == b.m_outsized);
    }
    friend bool operator!=(Money a, Money b) { return !(a == b); }
    friend bool operator<(Money a, Money b) { return a.m_paise < b.m_paise; }
    friend bool operator<=(Money a, Money b) { return a.m_paise <= b.m_paise; }
    friend bool operator>(Money a, Money b) { return a.m_paise > b.m_paise; }
    friend bool operator>=(Money a, Money b) { return a.m_paise >= b.m_paise; }

private:
    friend class Decimal;
    static constexpr qint64 Invalid = std::numeric_limits<qint64>::min();
    static constexpr qint64 Outsized = Invalid + 1;
    // 10^17 paise: ten crore crore rupees.
    static constexpr qint64 Limit = 100000000000000000LL;
    explicit Money(qint64 paise) : m_paise(paise) {}
    static Money checked(Money a, Money b, int sign);
    static Money outsized(double value);
    qint64 m_paise = 0;
    double m_outsized = 0; // the stored value when outsized
};

// A stored REAL amount as two-decimal text, rounded as Money::fromStored.
QString moneyText(double stored);

// Whether a stored value is beyond what Money and Decimal hold (10^15 or
// more, or no finite number): such a figure is shown as stored, never as 0.
bool storedValueOutsized(double stored);
// A stored value as stored, for a figure beyond what Money and Decimal hold:
// the shortest decimal that reads back as the stored double, written out in
// full with `decimals` decimals (rounded half away from zero where it has
// more): 1e16 with two is "10000000000000000.00". An infinity is "Inf" or
// "-Inf", as SQLite writes it.
QString outsizedText(double stored, int decimals);

// A rate or quantity as three-decimal text, rounded once from the exact
// decimal, half away from zero: 1.2345 is "1.235", 1.0005 is "1.001". The
// stored form reads a REAL value as its shortest decimal text.
QString threeDecimalText(const Decimal &value);
QString threeDecimalText(double stored);
// The same with another count of decimals: "1.01" for a stored 1.005 and
// two, "3" for 2.5 and none.
QString storedDecimalText(double stored, int decimals);
// The rate or quantity such a text shows: the decimal rounded to three
// decimals, with which the line amount is computed.
Decimal threeDecimalValue(double stored);

// ---- The bounds of typed figures (figurebound.h) --------------------------

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
// That text when `text` is a number beyond the bound, or a decimal too large
// even for a double ("1e309"); empty otherwise (empty text, text that is no
// number, "nan" and "inf", a number within the bound).
QString typedFigureTooLarge(const QString &field, const QString &text, FigureKind kind);
