#include "core/transaction.h"
#include "pendingstore.h"

#include "core/boundquery.h"
#include "core/financialyear.h"
#include "core/listedrow.h"
#include "core/storedsum.h"

#include <QPair>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <cmath>

namespace {

const char *const LiveInward = "(e.is_deleted IS NULL OR e.is_deleted = 0)";

// Per inward entry (number and year): the live challan lines and the "DC"
// bins, each summed once over its whole table, then joined to the inward lines.
const char *const PendingHead =
    "WITH delivered AS (SELECT inward_no, fy_name, " STORED_SUM("delivery_entries:delivery_qty") " AS qty FROM delivery_entries "
    "WHERE (is_deleted IS NULL OR is_deleted = 0) GROUP BY inward_no, fy_name), "
    "binned AS (SELECT inward_no, fy_name, " STORED_SUM("bins:binned_qty") " AS qty FROM bins WHERE bin_type = 'DC' "
    "GROUP BY inward_no, fy_name) "
    "SELECT e.inward_no, e.inward_no_full, e.inward_date, e.dc_no, e.dc_date, e.po_no, c.customer_name, "
    STORED_SUM("inward_entries:e.inward_qty") " AS total_inward_qty, e.customer_id, IFNULL(dl.qty, 0) AS delivered, "
    "IFNULL(bn.qty, 0) AS binned, e.fy_name "
    "FROM inward_entries e JOIN customers c ON e.customer_id = c.customer_id "
    "LEFT JOIN delivered dl ON dl.inward_no = e.inward_no AND dl.fy_name = e.fy_name "
    "LEFT JOIN binned bn ON bn.inward_no = e.inward_no AND bn.fy_name = e.fy_name "
    "WHERE (e.is_deleted IS NULL OR e.is_deleted = 0) ";

// Keeps the entries having a live line whose item code or name matches.
const char *const ItemCondition =
    "AND (e.inward_no, e.fy_name) IN (SELECT f.inward_no, f.fy_name FROM inward_entries f "
    "JOIN items i ON i.item_id = f.item_id WHERE (f.is_deleted IS NULL OR f.is_deleted = 0) "
    "AND (UPPER(i.item_code) LIKE :filter1 OR UPPER(i.item_name) LIKE :filter2)) ";

// Per item of one inward entry: received, live challan lines and "DC" bins,
// each summed exactly (storedsum.h).
const char *const OpenLinesOfEntry =
    "SELECT e.item_id, " STORED_LIST("e.inward_qty") ", "
    "(SELECT " STORED_LIST("d.delivery_qty") " FROM delivery_entries d WHERE d.inward_no = e.inward_no "
    "AND d.item_id = e.item_id AND d.fy_name = e.fy_name AND (d.is_deleted IS NULL OR d.is_deleted = 0)), "
    "(SELECT " STORED_LIST("b.binned_qty") " FROM bins b WHERE b.inward_no = e.inward_no AND b.item_id = e.item_id "
    "AND b.fy_name = e.fy_name AND b.bin_type = 'DC') "
    "FROM inward_entries e WHERE e.inward_no = :no AND e.fy_name = :fy AND (e.is_deleted IS NULL OR "
    "e.is_deleted = 0) GROUP BY e.item_id ORDER BY MIN(e.inward_id)";

// The figures of one inward entry summed as the list sums them: its live
// lines, the live challan lines of its number and year, and its "DC" bins.
const char *const EntryFigures =
    "SELECT (SELECT " STORED_SUM("inward_entries:e.inward_qty") " FROM inward_entries e WHERE e.inward_no = :no "
    "AND e.fy_name = :fy AND (e.is_deleted IS NULL OR e.is_deleted = 0)), "
    "(SELECT " STORED_SUM("delivery_entries:d.delivery_qty") " FROM delivery_entries d WHERE d.inward_no = :no "
    "AND d.fy_name = :fy AND (d.is_deleted IS NULL OR d.is_deleted = 0)), "
    "(SELECT " STORED_SUM("bins:b.binned_qty") " FROM bins b WHERE b.inward_no = :no AND b.fy_name = :fy "
    "AND b.bin_type = 'DC')";

// Whether the entry's figures are still those the list showed.
bool stillAsListed(const BinTarget &target, bool *same, QString *error)
{
    *same = false;
    return forEachStoredSumRow(
        QString::fromLatin1(EntryFigures), {{":no", target.inwardNo}, {":fy", target.fy}},
        [&](const QSqlQuery &q) {
            *same = storedTotal(q.value(0)).toDouble() == target.received
                    && storedTotal(q.value(1)).toDouble() == target.delivered
                    && storedTotal(q.value(2)).toDouble() == target.binned;
        },
        [&] { *same = false; }, error);
}

const char *const InsertBin =
    "INSERT INTO bins (bin_date, bin_type, inward_no, item_id, customer_id, binned_qty, fy_name) "
    "VALUES (:date, 'DC', :inward, :item, :cid, :qty, :fy)";

} // namespace

bool balanceIsOpen(double balance)
{
    static const Decimal closed(5, 3);
    return Decimal::fromStored(balance) > closed;
}

double PendingRow::closed() const
{
    return (StoredTotal::ofStored(delivered) + StoredTotal::ofStored(binned)).toDouble();
}

double PendingRow::balance() const
{
    return balanceTotal().toDouble();
}

StoredTotal PendingRow::balanceTotal() const
{
    return storedBalance(received, {Decimal::fromStored(delivered), Decimal::fromStored(binned)});
}

QString PendingRow::tooLargeText() const
{
    return entryTooLargeText(inwardNoFull, received, delivered, binned);
}

QString entryTooLargeText(const QString &inwardNoFull, double received, double delivered, double binned)
{
    const std::pair<double, const char *> figures[] = {
        {received, "Inward Qty"}, {delivered, "Delivered Qty"}, {binned, "Binned Qty"}};
    for (const auto &[figure, field] : figures) {
        if (storedValueOutsized(figure))
            return storedFigureTooLargeText(QStringLiteral("Inward No ") + inwardNoFull, QLatin1String(field),
                                            StoredTotal::ofStored(figure).text(3));
    }
    return QString();
}

PendingStatus pendingStatus(double received, double closed)
{
    if (closed <= 0)
        return PendingStatus::Pending;
    // Exactly, however large: a balance above 0.005 is open.
    if (storedBalance(received, {Decimal::fromStored(closed)}) > StoredTotal::fromMicros(5000))
        return PendingStatus::Partial;
    return PendingStatus::Issued;
}

QString statusText(PendingStatus status)
{
    switch (status) {
    case PendingStatus::Pending:
        return QStringLiteral("Pending");
    case PendingStatus::Partial:
        return QStringLiteral("Partial");
    case PendingStatus::Issued:
        break;
    }
    return QStringLiteral("Issued");
}

bool filterKeeps(PendingFilter filter, PendingStatus status)
{
    switch (filter) {
    case PendingFilter::Open:
        return status != PendingStatus::Issued;
    case PendingFilter::Issued:
        return status == PendingStatus::Issued;
    case PendingFilter::All:
        break;
    }
    return true;
}

QString pendingStatement(const PendingQuery &query, QVariantMap *values)
{
    const QString itemText = query.itemText.trimmed();
    QString sql = PendingHead;
    *values = {{QStringLiteral(":fy"), query.currentFy}};
    if (query.customerId > 0) {
        sql += QStringLiteral("AND e.customer_id = :cid ");
        values->insert(QStringLiteral(":cid"), query.customerId);
    }
    if (!itemText.isEmpty()) {
        sql += ItemCondition;
        const QString pattern = QStringLiteral("%") + itemText.toUpper() + QStringLiteral("%");
        values->insert(QStringLiteral(":filter1"), pattern);
        values->insert(QStringLiteral(":filter2"), pattern);
    }
    return sql + QStringLiteral("GROUP BY e.inward_no, e.fy_name ORDER BY ") + fyFirstOrder(QStringLiteral("e"))
           + QStringLiteral(", e.inward_no DESC");
}

bool queryPendingInwards(const PendingQuery &query, QList<PendingRow> *rows, QString *error)
{
    rows->clear();
    QVariantMap values;
    const QString sql = pendingStatement(query, &values);
    const auto readRow = [&](const QSqlQuery &q) {
        PendingRow row;
        row.inwardNo = q.value(0).toInt();
        row.inwardNoFull = q.value(1).toString();
        row.inwardDate = q.value(2).toString();
        row.dcNo = q.value(3).toString();
        row.dcDate = q.value(4).toString();
        row.poNo = q.value(5).toString();
        row.customerName = q.value(6).toString();
        row.received = storedTotal(q.value(7)).toDouble();
        row.customerId = q.value(8).toInt();
        row.delivered = storedTotal(q.value(9)).toDouble();
        row.binned = storedTotal(q.value(10)).toDouble();
        row.fy = q.value(11).toString();
        if (filterKeeps(query.filter, row.status()))
            rows->append(row);
    };
    return forEachStoredSumRow(sql, values, readRow, [&] { rows->clear(); }, error);
}

QList<InwardItemRow> inwardItemRows(int inwardNo, const QString &fy)
{
    QSqlQuery q;
    q.prepare(QStringLiteral("SELECT i.item_code, i.item_name, e.inward_qty, i.uom, e.remarks "
                             "FROM inward_entries e LEFT JOIN items i ON e.item_id = i.item_id "
                             "WHERE e.inward_no = :no AND e.fy_name = :fy AND ")
              + LiveInward + QStringLiteral(" ORDER BY i.item_code ASC"));
    q.bindValue(":no", inwardNo);
    q.bindValue(":fy", fy);
    QList<InwardItemRow> lines;
    if (!q.exec())
        return lines;
    while (q.next())
        lines.append({q.value(0).toString(), q.value(1).toString(), q.value(2).toDouble(), q.value(3).toString(),
                      q.value(4).toString()});
    return lines;
}

BinOutcome binPendingBalances(const QList<BinTarget> &targets, const QDate &date)
{
    BinOutcome outcome;
    const QString binDate = date.toString(QStringLiteral("yyyy-MM-dd"));
    int written = 0;
    outcome.ok = runInTransaction(
        [&](QString *error) {
            QSqlQuery lines;
            lines.prepare(OpenLinesOfEntry);
            QSqlQuery insert;
            insert.prepare(InsertBin);
            for (const BinTarget &target : targets) {
                lines.bindValue(":no", target.inwardNo);
                lines.bindValue(":fy", target.fy);
                if (!lines.exec()) {
                    *error = lines.lastError().text();
                    return false;
                }
                // Read the entry's lines whole before writing its bins.
                QList<QPair<int, double>> open;
                Decimal received, closed;
                bool live = false;
                while (lines.next()) {
                    live = true;
                    const Decimal inward = fromStoredList(lines.value(1));
                    const Decimal taken = fromStoredList(lines.value(2)) + fromStoredList(lines.value(3));
                    received = received + inward;
                    closed = closed + taken;
                    const double balance = (inward - taken).toDouble();
                    if (balanceIsOpen(balance))
                        open.append({lines.value(0).toInt(), balance});
                }
                // Still as listed: live, not issued since, and its figures
                // those the list showed.
                bool same = false;
                if (live && !stillAsListed(target, &same, error))
                    return false;
                // Figures as listed but stored beyond what its lines can be
                // read as exactly.
                if (live && same) {
                    outcome.tooLarge = entryTooLargeText(fullDocumentNumber(target.inwardNo, target.fy),
                                                         target.received, target.delivered, target.binned);
                    if (!outcome.tooLarge.isEmpty())
                        return false;
                }
                if (!live || !same
                    || pendingStatus(received.toDouble(), closed.toDouble()) == PendingStatus::Issued) {
                    outcome.notPending = fullDocumentNumber(target.inwardNo, target.fy);
                    return false;
                }
                for (const auto &[itemId, qty] : open) {
                    insert.bindValue(":date", binDate);
                    insert.bindValue(":inward", target.inwardNo);
                    insert.bindValue(":item", itemId);
                    insert.bindValue(":cid", target.customerId);
                    insert.bindValue(":qty", qty);
                    insert.bindValue(":fy", target.fy);
                    if (!insert.exec()) {
                        *error = insert.lastError().text();
                        return false;
                    }
                    ++written;
                }
            }
            lines.finish();
            return true;
        },
        &outcome.error);
    if (outcome.ok)
        outcome.written = written;
    return outcome;
}

BinTarget binTargetOf(const PendingRow &listed)
{
    return {listed.inwardNo, listed.fy, listed.customerId, listed.received, listed.delivered, listed.binned};
}

QString notPendingText(const QString &fullNumber)
{
    return rowChangedText(QStringLiteral("Inward No ") + fullNumber,
                          QStringLiteral("issued, binned, cancelled or changed"), QStringLiteral("Nothing was binned."));
}

QString nothingLeftText(const QStringList &fullNumbers)
{
    return QStringLiteral("Nothing is left to deliver on Inward No %1: issued, binned or cancelled meanwhile, perhaps "
                          "in another window. No challan form was opened.\n\nPress Show to list the entries as they "
                          "are now, then tick the ones still pending.")
        .arg(fullNumbers.join(QStringLiteral(", ")));
}

QString otherYearRefusalText(const QString &inwardNoFull, const QString &fy, const QString &currentFy)
{
    return QStringLiteral("Inward No %1 belongs to the financial year %2.\n"
                          "Delivery challans are made in the current financial year %3 only.\n\n"
                          "Untick it, or close its balance with Bin.")
        .arg(inwardNoFull, fy, currentFy);
}
