#include "inwardhistory.h"
#include "ui_inwardhistory.h"

#include "core/financialyear.h"
#include "jobworkreportstore.h"
#include "output/desktop.h"
#include "widgets/formconventions.h"
#include "widgets/formstyle.h"
#include "widgets/reportform.h"
#include "widgets/tablefill.h"

namespace {
const int QtyColumn = 8;
}

inwardHistory::inwardHistory(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::inwardHistory)
{
    setStyleSheet(formStyleSheet());
    ui->setupUi(this);
    setWindowTitle(QStringLiteral("Inward History - Kestrova App"));
    setupFormHeader(ui->groupBox, ui->label, ui->label_8, ui->label_11);

    setupReportTable(ui->inward_history_table, 7);
    setupReportFilters(ui->fromdateEdit, ui->todateEdit);
    ui->total_qtyEdit->setReadOnly(true);

    loadCompanyCombo();
    loadData();
}

inwardHistory::~inwardHistory()
{
    delete ui;
}

void inwardHistory::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!reloadOnShow(&shownOnce))
        return;
    loadCompanyCombo();
    loadData();
}

void inwardHistory::loadCompanyCombo()
{
    loadCustomerCombo(ui->company_combo, QStringLiteral("-- All Companies --"));
}

void inwardHistory::loadData()
{
    const ReportFilter filter =
        readReportFilter(ui->company_combo, ui->fromdateEdit, ui->todateEdit, ui->searchEdit);

    QList<InwardHistoryRow> rows;
    QString error;
    if (!queryInwardHistory(filter, &rows, &error)) {
        ui->inward_history_table->setRowCount(0);
        Desktop::warning(this, QStringLiteral("Query Error"), error);
        return;
    }

    // Row by row into the kept items: no list of every row's texts is held.
    // A new row's cell that repeats the one above is a copy of it.
    QTableWidget *table = ui->inward_history_table;
    TableFill fill(table, int(rows.size()), TableFill::Items::Kept);
    ReportTexts texts;
    CellsAbove above(table->columnCount());
    const auto dress = [](QTableWidgetItem *item, int c) {
        if (c == QtyColumn)
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return item;
    };
    for (int r = 0; r < rows.size(); ++r)
        above.addRow(fill, r, table->item(r, 0), inwardHistoryCells(rows.at(r), texts), 0, dress);
    fill.finish();
    ui->total_qtyEdit->setText(inwardHistoryTotal(rows).text(3));
}

void inwardHistory::on_show_btn_clicked()
{
    loadData();
}

void inwardHistory::on_reset_btn_clicked()
{
    resetReportFilters(ui->company_combo, ui->fromdateEdit, ui->todateEdit, ui->searchEdit);
    loadData();
}

void inwardHistory::on_searchEdit_textChanged(const QString &)
{
    loadData();
}

void inwardHistory::on_print_list_btn_clicked()
{
    exportTableCsv(this, inwardHistoryCsvProfile(g_currentFY, ui->total_qtyEdit->text()),
                   tableRows(ui->inward_history_table, 0, QtyColumn));
}

void inwardHistory::on_close_btn_clicked()
{
    close();
}
