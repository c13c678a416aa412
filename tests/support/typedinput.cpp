#include "typedinput.h"

#include "salesdata.h"

#include <QtTest>

namespace typedinput {

QStringList notANumber()
{
    return {"1e309", "-1e309", "NaN", "nan", "inf", "-Infinity", "abc", "12,5", "1,000", "5 kg"};
}

void addTextRows(bool withEmpty)
{
    QTest::addColumn<QString>("text");
    for (const QString &text : notANumber())
        QTest::newRow(qPrintable(text)) << text;
    if (!withEmpty)
        return;
    QTest::newRow("empty") << QString();
    QTest::newRow("spaces") << QString("   ");
}

int unsoundReals(const QString &table, const QString &column)
{
    return testdata::count(QString("SELECT COUNT(*) FROM %1 WHERE typeof(%2) NOT IN ('real', 'integer') "
                                   "OR %2 > 1.7976931348623157e308 OR %2 < -1.7976931348623157e308")
                               .arg(table, column));
}

} // namespace typedinput
