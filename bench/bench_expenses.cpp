// The expenses window on five busy years (50,000 expenses): the window
// opening with the whole list, Show of one month and of one year, and Reset,
// each against its statement alone.
//
//   bench_expenses

#include "support/benchrun.h"
#include "support/benchlimit.h"
#include "support/heavyoffice.h"
#include "support/heavyyear.h"
#include "support/recordingdesktop.h"
#include "support/widgets.h"

#include "expenses/expenseswindow.h"
#include "expenses/expensestore.h"

#include <QApplication>
#include <QDateEdit>
#include <QPushButton>
#include <QTableWidget>

#include <cstdio>

int main(int argc, char **argv)
{
    BenchApplication app(argc, argv);
    TestEnvironment env;
    openBenchDatabase(env);
    std::printf("%s\n\n", qPrintable(fillOffice().summary()));

    // Each figure is the fastest of five runs (steadier on a busy machine).
    QList<ExpenseRow> rows;
    const double all = bestMsOf([&] { allExpenses(&rows); }, 5);
    const double month = bestMsOf([&] { expensesBetween("2026-03-01", "2026-03-31", &rows); }, 5);
    const double year = bestMsOf([&] { expensesBetween("2025-01-01", "2025-12-31", &rows); }, 5);

    ExpensesWindow *window = nullptr;
    const double open = bestOpeningMs(&window);
    auto *list = window->findChild<QTableWidget *>("tableWidget");
    printAgainstStatements("open with every expense", all, open, list->rowCount());

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
    printAgainstStatements("Show, one month", month, monthShown, list->rowCount());
    const double yearShown = show(QDate(2025, 1, 1), QDate(2025, 12, 31));
    printAgainstStatements("Show, one year", year, yearShown, list->rowCount());
    const double reset = bestClickMs(window, "reset");
    printAgainstStatements("Reset (every expense)", all, reset, list->rowCount());
    printMessages(env);
    return 0;
}
