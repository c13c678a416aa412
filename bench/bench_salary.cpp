// The salary window on two years of monthly salary for 625 employees (15,000
// entries): its first opening as the user makes it (the main window's
// Salary Slip button after login), the fastest of later openings, Show of
// one month, Reset, and Update of the whole list, each list against its
// floor (its statements, as the window runs them, run by the sqlite3 shell
// on the same file).
//
//   bench_salary

#include "support/benchlimit.h"
#include "support/benchrun.h"
#include "support/heavyoffice.h"
#include "support/heavyyear.h"
#include "support/testenvironment.h"
#include "support/widgets.h"

#include "salary/salarystore.h"
#include "salary/salarywindow.h"
#include "shell/mainwindow.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include <cstdio>

int main(int argc, char **argv)
{
    BenchApplication app(argc, argv);
    TestEnvironment env;
    openBenchDatabase(env);
    std::printf("%s\n\n", qPrintable(fillOffice(OfficeSize{10000, 625, 2025, 2026}).summary()));

    const ListStatement Every(allSalariesStatement());
    const ListStatement Names(salaryNamesStatement());
    const ListStatement March(monthSalariesStatement(), QVariantMap{{":month", salaryMonthPattern(2026, 3)}});

    // Each figure is the fastest of five runs (steadier on a busy machine).
    QList<SalaryRecord> records;
    const double all = bestMsOf([&] { allSalaries(&records); }, 5);
    const double month = bestMsOf([&] { salariesOfMonth(2026, 3, &records); }, 5);

    // The first opening: the program starts with its main window, which
    // opens the database afresh; the user logs in and presses Salary Slip.
    auto *main = new MainWindow;
    main->show();
    settle();
    main->findChild<QLineEdit *>("usernameEdit")->setText("pravo");
    main->findChild<QLineEdit *>("passwordEdit")->setText("pravo");
    ::click(main, "submit_btn");
    settle();
    const double first = msOf([&] {
        ::click(main, "salary_slip_btn");
        settle();
    });
    SalaryWindow *window = main->findChild<SalaryWindow *>();
    if (!window || !window->isVisible())
        qFatal("the Salary Slip button opened no salary window");
    auto *list = window->findChild<QTableWidget *>("emp_salary_table");
    printAgainstStatements("first opening (Salary Slip button)", all, first, list->rowCount(), {Every, Names});
    delete main;

    // Later openings, each a new window.
    window = nullptr;
    const double open = bestOpeningMs(&window);
    list = window->findChild<QTableWidget *>("emp_salary_table");
    printAgainstStatements("open with every entry", all, open, list->rowCount(), {Every, Names});

    const auto click = [&](const char *name) {
        ::click(window, name);
        settle();
    };
    // March is shown from the whole list, as after opening.
    const double shown = bestClickMs(window, "show_btn", 5, [&] {
        click("reset_btn");
        window->findChild<QComboBox *>("month_combo")->setCurrentIndex(2);
        QComboBox *years = window->findChild<QComboBox *>("year_combo");
        years->setCurrentIndex(years->findData(2026));
    });
    printAgainstStatements("Show, March 2026", month, shown, list->rowCount(), March);
    const double reset = bestClickMs(window, "reset_btn");
    printAgainstStatements("Reset (every entry)", all, reset, list->rowCount(), Every);

    click("edit_btn");
    printFigure("Update of every listed entry (one transaction)", msOf([&] { click("update_btn"); }),
                rowsText(list->rowCount()));
    printMessages(env, 80);
    return printLimitVerdict() ? 0 : 1;
}
