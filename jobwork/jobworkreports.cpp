#include "jobworkreports.h"

#include "app/financialyear.h"
#include "app/tablefill.h"
#include "app/formconventions.h"
#include "app/formstyle.h"

#include <QComboBox>
#include <QDate>
#include <QDateEdit>
#include <QHeaderView>
#include <QLineEdit>
#include <QSqlError>
#include <QSqlQuery>
#include <QTableWidget>

#include <algorithm>

namespace {

// The filter clauses and the order both reports put after their base text.
QString filterAndOrder(const ReportFilter &filter)
{
    QString sql;
    if (filter.customerId > 0)
        sql += QStringLiteral("AND e.customer_id = :cid ");
    if (!filter.search.trimmed().isEmpty())
        sql += QStringLiteral("AND (UPPER(i.item_code) LIKE :search OR UPPER(i.item_name) LIKE :search) ");
    sql += QStringLiteral("ORDER BY ") + fyFirstOrder(QStringLiteral("e"))
           + QStringLiteral(", e.inward_no DESC, i.item_code ASC");
    return sql;
}

// The inward line's columns come first in both reports' statements.
const int InwardLineColumnCount = 8;

// A report statement: the inward line's columns, the report's own columns
// and joins, live inward lines of the period and the filter. A cancelled
// inward entry delivers nothing and is left out of both reports.
QString reportStatement(const QString &extraColumns, const QString &extraJoin, const ReportFilter &filter)
{
    return QStringLiteral("SELECT e.inward_no_full, e.inward_date, e.dc_no, e.dc_date, e.po_no, "
                          "i.item_code, i.item_name, e.inward_qty")
           + extraColumns
           + QStringLiteral(" FROM inward_entries e "
                            "JOIN customers c ON e.customer_id = c.customer_id "
                            "JOIN items i ON e.item_id = i.item_id ")
           + extraJoin
           + QStringLiteral("WHERE (e.is_deleted IS NULL OR e.is_deleted = 0) "
                            "AND e.inward_date >= :from AND e.inward_date <= :to ")
           + filterAndOrder(filter);
}

ReportInwardLine readReportInwardLine(const QSqlQuery &q)
{
    ReportInwardLine line;
    line.inwardNoFull = q.value(0).toString();
    line.inwardDate = q.value(1).toString();
    line.dcNo = q.value(2).toString();
    line.dcDate = q.value(3).toString();
    line.poNo = q.value(4).toString();
    line.itemCode = q.value(5).toString();
    line.itemName = q.value(6).toString();
    line.qty = q.value(7).toDouble();
    return line;
}

bool runReportQuery(QSqlQuery &q, const QString &sql, const ReportFilter &filter, QString *error)
{
    q.setForwardOnly(true);
    if (!q.prepare(sql)) {
        if (error)
            *error = q.lastError().text();
        return false;
    }
    const QVariantMap values = reportValues(filter);
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        q.bindValue(it.key(), it.value());
    if (!q.exec()) {
        if (error)
            *error = q.lastError().text();
        return false;
    }
    return true;
}

// Sort key of a full document number "n/yy-yy": the year, then the number.
struct ChallanKey
{
    QString fy;
    int number;
    QString text;
    bool operator<(const ChallanKey &other) const
    {
        if (fy != other.fy)
            return fy < other.fy;
        if (number != other.number)
            return number < other.number;
        return text < other.text;
    }
};

} // namespace

QVariantMap reportValues(const ReportFilter &filter)
{
    QVariantMap values{{QStringLiteral(":fy"), filter.fy},
                       {QStringLiteral(":from"), filter.from},
                       {QStringLiteral(":to"), filter.to}};
    if (filter.customerId > 0)
        values.insert(QStringLiteral(":cid"), filter.customerId);
    const QString search = filter.search.trimmed();
    if (!search.isEmpty())
        values.insert(QStringLiteral(":search"), QStringLiteral("%") + search.toUpper() + QStringLiteral("%"));
    return values;
}

QString inwardHistoryStatement(const ReportFilter &filter)
{
    return reportStatement(QStringLiteral(", c.customer_name"), QString(), filter);
}

QString despatchDetailsStatement(const ReportFilter &filter)
{
    // The live challan lines are summed once per inward number, item and
    // year, and each inward line joins its group.
    const QString columns = QStringLiteral(", e.inward_no, e.item_id, i.uom, "
                                           "IFNULL(d.despatched, 0) AS despatched, IFNULL(d.our_dcs, '') AS our_dcs");
    const QString join = QStringLiteral(
        "LEFT JOIN (SELECT inward_no, item_id, fy_name, SUM(delivery_qty) AS despatched, "
        "GROUP_CONCAT(DISTINCT delivery_no_full) AS our_dcs "
        "FROM delivery_entries WHERE (is_deleted IS NULL OR is_deleted = 0) "
        "GROUP BY inward_no, item_id, fy_name) d "
        "ON d.inward_no = e.inward_no AND d.item_id = e.item_id AND d.fy_name = e.fy_name ");
    return reportStatement(columns, join, filter);
}

bool queryInwardHistory(const ReportFilter &filter, QList<InwardHistoryRow> *rows, QString *error)
{
    rows->clear();
    QSqlQuery q;
    if (!runReportQuery(q, inwardHistoryStatement(filter), filter, error))
        return false;
    while (q.next())
        rows->append({readReportInwardLine(q), q.value(InwardLineColumnCount).toString()});
    return true;
}

bool queryDespatchDetails(const ReportFilter &filter, QList<DespatchRow> *rows, QString *error)
{
    rows->clear();
    QSqlQuery q;
    if (!runReportQuery(q, despatchDetailsStatement(filter), filter, error))
        return false;
    const int first = InwardLineColumnCount;
    while (q.next()) {
        DespatchRow row;
        row.line = readReportInwardLine(q);
        row.inwardNo = q.value(first).toInt();
        row.itemId = q.value(first + 1).toInt();
        row.uom = q.value(first + 2).toString();
        row.despatched = q.value(first + 3).toDouble();
        row.ourDcs = sortedChallanList(q.value(first + 4).toString());
        rows->append(row);
    }
    return true;
}

QString sortedChallanList(const QString &joined)
{
    if (!joined.contains(QLatin1Char(',')))
        return joined;
    QList<ChallanKey> keys;
    for (const QString &part : joined.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const int slash = part.indexOf(QLatin1Char('/'));
        ChallanKey key{slash >= 0 ? part.mid(slash + 1) : QString(),
                       (slash >= 0 ? part.left(slash) : part).toInt(), part};
        if (std::none_of(keys.cbegin(), keys.cend(), [&](const ChallanKey &k) { return k.text == part; }))
            keys.append(key);
    }
    std::sort(keys.begin(), keys.end());
    QStringList texts;
    for (const ChallanKey &key : keys)
        texts << key.text;
    return texts.join(QLatin1Char(','));
}

QStringList inwardHistoryCells(const InwardHistoryRow &row, ReportTexts &texts)
{
    const ReportInwardLine &l = row.line;
    return {l.inwardNoFull, texts.dates(l.inwardDate), l.dcNo, texts.dates(l.dcDate), l.poNo,
            row.customerName, l.itemCode, l.itemName, texts.quantities(l.qty)};
}

QStringList inwardHistoryCells(const InwardHistoryRow &row)
{
    ReportTexts texts;
    return inwardHistoryCells(row, texts);
}

QStringList despatchCells(const DespatchRow &row, ReportTexts &texts)
{
    const ReportInwardLine &l = row.line;
    return {l.inwardNoFull, texts.dates(l.inwardDate), l.dcNo, texts.dates(l.dcDate), l.poNo,
            l.itemCode, l.itemName, row.uom, row.ourDcs, texts.quantities(row.received()),
            texts.quantities(row.despatched), texts.quantities(row.balance())};
}

QStringList despatchCells(const DespatchRow &row)
{
    ReportTexts texts;
    return despatchCells(row, texts);
}

double inwardHistoryTotal(const QList<InwardHistoryRow> &rows)
{
    double total = 0.0;
    for (const InwardHistoryRow &row : rows)
        total += row.line.qty;
    return total;
}

DespatchTotals despatchTotals(const QList<DespatchRow> &rows)
{
    DespatchTotals totals;
    for (const DespatchRow &row : rows) {
        totals.received += row.received();
        totals.despatched += row.despatched;
        totals.balance += row.balance();
    }
    return totals;
}

QColor balanceColor(double balance)
{
    return balance > 0.005 ? StatusColor::Partial : StatusColor::Done;
}

CsvExportProfile inwardHistoryCsvProfile(const QString &fy, const QString &totalQty)
{
    CsvExportProfile profile;
    profile.caption = QStringLiteral("Export Inward History");
    profile.defaultName = QStringLiteral("Inward_History_") + fy + QStringLiteral(".csv");
    profile.header = QStringLiteral("Inward No,Inward Date,DC No,DC Date,PO No,Customer Name,Item Code,Item Name,Qty");
    profile.totalLines = {QStringLiteral(",,,,,,,Total,") + totalQty};
    // A file that cannot be written ends the export without a message.
    profile.failureMessage.reset();
    return profile;
}

CsvExportProfile despatchDetailsCsvProfile(const QString &fy, const QString &totalReceived,
                                           const QString &totalDespatched, const QString &totalBalance)
{
    CsvExportProfile profile;
    profile.caption = QStringLiteral("Export Despatch Details");
    profile.defaultName = QStringLiteral("Despatch_Details_") + fy + QStringLiteral(".csv");
    profile.header = QStringLiteral("Inward No,Inward Date,DC No,DC Date,PO No,Item Code,Item Name,UOM,"
                                    "Our DCs,Received Qty,Despatched Qty,Balance Qty");
    profile.totalLines = {QStringLiteral(",,,,,,,,Total,") + totalReceived + QLatin1Char(',')
                          + totalDespatched + QLatin1Char(',') + totalBalance};
    profile.failureMessage = CsvMessages::couldNotSaveFile();
    return profile;
}

void setupReportTable(QTableWidget *table, int stretchedColumn)
{
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setAlternatingRowColors(true);
    table->verticalHeader()->setVisible(false);
    QHeaderView *header = table->horizontalHeader();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    header->setSectionResizeMode(stretchedColumn, QHeaderView::Stretch);
}

void fillReportTable(QTableWidget *table, const QList<QStringList> &cells, const QList<int> &quantityColumns)
{
    fillTableTexts(table, cells, quantityColumns);
}

void setupReportFilters(QDateEdit *from, QDateEdit *to)
{
    from->setCalendarPopup(true);
    to->setCalendarPopup(true);
    from->setDate(defaultPeriodStart());
    to->setDate(QDate::currentDate());
}

ReportFilter readReportFilter(const QComboBox *customer, const QDateEdit *from, const QDateEdit *to,
                              const QLineEdit *search)
{
    ReportFilter filter;
    filter.customerId = chosenCustomerId(customer);
    filter.from = from->date().toString(QStringLiteral("yyyy-MM-dd"));
    filter.to = to->date().toString(QStringLiteral("yyyy-MM-dd"));
    filter.search = search->text().trimmed();
    filter.fy = g_currentFY;
    return filter;
}

void resetReportFilters(QComboBox *customer, QDateEdit *from, QDateEdit *to, QLineEdit *search)
{
    customer->setCurrentIndex(0);
    setupReportFilters(from, to);
    search->clear();
}
