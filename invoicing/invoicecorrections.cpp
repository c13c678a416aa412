#include "invoicecorrections.h"

#include "core/boundquery.h"

#include <QSqlQuery>
#include <QVariant>

namespace {

const char *const DeleteLines = "DELETE FROM invoice_items WHERE invoice_id IN (SELECT invoice_id FROM invoices "
                                "WHERE invoice_no = :no AND fy_name = :fy)";

bool run(const char *sql, int invoiceNo, const QString &fyName, QString *error)
{
    QSqlQuery q;
    return execBound(q, QString::fromLatin1(sql), {{":no", invoiceNo}, {":fy", fyName}}, error);
}

} // namespace

bool invoiceHasPayments(int invoiceNo, const QString &fyName, bool *has, QString *error)
{
    QSqlQuery q;
    if (!execBound(q, QStringLiteral("SELECT COUNT(*) FROM invoice_payments WHERE invoice_no = :no AND fy_name = :fy"),
                   {{":no", invoiceNo}, {":fy", fyName}}, error))
        return false;
    *has = q.next() && q.value(0).toInt() > 0;
    return true;
}

bool invoiceStillLoaded(int invoiceId, int invoiceNo, const QString &fyName, bool *still, QString *error)
{
    QSqlQuery q;
    if (!execBound(q,
                   QStringLiteral("SELECT 1 FROM invoices WHERE invoice_id = :id AND invoice_no = :no "
                                  "AND fy_name = :fy AND (is_deleted IS NULL OR is_deleted = 0)"),
                   {{":id", invoiceId}, {":no", invoiceNo}, {":fy", fyName}}, error))
        return false;
    *still = q.next();
    return true;
}

const RowSource InvoicePaymentRowSource{
    QStringLiteral("invoice_payments"),
    QStringLiteral("pay_id"),
    {QStringLiteral("pay_id"), QStringLiteral("payment_ref"), QStringLiteral("payment_date"),
     QStringLiteral("customer_id"), QStringLiteral("invoice_no"), QStringLiteral("paid_amount"),
     QStringLiteral("tds_amount"), QStringLiteral("chq_ref"), QStringLiteral("remarks"), QStringLiteral("fy_name"),
     QStringLiteral("pay_mode")},
    QString()};

const RowSource InvoiceRowSource{
    QStringLiteral("invoices"),
    QStringLiteral("invoice_id"),
    {QStringLiteral("invoice_id"), QStringLiteral("invoice_no"), QStringLiteral("invoice_no_full"),
     QStringLiteral("invoice_date"), QStringLiteral("customer_id"), QStringLiteral("sub_total"),
     QStringLiteral("cgst_amount"), QStringLiteral("sgst_amount"), QStringLiteral("igst_amount"),
     QStringLiteral("grand_total"), QStringLiteral("remarks"), QStringLiteral("fy_name"), QStringLiteral("is_deleted"),
     QStringLiteral("is_abstract"), QStringLiteral("abstract_content")},
    QStringLiteral("SELECT ") + InvoicePaymentRowSource.columnList(QStringLiteral("p"))
        + QStringLiteral(" FROM invoice_payments p JOIN invoices v ON p.invoice_no = v.invoice_no "
                         "AND p.fy_name = v.fy_name WHERE v.invoice_id = :key ORDER BY p.pay_id")};

bool invoiceStillAsRead(int invoiceId, const StoredRow &read, bool *same, QString *error)
{
    StoredRow now;
    if (!readStoredRow(InvoiceRowSource, invoiceId, &now, error))
        return false;
    *same = read.found() && now == read;
    return true;
}

QString invoiceChangedText(const QString &fullNumber, const QString &outcome)
{
    return rowChangedText(QStringLiteral("Invoice No ") + fullNumber,
                          QStringLiteral("paid, changed, cancelled or deleted"), outcome);
}

bool cancelInvoiceRows(int invoiceNo, const QString &fyName, QString *error)
{
    return run(DeleteLines, invoiceNo, fyName, error)
           && run("UPDATE invoices SET is_deleted = 1 WHERE invoice_no = :no AND fy_name = :fy", invoiceNo, fyName,
                  error);
}

bool deleteInvoiceRows(int invoiceNo, const QString &fyName, QString *error)
{
    return deleteInvoiceLines(invoiceNo, fyName, error) && deleteInvoiceHead(invoiceNo, fyName, error);
}

bool deleteInvoiceLines(int invoiceNo, const QString &fyName, QString *error)
{
    return run(DeleteLines, invoiceNo, fyName, error);
}

bool deleteInvoiceHead(int invoiceNo, const QString &fyName, QString *error)
{
    return run("DELETE FROM invoices WHERE invoice_no = :no AND fy_name = :fy", invoiceNo, fyName, error);
}
