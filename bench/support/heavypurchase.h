#pragma once
// Purchase bills for the benchmark programs: a year of supplier bills (cash
// and credit, most credit bills of the older months paid) spread over the
// twelve months before today, with the same rows for the same size (fixed seed).

struct PurchaseDataSize
{
    int suppliers = 250;
    int billsPerYear = 20000;
    int paidPercent = 60; // of the credit bills older than two months
};

// Creates the purchase tables on the default connection and writes the bills
// (and one payment record for each paid bill, dated a month after it) in one
// transaction, every value bound; returns the number of bills written.
// Stops the program on a failed statement.
int fillPurchaseData(const PurchaseDataSize &size = {});

// The name of supplier `index` (from 1).
#include <QString>
QString benchSupplierName(int index);
