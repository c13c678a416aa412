#pragma once
// The speed limit of a list: rows on screen within 1.5 x the time of the
// list's statements alone + 100 ms.

#include <QString>

// Prints the statements' time, then the window's with their ratio and the
// limit, marked when the window took longer than its limit; false then.
bool printAgainstStatements(const QString &what, double statementMs, double windowMs, int rows);

// Closing line of a benchmark: whether every list printed by
// printAgainstStatements kept within its limit; true when every one did.
bool printLimitVerdict();
