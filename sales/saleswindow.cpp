#include "saleswindow.h"
#include "ui_saleswindow.h"

#include "output/desktop.h"
#include "widgets/keptwindow.h"
#include "customermaster.h"
#include "invoicing/generatinvoices.h"
#include "invoicing/invoicegstmainlist.h"
#include "invoicing/invoicesandlist.h"
#include "invoicing/paymentfollowup.h"
#include "invoicing/paymentstatement.h"
#include "itemmaster.h"
#include "jobwork/deliverychallanlist.h"
#include "jobwork/despatchdetails.h"
#include "jobwork/generatedc.h"
#include "jobwork/inwardentry.h"
#include "jobwork/inwardhistory.h"
#include "salesschema.h"

#include <QSqlDatabase>

SalesWindow::SalesWindow(QWidget *parent)
    : QMainWindow(parent)
    , ui(new Ui::SalesWindow)
{
    ui->setupUi(this);
    setWindowTitle("Sales Module - Job Work Management");
    showMaximized();

    if (QSqlDatabase::database().isOpen()) {
        createSalesTables();
        // Filled here and again only by its Refresh button.
        buildDashboard();
        refreshDashboard();
    } else {
        Desktop::critical(this, "DB Error", "Database connection not available!");
    }
}

SalesWindow::~SalesWindow()
{
    delete ui;
}

void SalesWindow::createSalesTables()
{
    ::createSalesTables();
}

// The designer's central widget holds only this Refresh button, shown while
// no dashboard has taken its place (a window without a database).
void SalesWindow::on_refresh_btn_clicked()
{
    refreshDashboard();
}

void SalesWindow::on_actionCustomer_Master_triggered()
{
    openKeptWindow(m_customerMaster, KeptForm::Rebuilt);
}

void SalesWindow::on_actionItem_Master_triggered()
{
    openKeptWindow(m_itemMaster, KeptForm::Rebuilt);
}

void SalesWindow::on_actionCreate_Inward_triggered()
{
    openKeptWindow(m_inwardEntry, KeptForm::Rebuilt);
}

void SalesWindow::on_actionView_Inward_triggered()
{
    openKeptWindow(m_inwardHistory, KeptForm::Rebuilt);
}

void SalesWindow::on_actionCreate_Delivery_Challan_triggered()
{
    openKeptWindow(m_generateDC, KeptForm::Rebuilt);
}

void SalesWindow::on_actionView_Delivery_Challan_History_triggered()
{
    openKeptWindow(m_deliveryChallanList, KeptForm::Rebuilt);
}

void SalesWindow::on_actionDespatch_Details_triggered()
{
    openKeptWindow(m_despatchDetails, KeptForm::Rebuilt);
}

void SalesWindow::on_actionGenerate_Invoice_triggered()
{
    openKeptWindow<QWidget>(m_generateInvoices, KeptForm::Rebuilt, [] { return new generatInvoices; });
}

void SalesWindow::on_actionInvoice_Form_triggered()
{
    openKeptWindow<QWidget>(m_invoiceForm, KeptForm::Rebuilt, [] { return new invoicesandlist; });
}

void SalesWindow::on_actionView_Invoice_List_triggered()
{
    openKeptWindow<QWidget>(m_invoiceList, KeptForm::Rebuilt, [] { return new invoiceGSTmainList; });
}

void SalesWindow::on_actionPayment_Pending_Details_triggered()
{
    openKeptWindow<QWidget>(m_paymentFollowUp, KeptForm::Rebuilt, [] { return new paymentFollowUp; });
}

void SalesWindow::on_actionPayment_History_triggered()
{
    openKeptWindow<QWidget>(m_paymentHistory, KeptForm::Rebuilt, [] { return new paymentStatement; });
}
