#pragma once

#include "support/purchasedata.h"
#include "support/testenvironment.h"

#include <QtGlobal>

// A fresh application folder whose database holds the purchase tables.
struct PurchaseEnvironment : TestEnvironment
{
    PurchaseEnvironment()
    {
        if (!testdata::openPurchaseDatabase(*this))
            qFatal("cannot open the purchase database");
    }
};
