#pragma once
// The tables of the sales chain: customers, items, inward entries, delivery
// challan lines, invoices, invoice lines, invoice payments and bins.

// Creates the sales tables on the default connection and brings a database of
// an older version up to date by adding the missing columns (no row is lost).
// Also removes invoice lines whose invoice no longer exists. Safe to run at
// every start; a statement that fails (an existing column) is passed over.
void createSalesTables();
