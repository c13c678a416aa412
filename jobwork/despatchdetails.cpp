#include "despatchdetails.h"
#include "ui_despatchdetails.h"

#include "core/financialyear.h"
#include "jobworkreportstore.h"
#include "statuscolors.h"
#include "output/desktop.h"
#include "widgets/formconventions.h"
#include "widgets/formstyle.h"
#include "widgets/reportform.h"
#include "widgets/tablefill.h"

#include <QHeaderView>

namespace {
const int ReceivedColumn = 9;
const int DespatchedColumn = 10;
const int BalanceColumn = 11;
}

despatchdetails::despatchdetails(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::despatchdetails)
{
    setStyleSheet(formStyleSheet());
    ui->setupUi(this);
    setWindowTitle(QStringLiteral("Despatch Details - Kestrova App"));
    setupFormHeader(ui->groupBox, ui->label, ui->label_8, ui->label_11);

    setupReportTable(ui->despatch_details_table, 6);
    ui->despatch_details_table->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    setupReportFilters(ui->fromdateEdit, ui->todateEdit);
    ui->tot_rec_qtyEdit->setReadOnly(true);
    ui->tot_des_qtyEdit->setReadOnly(true);
    ui->tot_bal_qtyEdit->setReadOnly(true);

    loadCompanyCombo();
    loadData();
}

despatchdetails::~despatchdetails()
{
    delete ui;
}

void despatchdetails::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!reloadOnShow(&shownOnce))
        return;
    loadCompanyCombo();
    loadData();
}

void despatchdetails::loadCompanyCombo()
{
    loadCustomerCombo(ui->company_combo, QStringLiteral("-- All Companies --"));
}

void despatchdetails::loadData()
{
    QTableWidget *table = ui->despatch_details_table;
    const ReportFilter filter =
        readReportFilter(ui->company_combo, ui->fromdateEdit, ui->todateEdit, ui->searchEdit);

    QList<DespatchRow> rows;
    QString error;
    if (!queryDespatchDetails(filter, &rows, &error)) {
        table->setRowCount(0);
        Desktop::warning(this, QStringLiteral("Query Error"), error);
        return;
    }

    TableFill fill(table, int(rows.size()), TableFill::Items::Kept);
    ReportTexts texts;
    // Two brushes shared by every balance cell (a brush made per cell costs
    // an allocation, and a kept item compares it with the one it has).
    const QBrush open(balanceColor(1.0));
    const QBrush done(balanceColor(0.0));
    // A new row's cell that repeats the one above, text and look, is a copy
    // of it.
    CellsAbove above(table->columnCount());
    for (int r = 0; r < rows.size(); ++r) {
        const QStringList cells = despatchCells(rows.at(r), texts);
        const bool isOpen = balanceColor(rows.at(r).balance()) == open.color();
        const auto dress = [&](QTableWidgetItem *item, int c) {
            if (c == ReceivedColumn || c == DespatchedColumn || c == BalanceColumn)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (c == BalanceColumn)
                item->setBackground(isOpen ? open : done);
            return item;
        };
        above.addRow(fill, r, table->item(r, 0), cells, isOpen, dress);
    }
    fill.finish();

    const DespatchTotals totals = despatchTotals(rows);
    ui->tot_rec_qtyEdit->setText(totals.received.text(3));
    ui->tot_des_qtyEdit->setText(totals.despatched.text(3));
    ui->tot_bal_qtyEdit->setText(totals.balance.text(3));
}

void despatchdetails::on_show_btn_clicked()
{
    loadData();
}

void despatchdetails::on_reset_btn_clicked()
{
    resetReportFilters(ui->company_combo, ui->fromdateEdit, ui->todateEdit, ui->searchEdit);
    loadData();
}

void despatchdetails::on_searchEdit_textChanged(const QString &)
{
    loadData();
}

void despatchdetails::on_print_list_btn_clicked()
{
    exportTableCsv(this,
                   despatchDetailsCsvProfile(g_currentFY, ui->tot_rec_qtyEdit->text(),
                                             ui->tot_des_qtyEdit->text(), ui->tot_bal_qtyEdit->text()),
                   tableRows(ui->despatch_details_table, 0, BalanceColumn));
}

void despatchdetails::on_close_btn_clicked()
{
    close();
}
