#include "heavyoffice.h"

#include "heavyyear.h"

#include "expenses/expensestore.h"
#include "salary/salarystore.h"

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
    createSalaryTable();
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

    QSqlQuery salary;
    check(salary.prepare("INSERT INTO salary (name, date, day_shift, ot_details, night_details, salary_day, "
                         "tea_cash, night_cash, sunday_cash, incentive, gross_total, week_adv, extra_adv, "
                         "late_fine, total_sal, remarks) VALUES (:name, :date, :day, :ot, :night, :sal, :tea, "
                         ":ncash, :sun, :inc, :gross, :wadv, :eadv, :fine, :total, :rem)"),
          salary);
    for (int year = size.firstYear; year <= size.lastYear; ++year) {
        for (int month = 1; month <= 12; ++month) {
            for (int e = 1; e <= size.employees; ++e) {
                SalaryFigures f;
                f.dayShift = Decimal::whole(20 + random.bounded(7));
                f.ot = Decimal::whole(random.bounded(5));
                const int nights = random.bounded(4);
                f.night = Decimal::whole(nights);
                f.salaryPerDay = Decimal::whole(400 + 10 * (e % 30));
                f.teaCash = Decimal::whole(100);
                f.nightCash = Decimal::whole(50 * nights);
                f.sundayCash = Decimal::whole(random.bounded(3) * 200);
                f.incentive = Decimal::whole(random.bounded(4) * 250);
                f.weekAdvance = Decimal::whole(random.bounded(3) * 500);
                f.extraAdvance = Decimal::whole(random.bounded(10) == 0 ? 1000 : 0);
                f.lateFine = Decimal::whole(random.bounded(5) * 20);
                salary.bindValue(":name", QStringLiteral("Employee %1").arg(e, 3, 10, QLatin1Char('0')));
                salary.bindValue(":date", QDate(year, month, 28).toString("yyyy-MM-dd"));
                const Decimal values[] = {f.dayShift,  f.ot,         f.night,       f.salaryPerDay,
                                          f.teaCash,   f.nightCash,  f.sundayCash,  f.incentive,
                                          grossSalary(f), f.weekAdvance, f.extraAdvance, f.lateFine,
                                          netSalary(f)};
                const char *names[] = {":day", ":ot",    ":night", ":sal",  ":tea",  ":ncash", ":sun",
                                       ":inc", ":gross", ":wadv",  ":eadv", ":fine", ":total"};
                for (int i = 0; i < 13; ++i)
                    salary.bindValue(names[i], values[i].toDouble());
                salary.bindValue(":rem", e % 7 == 0 ? QStringLiteral("paid in cash") : QString());
                check(salary.exec(), salary);
                ++filled.salaries;
            }
        }
    }
    if (!db.commit())
        qFatal("office data: %s", qPrintable(db.lastError().text()));
    filled.ms = timer.elapsed();
    return filled;
}

