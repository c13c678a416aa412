#pragma once
// The delivery challan window: the challan form, where the open balances of
// inward entries become the lines of a new challan, beside the list of saved
// challans, from which one is printed again or loaded back into the form to
// be updated or deleted.

#include "core/listedrow.h"
#include "jobwork/challanstore.h"

#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QWidget>

class QPoint;

QT_BEGIN_NAMESPACE
namespace Ui {
class deliveryChallanList;
}
QT_END_NAMESPACE

class deliveryChallanList : public QWidget
{
    Q_OBJECT

public:
    explicit deliveryChallanList(QWidget *parent = nullptr);
    ~deliveryChallanList() override;

    // Hand-over from challan generation: the inward numbers of the current
    // financial year, their customer and the customer's name.
    void setInwardData(const QList<int> &inwardNumbers, int customer, const QString &companyName);

    // Refills the list; a customer id below 1 and an empty date ("yyyy-MM-dd")
    // mean no filter.
    void loadDcList(int customer, const QString &from, const QString &to);
    // Loads a saved challan into the form for updating or deleting.
    void loadDcForEdit(int dcNo, const QString &fy);

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private slots:
    void on_qtyEditing_Table_cellChanged(int row, int col);
    void on_save_btn_clicked();
    void on_update_btn_clicked();
    void on_delete_btn_clicked();
    void on_cancel_btn_clicked();
    void on_close_btn_clicked();
    void on_show_btn_clicked();
    void on_reset_btn_clicked();
    void on_print_btn_clicked();
    void onDcListContextMenu(const QPoint &pos);

private:
    void setupLineTable();
    void setupListTable();
    void nextDcNumber();
    void loadInwardRows();
    void appendLineRow(const ChallanLine &line);
    void updateTotalQty();
    void clearForm();
    void loadCustomerCombo();
    void resetPeriod();
    void leaveEditing();
    // Number and year of the list's current row; false when none is chosen.
    bool chosenChallan(int row, int *number, QString *fy) const;
    void printChallan(int dcNo, const QString &fy);
    // The challan as the form holds it, to be written as number `number` of year `fy`.
    ChallanWrite challanFromForm(int number, const QString &fy) const;

    Ui::deliveryChallanList *ui;
    QList<int> inwardNos;
    int customerId = -1;
    int editingDcNo = -1;
    QString editingFy;
    StoredRow editingRows; // the loaded challan's lines when it was loaded
    ChallanBilling editingBilling; // what invoices billed of it when it was loaded
    // The inward line of each row, by inward number and item id, as the form
    // read it: what Save and Update write against.
    QHash<QPair<int, int>, InwardLineState> shownLines;
    bool loadingRows = false;
    bool shownOnce = false; // see reloadOnShow
};
