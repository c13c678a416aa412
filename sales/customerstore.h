#pragma once
// The customers table as the customer master reads and writes it.

#include "masterdb.h"

#include "core/listedrow.h"

#include <QList>
#include <QString>
#include <QStringList>

struct CustomerRow
{
    int id = 0;
    QString name, address1, address2, gstNo, type, phone, email;
    // Every column of the customer as the list read it.
    StoredRow stored;
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

// "Customer <name>", the name cut to about 40 characters: how a refusal
// names a listed customer.
QString customerRowName(const CustomerRow &row);

// Add and update look, once they hold the write lock, for another customer
// with the same name, or the same non-empty GST number, in any letter case:
// on a hit they write nothing, give Duplicate and fill `existing` (id, name
// and GST number). Update writes the listed customer `loaded` only while it
// is still stored exactly as the list read it: otherwise Stale, with the
// reason and how to go on in `error`. Failed gives the reason in `error`.
MasterWrite insertCustomer(const CustomerFields &fields, CustomerRow *existing, QString *error);
MasterWrite updateCustomer(const CustomerRow &loaded, const CustomerFields &fields, CustomerRow *existing,
                           QString *error);
// Delete removes the listed customer only while it is still stored exactly
// as the list read it and nothing names it: otherwise false, nothing
// written, and the reason (and how to go on) in `error`.
bool deleteCustomer(const CustomerRow &loaded, QString *error);

// The stored vendor id (empty when none).
QString customerVendorId(int id);

// Why the customer cannot be deleted: it has items, or documents ("Inward
// Entries", ...) still name it; empty when it can.
QString customerDeletionRefusal(int id);
