// Start-up on the two heavy years (a file of about 19 MB): from the start of
// the process to the main window shown with its login, and to the company
// file checked and the login ready, with the file in the system's cache
// (warm) and right after it was dropped from it (cold), as after a reboot.
// Each run is a new process that starts as the program does.
//
//   bench_startup            the figures, against 250 ms from start

#include "support/benchrun.h"
#include "support/heavyyear.h"
#include "support/testenvironment.h"

#include "core/companydb.h"
#include "shell/mainwindow.h"
#include "widgets/screenfit.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <cstdio>

#include <fcntl.h>
#include <unistd.h>

namespace {

const double ShownLimitMs = 250;

qint64 nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The child: starts as the program's main does, against `folder`, and prints
// the moments (steady clock) when the window was shown and when the login
// was ready.
int runStart(const QString &folder)
{
    TestEnvironment env;
    env.desktop.appFolder = folder;
    CompanyDb::startDatabaseCheck(CompanyDb::databasePath(folder, CompanyDb::readCompanyKey(folder)));
    MainWindow window;
    fitToScreen(&window);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        qFatal("the main window was not shown");
    settle();
    const qint64 shown = nowNs();
    QElapsedTimer limit;
    limit.start();
    while (!window.databaseReady() && env.desktop.messages.isEmpty() && limit.elapsed() < 60000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    const qint64 ready = nowNs();
    std::printf("shown %lld\nready %lld\nboxes %lld\n", static_cast<long long>(shown),
                static_cast<long long>(ready), static_cast<long long>(env.desktop.messages.size()));
    return 0;
}

// Drops the file's pages from the system's cache.
void dropFromCache(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd < 0)
        qFatal("cannot open %s", qPrintable(path));
    ::fdatasync(fd);
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    ::close(fd);
}

struct StartTimes
{
    double shownMs = 0;
    double readyMs = 0;
};

StartTimes timeOneStart(const QString &folder)
{
    QProcess child;
    child.setStandardErrorFile(QProcess::nullDevice());
    const qint64 started = nowNs();
    child.start(QCoreApplication::applicationFilePath(), {"--start", folder});
    if (!child.waitForFinished(120000) || child.exitCode() != 0)
        qFatal("the start-up run failed");
    StartTimes times;
    for (const QByteArray &line : child.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> parts = line.split(' ');
        if (parts.size() != 2)
            continue;
        const double ms = (parts[1].toLongLong() - started) / 1e6;
        if (parts[0] == "shown")
            times.shownMs = ms;
        else if (parts[0] == "ready")
            times.readyMs = ms;
        else if (parts[0] == "boxes" && parts[1] != "0")
            qFatal("the start-up run showed a message box");
    }
    return times;
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    BenchApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int start = args.indexOf("--start");
    if (start >= 0 && start + 1 < args.size())
        return runStart(args[start + 1]);

    TestEnvironment env;
    openBenchDatabase(env);
    const FilledData filled = fillData(twoHeavyYears());
    CompanyDb::createCoreSchema(); // as a first start leaves it: later starts have nothing to write
    closeDefaultDatabase();
    const QString path = env.folder() + "/MorvelCoats.db";
    std::printf("Two heavy years: %s\nfile %s, %.1f MB\n\n", qPrintable(filled.summary()), qPrintable(path),
                QFileInfo(path).size() / 1e6);

    const int runs = 7;
    timeOneStart(env.folder()); // loads the program's own libraries into the cache
    for (const bool cold : {false, true}) {
        QList<double> shown, ready;
        for (int i = 0; i < runs; ++i) {
            if (cold)
                dropFromCache(path);
            const StartTimes t = timeOneStart(env.folder());
            shown << t.shownMs;
            ready << t.readyMs;
        }
        const QString how = cold ? "cold" : "warm";
        const double shownMedian = median(shown);
        printFigure("start to main window shown, " + how + ", median of 7", shownMedian,
                    QString("min %1, max %2; limit %3 ms%4")
                        .arg(*std::min_element(shown.begin(), shown.end()), 0, 'f', 1)
                        .arg(*std::max_element(shown.begin(), shown.end()), 0, 'f', 1)
                        .arg(ShownLimitMs)
                        .arg(shownMedian > ShownLimitMs ? "  OVER" : ""));
        printFigure("start to file checked, login ready, " + how + ", median of 7", median(ready),
                    QString("min %1, max %2")
                        .arg(*std::min_element(ready.begin(), ready.end()), 0, 'f', 1)
                        .arg(*std::max_element(ready.begin(), ready.end()), 0, 'f', 1));
    }
    return 0;
}
