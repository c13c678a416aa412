#pragma once
// Payment history: the customer payment rows of a period, the rows of one
// payment grouped under its total, the days each invoice took to be paid,
// the period's totals; ticked rows can be deleted (their invoices are pending
// again), and the list prints as the payment statement.

#include "core/listformat.h"
#include "invoicing/paymentstore.h"
#include "widgets/tablefill.h"

#include <QHash>
#include <QList>
#include <QSqlDatabase>
#include <QWidget>

class TickColumn;

QT_BEGIN_NAMESPACE
namespace Ui {
class paymentStatement;
}
QT_END_NAMESPACE

class paymentStatement : public QWidget
{
    Q_OBJECT

public:
    explicit paymentStatement(QWidget *parent = nullptr);
    ~paymentStatement() override;

    // The pay_id of every ticked row, top to bottom, each with its row as
    // the list read it.
    QList<ListedPayment> selectedPaymentIds() const;

public slots:
    void loadPayments();

protected:
    void showEvent(QShowEvent *event) override;

private slots:
    void on_show_btn_clicked();
    void on_reset_btn_clicked();
    void on_delete_btn_clicked();
    void on_print_state_btn_clicked();
    void on_close_btn_clicked();

private:
    void setupTable();
    void loadCustomerCombo();
    void addRow(TableFill &fill, int row, const PaymentHistoryRow &payment, RepeatedTexts<QString> &dates);
    // The cell's text, trimmed; empty when the cell has no item.
    QString cellText(int row, int column) const;

    Ui::paymentStatement *ui;
    TickColumn *ticks = nullptr;
    bool shownOnce = false; // see reloadOnShow
    QHash<int, StoredRow> listed; // the listed payment rows as read, by pay_id
};
