#pragma once
// Delivery challan generation: every live inward entry of every year with what
// is still to be sent back on it. Ticked entries of one customer go to a new
// delivery challan form ("Proceed to Delivery") or have their remaining
// balance closed to bins ("Bin").

#include "jobwork/pendingstore.h"

#include <QList>
#include <QSqlDatabase>
#include <QWidget>

class TickColumn;
class QTableWidgetItem;

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
    void setupTables();
    void loadCustomerCombo();
    void loadInwardItems(int inwardNo, const QString &fy);
    // Warns and gives true when a row holds a figure stored beyond what the
    // program works with exactly; `nothingDone` ends the warning.
    bool refusedAsTooLarge(const QList<PendingRow> &rows, const QString &nothingDone);
    // The entry row `row` of the list stands for, as the list read it.
    PendingRow listedRow(int row) const { return m_listed.value(row); }

    Ui::generateDC *ui;
    TickColumn *m_ticks = nullptr;
    QList<PendingRow> m_listed; // each row of the list as it was read
    bool shownOnce = false; // see reloadOnShow
};
