#pragma once

#include "customerstore.h"

#include <QList>
#include <QSqlDatabase>
#include <QWidget>

QT_BEGIN_NAMESPACE
namespace Ui {
class CustomerMaster;
}
QT_END_NAMESPACE

// The customer firms: add, edit, search and delete.
class CustomerMaster : public QWidget
{
    Q_OBJECT

public:
    explicit CustomerMaster(QWidget *parent = nullptr);
    ~CustomerMaster() override;

private slots:
    void on_add_btn_clicked();
    void on_edit_btn_clicked();
    void on_update_btn_clicked();
    void on_delete_btn_clicked();
    void on_cancel_btn_clicked();
    void on_close_btn_clicked();
    void on_pushButton_5_clicked();
    void on_searchCombo_currentTextChanged(const QString &text);

private:
    void clearFields();
    void loadSearchCombo();
    void loadCustomerTable(const QString &filter);
    CustomerFields fieldsFromForm() const;
    void setEditMode(bool editing);
    // Back to the idle state, no customer in edit; the fields stay.
    void leaveEditMode();

    Ui::CustomerMaster *ui;
    int selectedCustomerId = -1;
    // The customers of the table, row by row, as the list read them; Update
    // and Delete write one only while it is still stored exactly so.
    QList<CustomerRow> listedCustomers;
    // The listed customer loaded by Edit (`selectedCustomerId`).
    CustomerRow editedCustomer;
};
