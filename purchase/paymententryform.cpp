#include "paymententryform.h"
#include "ui_paymententryform.h"

#include "purchasestore.h"
#include "receiptprint.h"
#include "supplierpaymentstore.h"

#include "core/money.h"
#include "core/typednumber.h"
#include "output/desktop.h"
#include "widgets/formconventions.h"
#include "widgets/formstyle.h"
#include "widgets/tablefill.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QSqlQuery>

namespace {

QCheckBox *tickBox(const QTableWidget *table, int row)
{
    return qobject_cast<QCheckBox *>(table->cellWidget(row, 0));
}

} // namespace

paymententryform::paymententryform(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::paymententryform)
{
    ui->setupUi(this);
    applyFormStyleSheet(this);
    setupFormHeader(ui->groupBox, ui->label_title, ui->label_icon, ui->label_logo);
    setWindowTitle(QStringLiteral("Supplier Payment Entry & Statement - Kestrova App"));

    ui->listof_bills->setSelectionBehavior(QAbstractItemView::SelectRows);
    ui->listof_bills->setSelectionMode(QAbstractItemView::SingleSelection);
    ui->listof_bills->setAlternatingRowColors(true);

    initPaymentTables();

    ui->paid_btn->setAutoDefault(true);
    ui->reset_pay_btn->setAutoDefault(true);
    ui->paymentdateEdit->setDate(QDate::currentDate());
    ui->paymentdateEdit->setCalendarPopup(true);
    ui->paymentdateEdit->setDisplayFormat(QStringLiteral("dd-MM-yyyy"));

    ui->listof_bills->setColumnCount(6);
    ui->listof_bills->setHorizontalHeaderLabels({QStringLiteral("Checkbox"), QStringLiteral("Bill No"),
                                                 QStringLiteral("Bill Date"), QStringLiteral("Company Name"),
                                                 QStringLiteral("Amount"), QStringLiteral("Due Date")});
    QHeaderView *header = ui->listof_bills->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    header->setSectionResizeMode(3, QHeaderView::Stretch);
    header->setStretchLastSection(false);

    loadCompanyCombo();
}

paymententryform::~paymententryform()
{
    delete ui;
}

void paymententryform::initPaymentTables()
{
    ::initPaymentTables();
}

void paymententryform::loadCompanyCombo()
{
    ui->companypaytable_combo->clear();
    ui->companypaytable_combo->addItem(QStringLiteral("-- Select Company --"));
    QSqlQuery q;
    if (q.exec(QStringLiteral("SELECT DISTINCT company_name FROM purchase_bills ORDER BY company_name ASC"))) {
        while (q.next())
            ui->companypaytable_combo->addItem(q.value(0).toString());
    }
}

void paymententryform::on_companypaytable_combo_currentTextChanged(const QString &company)
{
    if (company == QLatin1String("-- Select Company --") || company.isEmpty())
        return;
    loadUnpaidBills(company);
}

void paymententryform::loadUnpaidBills(const QString &company)
{
    QTableWidget *table = ui->listof_bills;
    table->setRowCount(0);
    m_listed.clear();
    QList<UnpaidBill> bills;
    QString error;
    if (!::loadUnpaidBills(company, &bills, &error)) {
        Desktop::warning(this, QStringLiteral("Query Error"), error);
        return;
    }

    const QDate today = QDate::currentDate();
    {
        TableFill fill(table, bills.size());
        for (int r = 0; r < bills.size(); ++r) {
            const UnpaidBill &b = bills.at(r);
            const int age = billAgeDays(b.billDate, today);
            fill.add(r, 1, b.billNo);
            fill.add(r, 2, paymentListDate(b.billDate));
            fill.add(r, 3, b.company);
            fill.add(r, 4, b.total.text())->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            QTableWidgetItem *ageItem = fill.add(r, 5, QString::number(age) + QStringLiteral(" days"));
            if (const std::optional<QColor> colour = billAgeColour(age))
                ageItem->setBackground(*colour);
        }
    }
    for (int r = 0; r < bills.size(); ++r) {
        m_listed.insert(bills.at(r).billId, bills.at(r));
        auto *box = new QCheckBox;
        box->setProperty("billId", bills.at(r).billId);
        box->setProperty("amount", bills.at(r).total.toDouble());
        box->setProperty("company", bills.at(r).company);
        connect(box, &QCheckBox::stateChanged, this, &paymententryform::calculateGrandTotal);
        table->setCellWidget(r, 0, box);
    }
    calculateGrandTotal();
}

void paymententryform::calculateGrandTotal()
{
    StoredTotal total; // of however many bills are ticked
    for (int r = 0; r < ui->listof_bills->rowCount(); ++r) {
        if (QCheckBox *box = tickBox(ui->listof_bills, r); box && box->isChecked())
            total += Money::fromStored(box->property("amount").toDouble());
    }
    ui->grandtotal_amt->setText(total.text());
}

void paymententryform::on_reset_pay_btn_clicked()
{
    ui->amountEdit->clear();
    ui->refEdit->clear();
    ui->paymentdateEdit->setDate(QDate::currentDate());
    ui->companypaytable_combo->setCurrentIndex(0);
    ui->listof_bills->setRowCount(0);
    ui->grandtotal_amt->setText(QStringLiteral("0.00"));
}

void paymententryform::on_back_purchase_btn_clicked()
{
    if (QWidget *purchase = parentWidget())
        purchase->show();
    close();
}

void paymententryform::on_close_btn_clicked()
{
    close();
}

void paymententryform::on_paid_btn_clicked()
{
    QList<int> billIds;
    QString supplier;
    for (int r = 0; r < ui->listof_bills->rowCount(); ++r) {
        if (QCheckBox *box = tickBox(ui->listof_bills, r); box && box->isChecked()) {
            billIds << box->property("billId").toInt();
            supplier = box->property("company").toString();
        }
    }
    if (billIds.isEmpty()) {
        Desktop::warning(this, QStringLiteral("Error"), QStringLiteral("Please select at least one bill!"));
        return;
    }
    const QString amountText = ui->amountEdit->text().trimmed();
    // Recorded to the paisa: 1500.005 is 1500.01; beyond the money bound it
    // is no amount.
    if (const QString tooLarge = typedFigureTooLarge(QStringLiteral("Paid Amount"), amountText, FigureKind::Money);
        !tooLarge.isEmpty()) {
        Desktop::warning(this, figureTooLargeTitle(), tooLarge);
        return;
    }
    const std::optional<Money> amount = boundedAmount(amountText);
    if (!amount || *amount <= Money()) {
        Desktop::warning(this, QStringLiteral("Error"), QStringLiteral("Please enter paid amount!"));
        return;
    }

    SupplierPayment payment;
    for (int billId : billIds)
        payment.bills << m_listed.value(billId);
    payment.date = ui->paymentdateEdit->date().toString(QStringLiteral("yyyy-MM-dd"));
    payment.amount = *amount;
    payment.reference = ui->refEdit->text();
    payment.mode = ui->modEdit->currentText();
    payment.receiptNo = receiptNumber(QDateTime::currentDateTime());
    QString error;
    QString receiptNo; // the proposed number, or the free one the payment took
    switch (recordSupplierPayment(payment, &error, nullptr, &receiptNo)) {
    case PaymentWrite::Recorded:
        break;
    case PaymentWrite::BillNotUnpaid:
        // Paid, changed or deleted since this list was loaded: the reason
        // names the bill.
        Desktop::warning(this, QStringLiteral("Error"), error + QStringLiteral("\nThe list has been reloaded."));
        loadUnpaidBills(supplier);
        return;
    case PaymentWrite::Failed:
        Desktop::warning(this, QStringLiteral("Database Error"), QStringLiteral("Payment not saved:\n") + error);
        return;
    }

    PaymentReceipt receipt;
    receipt.receiptNo = receiptNo;
    receipt.date = ui->paymentdateEdit->date().toString(QStringLiteral("dd-MM-yyyy"));
    receipt.supplier = supplier;
    receipt.mode = payment.mode;
    receipt.reference = payment.reference;
    receipt.billCount = billIds.size();
    receipt.amountText = amountText;

    // The payment is recorded: the form is cleared and the list reloaded
    // whether or not the receipt could be shown, so it cannot be paid twice.
    printPaymentReceipt(this, receipt, billIds);
    ui->amountEdit->clear();
    ui->refEdit->clear();
    ui->paymentdateEdit->setDate(QDate::currentDate());
    loadUnpaidBills(supplier);
}
