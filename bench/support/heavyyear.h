#pragma once
// One generator of realistic data for the benchmark programs: customers with
// their items, inward entries spread over April to March of each year (a few
// of them cancelled), delivery challans that send the received quantities
// back (never more than came in), bins that close what is left of some
// entries, and invoices that bill the oldest challans. The same size always
// gives the same rows (fixed seed). Also a small timer and an aligned line of
// figures, shared by the programs.

#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <functional>

// How much data to write. Every count but the customers and items is per
// financial year.
struct DataSize
{
    int customers = 300;
    int itemsPerCustomer = 10;
    int inwardEntriesPerYear = 10000;
    int linesPerEntry = 2; // each line a different item of the entry's customer; at most itemsPerCustomer
    int challansPerYear = 15000; // each sends back part or all of every line of one inward entry
    int binsPerYear = 400;       // bins rows, each closing what is left of one inward line
    int invoicesPerYear = 12000; // each bills one challan, the oldest first
    QStringList years{"26-27"};  // financial years, "yy-yy"
};

// The heavy year the lists are held to: 300 customers with 10 items each,
// 10,000 inward entries of two lines, 15,000 challans, 400 bins and 12,000
// invoices, in the year "26-27".
DataSize heavyYear();

// Two heavy years the job-work lists are held to: the heavy year in "25-26"
// and again in "26-27", three lines to an inward entry (20,000 entries, 60,000
// lines), 15,000 challans, 2,500 bins and 12,000 invoices in each year.
DataSize twoHeavyYears();

// What was written; the generator writes fewer challans, bins or invoices
// than asked when the inward lines cannot carry them.
struct FilledData
{
    int customers = 0;
    int items = 0;
    int inwardEntries = 0;
    int cancelledEntries = 0;
    int inwardLines = 0;
    int challans = 0;
    int challanLines = 0;
    int bins = 0;
    int invoices = 0;
    int invoiceLines = 0;
    double ms = 0;

    // "300 customers, 3,000 items, 10,000 inward entries (20,000 lines, 97
    // cancelled), ..." and the time taken.
    QString summary() const;
};

// Creates the sales tables on the default connection and writes the data in
// one transaction, every value bound. Expects empty tables: customer c gets
// customer_id c, and its items the ids that itemId() gives. Stops the program
// on a failed statement.
FilledData fillData(const DataSize &size = heavyYear());

// The item_id and item_code of item `index` (1-based) of customer `customer`.
int itemId(const DataSize &size, int customer, int index);
QString itemCode(int customer, int index);

// Runs a read-only statement with its named values bound and counts the rows
// it gives; stops the program when it fails.
int countRows(const QString &sql, const QVariantMap &values);

// Average milliseconds of `runs` calls of `work`.
double msOf(const std::function<void()> &work, int runs = 1);

// Milliseconds of the fastest of `runs` calls of `work`, each after
// `prepare` (untimed, when given): steadier than the average on a busy
// machine, for a window's time set against its statement's.
double bestMsOf(const std::function<void()> &work, int runs, const std::function<void()> &prepare = nullptr);

// One aligned line of figures: what, milliseconds, then an optional note.
void printFigure(const QString &what, double ms, const QString &note = QString());

// Times one run of `work` and prints it with the note that `after` gives once
// the work is done (the rows a list then shows, say).
void printTimed(const QString &what, const std::function<void()> &work, const std::function<QString()> &after);

// A count with thousands separators, as 12,345.
QString countText(int n);

// "1 row", "12,345 rows".
QString rowsText(int n);
