#include "purchasewindow.h"
#include "ui_purchasewindow.h"

PurchaseWindow::PurchaseWindow(QWidget *parent)
    : QMainWindow(parent)
    , ui(new Ui::PurchaseWindow)
{
    ui->setupUi(this);
    showMaximized();
}

PurchaseWindow::~PurchaseWindow()
{
    delete ui;
}
