#pragma once
// Editing the company record, row 1 of company_settings.

#include "core/companyinfo.h"

class QWidget;

// Row 1 as stored (NULLs as empty texts). False when there is no row 1 or the
// query failed; the info is then left as it was.
bool readCompanyRecord(CompanyInfo *info);

// Stores the six fields in row 1, creating the row when it is missing.
// On failure returns false and gives the driver's error text.
bool saveCompanyRecord(const CompanyInfo &info, QString *error);

// What both company forms do on Save: refuse a blank name, store the record,
// and warn (titled "Error") when either fails. True when the record is stored.
bool saveCompanyRecordReporting(QWidget *parent, const CompanyInfo &info);

// The fields with white space trimmed at both ends.
CompanyInfo trimmedCompanyInfo(const CompanyInfo &info);

// Binding for the forms that edit the record: both carry the line edits
// companyNameEdit, address1Edit, address2Edit, phoneEdit, emailEdit and gstEdit.
template<class Form>
void showCompanyInForm(Form *ui, const CompanyInfo &info)
{
    ui->companyNameEdit->setText(info.name);
    ui->address1Edit->setText(info.address1);
    ui->address2Edit->setText(info.address2);
    ui->phoneEdit->setText(info.phone);
    ui->emailEdit->setText(info.email);
    ui->gstEdit->setText(info.gstNo);
}

// The form's fields, trimmed.
template<class Form>
CompanyInfo companyFromForm(const Form *ui)
{
    return trimmedCompanyInfo({ui->companyNameEdit->text(), ui->address1Edit->text(), ui->address2Edit->text(),
                               ui->phoneEdit->text(), ui->emailEdit->text(), ui->gstEdit->text()});
}
