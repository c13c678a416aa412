#pragma once
// The monthly stock report: per stock item, the quantities added and removed
// on each day of one month. Plain functions on the default connection; the
// report form binds them to its grid.
//
// An item is listed once for each distinct (item, name, category, supplier)
// its movements of the month carry under the filters; each such row shows all
// of the item's movements of the month of the kinds asked for.

#include "core/storedsum.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>

// Which movements a report shows.
enum class StockMovementKinds { Additions, Reductions, All };

// The movement types of the kinds: additions are "Addition" and "Opening Stock".
QStringList movementTypes(StockMovementKinds kinds);

struct StockReportFilter
{
    int month = 1;  // 1..12
    int year = 2000;
    QString category; // "" for all
    // None for all; "" for the items stored without a supplier.
    std::optional<QString> supplier;
    QString search;   // part of the item name, any case; "%" and "_" match as in LIKE
    StockMovementKinds kinds = StockMovementKinds::All;
};

// One row of the report.
struct StockReportRow
{
    int itemId = 0;
    QString itemName;
    QString category;
    QString supplier;
    // Summed quantity per day of the month, exactly. A day is present once a
    // movement of that kind was read for it, even when the sum is 0.
    QMap<int, StoredTotal> additions;
    QMap<int, StoredTotal> reductions;
    StoredTotal totalAdditions;
    StoredTotal totalReductions;

    // The additions, the reductions or, for All, both together.
    StoredTotal lineTotal(StockMovementKinds kinds) const;
};

// The report's rows, by category and then item name. False with `error`
// ("itemQ failed: " or "tq failed: " and the driver's text) when a statement failed.
bool queryStockReport(const StockReportFilter &filter, QList<StockReportRow> *rows, QString *error);

// The text, colour and tooltip of one day cell; kind None when the day has no cell.
struct StockDayCell
{
    enum Kind { None, Addition, Reduction, Both } kind = None;
    QString text;
    QString toolTip;
};
StockDayCell stockDayCell(const StockReportRow &row, int day, StockMovementKinds kinds);

// The export's header line for a month of `days` days.
QString stockReportCsvHeader(int days);
