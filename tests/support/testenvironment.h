#pragma once
// A fresh application folder for one test, and the program prepared as it
// prepares itself at start.

#include "recordingdesktop.h"

#include <QString>

// A fresh application folder with a recording desktop installed, for one test.
// Closes and removes the default database connection when it ends.
class TestEnvironment
{
public:
    TestEnvironment();
    ~TestEnvironment();

    RecordingDesktop desktop;
    QString folder() const { return desktop.appFolder; }

    // Opens folder/name.db as the default connection (no schema).
    bool openDatabase(const QString &name = "MorvelCoats");
};

// Closes every top-level window and removes the default connection.
void closeDefaultDatabase();

// Prepares the test program once as the program prepares itself at start:
// writes past a file-size limit fail, resources and module windows are there.
void initTestProgram();
