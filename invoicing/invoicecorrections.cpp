#include "invoicecorrections.h"

#include "core/boundquery.h"
#include "core/financialyear.h"

#include <QSqlQuery>
#include <QVariant>

namespace {

// Each statement writes the one invoice row a form or list checked, by its
// id: never a second row stored under the same number and year.
bool run(const char *sql, int invoiceId, QString *error)
{
    QSqlQuery q;
    return execBound(q, QString::fromLatin1(sql), {{":id", invoiceId}}, error);
}

bool deleteInvoiceLines(int invoiceId, QString *error)
{
    return run("DELETE FROM invoice_items WHERE invoice_id = :id", invoiceId, error);
}

bool deleteInvoiceHead(int invoiceId, QString *error)
{
    return run("DELETE FROM invoices WHERE invoice_id = :id", invoiceId, error);
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
    invoicePaymentsStatement(QStringLiteral("v.invoice_id = :key"))};

QString invoicePaymentsStatement(const QString &where, const QString &extra)
{
    return QStringLiteral("SELECT ") + InvoicePaymentRowSource.columnList(QStringLiteral("p")) + extra
           + QStringLiteral(" FROM invoice_payments p JOIN invoices v ON p.invoice_no = v.invoice_no "
                            "AND p.fy_name = v.fy_name")
           + (where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where) + QStringLiteral(" ORDER BY p.pay_id");
}

int columnAt(const QStringList &columns, const char *column, int first)
{
    return first + int(columns.indexOf(QLatin1String(column)));
}

const QStringList InvoiceLineColumns{
    QStringLiteral("inv_item_id"), QStringLiteral("invoice_id"),   QStringLiteral("delivery_no"),
    QStringLiteral("item_id"),     QStringLiteral("invoiced_qty"), QStringLiteral("rate"),
    QStringLiteral("amount"),      QStringLiteral("tax_percent"),  QStringLiteral("fy_name")};

QString invoiceLinesStatement(const QString &extra)
{
    QStringList columns;
    for (const QString &c : InvoiceLineColumns)
        columns.append(QStringLiteral("ii.") + c);
    return QStringLiteral("SELECT ") + columns.join(QStringLiteral(", ")) + extra
           + QStringLiteral(" FROM invoice_items ii")
           + (extra.isEmpty() ? QString() : QStringLiteral(" LEFT JOIN items i ON i.item_id = ii.item_id"))
           + QStringLiteral(" WHERE ii.invoice_id = :id ORDER BY ii.inv_item_id");
}

QList<LoadedRow> invoiceAsLoaded(const InvoiceAsRead &read, const QString &fullNumber, const QString &outcome)
{
    const QString name = QStringLiteral("Invoice No ") + fullNumber;
    QList<LoadedRow> rows{LoadedRow(InvoiceRowSource, read.invoiceId, read.row, name),
                          LoadedRow(invoiceLinesStatement(), {{":id", read.invoiceId}}, read.lines, name)};
    for (LoadedRow &row : rows)
        row.changedText = row.goneText = invoiceChangedText(fullNumber, outcome);
    return rows;
}

QString invoiceChangedText(const QString &fullNumber, const QString &outcome)
{
    return rowChangedText(QStringLiteral("Invoice No ") + fullNumber,
                          QStringLiteral("paid, changed, cancelled or deleted"), outcome);
}

bool cancelInvoiceRows(int invoiceId, QString *error)
{
    return deleteInvoiceLines(invoiceId, error)
           && run("UPDATE invoices SET is_deleted = 1 WHERE invoice_id = :id", invoiceId, error);
}

bool deleteInvoiceRows(int invoiceId, QString *error)
{
    return deleteInvoiceLines(invoiceId, error) && deleteInvoiceHead(invoiceId, error);
}

namespace {

// Done, Stale with the refusal, or Failed with the driver's text after the
// failing step's words.
CorrectionOutcome correction(const RowWrite &written, const QString &step)
{
    CorrectionOutcome outcome;
    outcome.result = written.ok() ? CorrectionResult::Done
                     : written.result == ListedWrite::Stale ? CorrectionResult::Stale
                                                            : CorrectionResult::Failed;
    outcome.error = outcome.result == CorrectionResult::Failed ? step + written.error : written.error;
    return outcome;
}

} // namespace

CorrectionOutcome cancelLoadedInvoice(int invoiceNo, const QString &fyName, const InvoiceAsRead &read)
{
    return correction(writeLoadedRows(invoiceAsLoaded(read, fullDocumentNumber(invoiceNo, fyName),
                                                      QStringLiteral("Nothing was cancelled.")),
                                      [&](QString *e) { return cancelInvoiceRows(read.invoiceId, e); }),
                      QStringLiteral("Cancel failed: "));
}

CorrectionOutcome deleteLoadedInvoice(int invoiceNo, const QString &fyName, const InvoiceAsRead &read)
{
    const QString fullNumber = fullDocumentNumber(invoiceNo, fyName);
    bool paid = false;
    QString step;
    const RowWrite written =
        writeLoadedRows(invoiceAsLoaded(read, fullNumber, QStringLiteral("Nothing was deleted.")), [&](QString *e) {
            if (!invoiceHasPayments(invoiceNo, fyName, &paid, e) || paid)
                return false;
            step = QStringLiteral("Failed to delete items: ");
            if (!deleteInvoiceLines(read.invoiceId, e))
                return false;
            step = QStringLiteral("Failed to delete invoice: ");
            return deleteInvoiceHead(read.invoiceId, e);
        });
    if (paid) {
        CorrectionOutcome outcome;
        outcome.result = CorrectionResult::HasPayments;
        outcome.error = QStringLiteral("Invoice %1 has payments recorded against it.\n"
                                       "Delete its payments first (Payment History), or cancel the invoice instead.")
                            .arg(fullNumber);
        return outcome;
    }
    if (written.ok()) {
        QSqlQuery sweep;
        sweep.exec(QStringLiteral("DELETE FROM invoice_items WHERE invoice_id NOT IN "
                                  "(SELECT invoice_id FROM invoices WHERE invoice_id IS NOT NULL)"));
    }
    return correction(written, step);
}
