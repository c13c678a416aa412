// On a 1920 x 1080 screen every window opens as it is designed: at its
// designed size, or maximised where it maximises itself, with no scroll bar
// around its content, and every button and field in reach.

#include "support/headlessscreen.h"
#include "support/programwindows.h"
#include "support/testenvironment.h"

#include "shell/mainwindow.h"
#include "widgets/dashboard.h"

#include <QLabel>
#include <QMainWindow>
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

    // Wide enough, the card headings keep their full size on one line: the
    // inventory's 13 px request and 15 px stock titles in their 20 px rows,
    // the sales list headings (20 px, one stepped a little) a line high.
    void cardHeadingsKeepTheirSize()
    {
        TestEnvironment env;
        MainWindow *program = startProgram(env);
        for (const char *button : {"sales_btn", "invent_cum_btn"}) {
            const bool sales = QByteArray(button) == "sales_btn";
            QMainWindow *window = moduleWindow(program, button);
            QCoreApplication::processEvents();
            int headings = 0;
            for (QLabel *label : window->findChildren<QLabel *>()) {
                // A figure's title (centred) shares its card's height.
                if (!dynamic_cast<CardHeading *>(label) || (sales && label->alignment() & Qt::AlignHCenter))
                    continue;
                ++headings;
                const QString what = label->text() + QString(": %1 px high").arg(label->height());
                if (sales) {
                    QFont full = label->font();
                    full.setPixelSize(20);
                    QVERIFY2(label->height() <= QFontMetrics(full).height(), qPrintable(what));
                } else {
                    QCOMPARE(label->font().pixelSize(), label->text().contains("Request") ? 13 : 15);
                    QVERIFY2(label->height() == 20, qPrintable(what));
                }
            }
            QCOMPARE(headings, sales ? 4 : 10);
            window->close();
        }
    }
};

KESTROVA_TEST_MAIN_ON_SCREEN(TestFullHdScreen, 1920, 1080)
#include "tst_fullhdscreen.moc"
