#pragma once
// What every benchmark program starts with, and the window timings they share.

#include "support/testenvironment.h"

#include <QApplication>
#include <QWidget>

#include <functional>

class QTableWidget;

// The application of a benchmark: off screen unless QT_QPA_PLATFORM names a
// platform, the current financial year 26-27.
class BenchApplication : public QApplication
{
public:
    BenchApplication(int &argc, char **argv);

    // Whether the command line carries `option` (as "--as-given").
    bool hasOption(const QString &option) const;

private:
    static int &offscreenUnlessSet(int &argc);
};

// Opens the database of a fresh application folder; stops the program when
// it cannot.
void openBenchDatabase(TestEnvironment &env);

// Lets the windows take their posted events (layout, paint).
void settle();

// Milliseconds of the fastest of `runs` openings of a Window: built, shown
// and settled; the window of the run before is deleted first, untimed.
// `*window` is left with the last one.
double bestOpeningMs(const std::function<QWidget *()> &make, QWidget **window, int runs = 5);

template<class Window>
double bestOpeningMs(Window **window, int runs = 5)
{
    QWidget *opened = nullptr;
    const double ms = bestOpeningMs([] { return new Window; }, &opened, runs);
    *window = static_cast<Window *>(opened);
    return ms;
}

// Milliseconds of the fastest of `runs` presses of the button `name` of
// `window`, each settled and after `prepare` (untimed, when given).
double bestClickMs(QWidget *window, const char *name, int runs = 5, const std::function<void()> &prepare = nullptr);

// Prints the time of scrolling `table` to its bottom and back to its top.
void printScrolled(QTableWidget *table, const QString &indent = QString());

// Prints every message box the benchmark's windows showed, each text cut to
// `length` characters when given.
void printMessages(const TestEnvironment &env, int length = -1);
