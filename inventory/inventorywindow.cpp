#include "inventorywindow.h"
#include "ui_inventorywindow.h"

#include "app/keptwindow.h"
#include "stockentry.h"

InventoryWindow::InventoryWindow(QWidget *parent)
    : QMainWindow(parent)
    , ui(new Ui::InventoryWindow)
{
    ui->setupUi(this);
    showMaximized();
    // The dashboard page takes the place of the designer's central widget.
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

// The material request form, its list and the stock report come later.
void InventoryWindow::on_actionPO_Generation_triggered() {}
void InventoryWindow::on_actionOrder_List_Status_triggered() {}
void InventoryWindow::on_actionStock_Report_triggered() {}

// The dashboard page (low stock and open requests per category, the chart of
// requests by month) is not built yet.
void InventoryWindow::loadDashboard() {}
