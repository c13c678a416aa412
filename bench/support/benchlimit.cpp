#include "benchlimit.h"

#include "heavyyear.h"

#include <QtGlobal>

bool printAgainstStatements(const QString &what, double statementMs, double windowMs, int rows)
{
    const bool within = windowMs <= 1.5 * statementMs + 100;
    printFigure(what + ": statements alone", statementMs, rowsText(rows));
    printFigure(what + ": window", windowMs,
                QString("ratio %1%2").arg(windowMs / qMax(statementMs, 0.001), 0, 'f', 2)
                    .arg(within ? "" : "  OVER 1.5 x + 100 ms"));
    return within;
}
