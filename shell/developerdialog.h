#pragma once

#include "companyrecord.h"

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QLabel;

QT_BEGIN_NAMESPACE
namespace Ui {
class DeveloperDialog;
}
QT_END_NAMESPACE

// The administration panel's settings: the panel password, module switches,
// the financial years offered at login and the two logo files.
namespace AdminSettings {

// True only for the panel password, compared exactly as typed.
bool isDeveloperPassword(const QString &text);

// The years the panel offers, "26-27" to "37-38".
QStringList offeredYears();

bool isYearReleased(const QString &fy);
// Adds the year to the login list; a year already there keeps its row.
bool releaseYear(const QString &fy, QString *error);
// Removes the year from the login list when it holds no inward entry, the
// look and the removal under one write lock; the year stays while the
// inward table does not exist yet.
bool withdrawYear(const QString &fy, QString *error);

bool setModuleEnabled(const QString &moduleName, bool enabled, QString *error);

enum class LogoResult { Unchanged, Written, Failed };
// Stores the image at `source` as the PNG file `target`. Nothing happens when
// source is the target itself. A failure leaves the old target in place.
LogoResult storeLogo(const QString &source, const QString &target, QString *error);

} // namespace AdminSettings

class DeveloperDialog : public QDialog
{
    Q_OBJECT

public:
    explicit DeveloperDialog(QWidget *parent = nullptr);
    ~DeveloperDialog() override;

    void loadCompanyDetails();
    void loadModuleChecks();
    void loadFinancialYearChecks();
    bool setModuleEnabled(const QString &moduleName, bool enabled, QString *error = nullptr);

private slots:
    void on_company_save_btn_clicked();
    void on_left_logo_btn_clicked();
    void on_right_logo_btn_clicked();
    void on_module_save_btn_clicked();
    void on_save_fy_btn_clicked();
    void on_cancel_btn_clicked();

private:
    struct ModuleSwitch
    {
        const char *name;
        QCheckBox *check;
    };
    QList<ModuleSwitch> moduleSwitches() const;
    QList<QCheckBox *> yearChecks() const;
    void chooseLogo(const QString &caption, QString *path, QLabel *preview);
    static void showLogo(QLabel *preview, const QImage &image);
    void reportSave(QStringList failures, const QString &success);

    Ui::DeveloperDialog *ui;
    // Row 1 as loaded, then as saved here: a save writes it only while it is
    // still so.
    CompanyRecord company;
    QString m_leftLogoPath;
    QString m_rightLogoPath;
};
