#pragma once
// Delivery challan generation: every live inward entry of every year with what
// is still to be sent back on it. Ticked entries of one customer go to a new
// delivery challan form ("Proceed to Delivery") or have their remaining
// balance closed to bins ("Bin").

#include <QSqlDatabase>
#include <QWidget>

class TickColumn;
class QTableWidgetItem;
struct PendingRow;

QT_BEGIN_NAMESPACE
namespace Ui {
class generateDC;
}
QT_END_NAMESPACE

class generateDC : public QWidget
{
    Q_OBJECT

public:
    explicit generateDC(QWidget *parent = nullptr);
    ~generateDC() override;

public slots:
    // Rebuilds the list from the filters; a radio button that was just
    // unchecked leaves the reload to the one that was checked.
    void loadPendingDCs();

protected:
    void showEvent(QShowEvent *event) override;

private slots:
    void on_company_combo_currentIndexChanged(int index);
    void on_filter_codeEdit_textChanged(const QString &text);
    void on_show_btn_clicked();
    void on_gen_dc_table_currentItemChanged(QTableWidgetItem *current, QTableWidgetItem *previous);
    void onCheckboxChanged(int state);
    void on_proced_del_btn_clicked();
    void on_bin_btn_clicked();
    void on_close_btn_clicked();

private:
    // What a row of the list stands for, kept with the row when it is built.
    struct RowKey
    {
        int inwardNo = 0;
        QString inwardNoFull;
        QString fy;
        int customerId = -1;
        QString customerName;
        bool issued = false;
        double received = 0; // the figures the list showed
        double delivered = 0;
        double binned = 0;
    };

    void setupTables();
    void loadCustomerCombo();
    void loadInwardItems(int inwardNo, const QString &fy);
    RowKey rowKey(int row) const;

    Ui::generateDC *ui;
    TickColumn *m_ticks = nullptr;
    bool shownOnce = false; // see reloadOnShow
};
