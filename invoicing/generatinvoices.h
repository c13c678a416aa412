#pragma once
// Invoice generation: every live delivery challan of every year with what is
// invoiced of it (Pending, Partial, Issued). Ticked challans of one customer
// and one year go to a new invoice form ("Proceed to Invoice") or have their
// open balance closed to bins ("Bin"); the item panel shows the lines of the
// challan under the cursor with their balances.

#include "invoicing/generationstore.h"

#include <QList>
#include <QWidget>

class TickColumn;
class QTableWidgetItem;

QT_BEGIN_NAMESPACE
namespace Ui {
class generatInvoices;
}
QT_END_NAMESPACE

class generatInvoices : public QWidget
{
    Q_OBJECT

public:
    explicit generatInvoices(QWidget *parent = nullptr);
    ~generatInvoices() override;

public slots:
    void loadDeliveryChallans();

protected:
    void showEvent(QShowEvent *event) override;

private slots:
    void on_show_btn_clicked();
    void on_reset_btn_clicked();
    void onCheckboxChanged();
    void on_gen_invoice_table_currentItemChanged(QTableWidgetItem *current, QTableWidgetItem *previous);
    void on_proceed_inv_btn_clicked();
    void on_bin_btn_clicked();
    void on_close_btn_clicked();

private:
    void setupTables();
    void loadCustomerCombo();
    void loadDcItems(int deliveryNo, const QString &fy);
    // The challan of a list row as the list read it.
    const InvoiceChallanRow &listed(int row) const { return m_rows.at(row); }

    Ui::generatInvoices *ui;
    // The list's rows in its order, as read: a Bin acts on a challan only
    // while what stands against it is still so.
    QList<InvoiceChallanRow> m_rows;
    TickColumn *m_ticks = nullptr;
    bool m_shownOnce = false; // see reloadOnShow
};
