#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QSqlDatabase>

QT_BEGIN_NAMESPACE
namespace Ui {
class SalesWindow;
}
QT_END_NAMESPACE

class QFrame;
class CustomerMaster;
class itemmaster;
class deliveryChallanList;
class generateDC;
class inwardentry;
class inwardHistory;
class despatchdetails;

// The sales module: its menu opens the masters, job work, invoicing and
// receivables forms; its central area is the sales dashboard. Building it
// creates and migrates the sales tables.
class SalesWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit SalesWindow(QWidget *parent = nullptr);
    ~SalesWindow() override;

    // Creates and migrates the sales tables (see salesschema.h); run by the
    // constructor on an open database.
    void createSalesTables();

    // The sales dashboard (salesdashboard.cpp): the page that takes the place
    // of the designer's central widget, built once by the constructor and
    // filled then and by its "⟳ Refresh" button; its "📱 WhatsApp Alert"
    // button sends the summary to the company's own phone.
    void buildDashboard();
    void refreshDashboard();
    void sendWhatsAppAlert();

private slots:
    void on_refresh_btn_clicked();
    void on_actionCustomer_Master_triggered();
    void on_actionItem_Master_triggered();
    void on_actionCreate_Inward_triggered();
    void on_actionView_Inward_triggered();
    void on_actionCreate_Delivery_Challan_triggered();
    void on_actionView_Delivery_Challan_History_triggered();
    void on_actionDespatch_Details_triggered();
    void on_actionGenerate_Invoice_triggered();
    void on_actionInvoice_Form_triggered();
    void on_actionView_Invoice_List_triggered();
    void on_actionPayment_Pending_Details_triggered();
    void on_actionPayment_History_triggered();

private:
    // The dashboard's cards; the page takes them over.
    QFrame *makeStatCard(const QString &title, const QString &objectName, const QString &colour);
    QFrame *makeListCard(const QString &title, const QString &objectName, const QString &colour, const QString &icon);

    Ui::SalesWindow *ui;

    // One kept form per menu entry; the forms have no parent and outlive this window.
    QPointer<CustomerMaster> m_customerMaster;
    QPointer<itemmaster> m_itemMaster;
    QPointer<inwardentry> m_inwardEntry;
    QPointer<inwardHistory> m_inwardHistory;
    QPointer<generateDC> m_generateDC;
    QPointer<deliveryChallanList> m_deliveryChallanList;
    QPointer<QWidget> m_generateInvoices;
    QPointer<QWidget> m_invoiceForm;
    QPointer<QWidget> m_invoiceList;
    QPointer<QWidget> m_paymentFollowUp;
    QPointer<QWidget> m_paymentHistory;
    QPointer<despatchdetails> m_despatchDetails;
};
