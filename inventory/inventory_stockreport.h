#pragma once
// The monthly stock report: for one month, the quantities each stock item
// received and gave out day by day, with its line total, filtered by
// category, supplier, item name and kind of movement; the grid exports as CSV.

#include <QString>
#include <QWidget>

QT_BEGIN_NAMESPACE
namespace Ui {
class inventory_stockreport;
}
QT_END_NAMESPACE

class inventory_stockreport : public QWidget
{
    Q_OBJECT

public:
    explicit inventory_stockreport(QWidget *parent = nullptr);
    ~inventory_stockreport() override;

    void loadMonthYearCombos();
    void loadFilterCombos();
    void generateReport();

private slots:
    void on_show_btn_clicked();
    void on_reset_btn_clicked();
    void on_print_list_btn_clicked();
    void on_close_btn_clicked();

private:
    void chooseThisMonth();

    Ui::inventory_stockreport *ui;
    // The month the grid shows, for the export's file name and header.
    QString shownMonthName;
    int shownYear = 0;
    int shownDays = 0;
};
