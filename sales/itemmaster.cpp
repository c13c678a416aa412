#include "itemmaster.h"
#include "ui_itemmaster.h"

#include "core/listformat.h"
#include "core/money.h"
#include "core/typednumber.h"
#include "output/desktop.h"
#include "widgets/formconventions.h"
#include "widgets/formstyle.h"
#include "widgets/tablefill.h"
#include "itemstore.h"
#include "masterform.h"

#include <QDebug>
#include <QSignalBlocker>

itemmaster::itemmaster(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::itemmaster)
{
    ui->setupUi(this);
    applyFormStyleSheet(this);
    setupFormHeader(ui->header_box, ui->header_title, ui->app_icon_label, ui->developer_logo_label);
    setWindowTitle("Item Master - Kestrova App");

    ui->uom_combo->addItems({"NOS", "KGS", "SETS", "MTRS", "LTRS", "PCS"});
    ui->tax_combo->addItems({"0 %", "5 %", "12 %", "18 %", "28 %"});

    setupMasterTable(ui->item_table, {{"ID", MasterColumn::Hidden},
                                      {"Customer", MasterColumn::Stretch},
                                      {"Item Code", 110},
                                      {"Item Name", MasterColumn::Stretch},
                                      {"Drawing No", 130},
                                      {"UOM", 70},
                                      {"Rate", 90},
                                      {"Tax %", 80}});

    setEditMode(false);

    upperCaseAsTyped(ui->codeEdit);
    upperCaseAsTyped(ui->drawingEdit);
    upperCaseAsTyped(ui->nameEdit);

    loadCustomerCombo();
    loadItemTable(-1, QString());
}

itemmaster::~itemmaster()
{
    delete ui;
}

void itemmaster::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    loadCustomerCombo();
}

void itemmaster::setEditMode(bool editing)
{
    ui->add_btn->setEnabled(!editing);
    ui->edit_btn->setEnabled(!editing);
    ui->delete_btn->setEnabled(!editing);
    ui->reset_btn->setEnabled(!editing);
    ui->update_btn->setEnabled(editing);
    ui->cancel_btn->setEnabled(editing);
}

void itemmaster::clearFields()
{
    ui->codeEdit->clear();
    ui->nameEdit->clear();
    ui->drawingEdit->clear();
    ui->rate_edit->clear();
    ui->uom_combo->setCurrentIndex(0);
    ui->tax_combo->setCurrentIndex(0);
}

void itemmaster::loadCustomerCombo()
{
    ::loadCustomerCombo(ui->searchCombo, "-- All Customers Items --");
}

void itemmaster::loadItemTable(int customerId, const QString &search)
{
    listedItems = findItems(customerId, search);
    const QList<ItemRow> &rows = listedItems;
    // Rates and tax percentages repeat down the list: each text made once.
    RepeatedTexts<double> rates(rateText), taxes(taxText);
    fillMasterTable(ui->item_table, rows.size(), [&](int r, int c) {
        const ItemRow &i = rows[r];
        switch (c) {
        case 0: return QString::number(i.id);
        case 1: return i.customerName;
        case 2: return i.code;
        case 3: return i.name;
        case 4: return i.drawingNo;
        case 5: return i.uom;
        case 6: return rates(i.rate);
        default: return taxes(i.taxPercent);
        }
    });
}

bool itemmaster::validItemFromForm(const QString &noCustomerText, ItemFields *fields)
{
    const int customerId = chosenCustomerId(ui->searchCombo);
    if (customerId < 1) {
        Desktop::warning(this, "Error", noCustomerText);
        return false;
    }
    const QString code = ui->codeEdit->text().trimmed();
    if (code.isEmpty() && ui->nameEdit->text().trimmed().isEmpty()) {
        Desktop::warning(this, "Error", "Item code or Item Name cannot be empty!");
        return false;
    }
    ItemFields f;
    f.customerId = customerId;
    f.code = code;
    f.name = ui->nameEdit->text();
    f.drawingNo = ui->drawingEdit->text();
    f.uom = ui->uom_combo->currentText();
    if (typedNumberTooLarge(ui->rate_edit->text(), FigureKind::Money)) {
        Desktop::warning(this, figureTooLargeTitle(), figureTooLargeText(QStringLiteral("Rate"), FigureKind::Money));
        return false;
    }
    if (!parseRate(ui->rate_edit->text(), &f.rate)) {
        Desktop::warning(this, "Error", "Please enter a valid rate!");
        return false;
    }
    f.taxPercent = taxPercentFromText(ui->tax_combo->currentText());
    *fields = storedItemFields(f);
    return true;
}

bool itemmaster::written(MasterWrite result, const QString &error)
{
    if (result == MasterWrite::Duplicate)
        Desktop::warning(this, "Duplicate", "Item code already exists for this customer!");
    else if (result != MasterWrite::Written)
        Desktop::warning(this, "Error", error);
    return result == MasterWrite::Written;
}

void itemmaster::on_add_btn_clicked()
{
    ItemFields fields;
    if (!validItemFromForm("Please select a customer first!", &fields))
        return;
    qDebug() << "Tax combo text:" << ui->tax_combo->currentText();
    qDebug() << "Tax percent to save:" << fields.taxPercent;

    QString error;
    if (!written(insertItem(fields, &error), error))
        return;
    Desktop::information(this, "Success", "Item added successfully!");
    clearFields();
    loadItemTable(fields.customerId, QString());
}

void itemmaster::on_edit_btn_clicked()
{
    const int row = ui->item_table->currentRow();
    if (row < 0) {
        Desktop::warning(this, "Error", "Please select an item to edit!");
        return;
    }
    auto cell = [this, row](int column) { return cellText(ui->item_table, row, column); };
    selectedItemId = cell(0).toInt();
    editedItem = listedItems.value(row);
    {
        const QSignalBlocker blocker(ui->searchCombo);
        const int index = ui->searchCombo->findText(cell(1), Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (index >= 0)
            ui->searchCombo->setCurrentIndex(index);
    }
    ui->codeEdit->setText(cell(2));
    ui->nameEdit->setText(cell(3));
    ui->drawingEdit->setText(cell(4));
    ui->rate_edit->setText(cell(6));
    const int uom = ui->uom_combo->findText(cell(5), Qt::MatchExactly | Qt::MatchCaseSensitive);
    ui->uom_combo->setCurrentIndex(uom >= 0 ? uom : 0);
    const int tax = ui->tax_combo->findText(cell(7), Qt::MatchExactly | Qt::MatchCaseSensitive);
    ui->tax_combo->setCurrentIndex(tax >= 0 ? tax : 0);
    setEditMode(true);
}

void itemmaster::on_update_btn_clicked()
{
    if (selectedItemId == -1) {
        Desktop::warning(this, "Error", "No item selected for editing!");
        return;
    }
    ItemFields fields;
    if (!validItemFromForm("Please select a customer!", &fields))
        return;

    QString error;
    const MasterWrite result = updateItem(editedItem, fields, &error);
    if (!written(result, error)) {
        // No Update can write the item loaded: the form leaves the edit with
        // what was typed still in the fields.
        if (result == MasterWrite::Stale)
            leaveEditMode();
        return;
    }
    Desktop::information(this, "Success", "Item updated successfully!");
    leaveEditMode();
    clearFields();
    loadItemTable(-1, QString());
}

void itemmaster::leaveEditMode()
{
    selectedItemId = -1;
    editedItem = ItemRow();
    setEditMode(false);
}

void itemmaster::on_delete_btn_clicked()
{
    const int row = ui->item_table->currentRow();
    if (row < 0) {
        Desktop::warning(this, "Error", "Please select an item to delete!");
        return;
    }
    const ItemRow listed = listedItems.value(row);
    const QString name = cellText(ui->item_table, row, 3);

    if (const QString refusal = itemDeletionRefusal(listed.id); !refusal.isEmpty()) {
        Desktop::warning(this, "Cannot Delete", refusal);
        return;
    }
    if (Desktop::question(this, "Confirm Delete", "Delete item: " + name + "?", QMessageBox::Yes | QMessageBox::No)
        != QMessageBox::Yes)
        return;

    QString error;
    if (!deleteItem(listed, &error)) {
        Desktop::warning(this, "Error", error);
        return;
    }
    Desktop::information(this, "Success", "Item deleted!");
    loadItemTable(-1, QString());
}

void itemmaster::on_cancel_btn_clicked()
{
    leaveEditMode();
    clearFields();
}

void itemmaster::on_reset_btn_clicked()
{
    {
        const QSignalBlocker blocker(ui->searchCombo);
        ui->searchCombo->setCurrentIndex(0);
    }
    {
        const QSignalBlocker blocker(ui->searchLineEdit);
        ui->searchLineEdit->clear();
    }
    loadItemTable(-1, QString());
}

void itemmaster::on_searchCombo_currentTextChanged(const QString &)
{
    loadItemTable(chosenCustomerId(ui->searchCombo), ui->searchLineEdit->text().trimmed());
}

void itemmaster::on_searchLineEdit_textChanged(const QString &text)
{
    loadItemTable(chosenCustomerId(ui->searchCombo), text.trimmed());
}

void itemmaster::on_close_btn_clicked()
{
    close();
}
