#pragma once
// The office side of the heavy data: expenses and salary entries over several
// years, the same rows for the same size (fixed seed).

#include <QString>

struct OfficeSize
{
    int expensesPerYear = 10000;  // about 27 a day
    int employees = 100;
    int firstYear = 2022;         // calendar years firstYear..lastYear
    int lastYear = 2026;
};

// Five years of a busy office: 50,000 expenses and a monthly salary entry for
// each of 100 employees (6,000 entries).
OfficeSize heavyOffice();

struct FilledOffice
{
    int expenses = 0;
    int salaries = 0;
    double ms = 0;
    QString summary() const;
};

// Creates the expenses and salary tables on the default connection (as the
// windows do) and writes the rows in one transaction, every value bound.
// Stops the program on a failed statement.
FilledOffice fillOffice(const OfficeSize &size = heavyOffice());

