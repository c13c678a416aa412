#include "customermaster.h"
#include "ui_customermaster.h"

#include "output/desktop.h"
#include "widgets/formconventions.h"
#include "widgets/formstyle.h"
#include "customerstore.h"
#include "masterform.h"

#include <QSignalBlocker>
#include <QTableWidgetItem>

namespace {

const char *const AllCustomers = "-- All Customers --";
const char *const IgstCustomer = "IGST Customer";

} // namespace

CustomerMaster::CustomerMaster(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::CustomerMaster)
{
    ui->setupUi(this);
    applyFormStyleSheet(this);
    setupFormHeader(ui->header_box, ui->header_title, ui->app_icon_label, ui->developer_logo_label);
    setWindowTitle("Customer Master - Kestrova App");

    setupMasterTable(ui->customerTable, {{"ID", MasterColumn::Hidden},
                                         {"Customer Name", MasterColumn::Stretch},
                                         {"Address Line 1", MasterColumn::Stretch},
                                         {"Address Line 2", 160},
                                         {"GST No", 130},
                                         {"Type", 120},
                                         {"Phone No", 120},
                                         {"Email", 160}});
    ui->customerTable->setEditTriggers(QAbstractItemView::NoEditTriggers);

    upperCaseAsTyped(ui->customerName_edit);
    upperCaseAsTyped(ui->gstEdit);

    setEditMode(false);
    ui->radio_local_btn->setChecked(true);

    loadSearchCombo();
    loadCustomerTable(QString());
}

CustomerMaster::~CustomerMaster()
{
    delete ui;
}

void CustomerMaster::setEditMode(bool editing)
{
    ui->add_btn->setEnabled(!editing);
    ui->edit_btn->setEnabled(!editing);
    ui->delete_btn->setEnabled(!editing);
    ui->update_btn->setEnabled(editing);
    ui->cancel_btn->setEnabled(editing);
}

void CustomerMaster::clearFields()
{
    ui->customerName_edit->clear();
    ui->address1Edit->clear();
    ui->address2Edit->clear();
    ui->gstEdit->clear();
    ui->phoneEdit->clear();
    ui->emailEdit->clear();
    ui->vendorIdEdit->clear();
}

void CustomerMaster::loadSearchCombo()
{
    const QSignalBlocker blocker(ui->searchCombo);
    ui->searchCombo->clear();
    ui->searchCombo->addItem(AllCustomers);
    ui->searchCombo->addItems(customerNames());
}

void CustomerMaster::loadCustomerTable(const QString &filter)
{
    listedCustomers = findCustomers(filter == AllCustomers ? QString() : filter);
    const QList<CustomerRow> &rows = listedCustomers;
    fillMasterTable(ui->customerTable, rows.size(), [&rows](int r, int column) {
        const CustomerRow &c = rows[r];
        switch (column) {
        case 0: return QString::number(c.id);
        case 1: return c.name;
        case 2: return c.address1;
        case 3: return c.address2;
        case 4: return c.gstNo;
        case 5: return c.type;
        case 6: return c.phone;
        default: return c.email;
        }
    }, [&rows](int r, int column, QTableWidgetItem *item) {
        if (column == 5)
            item->setBackground(rows[r].type == IgstCustomer ? StatusColor::Partial : StatusColor::Done);
    });
}

CustomerFields CustomerMaster::fieldsFromForm() const
{
    CustomerFields f;
    f.name = ui->customerName_edit->text();
    f.address1 = ui->address1Edit->text();
    f.address2 = ui->address2Edit->text();
    f.gstNo = ui->gstEdit->text();
    f.type = ui->radio_local_btn->isChecked() ? "Local Customer" : IgstCustomer;
    f.phone = ui->phoneEdit->text();
    f.email = ui->emailEdit->text();
    f.vendorId = ui->vendorIdEdit->text();
    return storedCustomerFields(f);
}

void CustomerMaster::on_add_btn_clicked()
{
    const CustomerFields fields = fieldsFromForm();
    if (fields.name.isEmpty()) {
        Desktop::warning(this, "Error", "Customer name cannot be empty!");
        return;
    }
    CustomerRow existing;
    QString error;
    switch (insertCustomer(fields, &existing, &error)) {
    case MasterWrite::Written:
        break;
    case MasterWrite::Duplicate:
        Desktop::warning(this, "Duplicate Customer",
                         "Customer already exists!\n\nExisting Customer: " + existing.name + "\nGST No: "
                             + existing.gstNo);
        return;
    case MasterWrite::Stale: // not for a new customer
    case MasterWrite::Failed:
        Desktop::warning(this, "Error", error);
        return;
    }
    Desktop::information(this, "Success", "Customer added successfully!");
    clearFields();
    loadSearchCombo();
    loadCustomerTable(QString());
}

void CustomerMaster::on_edit_btn_clicked()
{
    const int row = ui->customerTable->currentRow();
    if (row < 0) {
        Desktop::warning(this, "Error", "Please select a customer to edit!");
        return;
    }
    auto cell = [this, row](int column) { return cellText(ui->customerTable, row, column); };
    selectedCustomerId = cell(0).toInt();
    editedCustomer = listedCustomers.value(row);
    ui->customerName_edit->setText(cell(1));
    ui->address1Edit->setText(cell(2));
    ui->address2Edit->setText(cell(3));
    ui->gstEdit->setText(cell(4));
    ui->phoneEdit->setText(cell(6));
    ui->emailEdit->setText(cell(7));
    if (cell(5) == IgstCustomer)
        ui->radio_igst_btn->setChecked(true);
    else
        ui->radio_local_btn->setChecked(true);
    ui->vendorIdEdit->setText(customerVendorId(selectedCustomerId));
    setEditMode(true);
}

void CustomerMaster::on_update_btn_clicked()
{
    if (selectedCustomerId == -1) {
        Desktop::warning(this, "Error", "No customer selected for editing!");
        return;
    }
    const CustomerFields fields = fieldsFromForm();
    if (fields.name.isEmpty()) {
        Desktop::warning(this, "Error", "Customer name cannot be empty!");
        return;
    }
    CustomerRow existing;
    QString error;
    switch (updateCustomer(editedCustomer, fields, &existing, &error)) {
    case MasterWrite::Written:
        break;
    case MasterWrite::Duplicate:
        Desktop::warning(this, "Duplicate Customer",
                         "Another customer with same name or GST already exists!\nExisting: " + existing.name);
        return;
    case MasterWrite::Stale:
        // No Update can write the customer loaded: the form leaves the edit
        // with what was typed still in the fields.
        Desktop::warning(this, "Error", error);
        leaveEditMode();
        return;
    case MasterWrite::Failed:
        Desktop::warning(this, "Error", error);
        return;
    }
    Desktop::information(this, "Success", "Customer updated successfully!");
    leaveEditMode();
    clearFields();
    loadSearchCombo();
    loadCustomerTable(QString());
}

void CustomerMaster::leaveEditMode()
{
    selectedCustomerId = -1;
    editedCustomer = CustomerRow();
    setEditMode(false);
}

void CustomerMaster::on_delete_btn_clicked()
{
    const int row = ui->customerTable->currentRow();
    if (row < 0) {
        Desktop::warning(this, "Error", "Please select a customer to delete!");
        return;
    }
    const CustomerRow listed = listedCustomers.value(row);
    const QString name = cellText(ui->customerTable, row, 1);

    if (const QString refusal = customerDeletionRefusal(listed.id); !refusal.isEmpty()) {
        Desktop::warning(this, "Cannot Delete", refusal);
        return;
    }
    if (Desktop::question(this, "Confirm Delete", "Delete customer: " + name + "?",
                          QMessageBox::Yes | QMessageBox::No)
        != QMessageBox::Yes)
        return;

    QString error;
    if (!deleteCustomer(listed, &error)) {
        Desktop::warning(this, "Error", error);
        return;
    }
    Desktop::information(this, "Success", "Customer deleted!");
    loadCustomerTable(QString());
}

void CustomerMaster::on_cancel_btn_clicked()
{
    leaveEditMode();
    clearFields();
}

void CustomerMaster::on_close_btn_clicked()
{
    close();
}

void CustomerMaster::on_pushButton_5_clicked()
{
    {
        const QSignalBlocker blocker(ui->searchCombo);
        ui->searchCombo->setCurrentIndex(0);
    }
    loadCustomerTable(QString());
}

void CustomerMaster::on_searchCombo_currentTextChanged(const QString &text)
{
    loadCustomerTable(text);
}
