#include "developerdialog.h"
#include "ui_developerdialog.h"

#include "companyrecord.h"
#include "core/boundquery.h"
#include "core/transaction.h"
#include "output/desktop.h"
#include "output/wholefile.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QVariant>

namespace AdminSettings {

bool isDeveloperPassword(const QString &text)
{
    return text == QLatin1String("TELMO@PNL8316");
}

QStringList offeredYears()
{
    QStringList years;
    for (int first = 26; first <= 37; ++first)
        years << QStringLiteral("%1-%2").arg(first).arg(first + 1);
    return years;
}

bool isYearReleased(const QString &fy)
{
    QSqlQuery q;
    return execBound(q, "SELECT fy_id FROM financial_years WHERE fy_name = :fy AND is_released = 1", {{":fy", fy}})
           && q.next();
}

bool releaseYear(const QString &fy, QString *error)
{
    QSqlQuery q;
    return execBound(q, "INSERT OR IGNORE INTO financial_years (fy_name, is_active, is_released) VALUES (:fy, 0, 1)",
                     {{":fy", fy}}, error);
}

bool withdrawYear(const QString &fy, QString *error)
{
    // The look and the delete hold the write lock together: an inward entry
    // saved meanwhile in another copy either comes before the look, which
    // then finds it, or waits until the year is gone.
    return runInTransaction(
        [&fy](QString *failure) {
            // Only a year known to hold no inward entry goes. Before the sales
            // window has made the inward table nothing is known of any year,
            // so it stays.
            QSqlQuery table;
            if (!execBound(table, "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = 'inward_entries'", {},
                           failure))
                return false;
            if (!table.next())
                return true;
            QSqlQuery count;
            if (!execBound(count, "SELECT COUNT(*) FROM inward_entries WHERE fy_name = :fy", {{":fy", fy}}, failure))
                return false;
            if (!count.next() || count.value(0).toInt() > 0)
                return true; // in use: the year stays
            QSqlQuery q;
            return execBound(q, "DELETE FROM financial_years WHERE fy_name = :fy", {{":fy", fy}}, failure);
        },
        error);
}

bool setModuleEnabled(const QString &moduleName, bool enabled, QString *error)
{
    QSqlQuery q;
    return execBound(q, "UPDATE modules SET is_enabled = :val WHERE module_name = :name",
                     {{":val", enabled ? 1 : 0}, {":name", moduleName}}, error);
}

LogoResult storeLogo(const QString &source, const QString &target, QString *error)
{
    if (QFileInfo(source) == QFileInfo(target))
        return LogoResult::Unchanged;

    QImageReader reader(source);
    const QImage image = reader.read();
    if (image.isNull()) {
        *error = reader.errorString();
        return LogoResult::Failed;
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(image)) {
        *error = writer.errorString();
        return LogoResult::Failed;
    }
    // Whole or not at all: a failed write keeps the logo the documents print
    // now, and says why (a full disk, a file-size limit, no permission).
    return WholeFile::writeBytes(target, png, error) ? LogoResult::Written : LogoResult::Failed;
}

} // namespace AdminSettings

namespace {

QString logoFile(const char *name)
{
    return Desktop::applicationFolder() + "/" + QLatin1String(name);
}

} // namespace

DeveloperDialog::DeveloperDialog(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::DeveloperDialog)
{
    ui->setupUi(this);
    setWindowTitle("Developer Panel - Morvel Technologies");

    const struct { const char *file; QString *path; QLabel *preview; } logos[] = {
        {"left_logo.png", &m_leftLogoPath, ui->left_logo_lable},
        {"right_logo.png", &m_rightLogoPath, ui->right_logo_lable},
    };
    for (const auto &logo : logos) {
        const QString path = logoFile(logo.file);
        if (QFileInfo::exists(path)) {
            const QImage image(path);
            if (!image.isNull())
                showLogo(logo.preview, image);
            *logo.path = path;
        }
    }

    loadCompanyDetails();
    loadModuleChecks();
    loadFinancialYearChecks();
}

DeveloperDialog::~DeveloperDialog()
{
    delete ui;
}

QList<DeveloperDialog::ModuleSwitch> DeveloperDialog::moduleSwitches() const
{
    return {{"expenses", ui->expensesCheck},
            {"purchase", ui->purchaseCheck},
            {"salary", ui->salaryCheck},
            {"inventory", ui->inventoryCheck},
            {"sales", ui->salesCheck}};
}

QList<QCheckBox *> DeveloperDialog::yearChecks() const
{
    return {ui->fy_2627_check, ui->fy_2728_check, ui->fy_2829_check, ui->fy_2930_check,
            ui->fy_3031_check, ui->fy_3132_check, ui->fy_3233_check, ui->fy_3334_check,
            ui->fy_3435_check, ui->fy_3536_check, ui->fy_3637_check, ui->fy_3738_check};
}

void DeveloperDialog::loadCompanyDetails()
{
    // The built-in company shows while row 1 is missing or cannot be read.
    readCompanyRecord(&company);
    showCompanyInForm(ui, company.found ? company.info : builtInCompanyInfo());
}

void DeveloperDialog::loadModuleChecks()
{
    for (const ModuleSwitch &module : moduleSwitches())
        module.check->setChecked(isModuleEnabled(module.name));
}

void DeveloperDialog::loadFinancialYearChecks()
{
    const QStringList years = AdminSettings::offeredYears();
    const QList<QCheckBox *> checks = yearChecks();
    for (int i = 0; i < years.size(); ++i)
        checks[i]->setChecked(AdminSettings::isYearReleased(years[i]));
}

bool DeveloperDialog::setModuleEnabled(const QString &moduleName, bool enabled, QString *error)
{
    return AdminSettings::setModuleEnabled(moduleName, enabled, error);
}

void DeveloperDialog::showLogo(QLabel *preview, const QImage &image)
{
    preview->setPixmap(QPixmap::fromImage(image).scaled(preview->size(), Qt::KeepAspectRatio,
                                                        Qt::SmoothTransformation));
}

void DeveloperDialog::chooseLogo(const QString &caption, QString *path, QLabel *preview)
{
    const QString chosen = Desktop::getOpenFileName(this, caption, QString(), "Images (*.png *.jpg *.jpeg)");
    if (chosen.isEmpty())
        return;
    const QImage image(chosen);
    if (image.isNull()) {
        Desktop::warning(this, "Error", "Could not load image.");
        return;
    }
    *path = chosen;
    showLogo(preview, image);
}

void DeveloperDialog::on_left_logo_btn_clicked()
{
    chooseLogo("Select Left Logo", &m_leftLogoPath, ui->left_logo_lable);
}

void DeveloperDialog::on_right_logo_btn_clicked()
{
    chooseLogo("Select Right Logo", &m_rightLogoPath, ui->right_logo_lable);
}

void DeveloperDialog::on_company_save_btn_clicked()
{
    if (!saveCompanyRecordReporting(
            this, &company, companyFromForm(ui),
            "Press Cancel and open the Developer Panel again to see the company details as they are now."))
        return;

    QString error;
    QStringList failures;
    const struct { const char *file; const QString &path; } logos[] = {
        {"left_logo.png", m_leftLogoPath},
        {"right_logo.png", m_rightLogoPath},
    };
    for (const auto &logo : logos) {
        if (logo.path.isEmpty())
            continue;
        if (AdminSettings::storeLogo(logo.path, logoFile(logo.file), &error) == AdminSettings::LogoResult::Failed)
            failures << QString("Failed to save %1: %2").arg(QLatin1String(logo.file), error);
    }
    reportSave(failures, "Company details saved successfully!");
}

void DeveloperDialog::on_module_save_btn_clicked()
{
    QStringList failures;
    for (const ModuleSwitch &module : moduleSwitches()) {
        QString error;
        if (!setModuleEnabled(module.name, module.check->isChecked(), &error))
            failures << error;
    }
    reportSave(failures, "Module settings saved!\nChanges will take effect on next login.");
}

void DeveloperDialog::on_save_fy_btn_clicked()
{
    const QStringList years = AdminSettings::offeredYears();
    const QList<QCheckBox *> checks = yearChecks();
    QStringList failures;
    for (int i = 0; i < years.size(); ++i) {
        QString error;
        const bool ok = checks[i]->isChecked() ? AdminSettings::releaseYear(years[i], &error)
                                               : AdminSettings::withdrawYear(years[i], &error);
        if (!ok)
            failures << error;
    }
    reportSave(failures, "Financial year settings saved!\nChanges visible on next login.");
}

// The section's success box, or its failures (each driver or file message once).
void DeveloperDialog::reportSave(QStringList failures, const QString &success)
{
    failures.removeDuplicates();
    if (failures.isEmpty())
        Desktop::information(this, "Success", success);
    else
        Desktop::warning(this, "Error", failures.join('\n'));
}

void DeveloperDialog::on_cancel_btn_clicked()
{
    accept();
}
