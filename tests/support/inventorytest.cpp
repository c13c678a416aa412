#include "support/inventorytest.h"

#include "support/materialrequestdata.h"

#include <QtTest>

void InventoryTest::initTestCase()
{
    initTestProgram();
}

void InventoryTest::init()
{
    env = std::make_unique<TestEnvironment>();
    QVERIFY(stockdata::openInventoryDatabase(*env));
}

void InventoryTest::cleanup()
{
    env.reset();
}
