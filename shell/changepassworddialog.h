#pragma once

#include "companyrecord.h"
#include "panelrow.h"

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
// The login user the panel shows: the first row of users, kept to be
// written back only while it is still so.
struct ShownUser
{
    QString username; // empty when there is no user
    PanelRow row;
};
ShownUser readShownUser();

// How a refusal of the panel says to go on.
QString reopenText();

// Rewrites the name and password of the user `userId`, while the user the
// panel shows is still as `shown` holds it; then keeps it as it stands.
// False with why in `error` otherwise ("The user pravo was changed or deleted
// meanwhile, ...", or the driver's text).
bool updateCredentials(ShownUser *shown, int userId, const QString &username, const QString &password,
                       QString *error);

// Store the text trimmed at both ends, and the invoice format, in row 1 while
// that column is still as `company` holds it (another panel's save of another
// column meanwhile is no reason against); then keep it as it stands.
bool saveBankDetails(CompanyRecord *company, const QString &text, QString *error);
bool saveInvoiceFormat(CompanyRecord *company, const QString &format, QString *error);

// Gives company_settings its invoice_format column (nothing when present).
void ensureInvoiceFormatColumn();

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
    // What the panel shows, as read and then as saved here: each save
    // writes only while its row is still so.
    UserPanel::ShownUser shownUser;
    CompanyRecord company;
};
