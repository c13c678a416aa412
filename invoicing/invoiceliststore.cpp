#include "invoiceliststore.h"

#include "core/boundquery.h"
#include "core/financialyear.h"
#include "core/listfilter.h"
#include "core/listformat.h"
#include "invoicing/invoicecorrections.h"

#include <QHash>
#include <QSqlQuery>


void ListedInvoicePayments::addInvoice(int invoiceId, int index)
{
    m_index.insert(invoiceId, index);
}

QString ListedInvoicePayments::statement()
{
    return invoicePaymentsStatement(QString(), QStringLiteral(", v.invoice_id"));
}

bool ListedInvoicePayments::read(const std::function<StoredRow *(int)> &storedOf, QString *error) const
{
    if (m_index.isEmpty())
        return true;
    const int columns = int(InvoicePaymentRowSource.columns.size());
    return forEachRow(
        statement(), {},
        [&](const StatementRow &q) {
            if (const auto found = m_index.constFind(q.integer(columns)); found != m_index.cend())
                storedOf(*found)->addDependent(q, 0, columns);
        },
        error);
}

QString invoiceListStatement(const InvoiceListFilter &filter, QVariantMap *valuesOut)
{
    QVariantMap values{{":fy", filter.currentFy}};
    const QString sql = "SELECT c.customer_name, c.gst_no, " + InvoiceRowSource.columnList("v")
                        + " FROM invoices v JOIN customers c ON v.customer_id = c.customer_id WHERE 1=1 "
                        + customerPeriodConditions({filter.customerId, filter.from, filter.to}, "v", "invoice_date",
                                                   &values);
    *valuesOut = values;
    return sql + "ORDER BY " + fyFirstOrder("v") + ", v.invoice_no DESC";
}

bool queryInvoiceList(const InvoiceListFilter &filter, QList<InvoiceListRow> *rows, QString *error)
{
    rows->clear();
    QVariantMap values;
    const QString sql = invoiceListStatement(filter, &values);
    // The invoice's columns follow the customer's two; what the list shows
    // of them is read from them.
    const int first = 2;
    const int storedColumns = int(InvoiceRowSource.columns.size());
    const auto at = [&](const char *column) { return columnAt(InvoiceRowSource.columns, column, first); };
    const int no = at("invoice_no"), full = at("invoice_no_full"), date = at("invoice_date"),
              subTotal = at("sub_total"), cgst = at("cgst_amount"), sgst = at("sgst_amount"), igst = at("igst_amount"),
              grandTotal = at("grand_total"), deleted = at("is_deleted"), fy = at("fy_name"), id = at("invoice_id");
    ListedInvoicePayments payments;
    const bool read = forEachRow(
        sql, values,
        [&](const StatementRow &q) {
            InvoiceListRow row;
            row.invoiceNo = q.integer(no);
            row.invoiceNoFull = q.text(full);
            row.invoiceDate = q.text(date);
            row.customerName = q.text(0);
            row.gstNo = q.text(1);
            row.subTotal = q.real(subTotal);
            row.cgst = q.real(cgst);
            row.sgst = q.real(sgst);
            row.igst = q.real(igst);
            row.grandTotal = q.real(grandTotal);
            row.cancelled = q.integer(deleted) == 1;
            row.fy = q.text(fy);
            row.invoiceId = q.integer(id);
            row.stored = StoredRow::of(q, first, storedColumns);
            payments.addInvoice(row.invoiceId, int(rows->size()));
            rows->append(std::move(row));
        },
        error);
    if (read && payments.read([&](int index) { return &(*rows)[index].stored; }, error))
        return true;
    rows->clear();
    return false;
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

using RowsAction = bool (*)(int invoiceId, QString *error);

BatchOutcome runBatch(const QList<InvoiceKey> &invoices, RowsAction action, const QString &done,
                      bool refuseWithPayments)
{
    QList<LoadedRow> rows;
    for (const InvoiceKey &key : invoices) {
        LoadedRow row(InvoiceRowSource, key.invoiceId, key.listed, key.shownNo);
        row.changedText = invoiceChangedText(key.shownNo, "Nothing was " + done + "; the list has been reloaded.");
        row.goneText = row.changedText;
        rows.append(row);
    }
    BatchOutcome outcome;
    const RowWrite written = writeLoadedRows(rows, [&](QString *error) {
        if (refuseWithPayments) {
            if (!invoicesWithPayments(invoices, &outcome.withPayments, error))
                return false;
            if (!outcome.withPayments.isEmpty()) {
                outcome.result = BatchResult::HasPayments;
                return false;
            }
        }
        for (const InvoiceKey &key : invoices) {
            if (!action(key.invoiceId, error))
                return false;
        }
        return true;
    });
    outcome.error = written.error;
    if (written.result == ListedWrite::Stale)
        outcome.result = BatchResult::Stale;
    else if (!written.ok() && outcome.result == BatchResult::Done)
        outcome.result = BatchResult::Failed;
    return outcome;
}

} // namespace

BatchOutcome cancelInvoices(const QList<InvoiceKey> &invoices)
{
    return runBatch(invoices, cancelInvoiceRows, "cancelled", false);
}

BatchOutcome deleteInvoices(const QList<InvoiceKey> &invoices)
{
    return runBatch(invoices, deleteInvoiceRows, "deleted", true);
}

CsvExportProfile gstStatementProfile(const GstStatementHead &head, const QList<InvoiceListRow> &rows)
{
    const GstTotals totals = liveTotals(rows);
    CsvExportProfile profile;
    profile.caption = "Export GST Statement";
    profile.defaultName = "GST_Statement_" + head.fy + ".csv";
    profile.filter = "CSV Files (*.csv)";
    profile.titleLines = {csvJoined({head.company.name.toUpper()}),
                          csvJoined({head.company.address1 + ", " + head.company.address2}),
                          csvJoined({"GSTIN: " + head.company.gstNo}),
                          csvJoined({"GST INVOICE STATEMENT"}),
                          csvJoined({"Period: " + head.from + " to " + head.to}),
                          csvJoined({"Financial Year: " + head.fy}),
                          QString()};
    profile.header = csvJoined({"S.No", "Invoice No", "Invoice Date", "Customer Name", "GST No", "Base Amount", "CGST",
                                "SGST", "IGST", "Tax Value", "Net Amount"});
    profile.totalLines = {csvJoined({"TOTAL", QString(), QString(), QString(), QString(), totals.base.text(),
                                     totals.cgst.text(), totals.sgst.text(), totals.igst.text(), totals.tax.text(),
                                     totals.net.text()}),
                          QString(),
                          csvJoined({"Total Invoices", QString::number(totals.invoices)}),
                          csvJoined({"Total Net Amount", totals.net.text()}),
                          QString(),
                          csvJoined({"Printed on:", head.printedAt.toString("dd-MM-yyyy hh:mm AP")})};
    profile.totalsFormed = totals.isValid();
    profile.figureColumns = {{5, "Base Amount"}, {6, "CGST"}, {7, "SGST"}, {8, "IGST"}, {9, "Tax Value"},
                             {10, "Net Amount"}};
    profile.rowName = [](const QStringList &row) { return "Invoice No " + row.value(1); };
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
