#pragma once
// The invoice form: a GST tax invoice made from delivery challans handed
// over by invoice generation, its totals with the GST split and the amount in
// words, saved in one transaction; beside it a mini list of saved invoices
// that loads one back to be printed, rewritten, cancelled or deleted.

#include "invoicing/invoicecorrections.h"

#include <QList>
#include <QSqlDatabase>
#include <QWidget>

struct InvoiceFormLine;
struct InvoiceWrite;

QT_BEGIN_NAMESPACE
namespace Ui {
class invoicesandlist;
}
QT_END_NAMESPACE

class invoicesandlist : public QWidget
{
    Q_OBJECT

public:
    explicit invoicesandlist(QWidget *parent = nullptr);
    ~invoicesandlist() override;

    // The hand-over from invoice generation: the challans (all of year `fy`)
    // and their customer. The name is the list's; the form shows the record's.
    void setDeliveryData(const QList<int> &dcNos, int customerId, const QString &customerName, const QString &fy);

    // Empties the invoice side; number, date, year and bank details stay.
    void clearForm();

    // Rebuilds the mini list; a customer below 1 and an empty date mean no filter.
    void loadInvoiceList(int customerId, const QString &from, const QString &to);

    // Loads a saved invoice into the form (the mini list's "↩ Load Back").
    void loadInvoiceBack(int invoiceNo, const QString &fy);

private slots:
    void on_save_btn_clicked();
    void on_invoice_table_cellChanged(int row, int col);
    void on_print_btn_clicked();
    void on_update_btn_clicked();
    void on_delete_btn_clicked();
    void on_bill_cancel_btn_clicked();
    void on_show_btn_clicked();
    void on_reset_btn_clicked();
    void onInvoiceListContextMenu(const QPoint &pos);
    void on_reset_btn_2_clicked();
    void on_close_btn_clicked();
    void on_abstract_checkbox_stateChanged(int state);

private:
    void setupInvoiceTable();
    void setupListTable();
    void loadCustomerDetails();
    void loadNextInvoiceNo();
    void loadDcItems();
    void calculateTotals();
    void appendLine(const InvoiceFormLine &line);
    void fitItemNames();
    // The invoice as the form shows it, for number `number` of year `fy`.
    InvoiceWrite invoiceFromForm(int number, const QString &fy) const;
    void afterCorrection();

    Ui::invoicesandlist *ui;
    QSqlDatabase m_db;
    QList<int> m_dcNos;
    int m_customerId = -1;
    QString m_customerType;
    int m_loadedInvoiceNo = -1;
    QString m_loadedInvoiceFy;
    // The invoice loaded back as it was read, with its payments and lines:
    // Update, Bill Cancel and Delete act only while it is still exactly so.
    InvoiceAsRead m_loaded;
    bool m_isLoading = false;
    QString m_fyName;

    static bool s_saveInProgress;
};
