#include "paymentfollowup.h"
#include "ui_paymentfollowup.h"

#include "core/financialyear.h"
#include "core/listformat.h"
#include "core/typednumber.h"
#include "output/desktop.h"
#include "widgets/formconventions.h"
#include "widgets/formstyle.h"
#include "widgets/screenfit.h"
#include "widgets/tablefill.h"
#include "widgets/tickcolumn.h"
#include "invoicecorrections.h"
#include "paymentstatement.h"
#include "paymentstore.h"
#include "receivableslist.h"
#include "receivablestatements.h"

#include <QColor>

namespace {

enum Column {
    TickColumnNo = 0,
    NumberColumn = 1, // invoice_no; hidden, carries the invoice's year and customer
    FullNumberColumn = 2,
    DateColumn = 3,
    CustomerColumn = 4,
    AmountColumn = 5,
    DaysColumn = 6,
    BalanceColumn = 7, // hidden; what the selection total and the split read
};

const int FyRole = Qt::UserRole;
const int CustomerIdRole = Qt::UserRole + 1;
const int InvoiceIdRole = Qt::UserRole + 2;

} // namespace

paymentFollowUp::paymentFollowUp(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::paymentFollowUp)
{
    ui->setupUi(this);
    applyFormStyleSheet(this);
    setupReceivablesWindow(this, QStringLiteral("Payment Follow Up - Kestrova App"));

    setupTable();
    ui->paid_dateEdit->setDate(QDate::currentDate());
    ui->paid_dateEdit->setCalendarPopup(true);
    ui->total_amountEdit->setReadOnly(true);
    ui->mod_combo->addItems({QStringLiteral("Cash"), QStringLiteral("Cheque"), QStringLiteral("NEFT"),
                             QStringLiteral("RTGS"), QStringLiteral("UPI")});

    loadCustomerCombo();
    loadPendingInvoices();
}

paymentFollowUp::~paymentFollowUp()
{
    delete ui;
}

void paymentFollowUp::setupTable()
{
    QTableWidget *table = ui->payment_pending_table;
    setupReceivablesTable(table,
                          {QStringLiteral("CheckBox"), QStringLiteral("inv_no"), QStringLiteral("Invoice No"),
                           QStringLiteral("Invoice Date"), QStringLiteral("Customer Name"),
                           QStringLiteral("Invoice Amount"), QStringLiteral("Days Pending"), QStringLiteral("balance")},
                          {NumberColumn, BalanceColumn},
                          {{TickColumnNo, 60}, {FullNumberColumn, 85}, {DateColumn, 95}, {AmountColumn, 110},
                           {DaysColumn, 95}},
                          CustomerColumn);

    ticks = new TickColumn(table, TickColumnNo);
    connect(ticks, &TickColumn::stateChanged, this, &paymentFollowUp::onCheckboxChanged);
}

void paymentFollowUp::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!reloadOnShow(&shownOnce))
        return;
    loadCustomerCombo();
    loadPendingInvoices();
}

void paymentFollowUp::loadCustomerCombo()
{
    ::loadCustomerCombo(ui->company_combo, QStringLiteral("-- All Companies --"));
}

void paymentFollowUp::loadPendingInvoices()
{
    QTableWidget *table = ui->payment_pending_table;
    ticks->dropBoxes();
    ui->total_amountEdit->clear();
    listed.clear();

    QList<PendingInvoice> invoices;
    QString error;
    if (!queryPendingInvoices(receivablesFilter(this), &invoices, &error)) {
        table->setRowCount(0);
        Desktop::warning(this, QStringLiteral("Query Error"), error);
        return;
    }

    const QDate today = QDate::currentDate();
    // The rows that stay keep their items, each new row a new tick, unticked.
    TableFill fill(table, int(invoices.size()), TableFill::Items::Kept);
    for (int r = 0; r < invoices.size(); ++r)
        addRow(fill, r, invoices.at(r), today);
    fill.finish();
    ticks->refresh();
}

void paymentFollowUp::addRow(TableFill &fill, int row, const PendingInvoice &invoice, const QDate &today)
{
    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    fill.add(row, TickColumnNo, TickColumn::newTick());
    QTableWidgetItem *number = fill.add(row, NumberColumn, QString::number(invoice.invoiceNo));
    number->setData(FyRole, invoice.fy);
    number->setData(CustomerIdRole, invoice.customerId);
    number->setData(InvoiceIdRole, invoice.invoiceId);
    listed.insert(invoice.invoiceId, invoice.stored);
    fill.add(row, FullNumberColumn, invoice.invoiceNoFull)->setTextAlignment(left);
    fill.add(row, DateColumn, storedDateText(invoice.invoiceDate))->setTextAlignment(left);
    fill.add(row, CustomerColumn, invoice.customerName)->setTextAlignment(left);
    const QString balance = invoice.balanceTotal().text(2);
    fill.add(row, AmountColumn, balance)->setTextAlignment(right);
    const int days = daysSince(invoice.invoiceDate, today).value_or(0);
    QTableWidgetItem *daysItem = fill.add(row, DaysColumn, QString::number(days));
    daysItem->setTextAlignment(Qt::AlignCenter);
    if (const QString colour = ageColour(days); !colour.isEmpty())
        daysItem->setBackground(QColor(colour));
    else if (daysItem->data(Qt::BackgroundRole).isValid()) // a kept item coloured before
        daysItem->setData(Qt::BackgroundRole, QVariant());
    fill.add(row, BalanceColumn, balance)->setTextAlignment(right);
}

StoredTotal paymentFollowUp::rowBalance(int row) const
{
    // Exactly as the row shows it, a balance beyond what Money holds too.
    const QTableWidgetItem *item = ui->payment_pending_table->item(row, BalanceColumn);
    return item ? listedFigure(item->text()).value_or(StoredTotal()) : StoredTotal();
}

void paymentFollowUp::updateSelectedTotal()
{
    StoredTotal total;
    for (int r : ticks->tickedRows())
        total += rowBalance(r);
    ui->total_amountEdit->setText(total.text());
}

void paymentFollowUp::onCheckboxChanged(int)
{
    updateSelectedTotal();
}

void paymentFollowUp::on_show_btn_clicked()
{
    loadPendingInvoices();
}

void paymentFollowUp::on_reset_btn_clicked()
{
    resetReceivablesFilter(this);
    loadPendingInvoices();
}

void paymentFollowUp::on_paid_btn_clicked()
{
    const QTableWidget *table = ui->payment_pending_table;
    const QList<int> ticked = ticks->tickedRows();
    PaymentInput input;
    input.tickedRows = ticked.size();
    input.paidText = ui->paid_amountEdit->text();
    input.tdsText = ui->tds_amountEdit->text();
    QList<PaymentTarget> targets;
    for (int r : ticked) {
        const QTableWidgetItem *number = table->item(r, NumberColumn);
        const StoredTotal balance = rowBalance(r);
        // A balance beyond what a payment can be split over is refused, not
        // settled as some other figure.
        if (!balance.toMoney().isValid()) {
            Desktop::warning(this, figureTooLargeTitle(),
                             storedFigureTooLargeText(QStringLiteral("Invoice No ")
                                                          + table->item(r, FullNumberColumn)->text(),
                                                      QStringLiteral("Balance"), balance.text())
                                 + QStringLiteral("\nNothing was recorded."));
            return;
        }
        input.selected += balance;
        input.customerIds << number->data(CustomerIdRole).toInt();
        const int invoiceId = number->data(InvoiceIdRole).toInt();
        targets.append({number->text().toInt(), number->data(FyRole).toString(), balance.toMoney(), invoiceId,
                        listed.value(invoiceId)});
    }
    if (const auto refusal = checkPayment(input)) {
        Desktop::warning(this, refusal->title, refusal->text);
        return;
    }

    const Decimal paid = Decimal::fromText(input.paidText).value_or(Decimal());
    const Decimal tds = Decimal::fromText(input.tdsText).value_or(Decimal());
    const QString name = table->item(ticked.first(), CustomerColumn)->text();
    const QString question = QStringLiteral("Record payment for %1?\n\nSelected Total : %2\nPaid Amount    : %3\n"
                                            "TDS Amount     : %4")
                                 .arg(name, input.selected.text(), paid.toMoney().text(), tds.toMoney().text());
    if (Desktop::question(this, QStringLiteral("Confirm Payment"), question, QMessageBox::Yes | QMessageBox::No)
        != QMessageBox::Yes)
        return;

    PaymentEntry entry;
    entry.customerId = input.customerIds.first();
    entry.date = ui->paid_dateEdit->date();
    entry.chequeRef = ui->chq_refEdit->text();
    entry.remarks = ui->remarksEdit->text();
    entry.mode = ui->mod_combo->currentText();
    entry.shares = splitPayment(targets, paid, tds);
    const PaymentOutcome outcome = recordPayment(entry);
    if (outcome.stale) {
        // Paid from another window or copy, cancelled or deleted since this
        // list was read.
        QString shown = fullDocumentNumber(outcome.stale->invoiceNo, outcome.stale->fy);
        for (int r : ticked) {
            if (table->item(r, NumberColumn)->data(InvoiceIdRole).toInt() == outcome.stale->invoiceId)
                shown = table->item(r, FullNumberColumn)->text();
        }
        Desktop::warning(this, QStringLiteral("Error"),
                         invoiceChangedText(shown, QStringLiteral("Nothing was recorded; the list has been reloaded.")));
        loadPendingInvoices();
        return;
    }
    if (!outcome.ok) {
        Desktop::warning(this, QStringLiteral("Error"), outcome.error);
        return;
    }
    Desktop::information(this, QStringLiteral("Success"), QStringLiteral("Payment recorded successfully!"));
    ui->paid_amountEdit->clear();
    ui->tds_amountEdit->clear();
    ui->chq_refEdit->clear();
    ui->remarksEdit->clear();
    ui->mod_combo->setCurrentIndex(0);
    ui->paid_dateEdit->setDate(QDate::currentDate());
    loadPendingInvoices();
}

void paymentFollowUp::on_print_pending_state_btn_clicked()
{
    const QTableWidget *table = ui->payment_pending_table;
    const auto text = [table](int row, int column) {
        const QTableWidgetItem *item = table->item(row, column);
        return item ? item->text() : QString();
    };
    QList<PendingStatementRow> rows;
    for (int r = 0; r < table->rowCount(); ++r)
        rows.append({text(r, FullNumberColumn), text(r, DateColumn), text(r, CustomerColumn), text(r, AmountColumn),
                     text(r, DaysColumn)});
    printPendingStatement(this, rows, ui->fromdateEdit->date(), ui->todateEdit->date());
}

void paymentFollowUp::on_goto_pay_state_btn_clicked()
{
    auto *history = new paymentStatement();
    history->setAttribute(Qt::WA_DeleteOnClose);
    fitToScreen(history);
    history->show();
    history->raise();
    history->activateWindow();
}

void paymentFollowUp::on_close_btn_clicked()
{
    close();
}
