#pragma once

#include "supplierpaymentstore.h"

#include <QHash>
#include <QSqlDatabase>
#include <QWidget>

QT_BEGIN_NAMESPACE
namespace Ui {
class paymententryform;
}
QT_END_NAMESPACE

// Paying a supplier: the supplier's unpaid credit bills are ticked, the
// payment is recorded against each of them and its receipt is printed. The
// suppliers are listed once, when the form is built; a form shown again keeps
// the list, ticks and fields it was left with (a bill paid elsewhere
// meanwhile is refused at payment).
class paymententryform : public QWidget
{
    Q_OBJECT

public:
    explicit paymententryform(QWidget *parent = nullptr);
    ~paymententryform() override;

    void loadCompanyCombo();
    void loadUnpaidBills(const QString &company);
    static void initPaymentTables();

private slots:
    void on_paid_btn_clicked();
    void on_reset_pay_btn_clicked();
    void on_companypaytable_combo_currentTextChanged(const QString &company);
    void calculateGrandTotal();
    void on_back_purchase_btn_clicked();
    void on_close_btn_clicked();

private:
    Ui::paymententryform *ui;
    // The listed bills by bill_id, as the list read them: a ticked bill is
    // paid only while it is still stored so.
    QHash<int, UnpaidBill> m_listed;
};
