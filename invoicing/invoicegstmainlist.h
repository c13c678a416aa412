#pragma once
// "View Invoices": every invoice of a period with its GST split and the
// totals of the live invoices; the ticked invoices are printed (original or
// duplicate), cancelled or deleted together, and the list is exported as the
// GST statement.

#include "invoicing/invoiceliststore.h"

#include <QList>
#include <QWidget>

class TickColumn;

QT_BEGIN_NAMESPACE
namespace Ui {
class invoiceGSTmainList;
}
QT_END_NAMESPACE

class invoiceGSTmainList : public QWidget
{
    Q_OBJECT

public:
    explicit invoiceGSTmainList(QWidget *parent = nullptr);
    ~invoiceGSTmainList() override;

    void loadCustomerCombo();
    // Refills the list and the totals from the filters.
    void loadInvoices();
    // The ticked invoices, top down.
    QList<InvoiceKey> selectedInvoiceNos() const;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private slots:
    void on_show_btn_clicked();
    void on_reset_btn_clicked();
    void on_print_btn_clicked();
    void on_cancel_inv_btn_clicked();
    void on_delete_btn_clicked();
    void on_print_statement_clicked();
    void on_close_btn_clicked();

private:
    void setupTable();
    void resetPeriod();
    void showTotals();
    // A ticked invoice changed since the list was read: says so, reloads.

    Ui::invoiceGSTmainList *ui;
    TickColumn *m_ticks = nullptr;
    QList<InvoiceListRow> m_rows; // what the list shows, row by row
    bool m_shownOnce = false;     // see reloadOnShow
};
