#pragma once
// Payment follow-up: the live invoices of a period that still have money
// outstanding, with how long each has been pending. A payment (amount paid
// plus TDS) of one customer is recorded against the ticked invoices; the
// listed invoices print as the payment pending statement.

#include "core/listedrow.h"
#include "core/money.h"
#include "core/storedsum.h"
#include <QHash>
#include <QSqlDatabase>
#include <QWidget>

class TableFill;
class TickColumn;
struct PendingInvoice;

QT_BEGIN_NAMESPACE
namespace Ui {
class paymentFollowUp;
}
QT_END_NAMESPACE

class paymentFollowUp : public QWidget
{
    Q_OBJECT

public:
    explicit paymentFollowUp(QWidget *parent = nullptr);
    ~paymentFollowUp() override;

public slots:
    void loadPendingInvoices();
    void updateSelectedTotal();

protected:
    void showEvent(QShowEvent *event) override;

private slots:
    void on_show_btn_clicked();
    void on_reset_btn_clicked();
    void on_paid_btn_clicked();
    void on_print_pending_state_btn_clicked();
    void on_goto_pay_state_btn_clicked();
    void on_close_btn_clicked();
    void onCheckboxChanged(int state);

private:
    void setupTable();
    void loadCustomerCombo();
    void addRow(TableFill &fill, int row, const PendingInvoice &invoice, const QDate &today);
    StoredTotal rowBalance(int row) const;

    Ui::paymentFollowUp *ui;
    TickColumn *ticks = nullptr;
    bool shownOnce = false; // see reloadOnShow
    QHash<int, StoredRow> listed; // the listed invoices as read, by invoice_id
};
