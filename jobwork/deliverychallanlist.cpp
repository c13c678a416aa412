#include "deliverychallanlist.h"
#include "ui_deliverychallanlist.h"

#include "core/financialyear.h"
#include "core/money.h"
#include "core/storedsum.h"
#include "output/desktop.h"
#include "widgets/formconventions.h"
#include "widgets/tablefill.h"
#include "widgets/typedcell.h"
#include "jobwork/challandocument.h"
#include "jobwork/challanstore.h"
#include "jobwork/inwardstore.h"

#include <QDate>
#include <QDebug>
#include <QHeaderView>
#include <QKeyEvent>

namespace {

// Columns of the line table.
enum LineColumn {
    ColSlNo = 0,
    ColDcNo,
    ColDcDate,
    ColPoNo,
    ColItemCode,
    ColItemName,
    ColUom,
    ColQty,
    ColItemId,
    ColInwardNo,
    ColBalance,
    LineColumns
};

// Columns of the challan list.
enum ListColumn { ListNumber = 0, ListFullNumber, ListDate, ListCompany, ListQty, ListRemarks, ListColumns };

// The financial year of a list row, kept with its hidden number.
constexpr int FyRole = Qt::UserRole + 1;

const QString NoDateFilter;

// The customer's DC date of a line: "dd-MM-yyyy", empty when unreadable.
QString lineDateText(const QString &stored)
{
    const QDate date = QDate::fromString(stored, "yyyy-MM-dd");
    return date.isValid() ? date.toString("dd-MM-yyyy") : QString();
}

// After a refusal of a new challan whose balances changed: how to go on.
QString refillFormAdvice()
{
    return QStringLiteral("\n\nSet the Qty of the line(s) named to 0 to save the rest, or open Create Delivery Challan, "
                          "press Show and Proceed again: the new form shows the balances as they are now. This "
                          "form keeps what you typed until you close it.");
}

// After a refusal of the loaded challan: how to go on, in the form's own terms.
QString reloadChallanAdvice()
{
    return QString::fromUtf8("\n\nPress Reset to list the challans as they are now, then load the DC back "
                             "(right-click → Load Back); what you typed stays in the form until then. "
                             "EditCancel leaves the DC.");
}

// After a refusal of lines that together exceed what an inward line has left.
QString lowerQtyAdvice(const QString &button)
{
    return QStringLiteral("\n\nLower the Qty of the line(s) named so that together they stay within what is left, "
                          "then press ")
           + button + QStringLiteral(" again; what you typed stays in the form.");
}

QTableWidgetItem *readOnlyItem(const QString &text)
{
    auto *item = new QTableWidgetItem(text);
    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    return item;
}

// A quantity cell: a missing cell, empty text and text that is no number
// count 0.
double cellNumber(const QTableWidget *table, int row, int col)
{
    return readTypedCell(table, row, col).valueOr(0);
}

int cellInteger(const QTableWidget *table, int row, int col)
{
    const QTableWidgetItem *item = table->item(row, col);
    return item ? item->text().toInt(nullptr, 10) : 0;
}

} // namespace

deliveryChallanList::deliveryChallanList(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::deliveryChallanList)
{
    ui->setupUi(this);
    setWindowTitle("Delivery Challan - Kestrova App");
    setupFormHeader(ui->header_band, ui->header_title, ui->header_left_image, ui->header_right_image);

    ui->odcdateEdit->setDate(QDate::currentDate());
    ui->odcdateEdit->setCalendarPopup(true);
    ui->companyNameEdit->setReadOnly(true);
    setupLineTable();
    setupListTable();

    resetPeriod();
    loadCustomerCombo();
    loadDcList(-1, NoDateFilter, NoDateFilter);

    ui->update_btn->setEnabled(false);
    ui->cancel_btn->setEnabled(false);
    ui->sac_combo->addItem("998873");
    ui->qtyEditing_Table->installEventFilter(this);
    connect(ui->dc_list_table, &QWidget::customContextMenuRequested, this,
            &deliveryChallanList::onDcListContextMenu);
}

deliveryChallanList::~deliveryChallanList()
{
    delete ui;
}

void deliveryChallanList::setupLineTable()
{
    QTableWidget *t = ui->qtyEditing_Table;
    t->setColumnCount(LineColumns);
    t->setHorizontalHeaderLabels({"Sl No", "C DC No", "C DC Date", "C PO No", "Item Code", "Item Name", "UOM", "Qty",
                                  "item_id", "inward_no", "balance"});
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setAlternatingRowColors(true);
    t->verticalHeader()->setVisible(false);
    t->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    t->horizontalHeader()->setSectionResizeMode(ColItemName, QHeaderView::Stretch);
    t->setColumnHidden(ColItemId, true);
    t->setColumnHidden(ColInwardNo, true);
    t->setColumnHidden(ColBalance, true);
}

void deliveryChallanList::setupListTable()
{
    QTableWidget *t = ui->dc_list_table;
    t->setColumnCount(ListColumns);
    t->setHorizontalHeaderLabels({"delivery_no", "DC No", "DC Date", "Company Name", "Qty", "Remarks"});
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setAlternatingRowColors(true);
    t->verticalHeader()->setVisible(false);
    t->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    t->horizontalHeader()->setSectionResizeMode(ListCompany, QHeaderView::Stretch);
    t->horizontalHeader()->setSectionResizeMode(ListRemarks, QHeaderView::Stretch);
    t->setContextMenuPolicy(Qt::CustomContextMenu);
    t->setColumnHidden(ListNumber, true);
}

void deliveryChallanList::setInwardData(const QList<int> &inwardNumbers, int customer, const QString &companyName)
{
    qDebug() << "Inward Nos:" << inwardNumbers << "Customer ID:" << customer << "Company:" << companyName;
    inwardNos = inwardNumbers;
    customerId = customer;
    ui->companyNameEdit->setText(companyName);
    nextDcNumber();
    loadInwardRows();
    qDebug() << "Rows loaded in qtyEditing_Table:" << ui->qtyEditing_Table->rowCount();
}

void deliveryChallanList::nextDcNumber()
{
    ui->odcEdit->setText(fullDocumentNumber(nextChallanNumber(g_currentFY), g_currentFY));
}

void deliveryChallanList::loadInwardRows()
{
    loadingRows = true;
    ui->qtyEditing_Table->setRowCount(0);
    const PendingInward pending = loadPendingInwardLines(inwardNos, customerId, g_currentFY);
    shownLines.clear();
    for (const ChallanLine &line : pending.lines)
        appendLineRow(line);
    ui->remarksEdit->setText(pending.remarks);
    loadingRows = false;
    updateTotalQty();

    if (!pending.error.isEmpty()) {
        Desktop::warning(this, "Query Error", pending.error);
    } else if (!pending.notFound.isEmpty()) {
        QStringList numbers;
        for (int n : pending.notFound)
            numbers << QString::number(n);
        Desktop::warning(this, "Error",
                         QString("Inward No %1 of this customer not found in financial year %2; not loaded.\n"
                                 "Only inward entries of the current financial year can be delivered here.")
                             .arg(numbers.join(", "), g_currentFY));
    }
}

void deliveryChallanList::appendLineRow(const ChallanLine &line)
{
    shownLines.insert({line.inwardNo, line.itemId}, line.state);
    QTableWidget *t = ui->qtyEditing_Table;
    const int row = t->rowCount();
    t->insertRow(row);
    t->setItem(row, ColSlNo, readOnlyItem(QString::number(row + 1)));
    t->setItem(row, ColDcNo, readOnlyItem(line.dcNo));
    t->setItem(row, ColDcDate, readOnlyItem(lineDateText(line.dcDate)));
    t->setItem(row, ColPoNo, readOnlyItem(line.poNo));
    t->setItem(row, ColItemCode, readOnlyItem(line.itemCode));
    t->setItem(row, ColItemName, readOnlyItem(line.itemName));
    t->setItem(row, ColUom, readOnlyItem(line.uom));
    auto *qty = new QTableWidgetItem(quantityText(line.qty));
    qty->setBackground(QColor("#fffde7"));
    t->setItem(row, ColQty, qty);
    t->setItem(row, ColItemId, readOnlyItem(QString::number(line.itemId)));
    t->setItem(row, ColInwardNo, readOnlyItem(QString::number(line.inwardNo)));
    t->setItem(row, ColBalance, readOnlyItem(quantityText(line.balance())));
}

void deliveryChallanList::updateTotalQty()
{
    // The quantities as typed, summed exactly to all of their digits and
    // rounded once; text that is no number counts 0.
    StoredTotal total;
    for (int row = 0; row < ui->qtyEditing_Table->rowCount(); ++row)
        total += cellDecimal(ui->qtyEditing_Table, row, ColQty);
    ui->totalQtyEdit->setText(total.text(3));
}

void deliveryChallanList::clearForm()
{
    inwardNos.clear();
    customerId = -1;
    ui->odcEdit->clear();
    ui->companyNameEdit->clear();
    ui->totalQtyEdit->clear();
    ui->remarksEdit->clear();
    ui->odcdateEdit->setDate(QDate::currentDate());
    ui->qtyEditing_Table->setRowCount(0);
    shownLines.clear();
}

void deliveryChallanList::leaveEditing()
{
    editingDcNo = -1;
    editingFy.clear();
    editingRows = StoredRow();
    editingBilling.clear();
    ui->odcEdit->setReadOnly(false);
    ui->save_btn->setEnabled(true);
    ui->update_btn->setEnabled(false);
    ui->cancel_btn->setEnabled(false);
}

void deliveryChallanList::on_qtyEditing_Table_cellChanged(int row, int col)
{
    if (col != ColQty || loadingRows)
        return;
    const double qty = cellNumber(ui->qtyEditing_Table, row, ColQty);
    const double balance = cellNumber(ui->qtyEditing_Table, row, ColBalance);
    if (qty > balance) {
        Desktop::warning(this, "Qty Exceeds Balance",
                         "Delivery qty cannot exceed balance (" + quantityText(balance) + ")!");
        loadingRows = true;
        ui->qtyEditing_Table->item(row, ColQty)->setText(quantityText(balance));
        loadingRows = false;
    }
    updateTotalQty();
}

bool deliveryChallanList::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ui->qtyEditing_Table && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Delete) {
        const int row = ui->qtyEditing_Table->currentRow();
        if (row >= 0) {
            ui->qtyEditing_Table->removeRow(row);
            updateTotalQty();
        }
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

ChallanWrite deliveryChallanList::challanFromForm(int number, const QString &fy) const
{
    ChallanWrite challan;
    challan.number = number;
    challan.fy = fy;
    challan.date = ui->odcdateEdit->date().toString("yyyy-MM-dd");
    challan.customerId = customerId;
    challan.sacCode = ui->sac_combo->currentText();
    challan.remarks = ui->remarksEdit->text().trimmed();
    const QTableWidget *t = ui->qtyEditing_Table;
    for (int row = 0; row < t->rowCount(); ++row) {
        const int inwardNo = cellInteger(t, row, ColInwardNo);
        const int itemId = cellInteger(t, row, ColItemId);
        challan.lines.append({inwardNo, itemId, cellNumber(t, row, ColQty), shownLines.value({inwardNo, itemId})});
    }
    return challan;
}

void deliveryChallanList::on_save_btn_clicked()
{
    if (customerId < 1 || ui->qtyEditing_Table->rowCount() == 0) {
        Desktop::warning(this, "Error", "No items to save! Select DCs from Generate DC first.");
        return;
    }
    const int number = challanNumberFromText(ui->odcEdit->text());
    if (number < 1) {
        Desktop::warning(this, "Error", "Invalid DC No!");
        return;
    }
    const QString fullNumber = fullDocumentNumber(number, g_currentFY);
    QString error;
    if (challanExists(number, g_currentFY, &error)) {
        Desktop::warning(this, "Duplicate", "DC No " + fullNumber + " already exists!\nPlease use a different number.");
        return;
    }
    if (!error.isEmpty()) {
        Desktop::warning(this, "Save Error", error);
        return;
    }

    const WriteOutcome outcome = saveChallan(challanFromForm(number, g_currentFY));
    if (outcome.numberUsed) {
        Desktop::warning(this, "Duplicate", "DC No " + fullNumber + " already exists!\nPlease use a different number.");
        return;
    }
    if (!outcome.refusals.isEmpty()) {
        Desktop::warning(this, "Error", outcome.refusals.join('\n') + "\nNothing was saved." + refillFormAdvice());
        return;
    }
    if (!outcome.beyondBalance.isEmpty()) {
        Desktop::warning(this, "Qty Exceeds Balance",
                         outcome.beyondBalance.join('\n') + "\nNothing was saved." + lowerQtyAdvice("Save"));
        return;
    }
    if (outcome.result == WriteResult::Failed) {
        Desktop::warning(this, "Save Error", outcome.error);
        return;
    }
    if (outcome.result == WriteResult::NothingToWrite) {
        Desktop::warning(this, "Error", "Please enter qty for at least one item!");
        return;
    }
    loadDcList(-1, NoDateFilter, NoDateFilter);
    Desktop::information(this, "Success", "Delivery Challan " + fullNumber + " saved successfully!");
    printChallan(number, g_currentFY);
    clearForm();
}

void deliveryChallanList::on_update_btn_clicked()
{
    if (editingDcNo == -1) {
        Desktop::warning(this, "Error", "No DC selected for update!");
        return;
    }
    const WriteOutcome outcome =
        replaceChallan(challanFromForm(editingDcNo, editingFy), editingRows, editingBilling);
    if (!outcome.refusals.isEmpty()) {
        Desktop::warning(this, "Error", outcome.refusals.join('\n') + "\nNothing was updated." + reloadChallanAdvice());
        return;
    }
    if (!outcome.beyondBalance.isEmpty()) {
        Desktop::warning(this, "Qty Exceeds Balance",
                         outcome.beyondBalance.join('\n') + "\nNothing was updated." + lowerQtyAdvice("Update"));
        return;
    }
    if (!outcome.belowBilled.isEmpty()) {
        Desktop::warning(this, "Error", outcome.belowBilled.join('\n') + "\nNothing was updated.");
        return;
    }
    if (outcome.changed) {
        Desktop::warning(this, "Error",
                         challanChangedText(fullDocumentNumber(editingDcNo, editingFy), "Nothing was updated.")
                             + reloadChallanAdvice());
        return;
    }
    if (outcome.result == WriteResult::Failed) {
        Desktop::warning(this, "Error", outcome.error);
        return;
    }
    if (outcome.result == WriteResult::NothingToWrite) {
        Desktop::warning(this, "Error", "At least one item must have qty!");
        return;
    }
    Desktop::information(this, "Success", "Delivery Challan updated!");
    leaveEditing();
    clearForm();
    loadDcList(-1, NoDateFilter, NoDateFilter);
}

void deliveryChallanList::on_delete_btn_clicked()
{
    if (editingDcNo == -1) {
        Desktop::warning(this, "Error", "Load a DC first (right-click → Load Back)!");
        return;
    }
    const QString fullNumber = fullDocumentNumber(editingDcNo, editingFy);
    if (Desktop::question(this, "Confirm Delete",
                          "Permanently delete DC " + fullNumber + "?\nThe number becomes available for reuse.",
                          QMessageBox::Yes | QMessageBox::No)
        != QMessageBox::Yes)
        return;

    const DeleteOutcome outcome = deleteChallan(editingDcNo, editingFy, editingRows);
    if (outcome.result == DeleteResult::Changed) {
        Desktop::warning(this, "Error", challanChangedText(fullNumber, "Nothing was deleted.") + reloadChallanAdvice());
        return;
    }
    if (outcome.result == DeleteResult::Invoiced) {
        Desktop::warning(this, "Cannot Delete",
                         "DC " + fullNumber + " is billed on invoice " + outcome.invoices.join(", ")
                             + ".\nCancel or delete the invoice before deleting the DC.");
        return;
    }
    if (outcome.result == DeleteResult::Failed) {
        Desktop::warning(this, "Database Error", "DC " + fullNumber + " was not deleted:\n" + outcome.error);
        return;
    }
    Desktop::information(this, "Deleted", "DC deleted! Number available for reuse.");
    leaveEditing();
    clearForm();
    loadDcList(-1, NoDateFilter, NoDateFilter);
}

void deliveryChallanList::on_cancel_btn_clicked()
{
    leaveEditing();
    clearForm();
}

void deliveryChallanList::on_close_btn_clicked()
{
    close();
}

void deliveryChallanList::loadCustomerCombo()
{
    ::loadCustomerCombo(ui->company_combo, "-- All Companies --");
}

void deliveryChallanList::resetPeriod()
{
    ui->fromdateEdit->setDate(defaultPeriodStart());
    ui->todateEdit->setDate(QDate::currentDate());
}

void deliveryChallanList::loadDcList(int customer, const QString &from, const QString &to)
{
    const QList<ChallanListRow> rows = challanList(customer, from, to, g_currentFY);
    TableFill fill(ui->dc_list_table, int(rows.size()), TableFill::Items::Kept);
    for (int row = 0; row < rows.size(); ++row) {
        const ChallanListRow &r = rows.at(row);
        fill.add(row, ListNumber, QString::number(r.number))->setData(FyRole, r.fy);
        fill.add(row, ListFullNumber, r.fullNumber);
        fill.add(row, ListDate, storedDateText(r.date));
        fill.add(row, ListCompany, r.customerName);
        fill.add(row, ListQty, quantityText(r.qty))->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        fill.add(row, ListRemarks, r.remarks);
    }
}

void deliveryChallanList::on_show_btn_clicked()
{
    loadDcList(chosenCustomerId(ui->company_combo), ui->fromdateEdit->date().toString("yyyy-MM-dd"),
               ui->todateEdit->date().toString("yyyy-MM-dd"));
}

void deliveryChallanList::on_reset_btn_clicked()
{
    ui->company_combo->setCurrentIndex(0);
    resetPeriod();
    loadDcList(-1, NoDateFilter, NoDateFilter);
}

void deliveryChallanList::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!reloadOnShow(&shownOnce))
        return;
    loadCustomerCombo();
    loadDcList(-1, NoDateFilter, NoDateFilter);
}

bool deliveryChallanList::chosenChallan(int row, int *number, QString *fy) const
{
    const QTableWidgetItem *item = row >= 0 ? ui->dc_list_table->item(row, ListNumber) : nullptr;
    if (!item)
        return false;
    *number = item->text().toInt(nullptr, 10);
    *fy = item->data(FyRole).toString();
    return true;
}

void deliveryChallanList::onDcListContextMenu(const QPoint &pos)
{
    // The shared menu reads the year from the full number's text; a challan
    // is identified by the number and year kept with its row instead.
    int menuRow = -1;
    loadBackContextMenu(
        ui->dc_list_table, pos, "↩ Load Back for view & Edit",
        [&menuRow](int row) {
            menuRow = row;
            return true;
        },
        [this, &menuRow](int, const QString &) {
            int number = 0;
            QString fy;
            if (chosenChallan(menuRow, &number, &fy))
                loadDcForEdit(number, fy);
        });
}

void deliveryChallanList::loadDcForEdit(int dcNo, const QString &fy)
{
    LoadedChallan challan;
    if (!loadChallan(dcNo, fy, &challan))
        return;

    editingDcNo = dcNo;
    editingFy = fy;
    editingRows = challan.rows;
    editingBilling = challan.billing;
    customerId = challan.customerId;
    // The loaded challan keeps its number and year; the field shows them.
    ui->odcEdit->setText(fullDocumentNumber(dcNo, fy));
    ui->odcEdit->setReadOnly(true);
    ui->odcdateEdit->setDate(QDate::fromString(challan.date, "yyyy-MM-dd"));
    ui->companyNameEdit->setText(challan.customerName);
    ui->remarksEdit->setText(challan.remarks);

    loadingRows = true;
    ui->qtyEditing_Table->setRowCount(0);
    shownLines.clear();
    inwardNos.clear();
    for (const ChallanLine &line : challan.lines) {
        if (!inwardNos.contains(line.inwardNo))
            inwardNos.append(line.inwardNo);
        appendLineRow(line);
    }
    loadingRows = false;
    updateTotalQty();
    ui->save_btn->setEnabled(false);
    ui->update_btn->setEnabled(true);
    ui->cancel_btn->setEnabled(true);
}

void deliveryChallanList::on_print_btn_clicked()
{
    int number = 0;
    QString fy;
    if (!chosenChallan(ui->dc_list_table->currentRow(), &number, &fy)) {
        Desktop::warning(this, "Print", "Please select a DC from the list.");
        return;
    }
    printChallan(number, fy);
}

void deliveryChallanList::printChallan(int dcNo, const QString &fy)
{
    ::printChallan(this, dcNo, fy);
}
