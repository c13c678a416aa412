#include "customerstore.h"

#include "core/boundquery.h"
#include "core/listedrow.h"
#include "masterdb.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>


namespace {

// Every column of a customer as stored, the listed ones first in the
// list's order: the list reads them once and keeps their digest.
const RowSource CustomerSource{QStringLiteral("customers"),
                               QStringLiteral("customer_id"),
                               {QStringLiteral("customer_id"), QStringLiteral("customer_name"),
                                QStringLiteral("address_line1"), QStringLiteral("address_line2"),
                                QStringLiteral("gst_no"), QStringLiteral("customer_type"), QStringLiteral("phone"),
                                QStringLiteral("email"), QStringLiteral("vendor_id")},
                               QString()};

QVariantMap fieldValues(const CustomerFields &f, const QString &address1Key, const QString &address2Key)
{
    return {{":name", f.name}, {address1Key, f.address1}, {address2Key, f.address2}, {":gst", f.gstNo},
            {":type", f.type}, {":phone", f.phone}, {":email", f.email}, {":vendor", f.vendorId}};
}

// Another customer than `excludeId` (-1: none) with the name, or the
// non-empty GST number, in any letter case; a query that fails finds none.
bool findDuplicateCustomer(const QString &name, const QString &gstNo, int excludeId, CustomerRow *existing)
{
    QSqlQuery q;
    if (excludeId < 0) {
        q.prepare("SELECT customer_id, customer_name, gst_no FROM customers "
                  "WHERE UPPER(customer_name) = :name OR (gst_no != '' AND UPPER(gst_no) = :gst)");
    } else {
        q.prepare("SELECT customer_id, customer_name, gst_no FROM customers "
                  "WHERE (UPPER(customer_name) = :name OR (gst_no != '' AND UPPER(gst_no) = :gst)) "
                  "AND customer_id != :id");
        q.bindValue(":id", excludeId);
    }
    q.bindValue(":name", name.trimmed().toUpper());
    q.bindValue(":gst", gstNo.trimmed().toUpper());
    if (!q.exec() || !q.next())
        return false;
    if (existing) {
        existing->id = q.value(0).toInt();
        existing->name = q.value(1).toString();
        existing->gstNo = q.value(2).toString();
    }
    return true;
}

// Runs `sql` while the `listed` rows are as loaded, unless another customer
// than `excludeId` has the name or GST number by then.
MasterWrite writeUnlessDuplicate(const CustomerFields &fields, int excludeId, CustomerRow *existing, QString *error,
                                 const QList<LoadedRow> &listed, const QString &sql, const QVariantMap &values)
{
    return writeMasterRow(
        listed,
        [&](bool *duplicate, QString *failure) {
            *duplicate = findDuplicateCustomer(fields.name, fields.gstNo, excludeId, existing);
            QSqlQuery q;
            return !*duplicate && execBound(q, sql, values, failure);
        },
        error);
}

} // namespace

CustomerFields storedCustomerFields(CustomerFields f)
{
    f.name = f.name.trimmed();
    f.address1 = f.address1.trimmed();
    f.address2 = f.address2.trimmed();
    f.gstNo = f.gstNo.trimmed();
    f.phone = f.phone.trimmed();
    f.email = f.email.trimmed();
    f.vendorId = f.vendorId.trimmed().toUpper();
    return f;
}

QStringList customerNames()
{
    QStringList names;
    QSqlQuery q;
    if (q.exec("SELECT customer_name FROM customers ORDER BY customer_name ASC")) {
        while (q.next())
            names << q.value(0).toString();
    }
    return names;
}

QList<CustomerRow> findCustomers(const QString &name)
{
    QString sql = QStringLiteral("SELECT ") + CustomerSource.columnList() + QStringLiteral(" FROM customers ");
    QVariantMap values;
    if (!name.isEmpty()) {
        sql += QStringLiteral("WHERE customer_name = :name ");
        values.insert(QStringLiteral(":name"), name);
    }
    sql += QStringLiteral("ORDER BY customer_name ASC");
    QList<CustomerRow> rows;
    const int columns = int(CustomerSource.columns.size());
    forEachRow(sql, values, [&](const StatementRow &q) {
        CustomerRow r;
        r.id = q.integer(0);
        r.name = q.text(1);
        r.address1 = q.text(2);
        r.address2 = q.text(3);
        r.gstNo = q.text(4);
        r.type = q.text(5);
        r.phone = q.text(6);
        r.email = q.text(7);
        r.stored = StoredRow::of(q, 0, columns);
        rows.append(r);
    });
    return rows;
}

QString customerRowName(const CustomerRow &row)
{
    return QStringLiteral("Customer ") + shortRowName(row.name);
}

MasterWrite insertCustomer(const CustomerFields &fields, CustomerRow *existing, QString *error)
{
    return writeUnlessDuplicate(fields, -1, existing, error, {},
                                "INSERT INTO customers (customer_name, address_line1, address_line2, gst_no, "
                                "customer_type, phone, email, vendor_id) VALUES (:name, :address_line1, "
                                ":address_line2, :gst, :type, :phone, :email, :vendor)",
                                fieldValues(fields, ":address_line1", ":address_line2"));
}

MasterWrite updateCustomer(const CustomerRow &loaded, const CustomerFields &fields, CustomerRow *existing,
                           QString *error)
{
    QVariantMap values = fieldValues(fields, ":address_1", ":address_2");
    values.insert(":id", loaded.id);
    // The form leaves the edit with what was typed still in the fields.
    return writeUnlessDuplicate(
        fields, loaded.id, existing, error,
        {masterUpdateRow(CustomerSource, loaded.id, loaded.stored, customerRowName(loaded), "customer")},
        "UPDATE customers SET customer_name = :name, address_line1 = :address_1, address_line2 = :address_2, "
        "gst_no = :gst, customer_type = :type, phone = :phone, email = :email, vendor_id = :vendor "
        "WHERE customer_id = :id",
        values);
}

bool deleteCustomer(const CustomerRow &loaded, QString *error)
{
    // Items or documents may have come to name the customer since the form looked.
    const int id = loaded.id;
    return deleteMasterRow(CustomerSource, id, loaded.stored, customerRowName(loaded), "customer",
                           "DELETE FROM customers WHERE customer_id = :id",
                           [id] { return customerDeletionRefusal(id); }, error);
}

QString customerVendorId(int id)
{
    QSqlQuery q;
    q.prepare("SELECT vendor_id FROM customers WHERE customer_id = :id");
    q.bindValue(":id", id);
    if (q.exec() && q.next())
        return q.value(0).toString();
    return QString();
}

QString customerDeletionRefusal(int id)
{
    QSqlQuery q;
    q.prepare("SELECT COUNT(*) FROM items WHERE customer_id = :id");
    q.bindValue(":id", id);
    if (q.exec() && q.next() && q.value(0).toInt() > 0)
        return "This customer has items linked to Items!\nPlease delete the items first.";
    // Documents join their customer: deleting it would drop them from every list and print.
    const QStringList uses = documentsUsing("customer_id", id,
                                            {{"inward_entries", "Inward Entries"},
                                             {"delivery_entries", "Delivery Challans"},
                                             {"invoices", "Invoices"},
                                             {"invoice_payments", "Payments"}});
    return uses.isEmpty() ? QString() : stillUsedText("This customer", uses);
}
