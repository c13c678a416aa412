#include "benchlimit.h"

#include "heavyyear.h"

#include <QtGlobal>

#include <cstdio>

namespace {

int overLimit = 0; // lists printed over their limit so far

bool printWindow(const QString &what, double windowMs, double baseMs, const char *base)
{
    const double limit = 1.5 * baseMs + 100;
    const bool within = windowMs <= limit;
    if (!within)
        ++overLimit;
    printFigure(what + ": window", windowMs,
                QString("%1 x %2, limit %3 ms%4")
                    .arg(windowMs / qMax(baseMs, 0.001), 0, 'f', 2)
                    .arg(base)
                    .arg(limit, 0, 'f', 0)
                    .arg(within ? "" : "  OVER 1.5 x + 100 ms"));
    return within;
}

} // namespace

bool printAgainstStatements(const QString &what, double statementMs, double windowMs, int rows,
                            const QList<ListStatement> &statements)
{
    const double floorMs = shellFloorMs(statements);
    printFigure(what + ": statements through Qt", statementMs, rowsText(rows));
    printFigure(what + ": floor, sqlite3 shell", floorMs,
                statements.size() == 1 ? QString("best of 3") : QString("%1 statements in one shell, best of 3").arg(statements.size()));
    return printWindow(what, windowMs, floorMs, "floor");
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
