#pragma once
// The speed limit of a list: rows on screen within 1.5 x its floor + 100 ms,
// the floor being the time of the list's statements run by the sqlite3 shell
// on the benchmark's own file (support/shellfloor.h).

#include "support/shellfloor.h"

#include <QList>
#include <QString>

// Prints the statements' time through Qt, their floor (the sum of each one's
// best shell run) and the window's time with its ratio to the floor and the
// limit, marked when the window took longer than its limit; false then. A
// list held to another limit gives its factor and milliseconds.
bool printAgainstStatements(const QString &what, double statementMs, double windowMs, int rows,
                            const QList<ListStatement> &statements, double factor = 1.5, double addedMs = 100);
bool printAgainstStatements(const QString &what, double statementMs, double windowMs, int rows,
                            const ListStatement &statement);

// As above for a list whose statements are not given: no floor is printed
// and the limit is 1.5 x the statements' time through Qt + 100 ms.
bool printAgainstStatements(const QString &what, double statementMs, double windowMs, int rows);

// Closing line of a benchmark: whether every list printed by
// printAgainstStatements kept within its limit; true when every one did.
bool printLimitVerdict();
