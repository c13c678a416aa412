#include "mainwindow.h"
#include "modulefactory.h"
#include "resources.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::RoundPreferFloor);
    QApplication app(argc, argv);
    initKestrovaResources();
    registerModuleWindows();

    MainWindow window;
    window.show();
    return app.exec();
}
