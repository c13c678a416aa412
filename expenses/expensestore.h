#pragma once
// Expenses in the database, the texts of the expenses list, the printed
// report and the CSV export. Plain functions on the default connection; the
// expenses window binds them to its widgets.

#include "core/companyinfo.h"
#include "core/listedrow.h"
#include "core/money.h"
#include "core/storedsum.h"
#include "output/csvexport.h"

#include <QList>
#include <QString>
#include <QStringList>

// One stored expense.
struct ExpenseRow
{
    int slno = 0;
    QString date;     // as stored, "yyyy-MM-dd" when written by the window
    QString heading;
    QString details;
    Money amount; // to the paisa; 0 when the stored value is no number
    // Every column as the list read it; an update or delete of the row is
    // written only while it is still stored so.
    StoredRow stored;
};

// What the window writes.
struct ExpenseWrite
{
    QString date; // "yyyy-MM-dd"
    QString heading;
    QString details;
    Money amount;
};

// Creates the expenses table when it is missing; a failure is not reported.
void createExpensesTable();

// Every expense in order of entry. False with the driver's text on failure.
bool allExpenses(QList<ExpenseRow> *rows, QString *error = nullptr);

// The expenses dated from..to ("yyyy-MM-dd", both included, compared as
// text), in order of entry.
bool expensesBetween(const QString &from, const QString &to, QList<ExpenseRow> *rows,
                     QString *error = nullptr);

// The number the next expense shows: the count of stored expenses + 1.
int nextExpenseNumber();

bool addExpense(const ExpenseWrite &expense, QString *error);

// Update and delete write the expense `listed`, shown as number
// `runningNumber` of the list, only while it is still stored exactly as the
// list read it. Otherwise Stale, nothing written, and in `error` why, naming
// the row ("Expense #2 (Diesel) was changed or deleted meanwhile, ..."), and
// how to go on in the window. Failed gives the driver's text.
ListedWrite updateExpense(const ExpenseRow &listed, int runningNumber, const ExpenseWrite &expense, QString *error);
ListedWrite deleteExpense(const ExpenseRow &listed, int runningNumber, QString *error);

// The distinct non-empty headings and details of the expenses, each sorted,
// for the completers of the entry fields.
struct ExpenseCompletions
{
    QStringList headings;
    QStringList details;
};
ExpenseCompletions expenseCompletions(const QList<ExpenseRow> &rows);

// How a typed amount is taken: to the paisa (1.005 is 1.01, -0.001 is 0);
// empty and stray text count as 0; a text that spells NaN, an infinity or a
// number beyond the money bound is refused, with the reason under its title.
struct TypedAmount
{
    QString refusalTitle; // empty when the amount is taken
    QString refusal;
    Money value;
    bool accepted() const { return refusal.isEmpty(); }
};
TypedAmount readExpenseAmount(const QString &text);

// The list's texts of one expense: running number, date "dd-MM-yyyy" (a
// stored text that is no such date as it is), heading, details, amount with
// two decimals.
QStringList expenseListCells(const ExpenseRow &row, int runningNumber);

// The amounts added exactly, however many rows there are.
StoredTotal expensesTotal(const QList<ExpenseRow> &rows);
// "Total Amount: " and the total with two decimals.
QString expensesTotalText(const StoredTotal &total);

// The printed report: company block, title, the list's rows as displayed and
// its total label, every value escaped.
QString expensesReportHtml(const CompanyInfo &company, const QList<QStringList> &listRows,
                           const QString &totalLabel);

// The CSV export of a period: its profile (title lines, header, total line
// and messages) and its rows; refused when the total cannot be formed.
CsvExportProfile expensesCsvProfile(const QString &from, const QString &to, const StoredTotal &total);
QList<QStringList> expensesCsvRows(const QList<ExpenseRow> &rows);
