#include "mainwindow.h"
#include "memorytuning.h"
#include "modulefactory.h"
#include "core/companydb.h"
#include "output/desktop.h"
#include "output/wholefile.h"
#include "widgets/resources.h"
#include "widgets/screenfit.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    WholeFile::failWritesPastSizeLimit();
    tuneMemoryForLargeLists();
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::RoundPreferFloor);
    QApplication app(argc, argv);
    initKestrovaResources();
    registerModuleWindows();

    // The company file is checked while the main window shows with its login;
    // the window opens the database once the check has passed.
    const QString folder = Desktop::applicationFolder();
    CompanyDb::startDatabaseCheck(CompanyDb::databasePath(folder, CompanyDb::readCompanyKey(folder)));
    MainWindow window;
    fitToScreen(&window);
    window.show();
    return app.exec();
}
