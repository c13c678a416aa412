#include "inventory_stockreport.h"
#include "ui_inventory_stockreport.h"

#include "core/money.h"
#include "output/csvexport.h"
#include "output/desktop.h"
#include "widgets/formconventions.h"
#include "widgets/formstyle.h"
#include "widgets/tablefill.h"
#include "inventory/inventoryschema.h"
#include "inventory/materialrequeststore.h"
#include "inventory/stockreportstore.h"

#include <QDate>
#include <QHeaderView>

namespace {

const int FixedColumns = 5; // Sl, Category, Supplier, Item, Line Total

QString AllEntries()
{
    return QStringLiteral("-- All --");
}

QString filterText(const QString &comboText)
{
    return comboText == AllEntries() ? QString() : comboText;
}

QTableWidgetItem *boldCell(const QString &text, const QColor &colour, Qt::Alignment alignment)
{
    auto *item = new QTableWidgetItem(text);
    QFont font = item->font();
    font.setBold(true);
    item->setFont(font);
    if (colour.isValid())
        item->setForeground(colour);
    item->setTextAlignment(alignment);
    return item;
}

} // namespace

inventory_stockreport::inventory_stockreport(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::inventory_stockreport)
{
    ui->setupUi(this);
    applyFormStyleSheet(this);
    setWindowTitle(QStringLiteral("Stock Report - Kestrova"));
    setupFormHeader(ui->groupBox_4, ui->label, ui->label_13, ui->label_14);
    createStockMovementTable();

    QStringList headers{"Sl no", "Category", "Supplier Name", "Item Name", "Line Total"};
    for (int d = 1; d <= 31; ++d)
        headers << QStringLiteral("%1").arg(d, 2, 10, QLatin1Char('0'));
    ui->inventory_stockreport_2->setColumnCount(headers.size());
    ui->inventory_stockreport_2->setHorizontalHeaderLabels(headers);
    // Until Show sets the month's widths, no column is narrower than its header.
    for (int c = 0; c < headers.size(); ++c) {
        ui->inventory_stockreport_2->setColumnWidth(
            c, qMax(ui->inventory_stockreport_2->columnWidth(c),
                    ui->inventory_stockreport_2->horizontalHeader()->sectionSizeHint(c)));
    }

    loadMonthYearCombos();
    loadFilterCombos();
}

inventory_stockreport::~inventory_stockreport()
{
    delete ui;
}

void inventory_stockreport::loadMonthYearCombos()
{
    ui->month_combo->clear();
    for (int m = 1; m <= 12; ++m)
        ui->month_combo->addItem(QLocale::c().standaloneMonthName(m), m);
    ui->year_combo->clear();
    const int year = QDate::currentDate().year();
    for (int y = year - 2; y <= year + 1; ++y)
        ui->year_combo->addItem(QString::number(y), y);
    chooseThisMonth();

    QTableWidget *grid = ui->inventory_stockreport_2;
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setAlternatingRowColors(true);
    grid->verticalHeader()->setVisible(false);
    grid->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
}

void inventory_stockreport::chooseThisMonth()
{
    const QDate today = QDate::currentDate();
    ui->month_combo->setCurrentIndex(today.month() - 1);
    ui->year_combo->setCurrentText(QString::number(today.year()));
    ui->radio_all->setChecked(true);
}

void inventory_stockreport::loadFilterCombos()
{
    ui->search_category_combo->clear();
    ui->search_category_combo->addItem(AllEntries());
    ui->search_category_combo->addItems(stockCategories());
    ui->sup_search_combo->clear();
    ui->sup_search_combo->addItem(AllEntries());
    ui->sup_search_combo->addItems(stockItemSuppliers());
}

void inventory_stockreport::generateReport()
{
    QTableWidget *grid = ui->inventory_stockreport_2;
    grid->clear();
    grid->setRowCount(0);

    StockReportFilter filter;
    filter.month = ui->month_combo->currentData().toInt();
    filter.year = ui->year_combo->currentData().toInt();
    const int days = QDate(filter.year, filter.month, 1).daysInMonth();
    shownMonthName = ui->month_combo->currentText();
    shownYear = filter.year;
    shownDays = days;

    QStringList headers{"Sl", "Category", "Supplier", "Item", "Line Total"};
    for (int d = 1; d <= days; ++d)
        headers << QString::number(d);
    grid->setColumnCount(headers.size());
    grid->setHorizontalHeaderLabels(headers);
    const int widths[FixedColumns] = {40, 100, 120, 120, 80};
    for (int c = 0; c < FixedColumns; ++c)
        grid->setColumnWidth(c, qMax(widths[c], grid->horizontalHeader()->sectionSizeHint(c)));
    for (int d = 1; d <= days; ++d)
        grid->setColumnWidth(FixedColumns - 1 + d, 50);

    filter.category = filterText(ui->search_category_combo->currentText());
    // The empty entry stands for the items stored without a supplier.
    const QString supplier = ui->sup_search_combo->currentText();
    if (supplier != AllEntries())
        filter.supplier = supplier;
    filter.search = ui->search_itemEdit->text().trimmed();
    filter.kinds = ui->radio_add->isChecked()   ? StockMovementKinds::Additions
                   : ui->radio_red->isChecked() ? StockMovementKinds::Reductions
                                                : StockMovementKinds::All;

    QList<StockReportRow> rows;
    QString error;
    if (!queryStockReport(filter, &rows, &error)) {
        Desktop::warning(this, QStringLiteral("Error"), error);
        return;
    }
    if (rows.isEmpty()) {
        Desktop::information(this, QStringLiteral("No Data"),
                             QStringLiteral("No transactions found for selected filters."));
        return;
    }

    const QColor green(QStringLiteral("#27ae60"));
    const QColor red(QStringLiteral("#e74c3c"));
    const QColor blue(QStringLiteral("#0078d4"));
    const QColor both(QStringLiteral("#fff3cd"));
    QList<int> tallRows;
    TableFill fill(grid, int(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        const StockReportRow &row = rows.at(r);
        fill.add(r, 0, QString::number(r + 1));
        fill.add(r, 1, row.category);
        fill.add(r, 2, row.supplier);
        fill.add(r, 3, row.itemName);
        const StoredTotal total = row.lineTotal(filter.kinds);
        fill.add(r, 4, boldCell(total.text(0), total > StoredTotal() ? blue : QColor(),
                                     Qt::AlignRight | Qt::AlignVCenter));
        for (int d = 1; d <= days; ++d) {
            const StockDayCell day = stockDayCell(row, d, filter.kinds);
            QTableWidgetItem *item = nullptr;
            switch (day.kind) {
            case StockDayCell::None:
                continue;
            case StockDayCell::Addition:
                item = boldCell(day.text, green, Qt::AlignCenter);
                break;
            case StockDayCell::Reduction:
                item = boldCell(day.text, red, Qt::AlignCenter);
                break;
            case StockDayCell::Both:
                item = new QTableWidgetItem(day.text);
                item->setTextAlignment(Qt::AlignCenter);
                item->setBackground(both);
                item->setToolTip(day.toolTip);
                if (tallRows.isEmpty() || tallRows.last() != r)
                    tallRows << r;
                break;
            }
            fill.add(r, FixedColumns - 1 + d, item);
        }
    }
    fill.finish();
    // A day of both kinds shows two lines: its row is made tall enough for them.
    const int twoLines = grid->fontMetrics().lineSpacing() * 2 + 6;
    for (int r : tallRows)
        grid->setRowHeight(r, qMax(grid->rowHeight(r), twoLines));
}

void inventory_stockreport::on_show_btn_clicked()
{
    generateReport();
}

void inventory_stockreport::on_reset_btn_clicked()
{
    ui->search_category_combo->setCurrentIndex(0);
    ui->sup_search_combo->setCurrentIndex(0);
    ui->search_itemEdit->clear();
    chooseThisMonth();
    ui->inventory_stockreport_2->clear();
    ui->inventory_stockreport_2->setRowCount(0);
    ui->inventory_stockreport_2->setColumnCount(0);
}

void inventory_stockreport::on_print_list_btn_clicked()
{
    // The file is named after the month the grid shows, not a month chosen
    // since without Show.
    CsvExportProfile profile;
    profile.caption = QStringLiteral("Export Stock Report");
    profile.defaultName = QStringLiteral("Stock_Report_%1_%2.csv").arg(shownMonthName).arg(shownYear);
    profile.header = stockReportCsvHeader(shownDays);
    profile.lineBreaksAsPlus = true;
    profile.failureMessage = CsvMessages::couldNotSaveFile();
    exportTableCsv(this, profile, tableRows(ui->inventory_stockreport_2));
}

void inventory_stockreport::on_close_btn_clicked()
{
    close();
}
