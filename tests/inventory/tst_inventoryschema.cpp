#include "support/testenvironment.h"
#include "support/salesdata.h"

#include "inventory/inventoryschema.h"

#include <QtTest>

using testdata::exec;
using testdata::rows;

class TestInventorySchema : public QObject
{
    Q_OBJECT

private slots:
    void olderRegisterGainsPhoneAndMinimumKeepingItsRows()
    {
        TestEnvironment env;
        QVERIFY(env.openDatabase());
        exec("CREATE TABLE inventory_items (item_id INTEGER PRIMARY KEY AUTOINCREMENT, category TEXT, "
             "supplier_name TEXT, item_name TEXT, opening_stock REAL DEFAULT 0, stock_addition REAL DEFAULT 0, "
             "stock_reduction REAL DEFAULT 0, balance_stock REAL DEFAULT 0, uom TEXT, last_updated TEXT)");
        exec("INSERT INTO inventory_items (category, supplier_name, item_name, opening_stock, balance_stock, uom) "
             "VALUES ('Packing', 'ACME', 'Carton', 12, 12, 'nos')");

        createStockTables();

        QCOMPARE(rows("SELECT name FROM pragma_table_info('inventory_items')").mid(10),
                 QStringList({"supplier_phone", "min_stock"}));
        QCOMPARE(rows("SELECT item_name, balance_stock, supplier_phone IS NULL, min_stock FROM inventory_items"),
                 QStringList{"Carton|12|1|0"});
        QVERIFY(env.desktop.messages.isEmpty());
    }

    void reportAndRequestFormsCreateOnlyTheirTables()
    {
        TestEnvironment env;
        QVERIFY(env.openDatabase());
        const QString tables = "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%' "
                               "ORDER BY name";
        createStockMovementTable();
        QCOMPARE(rows(tables), QStringList{"inventory_transactions"});

        createMaterialRequestTable();
        QCOMPARE(rows("SELECT name FROM pragma_table_info('purchase_orders')"),
                 QStringList({"po_id", "po_number", "po_date", "supplier_name", "supplier_phone", "item_name",
                              "category", "order_qty", "uom", "status"}));
        exec("INSERT INTO purchase_orders (po_number, item_name) VALUES ('MR/26-27/001', 'GLOVES')");
        QCOMPARE(rows("SELECT status FROM purchase_orders"), QStringList{"Pending"});
        QCOMPARE(rows(tables), QStringList({"inventory_transactions", "purchase_orders"}));
    }
};

QTEST_MAIN(TestInventorySchema)
#include "tst_inventoryschema.moc"
