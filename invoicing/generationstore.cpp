#include "generationstore.h"

#include "invoicestore.h"

#include "core/boundquery.h"
#include "core/financialyear.h"
#include "core/storedsum.h"
#include "core/transaction.h"

#include <QDebug>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

// Per challan (number and year): live invoice lines and "INVOICE" bins, each
// summed once over its whole table, then joined to the challan lines.
const char *const ChallanHead =
    "WITH invoiced AS (SELECT ii.delivery_no, ii.fy_name, " STORED_SUM("invoice_items:ii.invoiced_qty") " AS qty "
    "FROM invoice_items ii "
    "JOIN invoices inv ON ii.invoice_id = inv.invoice_id WHERE (inv.is_deleted IS NULL OR inv.is_deleted = 0) "
    "GROUP BY ii.delivery_no, ii.fy_name), "
    "binned AS (SELECT delivery_no, fy_name, " STORED_SUM("bins:binned_qty") " AS qty FROM bins "
    "WHERE bin_type = 'INVOICE' "
    "GROUP BY delivery_no, fy_name) "
    "SELECT d.delivery_no, d.delivery_no_full, d.delivery_date, c.customer_name, " STORED_SUM("delivery_entries:d.delivery_qty") " AS delivered_qty, "
    "iv.qty AS invoiced_qty, d.fy_name, d.customer_id, bn.qty AS binned_qty "
    "FROM delivery_entries d JOIN customers c ON d.customer_id = c.customer_id "
    "LEFT JOIN invoiced iv ON iv.delivery_no = d.delivery_no AND iv.fy_name = d.fy_name "
    "LEFT JOIN binned bn ON bn.delivery_no = d.delivery_no AND bn.fy_name = d.fy_name "
    "WHERE (d.is_deleted IS NULL OR d.is_deleted = 0) ";

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

namespace {

// The statement with its sums still to be written out (core/storedsum.h).
QString challansStatement(int customerId, const QString &currentFy, QVariantMap *values)
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

} // namespace

QString invoiceChallansStatement(int customerId, const QString &currentFy, QVariantMap *values)
{
    return storedSumStatement(challansStatement(customerId, currentFy, values), StoredSumRun::Integers);
}

bool queryInvoiceChallans(int customerId, const QString &currentFy, PendingFilter filter,
                          QList<InvoiceChallanRow> *rows, QString *error)
{
    rows->clear();
    QVariantMap values;
    const QString sql = challansStatement(customerId, currentFy, &values);
    const auto readRow = [&](const QSqlQuery &q) {
        InvoiceChallanRow row;
        row.deliveryNo = q.value(0).toInt();
        row.fullNumber = q.value(1).toString();
        row.date = q.value(2).toString();
        row.customerName = q.value(3).toString();
        row.delivered = storedTotal(q.value(4)).toDouble();
        row.invoiced = (storedTotal(q.value(5)) + storedTotal(q.value(8))).toDouble();
        row.fy = q.value(6).toString();
        row.customerId = q.value(7).toInt();
        if (filterKeeps(filter, row.status()))
            rows->append(row);
    };
    return forEachStoredSumRow(sql, values, readRow, [&] { rows->clear(); }, error);
}

BinOutcome binInvoiceBalances(const QList<InvoiceBinTarget> &targets, const QDate &date)
{
    BinOutcome outcome;
    const QString binDate = date.toString(QStringLiteral("yyyy-MM-dd"));
    int written = 0;
    outcome.ok = runInTransaction(
        [&](QString *error) {
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

QString twoYearsRefusalText(const QString &firstFy, const QString &otherFy)
{
    return QStringLiteral("The ticked delivery challans belong to two financial years (%1 and %2).\n"
                          "An invoice bills the challans of one year: untick the challans of the other year.")
        .arg(firstFy, otherFy);
}
