#pragma once

#include <QMainWindow>
#include <QPointer>

QT_BEGIN_NAMESPACE
namespace Ui {
class InventoryWindow;
}
QT_END_NAMESPACE

class inventory_stockentry;

// The inventory module: its menu opens the stock register, the monthly stock
// report, the material request form and the request list, each a kept
// top-level form without parent (rebuilt once it has been closed); its central
// page is the inventory dashboard. The window creates every inventory table
// first: its dashboard reads them, and the request list or the request form may
// be opened before the stock register has ever made the item tables.
class InventoryWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit InventoryWindow(QWidget *parent = nullptr);
    ~InventoryWindow() override;

    // The dashboard page: takes the place of the designer's central widget,
    // built once by the constructor; its "⟳ Refresh" button runs
    // loadDashboard, its "📱 WhatsApp Alert" button the stock alert.
    void buildDashboard();

    // Refill one card table of the dashboard, found by its object name.
    void loadLowStockCard(const QString &category, const QString &tableName);
    void loadRequestCard(const QString &category, const QString &tableName);

private slots:
    void on_actionStock_Entries_triggered();
    void on_actionPO_Generation_triggered();
    void on_actionOrder_List_Status_triggered();
    void on_actionStock_Report_triggered();
    // The dashboard is filled at construction and by its Refresh button only.
    void loadDashboard();
    // The stock alert to the company's own phone.
    void sendWhatsAppAlert();

private:
    Ui::InventoryWindow *ui;

    // The forms outlive this window: they have no parent, and a window built
    // anew starts with none of them.
    QPointer<inventory_stockentry> stockEntryWindow;
    QPointer<QWidget> purchaseOrderWindow;
    QPointer<QWidget> poListWindow;
    QPointer<QWidget> stockReportWindow;
};
