#pragma once
// The customers table as the customer master reads and writes it.

#include <QList>
#include <QString>
#include <QStringList>

struct CustomerRow
{
    int id = 0;
    QString name, address1, address2, gstNo, type, phone, email;
};

// What the form stores for one customer.
struct CustomerFields
{
    QString name, address1, address2, gstNo, type, phone, email, vendorId;
};

// The fields as stored: every text trimmed, the vendor id upper-cased.
CustomerFields storedCustomerFields(CustomerFields fields);

// Every customer name, by name.
QStringList customerNames();

// The customers with exactly this name, or all of them for an empty filter, by name.
QList<CustomerRow> findCustomers(const QString &name);

// Looks for another customer with the same name, or the same non-empty GST
// number, in any letter case. `excludeId` is the customer being updated (-1 when
// adding). On a hit fills `existing` (id, name and GST number) and returns true.
bool findDuplicateCustomer(const QString &name, const QString &gstNo, int excludeId, CustomerRow *existing);

bool insertCustomer(const CustomerFields &fields, QString *error);
// Update and delete write the listed customer only while it is still stored
// (and, for delete, while nothing names it): otherwise false, nothing
// written, and the reason in `error`.
bool updateCustomer(int id, const CustomerFields &fields, QString *error);
bool deleteCustomer(int id, QString *error);

// The stored vendor id (empty when none).
QString customerVendorId(int id);

// Why the customer cannot be deleted: it has items, or documents ("Inward
// Entries", ...) still name it; empty when it can.
QString customerDeletionRefusal(int id);
