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

// The designed size of each window as its designer form gives it: the forms
// 1500 x 800, but for these; an invalid size where the window maximises itself.
const QMap<QString, QSize> Designed{
    {"main window", {1500, 831}},  {"sales window", {}},       {"purchase window", {}},
    {"expenses window", {}},       {"inventory window", {}},   {"purchase entry page", {}},
    {"user panel", {960, 813}},    {"administration panel", {808, 701}},
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
            const QString name = windows.at(i).name;
            QTest::newRow(qPrintable(name)) << i << Designed.value(name, QSize(1500, 800));
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
