#pragma once
// Inward entry: records the material a customer sends in (one line per item),
// lists the saved entries, loads one back to update it, or cancels it.

#include "core/listedrow.h"

#include <QList>
#include <QPair>
#include <QSqlDatabase>
#include <QString>
#include <QWidget>

struct InwardHeader;
struct InwardLine;
class QListWidget;
class QListWidgetItem;
class QPoint;

QT_BEGIN_NAMESPACE
namespace Ui {
class inwardentry;
}
QT_END_NAMESPACE

class inwardentry : public QWidget
{
    Q_OBJECT

public:
    explicit inwardentry(QWidget *parent = nullptr);
    ~inwardentry() override;

    bool eventFilter(QObject *watched, QEvent *event) override;

    // Fills the list; a customer id below 1 and empty dates ("yyyy-MM-dd") mean no filter.
    void loadInwardList(int customerId, const QString &from, const QString &to);
    // Loads entry `number` of year `fy` into the form for editing.
    void loadInwardForEdit(int number, const QString &fy);

public slots:
    void onItemSelected(QListWidgetItem *item);
    void onInwardListContextMenu(const QPoint &pos);

protected:
    void showEvent(QShowEvent *event) override;
    // The item popup is a window of its own; it goes with the form.
    void hideEvent(QHideEvent *event) override;

private slots:
    void on_company_combo_currentIndexChanged(int index);
    void on_search_combo_textChanged(const QString &text);
    void on_add_btn_clicked();
    void on_inward_main_table_cellChanged(int row, int col);
    void on_save_btn_clicked();
    void on_close_btn_clicked();
    void on_update_btn_clicked();
    void on_cancel_btn_clicked();
    void on_delete_btn_clicked();
    void on_show_btn_clicked();
    void on_reset_btn_clicked();

private:
    void clearForm();
    void loadCompanyCombos();
    void updateTotalQty();
    void setupItemPopup();
    void setupInwardListTable();
    void generateInwardNo();
    void searchItems(const QString &text);
    void setEditButtons(bool editing);
    // Back to a new entry: nothing loaded, empty form, the year's next number.
    void startNewEntry(bool reloadList);
    void forgetChosenItem();
    void appendItemLine(int itemId, const QString &code, const QString &name, const QString &uom, double qty);
    QList<QPair<QString, QString>> itemLineCells() const;
    // The chosen customer's lines to write; false, after a warning, when there is no customer or no line.
    bool linesToWrite(const QString &noCompanyText, QList<InwardLine> *lines);
    InwardHeader headerFromForm() const;

    Ui::inwardentry *ui;
    QListWidget *itemPopup = nullptr;
    int loadedInwardNo = -1;   // the entry being edited; -1 while a new one is made
    QString loadedInwardFy;
    StoredRow loadedInwardRows; // its live rows, every column, when it was loaded
    bool shownOnce = false;          // see reloadOnShow
    bool fillingLoadedLines = false; // cell changes do not recompute the total meanwhile
};
