#include "invoicedata.h"

#include <QSqlError>
#include <QSqlQuery>

namespace testdata {

namespace {

QSqlQuery runBound(const QString &sql, const QVariantList &values)
{
    QSqlQuery q;
    if (!q.prepare(sql))
        qFatal("invoice data statement failed: %s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
    for (const QVariant &v : values)
        q.addBindValue(v);
    if (!q.exec())
        qFatal("invoice data statement failed: %s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
    return q;
}

} // namespace

int addStoredInvoice(const StoredInvoice &in)
{
    const QString full = in.fullNumber.isEmpty() ? QString("%1/%2").arg(in.no).arg(in.fy) : in.fullNumber;
    return runBound("INSERT INTO invoices (invoice_no, invoice_no_full, invoice_date, customer_id, sub_total, "
                    "cgst_amount, sgst_amount, igst_amount, grand_total, remarks, fy_name, is_deleted, is_abstract, "
                    "abstract_content) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                    {in.no, full, in.date, in.customerId, in.subTotal, in.cgst, in.sgst, in.igst, in.grandTotal,
                     in.remarks, in.fy, in.isDeleted, in.isAbstract, in.abstractContent})
        .lastInsertId()
        .toInt();
}

void addStoredLine(int invoiceId, const StoredLine &line)
{
    runBound("INSERT INTO invoice_items (invoice_id, delivery_no, item_id, invoiced_qty, rate, amount, tax_percent, "
             "fy_name) VALUES (?, ?, ?, ?, ?, ?, ?, ?)",
             {invoiceId, line.deliveryNo, line.itemId, line.qty, line.rate, line.amount, line.taxPercent, line.fy});
}

void setCompany(const QString &name, const QString &address1, const QString &address2, const QString &phone,
                const QString &email, const QString &gstNo, const QString &bankDetails)
{
    runBound("INSERT OR REPLACE INTO company_settings (id, company_name, address_line1, address_line2, phone, email, "
             "gst_no, bank_details) VALUES (1, ?, ?, ?, ?, ?, ?, ?)",
             {name, address1, address2, phone, email, gstNo, bankDetails});
}

} // namespace testdata
