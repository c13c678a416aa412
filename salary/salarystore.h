#pragma once
// Salary entries in the database, their arithmetic, the texts of the salary
// list, the CSV statement and the salary slip. Plain functions on the
// default connection; the salary window binds them to its widgets.

#include "core/companyinfo.h"
#include "core/listedrow.h"
#include "core/money.h"
#include "output/csvexport.h"

#include <QList>
#include <QString>
#include <QStringList>

// The figures of one entry, in the order the input row and the list show
// them, each the exact decimal typed or stored (stored as typed).
struct SalaryFigures
{
    Decimal dayShift;
    Decimal ot;    // overtime shifts, paid at the day rate
    Decimal night; // night shifts, paid at the day rate
    Decimal salaryPerDay;
    Decimal teaCash;
    Decimal nightCash;
    Decimal sundayCash;
    Decimal incentive;
    Decimal weekAdvance; // deductions from here on
    Decimal extraAdvance;
    Decimal lateFine;

    // The eleven figures from their texts in the order above, each read as
    // salaryTypedFigure reads it.
    static SalaryFigures fromTexts(const QStringList &texts);

    // Figure `field` (0 to 10, in the order above).
    Decimal &operator[](int field);
    const Decimal &operator[](int field) const;
};

// A typed figure `field` (0 to 10, in the order of SalaryFigures): a text
// that is no number counts as 0, a number beyond its bound is an invalid
// figure (see salaryFiguresRefusal).
Decimal salaryTypedFigure(const QString &text, int field);

// The figure a list cell of figure `field` stands for, its text shown with
// two decimals: `shown`, the figure the cell was last given, while the text
// is still that figure's two-decimal text; else `stored`, the figure as the
// list read it, while the text is that one's two-decimal text (so a stored
// 2.675 behind "2.68" stays 2.675 until the user types another figure);
// else the text as typed (salaryTypedFigure).
Decimal salaryListFigure(const QString &text, const Decimal &shown, const Decimal &stored, int field);

// (day shifts + OT + night shifts) x rate + tea + night cash + Sunday cash +
// incentive, exactly: 1.005 x 1 day is 1.005, shown "1.01" by its
// two-decimal text (toMoney().text()), which is the value stored.
Decimal grossSalary(const SalaryFigures &f);
// The gross less the weekly advance, the extra advance and the late fine,
// exactly.
Decimal netSalary(const SalaryFigures &f);

// The refusal of figures beyond their bounds (see money.h: shifts are
// quantities, the rest money), or whose gross or total is: the refusal of
// figureTooLargeText (typednumber.h) naming the first figure beyond its
// bound, else the first sum that passes it on the way ("Day Shift + OT +
// Night", "Gross Total", "Total Sal"); empty when all fit.
QString salaryFiguresRefusal(const SalaryFigures &f);

// One entry as it is written. Gross and total are the shown values, to the
// paisa.
struct SalaryEntry
{
    QString name;    // trimmed
    QString date;    // "yyyy-MM-dd" (Update writes an unreadable date as typed)
    SalaryFigures figures;
    Money gross;
    Money total;
    QString remarks; // trimmed
};

struct SalaryRecord
{
    int slno = 0;
    SalaryEntry entry; // the date as stored
    // The row as the list read it: every column as stored, in the order the
    // list's statement gives them.
    StoredRow stored;
};

// Creates the salary table and adds its later columns; failures (a column
// already there) are not reported.
void createSalaryTable();

bool addSalary(const SalaryEntry &entry, QString *error);
// A salary row's name in a refusal, as the list shows it: the employee (a
// long name cut to about 40 characters, shortRowName) and the list's date,
// "Bala (01-03-2026)".
QString salaryRowName(const QString &name, const QString &listDate);
// Rewrites the `listed` entry with `entry`, inside the caller's transaction
// (or one of its own), only where that changes what the list read and only
// while the row is still as it was read; `listed` then holds the entry and
// the row as it stands after the write, read again in the transaction. A row changed or deleted
// meanwhile is refused: false, with the reason naming the row (salaryRowName
// of the entry) and how to go on in the window.
bool updateListedSalary(SalaryRecord *listed, const SalaryEntry &entry, QString *error);

// The list's statements, as the list runs them: every entry, newest date
// first, then by name; the entries of the month bound to :month
// (salaryMonthPattern), by name.
QString allSalariesStatement();
QString monthSalariesStatement();

// Every entry, newest date first, then by name.
bool allSalaries(QList<SalaryRecord> *records, QString *error = nullptr);
// The entries whose stored date lies in the month, by name.
bool salariesOfMonth(int year, int month, QList<SalaryRecord> *records, QString *error = nullptr);
// "2026-03%" for March 2026.
QString salaryMonthPattern(int year, int month);

// The employee names among `records` (every entry, as allSalaries reads
// them) as "SELECT DISTINCT name FROM salary ORDER BY name" gives them: each
// stored name once, in the order of their UTF-8 bytes; then trimmed, without
// empty ones.
QStringList salaryEmployeeNames(const QList<SalaryRecord> &records);

// A date as the list, the statement and the slip show it: "dd-MM-yyyy" when
// the text is a valid "yyyy-MM-dd" or "dd-MM-yyyy" date, else as it is.
QString salaryDateText(const QString &text);
// A list date as Update writes it: "yyyy-MM-dd" when the text is a valid
// "dd-MM-yyyy" date, else as it is.
QString salaryStoredDate(const QString &listText);

// The texts of list columns 1 to 16 for one entry: name, date, the eight
// earnings figures, gross, the three deductions, total (every figure with
// two decimals, rounded half away from zero), remarks.
QStringList salaryListTexts(const SalaryRecord &record);
// Whether a list row (the trimmed texts of columns 1 to 16, and the figures
// its cells stand for) differs from what the list showed of `listed`.
bool salaryListRowEdited(const QStringList &texts, const SalaryFigures &figures, const SalaryRecord &listed);
// The entry Update writes from a list row: the trimmed texts of columns 1 to
// 16 and the figures its cells stand for (salaryListFigure); gross and total
// as shown (0 when no number), the date as salaryStoredDate.
SalaryEntry salaryEntryOfListRow(const QStringList &texts, const SalaryFigures &figures);
// Why a list row cannot be stored by Update nor counted by the statement:
// the row's name, ": " and the refusal of salaryFiguresRefusal, or of a
// Gross Total or Total Sal shown beyond the money bound; empty when it can.
QString salaryListRowRefusal(const QStringList &texts, const SalaryFigures &figures);

// The statement of the listed rows (each the texts of list columns 1 to 16:
// name and remarks as the list shows them, the others trimmed): its file,
// title lines, header and grand total line, every line made of fields that
// csvField writes, and its rows with the dates written day-month-year. Name
// and remarks are always quoted.
CsvExportProfile salaryStatementProfile(const QString &monthName, int year, const QList<QStringList> &listRows);
QList<QStringList> salaryStatementRows(const QList<QStringList> &listRows);

// What the slip prints of one list row, as displayed and HTML-escaped.
struct SalarySlipValues
{
    QString name;
    QString date;
    QStringList figures; // list columns 3 to 15: thirteen texts
    QString remarks;
};

// The slip's HTML: company header (name upper-cased) with the two logo cells
// given as HTML, the employee, the fourteen detail rows and the signatures.
// The company's fields are escaped here; the row's values come escaped.
QString salarySlipHtml(const CompanyInfo &company, const SalarySlipValues &values, const QString &leftLogoCell,
                       const QString &rightLogoCell);
