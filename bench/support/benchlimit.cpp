#include "benchlimit.h"

#include "heavyyear.h"

#include <QtGlobal>

#include <cstdio>

namespace {

int overLimit = 0; // lists printed over their limit so far

bool printWindow(const QString &what, double windowMs, double baseMs, const char *base, double factor = 1.5,
                 double addedMs = 100)
{
    const double limit = factor * baseMs + addedMs;
    const bool within = windowMs <= limit;
    if (!within)
        ++overLimit;
    printFigure(what + ": window", windowMs,
                QString("%1 x %2, limit %3 ms%4")
                    .arg(windowMs / qMax(baseMs, 0.001), 0, 'f', 2)
                    .arg(base)
                    .arg(limit, 0, 'f', 0)
                    .arg(within ? QString() : QString("  OVER %1 x + %2 ms").arg(factor).arg(addedMs)));
    return within;
}

} // namespace

bool printAgainstStatements(const QString &what, double statementMs, double windowMs, int rows,
                            const QList<ListStatement> &statements, double factor, double addedMs)
{
    const double floorMs = shellFloorMs(statements);
    printFigure(what + ": statements through Qt", statementMs, rowsText(rows));
    printFigure(what + ": floor, sqlite3 shell", floorMs,
                statements.size() == 1 ? QString("best of 3") : QString("%1 statements in one shell, best of 3").arg(statements.size()));
    return printWindow(what, windowMs, floorMs, "floor", factor, addedMs);
}

bool printAgainstStatements(const QString &what, double statementMs, double windowMs, int rows,
                            const ListStatement &statement)
{
    return printAgainstStatements(what, statementMs, windowMs, rows, QList<ListStatement>{statement});
}

bool printAgainstStatements(const QString &what, double statementMs, double windowMs, int rows)
{
    printFigure(what + ": statements alone", statementMs, rowsText(rows) + ", no floor measured");
    return printWindow(what, windowMs, statementMs, "statements");
}

bool printLimitVerdict()
{
    std::printf("\n%s\n", overLimit ? "Some lists are over their limit." : "Every list is within its limit.");
    std::fflush(stdout);
    return overLimit == 0;
}
