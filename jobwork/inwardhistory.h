#pragma once

#include <QSqlDatabase>
#include <QWidget>

QT_BEGIN_NAMESPACE
namespace Ui {
class inwardHistory;
}
QT_END_NAMESPACE

// Read-only report of the inward lines of a period: what came in, from whom,
// on which of the customer's documents, totalled and exported to CSV.
class inwardHistory : public QWidget
{
    Q_OBJECT

public:
    explicit inwardHistory(QWidget *parent = nullptr);
    ~inwardHistory() override;

    void loadCompanyCombo();
    void loadData();

protected:
    void showEvent(QShowEvent *event) override;

private slots:
    void on_show_btn_clicked();
    void on_reset_btn_clicked();
    void on_searchEdit_textChanged(const QString &text);
    void on_print_list_btn_clicked();
    void on_close_btn_clicked();

private:
    Ui::inwardHistory *ui;
    bool shownOnce = false; // see reloadOnShow
};
