#include "heavyoffice.h"

#include "heavyyear.h"

#include "expenses/expensestore.h"

#include <QDate>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

namespace {

void check(bool ok, const QSqlQuery &q)
{
    if (!ok)
        qFatal("office data: %s", qPrintable(q.lastError().text()));
}

} // namespace

OfficeSize heavyOffice()
{
    return OfficeSize{};
}

QString FilledOffice::summary() const
{
    return QStringLiteral("%1 expenses, %2 salary entries, written in %3 ms")
        .arg(countText(expenses), countText(salaries))
        .arg(ms, 0, 'f', 0);
}

FilledOffice fillOffice(const OfficeSize &size)
{
    QElapsedTimer timer;
    timer.start();
    createExpensesTable();
    QRandomGenerator random(20260401);
    const QStringList headings{"Tea & Snacks", "Diesel",   "Courier",      "Stationery", "Electricity",
                               "Rent",         "Transport", "Repairs",     "Canteen",    "Internet",
                               "Cleaning",     "Water",     "Postage",     "Printing",   "Hardware"};
    FilledOffice filled;
    QSqlDatabase db = QSqlDatabase::database();
    db.transaction();

    QSqlQuery expense;
    check(expense.prepare("INSERT INTO expenses (date, heading, details, amount) "
                          "VALUES (:date, :heading, :details, :amount)"),
          expense);
    for (int year = size.firstYear; year <= size.lastYear; ++year) {
        const int days = QDate(year, 1, 1).daysTo(QDate(year, 12, 31)) + 1;
        for (int i = 0; i < size.expensesPerYear; ++i) {
            const QDate date = QDate(year, 1, 1).addDays(qint64(i) * days / size.expensesPerYear);
            const QString heading = headings.at(random.bounded(headings.size()));
            expense.bindValue(":date", date.toString("yyyy-MM-dd"));
            expense.bindValue(":heading", heading);
            expense.bindValue(":details", QStringLiteral("%1 for unit %2").arg(heading).arg(random.bounded(40)));
            expense.bindValue(":amount", random.bounded(500000) / 100.0);
            check(expense.exec(), expense);
            ++filled.expenses;
        }
    }

    if (!db.commit())
        qFatal("office data: %s", qPrintable(db.lastError().text()));
    filled.ms = timer.elapsed();
    return filled;
}
