#include "inwardentry.h"
#include "ui_inwardentry.h"

#include "core/listformat.h"
#include "inwardstore.h"

#include "core/financialyear.h"
#include "core/money.h"
#include "core/typednumber.h"
#include "output/desktop.h"
#include "widgets/formconventions.h"
#include "widgets/formstyle.h"
#include "widgets/tablefill.h"

#include <QDebug>
#include <QGraphicsOpacityEffect>
#include <QHeaderView>
#include <QKeyEvent>
#include <QListWidget>
#include <QSignalBlocker>

namespace {

const char *const SelectedItemId = "selected_item_id";
const char *const DateFormat = "yyyy-MM-dd";
// A date field's stored text that does not read as a date (see showStoredDate).
const char *const StoredDate = "stored_date";
// Column 0 of the inward list carries, in this role, whether the entry is cancelled.
constexpr int CancelledRole = Qt::UserRole + 1;

QTableWidgetItem *qtyItem(double qty)
{
    auto *item = new QTableWidgetItem(quantityText(qty));
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

// Shows a stored date. One that does not read as "yyyy-MM-dd" is shown as
// stored (the field's special text at its minimum date) and kept for writing
// back until the user picks a date.
void showStoredDate(QDateEdit *edit, const QString &stored)
{
    const QDate date = QDate::fromString(stored, DateFormat);
    if (date.isValid()) {
        edit->setSpecialValueText(QString());
        edit->setProperty(StoredDate, QVariant());
        edit->setDate(date);
        return;
    }
    edit->setSpecialValueText(stored.isEmpty() ? QStringLiteral(" ") : stored);
    edit->setProperty(StoredDate, stored);
    edit->setDate(edit->minimumDate());
}

// The date to write: the picked date, or the stored text while it is shown.
QString dateToWrite(const QDateEdit *edit)
{
    const QVariant stored = edit->property(StoredDate);
    if (stored.isValid() && edit->date() == edit->minimumDate())
        return stored.toString();
    return edit->date().toString(DateFormat);
}

// Drops a stored text shown by showStoredDate; a field still showing it goes to today.
void forgetStoredDate(QDateEdit *edit)
{
    if (!edit->property(StoredDate).isValid())
        return;
    const bool showing = edit->date() == edit->minimumDate();
    edit->setProperty(StoredDate, QVariant());
    edit->setSpecialValueText(QString());
    if (showing)
        edit->setDate(QDate::currentDate());
}

// After a refusal of the loaded entry: how to go on, in the form's own terms.
QString reloadEntryAdvice()
{
    return QString::fromUtf8("\n\nPress Reset to list the entries as they are now, then load the entry back "
                             "(right-click → Load Back); what you typed stays in the form until then. "
                             "EditCancel leaves the entry.");
}

// Sets the columns' widths, each at least as wide as its (bold) heading in
// the table's font.
void setColumnWidths(QTableWidget *table, const QList<int> &widths)
{
    QHeaderView *header = table->horizontalHeader();
    table->ensurePolished();
    header->ensurePolished();
    for (int c = 0; c < widths.size(); ++c) {
        if (!table->isColumnHidden(c))
            table->setColumnWidth(c, qMax(widths.at(c), header->sectionSizeHint(c)));
    }
}

} // namespace

inwardentry::inwardentry(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::inwardentry)
{
    ui->setupUi(this);
    applyFormStyleSheet(this);
    setupFormHeader(ui->header_group, ui->title_label, ui->left_logo_label, ui->right_logo_label);
    resize(1500, 800);
    setWindowTitle("Inward Entry - Kestrova App");

    const QDate today = QDate::currentDate();
    ui->entry_group->setEnabled(true);
    ui->inwdateEdit->setEnabled(true);
    ui->inwdateEdit->setReadOnly(false);
    ui->inwdateEdit->setCalendarPopup(true);
    ui->inwdateEdit->setDate(today);
    for (QDateEdit *edit : {ui->dcdateEdit, ui->podateEdit}) {
        edit->setDate(today);
        edit->setCalendarPopup(true);
    }

    ui->add_btn->setAutoDefault(true);
    ui->add_btn->setDefault(true);
    for (QPushButton *button : {ui->save_btn, ui->update_btn, ui->cancel_btn, ui->show_btn, ui->reset_btn,
                                ui->delete_btn, ui->close_btn})
        button->setAutoDefault(true);

    ui->fromdateEdit_2->setDate(defaultPeriodStart());
    ui->todateEdit_2->setDate(today);
    ui->fromdateEdit_2->setCalendarPopup(true);
    ui->todateEdit_2->setCalendarPopup(true);
    ui->inward_list_table->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ui->inward_list_table, &QWidget::customContextMenuRequested, this,
            &inwardentry::onInwardListContextMenu);

    QTableWidget *lines = ui->inward_main_table;
    lines->setColumnCount(5);
    lines->setHorizontalHeaderLabels({"item_id", "Item Code", "Item Name", "UOM", "QTY"});
    lines->setColumnHidden(0, true);
    setColumnWidths(lines, {0, 120, 200, 80, 100});
    lines->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    lines->setSelectionBehavior(QAbstractItemView::SelectRows);
    lines->setAlternatingRowColors(true);
    lines->verticalHeader()->setVisible(false);
    ui->inwnoEdit->setReadOnly(true);
    setEditButtons(false);

    setupInwardListTable();
    loadCompanyCombos();
    generateInwardNo();
    lines->setRowCount(0);
    setupItemPopup();
    lines->installEventFilter(this);
}

inwardentry::~inwardentry()
{
    delete ui;
}

void inwardentry::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    qDebug() << "Inward Entry opened. Current FY:" << g_currentFY;
    // The constructor has just read the combos and the number; a later
    // showing reads them again.
    if (reloadOnShow(&shownOnce)) {
        loadCompanyCombos();
        generateInwardNo();
    }
    loadInwardList(-1, QString(), QString());
}

void inwardentry::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    if (itemPopup)
        itemPopup->hide();
}

// --- entry side ---

void inwardentry::loadCompanyCombos()
{
    loadCustomerCombo(ui->company_combo, "-- Select Company --", true);
    loadCustomerCombo(ui->company_combo_2, "-- All Companies --");
}

void inwardentry::generateInwardNo()
{
    // An entry loaded for editing keeps its own number and year.
    if (loadedInwardNo != -1)
        return;
    const QString number = nextInwardFullNumber(g_currentFY);
    ui->inwnoEdit->setText(number);
    qDebug() << "Current FY:" << g_currentFY;
    qDebug() << "Next Inward No:" << number;
}

void inwardentry::setupItemPopup()
{
    if (itemPopup)
        return;
    itemPopup = new QListWidget(this);
    itemPopup->setObjectName("item_popup");
    itemPopup->setWindowFlags(Qt::ToolTip);
    itemPopup->setFocusPolicy(Qt::NoFocus);
    itemPopup->setAttribute(Qt::WA_ShowWithoutActivating);
    itemPopup->setMouseTracking(true);
    itemPopup->setStyleSheet("QListWidget { border: 1px solid #0078d4; background: white; font-size: 13px; }"
                             "QListWidget::item { padding: 6px; }"
                             "QListWidget::item:hover { background: #e3f0ff; }"
                             "QListWidget::item:selected { background: #0078d4; color: white; }");
    itemPopup->hide();
    connect(itemPopup, &QListWidget::itemClicked, this, &inwardentry::onItemSelected);
    ui->search_combo->installEventFilter(this);
}

void inwardentry::searchItems(const QString &text)
{
    const QList<ItemHit> hits = searchCustomerItems(chosenCustomerId(ui->company_combo), text);
    itemPopup->clear();
    for (const ItemHit &hit : hits) {
        auto *entry = new QListWidgetItem(itemHitText(hit));
        entry->setData(Qt::UserRole, hit.itemId);
        entry->setData(Qt::UserRole + 1, hit.code);
        entry->setData(Qt::UserRole + 2, hit.name);
        entry->setData(Qt::UserRole + 3, hit.uom);
        itemPopup->addItem(entry);
    }
    itemPopup->setCurrentRow(-1);
    if (hits.isEmpty()) {
        itemPopup->hide();
        return;
    }
    const QLineEdit *box = ui->search_combo;
    itemPopup->move(box->mapToGlobal(QPoint(0, box->height())));
    itemPopup->resize(box->width(), itemPopupHeight(int(hits.size())));
    itemPopup->show();
    itemPopup->raise();
}

bool inwardentry::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent *>(event)->key();

    if (watched == ui->search_combo && itemPopup && itemPopup->isVisible()) {
        const int row = itemPopup->currentRow();
        switch (key) {
        case Qt::Key_Down:
            if (row < itemPopup->count() - 1)
                itemPopup->setCurrentRow(row + 1);
            return true;
        case Qt::Key_Up:
            if (row > 0)
                itemPopup->setCurrentRow(row - 1);
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (QListWidgetItem *current = itemPopup->currentItem())
                onItemSelected(current);
            return true;
        case Qt::Key_Escape:
            itemPopup->hide();
            return true;
        default:
            break;
        }
    }
    if (watched == ui->inward_main_table && key == Qt::Key_Delete) {
        const int row = ui->inward_main_table->currentRow();
        if (row >= 0)
            ui->inward_main_table->removeRow(row);
        updateTotalQty();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void inwardentry::onItemSelected(QListWidgetItem *item)
{
    if (!item)
        return;
    ui->codeEdit->setText(item->data(Qt::UserRole + 1).toString());
    ui->nameEdit->setText(item->data(Qt::UserRole + 2).toString());
    ui->uomEdit->setText(item->data(Qt::UserRole + 3).toString());
    ui->search_combo->setProperty(SelectedItemId, item->data(Qt::UserRole).toInt());
    ui->search_combo->clear();
    itemPopup->hide();
    ui->qtyEdit->setFocus();
    ui->qtyEdit->clear();
}

void inwardentry::forgetChosenItem()
{
    ui->search_combo->clear();
    itemPopup->hide();
    ui->codeEdit->clear();
    ui->nameEdit->clear();
    ui->uomEdit->clear();
    ui->search_combo->setProperty(SelectedItemId, 0);
}

void inwardentry::on_company_combo_currentIndexChanged(int)
{
    ui->inward_main_table->setRowCount(0);
    updateTotalQty();
    // An item chosen for the previous customer must not land on this one's entry.
    forgetChosenItem();
    if (chosenCustomerId(ui->company_combo) > 0)
        generateInwardNo();
}

void inwardentry::on_search_combo_textChanged(const QString &text)
{
    const QString search = text.trimmed();
    if (search.isEmpty()) {
        if (itemPopup)
            itemPopup->hide();
        return;
    }
    if (chosenCustomerId(ui->company_combo) < 1)
        return;
    searchItems(search);
}

void inwardentry::appendItemLine(int itemId, const QString &code, const QString &name, const QString &uom,
                                 double qty)
{
    QTableWidget *lines = ui->inward_main_table;
    const int row = lines->rowCount();
    lines->insertRow(row);
    lines->setItem(row, 0, new QTableWidgetItem(QString::number(itemId)));
    lines->setItem(row, 1, new QTableWidgetItem(code));
    lines->setItem(row, 2, new QTableWidgetItem(name));
    lines->setItem(row, 3, new QTableWidgetItem(uom));
    lines->setItem(row, 4, qtyItem(qty));
}

void inwardentry::on_add_btn_clicked()
{
    const int itemId = ui->search_combo->property(SelectedItemId).toInt();
    if (ui->nameEdit->text().trimmed().isEmpty() || itemId < 1) {
        Desktop::warning(this, "Error", "Please select an item first!");
        return;
    }
    if (typedNumberTooLarge(ui->qtyEdit->text(), FigureKind::Quantity)) {
        Desktop::warning(this, figureTooLargeTitle(), figureTooLargeText("Qty", FigureKind::Quantity));
        return;
    }
    // Read as a line's cell is: text that is no number counts as 0.
    const Decimal qty = inwardQuantity(ui->qtyEdit->text());
    if (qty <= Decimal()) {
        Desktop::warning(this, "Error", "Please enter a valid quantity!");
        return;
    }
    QTableWidget *lines = ui->inward_main_table;
    for (int row = 0; row < lines->rowCount(); ++row) {
        const QTableWidgetItem *id = lines->item(row, 0);
        if (id && id->text().toInt() == itemId) {
            Desktop::warning(this, "Duplicate", "Item already added!\nEdit qty directly in the table.");
            return;
        }
    }
    appendItemLine(itemId, ui->codeEdit->text().trimmed(), ui->nameEdit->text().trimmed(),
                   ui->uomEdit->text().trimmed(), qty.toDouble());
    ui->codeEdit->clear();
    ui->nameEdit->clear();
    ui->uomEdit->clear();
    ui->qtyEdit->clear();
    ui->search_combo->setProperty(SelectedItemId, 0);
    ui->search_combo->setFocus();
    updateTotalQty();
}

void inwardentry::on_inward_main_table_cellChanged(int, int col)
{
    if (col == 4 && !fillingLoadedLines)
        updateTotalQty();
}

void inwardentry::updateTotalQty()
{
    // The quantities as they are written, summed exactly; a figure beyond the
    // quantity bound counts as 0, as it is refused at Save.
    Decimal total;
    const QTableWidget *lines = ui->inward_main_table;
    for (int row = 0; row < lines->rowCount(); ++row) {
        const QTableWidgetItem *qty = lines->item(row, 4);
        total = total + (qty ? inwardQuantity(qty->text()) : Decimal());
    }
    ui->totalqtyEdit->setText(threeDecimalText(total));
}

QList<QPair<QString, QString>> inwardentry::itemLineCells() const
{
    QList<QPair<QString, QString>> cells;
    const QTableWidget *lines = ui->inward_main_table;
    for (int row = 0; row < lines->rowCount(); ++row) {
        const QTableWidgetItem *id = lines->item(row, 0);
        const QTableWidgetItem *qty = lines->item(row, 4);
        if (id && qty)
            cells.append({id->text(), qty->text()});
    }
    return cells;
}

bool inwardentry::linesToWrite(const QString &noCompanyText, QList<InwardLine> *lines)
{
    if (chosenCustomerId(ui->company_combo) < 1) {
        Desktop::warning(this, "Error", noCompanyText);
        return false;
    }
    const QList<QPair<QString, QString>> cells = itemLineCells();
    for (const auto &cell : cells) {
        if (typedNumberTooLarge(cell.second, FigureKind::Quantity)) {
            Desktop::warning(this, figureTooLargeTitle(), figureTooLargeText("Qty", FigureKind::Quantity));
            return false;
        }
    }
    *lines = inwardLinesToWrite(cells);
    if (lines->isEmpty()) {
        Desktop::warning(this, "Error", "Please enter qty for at least one item!");
        return false;
    }
    return true;
}

InwardHeader inwardentry::headerFromForm() const
{
    InwardHeader h;
    h.fullNumber = ui->inwnoEdit->text();
    h.number = inwardNumberOf(h.fullNumber);
    h.fy = g_currentFY;
    h.inwardDate = dateToWrite(ui->inwdateEdit);
    h.dcDate = dateToWrite(ui->dcdateEdit);
    h.poDate = dateToWrite(ui->podateEdit);
    h.customerId = chosenCustomerId(ui->company_combo);
    h.dcNo = ui->dcnoEdit->text().trimmed();
    h.poNo = ui->ponoEdit->text().trimmed();
    h.remarks = ui->remarksEdit->text().trimmed();
    return h;
}

void inwardentry::on_save_btn_clicked()
{
    QList<InwardLine> lines;
    if (!linesToWrite("Please select a company first!", &lines))
        return;
    const InwardHeader header = headerFromForm();
    const InwardSaveResult result = saveInward(header, lines);
    if (result.status == InwardSaveResult::NumberUsed) {
        // What was typed stays; the next Save goes under the number shown.
        ui->inwnoEdit->setText(result.nextFullNumber);
        Desktop::warning(this, "Duplicate", inwardNumberUsedText(header.fullNumber, result.nextFullNumber));
        return;
    }
    if (result.status != InwardSaveResult::Saved) {
        Desktop::warning(this, "Save Error", "Failed: " + result.error);
        return;
    }
    Desktop::information(this, "Success", "Inward entry saved!\nInward No: " + header.fullNumber);
    startNewEntry(true);
}

void inwardentry::clearForm()
{
    ui->company_combo->setCurrentIndex(0);
    ui->dcnoEdit->clear();
    ui->ponoEdit->clear();
    ui->remarksEdit->clear();
    ui->search_combo->clear();
    ui->totalqtyEdit->clear();
    ui->dcdateEdit->setDate(QDate::currentDate());
    ui->podateEdit->setDate(QDate::currentDate());
    ui->inward_main_table->setRowCount(0);
}

void inwardentry::startNewEntry(bool reloadList)
{
    loadedInwardNo = -1;
    loadedInwardFy.clear();
    for (QDateEdit *edit : {ui->inwdateEdit, ui->dcdateEdit, ui->podateEdit})
        forgetStoredDate(edit);
    clearForm();
    generateInwardNo();
    if (reloadList)
        loadInwardList(-1, QString(), QString());
    setEditButtons(false);
}

void inwardentry::on_close_btn_clicked()
{
    close();
}

// --- list side ---

void inwardentry::setupInwardListTable()
{
    QTableWidget *list = ui->inward_list_table;
    list->setColumnCount(6);
    list->setHorizontalHeaderLabels({"ID", "Inward No", "DC No", "DC Date", "Customer Name", "Remarks"});
    list->setColumnHidden(0, true);
    setColumnWidths(list, {0, 80, 80, 90, 120, 100});
    list->horizontalHeader()->setSectionResizeMode(4, QHeaderView::Stretch);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setAlternatingRowColors(true);
    list->verticalHeader()->setVisible(false);
    list->setContextMenuPolicy(Qt::CustomContextMenu);
}

void inwardentry::loadInwardList(int customerId, const QString &from, const QString &to)
{
    const QList<InwardListRow> rows = inwardListRows(customerId, from, to, g_currentFY);
    TableFill fill(ui->inward_list_table, int(rows.size()));
    const QColor cancelledText(150, 150, 150);
    const QColor cancelledBackground(230, 230, 230);
    RepeatedTexts<QString> dates(storedDateText);
    for (int r = 0; r < rows.size(); ++r) {
        const InwardListRow &row = rows.at(r);
        const QString texts[] = {QString::number(row.number), row.fullNumber, row.dcNo, dates(row.dcDate),
                                 row.customerName, row.remarks};
        for (int c = 0; c < 6; ++c) {
            QTableWidgetItem *cell = fill.add(r, c, texts[c]);
            if (row.cancelled) {
                cell->setForeground(cancelledText);
                cell->setBackground(cancelledBackground);
            }
            if (c == 0)
                cell->setData(CancelledRole, row.cancelled);
        }
    }
}

void inwardentry::on_show_btn_clicked()
{
    loadInwardList(chosenCustomerId(ui->company_combo_2), ui->fromdateEdit_2->date().toString(DateFormat),
                   ui->todateEdit_2->date().toString(DateFormat));
}

void inwardentry::on_reset_btn_clicked()
{
    ui->fromdateEdit_2->setDate(defaultPeriodStart());
    ui->todateEdit_2->setDate(QDate::currentDate());
    {
        const QSignalBlocker blocker(ui->company_combo_2);
        ui->company_combo_2->setCurrentIndex(0);
    }
    loadInwardList(-1, QString(), QString());
}

void inwardentry::onInwardListContextMenu(const QPoint &pos)
{
    QTableWidget *list = ui->inward_list_table;
    const auto preCheck = [this, list](int row) {
        const QTableWidgetItem *id = list->item(row, 0);
        if (!id)
            return false;
        if (id->data(CancelledRole).toBool()) {
            Desktop::information(this, "Deleted", "This entry has been deleted.");
            return false;
        }
        return true;
    };
    loadBackContextMenu(list, pos, "↩ Load Back for View & Edit", preCheck,
                        [this](int number, const QString &fy) { loadInwardForEdit(number, fy); });
}

void inwardentry::loadInwardForEdit(int number, const QString &fy)
{
    const LoadedInward loaded = loadInward(number, fy);
    if (!loaded.found)
        return;
    const InwardHeader &h = loaded.header;
    ui->inwnoEdit->setText(h.fullNumber);
    showStoredDate(ui->inwdateEdit, h.inwardDate);
    showStoredDate(ui->dcdateEdit, h.dcDate);
    showStoredDate(ui->podateEdit, h.poDate);
    ui->dcnoEdit->setText(h.dcNo);
    ui->ponoEdit->setText(h.poNo);
    ui->remarksEdit->setText(h.remarks);
    {
        const QSignalBlocker blocker(ui->company_combo);
        const int index = ui->company_combo->findData(h.customerId);
        if (index >= 0)
            ui->company_combo->setCurrentIndex(index);
    }
    forgetChosenItem();

    ui->inward_main_table->setRowCount(0);
    fillingLoadedLines = true;
    for (const InwardItemLine &line : loaded.lines)
        appendItemLine(line.itemId, line.code, line.name, line.uom, line.qty);
    fillingLoadedLines = false;
    updateTotalQty();

    loadedInwardNo = number;
    loadedInwardFy = fy;
    loadedInwardRows = loaded.rows;
    setEditButtons(true);
}

void inwardentry::setEditButtons(bool editing)
{
    const auto enable = [](QPushButton *button, bool on) {
        button->setEnabled(on);
        // The buttons' own style paints every state alike; fade the ones that are off.
        QGraphicsOpacityEffect *fade = nullptr;
        if (!on) {
            fade = new QGraphicsOpacityEffect(button);
            fade->setOpacity(0.45);
        }
        button->setGraphicsEffect(fade); // replaces (and deletes) the previous one
    };
    enable(ui->save_btn, !editing);
    enable(ui->update_btn, editing);
    enable(ui->cancel_btn, editing);
}

void inwardentry::on_update_btn_clicked()
{
    if (loadedInwardNo == -1) {
        Desktop::warning(this, "Error", "No inward entry selected for update!");
        return;
    }
    QList<InwardLine> lines;
    if (!linesToWrite("Please select a company!", &lines))
        return;
    Decimal total;
    for (const InwardLine &line : lines)
        total = total + Decimal::fromStored(line.qty);

    // The entry keeps the number and year it was loaded with, whatever the form shows.
    InwardHeader header = headerFromForm();
    header.number = loadedInwardNo;
    header.fy = loadedInwardFy;
    header.fullNumber = fullDocumentNumber(loadedInwardNo, loadedInwardFy);

    const QList<DeliveredItem> refused = deliveredBeyond(deliveredItems(header.number, header.fy), lines);
    if (!refused.isEmpty()) {
        Desktop::warning(this, "Cannot Update", deliveredBeyondText(refused));
        return;
    }
    if (Desktop::question(this, "Confirm Update", updateQuestionText(header.fullNumber, int(lines.size()), total),
                          QMessageBox::Ok | QMessageBox::Cancel)
        != QMessageBox::Ok)
        return;

    const InwardUpdateResult result = updateInward(header, lines, loadedInwardRows);
    switch (result.status) {
    case InwardUpdateResult::Updated:
        break;
    case InwardUpdateResult::Changed:
        Desktop::warning(this, "Error", inwardChangedText(header.fullNumber, "Nothing was updated.") + reloadEntryAdvice());
        return;
    case InwardUpdateResult::DeliveredBeyond:
        Desktop::warning(this, "Cannot Update", deliveredBeyondText(result.delivered));
        return;
    case InwardUpdateResult::DeleteFailed:
        Desktop::warning(this, "Error", "Delete failed: " + result.error);
        return;
    case InwardUpdateResult::InsertFailed:
    case InwardUpdateResult::CommitFailed:
        Desktop::warning(this, "Error", "Insert failed: " + result.error);
        return;
    }
    Desktop::information(this, "Success", "Inward entry updated successfully!\nInward No: " + header.fullNumber);
    startNewEntry(true);
}

void inwardentry::on_cancel_btn_clicked()
{
    startNewEntry(false);
}

void inwardentry::on_delete_btn_clicked()
{
    if (loadedInwardNo == -1) {
        Desktop::warning(this, "Error", "Load an entry first (right-click → Load Back)!");
        return;
    }
    QStringList challans;
    QString error;
    if (!challansUsingInward(loadedInwardNo, loadedInwardFy, &challans, &error)) {
        Desktop::warning(this, "Error", error);
        return;
    }
    if (!challans.isEmpty()) {
        Desktop::warning(this, "Cannot Cancel", cancelRefusalText(challans));
        return;
    }
    if (Desktop::question(this, "Confirm Cancel",
                          "Cancel Inward No " + ui->inwnoEdit->text() + "?\nEntry will be kept but marked as cancelled.",
                          QMessageBox::Yes | QMessageBox::No)
        != QMessageBox::Yes)
        return;
    const InwardCancelResult result = cancelInward(loadedInwardNo, loadedInwardFy, loadedInwardRows);
    switch (result.status) {
    case InwardCancelResult::Cancelled:
        break;
    case InwardCancelResult::Changed: {
        const QString fullNumber = fullDocumentNumber(loadedInwardNo, loadedInwardFy);
        Desktop::warning(this, "Error", inwardChangedText(fullNumber, "Nothing was cancelled.") + reloadEntryAdvice());
        return;
    }
    case InwardCancelResult::UsedByChallans:
        Desktop::warning(this, "Cannot Cancel", cancelRefusalText(result.challans));
        return;
    case InwardCancelResult::Failed:
        Desktop::warning(this, "Error", result.error);
        return;
    }
    Desktop::information(this, "Cancelled", "Inward entry cancelled!");
    startNewEntry(true);
}
