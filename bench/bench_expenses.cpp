// The expenses window on two busy years (20,000 expenses): the window
// opening with the whole list, Show of one month and of one year, and Reset,
// each against its floor (its statement run by the sqlite3 shell on the same
// file).
//
//   bench_expenses

#include "support/benchlimit.h"
#include "support/benchrun.h"
#include "support/heavyoffice.h"
#include "support/heavyyear.h"
#include "support/testenvironment.h"
#include "support/widgets.h"

#include "expenses/expensestore.h"
#include "expenses/expenseswindow.h"

#include <QApplication>
#include <QDateEdit>
#include <QPushButton>
#include <QTableWidget>

#include <cstdio>

namespace {

const QString Columns = "SELECT slno, date, heading, details, amount FROM expenses";
const ListStatement Every(Columns + " ORDER BY slno ASC");
const ListStatement Count("SELECT COUNT(*) FROM expenses");

ListStatement between(const QString &from, const QString &to)
{
    return ListStatement(Columns + " WHERE date >= :fromDate AND date <= :toDate ORDER BY slno ASC",
                         QVariantMap{{":fromDate", from}, {":toDate", to}});
}

} // namespace

int main(int argc, char **argv)
{
    BenchApplication app(argc, argv);
    TestEnvironment env;
    openBenchDatabase(env);
    std::printf("%s\n\n", qPrintable(fillOffice(OfficeSize{10000, 625, 2025, 2026}).summary()));

    // Each figure is the fastest of five runs (steadier on a busy machine).
    QList<ExpenseRow> rows;
    const double all = bestMsOf([&] { allExpenses(&rows); }, 5);
    const double month = bestMsOf([&] { expensesBetween("2026-03-01", "2026-03-31", &rows); }, 5);
    const double year = bestMsOf([&] { expensesBetween("2025-01-01", "2025-12-31", &rows); }, 5);

    ExpensesWindow *window = nullptr;
    const double open = bestOpeningMs(&window);
    auto *list = window->findChild<QTableWidget *>("tableWidget");
    printAgainstStatements("open with every expense", all, open, list->rowCount(), {Every, Count});

    // A period is shown from the whole list, as after opening.
    const auto show = [&](const QDate &from, const QDate &to) {
        return bestClickMs(window, "show", 5, [&] {
            click(window, "reset");
            settle();
            window->findChild<QDateEdit *>("fromDate")->setDate(from);
            window->findChild<QDateEdit *>("toDate")->setDate(to);
        });
    };
    const double monthShown = show(QDate(2026, 3, 1), QDate(2026, 3, 31));
    printAgainstStatements("Show, one month", month, monthShown, list->rowCount(), between("2026-03-01", "2026-03-31"));
    const double yearShown = show(QDate(2025, 1, 1), QDate(2025, 12, 31));
    printAgainstStatements("Show, one year", year, yearShown, list->rowCount(), between("2025-01-01", "2025-12-31"));
    const double reset = bestClickMs(window, "reset");
    printAgainstStatements("Reset (every expense)", all, reset, list->rowCount(), Every);
    printMessages(env);
    return printLimitVerdict() ? 0 : 1;
}
