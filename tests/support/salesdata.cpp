#include "salesdata.h"

#include "testenvironment.h"

#include "core/companydb.h"
#include "sales/salesschema.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace testdata {

namespace {

// Prepares `sql` and binds `values` in order.
QSqlQuery run(const QString &sql, const QVariantList &values)
{
    QSqlQuery q;
    if (!q.prepare(sql))
        qFatal("test data statement failed: %s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
    for (const QVariant &v : values)
        q.addBindValue(v);
    if (!q.exec())
        qFatal("test data statement failed: %s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
    return q;
}

int runForId(const QString &sql, const QVariantList &values)
{
    return run(sql, values).lastInsertId().toInt();
}

} // namespace

void createTables()
{
    CompanyDb::createCoreSchema();
    createSalesTables();
}

bool openSalesDatabase(TestEnvironment &env)
{
    if (!env.openDatabase())
        return false;
    createTables();
    return true;
}

void exec(const QString &sql)
{
    run(sql, {});
}

int addCustomer(const QString &name, const CustomerDetails &details)
{
    return runForId("INSERT INTO customers (customer_name, address_line1, address_line2, customer_type, gst_no, phone, "
                    "email, vendor_id) VALUES (?, ?, ?, ?, ?, ?, ?, ?)",
                    {name, details.address1, details.address2, details.type, details.gstNo, details.phone,
                     details.email, details.vendorId});
}

int addItem(int customerId, const QString &code, const QString &name, const QString &uom, double rate,
            double taxPercent)
{
    return runForId("INSERT INTO items (customer_id, item_code, item_name, uom, rate_wo_tax, tax_percent) "
                    "VALUES (?, ?, ?, ?, ?, ?)",
                    {customerId, code, name, uom, rate, taxPercent});
}

int addInward(const Inward &in)
{
    return runForId("INSERT INTO inward_entries (inward_no, inward_no_full, inward_date, customer_id, item_id, dc_no, "
                    "dc_date, po_no, po_date, inward_qty, remarks, fy_name, is_deleted) "
                    "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                    {in.no, QString("%1/%2").arg(in.no).arg(in.fy), in.date, in.customerId, in.itemId, in.dcNo,
                     in.dcDate, in.poNo, in.poDate, in.qty, in.remarks, in.fy, in.isDeleted});
}

int addDelivery(const Delivery &line)
{
    const QString full = line.storedNumber.isEmpty() ? QString("%1/%2").arg(line.no).arg(line.fy) : line.storedNumber;
    return runForId("INSERT INTO delivery_entries (delivery_no, delivery_no_full, delivery_date, inward_no, "
                    "customer_id, item_id, delivery_qty, sac_code, remarks, fy_name, is_deleted) "
                    "VALUES (?, ?, ?, ?, ?, ?, ?, '998873', ?, ?, ?)",
                    {line.no, full, line.date, line.inwardNo, line.customerId, line.itemId, line.qty, line.remarks,
                     line.fy, line.isDeleted});
}

void addBin(int inwardNo, const QString &fy, int itemId, double qty, const QString &type, int customerId)
{
    run("INSERT INTO bins (bin_date, bin_type, inward_no, item_id, customer_id, binned_qty, fy_name) "
        "VALUES ('2026-07-01', ?, ?, ?, ?, ?, ?)",
        {type, inwardNo, itemId, customerId, qty, fy});
}

QString challanLineStatement(int no, int inwardNo, int itemId, double qty, const QString &fy)
{
    return QString("INSERT INTO delivery_entries (delivery_no, delivery_no_full, delivery_date, inward_no, customer_id, "
                   "item_id, delivery_qty, fy_name, is_deleted) VALUES (%1, '%1/%5', '2026-06-05', %2, 1, %3, %4, '%5', 0)")
        .arg(no).arg(inwardNo).arg(itemId).arg(qty).arg(fy);
}

QString dcBinStatement(int inwardNo, int itemId, double qty, const QString &fy)
{
    return QString("INSERT INTO bins (bin_date, bin_type, inward_no, item_id, customer_id, binned_qty, fy_name) "
                   "VALUES ('2026-06-05', 'DC', %1, %2, 1, %3, '%4')").arg(inwardNo).arg(itemId).arg(qty).arg(fy);
}

int addInvoice(const Invoice &in)
{
    return runForId("INSERT INTO invoices (invoice_no, invoice_no_full, invoice_date, customer_id, grand_total, "
                    "fy_name, is_deleted) VALUES (?, ?, ?, ?, ?, ?, ?)",
                    {in.no, QString("%1/%2").arg(in.no).arg(in.fy), in.date, in.customerId, in.grandTotal, in.fy,
                     in.isDeleted});
}

void addInvoiceLine(int invoiceId, int deliveryNo, int itemId, const QString &fy)
{
    run("INSERT INTO invoice_items (invoice_id, delivery_no, item_id, invoiced_qty, rate, amount, tax_percent, "
        "fy_name) VALUES (?, ?, ?, 1, 10, 10, 18, ?)",
        {invoiceId, deliveryNo, itemId, fy});
}

void addInvoiceLine(int invoiceId, int deliveryNo, int itemId, const QString &fy, double qty)
{
    run("INSERT INTO invoice_items (invoice_id, delivery_no, item_id, invoiced_qty, rate, amount, tax_percent, "
        "fy_name) VALUES (?, ?, ?, ?, 10, ?, 18, ?)",
        {invoiceId, deliveryNo, itemId, qty, qty * 10, fy});
}

void addInvoiceBin(int deliveryNo, const QString &fy, int itemId, double qty, int customerId)
{
    run("INSERT INTO bins (bin_date, bin_type, delivery_no, item_id, customer_id, binned_qty, fy_name) "
        "VALUES ('2026-07-01', 'INVOICE', ?, ?, ?, ?, ?)",
        {deliveryNo, itemId, customerId, qty, fy});
}

void addPayment(int invoiceNo, const QString &fy, const QString &date, double paid, double tds,
                const QVariant &customerId)
{
    run("INSERT INTO invoice_payments (payment_date, invoice_no, paid_amount, tds_amount, fy_name, customer_id) "
        "VALUES (?, ?, ?, ?, ?, ?)",
        {date, invoiceNo, paid, tds, fy, customerId});
}

int count(const QString &sql)
{
    return value(sql).toInt();
}

QVariant value(const QString &sql)
{
    QSqlQuery q;
    if (!q.exec(sql))
        qFatal("read-back failed: %s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
    return q.next() ? q.value(0) : QVariant();
}

QStringList rows(const QString &sql)
{
    QSqlQuery q;
    if (!q.exec(sql))
        qFatal("read-back failed: %s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
    QStringList out;
    while (q.next()) {
        QStringList fields;
        for (int c = 0; c < q.record().count(); ++c)
            fields << q.value(c).toString();
        out << fields.join("|");
    }
    return out;
}

} // namespace testdata
