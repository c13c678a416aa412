#include "purchasedata.h"

#include "testenvironment.h"

#include "core/boundquery.h"
#include "core/companydb.h"
#include "core/listedrow.h"
#include "purchase/purchasestore.h"

#include <QDate>
#include <QSqlQuery>

namespace testdata {

bool openPurchaseDatabase(TestEnvironment &env)
{
    if (!env.openDatabase())
        return false;
    CompanyDb::createCoreSchema();
    initPurchaseTables();
    return true;
}

int addBill(const Bill &bill)
{
    QSqlQuery q;
    QString error;
    if (!execBound(q,
                   "INSERT INTO purchase_bills (bill_no, bill_date, company_name, gst_no, type, description, quantity, "
                   "base_amount, cgst2_5, sgst2_5, cgst6, sgst6, cgst9, sgst9, cgst14, sgst14, bill_total, hsn_code, "
                   "payment_status) VALUES (:no, :date, :company, '', :type, :description, :quantity, :base, 0, 0, 0, "
                   "0, 0, 0, 0, 0, :total, '', :status)",
                   {{":no", bill.billNo},
                    {":date", bill.date},
                    {":company", bill.company},
                    {":type", bill.type},
                    {":description", bill.description},
                    {":quantity", bill.quantity},
                    {":base", bill.base == 0 ? bill.total : bill.base},
                    {":total", bill.total},
                    {":status", bill.status}},
                   &error))
        qFatal("addBill: %s", qPrintable(error));
    return q.lastInsertId().toInt();
}

UnpaidBill listedBill(int billId)
{
    UnpaidBill bill;
    bill.billId = billId;
    QSqlQuery q;
    if (execBound(q, "SELECT bill_no FROM purchase_bills WHERE bill_id = :id", {{":id", billId}}) && q.next())
        bill.billNo = q.value(0).toString();
    readStoredRow(purchaseBillSource(), billId, &bill.stored);
    return bill;
}

QString isoDaysFromToday(int days)
{
    return QDate::currentDate().addDays(days).toString("yyyy-MM-dd");
}

} // namespace testdata
