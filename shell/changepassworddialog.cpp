#include "changepassworddialog.h"
#include "ui_changepassworddialog.h"

#include "core/boundquery.h"
#include "core/listedrow.h"
#include "output/desktop.h"
#include "widgets/formstyle.h"

#include <QVariant>

namespace UserPanel {

namespace {

// The first user whose password is `password`; 0 when there is none.
int userWithPassword(const QString &password)
{
    QSqlQuery q;
    if (execBound(q, "SELECT id FROM users WHERE password = :password", {{":password", password}}) && q.next())
        return q.value(0).toInt();
    return 0;
}

} // namespace

CredentialCheck checkCredentialChange(const QString &currentPassword, const QString &newUsername,
                                      const QString &newPassword, const QString &confirmation)
{
    CredentialCheck check;
    if (currentPassword.isEmpty() || newUsername.isEmpty() || newPassword.isEmpty() || confirmation.isEmpty()) {
        check.problem = CredentialProblem::Incomplete;
        return check;
    }
    check.userId = userWithPassword(currentPassword);
    if (check.userId == 0)
        check.problem = CredentialProblem::WrongCurrentPassword;
    else if (newPassword != confirmation)
        check.problem = CredentialProblem::Mismatch;
    else if (newPassword.size() < 4)
        check.problem = CredentialProblem::TooShort;
    return check;
}

QString credentialProblemText(CredentialProblem problem)
{
    switch (problem) {
    case CredentialProblem::None:
        break;
    case CredentialProblem::Incomplete:
        return QStringLiteral("Please fill all fields!");
    case CredentialProblem::WrongCurrentPassword:
        return QStringLiteral("Current password is incorrect!");
    case CredentialProblem::Mismatch:
        return QStringLiteral("New password and confirm password do not match!");
    case CredentialProblem::TooShort:
        return QStringLiteral("Password must be at least 4 characters!");
    }
    return QString();
}

ShownUser readShownUser()
{
    ShownUser shown;
    shown.row.source = RowSource{"users", "id", {"id", "username", "password"}, QString()};
    forEachRow("SELECT " + shown.row.source.columnList() + " FROM users LIMIT 1", {}, [&shown](const StatementRow &r) {
        shown.row.key = r.value(0);
        shown.username = r.text(1);
        shown.row.stored = StoredRow::of(r, 0, 3);
    });
    return shown;
}

QString reopenText()
{
    return QStringLiteral("Close the User Panel and open it again to see it as it is now.");
}

bool updateCredentials(ShownUser *shown, int userId, const QString &username, const QString &password,
                       QString *error)
{
    const QVariantMap values{{":username", username}, {":password", password}, {":id", userId}};
    return writePanelRow(&shown->row, "The user " + shortRowName(shown->username), reopenText(),
                         "UPDATE users SET username = :username, password = :password WHERE id = :id", values,
                         error);
}

bool saveBankDetails(CompanyRecord *company, const QString &text, QString *error)
{
    return writePanelRow(&company->bank, companyRecordName(), reopenText(),
                         "UPDATE company_settings SET bank_details = :bank WHERE id = 1", {{":bank", text.trimmed()}},
                         error);
}

void ensureInvoiceFormatColumn()
{
    QSqlQuery q;
    q.exec("ALTER TABLE company_settings ADD COLUMN invoice_format TEXT");
}

bool saveInvoiceFormat(CompanyRecord *company, const QString &format, QString *error)
{
    return writePanelRow(&company->format, companyRecordName(), reopenText(),
                         "UPDATE company_settings SET invoice_format = :fmt WHERE id = 1", {{":fmt", format}}, error);
}

} // namespace UserPanel

ChangePasswordDialog::ChangePasswordDialog(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::ChangePasswordDialog)
{
    setStyleSheet(formStyleSheet());
    ui->setupUi(this);
    setWindowTitle("User Panel -  Kestrova App");

    ui->currentPassEdit->setEchoMode(QLineEdit::Password);
    ui->newPasswordEdit->setEchoMode(QLineEdit::Password);
    ui->confirmPassEdit->setEchoMode(QLineEdit::Password);

    shownUser = UserPanel::readShownUser();
    ui->newUsernameEdit->setText(shownUser.username);

    // Row 1 read once, with the column the format choice keeps.
    UserPanel::ensureInvoiceFormatColumn();
    readCompanyRecord(&company);
    ui->bankDetailsEdit->setPlainText(company.bankDetails);

    ui->invoice_format_combo->addItem("Standard", "standard");
    ui->invoice_format_combo->addItem("Tally Style", "tally");
    const int index = company.found ? ui->invoice_format_combo->findData(company.invoiceFormat) : -1;
    if (index >= 0)
        ui->invoice_format_combo->setCurrentIndex(index);
}

ChangePasswordDialog::~ChangePasswordDialog()
{
    delete ui;
}

void ChangePasswordDialog::on_save_btn_clicked()
{
    using UserPanel::CredentialProblem;
    const QString username = ui->newUsernameEdit->text().trimmed();
    const QString password = ui->newPasswordEdit->text();
    const UserPanel::CredentialCheck check = UserPanel::checkCredentialChange(
        ui->currentPassEdit->text(), username, password, ui->confirmPassEdit->text());

    if (check.problem != CredentialProblem::None) {
        Desktop::warning(this, "Error", UserPanel::credentialProblemText(check.problem));
        if (check.problem == CredentialProblem::WrongCurrentPassword) {
            ui->currentPassEdit->clear();
        } else if (check.problem == CredentialProblem::Mismatch) {
            ui->newPasswordEdit->clear();
            ui->confirmPassEdit->clear();
        }
        return;
    }

    QString error;
    if (!UserPanel::updateCredentials(&shownUser, check.userId, username, password, &error)) {
        Desktop::warning(this, "Error", "Failed to update: " + error);
        return;
    }
    Desktop::information(this, "Success",
                         "Username and password updated successfully!\n"
                         "Please use new credentials next time you login.");
    accept();
}

void ChangePasswordDialog::on_cancel_btn_clicked()
{
    reject();
}

void ChangePasswordDialog::on_bank_save_btn_clicked()
{
    QString error;
    if (!UserPanel::saveBankDetails(&company, ui->bankDetailsEdit->toPlainText(), &error))
        Desktop::warning(this, "Error", error);
}

void ChangePasswordDialog::on_close_btn_clicked()
{
    close();
}

void ChangePasswordDialog::on_save_invpref_btn_clicked()
{
    QString error;
    if (UserPanel::saveInvoiceFormat(&company, ui->invoice_format_combo->currentData().toString(), &error))
        Desktop::information(this, "Saved", "Invoice format preference saved!");
    else
        Desktop::warning(this, "Error", error);
}
