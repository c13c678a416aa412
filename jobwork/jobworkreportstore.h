#pragma once
// The two job-work reports, inward history and despatch details, as plain
// functions: their queries, the texts of their table rows, their totals, the
// balance colour and their CSV files. The windows only bind these to widgets.

#include "core/listfilter.h"
#include "core/listformat.h"
#include "core/storedsum.h"
#include "output/csvexport.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantMap>

// What both reports show of one live inward line.
struct ReportInwardLine
{
    QString inwardNoFull;
    QString inwardDate; // as stored
    QString dcNo;       // the customer's delivery challan
    QString dcDate;     // as stored
    QString poNo;       // the customer's purchase order
    QString itemCode;
    QString itemName;
    double qty = 0.0;   // received
};

// One line of the inward history.
struct InwardHistoryRow
{
    ReportInwardLine line;
    QString customerName;
};

// One inward line with what live delivery challans have sent back of it.
struct DespatchRow
{
    ReportInwardLine line;
    int inwardNo = 0;
    int itemId = 0;
    QString uom;
    QString ourDcs;     // challan numbers joined by ",", ascending
    double despatched = 0.0;

    double received() const { return line.qty; }
    // Exactly: 1.0735 received less 0.3 despatched is 0.7735.
    double balance() const;
};

// Exact however many rows there are; shown with text(3).
struct DespatchTotals
{
    StoredTotal received;
    StoredTotal despatched;
    StoredTotal balance;
};

// Runs the inward history query on the default connection. Cancelled inward
// lines are left out. On failure returns false and sets `error` to the
// driver's text.
bool queryInwardHistory(const ReportFilter &filter, QList<InwardHistoryRow> *rows, QString *error);

// Runs the despatch details query on the default connection: every live
// inward line with the sum of its live challan lines (same inward number,
// item and financial year) and their challan numbers.
bool queryDespatchDetails(const ReportFilter &filter, QList<DespatchRow> *rows, QString *error);

// The statements the two queries run, their values put in `values`; the
// despatch details' sum is written as core/storedsum.h runs it.
QString inwardHistoryStatement(const ReportFilter &filter, QVariantMap *values);
QString despatchDetailsStatement(const ReportFilter &filter, QVariantMap *values);

// The challan numbers of a comma-joined list, distinct and in ascending
// order (by year, then number).
QString sortedChallanList(const QString &joined);

// The date and quantity texts of one fill, each distinct one made once.
struct ReportTexts
{
    RepeatedTexts<QString> dates{storedDateText};
    RepeatedTexts<double> quantities{quantityText};
};

// Display texts of the report's table columns, left to right.
QStringList inwardHistoryCells(const InwardHistoryRow &row, ReportTexts &texts);
QStringList inwardHistoryCells(const InwardHistoryRow &row);
QStringList despatchCells(const DespatchRow &row, ReportTexts &texts);
QStringList despatchCells(const DespatchRow &row);

StoredTotal inwardHistoryTotal(const QList<InwardHistoryRow> &rows);
DespatchTotals despatchTotals(const QList<DespatchRow> &rows);


// The CSV files of the two reports; the total texts are those of the
// windows' total fields.
CsvExportProfile inwardHistoryCsvProfile(const QString &fy, const QString &totalQty);
CsvExportProfile despatchDetailsCsvProfile(const QString &fy, const QString &totalReceived,
                                           const QString &totalDespatched,
                                           const QString &totalBalance);
