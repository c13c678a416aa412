#include "invoiceliststore.h"

#include "core/boundquery.h"
#include "core/financialyear.h"
#include "core/transaction.h"
#include "invoicing/invoicecorrections.h"
#include "widgets/listformat.h"

#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {

// The list's conditions after "WHERE 1=1 ", their values put in `values`.
QString listConditions(const InvoiceListFilter &filter, QVariantMap *values)
{
    QString sql;
    if (!filter.from.isEmpty()) {
        sql += "AND v.invoice_date >= :from ";
        values->insert(":from", filter.from);
    }
    if (!filter.to.isEmpty()) {
        sql += "AND v.invoice_date <= :to ";
        values->insert(":to", filter.to);
    }
    if (filter.customerId > 0) {
        sql += "AND v.customer_id = :cid ";
        values->insert(":cid", filter.customerId);
    }
    return sql;
}

// The columns of queryInvoiceList before "v.*".
const int ShownColumns = 13;

} // namespace

QString invoiceListStatement(const InvoiceListFilter &filter, QVariantMap *valuesOut)
{
    QVariantMap values{{":fy", filter.currentFy}};
    const QString sql = "SELECT v.invoice_no, v.invoice_no_full, v.invoice_date, c.customer_name, c.gst_no, "
                        "v.sub_total, v.cgst_amount, v.sgst_amount, v.igst_amount, v.grand_total, v.is_deleted, "
                        "v.fy_name, v.invoice_id, "
                        + InvoiceRowSource.columnList("v") + " FROM invoices v JOIN customers c ON v.customer_id = c.customer_id WHERE 1=1 "
                        + listConditions(filter, &values);
    *valuesOut = values;
    return sql + "ORDER BY " + fyFirstOrder("v") + ", v.invoice_no DESC";
}

bool queryInvoiceList(const InvoiceListFilter &filter, QList<InvoiceListRow> *rows, QString *error)
{
    rows->clear();
    QVariantMap values;
    const QString sql = invoiceListStatement(filter, &values);
    const int storedColumns = int(InvoiceRowSource.columns.size());
    return forEachRow(
        sql, values,
        [&](const StatementRow &q) {
            InvoiceListRow row;
            row.invoiceNo = q.integer(0);
            row.invoiceNoFull = q.text(1);
            row.invoiceDate = q.text(2);
            row.customerName = q.text(3);
            row.gstNo = q.text(4);
            row.subTotal = q.real(5);
            row.cgst = q.real(6);
            row.sgst = q.real(7);
            row.igst = q.real(8);
            row.grandTotal = q.real(9);
            row.cancelled = q.integer(10) == 1;
            row.fy = q.text(11);
            row.invoiceId = q.integer(12);
            row.stored = StoredRow::of(q, ShownColumns, storedColumns);
            rows->append(row);
        },
        error);
}

bool readListedPayments(const InvoiceListFilter &filter, QList<InvoiceListRow> *rows, QString *error)
{
    QHash<int, StoredRow *> stored; // by invoice_id
    for (InvoiceListRow &row : *rows) {
        row.stored.clearDependents();
        stored.insert(row.invoiceId, &row.stored);
    }
    return readInvoicePayments(filter, stored, error);
}

bool readInvoicePayments(const InvoiceListFilter &filter, const QHash<int, StoredRow *> &rows, QString *error)
{
    QVariantMap values;
    // The same payments in the same order as InvoiceRowSource gives one invoice.
    const QString sql = "SELECT v.invoice_id, " + InvoicePaymentRowSource.columnList("p") + " FROM invoices v "
                        "JOIN invoice_payments p ON p.invoice_no = v.invoice_no AND p.fy_name = v.fy_name WHERE 1=1 "
                        + listConditions(filter, &values) + "ORDER BY v.invoice_id, p.pay_id";
    const int paymentColumns = int(InvoicePaymentRowSource.columns.size());
    return forEachRow(
        sql, values,
        [&](const StatementRow &q) {
            if (StoredRow *row = rows.value(q.integer(0)))
                row->addDependent(q, 1, paymentColumns);
        },
        error);
}

GstTotals liveTotals(const QList<InvoiceListRow> &rows)
{
    GstTotals totals;
    for (const InvoiceListRow &row : rows) {
        if (row.cancelled)
            continue;
        totals.base += Money::fromStored(row.subTotal);
        totals.cgst += Money::fromStored(row.cgst);
        totals.sgst += Money::fromStored(row.sgst);
        totals.igst += Money::fromStored(row.igst);
        totals.tax += row.taxValue();
        totals.net += Money::fromStored(row.grandTotal);
        ++totals.invoices;
    }
    return totals;
}

bool invoicesWithPayments(const QList<InvoiceKey> &invoices, QStringList *withPayments, QString *error)
{
    withPayments->clear();
    for (const InvoiceKey &key : invoices) {
        bool has = false;
        if (!invoiceHasPayments(key.no, key.fy, &has, error))
            return false;
        if (has)
            withPayments->append(fullDocumentNumber(key.no, key.fy));
    }
    return true;
}

namespace {

using RowsAction = bool (*)(int invoiceNo, const QString &fyName, QString *error);

BatchOutcome runBatch(const QList<InvoiceKey> &invoices, RowsAction action, bool refuseWithPayments)
{
    BatchOutcome outcome;
    const bool written = runInTransaction(
        [&](QString *error) {
            for (const InvoiceKey &key : invoices) {
                bool same = false;
                if (!invoiceStillAsRead(key.invoiceId, key.listed, &same, error))
                    return false;
                if (!same) {
                    outcome.result = BatchResult::Stale;
                    outcome.stale = key;
                    return false;
                }
            }
            if (refuseWithPayments) {
                if (!invoicesWithPayments(invoices, &outcome.withPayments, error))
                    return false;
                if (!outcome.withPayments.isEmpty()) {
                    outcome.result = BatchResult::HasPayments;
                    return false;
                }
            }
            for (const InvoiceKey &key : invoices) {
                if (!action(key.no, key.fy, error))
                    return false;
            }
            return true;
        },
        &outcome.error);
    if (!written && outcome.result == BatchResult::Done)
        outcome.result = BatchResult::Failed;
    return outcome;
}

} // namespace

BatchOutcome cancelInvoices(const QList<InvoiceKey> &invoices)
{
    return runBatch(invoices, cancelInvoiceRows, false);
}

BatchOutcome deleteInvoices(const QList<InvoiceKey> &invoices)
{
    return runBatch(invoices, deleteInvoiceRows, true);
}

CsvExportProfile gstStatementProfile(const GstStatementHead &head, const QList<InvoiceListRow> &rows)
{
    const GstTotals totals = liveTotals(rows);
    CsvExportProfile profile;
    profile.caption = "Export GST Statement";
    profile.defaultName = "GST_Statement_" + head.fy + ".csv";
    profile.filter = "CSV Files (*.csv)";
    profile.titleLines = {csvField(head.company.name.toUpper()),
                          csvField(head.company.address1 + ", " + head.company.address2),
                          csvField("GSTIN: " + head.company.gstNo),
                          "GST INVOICE STATEMENT",
                          csvField("Period: " + head.from + " to " + head.to),
                          csvField("Financial Year: " + head.fy),
                          QString()};
    profile.header = "S.No,Invoice No,Invoice Date,Customer Name,GST No,Base Amount,CGST,SGST,IGST,Tax Value,Net Amount";
    profile.totalLines = {"TOTAL,,,,," + QStringList{totals.base.text(), totals.cgst.text(), totals.sgst.text(),
                                                     totals.igst.text(), totals.tax.text(), totals.net.text()}
                                             .join(','),
                          QString(),
                          "Total Invoices," + QString::number(totals.invoices),
                          "Total Net Amount," + totals.net.text(),
                          QString(),
                          "Printed on:," + csvField(head.printedAt.toString("dd-MM-yyyy hh:mm AP"))};
    profile.totalsFormed = totals.isValid();
    profile.emptyMessage = CsvMessage{QMessageBox::Warning, "Error", "No invoices to export!", false};
    profile.failureMessage = CsvMessages::couldNotSaveFile();
    profile.successMessage = std::nullopt;
    return profile;
}

QList<QStringList> gstStatementRows(const QList<InvoiceListRow> &rows)
{
    QList<QStringList> lines;
    lines.reserve(rows.size());
    int serial = 0;
    for (const InvoiceListRow &row : rows) {
        lines.append({QString::number(++serial),
                      row.cancelled ? row.invoiceNoFull + " (CANCELLED)" : row.invoiceNoFull,
                      storedDateText(row.invoiceDate), row.customerName, row.gstNo, amountText(row.subTotal),
                      amountText(row.cgst), amountText(row.sgst), amountText(row.igst), row.taxValue().text(),
                      amountText(row.grandTotal)});
    }
    return lines;
}
