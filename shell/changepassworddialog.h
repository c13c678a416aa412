#pragma once

#include <QDialog>

QT_BEGIN_NAMESPACE
namespace Ui {
class ChangePasswordDialog;
}
QT_END_NAMESPACE

// What the user panel stores: the login credentials, the bank details printed
// on the tax invoice, and the invoice print format preference.
namespace UserPanel {

enum class CredentialProblem { None, Incomplete, WrongCurrentPassword, Mismatch, TooShort };

struct CredentialCheck
{
    CredentialProblem problem = CredentialProblem::None;
    int userId = 0; // the user whose password matched
};

// Checks a change of credentials in the order the user is told about it.
// newUsername is taken as given (the caller trims it); passwords never are.
CredentialCheck checkCredentialChange(const QString &currentPassword, const QString &newUsername,
                                      const QString &newPassword, const QString &confirmation);
// The warning shown for a problem (empty for None).
QString credentialProblemText(CredentialProblem problem);
// Rewrites the user's name and password.
bool updateCredentials(int userId, const QString &username, const QString &password, QString *error);

QString storedUsername();
QString storedBankDetails();
// Stores the text trimmed at both ends.
bool saveBankDetails(const QString &text, QString *error);

// Gives company_settings its invoice_format column (nothing when present).
void ensureInvoiceFormatColumn();
QString storedInvoiceFormat();
bool saveInvoiceFormat(const QString &format, QString *error);

} // namespace UserPanel

class ChangePasswordDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ChangePasswordDialog(QWidget *parent = nullptr);
    ~ChangePasswordDialog() override;

private slots:
    void on_save_btn_clicked();
    void on_cancel_btn_clicked();
    void on_bank_save_btn_clicked();
    void on_close_btn_clicked();
    void on_save_invpref_btn_clicked();

private:
    Ui::ChangePasswordDialog *ui;
};
