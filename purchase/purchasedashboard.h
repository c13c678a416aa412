#pragma once
// The purchase dashboard: credit purchases of the last twelve months, the
// debt to suppliers and three short lists, and the WhatsApp alert to the
// company's own phone. Only credit bills count (type "credit" in any letter
// case); a bill is unpaid while payment_status is NULL or 'Unpaid'. Bill
// totals are summed exactly (core/storedsum.h).

#include "core/storedsum.h"

#include <QDate>
#include <QList>
#include <QPair>
#include <QString>
#include <QVariantMap>
#include <optional>

struct DashboardChart;

struct SupplierAmount
{
    QString name;
    StoredTotal amount;
    double days = 0; // overdue list only: the oldest unpaid bill's age
};

// Credit purchases dated from..to, both inclusive; nullopt when it failed.
std::optional<StoredTotal> purchaseMonthSum(const QDate &from, const QDate &to);
std::optional<int> unpaidBillCount();
std::optional<StoredTotal> supplierDebt();
// Up to five suppliers, largest total first.
QList<SupplierAmount> topSuppliers();
QList<SupplierAmount> unpaidSuppliers();
// Suppliers with unpaid bills older than 30 days.
QList<SupplierAmount> overdueSuppliers();

// The texts the cards show.
QString topSuppliersText(const QList<SupplierAmount> &rows);
QString unpaidSuppliersText(const QList<SupplierAmount> &rows);
QString overdueSuppliersText(const QList<SupplierAmount> &rows);

// The figures of the alert.
struct PurchaseSummary
{
    StoredTotal thisMonth;
    StoredTotal lastMonth;
    StoredTotal debt;
    QList<SupplierAmount> unpaid;
    QList<SupplierAmount> overdue;
};
PurchaseSummary loadPurchaseSummary(const QDate &today);
// The alert text; nullopt when no supplier is unpaid or overdue.
std::optional<QString> purchaseAlertText(const QString &companyName, const QDate &today, const PurchaseSummary &s);

// Every statement the dashboard runs for `today` (bars, then cards), with the
// values it binds.
QList<QPair<QString, QVariantMap>> purchaseDashboardStatements(const QDate &today);

// The twelve monthly bars up to the month of `today`.
DashboardChart purchaseChart(const QDate &today);

// The dashboard page itself is built, refreshed and sends its alert as
// members of PurchaseWindow (purchasewindow.h).
