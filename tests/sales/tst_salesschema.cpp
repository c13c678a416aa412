#include "support/testenvironment.h"
#include "support/salesdata.h"

#include "sales/salesschema.h"

#include <QtTest>

using testdata::exec;
using testdata::rows;

namespace {

QStringList columnsOf(const QString &table)
{
    return rows("SELECT name FROM pragma_table_info('" + table + "')");
}

// The whole schema and every row, to see that a second run changes nothing.
QStringList databaseDump()
{
    QStringList dump = rows("SELECT name, sql FROM sqlite_master ORDER BY name");
    for (const QString &table : rows("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name"))
        dump += rows("SELECT * FROM " + table);
    return dump;
}

} // namespace

class TestSalesSchema : public QObject
{
    Q_OBJECT

private slots:
    void freshDatabaseGetsEightTablesInColumnOrder()
    {
        TestEnvironment env;
        QVERIFY(env.openDatabase());
        createSalesTables();

        QCOMPARE(columnsOf("customers"),
                 QStringList({"customer_id", "customer_name", "address_line1", "address_line2", "customer_type",
                              "gst_no", "phone", "email", "vendor_id"}));
        QCOMPARE(columnsOf("items"), QStringList({"item_id", "customer_id", "item_code", "item_name", "drawing_no",
                                                  "uom", "rate_wo_tax", "tax_percent"}));
        QCOMPARE(columnsOf("inward_entries"),
                 QStringList({"inward_id", "inward_no", "inward_no_full", "inward_date", "customer_id", "item_id",
                              "dc_no", "dc_date", "po_no", "po_date", "inward_qty", "remarks", "fy_name",
                              "is_deleted"}));
        QCOMPARE(columnsOf("delivery_entries"),
                 QStringList({"delivery_id", "delivery_no", "delivery_no_full", "delivery_date", "inward_no",
                              "customer_id", "item_id", "dc_no", "delivery_qty", "remarks", "fy_name", "is_deleted",
                              "sac_code"}));
        QCOMPARE(columnsOf("invoices"),
                 QStringList({"invoice_id", "invoice_no", "invoice_no_full", "invoice_date", "customer_id",
                              "sub_total", "cgst_amount", "sgst_amount", "igst_amount", "grand_total", "remarks",
                              "fy_name", "is_deleted", "is_abstract", "abstract_content"}));
        QCOMPARE(columnsOf("invoice_items"), QStringList({"inv_item_id", "invoice_id", "delivery_no", "item_id",
                                                          "invoiced_qty", "rate", "amount", "tax_percent", "fy_name"}));
        QCOMPARE(columnsOf("invoice_payments"),
                 QStringList({"pay_id", "payment_ref", "payment_date", "customer_id", "invoice_no", "paid_amount",
                              "tds_amount", "chq_ref", "remarks", "fy_name", "pay_mode"}));
        QCOMPARE(columnsOf("bins"), QStringList({"bin_id", "bin_date", "bin_type", "inward_no", "delivery_no",
                                                 "item_id", "customer_id", "binned_qty", "fy_name"}));
        QCOMPARE(rows("SELECT name FROM sqlite_master WHERE type = 'index' AND sql IS NOT NULL ORDER BY name"),
                 QStringList({"idx_delivery_entries_fy_inward", "idx_inward_entries_fy_no"}));

        // A second run over a database with rows changes nothing.
        exec("INSERT INTO customers (customer_name, vendor_id) VALUES ('ACME', 'V1')");
        exec("INSERT INTO invoices (invoice_no, fy_name) VALUES (1, '26-27')");
        exec("INSERT INTO invoice_items (invoice_id, item_id) VALUES (1, 4)");
        exec("INSERT INTO inward_entries (inward_no, fy_name) VALUES (1, '26-27')");
        const QStringList before = databaseDump();
        createSalesTables();
        QCOMPARE(databaseDump(), before);
        QVERIFY(env.desktop.messages.isEmpty());
    }

    void olderDatabaseIsMigratedKeepingItsRows()
    {
        TestEnvironment env;
        QVERIFY(env.openDatabase());
        // The inward table as an older version left it, with a row.
        exec("CREATE TABLE inward_entries (inward_id INTEGER PRIMARY KEY AUTOINCREMENT, inward_no INTEGER, "
             "inward_date TEXT, customer_id INTEGER, item_id INTEGER, dc_no TEXT, inward_qty REAL, remarks TEXT)");
        exec("INSERT INTO inward_entries (inward_no, inward_date, customer_id, item_id, dc_no, inward_qty) "
             "VALUES (3, '2025-06-01', 1, 2, 'DC-9', 40)");

        createSalesTables();

        // It gains the columns it lacked, at the end; the row stays, live.
        QCOMPARE(columnsOf("inward_entries").mid(8), QStringList({"inward_no_full", "dc_date", "po_no", "po_date",
                                                                  "fy_name", "is_deleted"}));
        QCOMPARE(rows("SELECT inward_no, dc_no, inward_qty, fy_name IS NULL, is_deleted, po_no IS NULL "
                      "FROM inward_entries"),
                 QStringList{"3|DC-9|40|1|0|1"});
    }

    void invoiceLinesWithoutInvoiceAreRemoved()
    {
        TestEnvironment env;
        QVERIFY(env.openDatabase());
        createSalesTables();
        exec("INSERT INTO invoices (invoice_id, invoice_no, fy_name) VALUES (1, 1, '26-27'), (2, 2, '26-27')");
        exec("INSERT INTO invoice_items (invoice_id, delivery_no, item_id) VALUES (1, 1, 10), (2, 2, 11), (2, 3, 12)");
        exec("DELETE FROM invoices WHERE invoice_id = 2");

        createSalesTables();
        QCOMPARE(rows("SELECT invoice_id, item_id FROM invoice_items"), QStringList{"1|10"});
    }
};

QTEST_MAIN(TestSalesSchema)
#include "tst_salesschema.moc"
