#include "invoicesandlist.h"
#include "ui_invoicesandlist.h"

#include "invoicecorrections.h"
#include "invoiceprint.h"
#include "invoicestore.h"

#include "core/financialyear.h"
#include "core/listformat.h"
#include "core/money.h"
#include "output/desktop.h"
#include "widgets/formconventions.h"
#include "widgets/formstyle.h"
#include "widgets/tablefill.h"
#include "widgets/typedcell.h"

#include <QDebug>
#include <QHeaderView>
#include <QSqlQuery>

namespace {

enum ItemColumn {
    DcNoColumn = 0,
    DcDateColumn = 1,
    ItemCodeColumn = 2,
    ItemNameColumn = 3,
    SacColumn = 4,
    QtyColumn = 5, // editable; the tax percent in its user role
    UomColumn = 6,
    RateColumn = 7,
    AmountColumn = 8,
    ItemIdColumn = 9,     // hidden
    DeliveryNoColumn = 10, // hidden; the challan's year in its user role
    BalanceColumn = 11,    // hidden
};

enum ListColumn { ListNumberColumn = 0, ListFullNumberColumn, ListDateColumn, ListCustomerColumn, ListAmountColumn };

const int ItemNameWidth = 210;

// The user role of the list's hidden number cell: the invoice's year.
const int ListFyRole = Qt::UserRole;

const QColor QtyBackground(QStringLiteral("#fffde7"));
const QColor CancelledText(150, 150, 150);
const QColor CancelledBackground(230, 230, 230);

QTableWidgetItem *fixedItem(const QString &text, Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter)
{
    auto *item = new QTableWidgetItem(text);
    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    item->setTextAlignment(alignment);
    return item;
}

// A cell's amount rounded once to paise; 0 when it is no number.
Money cellAmount(const QTableWidget *table, int row, int column)
{
    return cellDecimal(table, row, column).toMoney();
}

// Each line's qty x rate as its cells show them, with its tax percent; an
// amount that does not fit stays invalid.
QList<TaxedAmount> lineProducts(const QTableWidget *table)
{
    QList<TaxedAmount> lines;
    for (int r = 0; r < table->rowCount(); ++r) {
        const QTableWidgetItem *qty = table->item(r, QtyColumn);
        lines.append({Money::product(cellDecimal(table, r, QtyColumn), cellDecimal(table, r, RateColumn)),
                      qty ? qty->data(Qt::UserRole).toDouble() : 0});
    }
    return lines;
}

// A totals field with the caption the form shows beside it.
struct TotalField
{
    const char *caption;
    const QLineEdit *field;
};

// Warns and gives true when a line's amount or the invoice's total does not
// fit (see invoiceFiguresRefusal), or a total field is overtyped with a
// figure beyond the money bound.
bool refusedAsTooLarge(QWidget *form, const QTableWidget *table, const QString &customerType,
                       const QList<TotalField> &totalFields = {})
{
    QString refusal;
    if (!totalFields.isEmpty()) {
        // Before a write: a quantity offered whole from a balance stored
        // beyond the quantity bound is billed by no line.
        QStringList quantities;
        for (int r = 0; r < table->rowCount(); ++r)
            quantities << (table->item(r, QtyColumn) ? table->item(r, QtyColumn)->text() : QString());
        refusal = invoiceQtyRefusal(quantities);
    }
    if (refusal.isEmpty())
        refusal = invoiceFiguresRefusal(lineProducts(table), isIgstCustomer(customerType));
    for (const TotalField &total : totalFields) {
        if (refusal.isEmpty())
            refusal = typedFigureTooLarge(QLatin1String(total.caption), total.field->text(), FigureKind::Money);
    }
    if (refusal.isEmpty())
        return false;
    Desktop::warning(form, figureTooLargeTitle(), refusal);
    return true;
}

QList<TotalField> totalFields(const Ui::invoicesandlist *ui)
{
    return {{"Total Amount", ui->base_AmountEdit},
            {"CGST", ui->cgstEdit},
            {"SGST", ui->sgstEdit},
            {"IGST", ui->igstEdit},
            {"Net Total", ui->netTotalEdit}};
}

// A rate or quantity with three decimals, from the decimal it stands for.
QTableWidgetItem *numberItem(double value)
{
    return fixedItem(threeDecimalText(value), Qt::AlignRight | Qt::AlignVCenter);
}

// Widens a column whose header text would be cut: headers are drawn bold
// with 4 px of padding on each side.
void fitHeaderTexts(QTableWidget *table)
{
    QFont bold = table->horizontalHeader()->font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    for (int c = 0; c < table->columnCount(); ++c) {
        const QTableWidgetItem *header = table->horizontalHeaderItem(c);
        if (table->isColumnHidden(c) || !header)
            continue;
        const int needed = metrics.horizontalAdvance(header->text()) + 2 * 4 + 6;
        if (table->columnWidth(c) < needed)
            table->setColumnWidth(c, needed);
    }
}

// A refusal of an invoice changed since it was loaded, and how to go on.
QString withGoOn(const QString &refusal)
{
    return refusal
           + QStringLiteral("\n\nThe form keeps what it shows. Press Show to list the invoices as they are now, "
                            "then load the invoice back (right-click \u2192 \u21a9 Load Back).");
}

QString dashedDate(const QString &stored)
{
    const QDate date = QDate::fromString(stored, QStringLiteral("yyyy-MM-dd"));
    return date.isValid() ? date.toString(QStringLiteral("dd-MM-yyyy")) : QString();
}

} // namespace

bool invoicesandlist::s_saveInProgress = false;

invoicesandlist::invoicesandlist(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::invoicesandlist)
{
    ui->setupUi(this);
    applyFormStyleSheet(this);
    setWindowTitle(QStringLiteral("Invoice - Kestrova App"));
    resize(1500, 800);
    setupFormHeader(ui->groupBox_header, ui->label_title, ui->label_logo_left, ui->label_logo_right);
    m_db = QSqlDatabase::database();

    ui->invdateEdit->setDate(QDate::currentDate());
    ui->invdateEdit->setCalendarPopup(true);
    ui->finyearEdit->setText(g_currentFY);
    ui->finyearEdit->setReadOnly(true);

    setupInvoiceTable();

    QSqlQuery bank;
    if (bank.exec(QStringLiteral("SELECT bank_details FROM company_settings WHERE id = 1")) && bank.next())
        ui->bank_detailsEdit->setPlainText(bank.value(0).toString());
    else
        ui->bank_detailsEdit->setPlainText(QString());

    ui->update_btn->setEnabled(false);
    setupListTable();
    ui->fromdateEdit->setDate(defaultPeriodStart());
    ui->todateEdit->setDate(QDate::currentDate());
    ui->fromdateEdit->setCalendarPopup(true);
    ui->todateEdit->setCalendarPopup(true);

    ui->bill_cancel_btn->setEnabled(false);
    ui->viewing_table->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ui->viewing_table, &QWidget::customContextMenuRequested, this,
            &invoicesandlist::onInvoiceListContextMenu);
    ui->abstract_invoiceEdit->setEnabled(false);

    ::loadCustomerCombo(ui->company_combo, QStringLiteral("-- All Companies --"));
    loadInvoiceList(-1, QString(), QString());
}

invoicesandlist::~invoicesandlist()
{
    delete ui;
}

void invoicesandlist::setupInvoiceTable()
{
    QTableWidget *table = ui->invoice_table;
    table->setColumnCount(12);
    table->setHorizontalHeaderLabels({"Our DC No", "DC Date", "Item Code", "Item Name", "SAC Code", "Qty", "UOM",
                                      "Rate", "Amount", "item_id", "delivery_no", "balance"});
    for (int c : {ItemIdColumn, DeliveryNoColumn, BalanceColumn})
        table->setColumnHidden(c, true);
    QHeaderView *header = table->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Interactive);
    const int widths[] = {85, 100, 80, ItemNameWidth, 75, 75, 55, 65, 65};
    for (int c = 0; c < 9; ++c)
        table->setColumnWidth(c, widths[c]);
    fitHeaderTexts(table);
    header->setStretchLastSection(true);
    table->verticalHeader()->setVisible(false);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setAlternatingRowColors(true);
}

void invoicesandlist::setupListTable()
{
    QTableWidget *list = ui->viewing_table;
    list->setColumnCount(5);
    list->setHorizontalHeaderLabels({"invoice_no", "Invoice No", "Invoice Date", "Customer Name", "Invoice Amount"});
    list->setColumnHidden(ListNumberColumn, true);
    QHeaderView *header = list->horizontalHeader();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setSectionResizeMode(ListCustomerColumn, QHeaderView::Stretch);
    list->setColumnWidth(ListFullNumberColumn, 90);
    list->setColumnWidth(ListDateColumn, 100);
    list->setColumnWidth(ListAmountColumn, 110);
    fitHeaderTexts(list);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setAlternatingRowColors(true);
    list->verticalHeader()->setVisible(false);
    list->setWordWrap(false); // a long name cut at its end, not at its first words
}

void invoicesandlist::setDeliveryData(const QList<int> &dcNos, int customerId, const QString &, const QString &fy)
{
    m_dcNos = dcNos;
    m_customerId = customerId;
    m_fyName = fy;
    loadCustomerDetails();
    loadNextInvoiceNo();
    loadDcItems();
}

void invoicesandlist::loadCustomerDetails()
{
    InvoiceCustomer customer;
    if (!readInvoiceCustomer(m_customerId, &customer))
        return;
    ui->customerNameEdit->setText(customer.name);
    ui->addressEdit->setPlainText(customer.address());
    ui->gstEdit->setText(customer.gstNo);
    ui->phoneEdit->setText(customer.phone);
    ui->emailEdit->setText(customer.email);
    m_customerType = customer.type;
    ui->vendorEdit->setText(customer.vendorId);
}

void invoicesandlist::loadNextInvoiceNo()
{
    ui->invnoEdit->setText(fullDocumentNumber(nextInvoiceNumber(g_currentFY), g_currentFY));
}

void invoicesandlist::appendLine(const InvoiceFormLine &line)
{
    QTableWidget *table = ui->invoice_table;
    const int r = table->rowCount();
    table->insertRow(r);
    table->setItem(r, DcNoColumn, fixedItem(line.deliveryNoFull));
    table->setItem(r, DcDateColumn, fixedItem(dashedDate(line.deliveryDate)));
    table->setItem(r, ItemCodeColumn, fixedItem(line.itemCode));
    table->setItem(r, ItemNameColumn, fixedItem(line.itemName));
    table->setItem(r, SacColumn, fixedItem(line.sacCode));
    auto *qty = new QTableWidgetItem(line.qtyText());
    qty->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    qty->setBackground(QtyBackground);
    qty->setData(Qt::UserRole, line.taxPercent);
    table->setItem(r, QtyColumn, qty);
    table->setItem(r, UomColumn, fixedItem(line.uom));
    table->setItem(r, RateColumn, numberItem(line.rate));
    table->setItem(r, AmountColumn, fixedItem(line.amount.text(), Qt::AlignRight | Qt::AlignVCenter));
    table->setItem(r, ItemIdColumn, fixedItem(QString::number(line.itemId)));
    QTableWidgetItem *delivery = fixedItem(QString::number(line.deliveryNo));
    delivery->setData(Qt::UserRole, line.deliveryFy);
    table->setItem(r, DeliveryNoColumn, delivery);
    QTableWidgetItem *balance = fixedItem(line.balanceText(), Qt::AlignRight | Qt::AlignVCenter);
    balance->setData(Qt::UserRole, line.challanCarried);
    table->setItem(r, BalanceColumn, balance);
}

void invoicesandlist::fitItemNames()
{
    // The item names widen their column from its 210 pixels, taking room from
    // the stretching Amount column, but never crowd it out.
    QTableWidget *table = ui->invoice_table;
    table->resizeColumnToContents(ItemNameColumn);
    const int needed = table->columnWidth(ItemNameColumn);
    table->setColumnWidth(ItemNameColumn, qBound(ItemNameWidth, needed, ItemNameWidth + 90));
}

void invoicesandlist::loadDcItems()
{
    m_isLoading = true;
    ui->invoice_table->setRowCount(0);
    const BillableLines billable = billableChallanLines(m_dcNos, m_fyName);
    for (const InvoiceFormLine &line : billable.lines)
        appendLine(line);
    fitItemNames();
    ui->cpoEdit->setText(billable.poNumbers);
    m_isLoading = false;
    calculateTotals();
}

void invoicesandlist::calculateTotals()
{
    const QTableWidget *table = ui->invoice_table;
    QList<TaxedAmount> rows;
    for (int r = 0; r < table->rowCount(); ++r) {
        const QTableWidgetItem *qty = table->item(r, QtyColumn);
        rows.append({cellAmount(table, r, AmountColumn), qty ? qty->data(Qt::UserRole).toDouble() : 0});
    }
    const InvoiceTotals totals = computeInvoiceTotals(rows, isIgstCustomer(m_customerType));
    ui->base_AmountEdit->setText(totals.taxable.text());
    ui->cgstEdit->setText(totals.cgst.text());
    ui->sgstEdit->setText(totals.sgst.text());
    ui->igstEdit->setText(totals.igst.text());
    ui->netTotalEdit->setText(Money::fromRupees(totals.net).text());
    ui->rupeesEdit->setPlainText(totals.words);
    ui->tax_detailsEdit->setPlainText(totals.taxDetails);
}

void invoicesandlist::on_invoice_table_cellChanged(int row, int col)
{
    if (col != QtyColumn || m_isLoading)
        return;
    QTableWidget *table = ui->invoice_table;
    QTableWidgetItem *cell = table->item(row, QtyColumn);
    if (!cell)
        return;
    const double balance = readTypedCell(table, row, BalanceColumn).valueOr(0);
    // The balance as the line shows it: exactly, however large it is.
    const QTableWidgetItem *balanceCell = table->item(row, BalanceColumn);
    const QString shownBalance = balanceCell ? balanceCell->text() : threeDecimalText(balance);
    m_isLoading = true;
    const QtyEdit edit = checkInvoiceQty(cell->text(), balance);
    if (edit.check == QtyCheck::Exceeds) {
        Desktop::warning(this, QStringLiteral("Qty Exceeds"), qtyExceedsText(shownBalance));
        cell->setText(shownBalance);
    } else if (edit.check == QtyCheck::Refused) {
        Desktop::warning(this, QStringLiteral("Invalid Qty"), qtyRefusedText());
        cell->setText(threeDecimalText(0.0));
    }
    // A line whose amount would not fit is refused as any quantity that is
    // no quantity: each line that is too large is reset, and the line being
    // edited when the lines fit but their total does not.
    if (refusedAsTooLarge(this, table, m_customerType)) {
        for (int tooLarge = invoiceLineTooLarge(lineProducts(table)); tooLarge >= 0;
             tooLarge = invoiceLineTooLarge(lineProducts(table)))
            table->item(tooLarge, QtyColumn)->setText(threeDecimalText(0.0));
        if (!invoiceFiguresRefusal(lineProducts(table), isIgstCustomer(m_customerType)).isEmpty())
            cell->setText(threeDecimalText(0.0));
    }
    // Each line's quantity as its cell now holds it (typed, or put back by
    // the checks) times the rate shown, rounded once to paise.
    const QList<TaxedAmount> lines = lineProducts(table);
    for (int r = 0; r < table->rowCount(); ++r) {
        QTableWidgetItem *amount = table->item(r, AmountColumn);
        if (amount && (r == row || amount->text() != lines.at(r).amount.text()))
            amount->setText(lines.at(r).amount.text());
    }
    m_isLoading = false;
    calculateTotals();
}

InvoiceWrite invoicesandlist::invoiceFromForm(int number, const QString &fy) const
{
    InvoiceWrite invoice;
    invoice.number = number;
    invoice.fy = fy;
    invoice.date = ui->invdateEdit->date().toString(QStringLiteral("yyyy-MM-dd"));
    invoice.customerId = m_customerId;
    const auto field = [](const QLineEdit *edit) { return Money::fromText(edit->text()).value_or(Money()); };
    invoice.subTotal = field(ui->base_AmountEdit);
    invoice.cgst = field(ui->cgstEdit);
    invoice.sgst = field(ui->sgstEdit);
    invoice.igst = field(ui->igstEdit);
    invoice.grandTotal = field(ui->netTotalEdit);
    invoice.remarks = ui->cpoEdit->text().trimmed();
    invoice.isAbstract = ui->abstract_checkbox->isChecked();
    invoice.abstractContent = ui->abstract_invoiceEdit->toPlainText().trimmed();

    // One entry per row, so a failing line names its row; rows lacking a
    // cell are written as nothing.
    const QTableWidget *table = ui->invoice_table;
    for (int r = 0; r < table->rowCount(); ++r) {
        InvoiceLineWrite line;
        const QTableWidgetItem *qty = table->item(r, QtyColumn);
        const QTableWidgetItem *delivery = table->item(r, DeliveryNoColumn);
        if (qty && table->item(r, RateColumn) && table->item(r, AmountColumn) && table->item(r, ItemIdColumn)
            && delivery) {
            line.qty = readTypedCell(qty).valueOr(0);
            line.taxPercent = qty->data(Qt::UserRole).toDouble();
            line.rate = readTypedCell(table, r, RateColumn).valueOr(0);
            line.amount = cellAmount(table, r, AmountColumn);
            line.itemId = table->item(r, ItemIdColumn)->text().toInt();
            line.deliveryNo = delivery->text().toInt();
            line.deliveryFy = delivery->data(Qt::UserRole).toString();
            const QTableWidgetItem *balance = table->item(r, BalanceColumn);
            if (balance && balance->data(Qt::UserRole).isValid())
                line.shownCarried = balance->data(Qt::UserRole).toDouble();
        }
        invoice.lines.append(line);
    }
    return invoice;
}

void invoicesandlist::on_save_btn_clicked()
{
    if (s_saveInProgress) {
        qDebug() << "Invoice save already running";
        return;
    }
    s_saveInProgress = true;
    struct Clear
    {
        ~Clear() { s_saveInProgress = false; }
    } clearFlag;

    if (m_customerId < 1 || ui->invoice_table->rowCount() == 0) {
        Desktop::warning(this, QStringLiteral("Error"), QStringLiteral("No items to invoice!"));
        return;
    }
    const int number = invoiceNumberFromText(ui->invnoEdit->text());
    if (number < 1) {
        Desktop::warning(this, QStringLiteral("Error"), QStringLiteral("Invalid Invoice No!"));
        return;
    }
    if (refusedAsTooLarge(this, ui->invoice_table, m_customerType, totalFields(ui)))
        return;
    const InvoiceWrite invoice = invoiceFromForm(number, g_currentFY);
    const InvoiceWriteOutcome outcome = saveInvoice(invoice);
    switch (outcome.result) {
    case WriteResult::NothingToWrite:
        Desktop::warning(this, QStringLiteral("Error"), QStringLiteral("At least one item must have qty!"));
        return;
    case WriteResult::Failed:
        // The number is checked inside the save's transaction, so a save of
        // the same number from another copy of the program is seen too.
        if (outcome.numberUsed)
            Desktop::warning(this, QStringLiteral("Duplicate"), QStringLiteral("Invoice No already exists!"));
        else if (outcome.noInvoiceId)
            Desktop::critical(this, QStringLiteral("Database Error"), QStringLiteral("Failed to retrieve Invoice ID."));
        else if (outcome.failedRow > 0)
            Desktop::warning(this, QStringLiteral("Error Saving Item Row ") + QString::number(outcome.failedRow),
                             outcome.error);
        else
            Desktop::warning(this, QStringLiteral("Error"), outcome.error);
        return;
    case WriteResult::Written:
        break;
    }

    const QString fullNumber = fullDocumentNumber(number, g_currentFY);
    ui->invnoEdit->setText(fullNumber);
    ui->save_btn->setEnabled(false);
    Desktop::information(this, QStringLiteral("Success"), QStringLiteral("Invoice ") + fullNumber + " saved!");
    clearForm();
    loadInvoiceList(-1, QString(), QString());
}

void invoicesandlist::clearForm()
{
    m_dcNos.clear();
    ui->abstract_checkbox->setChecked(false);
    ui->abstract_invoiceEdit->setPlainText(QString());
    m_customerId = -1;
    m_isLoading = true;
    ui->invoice_table->setRowCount(0);
    m_isLoading = false;
    for (QLineEdit *edit : {ui->customerNameEdit, ui->gstEdit, ui->phoneEdit, ui->emailEdit, ui->vendorEdit,
                            ui->cpoEdit, ui->base_AmountEdit, ui->cgstEdit, ui->sgstEdit, ui->igstEdit,
                            ui->netTotalEdit})
        edit->clear();
    for (QTextEdit *edit : {ui->addressEdit, ui->rupeesEdit, ui->tax_detailsEdit})
        edit->clear();
    m_loadedInvoiceNo = -1;
    m_loaded = InvoiceAsRead();
    ui->save_btn->setEnabled(true);
    ui->update_btn->setEnabled(false);
    ui->bill_cancel_btn->setEnabled(false);
    ui->delete_btn->setEnabled(false);
}

void invoicesandlist::on_reset_btn_2_clicked()
{
    m_loadedInvoiceNo = -1;
    clearForm();
}

void invoicesandlist::on_abstract_checkbox_stateChanged(int state)
{
    if (state == Qt::Checked) {
        ui->abstract_invoiceEdit->setEnabled(true);
        ui->abstract_invoiceEdit->setFocus();
    } else {
        ui->abstract_invoiceEdit->setEnabled(false);
        ui->abstract_invoiceEdit->clear();
    }
}

void invoicesandlist::on_close_btn_clicked()
{
    close();
}

void invoicesandlist::loadInvoiceList(int customerId, const QString &from, const QString &to)
{
    QTableWidget *list = ui->viewing_table;
    list->setRowCount(0);
    QList<MiniListRow> rows;
    QString error;
    if (!queryInvoiceMiniList(customerId, from, to, g_currentFY, &rows, &error)) {
        qDebug() << "Invoice list failed:" << error;
        return;
    }
    TableFill fill(list, int(rows.size()));
    RepeatedTexts<QString> dates(storedDateText);
    for (int r = 0; r < rows.size(); ++r) {
        const MiniListRow &row = rows.at(r);
        QTableWidgetItem *cells[] = {fill.add(r, ListNumberColumn, QString::number(row.invoiceNo)),
                                     fill.add(r, ListFullNumberColumn, row.fullNumber),
                                     fill.add(r, ListDateColumn, dates(row.date)),
                                     fill.add(r, ListCustomerColumn, row.customerName),
                                     fill.add(r, ListAmountColumn, amountText(row.grandTotal))};
        cells[ListNumberColumn]->setData(ListFyRole, row.fy);
        cells[ListAmountColumn]->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        for (QTableWidgetItem *cell : cells) {
            cell->setFlags(cell->flags() & ~Qt::ItemIsEditable);
            if (row.cancelled) {
                cell->setForeground(CancelledText);
                cell->setBackground(CancelledBackground);
            }
        }
    }
    fill.finish();
}

void invoicesandlist::on_show_btn_clicked()
{
    loadInvoiceList(chosenCustomerId(ui->company_combo), ui->fromdateEdit->date().toString(QStringLiteral("yyyy-MM-dd")),
                    ui->todateEdit->date().toString(QStringLiteral("yyyy-MM-dd")));
}

void invoicesandlist::on_reset_btn_clicked()
{
    ui->company_combo->setCurrentIndex(0);
    ui->fromdateEdit->setDate(defaultPeriodStart());
    ui->todateEdit->setDate(QDate::currentDate());
    loadInvoiceList(-1, QString(), QString());
}

void invoicesandlist::onInvoiceListContextMenu(const QPoint &pos)
{
    // The invoice is the row's number and stored year, not its number text.
    int number = 0;
    QString fy;
    loadBackContextMenu(
        ui->viewing_table, pos, QStringLiteral("↩ Load Back"),
        [&](int row) {
            const QTableWidgetItem *item = ui->viewing_table->item(row, ListNumberColumn);
            if (!item)
                return false;
            number = item->text().toInt();
            fy = item->data(ListFyRole).toString();
            return true;
        },
        [&](int, const QString &) { loadInvoiceBack(number, fy); });
}

void invoicesandlist::loadInvoiceBack(int invoiceNo, const QString &fy)
{
    LoadedInvoice invoice;
    QString error;
    if (loadInvoice(invoiceNo, fy, &invoice, &error) != LoadResult::Loaded) {
        // A failing line query leaves the head shown with no lines.
        return;
    }
    if (invoice.cancelled) {
        Desktop::information(this, QStringLiteral("Cancelled"),
                             QStringLiteral("This invoice is cancelled — cannot load."));
        return;
    }
    m_loadedInvoiceNo = invoiceNo;
    m_loadedInvoiceFy = fy;
    m_loaded = invoice.read;
    m_customerId = invoice.customerId;
    ui->invnoEdit->setText(invoice.fullNumber);
    ui->invdateEdit->setDate(QDate::fromString(invoice.date, QStringLiteral("yyyy-MM-dd")));
    ui->cpoEdit->setText(invoice.remarks);
    ui->abstract_checkbox->setChecked(invoice.isAbstract);
    ui->abstract_invoiceEdit->setPlainText(invoice.abstractContent);
    loadCustomerDetails();

    m_isLoading = true;
    ui->invoice_table->setRowCount(0);
    m_dcNos.clear();
    for (const InvoiceFormLine &line : invoice.lines) {
        if (!m_dcNos.contains(line.deliveryNo))
            m_dcNos.append(line.deliveryNo);
        appendLine(line);
    }
    fitItemNames();
    m_isLoading = false;
    calculateTotals();
    ui->save_btn->setEnabled(false);
    ui->update_btn->setEnabled(true);
    ui->delete_btn->setEnabled(true);
    ui->bill_cancel_btn->setEnabled(true);
}

void invoicesandlist::afterCorrection()
{
    m_loadedInvoiceNo = -1;
    clearForm();
    loadInvoiceList(-1, QString(), QString());
}

void invoicesandlist::on_update_btn_clicked()
{
    if (m_loadedInvoiceNo == -1) {
        Desktop::warning(this, QStringLiteral("Error"), QStringLiteral("No invoice loaded for update!"));
        return;
    }
    if (ui->abstract_checkbox->isChecked() && ui->abstract_invoiceEdit->toPlainText().trimmed().isEmpty()) {
        Desktop::warning(this, QStringLiteral("Error"), QStringLiteral("Please enter details in abstract field!"));
        return;
    }
    if (refusedAsTooLarge(this, ui->invoice_table, m_customerType, totalFields(ui)))
        return;
    const InvoiceWriteOutcome outcome = replaceInvoice(invoiceFromForm(m_loadedInvoiceNo, m_loadedInvoiceFy), m_loaded);
    if (outcome.result == WriteResult::NothingToWrite) {
        Desktop::warning(this, QStringLiteral("Error"), QStringLiteral("At least one item must have qty!"));
        return;
    }
    if (outcome.result == WriteResult::Failed) {
        Desktop::warning(this, QStringLiteral("Error"), outcome.stale ? withGoOn(outcome.error) : outcome.error);
        return;
    }
    const QString fullNumber = fullDocumentNumber(m_loadedInvoiceNo, m_loadedInvoiceFy);
    ui->invnoEdit->setText(fullNumber);
    Desktop::information(this, QStringLiteral("Success"), QStringLiteral("Invoice ") + fullNumber + " updated!");
    afterCorrection();
}

void invoicesandlist::on_bill_cancel_btn_clicked()
{
    if (m_loadedInvoiceNo == -1) {
        Desktop::warning(this, QStringLiteral("Error"), QStringLiteral("No invoice loaded for cancellation!"));
        return;
    }
    if (Desktop::question(this, QStringLiteral("Confirm Cancel Bill"),
                          QStringLiteral("Cancel Invoice No ") + QString::number(m_loadedInvoiceNo)
                              + QStringLiteral("?\n\nThe invoiced quantities will return to the DCs and become "
                                               "available for re-invoicing."),
                          QMessageBox::Yes | QMessageBox::No)
        != QMessageBox::Yes)
        return;
    const CorrectionOutcome outcome = cancelLoadedInvoice(m_loadedInvoiceNo, m_loadedInvoiceFy, m_loaded);
    if (outcome.result != CorrectionResult::Done) {
        Desktop::warning(this, QStringLiteral("Error"),
                         outcome.result == CorrectionResult::Stale ? withGoOn(outcome.error) : outcome.error);
        return;
    }
    Desktop::information(this, QStringLiteral("Cancelled"),
                         QStringLiteral("Invoice cancelled! DC quantities released for re-invoicing."));
    afterCorrection();
}

void invoicesandlist::on_delete_btn_clicked()
{
    if (m_loadedInvoiceNo == -1) {
        Desktop::warning(this, QStringLiteral("Error"), QStringLiteral("Load an invoice first (right-click → Load Back)!"));
        return;
    }
    const int number = m_loadedInvoiceNo;
    const QString fy = m_loadedInvoiceFy;
    const QString fullNumber = fullDocumentNumber(number, fy);
    if (Desktop::question(this, QStringLiteral("Confirm Delete"),
                          QStringLiteral("Permanently delete Invoice ") + fullNumber
                              + QStringLiteral("?\n\n\u2022 The invoice number becomes available for reuse\n"
                                               "\u2022 The DC quantities return for re-invoicing"),
                          QMessageBox::Yes | QMessageBox::No)
        != QMessageBox::Yes)
        return;

    const CorrectionOutcome outcome = deleteLoadedInvoice(number, fy, m_loaded);
    if (outcome.result != CorrectionResult::Done) {
        Desktop::warning(this, QStringLiteral("Error"),
                         outcome.result == CorrectionResult::Stale ? withGoOn(outcome.error) : outcome.error);
        return;
    }
    Desktop::information(this, QStringLiteral("Deleted"), QStringLiteral("Invoice deleted! Number available for reuse."));
    afterCorrection();
}

void invoicesandlist::on_print_btn_clicked()
{
    int number = 0;
    QString fy = g_currentFY;
    if (m_loadedInvoiceNo != -1) {
        number = m_loadedInvoiceNo;
        fy = m_loadedInvoiceFy;
    } else {
        // The number box as a Save or an Update left it: number/year. Without
        // a year it is the current one, into which Save writes.
        const QString text = ui->invnoEdit->text();
        const QStringList parts = text.split(QLatin1Char('/'), Qt::SkipEmptyParts);
        if (!parts.isEmpty())
            number = invoiceNumberFromText(parts.first());
        const QString typedFy = text.section(QLatin1Char('/'), 1).trimmed();
        if (!typedFy.isEmpty())
            fy = typedFy;
    }
    if (number > 0)
        printInvoice(number, QStringLiteral("Original for recipient"), fy, this);
    else
        Desktop::warning(this, QStringLiteral("Error"), QStringLiteral("Load or save an invoice first!"));
}
