#include "generatinvoices.h"
#include "ui_generatinvoices.h"

#include "generationstore.h"
#include "invoicesandlist.h"
#include "invoicestore.h"

#include "core/financialyear.h"
#include "core/listformat.h"
#include "jobwork/statuscolors.h"
#include "output/desktop.h"
#include "widgets/formconventions.h"
#include "widgets/formstyle.h"
#include "widgets/screenfit.h"
#include "widgets/tablefill.h"
#include "widgets/tickcolumn.h"

#include <QCheckBox>
#include <QHeaderView>

namespace {

enum Column {
    CheckColumn = 0,
    KeyColumn = 1, // delivery_no; hidden, carries the row's key
    FullNumberColumn = 2,
    DateColumn = 3,
    CustomerColumn = 4,
    QtyColumn = 5,
    StatusColumn = 6,
};

const char *const BinQuestion = "Close pending invoice balance?\n\n"
                                "\u2022 No invoice numbers used\n"
                                "\u2022 DC entries stay unchanged\n"
                                "\u2022 This cannot be undone";

QTableWidgetItem *textItem(const QString &text, Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter)
{
    auto *item = new QTableWidgetItem(text);
    item->setTextAlignment(alignment);
    return item;
}

QTableWidgetItem *quantityItem(double qty)
{
    return textItem(quantityText(qty), Qt::AlignRight | Qt::AlignVCenter);
}

} // namespace

generatInvoices::generatInvoices(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::generatInvoices)
{
    ui->setupUi(this);
    applyFormStyleSheet(this);
    setWindowTitle(QStringLiteral("Generate Invoice - Kestrova App"));
    resize(1500, 800);
    setupFormHeader(ui->groupBox_4, ui->label, ui->label_13, ui->label_14);

    setupTables();
    m_ticks = new TickColumn(ui->gen_invoice_table, CheckColumn);
    connect(m_ticks, &TickColumn::toggled, this, &generatInvoices::onCheckboxChanged);
    ui->radio_pending_btn->setChecked(true);
    ui->bin_btn->setEnabled(true);
    loadCustomerCombo();
    loadDeliveryChallans();
}

generatInvoices::~generatInvoices()
{
    delete ui;
}

void generatInvoices::setupTables()
{
    QTableWidget *list = ui->gen_invoice_table;
    list->setColumnCount(7);
    list->setHorizontalHeaderLabels(
        {QString(), "delivery_no", "DC No", "DC Date", "Company Name", "Qty", "Status"});
    list->setColumnHidden(KeyColumn, true);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setAlternatingRowColors(true);
    list->verticalHeader()->setVisible(false);
    QHeaderView *header = list->horizontalHeader();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setSectionResizeMode(CustomerColumn, QHeaderView::Stretch);
    list->setColumnWidth(CheckColumn, 70);
    list->setColumnWidth(FullNumberColumn, 80);
    list->setColumnWidth(DateColumn, 90);
    list->setColumnWidth(QtyColumn, 90);
    list->setColumnWidth(StatusColumn, 90);

    QTableWidget *items = ui->viewing_table;
    items->setColumnCount(7);
    items->setHorizontalHeaderLabels(
        {"Item Code", "Item Name", "Delivered Qty", "Invoiced Qty", "Balance Qty", "UOM", "Rate"});
    items->setEditTriggers(QAbstractItemView::NoEditTriggers);
    items->setAlternatingRowColors(true);
    items->verticalHeader()->setVisible(false);
    QHeaderView *itemHeader = items->horizontalHeader();
    itemHeader->setStretchLastSection(false);
    itemHeader->setSectionResizeMode(QHeaderView::Fixed);
    itemHeader->setSectionResizeMode(1, QHeaderView::Stretch);
    const int widths[] = {100, 0, 100, 100, 100, 60, 80};
    for (int c = 0; c < 7; ++c) {
        if (widths[c] > 0)
            items->setColumnWidth(c, widths[c]);
    }
}

void generatInvoices::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!reloadOnShow(&m_shownOnce))
        return;
    loadCustomerCombo();
    loadDeliveryChallans();
}

void generatInvoices::loadCustomerCombo()
{
    ::loadCustomerCombo(ui->company_combo, QStringLiteral("-- All Companies --"));
}

void generatInvoices::loadDeliveryChallans()
{
    QTableWidget *list = ui->gen_invoice_table;
    list->setRowCount(0);
    m_rows.clear();
    ui->viewing_table->setRowCount(0);

    const PendingFilter filter = ui->issued_radio_btn->isChecked() ? PendingFilter::Issued
                                 : ui->all_radio_btn->isChecked()  ? PendingFilter::All
                                                                   : PendingFilter::Open;
    QList<InvoiceChallanRow> rows;
    QString error;
    if (!queryInvoiceChallans(chosenCustomerId(ui->company_combo), g_currentFY, filter, &rows, &error)) {
        Desktop::warning(this, QStringLiteral("Query Error"), error);
        return;
    }

    TableFill fill(list, int(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        const InvoiceChallanRow &row = rows.at(r);
        const PendingStatus status = row.status();
        fill.add(r, CheckColumn, TickColumn::newTick(status != PendingStatus::Issued));
        fill.add(r, KeyColumn, QString::number(row.deliveryNo));
        fill.add(r, FullNumberColumn, row.fullNumber);
        fill.add(r, DateColumn, storedDateText(row.date));
        fill.add(r, CustomerColumn, row.customerName);
        fill.add(r, QtyColumn, quantityText(row.delivered))->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        QTableWidgetItem *statusItem = fill.add(r, StatusColumn, statusText(status));
        statusItem->setTextAlignment(Qt::AlignCenter);
        statusItem->setBackground(statusColor(status));
    }
    fill.finish();
    m_rows = rows;
    m_ticks->refresh();
}

void generatInvoices::on_show_btn_clicked()
{
    loadDeliveryChallans();
}

void generatInvoices::on_reset_btn_clicked()
{
    ui->company_combo->setCurrentIndex(0);
    ui->radio_pending_btn->setChecked(true);
    loadDeliveryChallans();
}

void generatInvoices::onCheckboxChanged()
{
    // Once a challan is ticked only the same customer's challans can be.
    const QList<int> ticked = m_ticks->tickedRows();
    const int chosen = ticked.isEmpty() ? -1 : listed(ticked.first()).customerId;
    for (int r = 0; r < m_rows.size(); ++r) {
        const InvoiceChallanRow &row = listed(r);
        m_ticks->setTickable(r, row.status() != PendingStatus::Issued && (ticked.isEmpty() || row.customerId == chosen));
    }
}

void generatInvoices::on_gen_invoice_table_currentItemChanged(QTableWidgetItem *current, QTableWidgetItem *)
{
    if (!current || current->row() >= m_rows.size())
        return;
    const InvoiceChallanRow &row = listed(current->row());
    loadDcItems(row.deliveryNo, row.fy);
}

void generatInvoices::loadDcItems(int deliveryNo, const QString &fy)
{
    QTableWidget *items = ui->viewing_table;
    items->setRowCount(0);
    QList<ChallanLineBalance> lines;
    QString error;
    challanLineBalances(deliveryNo, fy, &lines, &error);
    int r = 0;
    for (const ChallanLineBalance &line : lines) {
        if (!line.hasItem)
            continue;
        items->insertRow(r);
        items->setItem(r, 0, textItem(line.itemCode));
        items->setItem(r, 1, textItem(line.itemName));
        items->setItem(r, 2, quantityItem(line.delivered));
        items->setItem(r, 3, quantityItem(line.consumed));
        items->setItem(r, 4, textItem(challanBalanceText(line.balance, line.balanceTotal), Qt::AlignRight | Qt::AlignVCenter));
        items->setItem(r, 5, textItem(line.uom));
        items->setItem(r, 6, quantityItem(line.rate));
        ++r;
    }
}

void generatInvoices::on_proceed_inv_btn_clicked()
{
    QList<int> deliveryNos;
    InvoiceChallanRow first;
    for (int r : m_ticks->tickedRows()) {
        const InvoiceChallanRow &key = listed(r);
        if (deliveryNos.isEmpty()) {
            first = key;
        } else if (key.fy != first.fy) {
            Desktop::warning(this, QStringLiteral("Error"), twoYearsRefusalText(first.fy, key.fy));
            return;
        }
        deliveryNos << key.deliveryNo;
    }
    if (deliveryNos.isEmpty()) {
        Desktop::warning(this, QStringLiteral("Error"), QStringLiteral("Please select at least one DC using checkbox!"));
        return;
    }

    auto *form = new invoicesandlist();
    form->setAttribute(Qt::WA_DeleteOnClose); // each Proceed has a form of its own
    form->setDeliveryData(deliveryNos, first.customerId, first.customerName, first.fy);
    fitToScreen(form);
    form->show();
    form->raise();
    form->activateWindow();
}

void generatInvoices::on_bin_btn_clicked()
{
    QList<InvoiceBinTarget> targets;
    for (int r : m_ticks->tickedRows()) {
        const InvoiceChallanRow &row = listed(r);
        if (row.status() == PendingStatus::Issued) {
            Desktop::warning(this, QStringLiteral("Error"), QStringLiteral("Already fully issued!"));
            return;
        }
        targets.append({row.deliveryNo, row.fy, row.customerId, row.fullNumber, row.taken});
    }
    if (targets.isEmpty()) {
        Desktop::warning(this, QStringLiteral("Error"), QStringLiteral("Select at least one DC to bin!"));
        return;
    }
    if (Desktop::question(this, QStringLiteral("Confirm Bin"), QString::fromUtf8(BinQuestion),
                          QMessageBox::Yes | QMessageBox::No)
        != QMessageBox::Yes)
        return;

    // Refused or failed: the list and its ticks stay as they are.
    const BinOutcome outcome = binInvoiceBalances(targets, QDate::currentDate());
    if (!outcome.notPending.isEmpty()) {
        Desktop::warning(this, QStringLiteral("Error"), challanChangedText(outcome.notPending));
        return;
    }
    if (!outcome.tooLarge.isEmpty()) {
        Desktop::warning(this, figureTooLargeTitle(), outcome.tooLarge + QStringLiteral("\nNothing was binned."));
        return;
    }
    if (!outcome.ok) {
        Desktop::warning(this, QStringLiteral("Error"), outcome.error);
        return;
    }
    if (outcome.written == 0) {
        Desktop::warning(this, QStringLiteral("Error"), nothingToBinText());
        return;
    }
    Desktop::information(this, QStringLiteral("Binned"), QStringLiteral("Pending invoice balance closed!"));
    loadDeliveryChallans();
}

void generatInvoices::on_close_btn_clicked()
{
    close();
}
