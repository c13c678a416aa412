#include "mainwindow.h"
#include "memorytuning.h"
#include "modulefactory.h"
#include "resources.h"
#include "screenfit.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    tuneMemoryForLargeLists();
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::RoundPreferFloor);
    QApplication app(argc, argv);
    initKestrovaResources();
    registerModuleWindows();

    MainWindow window;
    fitToScreen(&window);
    window.show();
    return app.exec();
}
