#pragma once
// The heavy two-year file the invoicing windows are held to, written by
// fillData, and one long challan for the invoice form to load.

#include "heavyyear.h"

// Two years, 25-26 and 26-27, of 10,000 inward entries each, 7,500
// challans and 5,000 invoices each: 15,000 challans and 10,000 invoices.
DataSize heavyInvoicingYears();

// Writes challan `deliveryNo` of year `fy` with `lines` lines for customer 1
// (its items in turn, one inward entry of the year) and returns the lines
// written. Expects the data of fillData.
int addLongChallan(const DataSize &size, int deliveryNo, const QString &fy, int lines);
