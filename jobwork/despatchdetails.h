#pragma once

#include <QSqlDatabase>
#include <QWidget>

QT_BEGIN_NAMESPACE
namespace Ui {
class despatchdetails;
}
QT_END_NAMESPACE

// Read-only report that sets each live inward line of a period against what
// live delivery challans have sent back of it, with the open balance coloured.
class despatchdetails : public QWidget
{
    Q_OBJECT

public:
    explicit despatchdetails(QWidget *parent = nullptr);
    ~despatchdetails() override;

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
    Ui::despatchdetails *ui;
    bool shownOnce = false; // see reloadOnShow
};
