#include "inventorywindow.h"
#include "ui_inventorywindow.h"

#include "app/keptwindow.h"
#include "inventory/inventory_polist.h"
#include "inventory/inventory_purchaseorder.h"
#include "inventory/inventory_stockreport.h"
#include "inventory/inventorydashboard.h"
#include "inventory/inventoryschema.h"
#include "inventory/stockalert.h"
#include "stockentry.h"

#include <QEvent>

InventoryWindow::InventoryWindow(QWidget *parent)
    : QMainWindow(parent)
    , ui(new Ui::InventoryWindow)
{
    ui->setupUi(this);
    createInventoryTables();
    // The dashboard page takes the place of the designer's central widget.
    buildInventoryDashboard(this, [this] { sendStockAlert(this); }, [this] { loadDashboard(); });
    loadDashboard();
    // Maximised only now: the dashboard's minimum width is wider than the
    // designer's window, and growing a maximised window to it un-maximised it.
    showMaximized();
}

InventoryWindow::~InventoryWindow()
{
    delete ui;
}

bool InventoryWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Hide && !event->spontaneous() && isVisible())
        loadDashboard();
    return QMainWindow::eventFilter(watched, event);
}

// Stock moved, items added or removed and requests written or settled in the
// form show on the dashboard once the form is closed.
void InventoryWindow::watch(QWidget *form)
{
    if (form)
        form->installEventFilter(this);
}

void InventoryWindow::on_actionStock_Entries_triggered()
{
    watch(openKeptWindow(stockEntryWindow, KeptForm::Rebuilt));
}

void InventoryWindow::on_actionPO_Generation_triggered()
{
    watch(openKeptWindow<QWidget>(purchaseOrderWindow, KeptForm::Rebuilt,
                            std::function<QWidget *()>([] { return new inventory_purchaseorder; })));
}

void InventoryWindow::on_actionOrder_List_Status_triggered()
{
    watch(openKeptWindow<QWidget>(poListWindow, KeptForm::Rebuilt,
                            std::function<QWidget *()>([] { return new inventory_polist; })));
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
