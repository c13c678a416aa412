#pragma once

#include <QSqlDatabase>
#include <QWidget>

QT_BEGIN_NAMESPACE
namespace Ui {
class purchasepaymentstatement;
}
QT_END_NAMESPACE

// The payments made to one supplier in a period, each beside the bill it
// settled, with the totals, and its printout.
class purchasepaymentstatement : public QWidget
{
    Q_OBJECT

public:
    explicit purchasepaymentstatement(QWidget *parent = nullptr);
    ~purchasepaymentstatement() override;

    void loadCompanyCombo();

private slots:
    void on_show_btn_clicked();
    void on_statement_reset_btn_clicked();
    void on_edit_btn_clicked();
    void on_update_btn_clicked();
    void on_statement_print_pdf_clicked();
    void on_companystate_combo_currentTextChanged(const QString &company);
    void on_close_btn_clicked();

private:
    Ui::purchasepaymentstatement *ui;
};
