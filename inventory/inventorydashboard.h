#pragma once
// The inventory dashboard, the central page of the inventory window: a chart
// of material requests per month over the last twelve months, and per stock
// category a low-stock card and an open-request card. The page knows nothing
// of the window that holds it: the window hands it the two buttons' actions.
// It keeps no pointers: each refresh finds the chart holder and the card
// tables again by object name.

#include <QDate>
#include <QList>
#include <QString>
#include <functional>

class QFrame;
class QMainWindow;
class QWidget;
struct DashboardChart;

// The fixed look of one category on the page.
struct DashboardCategory
{
    QString category;
    QString colour;
    QString lowStockTable; // object name of its low-stock table
    QString requestTable;  // object name of its open-request table
    QString requestTitle;
    QString icon;
};

// The five categories in their order.
QList<DashboardCategory> dashboardCategories();

// The dashboard's cards, without parent (the page takes them over): a
// low-stock card and an open-request card, each holding a three-column table
// named `objectName`.
QFrame *createStockCard(const QString &title, const QString &objectName, const QString &colour);
QFrame *createRequestCard(const QString &title, const QString &objectName, const QString &colour,
                          const QString &icon);

// Builds the page as the window's central widget, in place of the designer's;
// "📱 WhatsApp Alert" runs `sendAlert`, "⟳ Refresh" runs `refresh`.
void buildInventoryDashboard(QMainWindow *window, const std::function<void()> &sendAlert,
                             const std::function<void()> &refresh);

// The chart of distinct request numbers per month up to the month of `today`.
DashboardChart requestChart(const QDate &today);

// Rebuilds the chart and refills every card under `root`.
void loadInventoryDashboard(QWidget *root, const QDate &today = QDate::currentDate());

// Refills one card table, given its category and object name.
using CardLoader = std::function<void(const QString &category, const QString &tableName)>;
// The same, refilling the request cards and then the low-stock cards, each in
// category order, through the given loaders.
void loadInventoryDashboard(QWidget *root, const QDate &today, const CardLoader &loadLowStock,
                            const CardLoader &loadRequest);

// Refill one card table found by object name under `root`.
void loadLowStockCard(QWidget *root, const QString &category, const QString &tableName);
void loadRequestCard(QWidget *root, const QString &category, const QString &tableName);
