#include "inventorywindow.h"
#include "ui_inventorywindow.h"

#include "widgets/keptwindow.h"
#include "inventory/inventory_polist.h"
#include "inventory/inventory_purchaseorder.h"
#include "inventory/inventory_stockreport.h"
#include "inventory/inventorydashboard.h"
#include "inventory/inventoryschema.h"
#include "inventory/stockalert.h"
#include "stockentry.h"

#include <QDate>

InventoryWindow::InventoryWindow(QWidget *parent)
    : QMainWindow(parent)
    , ui(new Ui::InventoryWindow)
{
    ui->setupUi(this);
    createInventoryTables();
    // The dashboard page takes the place of the designer's central widget.
    buildDashboard();
    loadDashboard();
    // Maximised only now: the dashboard's minimum width is wider than the
    // designer's window, and growing a maximised window to it un-maximised it.
    showMaximized();
}

InventoryWindow::~InventoryWindow()
{
    delete ui;
}

void InventoryWindow::buildDashboard()
{
    buildInventoryDashboard(this, [this] { sendWhatsAppAlert(); }, [this] { loadDashboard(); });
}

void InventoryWindow::on_actionStock_Entries_triggered()
{
    openKeptWindow(stockEntryWindow, KeptForm::Rebuilt);
}

void InventoryWindow::on_actionPO_Generation_triggered()
{
    openKeptWindow<QWidget>(purchaseOrderWindow, KeptForm::Rebuilt,
                            std::function<QWidget *()>([] { return new inventory_purchaseorder; }));
}

void InventoryWindow::on_actionOrder_List_Status_triggered()
{
    openKeptWindow<QWidget>(poListWindow, KeptForm::Rebuilt,
                            std::function<QWidget *()>([] { return new inventory_polist; }));
}

void InventoryWindow::on_actionStock_Report_triggered()
{
    openKeptWindow<QWidget>(stockReportWindow, KeptForm::Rebuilt,
                            std::function<QWidget *()>([] { return new inventory_stockreport; }));
}

void InventoryWindow::loadDashboard()
{
    loadInventoryDashboard(
        this, QDate::currentDate(),
        [this](const QString &category, const QString &table) { loadLowStockCard(category, table); },
        [this](const QString &category, const QString &table) { loadRequestCard(category, table); });
}

void InventoryWindow::loadLowStockCard(const QString &category, const QString &tableName)
{
    ::loadLowStockCard(this, category, tableName);
}

void InventoryWindow::loadRequestCard(const QString &category, const QString &tableName)
{
    ::loadRequestCard(this, category, tableName);
}

void InventoryWindow::sendWhatsAppAlert()
{
    sendStockAlert(this);
}
