// On a 1920 x 1080 screen every window opens as it is designed: at its
// designed size, or maximised where it maximises itself, with no scroll bar
// around its content, and every button and field in reach.

#include "support/headlessscreen.h"
#include "support/programwindows.h"
#include "support/recordingdesktop.h"

#include "app/mainwindow.h"

#include <QMap>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QtTest>

#include <memory>

namespace {

const QSize Form(1500, 800);
const QSize Maximised; // the window maximises itself

// The designed size of each window, as its designer form gives it.
const QMap<QString, QSize> Designed{
    {"main window", {1500, 831}},
    {"sales window", Maximised},
    {"purchase window", Maximised},
    {"expenses window", Maximised},
    {"salary window", Form},
    {"inventory window", Maximised},
    {"customer master", Form},
    {"item master", Form},
    {"inward entry", Form},
    {"inward list", Form},
    {"delivery challan generation", Form},
    {"delivery challan list", Form},
    {"despatch details", Form},
    {"invoice generation", Form},
    {"invoice form", Form},
    {"invoice list", Form},
    {"payment follow-up", Form},
    {"payment history", Form},
    {"challan form from generation", Form},
    {"invoice form from generation", Form},
    {"payment history from follow-up", Form},
    {"stock entry", Form},
    {"stock report", Form},
    {"generate material request", Form},
    {"material request list", Form},
    {"purchase entry page", Maximised},
    {"payment entry (menu)", Form},
    {"payment statement", Form},
    {"payment entry (purchase button)", Form},
    {"user panel", {960, 813}},
    {"administration panel", {808, 701}},
};

} // namespace

class TestFullHdScreen : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        const QSize screen = QGuiApplication::primaryScreen()->size();
        if (screen != QSize(1920, 1080))
            QSKIP(qPrintable(QString("the screen is %1x%2, not 1920x1080").arg(screen.width()).arg(screen.height())));
    }

    void windowsOpenAsDesigned_data()
    {
        QTest::addColumn<int>("route");
        QTest::addColumn<QSize>("designed");
        const QList<ProgramWindow> windows = everyProgramWindow();
        for (int i = 0; i < windows.size(); ++i) {
            if (!Designed.contains(windows.at(i).name))
                qFatal("no designed size for %s", qPrintable(windows.at(i).name));
            QTest::newRow(qPrintable(windows.at(i).name)) << i << Designed.value(windows.at(i).name);
        }
    }
    void windowsOpenAsDesigned()
    {
        QFETCH(int, route);
        QFETCH(QSize, designed);
        TestEnvironment env;
        MainWindow *program = startProgram(env);
        bool looked = false;
        everyProgramWindow().at(route).open(program, env, [&](QWidget *window) {
            looked = true;
            QCoreApplication::processEvents(); // layouts settle
            if (designed.isValid()) {
                QVERIFY(!window->isMaximized());
                // A form whose content needs more than its design opens larger, as always.
                QCOMPARE(window->size(), designed.expandedTo(window->minimumSize()));
            } else {
                QVERIFY(window->isMaximized());
            }
            QVERIFY(window->screen()->availableGeometry().contains(window->frameGeometry()));
            for (QScrollArea *area : window->findChildren<QScrollArea *>()) {
                if (area->window() == window && area->isVisibleTo(window)) {
                    QVERIFY2(!area->horizontalScrollBar()->isVisible() && !area->verticalScrollBar()->isVisible(),
                             qPrintable(area->objectName()));
                }
            }
            const QStringList unusable = unusableControls(window);
            QVERIFY2(unusable.isEmpty(), qPrintable(unusable.join("\n")));
        });
        QVERIFY(looked);
    }
};

KESTROVA_TEST_MAIN_ON_SCREEN(TestFullHdScreen, 1920, 1080)
#include "tst_fullhdscreen.moc"
