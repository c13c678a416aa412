#include "heavypayments.h"

#include <QDate>
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <QVector>

#include <cmath>
#include <random>

namespace {

struct Invoice
{
    int no = 0;
    QString fy;
    QDate date;
    int customer = 0;
    double total = 0;
};

const char *const Modes[] = {"Cash", "Cheque", "NEFT", "RTGS", "UPI"};

double cents(double value)
{
    return std::round(value * 100) / 100;
}

} // namespace

DataSize heavyReceivablesYears()
{
    DataSize size = heavyYear();
    size.years = QStringList{"25-26", "26-27"};
    size.invoicesPerYear = 5000;
    return size;
}

QString FilledPayments::summary() const
{
    return QString("%1 payment rows in %2 payments, %3 invoices settled (%4 ms)")
        .arg(countText(rows), countText(payments), countText(settledInvoices))
        .arg(ms, 0, 'f', 0);
}

FilledPayments fillPayments(int rows)
{
    QElapsedTimer timer;
    timer.start();
    FilledPayments filled;

    // Each customer's invoices in date order.
    QVector<Invoice> invoices;
    QSqlQuery read;
    if (!read.exec("SELECT invoice_no, fy_name, invoice_date, customer_id, grand_total FROM invoices "
                   "WHERE is_deleted = 0 ORDER BY customer_id, invoice_date, fy_name, invoice_no"))
        qFatal("invoices: %s", qPrintable(read.lastError().text()));
    while (read.next())
        invoices.append({read.value(0).toInt(), read.value(1).toString(),
                         QDate::fromString(read.value(2).toString(), "yyyy-MM-dd"), read.value(3).toInt(),
                         read.value(4).toDouble()});

    std::mt19937 random(20261);
    const auto below = [&random](int n) { return int(random() % unsigned(n)); };

    QSqlDatabase db = QSqlDatabase::database();
    db.transaction();
    QSqlQuery insert;
    insert.prepare("INSERT INTO invoice_payments (payment_ref, payment_date, customer_id, invoice_no, paid_amount, "
                   "tds_amount, chq_ref, remarks, pay_mode, fy_name) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    QDateTime stamp(QDate(2025, 4, 1), QTime(10, 0));

    int i = 0;
    while (i < invoices.size() && filled.rows < rows) {
        // One to three invoices of one customer paid together.
        int chunk = 1 + below(3);
        while (i + chunk > invoices.size() || invoices.at(i + chunk - 1).customer != invoices.at(i).customer)
            --chunk;
        const int instalments = QVector<int>{1, 2, 3, 3, 3}.at(below(5));
        const bool leftOpen = below(4) == 0; // the last instalment never came
        const bool withTds = below(3) == 0;
        QDate last;
        for (int k = 0; k < chunk; ++k)
            last = std::max(last, invoices.at(i + k).date);
        QDate paidOn = last;
        for (int n = 0; n < instalments && filled.rows < rows; ++n) {
            if (leftOpen && n == instalments - 1)
                break;
            paidOn = paidOn.addDays(10 + below(60));
            stamp = stamp.addSecs(60 + below(3600));
            const QString ref = "PAY" + stamp.toString("yyyyMMddhhmmss");
            const QString mode = Modes[below(5)];
            const QString chq = mode == "Cash" ? QString() : QString("REF%1").arg(100000 + below(900000));
            for (int k = 0; k < chunk && filled.rows < rows; ++k) {
                const Invoice &invoice = invoices.at(i + k);
                // The last instalment takes what the others left.
                const double part = cents(invoice.total / instalments);
                const double share = n == instalments - 1 ? cents(invoice.total - part * n) : part;
                const double tds = withTds && n == 0 ? cents(share * 0.02) : 0.0;
                const QVariantList values{ref, paidOn.toString("yyyy-MM-dd"), invoice.customer, invoice.no,
                                          share - tds, tds, chq, n == 0 ? QString("first part") : QString(),
                                          mode, invoice.fy};
                for (int v = 0; v < values.size(); ++v)
                    insert.bindValue(v, values.at(v));
                if (!insert.exec())
                    qFatal("payment: %s", qPrintable(insert.lastError().text()));
                ++filled.rows;
            }
            ++filled.payments;
        }
        if (!leftOpen)
            filled.settledInvoices += chunk;
        i += chunk;
    }
    if (!db.commit())
        qFatal("payments: %s", qPrintable(db.lastError().text()));
    filled.ms = timer.elapsed();
    return filled;
}
