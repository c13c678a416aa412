#include "benchlimit.h"

#include "heavyyear.h"

#include <QtGlobal>

#include <cstdio>

namespace {

int overLimit = 0; // lists printed over their limit so far

} // namespace

bool printAgainstStatements(const QString &what, double statementMs, double windowMs, int rows)
{
    const double limit = 1.5 * statementMs + 100;
    const bool within = windowMs <= limit;
    if (!within)
        ++overLimit;
    printFigure(what + ": statements alone", statementMs, rowsText(rows));
    printFigure(what + ": window", windowMs,
                QString("ratio %1, limit %2 ms%3")
                    .arg(windowMs / qMax(statementMs, 0.001), 0, 'f', 2)
                    .arg(limit, 0, 'f', 0)
                    .arg(within ? "" : "  OVER 1.5 x + 100 ms"));
    return within;
}

bool printLimitVerdict()
{
    std::printf("\n%s\n", overLimit ? "Some lists are over their limit." : "Every list is within its limit.");
    std::fflush(stdout);
    return overLimit == 0;
}
