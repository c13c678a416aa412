#pragma once
// The sales dashboard: the financial year's invoice value by month, four
// figures, four short lists, and the WhatsApp summary to the company's own
// phone. Figures are read from invoices, invoice_payments and customers of one
// financial year; an invoice counts while is_deleted is 0.

#include "core/storedsum.h"

#include <QDate>
#include <QList>
#include <QString>
#include <optional>

struct DashboardChart;

struct SalesCustomerAmount
{
    QString name;
    StoredTotal amount;
};

struct SalesCustomerDays
{
    QString name;
    double days = 0;
};

// Each figure is nullopt when its statement returns no row (it failed).
std::optional<int> salesInvoiceCount(const QString &fy);
// Invoice value dated from..to, both inclusive.
std::optional<StoredTotal> salesInvoiceValue(const QString &fy, const QDate &from, const QDate &to);
std::optional<StoredTotal> salesYearValue(const QString &fy);
// What customers still owe on the year's invoices (payments and TDS settle).
std::optional<StoredTotal> salesReceivable(const QString &fy);
// The same for invoices dated more than 60 days ago.
std::optional<StoredTotal> salesUnpaidOver60Days(const QString &fy);
// Up to five customers owing more than 0.005 on invoices older than 60
// days, largest first. Money is summed exactly (core/storedsum.h).
QList<SalesCustomerAmount> salesOverdueCustomers(const QString &fy);
// Up to five customers by invoice value, largest first.
QList<SalesCustomerAmount> salesTopCustomers(const QString &fy);
// Up to five customers by average days from invoice to payment, fastest first.
QList<SalesCustomerDays> salesBestPayers(const QString &fy);

// This month up to today, and the whole previous calendar month.
QDate salesMonthStart(const QDate &today);
QDate salesLastMonthStart(const QDate &today);
QDate salesLastMonthEnd(const QDate &today);

// The texts the cards show.
QString salesCountText(int count);
QString salesMonthsText(StoredTotal thisMonth, StoredTotal lastMonth);
QString salesRupeesText(StoredTotal amount);
QString salesOverdueText(const QList<SalesCustomerAmount> &rows);
QString salesTopCustomersText(const QList<SalesCustomerAmount> &rows);
QString salesBestPayersText(const QList<SalesCustomerDays> &rows);

// The figures of the WhatsApp summary.
struct SalesSummary
{
    int invoiceCount = 0;
    StoredTotal thisMonth;
    StoredTotal lastMonth;
    StoredTotal yearValue;
    StoredTotal receivable;
    QList<SalesCustomerAmount> overdue;
};

SalesSummary loadSalesSummary(const QString &fy, const QDate &today);
QString salesSummaryText(const QString &companyName, const QDate &today, const SalesSummary &summary);

// The monthly chart of a financial year.
DashboardChart salesChart(const QString &fy);

// The dashboard page itself is built, refreshed and sends its summary as
// members of SalesWindow (saleswindow.h).
