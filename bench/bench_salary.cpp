// The salary window on two years of monthly salary for 625 employees (15,000
// entries): its first opening as the user makes it (in a program of its own:
// the main window shown, the login, then the Salary Slip button), later
// openings, Show of one month, Reset, and Update of the whole list, each
// list against its floor (its statements, as the window runs them, run by
// the sqlite3 shell on the same file).
//
//   bench_salary
//   bench_salary --first-opening <folder>   (one first opening, run by the above)

#include "support/benchlimit.h"
#include "support/benchrun.h"
#include "support/heavyoffice.h"
#include "support/heavyyear.h"
#include "support/testenvironment.h"
#include "support/widgets.h"

#include "core/companydb.h"
#include "salary/salarystore.h"
#include "salary/salarywindow.h"
#include "shell/mainwindow.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>

#include <algorithm>
#include <cstdio>

namespace {

// The child: the program started on `folder` (its main window shown, the
// database opened afresh), the login, then the Salary Slip button. Prints
// the milliseconds from the press until the window shows its rows, and the
// rows.
int runFirstOpening(const QString &folder)
{
    TestEnvironment env;
    env.desktop.appFolder = folder;
    auto *main = new MainWindow;
    main->show();
    settle();
    main->findChild<QLineEdit *>("usernameEdit")->setText("pravo");
    main->findChild<QLineEdit *>("passwordEdit")->setText("pravo");
    ::click(main, "submit_btn");
    settle();
    const double ms = msOf([&] {
        ::click(main, "salary_slip_btn");
        settle();
    });
    const auto *window = main->findChild<SalaryWindow *>();
    if (!window || !window->isVisible())
        qFatal("the Salary Slip button opened no salary window");
    std::printf("first %.3f %d\n", ms, window->findChild<QTableWidget *>("emp_salary_table")->rowCount());
    return 0;
}

// The first opening in `runs` programs of their own, each milliseconds.
QList<double> firstOpenings(const QString &folder, int runs, int *rows)
{
    QList<double> times;
    for (int i = 0; i < runs; ++i) {
        QProcess child;
        child.setStandardErrorFile(QProcess::nullDevice());
        child.start(QCoreApplication::applicationFilePath(), {"--first-opening", folder});
        if (!child.waitForFinished(120000) || child.exitCode() != 0)
            qFatal("the first-opening run failed");
        const QList<QByteArray> parts = child.readAllStandardOutput().trimmed().split(' ');
        if (parts.size() != 3 || parts[0] != "first")
            qFatal("the first-opening run printed no time");
        times << parts[1].toDouble();
        *rows = parts[2].toInt();
    }
    return times;
}

} // namespace

int main(int argc, char **argv)
{
    BenchApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int child = args.indexOf("--first-opening");
    if (child >= 0 && child + 1 < args.size())
        return runFirstOpening(args[child + 1]);

    TestEnvironment env;
    openBenchDatabase(env);
    std::printf("%s\n\n", qPrintable(fillOffice(OfficeSize{10000, 625, 2025, 2026}).summary()));
    CompanyDb::createCoreSchema(); // as the first start leaves it: the runs below write nothing

    const ListStatement Every(allSalariesStatement());
    const ListStatement March(monthSalariesStatement(), QVariantMap{{":month", salaryMonthPattern(2026, 3)}});

    // Each figure is the fastest of five runs (steadier on a busy machine).
    QList<SalaryRecord> records;
    const double all = bestMsOf([&] { allSalaries(&records); }, 5);
    const double month = bestMsOf([&] { salariesOfMonth(2026, 3, &records); }, 5);

    // The first opening, in five programs of their own: the fastest, as of
    // every figure here.
    int firstRows = 0;
    QList<double> first = firstOpenings(env.folder(), 5, &firstRows);
    std::sort(first.begin(), first.end());
    printAgainstStatements("first opening (Salary Slip button)", all, first.first(), firstRows, Every);
    printFigure("first opening (Salary Slip button): median of the 5", first.at(first.size() / 2),
                QString("slowest %1 ms").arg(first.last(), 0, 'f', 1));

    // Later openings in this program, each a new window.
    SalaryWindow *window = nullptr;
    const double open = bestOpeningMs(&window);
    auto *list = window->findChild<QTableWidget *>("emp_salary_table");
    printAgainstStatements("open with every entry", all, open, list->rowCount(), Every);

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
