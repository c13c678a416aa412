#pragma once
// The screen a test program runs on. The tests run on the headless platform
// with one full-HD screen (tests/CMakeLists.txt). A program that looks at the
// windows on another screen calls useHeadlessScreen first thing in main,
// before the application object exists; on a real display the display's own
// screen stays.

#include <QApplication>
#include <QSize>
#include <QtTest>

void useHeadlessScreen(const QSize &size);

// QTEST_MAIN on a headless screen of the given size.
#define KESTROVA_TEST_MAIN_ON_SCREEN(TestClass, width, height)                                                         \
    int main(int argc, char *argv[])                                                                                   \
    {                                                                                                                  \
        useHeadlessScreen(QSize(width, height));                                                                       \
        QApplication app(argc, argv);                                                                                  \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                                       \
        TestClass test;                                                                                                \
        QTEST_SET_MAIN_SOURCE_PATH                                                                                     \
        return QTest::qExec(&test, argc, argv);                                                                        \
    }
