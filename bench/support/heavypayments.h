#pragma once
// Customer payments on top of the heavy years of heavyyear.h, for the
// receivables benchmarks: two years of invoices, and payments that settle
// most of them in one to three instalments, some payments covering two or
// three invoices of one customer, some with TDS, a quarter of the invoices
// left partly or wholly unpaid. Same size, same rows (fixed seed).

#include "heavyyear.h"

// Two heavy years ("25-26" and "26-27") with 5,000 invoices in each.
DataSize heavyReceivablesYears();

struct FilledPayments
{
    int rows = 0;     // invoice_payments rows
    int payments = 0; // distinct references
    int settledInvoices = 0;
    double ms = 0;

    QString summary() const;
};

// Writes up to `rows` invoice_payments rows against the invoices already in
// the database, in one transaction, every value bound. Stops the program on
// a failed statement.
FilledPayments fillPayments(int rows = 20000);
