#pragma once
// Purchase bills written straight into purchase_bills (every value bound) for
// the purchase tests to start from.

#include "purchase/supplierpaymentstore.h"

#include <QString>
#include <QVariant>

class TestEnvironment;

namespace testdata {

// Opens the environment's database with the core tables and the purchase
// tables (payment_status and payment_records included).
bool openPurchaseDatabase(TestEnvironment &env);

struct Bill
{
    QString billNo = "B1";
    QString date = "2026-04-01"; // stored as given
    QString company = "ACME";
    QString type = "Credit";
    double total = 1000;
    QVariant status = "Unpaid"; // payment_status; a null QVariant stores NULL
    QString description = "Item";
    QString quantity = "1";
    double base = 0; // 0: the total
};

// Returns the bill_id.
int addBill(const Bill &bill);

// Bill `billId` as the payment list reads it now: its number and its stored
// row with its payments.
UnpaidBill listedBill(int billId);

// A date `days` from today as "yyyy-MM-dd".
QString isoDaysFromToday(int days);

} // namespace testdata
