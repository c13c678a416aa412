#include "purchasepaymentstatement.h"
#include "ui_purchasepaymentstatement.h"

#include "purchasestore.h"
#include "supplierpaymentstore.h"

#include "output/csvexport.h"
#include "output/desktop.h"
#include "output/logos.h"
#include "output/pagerenderer.h"
#include "widgets/formconventions.h"
#include "widgets/formstyle.h"
#include "widgets/tablefill.h"

#include <QHeaderView>
#include <QSqlQuery>

purchasepaymentstatement::purchasepaymentstatement(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::purchasepaymentstatement)
{
    ui->setupUi(this);
    applyFormStyleSheet(this);
    setupFormHeader(ui->groupBox, ui->label_title, ui->label_icon, ui->label_logo);
    setWindowTitle(QStringLiteral("Supplier Payment Statement - Kestrova App"));

    // The statement reads payment_ref, which the payment tables gained later.
    initPurchaseTables();

    QTableWidget *table = ui->statement_table;
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setAlternatingRowColors(true);
    table->setColumnCount(6);
    table->setHorizontalHeaderLabels({QStringLiteral("Bill No"), QStringLiteral("Bill Date"),
                                      QStringLiteral("Company Name"), QStringLiteral("Amount"),
                                      QStringLiteral("Paid Amount"), QStringLiteral("Paid Date")});
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);

    ui->update_btn->setEnabled(false);
    for (QDateEdit *edit : {ui->dateEdit, ui->dateEdit_2}) {
        edit->setCalendarPopup(true);
        edit->setDisplayFormat(QStringLiteral("dd-MM-yyyy"));
    }
    ui->dateEdit->setDate(QDate::currentDate().addYears(-1));
    ui->dateEdit_2->setDate(QDate::currentDate().addDays(1));

    loadCompanyCombo();
}

purchasepaymentstatement::~purchasepaymentstatement()
{
    delete ui;
}

void purchasepaymentstatement::loadCompanyCombo()
{
    ui->companystate_combo->clear();
    ui->companystate_combo->addItem(QStringLiteral("-- Select Company --"));
    QSqlQuery q;
    if (q.exec(QStringLiteral("SELECT DISTINCT company_name FROM purchase_bills ORDER BY company_name ASC"))) {
        while (q.next())
            ui->companystate_combo->addItem(q.value(0).toString());
    }
}

void purchasepaymentstatement::on_companystate_combo_currentTextChanged(const QString &)
{
    ui->statement_table->setRowCount(0);
}

void purchasepaymentstatement::on_show_btn_clicked()
{
    const QString company = ui->companystate_combo->currentText();
    if (company == QLatin1String("-- Select Company --") || company.isEmpty()) {
        Desktop::warning(this, QStringLiteral("Error"), QStringLiteral("Please select a company!"));
        return;
    }
    if (ui->dateEdit->date() > ui->dateEdit_2->date()) {
        Desktop::warning(this, QStringLiteral("Date Error"), QStringLiteral("From date cannot be greater than To date!"));
        return;
    }
    ui->statement_table->setRowCount(0);
    QList<StatementRecord> records;
    QString error;
    if (!loadSupplierStatement(company, ui->dateEdit->date().toString(QStringLiteral("yyyy-MM-dd")),
                               ui->dateEdit_2->date().toString(QStringLiteral("yyyy-MM-dd")), &records, &error)) {
        Desktop::warning(this, QStringLiteral("Query Error"), error);
        return;
    }
    const QList<QStringList> rows = statementCells(records);
    fillTableTexts(ui->statement_table, rows, {3, 4});
    if (rows.isEmpty())
        Desktop::information(this, QStringLiteral("No Data"), QStringLiteral("No payment records found for ") + company);

    const StatementTotals totals = statementTotals(tableRows(ui->statement_table));
    ui->tot_amtEdit->setText(totals.bills.text());
    ui->paid_amtEdit->setText(totals.paid.text());
}

void purchasepaymentstatement::on_statement_reset_btn_clicked()
{
    ui->companystate_combo->setCurrentIndex(0);
    ui->dateEdit->setDate(QDate::currentDate());
    ui->dateEdit_2->setDate(QDate::currentDate());
    ui->statement_table->setRowCount(0);
    ui->tot_amtEdit->clear();
    ui->paid_amtEdit->clear();
}

void purchasepaymentstatement::on_edit_btn_clicked()
{
    if (ui->statement_table->currentRow() < 0) {
        Desktop::warning(this, QStringLiteral("Error"), QStringLiteral("Please select a row to edit!"));
        return;
    }
    ui->update_btn->setEnabled(true);
}

void purchasepaymentstatement::on_update_btn_clicked()
{
    // The statement is read from the payments; editing its rows stores nothing.
    Desktop::information(this, QStringLiteral("Info"), QStringLiteral("Update saved!"));
    ui->update_btn->setEnabled(false);
}

void purchasepaymentstatement::on_statement_print_pdf_clicked()
{
    if (ui->statement_table->rowCount() == 0) {
        Desktop::warning(this, QStringLiteral("Print"), QStringLiteral("No data to print!"));
        return;
    }
    StatementPrint print;
    print.supplier = ui->companystate_combo->currentText();
    print.from = ui->dateEdit->date().toString(QStringLiteral("dd/MM/yyyy"));
    print.to = ui->dateEdit_2->date().toString(QStringLiteral("dd/MM/yyyy"));
    print.rows = tableRows(ui->statement_table, 0, 5);
    renderComposedPages(this, RenderProfiles::supplierStatement(), [print]() mutable {
        print.company = loadCompanyInfo();
        print.leftLogoHtml = logoImageHtml(QStringLiteral("left"), 200, 110);
        print.rightLogoHtml = logoImageHtml(QStringLiteral("right"), 250, 110);
        ComposedDocument document;
        document.pagesHtml = QStringList{supplierStatementHtml(print)};
        return document;
    });
}

void purchasepaymentstatement::on_close_btn_clicked()
{
    close();
}
