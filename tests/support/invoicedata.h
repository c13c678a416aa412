#pragma once
// Whole invoices for the print and list tests: the head with its stored
// totals, lines at their own rates, amounts and tax percents, and the company
// record with its bank details. Every value bound; a failing statement stops
// the test program.

#include <QString>
#include <QVariant>

namespace testdata {

struct StoredInvoice
{
    int no = 1;
    QString fy = "26-27";
    QString date = "2026-07-01";
    int customerId = 1;
    double subTotal = 0;
    double cgst = 0;
    double sgst = 0;
    double igst = 0;
    double grandTotal = 0;
    QString remarks = QString(); // the customer's purchase order number
    QVariant isDeleted = 0;
    int isAbstract = 0;
    QString abstractContent = QString();
    QString fullNumber = QString(); // empty: no + "/" + fy
};

// Returns the invoice_id.
int addStoredInvoice(const StoredInvoice &invoice);

struct StoredLine
{
    int deliveryNo = 0;
    int itemId = 0;
    double qty = 1;
    double rate = 0;
    double amount = 0;
    double taxPercent = 18;
    QString fy = "26-27"; // the line's challan year
};

void addStoredLine(int invoiceId, const StoredLine &line);

// Row 1 of company_settings with these values.
void setCompany(const QString &name, const QString &address1, const QString &address2, const QString &phone,
                const QString &email, const QString &gstNo, const QString &bankDetails);

} // namespace testdata
