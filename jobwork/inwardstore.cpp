#include "core/transaction.h"
#include "inwardstore.h"

#include "core/boundquery.h"
#include "core/financialyear.h"
#include "core/listfilter.h"
#include "core/listedrow.h"
#include "core/money.h"
#include "core/storedsum.h"

#include <QDate>
#include <QHash>
#include <QMap>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <algorithm>
#include <cmath>

namespace {

// Quantities carry three decimals; anything closer than this is the same qty.
constexpr double QtyTolerance = 0.0005;

const char *const InsertNewLine =
    "INSERT INTO inward_entries (inward_no, inward_no_full, inward_date, customer_id, item_id, dc_no, dc_date, "
    "po_no, po_date, inward_qty, remarks, fy_name, is_deleted) VALUES (:inward_no, :inward_no_full, "
    ":inward_date, :customer_id, :item_id, :dc_no, :dc_date, :po_no, :po_date, :qty, :remarks, :fy, 0)";

const char *const InsertUpdatedLine =
    "INSERT INTO inward_entries (inward_no, inward_no_full, inward_date, customer_id, item_id, dc_no, dc_date, "
    "po_no, po_date, inward_qty, remarks, fy_name, is_deleted) VALUES (:no, :no_full, :date, :cid, :iid, "
    ":dc_no, :dc_date, :po_no, :po_date, :qty, :remarks, :fy, 0)";

// Runs `insertSql` (placeholders in the column order of the statements above)
// once per line. Returns false at the first failure, with the driver's text.
bool insertLines(const char *insertSql, const InwardHeader &h, const QList<InwardLine> &lines, QString *error)
{
    QSqlQuery q;
    if (!q.prepare(QString::fromLatin1(insertSql))) {
        *error = q.lastError().text();
        return false;
    }
    for (const InwardLine &line : lines) {
        if (!std::isfinite(line.qty)) {
            *error = QStringLiteral("The quantity of item %1 is not a number.").arg(line.itemId);
            return false;
        }
        const QVariantList values{h.number, h.fullNumber, h.inwardDate, h.customerId, line.itemId, h.dcNo,
                                  h.dcDate, h.poNo, h.poDate, line.qty, h.remarks, h.fy};
        for (int i = 0; i < values.size(); ++i)
            q.bindValue(i, values.at(i));
        if (!q.exec()) {
            *error = q.lastError().text();
            return false;
        }
    }
    return true;
}

// The entry's live rows: the rows a loaded entry compares, rewrites and
// cancels. Its cancelled rows of the same number and year are none of these.
#define LIVE_ROWS_OF_ENTRY "inward_no = :no AND fy_name = :fy AND (is_deleted IS NULL OR is_deleted = 0)"

// Every stored column of an inward line, in the table's order.
const RowSource StoredInwardLine{QStringLiteral("inward_entries"),
                           QStringLiteral("inward_id"),
                           {QStringLiteral("inward_id"), QStringLiteral("inward_no"), QStringLiteral("inward_no_full"),
                            QStringLiteral("inward_date"), QStringLiteral("customer_id"), QStringLiteral("item_id"),
                            QStringLiteral("dc_no"), QStringLiteral("dc_date"), QStringLiteral("po_no"),
                            QStringLiteral("po_date"), QStringLiteral("inward_qty"), QStringLiteral("remarks"),
                            QStringLiteral("fy_name"), QStringLiteral("is_deleted")},
                           QString()};

// The entry's live rows, every column, by inward_id, as they were loaded:
// what a loaded entry expects to find when it is updated or cancelled.
LoadedRow loadedEntry(int number, const QString &fy, const StoredRow &asLoaded)
{
    return LoadedRow(QStringLiteral("SELECT ") + StoredInwardLine.columnList()
                         + QStringLiteral(" FROM inward_entries WHERE " LIVE_ROWS_OF_ENTRY " ORDER BY inward_id"),
                     {{":no", number}, {":fy", fy}}, asLoaded,
                     QStringLiteral("Inward No ") + fullDocumentNumber(number, fy));
}

// Whether a row of that number and year is stored, live or cancelled.
bool inwardNumberUsed(int number, const QString &fy, bool *used, QString *error)
{
    QSqlQuery q;
    if (!execBound(q, QStringLiteral("SELECT 1 FROM inward_entries WHERE inward_no = :no AND fy_name = :fy LIMIT 1"),
                   {{":no", number}, {":fy", fy}}, error))
        return false;
    *used = q.next();
    return true;
}

// The next number of the year as the form proposes it, past any number
// stored under another full number's text: one no row uses.
int nextUnusedInwardNumber(const QString &fy)
{
    int number = nextInwardNumber(fy);
    for (bool used = true; inwardNumberUsed(number, fy, &used, nullptr) && used;)
        ++number;
    return number;
}

} // namespace

// --- text and arithmetic ---


int inwardNumberOf(const QString &fullNumber)
{
    return fullNumber.section('/', 0, 0).toInt();
}

QString itemHitText(const ItemHit &hit)
{
    const QString tail = hit.name + " [" + hit.uom + "]";
    return hit.code.isEmpty() ? tail : hit.code + " - " + tail;
}

int itemPopupHeight(int hits)
{
    return std::min(hits, 8) * 35;
}

Decimal inwardQuantity(const QString &text)
{
    return boundedFigure(text, FigureKind::Quantity).value_or(Decimal()).rounded(3);
}

QList<InwardLine> inwardLinesToWrite(const QList<QPair<QString, QString>> &cells)
{
    // Per item, in ascending item id: the exact total of its lines.
    QMap<int, Decimal> perItem;
    for (const auto &cell : cells) {
        const Decimal qty = inwardQuantity(cell.second);
        if (qty <= Decimal())
            continue;
        Decimal &total = perItem[cell.first.toInt()];
        total = total + qty;
    }
    QList<InwardLine> lines;
    for (auto it = perItem.cbegin(); it != perItem.cend(); ++it)
        lines.append({it.key(), it.value().toDouble()});
    return lines;
}

QList<DeliveredItem> deliveredBeyond(const QList<DeliveredItem> &delivered, const QList<InwardLine> &lines)
{
    QHash<int, double> newQty;
    for (const InwardLine &line : lines)
        newQty[line.itemId] += line.qty;
    QList<DeliveredItem> refused;
    for (DeliveredItem item : delivered) {
        item.newQty = newQty.value(item.itemId, 0.0);
        if (item.newQty + QtyTolerance < item.closed())
            refused.append(item);
    }
    return refused;
}

QString deliveredBeyondText(const QList<DeliveredItem> &items)
{
    const bool binned = std::any_of(items.cbegin(), items.cend(), [](const DeliveredItem &i) { return i.binned > 0; });
    QString text = binned ? QStringLiteral("Live delivery challans and bins have already closed more of these lines "
                                           "than the update would leave:\n")
                          : QStringLiteral("Live delivery challans have already delivered more of these lines than "
                                           "the update would leave:\n");
    for (const DeliveredItem &item : items) {
        QStringList closed;
        if (!item.challans.isEmpty())
            closed << QStringLiteral("delivered %1 on Delivery Challan(s) %2")
                          .arg(quantityText(item.delivered), item.challans.join(", "));
        if (item.binned > 0)
            closed << QStringLiteral("binned %1").arg(quantityText(item.binned));
        const QString line = item.code.isEmpty() ? item.name : item.code + " - " + item.name;
        text += QStringLiteral("\n%1: %2; new qty %3").arg(line, closed.join(", "), quantityText(item.newQty));
        if (item.binned > 0)
            text += QStringLiteral(", at least %1").arg(quantityText(item.closed()));
    }
    text += binned ? QStringLiteral("\n\nKeep each line at or above its delivered plus binned qty (what was binned "
                                    "stays closed), or change those delivery challans first.")
                   : QStringLiteral("\n\nKeep each line at or above its delivered qty, or change those delivery "
                                    "challans first.");
    return text;
}

QString cancelRefusalText(const QStringList &challans)
{
    return QStringLiteral("This inward entry is used in Delivery Challan(s):\n") + challans.join(", ")
           + QStringLiteral("\n\nDelete those delivery challans first before cancelling this inward.");
}

QString inwardChangedText(const QString &fullNumber, const QString &nothingDone)
{
    return rowChangedText(QStringLiteral("Inward No ") + fullNumber, QStringLiteral("changed or cancelled"),
                          nothingDone);
}

QString updateQuestionText(const QString &fullNumber, int itemCount, const Decimal &totalQty)
{
    return QStringLiteral("Update Inward No: ") + fullNumber + QStringLiteral("?\n\nTotal Items: ")
           + QString::number(itemCount) + QStringLiteral("\nTotal Qty: ") + threeDecimalText(totalQty);
}

// --- database ---

QString nextInwardFullNumber(const QString &fy)
{
    return fullDocumentNumber(nextInwardNumber(fy), fy);
}

QList<ItemHit> searchCustomerItems(int customerId, const QString &text)
{
    QSqlQuery q;
    q.prepare("SELECT item_id, item_code, item_name, uom FROM items WHERE customer_id = :cid AND "
              "(UPPER(item_code) LIKE :search OR UPPER(item_name) LIKE :search) ORDER BY item_code ASC LIMIT 10");
    q.bindValue(":cid", customerId);
    q.bindValue(":search", "%" + text.toUpper() + "%");
    QList<ItemHit> hits;
    if (q.exec()) {
        while (q.next())
            hits.append({q.value(0).toInt(), q.value(1).toString(), q.value(2).toString(), q.value(3).toString()});
    }
    return hits;
}

QString inwardListStatement(int customerId, const QString &from, const QString &to, const QString &fy,
                            QVariantMap *values)
{
    // One row per entry (number and year), shown from one of its live rows
    // when it has one: SQLite takes the bare columns of a group from the row
    // that gives its MIN. An entry is cancelled when no row of it is live: a
    // cancelled row beside live ones never hides them, nor, with a filter,
    // do live ones the filter leaves out.
    const bool filtered = customerId > 0 || !from.isEmpty() || !to.isEmpty();
    QString sql = QStringLiteral("SELECT e.inward_no, e.inward_no_full, e.dc_no, e.dc_date, c.customer_name, "
                                 "e.remarks, CASE WHEN MIN(CASE WHEN e.is_deleted IS NULL OR e.is_deleted = 0 "
                                 "THEN 0 ELSE 1 END) = 0 THEN 0 ")
                  + (filtered ? QStringLiteral("WHEN EXISTS (SELECT 1 FROM inward_entries l WHERE l.inward_no = "
                                               "e.inward_no AND l.fy_name = e.fy_name AND (l.is_deleted IS NULL OR "
                                               "l.is_deleted = 0)) THEN 0 ")
                              : QString())
                  + QStringLiteral("ELSE 1 END FROM inward_entries e JOIN customers c ON e.customer_id = "
                                   "c.customer_id WHERE 1=1 ");
    *values = {{":fy", fy}};
    sql += customerPeriodConditions({customerId, from, to}, "e", "inward_date", values);
    return sql + "GROUP BY e.fy_name, e.inward_no ORDER BY " + fyFirstOrder("e") + ", e.inward_no DESC";
}

QList<InwardListRow> inwardListRows(int customerId, const QString &from, const QString &to, const QString &fy,
                                    QString *error)
{
    QVariantMap values;
    const QString sql = inwardListStatement(customerId, from, to, fy, &values);
    QSqlQuery q;
    q.setForwardOnly(true);
    QList<InwardListRow> rows;
    if (execBound(q, sql, values, error)) {
        while (q.next()) {
            rows.append({q.value(0).toInt(), q.value(1).toString(), q.value(2).toString(), q.value(3).toString(),
                         q.value(4).toString(), q.value(5).toString(), q.value(6).toInt() == 1});
        }
    }
    return rows;
}

LoadedInward loadInward(int number, const QString &fy)
{
    LoadedInward loaded;
    // The live rows with their items, in one pass: what the form shows is
    // what Update and Cancel Inward compare (liveRows gives the same columns
    // in the same order). A line whose item is no longer in the master is
    // shown too, without code and name, so that Update keeps it.
    const int columns = int(StoredInwardLine.columns.size());
    const bool read = forEachRow(
        QStringLiteral("SELECT ") + StoredInwardLine.columnList(QStringLiteral("e"))
            + QStringLiteral(", i.item_code, i.item_name, i.uom FROM inward_entries e LEFT JOIN items i "
                             "ON e.item_id = i.item_id WHERE e.inward_no = :no AND e.fy_name = :fy "
                             "AND (e.is_deleted IS NULL OR e.is_deleted = 0) ORDER BY e.inward_id"),
        {{":no", number}, {":fy", fy}},
        [&](const StatementRow &row) {
            if (!loaded.rows.found()) {
                InwardHeader &h = loaded.header;
                h.number = number;
                h.fy = fy;
                h.fullNumber = row.text(2);
                h.inwardDate = row.text(3);
                h.customerId = row.integer(4);
                h.dcNo = row.text(6);
                h.dcDate = row.text(7);
                h.poNo = row.text(8);
                h.poDate = row.text(9);
                h.remarks = row.text(11);
            }
            loaded.rows.addDependent(row, 0, columns);
            loaded.lines.append({row.integer(5), row.text(columns), row.text(columns + 1), row.text(columns + 2),
                                 row.real(10)});
        });
    if (!read || !loaded.rows.found()) {
        loaded = LoadedInward();
        return loaded;
    }
    loaded.found = true;
    std::stable_sort(loaded.lines.begin(), loaded.lines.end(),
                     [](const InwardItemLine &a, const InwardItemLine &b) { return a.code < b.code; });
    return loaded;
}

InwardSaveResult saveInward(const InwardHeader &header, const QList<InwardLine> &lines)
{
    InwardSaveResult result;
    const bool committed = runInTransaction(
        [&](QString *e) {
            // Checked inside the transaction, so a second copy saving the
            // same proposed number is seen: it waits for the lock, then
            // finds this number taken, or this one finds its.
            bool used = false;
            if (!inwardNumberUsed(header.number, header.fy, &used, e))
                return false;
            if (used) {
                result.status = InwardSaveResult::NumberUsed;
                result.nextFullNumber = fullDocumentNumber(nextUnusedInwardNumber(header.fy), header.fy);
                return false;
            }
            return insertLines(InsertNewLine, header, lines, e);
        },
        &result.error);
    if (committed)
        result.status = InwardSaveResult::Saved;
    else if (result.status == InwardSaveResult::NumberUsed)
        result.error.clear();
    return result;
}

QString inwardNumberUsedText(const QString &fullNumber, const QString &nextFullNumber)
{
    return QStringLiteral("Inward No ") + fullNumber
           + QStringLiteral(" already exists!\nIt was taken meanwhile, perhaps in another window. Nothing was saved."
                            "\n\nThe form now shows the next free number, ")
           + nextFullNumber + QStringLiteral(": press Save again to save this entry under it.");
}

QList<DeliveredItem> deliveredItems(int number, const QString &fy, QString *error)
{
    QSqlQuery q;
    QList<DeliveredItem> items;
    if (!execBound(q,
                   QStringLiteral("SELECT d.item_id, i.item_code, i.item_name, d.delivery_qty, d.delivery_no_full "
                                  "FROM delivery_entries d LEFT JOIN items i ON d.item_id = i.item_id "
                                  "WHERE d.inward_no = :no AND d.fy_name = :fy AND (d.is_deleted IS NULL OR "
                                  "d.is_deleted = 0) ORDER BY i.item_code ASC, d.item_id ASC, d.delivery_no ASC"),
                   {{":no", number}, {":fy", fy}}, error))
        return items;
    while (q.next()) {
        const int itemId = q.value(0).toInt();
        if (items.isEmpty() || items.last().itemId != itemId)
            items.append({itemId, q.value(1).toString(), q.value(2).toString(), 0.0, {}, 0.0, 0.0});
        DeliveredItem &item = items.last();
        item.delivered += q.value(3).toDouble();
        const QString challan = q.value(4).toString();
        if (!item.challans.contains(challan))
            item.challans.append(challan);
    }
    // What bins closed counts as sent back too: an item binned, and not
    // delivered, is listed after the delivered ones.
    QSqlQuery bins;
    if (!execBound(bins,
                   QStringLiteral("SELECT b.item_id, MAX(i.item_code), MAX(i.item_name), " STORED_LIST("b.binned_qty")
                                  " FROM bins b LEFT JOIN items i ON b.item_id = i.item_id WHERE b.inward_no = :no "
                                  "AND b.fy_name = :fy AND b.bin_type = 'DC' GROUP BY b.item_id "
                                  "ORDER BY MAX(i.item_code) ASC, b.item_id ASC"),
                   {{":no", number}, {":fy", fy}}, error)) {
        items.clear();
        return items;
    }
    while (bins.next()) {
        const int itemId = bins.value(0).toInt();
        auto item = std::find_if(items.begin(), items.end(),
                                 [itemId](const DeliveredItem &i) { return i.itemId == itemId; });
        if (item == items.end())
            item = items.insert(items.end(),
                                {itemId, bins.value(1).toString(), bins.value(2).toString(), 0.0, {}, 0.0, 0.0});
        item->binned = fromStoredList(bins.value(3)).toDouble();
    }
    return items;
}

InwardUpdateResult updateInward(const InwardHeader &header, const QList<InwardLine> &lines,
                                const StoredRow &loadedRows)
{
    InwardUpdateResult result;
    // Until the rows compared are deleted, a failure is the delete's.
    result.status = InwardUpdateResult::DeleteFailed;
    const RowWrite written =
        writeLoadedRows({loadedEntry(header.number, header.fy, loadedRows)}, [&](QString *error) {
            QString readError;
            const QList<DeliveredItem> closed = deliveredItems(header.number, header.fy, &readError);
            if (!readError.isEmpty()) {
                *error = readError;
                return false;
            }
            result.delivered = deliveredBeyond(closed, lines);
            if (!result.delivered.isEmpty()) {
                result.status = InwardUpdateResult::DeliveredBeyond;
                return false;
            }
            // The rows compared, and no other.
            QSqlQuery del;
            if (!execBound(del, QStringLiteral("DELETE FROM inward_entries WHERE " LIVE_ROWS_OF_ENTRY),
                           {{":no", header.number}, {":fy", header.fy}}, error))
                return false;
            result.status = InwardUpdateResult::InsertFailed;
            if (!insertLines(InsertUpdatedLine, header, lines, error))
                return false;
            // Written; only the commit can still fail.
            result.status = InwardUpdateResult::CommitFailed;
            return true;
        });
    if (written.result != ListedWrite::Failed)
        result.status = written.ok() ? InwardUpdateResult::Updated : InwardUpdateResult::Changed;
    else
        result.error = written.error;
    return result;
}

bool challansUsingInward(int number, const QString &fy, QStringList *challans, QString *error)
{
    QSqlQuery q;
    if (!execBound(q,
                   "SELECT DISTINCT delivery_no_full FROM delivery_entries WHERE inward_no = :no AND fy_name = :fy "
                   "AND (is_deleted IS NULL OR is_deleted = 0) ORDER BY delivery_no ASC",
                   {{":no", number}, {":fy", fy}}, error))
        return false;
    challans->clear();
    while (q.next())
        challans->append(q.value(0).toString());
    return true;
}

InwardCancelResult cancelInward(int number, const QString &fy, const StoredRow &loadedRows)
{
    InwardCancelResult result;
    const RowWrite written = writeLoadedRows({loadedEntry(number, fy, loadedRows)}, [&](QString *error) {
        if (!challansUsingInward(number, fy, &result.challans, error))
            return false;
        if (!result.challans.isEmpty()) {
            result.status = InwardCancelResult::UsedByChallans;
            return false;
        }
        QSqlQuery q;
        return execBound(q, "UPDATE inward_entries SET is_deleted = 1 WHERE " LIVE_ROWS_OF_ENTRY,
                         {{":no", number}, {":fy", fy}}, error);
    });
    if (written.result != ListedWrite::Failed)
        result.status = written.ok() ? InwardCancelResult::Cancelled : InwardCancelResult::Changed;
    else if (result.status == InwardCancelResult::Failed)
        result.error = written.error.isEmpty() ? QStringLiteral("Cancel failed.") : written.error;
    return result;
}
