#include "invoicegstmainlist.h"
#include "ui_invoicegstmainlist.h"

#include "core/financialyear.h"
#include "core/listformat.h"
#include "output/desktop.h"
#include "widgets/dashboard.h"
#include "widgets/formconventions.h"
#include "widgets/formstyle.h"
#include "widgets/tablefill.h"
#include "widgets/tickcolumn.h"
#include "invoicing/invoicecorrections.h"
#include "invoicing/invoiceprint.h"

#include <QDate>
#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>

namespace {

enum Column {
    TickColumnIndex = 0,
    NumberColumn, // hidden: the invoice number
    FullNumberColumn,
    DateColumn,
    CustomerColumn,
    GstColumn,
    BaseColumn,
    CgstColumn,
    SgstColumn,
    IgstColumn,
    TaxColumn,
    NetColumn,
    ColumnCount
};

const QColor CancelledText(150, 150, 150);
const QColor CancelledBackground(230, 230, 230);

QString numbersText(const QList<InvoiceKey> &invoices)
{
    QStringList numbers;
    for (const InvoiceKey &key : invoices)
        numbers << QString::number(key.no);
    return numbers.join(", ");
}

} // namespace

invoiceGSTmainList::invoiceGSTmainList(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::invoiceGSTmainList)
{
    ui->setupUi(this);
    applyFormStyleSheet(this);
    setWindowTitle("Invoice GST List - Kestrova App");
    resize(1500, 800);
    setupFormHeader(ui->groupBox, ui->label, ui->label_8, ui->label_11);
    setupTable();

    resetPeriod();
    ui->radio_og_btn->setChecked(true);
    loadCustomerCombo();
    loadInvoices();
}

invoiceGSTmainList::~invoiceGSTmainList()
{
    delete ui;
}

void invoiceGSTmainList::setupTable()
{
    QTableWidget *t = ui->invoice_list;
    t->setColumnCount(ColumnCount);
    t->setHorizontalHeaderLabels({"CheckBox", "inv_no", "Invoice No", "Invoice Date", "Customer Name", "GST No",
                                  "Base Amount", "CGST", "SGST", "IGST", "Tax Value", "Net Amount"});
    t->setColumnHidden(NumberColumn, true);
    QHeaderView *header = t->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setSectionResizeMode(CustomerColumn, QHeaderView::Stretch);
    header->setStretchLastSection(false);
    const QList<QPair<int, int>> widths = {{TickColumnIndex, 55}, {FullNumberColumn, 95}, {DateColumn, 110},
                                           {GstColumn, 140},  {BaseColumn, 100},      {CgstColumn, 90},
                                           {SgstColumn, 90},  {IgstColumn, 90},       {TaxColumn, 95},
                                           {NetColumn, 110}};
    for (const auto &[column, width] : widths)
        t->setColumnWidth(column, width);
    // Where this machine's fonts are wider: the whole header word and a whole
    // GSTIN, never cut.
    t->setColumnWidth(TickColumnIndex, qMax(55, header->sectionSizeHint(TickColumnIndex)));
    t->setColumnWidth(GstColumn, qMax(140, t->fontMetrics().horizontalAdvance("27AAAAA0000A1Z5") + 16));
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setAlternatingRowColors(true);
    t->verticalHeader()->setVisible(false);
    t->setStyleSheet("QTableWidget { background-color: white; alternate-background-color: #f0f9ff; "
                     "gridline-color: #e2e8f0; color: #1e293b; }"
                     "QTableWidget::item:selected { background-color: #0284c7; color: white; }");
    m_ticks = new TickColumn(t, TickColumnIndex);
    // The totals stay under their columns when the scroll bar comes and goes.
    // (The bar sits in a container of the table that is what shows and hides.)
    t->verticalScrollBar()->parentWidget()->installEventFilter(this);
}

bool invoiceGSTmainList::eventFilter(QObject *watched, QEvent *event)
{
    QWidget *bar = ui->invoice_list->verticalScrollBar()->parentWidget();
    if (watched == bar
        && (event->type() == QEvent::Show || event->type() == QEvent::Hide || event->type() == QEvent::Resize)) {
        ui->totalsLayout->setContentsMargins(0, 0, bar->isVisibleTo(ui->invoice_list) ? bar->width() : 0, 0);
    }
    return QWidget::eventFilter(watched, event);
}

void invoiceGSTmainList::resetPeriod()
{
    ui->fromdateEdit->setDate(defaultPeriodStart());
    ui->todateEdit->setDate(QDate::currentDate());
}

void invoiceGSTmainList::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!reloadOnShow(&m_shownOnce))
        return;
    loadCustomerCombo();
    loadInvoices();
}

void invoiceGSTmainList::loadCustomerCombo()
{
    ::loadCustomerCombo(ui->company_combo, "-- All Companies --");
}

void invoiceGSTmainList::loadInvoices()
{
    QTableWidget *t = ui->invoice_list;
    m_ticks->dropBoxes();
    m_rows.clear();

    InvoiceListFilter filter;
    filter.customerId = chosenCustomerId(ui->company_combo);
    filter.from = ui->fromdateEdit->date().toString("yyyy-MM-dd");
    filter.to = ui->todateEdit->date().toString("yyyy-MM-dd");
    filter.currentFy = g_currentFY;
    QString error;
    QList<InvoiceListRow> rows;
    if (!queryInvoiceList(filter, &rows, &error)) {
        t->setRowCount(0);
        Desktop::warning(this, "Query Error", error);
        return;
    }
    m_rows = rows;

    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    const QBrush cancelledText(CancelledText);
    const QBrush cancelledBackground(CancelledBackground);
    // The rows that stay keep their items (each new row a new tick, unticked);
    // a kept item of a cancelled row that is now live loses its grey.
    TableFill fill(t, rows.size(), TableFill::Items::Kept);
    RepeatedTexts<QString> dates(storedDateText);
    for (int r = 0; r < rows.size(); ++r) {
        const InvoiceListRow &row = rows.at(r);
        fill.add(r, TickColumnIndex, TickColumn::newTick(!row.cancelled));
        const QString texts[] = {QString::number(row.invoiceNo), row.invoiceNoFull, dates(row.invoiceDate),
                                 row.customerName, row.gstNo, amountText(row.subTotal), amountText(row.cgst),
                                 amountText(row.sgst), amountText(row.igst), row.taxValue().text(),
                                 amountText(row.grandTotal)};
        for (int c = NumberColumn; c < ColumnCount; ++c) {
            QTableWidgetItem *item = fill.add(r, c, texts[c - NumberColumn]);
            if (c >= BaseColumn)
                item->setTextAlignment(right);
            if (row.cancelled) {
                item->setForeground(cancelledText);
                item->setBackground(cancelledBackground);
            } else if (item->data(Qt::ForegroundRole).isValid()) {
                item->setData(Qt::ForegroundRole, QVariant());
                item->setData(Qt::BackgroundRole, QVariant());
            }
        }
    }
    fill.finish();
    m_ticks->refresh();
    showTotals();
}

void invoiceGSTmainList::showTotals()
{
    const GstTotals totals = liveTotals(m_rows);
    const QList<QPair<QLabel *, StoredTotal>> shown = {
        {ui->tot_base_lbl, totals.base}, {ui->tot_cgst_lbl, totals.cgst}, {ui->tot_sgst_lbl, totals.sgst},
        {ui->tot_igst_lbl, totals.igst}, {ui->tot_tax_lbl, totals.tax},   {ui->tot_net_lbl, totals.net}};
    for (const auto &[label, value] : shown) {
        // Each sits under its column at the column's width; a sum too long
        // for it widens it rather than being cut.
        const QString text = value.text();
        const QVariant designed = label->property("designedWidth");
        const int width = designed.isValid() ? designed.toInt() : label->minimumWidth();
        label->setProperty("designedWidth", width);
        label->setFixedWidth(qMax(width, label->fontMetrics().horizontalAdvance(text) + 8));
        label->setText(text);
    }
}

QList<InvoiceKey> invoiceGSTmainList::selectedInvoiceNos() const
{
    // Number and year come from the row as it was read, not from the full
    // number's text, which holds whatever was typed when it was saved.
    QList<InvoiceKey> keys;
    for (int r : m_ticks->tickedRows()) {
        if (r < m_rows.size())
            keys.append({m_rows.at(r).invoiceNo, m_rows.at(r).fy, m_rows.at(r).invoiceId, m_rows.at(r).stored,
                         m_rows.at(r).invoiceNoFull});
    }
    return keys;
}

void invoiceGSTmainList::on_show_btn_clicked()
{
    loadInvoices();
}

void invoiceGSTmainList::on_reset_btn_clicked()
{
    ui->company_combo->setCurrentIndex(0);
    resetPeriod();
    loadInvoices();
}

void invoiceGSTmainList::on_print_btn_clicked()
{
    const QList<InvoiceKey> invoices = selectedInvoiceNos();
    if (invoices.isEmpty()) {
        Desktop::warning(this, "Error", "Select at least one invoice to print!");
        return;
    }
    const QString copyLabel = ui->radio_og_btn->isChecked() ? "Original for recipient" : "Duplicate for transporter";
    for (const InvoiceKey &key : invoices)
        printInvoice(key.no, copyLabel, key.fy, this);
}

void invoiceGSTmainList::on_cancel_inv_btn_clicked()
{
    const QList<InvoiceKey> invoices = selectedInvoiceNos();
    if (invoices.isEmpty()) {
        Desktop::warning(this, "Error", "Please select at least one invoice using checkbox!");
        return;
    }
    if (Desktop::question(this, "Confirm Cancel",
                          "Cancel invoice(s): " + numbersText(invoices)
                              + "?\n\n\u2022 Stay in list marked CANCELLED\n\u2022 Numbers NOT reused\n"
                                "\u2022 DC quantities return for re-invoicing",
                          QMessageBox::Yes | QMessageBox::No)
        != QMessageBox::Yes)
        return;
    const BatchOutcome outcome = cancelInvoices(invoices);
    if (outcome.result == BatchResult::Stale) {
        Desktop::warning(this, "Error", outcome.error);
        loadInvoices();
        return;
    }
    if (outcome.result != BatchResult::Done) {
        Desktop::warning(this, "Error", outcome.error);
        return;
    }
    Desktop::information(this, "Cancelled", QString::number(invoices.size()) + " invoice(s) cancelled!");
    loadInvoices();
}

void invoiceGSTmainList::on_delete_btn_clicked()
{
    const QList<InvoiceKey> invoices = selectedInvoiceNos();
    if (invoices.isEmpty()) {
        Desktop::warning(this, "Error", "Please select at least one invoice using checkbox!");
        return;
    }
    const auto refuse = [this](const QStringList &withPayments) {
        Desktop::warning(this, "Cannot Delete",
                         "Payments are recorded against invoice(s) " + withPayments.join(", ")
                             + ".\nDelete those payments first (Payment History); nothing was deleted.");
    };
    QStringList withPayments;
    QString error;
    if (!invoicesWithPayments(invoices, &withPayments, &error)) {
        Desktop::warning(this, "Error", error);
        return;
    }
    if (!withPayments.isEmpty()) {
        refuse(withPayments);
        return;
    }
    if (Desktop::question(this, "Confirm Delete",
                          "Permanently delete invoice(s): " + numbersText(invoices)
                              + "?\n\n\u2022 Numbers become reusable\n\u2022 DC quantities return for re-invoicing",
                          QMessageBox::Yes | QMessageBox::No)
        != QMessageBox::Yes)
        return;
    const BatchOutcome outcome = deleteInvoices(invoices);
    if (outcome.result == BatchResult::Stale) {
        Desktop::warning(this, "Error", outcome.error);
        loadInvoices();
        return;
    }
    if (outcome.result == BatchResult::HasPayments) {
        refuse(outcome.withPayments);
        return;
    }
    if (outcome.result == BatchResult::Failed) {
        Desktop::warning(this, "Error", outcome.error);
        return;
    }
    Desktop::information(this, "Deleted", QString::number(invoices.size()) + " invoice(s) deleted!");
    loadInvoices();
}

void invoiceGSTmainList::on_print_statement_clicked()
{
    GstStatementHead head;
    head.company = loadCompanyInfo();
    head.from = ui->fromdateEdit->date().toString("dd-MM-yyyy");
    head.to = ui->todateEdit->date().toString("dd-MM-yyyy");
    head.fy = g_currentFY;
    head.printedAt = QDateTime::currentDateTime();
    exportTableCsv(this, gstStatementProfile(head, m_rows), gstStatementRows(m_rows));
}

void invoiceGSTmainList::on_close_btn_clicked()
{
    close();
}
