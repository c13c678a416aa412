#pragma once
// Money, exact to the paisa.
//
// Every amount of the program (invoices, payments, purchase bills, expenses,
// salary) is computed as a whole number of paise, never summed in double.
// Figures come in as decimal text (what the user typed) or as the REAL value
// of a stored column; both are read as the decimal number they spell, so
// 1.005 is one rupee and half a paisa, not the binary 1.00499999... A figure
// is rounded to paise once, half away from zero, and shown with two decimals.
//
//     const Decimal qty = Decimal::fromText(qtyCell->text()).value_or(Decimal());
//     const Money amount = Money::product(qty, Decimal::fromStored(rate));
//     const Money cgst = Money::percentOf(taxable, Decimal::fromStored(18), 200);
//     query.bindValue(":amount", amount.toDouble());   // the REAL column
//     cell->setText(amount.text());                    // "1089.66"

#include <QString>
#include <QtGlobal>
#include <optional>

class Money;

// An exact decimal number: a whole count of units of 10^-scale. What a typed
// or stored figure spells, kept exactly (up to nine decimals) so that checks
// that look at a third decimal, and products of a quantity and a rate, are
// exact.
class Decimal
{
public:
    static constexpr int MaxScale = 9;

    Decimal() = default;
    Decimal(qint64 units, int scale);
    // A whole number.
    static Decimal whole(qint64 value) { return Decimal(value, 0); }

    // The number a typed text spells, read through the one typed-number
    // reading: nullopt for empty text, for text that is no number, and for a
    // number of a thousand crore crore or more. More than nine decimals are
    // rounded (half away from zero) to nine.
    static std::optional<Decimal> fromText(const QString &text);
    // The same for a plain decimal only: a sign, digits and at most one
    // point (blanks around it allowed); "1e3", "1,000" and "10 kg" give
    // nullopt.
    static std::optional<Decimal> fromPlainText(const QString &text);
    // The decimal a stored REAL value stands for: its shortest decimal text
    // (1.005, not 1.00499999999999989...). A value that is no finite number,
    // or too large, gives 0.
    static Decimal fromStored(double value);

    qint64 units() const { return m_units; }
    int scale() const { return m_scale; }
    bool isZero() const { return m_units == 0; }
    bool isNegative() const { return m_units < 0; }
    // The nearest double, for a REAL column or a chart.
    double toDouble() const;
    // Rounded once to paise, half away from zero.
    Money toMoney() const;

    Decimal operator-() const { return Decimal(-m_units, m_scale); }
    Decimal abs() const { return m_units < 0 ? -*this : *this; }
    friend Decimal operator+(const Decimal &a, const Decimal &b);
    friend Decimal operator-(const Decimal &a, const Decimal &b) { return a + -b; }
    // Exact up to eighteen decimals (days x a day's rate keeps every digit);
    // beyond that, or when the count would not fit, rounded half away from
    // zero to fewer decimals.
    friend Decimal operator*(const Decimal &a, const Decimal &b);
    // -1, 0 or 1 as a is below, equal to or above b.
    static int compare(const Decimal &a, const Decimal &b);
    friend bool operator==(const Decimal &a, const Decimal &b) { return compare(a, b) == 0; }
    friend bool operator!=(const Decimal &a, const Decimal &b) { return compare(a, b) != 0; }
    friend bool operator<(const Decimal &a, const Decimal &b) { return compare(a, b) < 0; }
    friend bool operator<=(const Decimal &a, const Decimal &b) { return compare(a, b) <= 0; }
    friend bool operator>(const Decimal &a, const Decimal &b) { return compare(a, b) > 0; }
    friend bool operator>=(const Decimal &a, const Decimal &b) { return compare(a, b) >= 0; }

private:
    qint64 m_units = 0;
    int m_scale = 0;
};

class Money
{
public:
    Money() = default;
    static Money fromPaise(qint64 paise) { return Money(paise); }
    static Money fromRupees(qint64 rupees) { return Money(rupees * 100); }

    // A typed amount rounded once to paise: nullopt as Decimal::fromText.
    static std::optional<Money> fromText(const QString &text);
    // A stored REAL amount as the decimal it stands for, rounded once to
    // paise: 2.445 is 2.45, 1.005 is 1.01.
    static Money fromStored(double value);

    // quantity x rate, rounded once to paise.
    static Money product(const Decimal &quantity, const Decimal &rate);
    // amount x percent / divisor, rounded once to paise: the tax of a rate
    // (divisor 100) or each half of it (divisor 200).
    static Money percentOf(Money amount, const Decimal &percent, int divisor = 100);
    // amount x factor, rounded once to paise (a day's salary x days).
    Money times(const Decimal &factor) const;

    qint64 paise() const { return m_paise; }
    bool isZero() const { return m_paise == 0; }
    // Whole rupees, half away from zero: 444.49 is 444, -0.50 is -1.
    qint64 roundedToRupees() const;
    Money roundedToWholeRupees() const { return fromRupees(roundedToRupees()); }

    // Two decimals, a point, no grouping; never "-0.00".
    QString text() const;
    // The nearest double, for a REAL column.
    double toDouble() const { return double(m_paise) / 100.0; }
    Decimal toDecimal() const { return Decimal(m_paise, 2); }

    Money operator-() const { return Money(-m_paise); }
    Money &operator+=(Money other) { m_paise += other.m_paise; return *this; }
    Money &operator-=(Money other) { m_paise -= other.m_paise; return *this; }
    friend Money operator+(Money a, Money b) { return Money(a.m_paise + b.m_paise); }
    friend Money operator-(Money a, Money b) { return Money(a.m_paise - b.m_paise); }
    friend bool operator==(Money a, Money b) { return a.m_paise == b.m_paise; }
    friend bool operator!=(Money a, Money b) { return a.m_paise != b.m_paise; }
    friend bool operator<(Money a, Money b) { return a.m_paise < b.m_paise; }
    friend bool operator<=(Money a, Money b) { return a.m_paise <= b.m_paise; }
    friend bool operator>(Money a, Money b) { return a.m_paise > b.m_paise; }
    friend bool operator>=(Money a, Money b) { return a.m_paise >= b.m_paise; }

private:
    explicit Money(qint64 paise) : m_paise(paise) {}
    qint64 m_paise = 0;
};

// A stored REAL amount as two-decimal text, rounded as Money::fromStored.
QString moneyText(double stored);
