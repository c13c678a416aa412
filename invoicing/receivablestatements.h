#pragma once
// The two printed receivables statements, built as HTML from the rows a list
// shows: the payment pending statement of the follow-up window and the
// payment statement of the payment history. Each is rendered to one tall
// picture cut into landscape A4 pages. Every value, the company record
// included, is escaped.

#include "core/companyinfo.h"
#include "core/storedsum.h"

#include <QDate>
#include <QList>
#include <QString>

class QWidget;

// What both statements print in their head besides the company.
struct StatementHead
{
    CompanyInfo company;
    QString leftLogoHtml;  // "<img .../>" or "&nbsp;"
    QString rightLogoHtml;
    QString fy;
    QDate from;
    QDate to;
};

// The company record and logos of the sized boxes, with the year and period.
StatementHead statementHead(int leftLogoWidth, int rightLogoWidth, int logoHeight, const QString &fy,
                            const QDate &from, const QDate &to);

// One listed pending invoice as the list shows it.
struct PendingStatementRow
{
    QString invoiceNo;
    QString invoiceDate; // "dd-MM-yyyy"
    QString customer;
    QString amount;      // the outstanding balance, two decimals
    QString days;
};

// The row's shade by its days (a whole number, else 0): 91 or more red,
// 61 to 90 amber, else none.
QString pendingRowShade(const QString &days);

// The amounts of the rows added exactly, however many there are.
StoredTotal pendingStatementTotal(const QList<PendingStatementRow> &rows);
QString pendingStatementHtml(const StatementHead &head, const QList<PendingStatementRow> &rows);

// Renders the pending statement and shows its preview; a warning titled
// "Print" when there is no row, and "Error" when the total cannot be formed.
void printPendingStatement(QWidget *parent, const QList<PendingStatementRow> &rows, const QDate &from,
                           const QDate &to);

// One listed payment row as the history shows it; the paid amount, date and
// mode are empty on the further rows of a payment.
struct PaymentStatementRow
{
    QString invoiceNo;
    QString invoiceDate;
    QString customer;
    QString invoiceAmount;
    QString paidAmount;
    QString paidDate;
    QString mode;
    QString days;
    QString remarks;
};

// The rows of one payment: a row without paid amount and paid date joins the
// block above it; any other row opens a block.
struct PaymentBlock
{
    QString paidAmount;
    QString paidDate;
    QString mode;
    QString remarks;
    QList<PaymentStatementRow> lines;
};
QList<PaymentBlock> paymentBlocks(const QList<PaymentStatementRow> &rows);

// The average of the days of every row whose days text is not empty, as a
// whole number rounded half away from zero; 0 when there is none.
int statementAverageDays(const QList<PaymentStatementRow> &rows);

// `totalPaid` and `totalInvoices` are the texts of the history's total fields.
QString paymentStatementHtml(const StatementHead &head, const QList<PaymentStatementRow> &rows,
                             const QString &totalInvoices, const QString &totalPaid);

void printPaymentStatement(QWidget *parent, const QList<PaymentStatementRow> &rows, const QDate &from,
                           const QDate &to, const QString &totalInvoices, const QString &totalPaid);
