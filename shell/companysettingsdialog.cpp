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
    CompanyInfo info;
    if (!readCompanyRecord(&info))
        return;
    showCompanyInForm(ui, info);
}

void CompanySettingsDialog::on_save_btn_clicked()
{
    if (!saveCompanyRecordReporting(this, companyFromForm(ui)))
        return;
    Desktop::information(this, "Success", "Company settings saved successfully!");
    accept();
}

void CompanySettingsDialog::on_cancel_btn_clicked()
{
    reject();
}
