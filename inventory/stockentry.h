#pragma once

#include <QHash>
#include <QSqlDatabase>
#include <QWidget>

#include "stockstore.h"

QT_BEGIN_NAMESPACE
namespace Ui {
class inventory_stockentry;
}
QT_END_NAMESPACE

class QDialog;
class QTableWidgetItem;

// The stock register: stock items with their opening stock, master data and
// minimum stock, a filterable list that marks low stock, additions and
// reductions through the Update Stock dialog, and an item's last movements.
// Building the form creates the stock tables.
class inventory_stockentry : public QWidget
{
    Q_OBJECT

public:
    explicit inventory_stockentry(QWidget *parent = nullptr);
    ~inventory_stockentry() override;

    void createTables();
    void loadStockTable(const QString &category, const QString &supplier, const QString &item);
    void loadSupplierCompleter();

private slots:
    void on_add_btn_clicked();
    void on_edit_btn_clicked();
    void on_updatenew_btn_clicked();
    void on_editcancel_btn_clicked();
    void on_delete_btn_clicked();
    void on_reset_btn_clicked();
    void on_update_btn_clicked();
    void on_pushButton_clicked();
    void onStockTableContextMenu(const QPoint &pos);
    void showCellToolTip(QTableWidgetItem *item);

private:
    void setupStockTable();
    void reloadWithFilters();
    void clearEntry();
    QString cell(int row, int column) const;
    // Records the movement the Update Stock dialog holds; true when it was written.
    bool saveStockMovement(QDialog *dialog, int itemId, bool addition, const QString &quantityText,
                           const QString &date);
    void showHistory(int itemId, const QString &name);

    Ui::inventory_stockentry *ui;
    int editingItemId = -1;
    // The items the list shows, in its order, and the one Edit loaded as the
    // list had read it.
    QList<StockItemRow> listedItems;
    StockItemRow editingItem;
    QHash<QString, QString> supplierPhones;
};
