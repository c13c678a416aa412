#include "jobworkreportstore.h"

#include "core/boundquery.h"
#include "core/financialyear.h"
#include "core/listfilter.h"
#include "core/storedsum.h"
#include "jobwork/pendingstore.h"

#include <QHash>

#include <algorithm>
#include <array>

namespace {

// The inward line's columns come first in both reports' statements.
const int InwardLineColumnCount = 8;

// The text columns are given as their UTF-8 bytes and decoded as they are
// read (StatementRow::text reads a text and a blob alike). All the columns
// are TEXT, so the bytes are the stored text (NULL stays NULL and shows as
// empty).
QString utf8(const QString &column)
{
    return QStringLiteral("CAST(") + column + QStringLiteral(" AS BLOB)");
}

// A report statement: the inward line's columns, the report's own columns,
// joins and grouping, live inward lines of the period and the filter, the
// current year first. A cancelled inward entry delivers nothing and is left
// out of both reports.
QString reportStatement(const QString &extraColumns, const QString &extraJoin, const QString &grouping,
                        const ReportFilter &filter, QVariantMap *values)
{
    QStringList columns;
    for (const char *column : {"e.inward_no_full", "e.inward_date", "e.dc_no", "e.dc_date", "e.po_no",
                               "i.item_code", "i.item_name"})
        columns << utf8(QLatin1String(column));
    *values = {{QStringLiteral(":fy"), filter.fy}};
    QString sql = QStringLiteral("SELECT ") + columns.join(QStringLiteral(", ")) + QStringLiteral(", e.inward_qty")
                  + extraColumns
                  + QStringLiteral(" FROM inward_entries e "
                                   "JOIN customers c ON e.customer_id = c.customer_id "
                                   "JOIN items i ON e.item_id = i.item_id ")
                  + extraJoin + QStringLiteral("WHERE (e.is_deleted IS NULL OR e.is_deleted = 0) ")
                  + customerPeriodConditions({filter.customerId, filter.from, filter.to}, QStringLiteral("e"),
                                             QStringLiteral("inward_date"), values);
    const QString search = filter.search.trimmed();
    if (!search.isEmpty()) {
        sql += QStringLiteral("AND (UPPER(i.item_code) LIKE :search OR UPPER(i.item_name) LIKE :search) ");
        values->insert(QStringLiteral(":search"), QStringLiteral("%") + search.toUpper() + QStringLiteral("%"));
    }
    return sql + grouping + QStringLiteral("ORDER BY ") + fyFirstOrder(QStringLiteral("e"))
           + QStringLiteral(", e.inward_no DESC, i.item_code ASC");
}

// The inward entry's columns, repeated on each line of an entry: decoded
// once for its lines.
using EntryTexts = std::array<RepeatedText, 5>;

// The inward entry's columns of a report row; the item's are read apart.
ReportInwardLine readReportInwardLine(const StatementRow &q, EntryTexts &entry)
{
    ReportInwardLine line;
    line.inwardNoFull = q.text(0, entry[0]);
    line.inwardDate = q.text(1, entry[1]);
    line.dcNo = q.text(2, entry[2]);
    line.dcDate = q.text(3, entry[3]);
    line.poNo = q.text(4, entry[4]);
    line.qty = q.real(7);
    return line;
}

// The texts of each item of a list, read from its first row and shared by
// the item's every row (a few thousand items under tens of thousands of
// lines: the texts are decoded once, and each row's copy costs nothing).
struct ItemTexts
{
    QString code;
    QString name;
    QString uom;
};

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

QString inwardHistoryStatement(const ReportFilter &filter, QVariantMap *values)
{
    return reportStatement(QStringLiteral(", ") + utf8(QStringLiteral("c.customer_name")), QString(), QString(),
                           filter, values);
}

QString despatchDetailsStatement(const ReportFilter &filter, QVariantMap *values)
{
    // Each inward line joins its live challan lines (same inward number,
    // item and year: found through the challans' index on year and inward
    // number) and is one group. Only the lines of the period are summed,
    // whatever else the file holds; the challan numbers come as stored, one
    // per challan line, and sortedChallanList makes them distinct.
    const QString columns = QStringLiteral(", e.inward_no, e.item_id, ") + utf8(QStringLiteral("i.uom"))
                            + QStringLiteral(", " STORED_SUM("delivery_entries:d.delivery_qty") " AS despatched, ")
                            + utf8(QStringLiteral("GROUP_CONCAT(d.delivery_no_full)")) + QStringLiteral(" AS our_dcs");
    const QString join = QStringLiteral(
        "LEFT JOIN delivery_entries d ON d.fy_name = e.fy_name AND d.inward_no = e.inward_no "
        "AND d.item_id = e.item_id AND (d.is_deleted IS NULL OR d.is_deleted = 0) ");
    return reportStatement(columns, join, QStringLiteral("GROUP BY e.inward_id "), filter, values);
}

bool queryInwardHistory(const ReportFilter &filter, QList<InwardHistoryRow> *rows, QString *error)
{
    rows->clear();
    EntryTexts entry;
    RepeatedText customer;
    const auto readRow = [&](const StatementRow &q) {
        InwardHistoryRow row{readReportInwardLine(q, entry), q.text(InwardLineColumnCount, customer)};
        row.line.itemCode = q.text(5);
        row.line.itemName = q.text(6);
        rows->append(std::move(row));
    };
    QVariantMap values;
    const QString sql = inwardHistoryStatement(filter, &values);
    if (forEachRow(sql, values, readRow, error))
        return true;
    rows->clear();
    return false;
}

bool queryDespatchDetails(const ReportFilter &filter, QList<DespatchRow> *rows, QString *error)
{
    rows->clear();
    const int first = InwardLineColumnCount;
    QHash<int, ItemTexts> items;
    EntryTexts entry;
    const auto readRow = [&](const StatementRow &q) {
        DespatchRow row;
        row.line = readReportInwardLine(q, entry);
        row.inwardNo = q.integer(first);
        row.itemId = q.integer(first + 1);
        auto item = items.constFind(row.itemId);
        if (item == items.cend())
            item = items.insert(row.itemId, ItemTexts{q.text(5), q.text(6), q.text(first + 2)});
        row.line.itemCode = item->code;
        row.line.itemName = item->name;
        row.uom = item->uom;
        row.despatched = storedTotal(q.value(first + 3)).toDouble();
        row.ourDcs = sortedChallanList(q.text(first + 4));
        rows->append(std::move(row));
    };
    QVariantMap values;
    const QString sql = despatchDetailsStatement(filter, &values);
    return forEachStoredSumRow(sql, values, readRow,
                               [&] {
                                   rows->clear();
                                   items.clear();
                               },
                               error);
}

namespace {

// Whether the numbers of a comma-joined list are distinct and in ascending
// order already (as the grouped query mostly gives them): then the list is
// shown as it came, with nothing split or made.
bool challansAscending(QStringView joined)
{
    QStringView previousFy;
    int previousNumber = 0;
    bool first = true;
    for (QStringView part : joined.tokenize(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const qsizetype slash = part.indexOf(QLatin1Char('/'));
        const QStringView fy = slash >= 0 ? part.mid(slash + 1) : QStringView();
        bool ok = false;
        const int number = (slash >= 0 ? part.left(slash) : part).toInt(&ok);
        if (!ok)
            return false;
        if (!first) {
            const int order = fy.compare(previousFy);
            if (order < 0 || (order == 0 && number <= previousNumber))
                return false;
        }
        first = false;
        previousFy = fy;
        previousNumber = number;
    }
    return true;
}

} // namespace

QString sortedChallanList(const QString &joined)
{
    if (!joined.contains(QLatin1Char(',')))
        return joined;
    if (!joined.startsWith(QLatin1Char(',')) && !joined.endsWith(QLatin1Char(','))
        && !joined.contains(QLatin1String(",,")) && challansAscending(joined))
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

StoredTotal inwardHistoryTotal(const QList<InwardHistoryRow> &rows)
{
    StoredTotal total; // exact however many rows there are
    for (const InwardHistoryRow &row : rows)
        total += Decimal::fromStored(row.line.qty);
    return total;
}

double DespatchRow::balance() const
{
    // Exactly, a quantity stored beyond what Decimal holds too.
    return storedBalance(line.qty, {Decimal::fromStored(despatched)}).toDouble();
}

DespatchTotals despatchTotals(const QList<DespatchRow> &rows)
{
    // Summed exactly, as the rows' own figures are, however many there are.
    StoredTotal received;
    StoredTotal despatched;
    for (const DespatchRow &row : rows) {
        received += Decimal::fromStored(row.received());
        despatched += Decimal::fromStored(row.despatched);
    }
    DespatchTotals totals;
    totals.received = received;
    totals.despatched = despatched;
    totals.balance = received - despatched;
    return totals;
}

CsvExportProfile inwardHistoryCsvProfile(const QString &fy, const QString &totalQty)
{
    CsvExportProfile profile;
    profile.caption = QStringLiteral("Export Inward History");
    profile.defaultName = QStringLiteral("Inward_History_") + fy + QStringLiteral(".csv");
    profile.header = csvJoined({QStringLiteral("Inward No"), QStringLiteral("Inward Date"), QStringLiteral("DC No"),
                                QStringLiteral("DC Date"), QStringLiteral("PO No"), QStringLiteral("Customer Name"),
                                QStringLiteral("Item Code"), QStringLiteral("Item Name"), QStringLiteral("Qty")});
    // "Total" under "Item Name", the total under "Qty".
    QStringList total(7);
    total << QStringLiteral("Total") << totalQty;
    profile.totalLines = {csvJoined(total)};
    profile.figureColumns = {{8, QStringLiteral("Qty")}};
    profile.rowName = [](const QStringList &row) { return QStringLiteral("Inward No ") + row.value(0); };
    // A file that cannot be written is reported with its reason, as by every
    // other export; the file that was there stays as it was.
    profile.failureMessage = CsvMessages::couldNotSaveFile();
    return profile;
}

CsvExportProfile despatchDetailsCsvProfile(const QString &fy, const QString &totalReceived,
                                           const QString &totalDespatched, const QString &totalBalance)
{
    CsvExportProfile profile;
    profile.caption = QStringLiteral("Export Despatch Details");
    profile.defaultName = QStringLiteral("Despatch_Details_") + fy + QStringLiteral(".csv");
    profile.header = csvJoined({QStringLiteral("Inward No"), QStringLiteral("Inward Date"), QStringLiteral("DC No"),
                                QStringLiteral("DC Date"), QStringLiteral("PO No"), QStringLiteral("Item Code"),
                                QStringLiteral("Item Name"), QStringLiteral("UOM"), QStringLiteral("Our DCs"),
                                QStringLiteral("Received Qty"), QStringLiteral("Despatched Qty"),
                                QStringLiteral("Balance Qty")});
    // "Total" under "Our DCs", the totals under the three quantities.
    QStringList total(8);
    total << QStringLiteral("Total") << totalReceived << totalDespatched << totalBalance;
    profile.totalLines = {csvJoined(total)};
    profile.figureColumns = {{9, QStringLiteral("Received Qty")}, {10, QStringLiteral("Despatched Qty")},
                             {11, QStringLiteral("Balance Qty")}};
    profile.rowName = [](const QStringList &row) { return QStringLiteral("Inward No ") + row.value(0); };
    profile.failureMessage = CsvMessages::couldNotSaveFile();
    return profile;
}
