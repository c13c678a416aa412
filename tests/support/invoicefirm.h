#pragma once
// A small firm to bill: a local and an IGST customer, two items at different
// tax rates and a challan of each customer, for the invoicing tests.

#include <QString>

class TestEnvironment;

namespace testdata {

struct InvoiceFirm
{
    int local = 0;      // "Acme Local", a local customer
    int interstate = 0; // "Beta Interstate", an "IGST Customer"
    int rate18 = 0;     // item "A-18", rate 100, tax 18 %
    int rate5 = 0;      // item "B-5", rate 50, tax 5 %
};

// Writes the customers and items, inward entries 1/26-27 of Acme (PO
// "PO-77") and 2/26-27 of Beta (PO "PO-88") and challans 1/26-27 of Acme
// (10 of A-18 and 10 of B-5: 1000.00 at 18 % and 500.00 at 5 %) and
// 2/26-27 of Beta (10 of A-18).
InvoiceFirm addInvoiceFirm();

// Opens the environment's database with the core and sales tables, makes
// 26-27 the current year and writes the firm into `firm`.
bool openInvoiceFirm(TestEnvironment &env, InvoiceFirm *firm);

} // namespace testdata
