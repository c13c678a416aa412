#include "generationstore.h"

#include "invoicestore.h"

#include "core/boundquery.h"
#include "core/financialyear.h"
#include "core/listedrow.h"
#include "core/storedsum.h"
#include "core/transaction.h"

#include <QDebug>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

// Per challan (number and year): live invoice lines and "INVOICE" bins, each
// summed once over its whole table, then joined to the challan lines. With
// each sum, how many rows it took and the last one's id (ChallanTaken).
const char *const ChallanHead =
    "WITH invoiced AS (SELECT ii.delivery_no, ii.fy_name, " STORED_SUM("invoice_items:ii.invoiced_qty") " AS qty, "
    "COUNT(*) AS n, MAX(ii.inv_item_id) AS last "
    "FROM invoice_items ii "
    "JOIN invoices inv ON ii.invoice_id = inv.invoice_id WHERE (inv.is_deleted IS NULL OR inv.is_deleted = 0) "
    "GROUP BY ii.delivery_no, ii.fy_name), "
    "binned AS (SELECT delivery_no, fy_name, " STORED_SUM("bins:binned_qty") " AS qty, "
    "COUNT(*) AS n, MAX(bin_id) AS last FROM bins "
    "WHERE bin_type = 'INVOICE' "
    "GROUP BY delivery_no, fy_name) "
    "SELECT d.delivery_no, d.delivery_no_full, d.delivery_date, c.customer_name, d.fy_name, d.customer_id, "
    STORED_SUM("delivery_entries:d.delivery_qty") " AS delivered_qty, COUNT(*), MAX(d.delivery_id), "
    "iv.qty AS invoiced_qty, iv.n, iv.last, bn.qty AS binned_qty, bn.n, bn.last "
    "FROM delivery_entries d JOIN customers c ON d.customer_id = c.customer_id "
    "LEFT JOIN invoiced iv ON iv.delivery_no = d.delivery_no AND iv.fy_name = d.fy_name "
    "LEFT JOIN binned bn ON bn.delivery_no = d.delivery_no AND bn.fy_name = d.fy_name "
    "WHERE (d.is_deleted IS NULL OR d.is_deleted = 0) ";

// The same of one challan, in the columns of ChallanTaken.
const char *const ChallanTakenOfOne =
    "SELECT dl.qty, dl.n, dl.last, iv.qty, iv.n, iv.last, bn.qty, bn.n, bn.last FROM "
    "(SELECT " STORED_SUM("delivery_entries:d.delivery_qty") " AS qty, COUNT(*) AS n, MAX(d.delivery_id) AS last "
    "FROM delivery_entries d JOIN customers c ON d.customer_id = c.customer_id "
    "WHERE d.delivery_no = :no AND d.fy_name = :fy AND (d.is_deleted IS NULL OR d.is_deleted = 0)) dl, "
    "(SELECT " STORED_SUM("invoice_items:ii.invoiced_qty") " AS qty, COUNT(*) AS n, MAX(ii.inv_item_id) AS last "
    "FROM invoice_items ii JOIN invoices inv ON ii.invoice_id = inv.invoice_id "
    "WHERE ii.delivery_no = :no2 AND ii.fy_name = :fy2 AND (inv.is_deleted IS NULL OR inv.is_deleted = 0)) iv, "
    "(SELECT " STORED_SUM("bins:binned_qty") " AS qty, COUNT(*) AS n, MAX(bin_id) AS last FROM bins "
    "WHERE delivery_no = :no3 AND fy_name = :fy3 AND bin_type = 'INVOICE') bn";

// The columns of ChallanTaken in its order, from column `first` on.
ChallanTaken takenOf(const StatementRow &q, int first)
{
    ChallanTaken taken;
    taken.delivered = storedTotal(q.value(first));
    taken.deliveryLines = q.integer(first + 1);
    taken.lastDeliveryLine = q.value(first + 2).toLongLong();
    taken.invoiced = storedTotal(q.value(first + 3));
    taken.invoiceLines = q.integer(first + 4);
    taken.lastInvoiceLine = q.value(first + 5).toLongLong();
    taken.binned = storedTotal(q.value(first + 6));
    taken.bins = q.integer(first + 7);
    taken.lastBin = q.value(first + 8).toLongLong();
    return taken;
}

const char *const InsertBin =
    "INSERT INTO bins (bin_date, bin_type, delivery_no, inward_no, item_id, customer_id, binned_qty, fy_name) "
    "VALUES (:date, 'INVOICE', :dno4, :inward2, :item, :cid, :qty, :fy4)";

} // namespace

PendingStatus invoicingStatus(double delivered, double invoiced)
{
    if (invoiced <= 0)
        return PendingStatus::Pending;
    static const Decimal tolerance(5, 4);
    if (Decimal::fromStored(delivered) - Decimal::fromStored(invoiced) > tolerance)
        return PendingStatus::Partial;
    return PendingStatus::Issued;
}

QString invoiceChallansStatement(int customerId, const QString &currentFy, QVariantMap *values)
{
    QString sql = ChallanHead;
    *values = {{":fy", currentFy}};
    if (customerId > 0) {
        sql += QStringLiteral("AND d.customer_id = :cid ");
        values->insert(":cid", customerId);
    }
    return sql
           + QStringLiteral("GROUP BY d.delivery_no, d.delivery_no_full, d.delivery_date, c.customer_name, d.fy_name, "
                            "d.customer_id ORDER BY ")
           + fyFirstOrder(QStringLiteral("d")) + QStringLiteral(", d.delivery_no DESC");
}

bool queryInvoiceChallans(int customerId, const QString &currentFy, PendingFilter filter,
                          QList<InvoiceChallanRow> *rows, QString *error)
{
    rows->clear();
    QVariantMap values;
    const QString sql = invoiceChallansStatement(customerId, currentFy, &values);
    const auto readRow = [&](const StatementRow &q) {
        InvoiceChallanRow row;
        row.deliveryNo = q.integer(0);
        row.fullNumber = q.text(1);
        row.date = q.text(2);
        row.customerName = q.text(3);
        row.fy = q.text(4);
        row.customerId = q.integer(5);
        row.taken = takenOf(q, 6);
        row.delivered = row.taken.delivered.toDouble();
        row.invoiced = (row.taken.invoiced + row.taken.binned).toDouble();
        if (filterKeeps(filter, row.status()))
            rows->append(row);
    };
    return forEachStoredSumRow(sql, values, readRow, [&] { rows->clear(); }, error);
}

bool readChallanTaken(int deliveryNo, const QString &fy, ChallanTaken *taken, QString *error)
{
    *taken = ChallanTaken();
    return forEachStoredSumRow(
        QString::fromLatin1(ChallanTakenOfOne),
        {{":no", deliveryNo}, {":fy", fy}, {":no2", deliveryNo}, {":fy2", fy}, {":no3", deliveryNo}, {":fy3", fy}},
        [&](const StatementRow &q) { *taken = takenOf(q, 0); }, [&] { *taken = ChallanTaken(); }, error);
}

BinOutcome binInvoiceBalances(const QList<InvoiceBinTarget> &targets, const QDate &date)
{
    BinOutcome outcome;
    const QString binDate = date.toString(QStringLiteral("yyyy-MM-dd"));
    int written = 0;
    outcome.ok = runInTransaction(
        [&](QString *error) {
            // Every challan still as listed before anything is written.
            for (const InvoiceBinTarget &target : targets) {
                ChallanTaken now;
                if (!readChallanTaken(target.deliveryNo, target.fy, &now, error))
                    return false;
                if (now != target.listed) {
                    outcome.notPending = target.fullNumber;
                    return false;
                }
            }
            QSqlQuery insert;
            for (const InvoiceBinTarget &target : targets) {
                QList<ChallanLineBalance> lines;
                if (!challanLineBalances(target.deliveryNo, target.fy, &lines, error)) {
                    qDebug() << "itemQuery failed:" << *error;
                    return false;
                }
                for (const ChallanLineBalance &line : lines) {
                    qDebug() << "item_id:" << line.itemId << "delivered:" << line.delivered
                             << "invoiced:" << line.consumed << "balance:" << line.balance;
                    if (!balanceIsOpen(line.balance))
                        continue;
                    // Its balance is kept exactly, but no bin row could hold it so.
                    if (storedValueOutsized(line.delivered)) {
                        outcome.tooLarge = storedFigureTooLargeText(
                            QStringLiteral("DC No %1, item %2").arg(target.fullNumber, line.itemCode),
                            QStringLiteral("Delivered Qty"), threeDecimalText(line.delivered));
                        return false;
                    }
                    if (!execBound(insert, InsertBin,
                                   {{":date", binDate},
                                    {":dno4", target.deliveryNo},
                                    {":inward2", line.inwardNo},
                                    {":item", line.itemId},
                                    {":cid", target.customerId},
                                    {":qty", line.balance},
                                    {":fy4", target.fy}},
                                   error))
                        return false;
                    qDebug() << "Binned delivery_no:" << target.deliveryNo << "item_id:" << line.itemId
                             << "qty:" << line.balance;
                    ++written;
                }
            }
            return true;
        },
        &outcome.error);
    if (outcome.ok)
        outcome.written = written;
    return outcome;
}

QString challanChangedText(const QString &fullNumber)
{
    return rowChangedText(QStringLiteral("DC No ") + fullNumber, QStringLiteral("invoiced, binned or changed"),
                          QStringLiteral("Nothing was binned. Press Show to list the DCs as they are now."));
}

QString nothingToBinText()
{
    return QStringLiteral("The ticked DCs have no pending invoice balance above 0.005. Nothing was binned.");
}

QString twoYearsRefusalText(const QString &firstFy, const QString &otherFy)
{
    return QStringLiteral("The ticked delivery challans belong to two financial years (%1 and %2).\n"
                          "An invoice bills the challans of one year: untick the challans of the other year.")
        .arg(firstFy, otherFy);
}
