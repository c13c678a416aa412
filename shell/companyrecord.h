#pragma once
// Editing the company record, row 1 of company_settings.

#include "panelrow.h"

#include "core/companyinfo.h"

class QWidget;

// Row 1 as a panel reads it to write it back: the values it shows (NULLs as
// empty texts) and, for each save of a panel, the columns that save writes,
// as kept: a save is refused only when one of its own columns changed.
struct CompanyRecord
{
    bool found = false;
    CompanyInfo info;
    QString bankDetails;
    QString invoiceFormat; // empty while the table has no such column
    PanelRow details;      // the six company fields
    PanelRow bank;         // bank_details
    PanelRow format;       // invoice_format
};

// Reads row 1 in one pass; a missing row gives found false. False with the
// driver's text when it cannot be read.
bool readCompanyRecord(CompanyRecord *record, QString *error = nullptr);

// "The company record": how a refusal names row 1.
QString companyRecordName();

// Stores the six fields in row 1, creating the row when it is missing (as it
// was when read), while those six are still as `record` holds them; then
// keeps them as written. Otherwise false: the row changed meanwhile, named, with
// `wayOn` after it, or the driver's text.
bool saveCompanyRecord(CompanyRecord *record, const CompanyInfo &info, const QString &wayOn, QString *error);

// What both company forms do on Save: refuse a blank name, store the record,
// and warn (titled "Error") when either fails. True when the record is stored.
bool saveCompanyRecordReporting(QWidget *parent, CompanyRecord *record, const CompanyInfo &info,
                                const QString &wayOn);

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
