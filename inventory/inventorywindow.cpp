#include "inventorywindow.h"
#include "ui_inventorywindow.h"

#include "app/keptwindow.h"
#include "inventory/inventory_polist.h"
#include "inventory/inventory_purchaseorder.h"
#include "inventory/inventory_stockreport.h"
#include "inventory/inventorydashboard.h"
#include "inventory/stockalert.h"
#include "stockentry.h"

InventoryWindow::InventoryWindow(QWidget *parent)
    : QMainWindow(parent)
    , ui(new Ui::InventoryWindow)
{
    ui->setupUi(this);
    showMaximized();
    // The dashboard page takes the place of the designer's central widget.
    buildInventoryDashboard(this, [this] { sendStockAlert(this); }, [this] { loadDashboard(); });
    loadDashboard();
}

InventoryWindow::~InventoryWindow()
{
    delete ui;
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
    loadInventoryDashboard(this);
}
