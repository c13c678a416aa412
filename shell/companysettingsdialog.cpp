#include "companysettingsdialog.h"
#include "ui_companysettingsdialog.h"

#include "companyrecord.h"
#include "output/desktop.h"

CompanySettingsDialog::CompanySettingsDialog(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::CompanySettingsDialog)
{
    ui->setupUi(this);
    setWindowTitle("Company Settings");
    setFixedSize(450, 320);
    loadSettings();
}

CompanySettingsDialog::~CompanySettingsDialog()
{
    delete ui;
}

void CompanySettingsDialog::loadSettings()
{
    readCompanyRecord(&company); // a row that cannot be read leaves the fields empty
    if (company.found)
        showCompanyInForm(ui, company.info);
}

void CompanySettingsDialog::on_save_btn_clicked()
{
    if (!saveCompanyRecordReporting(this, &company, companyFromForm(ui),
                                    "Press Cancel and open the dialog again to see the record as it is now."))
        return;
    Desktop::information(this, "Success", "Company settings saved successfully!");
    accept();
}

void CompanySettingsDialog::on_cancel_btn_clicked()
{
    reject();
}
