#include "heavypurchase.h"

#include "core/transaction.h"
#include "purchase/purchasestore.h"

#include <QDate>
#include <cmath>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

QString benchSupplierName(int index)
{
    static const char *const kinds[] = {"Paints", "Chemicals", "Steel", "Hardware", "Packaging", "Traders", "Industries"};
    return QStringLiteral("Supplier %1 %2").arg(index, 3, 10, QLatin1Char('0')).arg(QLatin1String(kinds[index % 7]));
}

int fillPurchaseData(const PurchaseDataSize &size)
{
    initPurchaseTables();
    QRandomGenerator rng(2627);
    const QDate today = QDate::currentDate();
    QString error;
    int written = 0;
    const bool ok = runInTransaction(
        [&](QString *err) {
            QSqlQuery q;
            q.prepare(QStringLiteral(
                "INSERT INTO purchase_bills (bill_no, bill_date, company_name, gst_no, type, description, quantity, "
                "base_amount, cgst2_5, sgst2_5, cgst6, sgst6, cgst9, sgst9, cgst14, sgst14, bill_total, hsn_code, "
                "payment_status) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
            static const double rates[] = {2.5, 6, 9, 14};
            for (int i = 0; i < size.billsPerYear; ++i) {
                const int supplier = 1 + rng.bounded(size.suppliers);
                const QDate date = today.addDays(-rng.bounded(365));
                const bool credit = rng.bounded(100) < 70;
                const double base = rng.bounded(5000000) / 100.0;
                const int slab = rng.bounded(4);
                const double half = std::round(base * rates[slab]) / 100.0;
                const bool paid = credit && date.daysTo(today) > 60 && rng.bounded(100) < size.paidPercent;
                q.addBindValue(QStringLiteral("SB/%1/%2").arg(supplier).arg(i + 1));
                q.addBindValue(date.toString(QStringLiteral("yyyy-MM-dd")));
                q.addBindValue(benchSupplierName(supplier));
                q.addBindValue(QStringLiteral("27AAACS%1F1Z5").arg(supplier, 4, 10, QLatin1Char('0')));
                q.addBindValue(credit ? QStringLiteral("Credit") : QStringLiteral("Cash"));
                q.addBindValue(QStringLiteral("Material lot %1").arg(rng.bounded(900) + 100));
                q.addBindValue(QString::number(rng.bounded(200) + 1));
                q.addBindValue(base);
                for (int t = 0; t < 4; ++t) {
                    q.addBindValue(t == slab ? half : 0.0);
                    q.addBindValue(t == slab ? half : 0.0);
                }
                q.addBindValue(std::round(base + 2 * half));
                q.addBindValue(QStringLiteral("3208"));
                q.addBindValue(paid ? QStringLiteral("Paid") : QStringLiteral("Unpaid"));
                if (!q.exec()) {
                    *err = q.lastError().text();
                    return false;
                }
                ++written;
            }
            // Each paid bill was paid a month after its date, one payment a bill.
            if (!q.exec(QStringLiteral(
                    "INSERT INTO payment_records (bill_id, payment_date, paid_amount, reference_no, mode_of_payment, "
                    "payment_ref) SELECT bill_id, date(bill_date, '+30 days'), bill_total, 'UTR' || bill_id, 'Neft', "
                    "'RCT-' || bill_id FROM purchase_bills WHERE payment_status = 'Paid'"))) {
                *err = q.lastError().text();
                return false;
            }
            return true;
        },
        &error);
    if (!ok)
        qFatal("purchase bills: %s", qPrintable(error));
    return written;
}
