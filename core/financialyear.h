#pragma once
// The financial year (April to March), document numbers and report periods.

#include <QDate>
#include <QList>
#include <QString>

// The year chosen at login, as "26-27". Set once, by the login.
extern QString g_currentFY;

// The smallest positive number not in `usedAscending` (distinct, ascending).
int lowestFreeNumber(const QList<int> &usedAscending);

// Runs `sql` (which yields the year's distinct numbers in ascending order and
// may use :fy) with :fy bound to `fy`, and returns its lowest free number.
// A failing query proposes 1.
int lowestFreeNumber(const QString &sql, const QString &fy);

// The next inward entry number of the year: the largest number plus one.
int nextInwardNumber(const QString &fy);

// "n/fy", the full number of a sales-chain document.
QString fullDocumentNumber(int number, const QString &fy);

// The financial-year label of a date: 15 May 2026 and 15 Feb 2027 give "26-27".
QString financialYearLabel(const QDate &date);

// Material request number for a request made on `date` when `existingLines`
// rows are in purchase_orders: "MR/26-27/010".
QString materialRequestNumber(int existingLines, const QDate &date);

// The From date of the sales-chain lists: 1 April of the financial year that
// holds `today`.
QDate defaultPeriodStart(const QDate &today = QDate::currentDate());

// ORDER BY keys that put the rows of :fy first, then the other years by name
// descending, for a table alias ("e" gives "CASE WHEN e.fy_name = :fy ...").
QString fyFirstOrder(const QString &alias);
