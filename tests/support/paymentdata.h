#pragma once
// Customer payments written straight into invoice_payments for the tests of
// the receivables windows, and dates relative to today.

#include <QString>

class TestEnvironment;

namespace testdata {

// One invoice_payments row; every member has a default, so a brace list may
// stop after any field.
struct PaymentRow
{
    QString ref = QString();
    QString date = "2026-08-01";
    int customerId = 1;
    int invoiceNo = 0;
    QString fy = "26-27";
    double paid = 0;
    double tds = 0;
    QString mode = "NEFT";
    QString remarks = QString();
};

// Opens the environment's database with the core and sales tables, makes
// 26-27 the current year and adds customers 1 "ACME" and 2 "BOLT & SONS <PVT>".
bool openWithAcmeAndBolt(TestEnvironment &env);

// Returns the pay_id.
int addPaymentRow(const PaymentRow &row);

// Today less `days`, as "yyyy-MM-dd".
QString daysAgo(int days);

} // namespace testdata
