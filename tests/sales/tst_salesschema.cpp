#include "support/recordingdesktop.h"
#include "support/salesdata.h"

#include "sales/salesschema.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

namespace {

QStringList columnsOf(const QString &table)
{
    QStringList names;
    QSqlQuery q("PRAGMA table_info(" + table + ")");
    while (q.next())
        names << q.value(1).toString();
    return names;
}

// The whole schema and every row, to see that a second run changes nothing.
QString databaseDump()
{
    QString dump;
    QSqlQuery master("SELECT name, sql FROM sqlite_master WHERE type = 'table' ORDER BY name");
    while (master.next()) {
        const QString table = master.value(0).toString();
        dump += master.value(1).toString() + "\n";
        QSqlQuery rows("SELECT * FROM " + table);
        while (rows.next()) {
            QStringList cells;
            for (int i = 0; i < rows.record().count(); ++i)
                cells << rows.value(i).toString();
            dump += "  " + cells.join('|') + "\n";
        }
    }
    return dump;
}

bool run(const QString &sql)
{
    QSqlQuery q;
    return q.exec(sql);
}

using testdata::rows;

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

        QSqlQuery indexes("SELECT name FROM sqlite_master WHERE type = 'index' AND sql IS NOT NULL ORDER BY name");
        QStringList indexNames;
        while (indexes.next())
            indexNames << indexes.value(0).toString();
        QCOMPARE(indexNames, QStringList({"idx_delivery_entries_fy_inward", "idx_inward_entries_fy_no"}));
        QVERIFY(env.desktop.messages.isEmpty());
    }

    void secondRunChangesNothing()
    {
        TestEnvironment env;
        QVERIFY(env.openDatabase());
        createSalesTables();
        QVERIFY(run("INSERT INTO customers (customer_name, vendor_id) VALUES ('ACME', 'V1')"));
        QVERIFY(run("INSERT INTO invoices (invoice_no, fy_name) VALUES (1, '26-27')"));
        QVERIFY(run("INSERT INTO invoice_items (invoice_id, item_id) VALUES (1, 4)"));
        QVERIFY(run("INSERT INTO inward_entries (inward_no, fy_name) VALUES (1, '26-27')"));

        const QString before = databaseDump();
        createSalesTables();
        QCOMPARE(databaseDump(), before);
        QVERIFY(env.desktop.messages.isEmpty());
    }

    void olderDatabaseIsMigratedKeepingItsRows()
    {
        TestEnvironment env;
        QVERIFY(env.openDatabase());
        // Tables as an older version left them, each with a row.
        QVERIFY(run("CREATE TABLE customers (customer_id INTEGER PRIMARY KEY AUTOINCREMENT, customer_name TEXT, "
                    "address_line1 TEXT, address_line2 TEXT, customer_type TEXT, gst_no TEXT, phone TEXT, email TEXT)"));
        QVERIFY(run("INSERT INTO customers (customer_name, gst_no) VALUES ('OLD FIRM', '33ABC')"));
        QVERIFY(run("CREATE TABLE inward_entries (inward_id INTEGER PRIMARY KEY AUTOINCREMENT, inward_no INTEGER, "
                    "inward_date TEXT, customer_id INTEGER, item_id INTEGER, dc_no TEXT, inward_qty REAL, remarks TEXT)"));
        QVERIFY(run("INSERT INTO inward_entries (inward_no, inward_date, customer_id, item_id, dc_no, inward_qty) "
                    "VALUES (3, '2025-06-01', 1, 2, 'DC-9', 40)"));
        QVERIFY(run("CREATE TABLE delivery_entries (delivery_id INTEGER PRIMARY KEY AUTOINCREMENT, "
                    "delivery_date TEXT, customer_id INTEGER, item_id INTEGER, dc_no TEXT, delivery_qty REAL)"));
        QVERIFY(run("INSERT INTO delivery_entries (delivery_date, customer_id, item_id, delivery_qty) "
                    "VALUES ('2025-06-05', 1, 2, 15)"));
        QVERIFY(run("CREATE TABLE invoices (invoice_id INTEGER PRIMARY KEY AUTOINCREMENT, invoice_no INTEGER, "
                    "invoice_no_full TEXT, invoice_date TEXT, customer_id INTEGER, sub_total REAL, cgst_amount REAL, "
                    "sgst_amount REAL, igst_amount REAL, grand_total REAL, remarks TEXT, fy_name TEXT, "
                    "is_deleted INTEGER DEFAULT 0)"));
        QVERIFY(run("INSERT INTO invoices (invoice_no, grand_total, fy_name) VALUES (1, 1180, '25-26')"));
        QVERIFY(run("CREATE TABLE bins (bin_id INTEGER PRIMARY KEY AUTOINCREMENT, bin_date TEXT, bin_type TEXT, "
                    "inward_no INTEGER, item_id INTEGER, customer_id INTEGER, binned_qty REAL, fy_name TEXT)"));
        QVERIFY(run("INSERT INTO bins (bin_type, inward_no, binned_qty) VALUES ('DC', 3, 2)"));

        createSalesTables();

        // Each table gains the columns it lacked, at the end; the rows stay, live.
        QCOMPARE(columnsOf("inward_entries").mid(columnsOf("inward_entries").size() - 2),
                 QStringList({"fy_name", "is_deleted"}));
        QCOMPARE(rows("SELECT inward_no, dc_no, inward_qty, fy_name IS NULL, is_deleted, po_no IS NULL "
                      "FROM inward_entries"),
                 QStringList{"3|DC-9|40|1|0|1"});
        QCOMPARE(rows("SELECT customer_name, gst_no, vendor_id IS NULL FROM customers"), QStringList{"OLD FIRM|33ABC|1"});
        QCOMPARE(rows("SELECT delivery_qty, is_deleted FROM delivery_entries"), QStringList{"15|0"});
        QCOMPARE(rows("SELECT grand_total, is_abstract FROM invoices"), QStringList{"1180|0"});
        QCOMPARE(rows("SELECT binned_qty, delivery_no IS NULL FROM bins"), QStringList{"2|1"});
        QVERIFY(env.desktop.messages.isEmpty());
    }

    void invoiceLinesWithoutInvoiceAreRemoved()
    {
        TestEnvironment env;
        QVERIFY(env.openDatabase());
        createSalesTables();
        QVERIFY(run("INSERT INTO invoices (invoice_id, invoice_no, fy_name) VALUES (1, 1, '26-27')"));
        QVERIFY(run("INSERT INTO invoices (invoice_id, invoice_no, fy_name) VALUES (2, 2, '26-27')"));
        QVERIFY(run("INSERT INTO invoice_items (invoice_id, delivery_no, item_id) VALUES (1, 1, 10)"));
        QVERIFY(run("INSERT INTO invoice_items (invoice_id, delivery_no, item_id) VALUES (2, 2, 11)"));
        QVERIFY(run("INSERT INTO invoice_items (invoice_id, delivery_no, item_id) VALUES (2, 3, 12)"));
        QVERIFY(run("DELETE FROM invoices WHERE invoice_id = 2"));

        createSalesTables();
        QCOMPARE(rows("SELECT invoice_id, item_id FROM invoice_items"), QStringList{"1|10"});
    }
};

QTEST_MAIN(TestSalesSchema)
#include "tst_salesschema.moc"
