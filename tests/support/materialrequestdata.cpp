#include "materialrequestdata.h"

#include "support/salesdata.h"
#include "core/boundquery.h"
#include "inventory/inventoryschema.h"

#include "widgets/tickcolumn.h"

#include <QSqlQuery>
#include <QTableWidget>

namespace stockdata {

namespace {

void run(const QString &sql, const QVariantMap &values)
{
    QSqlQuery q;
    QString error;
    if (!execBound(q, sql, values, &error))
        qFatal("%s: %s", qPrintable(sql), qPrintable(error));
}

} // namespace

bool openInventoryDatabase(TestEnvironment &env)
{
    if (!testdata::openSalesDatabase(env))
        return false;
    createInventoryTables();
    return true;
}

void setCompany(const QString &name, const QString &phone, const QString &address1, const QString &address2)
{
    run("UPDATE company_settings SET company_name = :name, phone = :phone, address_line1 = :a1, "
        "address_line2 = :a2 WHERE id = 1",
        {{":name", name}, {":phone", phone}, {":a1", address1}, {":a2", address2}});
}

int addStockItem(const StockItem &item)
{
    run("INSERT INTO inventory_items (category, supplier_name, item_name, opening_stock, balance_stock, uom, "
        "last_updated, supplier_phone, min_stock) VALUES (:cat, :sup, :name, :bal, :bal, :uom, '2026-01-01', "
        ":phone, :min)",
        {{":cat", item.category}, {":sup", item.supplier}, {":name", item.name}, {":bal", item.balance},
         {":uom", item.uom}, {":phone", item.phone}, {":min", item.minStock}});
    return testdata::count("SELECT MAX(item_id) FROM inventory_items");
}

void addMovement(const Movement &m)
{
    run("INSERT INTO inventory_transactions (item_id, item_name, category, supplier_name, trans_date, trans_type, "
        "quantity, remarks) VALUES (:id, :name, :cat, :sup, :date, :type, :qty, '')",
        {{":id", m.itemId}, {":name", m.itemName}, {":cat", m.category}, {":sup", m.supplier}, {":date", m.date},
         {":type", m.type}, {":qty", m.qty}});
}

void addRequestLine(const RequestLine &l)
{
    run("INSERT INTO purchase_orders (po_number, po_date, supplier_name, supplier_phone, item_name, category, "
        "order_qty, uom, status) VALUES (:po, :date, :sup, :phone, :item, :cat, :qty, :uom, :status)",
        {{":po", l.number}, {":date", l.date}, {":sup", l.supplier}, {":phone", l.phone}, {":item", l.item},
         {":cat", l.category}, {":qty", l.qty}, {":uom", l.uom}, {":status", l.status}});
}

TickColumn *ticks(QTableWidget *table)
{
    auto *column = table->findChild<TickColumn *>();
    if (!column)
        qFatal("no tick column in %s", qPrintable(table->objectName()));
    return column;
}

} // namespace stockdata
