#pragma once

#include "companyrecord.h"

#include <QDialog>

QT_BEGIN_NAMESPACE
namespace Ui {
class CompanySettingsDialog;
}
QT_END_NAMESPACE

// Edits the six fields of the company record.
class CompanySettingsDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CompanySettingsDialog(QWidget *parent = nullptr);
    ~CompanySettingsDialog() override;

    void loadSettings();

private slots:
    void on_save_btn_clicked();
    void on_cancel_btn_clicked();

private:
    Ui::CompanySettingsDialog *ui;
    // Row 1 as loaded, then as saved here: a save writes it only while it is
    // still so.
    CompanyRecord company;
};
