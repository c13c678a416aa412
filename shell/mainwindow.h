#pragma once

#include <QMainWindow>
#include <QPointer>

QT_BEGIN_NAMESPACE
namespace Ui {
class MainWindow;
}
QT_END_NAMESPACE

class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    void refreshCompanyHeader();
    void loadFinancialYears();

    // False when the company database could not be opened.
    bool databaseReady() const { return m_dbReady; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // Closes the open module windows (children of this window).
    void closeModuleWindows();

private slots:
    void on_submit_btn_clicked();
    void on_expenses_btn_clicked();
    void on_purchase_btn_clicked();
    void on_salary_slip_btn_clicked();
    void on_backup_btn_clicked();
    void on_settings_btn_clicked();
    void on_sales_btn_clicked();
    void on_app_info_btn_clicked();
    void on_developer_btn_clicked();
    void on_invent_cum_btn_clicked();
    // Edits the company record in the company settings dialog. No control of
    // the window calls it: the administration panel is the way to that record.
    void on_company_setting_btn_clicked();

private:
    // Checks and opens the company database, once: at construction, or, when
    // its check was started ahead, when that check ends (or earlier, waiting
    // for it, when a login, backup or close comes first). True when the
    // database is ready.
    bool finishStart();
    void enterLoginState();
    void disableForMissingDatabase();

    Ui::MainWindow *ui;
    QPointer<QMainWindow> m_expensesWindow;
    QPointer<QMainWindow> m_purchaseWindow;
    QPointer<QMainWindow> m_salaryWindow;
    QPointer<QMainWindow> m_salesWindow;
    QPointer<QMainWindow> m_inventoryWindow;
    QString m_folder;
    QString m_key;
    bool m_startPending = false;
    bool m_dbReady = false;
};
