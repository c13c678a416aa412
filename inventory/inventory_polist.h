#pragma once
// The material request list: the request lines of a period, of all suppliers
// or one, with their delivery status; ticked lines get a new status, print as
// a purchase order list, and the whole list exports as CSV.

#include "inventory/materialrequeststore.h"

#include <QList>
#include <QString>
#include <QWidget>

class QPrinter;
class TickColumn;

QT_BEGIN_NAMESPACE
namespace Ui {
class inventory_polist;
}
QT_END_NAMESPACE

class inventory_polist : public QWidget
{
    Q_OBJECT

public:
    explicit inventory_polist(QWidget *parent = nullptr);
    ~inventory_polist() override;

    void loadSupplierCombo();
    void loadOrders();

private slots:
    void on_show_btn_clicked();
    void on_reset_btn_clicked();
    void on_save_status_btn_clicked();
    void on_close_btn_clicked();
    void on_print_btn_clicked();
    void on_print_statement_clicked();

private:
    void setupTable();
    void resetPeriod();
    // The status of the chosen radio button; "" when none is chosen.
    QString chosenStatus() const;
    // The print preview's paint handler: lays the printed list out on the
    // printer's pages.
    void printDocument(QPrinter *printer);
    // A list cell's text, HTML-escaped; empty for a cell without item.
    QString cellHtml(int row, int column) const;

    Ui::inventory_polist *ui;
    TickColumn *ticks;
    QString printedHtml; // the list document the preview prints
    QList<RequestListRow> listedLines; // each row's line as the list read it
};
