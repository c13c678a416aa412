// The salary window on two years of monthly salary for 625 employees (15,000
// entries): the window opening with the whole list, Show of one month, Reset,
// and Update of the whole list, each list against its floor (its statement
// run by the sqlite3 shell on the same file).
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

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTableWidget>

#include <cstdio>

namespace {

const QString Columns = "SELECT slno, name, date, day_shift, ot_details, night_details, salary_day, tea_cash, "
                        "night_cash, sunday_cash, incentive, gross_total, week_adv, extra_adv, late_fine, total_sal, "
                        "remarks FROM salary";
const ListStatement Every(Columns + " ORDER BY date DESC, name ASC");
const ListStatement Names("SELECT DISTINCT name FROM salary ORDER BY name ASC");
const ListStatement March(Columns + " WHERE date LIKE :month ORDER BY name ASC", QVariantMap{{":month", "2026-03%"}});

} // namespace

int main(int argc, char **argv)
{
    BenchApplication app(argc, argv);
    TestEnvironment env;
    openBenchDatabase(env);
    std::printf("%s\n\n", qPrintable(fillOffice(OfficeSize{10000, 625, 2025, 2026}).summary()));

    // Each figure is the fastest of five runs (steadier on a busy machine).
    QList<SalaryRecord> records;
    const double all = bestMsOf([&] { allSalaries(&records); }, 5);
    const double month = bestMsOf([&] { salariesOfMonth(2026, 3, &records); }, 5);

    SalaryWindow *window = nullptr;
    const double open = bestOpeningMs(&window);
    auto *list = window->findChild<QTableWidget *>("emp_salary_table");
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
