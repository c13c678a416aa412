#pragma once
// Rows of the sales chain written straight into the tables (every value
// bound) for the tests to start from, and small read-backs of what the
// tables hold. A failing statement stops the test program. Every member of
// the row structs has a default, so a brace list may stop after any field.

#include <QString>
#include <QStringList>
#include <QVariant>

class TestEnvironment;

namespace testdata {

// The core and the sales tables on the default connection.
void createTables();

// Opens the environment's database and creates the core and sales tables.
bool openSalesDatabase(TestEnvironment &env);

void exec(const QString &sql);

struct CustomerDetails
{
    QString address1 = QString();
    QString address2 = QString();
    QString gstNo = QString();
    QString phone = QString();
    QString type = "Local Customer";
    QString email = QString();
    QString vendorId = QString();
};

// Returns the customer_id.
int addCustomer(const QString &name, const CustomerDetails &details = {});

// Returns the item_id.
int addItem(int customerId, const QString &code, const QString &name, const QString &uom = "NOS",
            double rate = 10, double taxPercent = 18);

// One line of an inward entry; inward_no_full is no + "/" + fy.
struct Inward
{
    int no = 0;
    QString fy = QString();
    int customerId = 0;
    int itemId = 0;
    double qty = 0;
    QString date = "2026-05-02"; // the inward date
    QString dcNo = "CDC-1";
    QString dcDate = "2026-05-01";
    QString poNo = "PO-1";
    QString remarks = QString();
    QVariant isDeleted = 0;
    QString poDate = "2026-05-01";

    Inward &cancelled()
    {
        isDeleted = 1;
        return *this;
    }
};

// Returns the inward_id.
int addInward(const Inward &line);

// One line of a delivery challan, sac_code "998873".
struct Delivery
{
    int no = 0;
    QString fy = QString();
    int inwardNo = 0;
    int customerId = 0;
    int itemId = 0;
    double qty = 0;
    QString date = "2026-06-01";
    QString remarks = QString();
    QString storedNumber = QString(); // delivery_no_full as typed into an older version; empty: no + "/" + fy
    QVariant isDeleted = 0;

    Delivery &deleted(const QVariant &flag = 1)
    {
        isDeleted = flag;
        return *this;
    }
};

// Returns the delivery_id.
int addDelivery(const Delivery &line);

void addBin(int inwardNo, const QString &fy, int itemId, double qty, const QString &type = "DC", int customerId = 1);

// The same two as statements for another copy to run (writeAsOtherCopy),
// customer 1, dated 2026-06-05: a live line of challan `no` issuing `qty` of
// an inward line, and a "DC" bin closing `qty` of one.
QString challanLineStatement(int no, int inwardNo, int itemId, double qty, const QString &fy = "26-27");
QString dcBinStatement(int inwardNo, int itemId, double qty, const QString &fy = "26-27");

struct Invoice
{
    int no = 0;
    QString fy = QString();
    QString date = "2026-07-01";
    int customerId = 1;
    double grandTotal = 100;
    QVariant isDeleted = 0;
};

// Returns the invoice_id.
int addInvoice(const Invoice &invoice);

// An invoice line billing one line of challan `deliveryNo`.
void addInvoiceLine(int invoiceId, int deliveryNo, int itemId, const QString &fy);
// The same with its quantity (rate 10, amount 10 x qty, tax 18).
void addInvoiceLine(int invoiceId, int deliveryNo, int itemId, const QString &fy, double qty);

// A bins row of type "INVOICE" closing `qty` of an item of challan `deliveryNo`.
void addInvoiceBin(int deliveryNo, const QString &fy, int itemId, double qty, int customerId = 1);

void addPayment(int invoiceNo, const QString &fy, const QString &date, double paid, double tds = 0,
                const QVariant &customerId = QVariant());

// The first field of the first row, as a number.
int count(const QString &sql);

// The first field of the first row; invalid when there is none.
QVariant value(const QString &sql);

// Each row of the result as its fields joined by "|".
QStringList rows(const QString &sql);

} // namespace testdata
