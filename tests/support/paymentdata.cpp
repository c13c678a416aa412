#include "paymentdata.h"

#include "salesdata.h"

#include "core/financialyear.h"

#include <QDate>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace testdata {

bool openWithAcmeAndBolt(TestEnvironment &env)
{
    g_currentFY = "26-27";
    if (!openSalesDatabase(env))
        return false;
    addCustomer("ACME");
    addCustomer("BOLT & SONS <PVT>");
    return true;
}

int addPaymentRow(const PaymentRow &row)
{
    QSqlQuery q;
    q.prepare("INSERT INTO invoice_payments (payment_ref, payment_date, customer_id, invoice_no, paid_amount, "
              "tds_amount, chq_ref, remarks, pay_mode, fy_name) VALUES (?, ?, ?, ?, ?, ?, '', ?, ?, ?)");
    for (const QVariant &v : {QVariant(row.ref), QVariant(row.date), QVariant(row.customerId), QVariant(row.invoiceNo),
                              QVariant(row.paid), QVariant(row.tds), QVariant(row.remarks), QVariant(row.mode),
                              QVariant(row.fy)})
        q.addBindValue(v);
    if (!q.exec())
        qFatal("payment row: %s", qPrintable(q.lastError().text()));
    return q.lastInsertId().toInt();
}

QString daysAgo(int days)
{
    return QDate::currentDate().addDays(-days).toString("yyyy-MM-dd");
}

} // namespace testdata
