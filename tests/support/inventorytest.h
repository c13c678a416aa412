#pragma once
// The start of the inventory list tests: before each test a fresh application
// folder whose database holds the inventory tables, dropped after it. A test
// class derives from it and adds its test slots.

#include "support/testenvironment.h"

#include <QObject>

#include <memory>

class InventoryTest : public QObject
{
    Q_OBJECT

protected:
    std::unique_ptr<TestEnvironment> env;

private slots:
    void initTestCase();
    void init();
    void cleanup();
};
