#include "benchrun.h"

#include "heavyyear.h"

#include "core/financialyear.h"
#include "shell/memorytuning.h"

#include <QAbstractButton>
#include <QTableWidget>

#include <cstdio>

int &BenchApplication::offscreenUnlessSet(int &argc)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return argc;
}

BenchApplication::BenchApplication(int &argc, char **argv)
    : QApplication(offscreenUnlessSet(argc), argv)
{
    tuneMemoryForLargeLists(); // as the program does at start
    g_currentFY = "26-27";
}

bool BenchApplication::hasOption(const QString &option) const
{
    return arguments().contains(option);
}

void openBenchDatabase(TestEnvironment &env)
{
    if (!env.openDatabase())
        qFatal("cannot open the database");
}

void settle()
{
    QApplication::processEvents();
}

double bestOpeningMs(const std::function<QWidget *()> &make, QWidget **window, int runs)
{
    *window = nullptr;
    return bestMsOf(
        [&] {
            *window = make();
            (*window)->show();
            settle();
        },
        runs,
        [&] {
            delete *window;
            *window = nullptr;
        });
}

double bestClickMs(QWidget *window, const char *name, int runs, const std::function<void()> &prepare)
{
    auto *button = window->findChild<QAbstractButton *>(name);
    if (!button)
        qFatal("no button %s", name);
    return bestMsOf(
        [&] {
            button->click();
            settle();
        },
        runs, prepare);
}

void printScrolled(QTableWidget *table, const QString &indent)
{
    printFigure(indent + "scrolled to the bottom and back", msOf([&] {
                    table->scrollToBottom();
                    settle();
                    table->scrollToTop();
                    settle();
                }));
}

void printMessages(const TestEnvironment &env, int length)
{
    for (const auto &m : env.desktop.messages)
        std::printf("message: %s: %s\n", qPrintable(m.title), qPrintable(length < 0 ? m.text : m.text.left(length)));
    std::fflush(stdout);
}
