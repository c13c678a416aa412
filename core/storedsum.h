#pragma once
// Stored REAL figures summed exactly, for any number of rows.
//
// SQLite adds REAL values as binary fractions: 2268.95 + 915.78 + 630.27
// comes to 3815 less 4.5e-13, which a check of what is still owed takes for
// money. A statement writes each sum of stored figures with STORED_SUM
// instead, and runs through forEachStoredSumRow:
//
//     "SELECT company_name, " STORED_SUM("purchase_bills:bill_total") " AS total "
//     "FROM purchase_bills GROUP BY company_name ORDER BY total DESC"
//     forEachStoredSumRow(sql, values, [&](const QSqlQuery &q) {
//         rows << Row{q.value(0).toString(), storedTotal(q.value(1))}; },
//         [&] { rows.clear(); }, &error);
//
// Each value is first summed as the whole number of millionths it stands for,
// which SQLite adds as 64-bit integers: fast, and exact while the sum fits.
// When it does not fit (about 9.2 lakh crore), or when one stored value is
// beyond what the forms accept (written by another program), the statement
// runs again with an exact sum of its own, in 128 bits, of the decimal each
// value was stored from. A value too large even for that (1e21 or more, or
// no finite number) stops the statement with an error naming its table.
//
// The parts of one sum are joined by ";" and added per row; a part is a
// stored column, "table:expression", or a sum an inner statement gave,
// "@expression" (NULL counts 0); a "-" before a part subtracts it. A row
// where a stored column is NULL adds nothing, as in SQL; a sum over no row is
// NULL.

#include "boundquery.h"
#include "money.h"

#include <QString>
#include <QVariantMap>
#include <functional>
#include <initializer_list>

class QSqlQuery;
class QVariant;

#define STORED_SUM(parts) "{{" parts "}}"

// An exact sum of figures, for any number of rows a file can hold: the
// dashboards' sums of stored figures, and every list's, export's, printout's
// and form's total of its rows (Money and Decimal hold less, and stop at ten
// crore crore). Kept as a whole number of millionths in 128 bits, with what
// a figure of more decimals holds beyond them kept apart, exactly, so that
// the total is rounded once, from all of the digits of its figures:
//
//     StoredTotal total;
//     for (const ExpenseRow &row : rows)
//         total += row.amount;                     // a Money
//     label->setText(total.text());                // "1000099999999899.99"
//     if (!total.isValid()) ...                    // refuse to write it
class StoredTotal
{
public:
    StoredTotal() = default;
    static StoredTotal fromMicros(__int128 micros);
    // A stored REAL value, exactly: the decimal it was stored from, or,
    // beyond what Decimal holds (an outsized figure, money.h), its own
    // binary value; invalid for 10^21 or more and for no finite number.
    static StoredTotal ofStored(double value);
    // Its millionths, rounded half away from zero.
    __int128 micros() const;

    // False when an invalid figure was added, or the sum passed what 128 bits
    // hold (about 1.7 x 10^32 rupees, beyond any file's rows).
    bool isValid() const { return m_valid; }
    bool isZero() const { return m_valid && m_micros == 0 && m_beyond.isZero(); }
    // Rounded once to `decimals` (0 to 6; money's two by default), half away
    // from zero: a point, no grouping, never "-0.00". Empty when invalid.
    QString text(int decimals = 2) const;
    // The nearest double (a chart's bar, a list's quantity); 0 when invalid.
    double toDouble() const;
    // As Decimal and Money, which hold less: invalid beyond their limit.
    Decimal toDecimal() const;
    Money toMoney() const;

    StoredTotal &operator+=(const StoredTotal &other);
    // An outsized stored figure (money.h) is added as ofStored adds its value.
    StoredTotal &operator+=(Money amount);
    StoredTotal &operator+=(const Decimal &figure);
    StoredTotal operator-() const;
    friend StoredTotal operator+(StoredTotal a, const StoredTotal &b) { return a += b; }
    friend StoredTotal operator-(StoredTotal a, const StoredTotal &b) { return a += -b; }

    // -1, 0 or 1 as a is below, equal to or above b, exactly; an invalid
    // total is above every valid one.
    static int compare(const StoredTotal &a, const StoredTotal &b);
    friend bool operator==(const StoredTotal &a, const StoredTotal &b) { return compare(a, b) == 0; }
    friend bool operator!=(const StoredTotal &a, const StoredTotal &b) { return compare(a, b) != 0; }
    friend bool operator<(const StoredTotal &a, const StoredTotal &b) { return compare(a, b) < 0; }
    friend bool operator>(const StoredTotal &a, const StoredTotal &b) { return compare(a, b) > 0; }

private:
    // The total in units of 10^-decimals (0 to 6), rounded once from all of
    // its digits, half away from zero.
    __int128 roundedUnits(int decimals) const;

    __int128 m_micros = 0;
    Decimal m_beyond; // what figures of more than six decimals hold beyond their millionths
    bool m_valid = true;
};

// What is left of a stored figure once figures are taken from it (received
// less delivered and binned, delivered less billed, an invoice's total less
// its payments), exactly however large the stored figure is: one of 10^15 or
// more, which Decimal and Money hold only as outsized (money.h), is taken as
// stored, so its balance shows as a number, never as 0 or empty. A taken
// figure may be outsized too. Invalid only where a StoredTotal is.
//
//     const StoredTotal left = storedBalance(row.received, {delivered, binned});
//     cell->setText(left.text(3));            // "9999999999999997.500"
StoredTotal storedBalance(double stored, std::initializer_list<Decimal> taken = {});

// The value of a STORED_SUM column, as either run gives it; NULL is 0.
StoredTotal storedTotal(const QVariant &value);

// The figure a list's cell text spells, for a total of the list's rows (an
// export's total line): exactly, to all of its digits, whether the program
// keeps it (below 10^15) or the list shows a stored figure beyond that as
// stored. nullopt when the text is no number, which counts as nothing: with
// `plainOnly` any text but a plain decimal ("1e3", "10 kg"), else text the
// typed-number reading takes as none ("nan", "10 kg"). An invalid total when
// it is a number too large to be added up exactly: 10^21 or more, more than
// six decimals at 10^15 or more, or an infinity ("Inf", "1e309").
std::optional<StoredTotal> listedFigure(const QString &text, bool plainOnly = false);

enum class StoredSumRun {
    Integers, // SQLite's integer sum of millionths; fails with "integer overflow"
    Exact,    // the exact sum of the program's own (a text only storedTotal reads)
    Bars,     // SQLite's floating TOTAL, in rupees: a chart's bar, never failing
};

// The statement with its STORED_SUMs written out for one run.
QString storedSumStatement(const QString &statement, StoredSumRun run);

// Runs the statement with the named values and calls readRow for each row;
// when the integer sum does not fit, calls restart and runs it again with
// exact sums. False with the driver's message when the statement fails.
bool forEachStoredSumRow(const QString &statement, const QVariantMap &values,
                         const std::function<void(const QSqlQuery &)> &readRow, const std::function<void()> &restart,
                         QString *error = nullptr);

// The same, reading the rows straight from SQLite (core/boundquery.h): for
// lists of thousands of rows.
bool forEachStoredSumRow(const QString &statement, const QVariantMap &values,
                         const std::function<void(const StatementRow &)> &readRow,
                         const std::function<void()> &restart, QString *error = nullptr);

// The first column of the first row of such a statement; nullopt when it fails.
std::optional<StoredTotal> firstStoredTotal(const QString &statement, const QVariantMap &values);

// For the few values of one record (the lines of one challan), exactly to
// all of their digits: SQLite writes each REAL value as the decimal it was
// stored from (fifteen significant digits), joined by blanks, and
// fromStoredList sums them as exact decimals. NULL when there is none.
//
//     "SELECT " STORED_LIST("d.delivery_qty") " FROM delivery_entries d WHERE ..."
//     const Decimal delivered = fromStoredList(q.value(0));
#define STORED_LIST(column) "GROUP_CONCAT(" column ", ' ')"

// The exact sum of a STORED_LIST; NULL is 0.
Decimal fromStoredList(const QVariant &list);
