#pragma once

#include "purchasestore.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QSqlDatabase>

QT_BEGIN_NAMESPACE
namespace Ui {
class PurchaseWindow;
}
QT_END_NAMESPACE

class QCompleter;
class QFrame;
class paymententryform;
class purchasepaymentstatement;

// The purchase module's window: page 0 the purchase dashboard, page 1 the bill
// entry above the bill list with its edit mode, update, delete and report.
class PurchaseWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit PurchaseWindow(QWidget *parent = nullptr);
    ~PurchaseWindow() override;

    void initDatabase();
    // The purchase dashboard (purchasedashboard.cpp): page 0 of the window,
    // built once by the constructor, filled then, by its "⟳ Refresh" and by
    // Close on the entry page; its "📱 WhatsApp Alert" sends the alert to the
    // company's own phone.
    void buildDashboard();
    void refreshDashboard();
    void sendWhatsAppAlert();
    void resetMainTable();
    void resetEntryRow();
    void loadSupplierLists();
    void loadBills(const QString &company, const QString &from, const QString &to);

    QString entryCellText(int column) const;
    QString mainCellText(int row, int column) const;
    // Refreshes the dashboard (its own "⟳ Refresh" button does the same).
    void on_refresh_dashboard_btn_clicked();


private slots:
    void onMainTableCellChanged(int row, int column);
    void onEnteringTableCellChanged(int row, int column);
    void on_edit_table_btn_clicked();
    void on_update_table_btn_clicked();
    void on_delete_billno_btn_clicked();
    void on_pushButton_clicked();
    void on_save_btn_clicked();
    void on_show_btn_clicked();
    void on_company_show_clicked();
    void on_printexcel_btn_clicked();
    void on_payment_entry_btn_clicked();
    void autoPopulateSupplierDetails();
    void on_actionPurchase_Entry_triggered();
    void on_actionPayment_Entry_triggered();
    void on_actionPayment_Statement_triggered();
    void on_close_btn_clicked();

private:
    // The dashboard's cards; the page takes them over.
    QFrame *makeStatCard(const QString &title, const QString &objectName, const QString &colour);
    QFrame *makeListCard(const QString &title, const QString &objectName, const QString &colour, const QString &icon);

    void fillMainTable(const QList<PurchaseBill> &bills);
    // Edit mode on or off: the table's edit triggers and the label together.
    void setEditMode(bool on);
    // Lists the bills again as the last list load or Show chose them.
    void reloadList();
    void appendBlankMainRow();
    bool readEntryBill(PurchaseBill *bill);
    void clearEntry();

    Ui::PurchaseWindow *ui;
    QString m_reportFrom;
    QString m_reportTo;
    QString m_reportCompany;
    // Each bill of the list, by bill_id, as it was read (or last written):
    // Update Table and Delete change a record only while it is still stored
    // so.
    QHash<int, ListedBill> m_listed;
    // The columns (bit 1 << column) of each listed bill that the user edited
    // since it was read or written: Update Table writes only these bills.
    QHash<int, quint32> m_edited;
    paymententryform *m_paymentForm = nullptr; // opened by the button, a child kept for the run
    QPointer<paymententryform> m_menuPaymentForm;
    QPointer<purchasepaymentstatement> m_statementWindow;
    // The choice of the last list load or Show.
    BillListFilter m_listFilter;
    bool m_editMode = false;
    // While code writes cells, the cell-change handlers stand still.
    bool m_fillingMain = false;
    bool m_fillingEntry = false;
    QCompleter *m_companyCompleter = nullptr;
    QCompleter *m_gstCompleter = nullptr;
};
