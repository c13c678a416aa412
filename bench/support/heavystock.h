#pragma once
// Heavy stock data for the inventory benchmarks (stock register, movement
// history, monthly stock report, dashboard): stock items in the five
// categories with their suppliers, an "Opening Stock" movement per item and
// additions and reductions spread over the days of a period, written the way
// the stock register writes them, so every item's totals agree with its log
// (balance = opening + additions - reductions, never below 0). Optionally
// material request lines. The same size always gives the same rows (fixed
// seed).
//
// Usage, on an open default connection with no inventory rows yet:
//     const FilledStock filled = fillStock();          // 5,000 items, 200,000 movements
//     printf("%s\n", qPrintable(filled.summary()));
// Item i (1-based) has item_id i, name stockItemName(i), category
// stockItemCategory(i) and supplier stockSupplierName(stockItemSupplier(size, i)).

#include <QString>

struct StockSize
{
    int items = 5000;
    int suppliers = 60;
    int movements = 200000;       // all rows of inventory_transactions, the openings included
    QString firstDay = "2026-04-01"; // movements are dated from this day on, in order of entry
    int days = 365;
    int requestLines = 0;          // purchase_orders rows, in requests of one to five lines
    int minimumShare = 4;          // one in so many items has a minimum stock set
};

// 5,000 items from 60 suppliers, 200,000 movements over the year from 1 April
// 2026, no material requests.
StockSize heavyStock();

struct FilledStock
{
    int items = 0;
    int movements = 0;    // rows written, the openings included
    int additions = 0;
    int reductions = 0;
    int lowItems = 0;     // items whose balance ended at or below a set minimum
    int requestLines = 0;
    double ms = 0;

    // "5,000 items, 200,000 movements (…), written in … ms".
    QString summary() const;
};

// Creates the inventory tables and writes the data in one transaction, every
// value bound. Stops the program on a failed statement.
FilledStock fillStock(const StockSize &size = heavyStock());

// Names the generator gives (1-based numbers).
QString stockItemName(int item);        // "ITEM 00042 ..." with a part word
QString stockItemCategory(int item);    // one of the five categories, in turn
int stockItemSupplier(const StockSize &size, int item);
QString stockSupplierName(int supplier); // upper case, some holding an apostrophe
