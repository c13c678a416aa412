#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "aboutbox.h"
#include "backup.h"
#include "changepassworddialog.h"
#include "companysettingsdialog.h"
#include "developerdialog.h"
#include "modulefactory.h"
#include "core/companydb.h"
#include "core/companyinfo.h"
#include "core/financialyear.h"
#include "output/desktop.h"
#include "widgets/appstyle.h"
#include "widgets/keptwindow.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>

namespace {

std::function<QMainWindow *()> moduleCreator(const ModuleWindowFactory::Create &create, QWidget *parent)
{
    return [create, parent]() -> QMainWindow * { return create ? create(parent) : nullptr; };
}

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
    , ui(new Ui::MainWindow)
{
    ui->setupUi(this);
    appendApplicationStyle();
    styleComboPopups();

    m_folder = Desktop::applicationFolder();
    m_key = CompanyDb::readCompanyKey(m_folder);
    enterLoginState();
    m_startPending = true;
    // A check started ahead (as the program starts) reads the whole file while
    // the window shows with its login; the database is opened once it has
    // passed, and a login, backup or close meanwhile waits for it.
    if (CompanyDb::databaseCheckStarted(CompanyDb::databasePath(m_folder, m_key)))
        CompanyDb::whenDatabaseChecked(this, [this] { finishStart(); });
    else
        finishStart();
}

bool MainWindow::finishStart()
{
    if (!m_startPending)
        return m_dbReady;
    m_startPending = false;

    // A damaged file is caught before any statement of the program reaches it:
    // writing into it would lose more of what it holds.
    const QString path = CompanyDb::databasePath(m_folder, m_key);
    const CompanyDb::FileCheck check = CompanyDb::databaseCheckResult(path);
    if (check.state != CompanyDb::FileCheck::Sound) {
        Desktop::critical(this, "DB Error",
                          check.state == CompanyDb::FileCheck::Damaged
                              ? CompanyDb::damagedFileText(path, check.message)
                              : check.message);
        disableForMissingDatabase();
        return false;
    }
    const bool newCompany = !QFileInfo::exists(path);
    QString error;
    if (!CompanyDb::openDatabase(m_folder, m_key, &error)) {
        Desktop::critical(this, "DB Error", error);
        disableForMissingDatabase();
        return false;
    }
    if (!CompanyDb::createCoreSchema(&error)) {
        // Held by another program past the busy timeout, or no room to
        // write: nothing else may wait on it in turn.
        QSqlDatabase::database(QSqlDatabase::defaultConnection, false).close();
        // A new company whose first write failed (a full disk) leaves no
        // empty file, which the next start would take for a damaged one.
        if (newCompany && QFileInfo(path).size() == 0)
            QFile::remove(path);
        Desktop::critical(this, "DB Error", error);
        disableForMissingDatabase();
        return false;
    }
    m_dbReady = true;

    refreshCompanyHeader();
    loadFinancialYears();
    return true;
}

MainWindow::~MainWindow()
{
    CompanyDb::forgetDatabaseCheckReceiver(this);
    delete ui;
}

void MainWindow::refreshCompanyHeader()
{
    QString name = loadCompanyInfo().name;
    if (name.isEmpty())
        name = QStringLiteral("Morvel Coats");
    ui->company_header_label->setText(QString("%1 Management Application").arg(name));
}

void MainWindow::loadFinancialYears()
{
    ui->fy_combo->clear();
    QSqlQuery q;
    if (q.exec("SELECT fy_name FROM financial_years ORDER BY fy_id ASC")) {
        while (q.next())
            ui->fy_combo->addItem(q.value(0).toString());
    }
    QSqlQuery active;
    if (active.exec("SELECT fy_name FROM financial_years WHERE is_active = 1 LIMIT 1") && active.next()) {
        const int index = ui->fy_combo->findText(active.value(0).toString(), Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (index >= 0)
            ui->fy_combo->setCurrentIndex(index);
    }
}

void MainWindow::enterLoginState()
{
    ui->submit_btn->setAutoDefault(true);
    ui->usernameEdit->setEchoMode(QLineEdit::Password);
    ui->passwordEdit->setEchoMode(QLineEdit::Password);
    ui->purchase_btn->hide();
    ui->expenses_btn->hide();
    ui->invent_cum_btn->hide();
    ui->salary_slip_btn->hide();
    ui->sales_btn->hide();
    ui->settings_btn->hide();
    ui->settings_btn->setAutoDefault(true);
}

// Without a database nothing but the about box can do any good: every other
// control would work on an unopened connection.
void MainWindow::disableForMissingDatabase()
{
    for (QWidget *w : {static_cast<QWidget *>(ui->submit_btn), static_cast<QWidget *>(ui->settings_btn),
                       static_cast<QWidget *>(ui->backup_btn), static_cast<QWidget *>(ui->developer_btn),
                       static_cast<QWidget *>(ui->sales_btn), static_cast<QWidget *>(ui->purchase_btn),
                       static_cast<QWidget *>(ui->expenses_btn), static_cast<QWidget *>(ui->invent_cum_btn),
                       static_cast<QWidget *>(ui->salary_slip_btn), static_cast<QWidget *>(ui->usernameEdit),
                       static_cast<QWidget *>(ui->passwordEdit), static_cast<QWidget *>(ui->fy_combo)})
        w->setEnabled(false);
}

void MainWindow::on_submit_btn_clicked()
{
    if (!finishStart())
        return;
    const QString username = ui->usernameEdit->text();
    const QString password = ui->passwordEdit->text();
    if (username.isEmpty() || password.isEmpty()) {
        Desktop::warning(this, "Error", "Please enter username and password!");
        return;
    }

    QSqlQuery q;
    q.prepare("SELECT * FROM users WHERE username = :username AND password = :password");
    q.bindValue(":username", username);
    q.bindValue(":password", password);
    if (q.exec() && q.next()) {
        g_currentFY = ui->fy_combo->currentText();
        qDebug() << "FY set to:" << g_currentFY;
        ui->label_5->setText("Access Granted");
        ui->expenses_btn->setVisible(isModuleEnabled("expenses"));
        ui->purchase_btn->setVisible(isModuleEnabled("purchase"));
        ui->salary_slip_btn->setVisible(isModuleEnabled("salary"));
        ui->invent_cum_btn->setVisible(isModuleEnabled("inventory"));
        ui->sales_btn->setVisible(isModuleEnabled("sales"));
        ui->settings_btn->show();
        ui->usernameEdit->hide();
        ui->passwordEdit->hide();
        ui->submit_btn->hide();
    } else {
        Desktop::warning(this, "Wrong Credantail", "Enter Your Right Password");
        ui->passwordEdit->clear();
        ui->usernameEdit->clear();
    }
}

void MainWindow::on_sales_btn_clicked()
{
    openKeptWindow(m_salesWindow, KeptForm::CreatedOnce, moduleCreator(moduleWindowFactory().sales, this));
}

void MainWindow::on_purchase_btn_clicked()
{
    openKeptWindow(m_purchaseWindow, KeptForm::CreatedOnce, moduleCreator(moduleWindowFactory().purchase, this));
}

void MainWindow::on_expenses_btn_clicked()
{
    openKeptWindow(m_expensesWindow, KeptForm::CreatedOnce, moduleCreator(moduleWindowFactory().expenses, this));
}

void MainWindow::on_salary_slip_btn_clicked()
{
    openKeptWindow(m_salaryWindow, KeptForm::CreatedOnce, moduleCreator(moduleWindowFactory().salary, this));
}

void MainWindow::on_invent_cum_btn_clicked()
{
    openKeptWindow(m_inventoryWindow, KeptForm::Rebuilt, moduleCreator(moduleWindowFactory().inventory, this));
}

void MainWindow::on_backup_btn_clicked()
{
    // Only a file that opened sound is copied.
    if (!finishStart())
        return;
    const QString folder = Desktop::applicationFolder();
    const Backup::Report report = Backup::run(folder, Backup::companyKey(folder), QDateTime::currentDateTime(),
                                              Backup::localBackupFolder(), Backup::driveRootCandidates());
    if (report.databaseFound)
        Desktop::information(this, "Backup Result", report.text);
    else
        Desktop::critical(this, "Error", report.text);
}

void MainWindow::on_settings_btn_clicked()
{
    ChangePasswordDialog dialog(this);
    fitToScreen(&dialog);
    dialog.exec();
}

void MainWindow::on_app_info_btn_clicked()
{
    showAboutBox(this);
}

void MainWindow::on_developer_btn_clicked()
{
    if (!finishStart())
        return;
    QString password;
    if (!Desktop::getText(this, "Developer Access", "Enter Developer Password:", true, &password)
        || password.isEmpty())
        return;
    if (!AdminSettings::isDeveloperPassword(password)) {
        Desktop::warning(this, "Access Denied", "Invalid developer password!");
        return;
    }
    DeveloperDialog dialog(this);
    fitToScreen(&dialog);
    dialog.exec();
}

void MainWindow::on_company_setting_btn_clicked()
{
    if (!finishStart())
        return;
    CompanySettingsDialog dialog(this);
    if (dialog.exec() == QDialog::Accepted)
        refreshCompanyHeader();
}

void MainWindow::closeModuleWindows()
{
    // The module windows are this window's children and go with it; the
    // forms they opened have no parent and stay until closed themselves.
    const QList<QWidget *> children = findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
    for (QWidget *child : children)
        if (child->isWindow() && child->isVisible())
            child->close();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // A file that did not open sound is not offered for backup.
    if (!finishStart()) {
        closeModuleWindows();
        event->accept();
        return;
    }
    switch (Desktop::question(this, "Backup", "Do you want to backup before closing?",
                              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)) {
    case QMessageBox::Yes:
        on_backup_btn_clicked();
        closeModuleWindows();
        event->accept();
        break;
    case QMessageBox::No:
        closeModuleWindows();
        event->accept();
        break;
    default: // Cancel, or the box left with Escape
        event->ignore();
        break;
    }
}
