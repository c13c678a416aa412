#include "testenvironment.h"

#include "output/wholefile.h"
#include "shell/modulefactory.h"
#include "widgets/resources.h"

#include <QApplication>
#include <QPointer>
#include <QSqlDatabase>
#include <QWidget>

TestEnvironment::TestEnvironment()
{
    initTestProgram();
    Desktop::setHandler(&desktop);
}

TestEnvironment::~TestEnvironment()
{
    closeDefaultDatabase();
    Desktop::setHandler(nullptr);
}

bool TestEnvironment::openDatabase(const QString &name)
{
    QSqlDatabase db = QSqlDatabase::contains(QSqlDatabase::defaultConnection)
                          ? QSqlDatabase::database(QSqlDatabase::defaultConnection, false)
                          : QSqlDatabase::addDatabase("QSQLITE");
    db.setDatabaseName(folder() + "/" + name + ".db");
    return db.open();
}

void closeDefaultDatabase()
{
    // Deleting one window may delete others; track them all first. A
    // suggestion list is a window of its own, owned (and deleted) by its
    // completer.
    QList<QPointer<QWidget>> windows;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (!w->parent() && w->windowType() != Qt::Popup)
            windows << w;
    }
    for (const QPointer<QWidget> &w : windows)
        delete w.data();
    QApplication::processEvents();
    {
        QSqlDatabase db = QSqlDatabase::database(QSqlDatabase::defaultConnection, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(QSqlDatabase::defaultConnection);
}

void initTestProgram()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    WholeFile::failWritesPastSizeLimit();
    initKestrovaResources();
    registerModuleWindows();
}
