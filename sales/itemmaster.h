#pragma once

#include "itemstore.h"

#include <QList>
#include <QSqlDatabase>
#include <QWidget>

QT_BEGIN_NAMESPACE
namespace Ui {
class itemmaster;
}
QT_END_NAMESPACE

// The items each customer sends in: code, name, drawing number, unit, rate
// and tax percentage. One customer list serves as the item's customer and as
// the list filter.
class itemmaster : public QWidget
{
    Q_OBJECT

public:
    explicit itemmaster(QWidget *parent = nullptr);
    ~itemmaster() override;

protected:
    void showEvent(QShowEvent *event) override;

private slots:
    void on_add_btn_clicked();
    void on_edit_btn_clicked();
    void on_update_btn_clicked();
    void on_delete_btn_clicked();
    void on_cancel_btn_clicked();
    void on_reset_btn_clicked();
    void on_searchCombo_currentTextChanged(const QString &text);
    void on_searchLineEdit_textChanged(const QString &text);
    void on_close_btn_clicked();

private:
    void clearFields();
    void loadCustomerCombo();
    void loadItemTable(int customerId, const QString &search);
    // Checks the form (customer, code or name, rate) and reads it into
    // `fields`; false after a warning when something is wrong.
    bool validItemFromForm(const QString &noCustomerText, ItemFields *fields);
    // True when Add or Update wrote the item; else warns why and gives false.
    bool written(MasterWrite result, const QString &error);
    void setEditMode(bool editing);
    // Back to the idle state, no item in edit; the fields stay.
    void leaveEditMode();

    Ui::itemmaster *ui;
    int selectedItemId = -1;
    // The items of the table, row by row, as the list read them; Update and
    // Delete write one only while it is still stored exactly so.
    QList<ItemRow> listedItems;
    // The listed item loaded by Edit (`selectedItemId`).
    ItemRow editedItem;
};
