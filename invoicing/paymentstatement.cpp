#include "paymentstatement.h"
#include "ui_paymentstatement.h"

#include "core/listedrow.h"
#include "core/listformat.h"
#include "output/desktop.h"
#include "widgets/formconventions.h"
#include "widgets/formstyle.h"
#include "widgets/tablefill.h"
#include "widgets/tickcolumn.h"
#include "paymentstore.h"
#include "receivableslist.h"
#include "receivablestatements.h"


namespace {

enum Column {
    TickColumnNo = 0,
    PayIdColumn = 1, // hidden
    NumberColumn = 2,
    InvoiceDateColumn = 3,
    CustomerColumn = 4,
    InvoiceAmountColumn = 5,
    PaidAmountColumn = 6,
    PaidDateColumn = 7,
    ModeColumn = 8,
    DaysColumn = 9,
    RemarksColumn = 10,
};

} // namespace

paymentStatement::paymentStatement(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::paymentStatement)
{
    ui->setupUi(this);
    applyFormStyleSheet(this);
    setupReceivablesWindow(this, QStringLiteral("Payment Statement  -  Kestrova App"));

    setupTable();
    ui->tot_paid_amtEdit->setReadOnly(true);
    ui->avg_paid_days->setReadOnly(true);

    loadCustomerCombo();
    loadPayments();
}

paymentStatement::~paymentStatement()
{
    delete ui;
}

void paymentStatement::setupTable()
{
    QTableWidget *table = ui->paid_state_table;
    setupReceivablesTable(table,
                          {QStringLiteral("CheckBox"), QStringLiteral("pay_id"), QStringLiteral("Invoice No"),
                           QStringLiteral("Invoice Date"), QStringLiteral("Customer Name"),
                           QStringLiteral("Invoice Amount"), QStringLiteral("Paid Amount"), QStringLiteral("Paid Date"),
                           QStringLiteral("Mode"), QStringLiteral("Paid Days"), QStringLiteral("Remarks")},
                          {PayIdColumn},
                          {{TickColumnNo, 60}, {NumberColumn, 85}, {InvoiceDateColumn, 95}, {InvoiceAmountColumn, 100},
                           {PaidAmountColumn, 95}, {PaidDateColumn, 95}, {ModeColumn, 80}, {DaysColumn, 75}},
                          CustomerColumn);

    ticks = new TickColumn(table, TickColumnNo);
}

void paymentStatement::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!reloadOnShow(&shownOnce))
        return;
    loadCustomerCombo();
    loadPayments();
}

void paymentStatement::loadCustomerCombo()
{
    ::loadCustomerCombo(ui->company_combo, QStringLiteral("-- All Companies --"));
}

void paymentStatement::loadPayments()
{
    QTableWidget *table = ui->paid_state_table;

    QList<PaymentHistoryRow> payments;
    QString error;
    listed.clear();
    queryPaymentHistory(receivablesFilter(this), &payments, &error); // a failure lists nothing

    // Every cell takes the same roles on every fill, and each row a new tick
    // item (unticked): the rows that stay keep their other items.
    ticks->dropBoxes();
    TableFill fill(table, int(payments.size()), TableFill::Items::Kept);
    RepeatedTexts<QString> dates(storedDateText);
    for (int r = 0; r < payments.size(); ++r)
        addRow(fill, r, payments.at(r), dates);
    fill.finish();
    ticks->refresh();

    const PaymentTotals totals = paymentTotals(payments);
    ui->tot_paid_amtEdit->setText(totals.paid.text());
    ui->tot_inv_amtEdit->setText(totals.invoices.text());
    if (totals.averageDays) {
        ui->avg_paid_days->setText(QString::number(*totals.averageDays, 'f', 1) + QStringLiteral(" days"));
        ui->avg_paid_days->setStyleSheet(averageDaysStyle(*totals.averageDays));
    } else {
        ui->avg_paid_days->clear();
        ui->avg_paid_days->setStyleSheet(QString());
    }
}

void paymentStatement::addRow(TableFill &fill, int row, const PaymentHistoryRow &payment,
                              RepeatedTexts<QString> &dates)
{
    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    const bool opens = payment.opensPayment;
    fill.add(row, TickColumnNo, TickColumn::newTick());
    fill.add(row, PayIdColumn, QString::number(payment.payId))->setTextAlignment(left);
    listed.insert(payment.payId, payment.stored);
    fill.add(row, NumberColumn, payment.invoiceNoFull)->setTextAlignment(left);
    fill.add(row, InvoiceDateColumn, dates(payment.invoiceDate))->setTextAlignment(left);
    fill.add(row, CustomerColumn, payment.customerName)->setTextAlignment(left);
    fill.add(row, InvoiceAmountColumn, amountText(payment.grandTotal))->setTextAlignment(right);
    fill.add(row, PaidAmountColumn, opens ? payment.paymentTotal.text() : QString())->setTextAlignment(right);
    fill.add(row, PaidDateColumn, opens ? dates(payment.paymentDate) : QString())->setTextAlignment(left);
    fill.add(row, ModeColumn, opens ? payment.mode : QString())->setTextAlignment(left);
    fill.add(row, DaysColumn, QString::number(payment.paidDays))->setTextAlignment(Qt::AlignCenter);
    fill.add(row, RemarksColumn, payment.remarks)->setTextAlignment(left);
}

QList<ListedPayment> paymentStatement::selectedPaymentIds() const
{
    QList<ListedPayment> payments;
    for (int r : ticks->tickedRows()) {
        const int id = cellText(r, PayIdColumn).toInt();
        payments.append({id, listed.value(id), cellText(r, NumberColumn)});
    }
    return payments;
}

QString paymentStatement::cellText(int row, int column) const
{
    const QTableWidgetItem *item = ui->paid_state_table->item(row, column);
    return item ? item->text().trimmed() : QString();
}

void paymentStatement::on_show_btn_clicked()
{
    loadPayments();
}

void paymentStatement::on_reset_btn_clicked()
{
    resetReceivablesFilter(this);
    loadPayments();
}

void paymentStatement::on_delete_btn_clicked()
{
    const QList<ListedPayment> ids = selectedPaymentIds();
    if (ids.isEmpty()) {
        Desktop::warning(this, QStringLiteral("Error"), QStringLiteral("Select at least one payment record!"));
        return;
    }
    const QString question = QStringLiteral("Delete %1 payment record(s)?\n\n"
                                            "The invoice(s) will show as PENDING again in Payment Follow Up.")
                                 .arg(ids.size());
    if (Desktop::question(this, QStringLiteral("Confirm Delete"), question, QMessageBox::Yes | QMessageBox::No)
        != QMessageBox::Yes)
        return;
    QString error;
    if (!deletePayments(ids, &error)) {
        Desktop::warning(this, QStringLiteral("Error"), error);
        return;
    }
    Desktop::information(this, QStringLiteral("Deleted"), QStringLiteral("Payment record(s) deleted! Invoice(s) pending again."));
    loadPayments();
}

void paymentStatement::on_print_state_btn_clicked()
{
    QList<PaymentStatementRow> rows;
    for (int r = 0; r < ui->paid_state_table->rowCount(); ++r)
        rows.append({cellText(r, NumberColumn), cellText(r, InvoiceDateColumn), cellText(r, CustomerColumn),
                     cellText(r, InvoiceAmountColumn), cellText(r, PaidAmountColumn), cellText(r, PaidDateColumn),
                     cellText(r, ModeColumn), cellText(r, DaysColumn), cellText(r, RemarksColumn)});
    printPaymentStatement(this, rows, ui->fromdateEdit->date(), ui->todateEdit->date(), ui->tot_inv_amtEdit->text(),
                          ui->tot_paid_amtEdit->text());
}

void paymentStatement::on_close_btn_clicked()
{
    close();
}
