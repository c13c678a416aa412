#include "salesschema.h"

#include <QDebug>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

namespace {

const char *const OrphanCleanup = "DELETE FROM invoice_items WHERE invoice_id NOT IN (SELECT invoice_id FROM invoices)";

// In the order they run. Column order in a new database is the CREATE order
// followed by what the ALTERs add.
const char *const Statements[] = {
    "CREATE TABLE IF NOT EXISTS customers (customer_id INTEGER PRIMARY KEY AUTOINCREMENT, customer_name TEXT, "
    "address_line1 TEXT, address_line2 TEXT, customer_type TEXT, gst_no TEXT, phone TEXT, email TEXT)",
    "ALTER TABLE customers ADD COLUMN vendor_id TEXT",
    "CREATE TABLE IF NOT EXISTS items (item_id INTEGER PRIMARY KEY AUTOINCREMENT, customer_id INTEGER, "
    "item_code TEXT, item_name TEXT, drawing_no TEXT, uom TEXT, rate_wo_tax REAL, tax_percent REAL, "
    "FOREIGN KEY (customer_id) REFERENCES customers(customer_id))",
    "CREATE TABLE IF NOT EXISTS inward_entries (inward_id INTEGER PRIMARY KEY AUTOINCREMENT, inward_no INTEGER, "
    "inward_no_full TEXT, inward_date TEXT, customer_id INTEGER, item_id INTEGER, dc_no TEXT, dc_date TEXT, "
    "po_no TEXT, po_date TEXT, inward_qty REAL, remarks TEXT, fy_name TEXT)",
    "ALTER TABLE inward_entries ADD COLUMN inward_no_full TEXT",
    "ALTER TABLE inward_entries ADD COLUMN dc_date TEXT",
    "ALTER TABLE inward_entries ADD COLUMN po_no TEXT",
    "ALTER TABLE inward_entries ADD COLUMN po_date TEXT",
    "ALTER TABLE inward_entries ADD COLUMN fy_name TEXT",
    "ALTER TABLE inward_entries ADD COLUMN is_deleted INTEGER DEFAULT 0",
    "CREATE TABLE IF NOT EXISTS delivery_entries (delivery_id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "delivery_no INTEGER, delivery_no_full TEXT, delivery_date TEXT, inward_no INTEGER, customer_id INTEGER, "
    "item_id INTEGER, dc_no TEXT, delivery_qty REAL, remarks TEXT, fy_name TEXT, is_deleted INTEGER DEFAULT 0)",
    "ALTER TABLE delivery_entries ADD COLUMN delivery_no INTEGER",
    "ALTER TABLE delivery_entries ADD COLUMN delivery_no_full TEXT",
    "ALTER TABLE delivery_entries ADD COLUMN inward_no INTEGER",
    "ALTER TABLE delivery_entries ADD COLUMN fy_name TEXT",
    "ALTER TABLE delivery_entries ADD COLUMN is_deleted INTEGER DEFAULT 0",
    "ALTER TABLE delivery_entries ADD COLUMN sac_code TEXT",
    "ALTER TABLE delivery_entries ADD COLUMN remarks TEXT",
    "CREATE TABLE IF NOT EXISTS invoices (invoice_id INTEGER PRIMARY KEY AUTOINCREMENT, invoice_no INTEGER, "
    "invoice_no_full TEXT, invoice_date TEXT, customer_id INTEGER, sub_total REAL, cgst_amount REAL, "
    "sgst_amount REAL, igst_amount REAL, grand_total REAL, remarks TEXT, fy_name TEXT, is_deleted INTEGER DEFAULT 0)",
    "ALTER TABLE invoices ADD COLUMN is_abstract INTEGER DEFAULT 0",
    "ALTER TABLE invoices ADD COLUMN abstract_content TEXT",
    "CREATE TABLE IF NOT EXISTS invoice_items (inv_item_id INTEGER PRIMARY KEY AUTOINCREMENT, invoice_id INTEGER, "
    "delivery_no INTEGER, item_id INTEGER, invoiced_qty REAL, rate REAL, amount REAL, tax_percent REAL, fy_name TEXT)",
    OrphanCleanup,
    "CREATE TABLE IF NOT EXISTS invoice_payments (pay_id INTEGER PRIMARY KEY AUTOINCREMENT, payment_ref TEXT, "
    "payment_date TEXT, customer_id INTEGER, invoice_no INTEGER, paid_amount REAL, tds_amount REAL, chq_ref TEXT, "
    "remarks TEXT, fy_name TEXT)",
    "ALTER TABLE invoice_payments ADD COLUMN pay_mode TEXT",
    "CREATE TABLE IF NOT EXISTS bins (bin_id INTEGER PRIMARY KEY AUTOINCREMENT, bin_date TEXT, bin_type TEXT, "
    "inward_no INTEGER, delivery_no INTEGER, item_id INTEGER, customer_id INTEGER, binned_qty REAL, fy_name TEXT)",
    "ALTER TABLE bins ADD COLUMN delivery_no INTEGER",
};

// Indexes for the lookups of one document by year and number, made after the
// tables so an older database gains them too.
const char *const Indexes[] = {
    // Loading, rewriting and cancelling an inward entry, and the year's next number.
    "CREATE INDEX IF NOT EXISTS idx_inward_entries_fy_no ON inward_entries (fy_name, inward_no)",
    // The challans that draw on an inward entry.
    "CREATE INDEX IF NOT EXISTS idx_delivery_entries_fy_inward ON delivery_entries (fy_name, inward_no)",
};

} // namespace

void createSalesTables()
{
    QSqlQuery query;
    for (const char *statement : Statements) {
        const bool ok = query.exec(QString::fromLatin1(statement));
        if (!ok && statement == OrphanCleanup)
            qDebug() << "Orphan cleanup failed:" << query.lastError().text();
    }
    for (const char *statement : Indexes)
        query.exec(QString::fromLatin1(statement));
}
