#include "heavyinvoices.h"

#include "core/transaction.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

DataSize heavyInvoicingYears()
{
    DataSize size = heavyYear();
    size.years = QStringList{"25-26", "26-27"};
    size.challansPerYear = 7500;
    size.invoicesPerYear = 5000;
    return size;
}

int addLongChallan(const DataSize &size, int deliveryNo, const QString &fy, int lines)
{
    int written = 0;
    QString error;
    const bool ok = runInTransaction(
        [&](QString *e) {
            QSqlQuery q;
            q.prepare("INSERT INTO delivery_entries (delivery_no, delivery_no_full, delivery_date, inward_no, "
                      "customer_id, item_id, delivery_qty, sac_code, fy_name, is_deleted) "
                      "VALUES (?, ?, '2027-03-30', 1, 1, ?, ?, '998873', ?, 0)");
            for (int l = 0; l < lines; ++l) {
                q.addBindValue(deliveryNo);
                q.addBindValue(QString("%1/%2").arg(deliveryNo).arg(fy));
                q.addBindValue(itemId(size, 1, l % size.itemsPerCustomer + 1));
                q.addBindValue(1.5 + l);
                q.addBindValue(fy);
                if (!q.exec()) {
                    *e = q.lastError().text();
                    return false;
                }
                ++written;
            }
            return true;
        },
        &error);
    if (!ok)
        qFatal("long challan: %s", qPrintable(error));
    return written;
}
