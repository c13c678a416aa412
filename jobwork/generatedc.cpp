#include "generatedc.h"
#include "ui_generatedc.h"

#include "core/financialyear.h"
#include "core/listformat.h"
#include "challanstore.h"
#include "deliverychallanlist.h"
#include "jobworkreportstore.h"
#include "output/desktop.h"
#include "pendingstore.h"
#include "statuscolors.h"
#include "widgets/formconventions.h"
#include "widgets/formstyle.h"
#include "widgets/reportform.h"
#include "widgets/screenfit.h"
#include "widgets/tablefill.h"
#include "widgets/tickcolumn.h"

#include <QDebug>
#include <QHeaderView>
#include <QRadioButton>

namespace {

enum Column {
    CheckColumn = 0,
    KeyColumn = 1, // the inward number; hidden, carries the row's key
    FullNumberColumn = 2,
    InwardDateColumn = 3,
    DcNoColumn = 4,
    DcDateColumn = 5,
    PoNoColumn = 6,
    CustomerColumn = 7,
    BalanceColumn = 8,
    StatusColumn = 9,
};

// Roles of the key column's item.

const char *const BinQuestion = "Close pending balance for selected inward(s)?\n\n"
                                "\u2022 Pending qty will be zeroed out\n"
                                "\u2022 No invoice or DC numbers used\n"
                                "\u2022 Inward entries stay unchanged\n"
                                "\u2022 This cannot be undone";

QTableWidgetItem *textItem(const QString &text, Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter)
{
    auto *item = new QTableWidgetItem(text);
    item->setTextAlignment(alignment);
    return item;
}

} // namespace

generateDC::generateDC(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::generateDC)
{
    ui->setupUi(this);
    applyFormStyleSheet(this);
    setWindowTitle(QStringLiteral("Generate Delivery Challan - Kestrova App"));
    resize(1500, 800);
    setupFormHeader(ui->groupBox_4, ui->label_12, ui->label_13, ui->label_14);

    setupTables();
    ui->radio_pending->setChecked(true);
    ui->bin_btn->setEnabled(true);
    for (QRadioButton *radio : {ui->radio_pending, ui->radio_issued, ui->radio_all})
        connect(radio, &QRadioButton::toggled, this, &generateDC::loadPendingDCs);

    loadCustomerCombo();
    loadPendingDCs();
}

generateDC::~generateDC()
{
    delete ui;
}

void generateDC::setupTables()
{
    QTableWidget *list = ui->gen_dc_table;
    list->setColumnCount(10);
    // The tick column is headed by one space (a blank header would show its number).
    list->setHorizontalHeaderItem(CheckColumn, new QTableWidgetItem(QStringLiteral(" ")));
    setupReportTable(list, CustomerColumn);
    list->horizontalHeader()->setSectionResizeMode(CheckColumn, QHeaderView::Fixed);
    list->setColumnWidth(CheckColumn, 40);
    list->setColumnHidden(KeyColumn, true);

    m_ticks = new TickColumn(list, CheckColumn);
    // Each row's box carries its customer and inward number.
    m_ticks->setBoxProperties([this](int row) {
        const PendingRow key = listedRow(row);
        return QVariantMap{{QStringLiteral("customerName"), key.customerName},
                           {QStringLiteral("inwardNo"), key.inwardNo},
                           {QStringLiteral("customerId"), key.customerId}};
    });
    connect(m_ticks, &TickColumn::stateChanged, this, &generateDC::onCheckboxChanged);

    QTableWidget *display = ui->display_table;
    display->setColumnCount(5);
    display->setEditTriggers(QAbstractItemView::NoEditTriggers);
    display->setAlternatingRowColors(true);
    display->verticalHeader()->setVisible(false);
    QHeaderView *displayHeader = display->horizontalHeader();
    displayHeader->setStretchLastSection(false);
    displayHeader->setSectionResizeMode(QHeaderView::Fixed);
    display->setColumnWidth(0, 100);
    displayHeader->setSectionResizeMode(1, QHeaderView::Stretch);
    display->setColumnWidth(2, 90);
    display->setColumnWidth(3, 70);
    display->setColumnWidth(4, 320);
}

void generateDC::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!reloadOnShow(&shownOnce))
        return;
    loadCustomerCombo();
    loadPendingDCs();
}

void generateDC::loadCustomerCombo()
{
    ::loadCustomerCombo(ui->company_combo, QStringLiteral("-- All Companies --"));
}

void generateDC::loadPendingDCs()
{
    if (auto *radio = qobject_cast<QRadioButton *>(sender()); radio && !radio->isChecked())
        return;

    QTableWidget *list = ui->gen_dc_table;
    list->setRowCount(0);
    m_listed.clear();

    PendingQuery query;
    query.customerId = chosenCustomerId(ui->company_combo);
    query.itemText = ui->filter_codeEdit->text();
    query.currentFy = g_currentFY;
    query.filter = ui->radio_issued->isChecked() ? PendingFilter::Issued
                   : ui->radio_all->isChecked()  ? PendingFilter::All
                                                 : PendingFilter::Open;
    QList<PendingRow> rows;
    QString error;
    if (!queryPendingInwards(query, &rows, &error)) {
        Desktop::warning(this, QStringLiteral("Query Error"), error);
        return;
    }

    TableFill fill(list, int(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        const PendingRow &row = rows.at(r);
        const PendingStatus status = row.status();

        fill.add(r, CheckColumn, TickColumn::newTick(status != PendingStatus::Issued));

        fill.add(r, KeyColumn, QString::number(row.inwardNo));
        fill.add(r, FullNumberColumn, textItem(row.inwardNoFull));
        fill.add(r, InwardDateColumn, textItem(storedDateText(row.inwardDate)));
        fill.add(r, DcNoColumn, textItem(row.dcNo));
        fill.add(r, DcDateColumn, textItem(storedDateText(row.dcDate)));
        fill.add(r, PoNoColumn, textItem(row.poNo));
        fill.add(r, CustomerColumn, textItem(row.customerName));
        fill.add(r, BalanceColumn, textItem(row.balanceTotal().text(3), Qt::AlignRight | Qt::AlignVCenter));
        fill.add(r, StatusColumn, textItem(statusText(status), Qt::AlignCenter))->setBackground(statusColor(status));
    }
    fill.finish();
    m_listed = std::move(rows);
    m_ticks->refresh();
}

void generateDC::on_company_combo_currentIndexChanged(int)
{
    loadPendingDCs();
}

void generateDC::on_filter_codeEdit_textChanged(const QString &)
{
    loadPendingDCs();
}

void generateDC::on_show_btn_clicked()
{
    loadPendingDCs();
}

void generateDC::on_gen_dc_table_currentItemChanged(QTableWidgetItem *current, QTableWidgetItem *)
{
    if (!current) {
        ui->display_table->setRowCount(0);
        return;
    }
    const PendingRow key = listedRow(current->row());
    loadInwardItems(key.inwardNo, key.fy);
}

void generateDC::loadInwardItems(int inwardNo, const QString &fy)
{
    QTableWidget *display = ui->display_table;
    display->setRowCount(0);
    const QList<InwardItemRow> lines = inwardItemRows(inwardNo, fy);
    display->setRowCount(lines.size());
    for (int r = 0; r < lines.size(); ++r) {
        const InwardItemRow &line = lines.at(r);
        display->setItem(r, 0, textItem(line.itemCode));
        display->setItem(r, 1, textItem(line.itemName));
        display->setItem(r, 2, textItem(quantityText(line.qty), Qt::AlignRight | Qt::AlignVCenter));
        display->setItem(r, 3, textItem(line.uom));
        display->setItem(r, 4, textItem(line.remarks));
    }
}

void generateDC::onCheckboxChanged(int)
{
    // The customer of the first ticked row, top down, is the chosen one.
    const QList<int> ticked = m_ticks->tickedRows();
    const int chosen = ticked.isEmpty() ? -1 : listedRow(ticked.first()).customerId;
    for (int r = 0; r < ui->gen_dc_table->rowCount(); ++r)
        m_ticks->setTickable(r, ticked.isEmpty() || listedRow(r).customerId == chosen);
}

void generateDC::on_proced_del_btn_clicked()
{
    QList<int> inwardNos;
    QList<PendingRow> keys;
    QString customerName;
    int customerId = -1;
    for (int r : m_ticks->tickedRows()) {
        const PendingRow key = listedRow(r);
        keys << key;
        inwardNos << key.inwardNo;
        customerName = key.customerName;
        customerId = key.customerId;
    }
    if (inwardNos.isEmpty()) {
        Desktop::warning(this, QStringLiteral("Error"), QStringLiteral("Please select at least one DC using checkbox!"));
        return;
    }
    // The challan form reads and writes the current year's inward entries only.
    for (const PendingRow &key : keys) {
        if (key.fy != g_currentFY) {
            Desktop::warning(this, QStringLiteral("Error"), otherYearRefusalText(key.inwardNoFull, key.fy, g_currentFY));
            return;
        }
    }

    // A figure stored beyond what the form works with exactly would read as
    // nothing left, or as a balance it is not.
    if (refusedAsTooLarge(keys, QStringLiteral("No challan form was opened.")))
        return;

    qDebug() << "Selected company:" << customerName;
    qDebug() << "Customer ID:" << customerId;
    qDebug() << "Inward Nos:" << inwardNos;
    if (customerId < 1) {
        Desktop::warning(this, QStringLiteral("Error"),
                         QStringLiteral("Could not identify company! Company: ") + customerName);
        return;
    }

    // Entries issued, binned or cancelled since the list was read would give
    // a form with nothing to deliver.
    const PendingInward pending = loadPendingInwardLines(inwardNos, customerId, g_currentFY);
    if (!pending.error.isEmpty()) {
        Desktop::warning(this, QStringLiteral("Query Error"), pending.error);
        return;
    }
    QStringList closed;
    for (const PendingRow &key : keys)
        if (pending.notFound.contains(key.inwardNo) || pending.nothingLeft.contains(key.inwardNo))
            closed << key.inwardNoFull;
    if (!closed.isEmpty()) {
        Desktop::warning(this, QStringLiteral("Error"), nothingLeftText(closed));
        return;
    }

    auto *form = new deliveryChallanList();
    form->setInwardData(inwardNos, customerId, customerName);
    fitToScreen(form);
    form->show();
    form->raise();
    form->activateWindow();
}

void generateDC::on_bin_btn_clicked()
{
    QList<BinTarget> targets;
    QList<PendingRow> keys;
    for (int r : m_ticks->tickedRows()) {
        const PendingRow key = listedRow(r);
        if (key.status() == PendingStatus::Issued) {
            Desktop::warning(this, QStringLiteral("Error"), QStringLiteral("Row is already fully issued!"));
            return;
        }
        targets.append(binTargetOf(key));
        keys << key;
    }
    if (targets.isEmpty()) {
        Desktop::warning(this, QStringLiteral("Error"), QStringLiteral("Select at least one row to bin!"));
        return;
    }
    if (refusedAsTooLarge(keys, QStringLiteral("Nothing was binned.")))
        return;
    if (Desktop::question(this, QStringLiteral("Confirm Bin"), QString::fromUtf8(BinQuestion),
                          QMessageBox::Yes | QMessageBox::No)
        != QMessageBox::Yes)
        return;

    const BinOutcome outcome = binPendingBalances(targets, QDate::currentDate());
    if (!outcome.notPending.isEmpty()) {
        // The list still shows the entry as it was: Show reads it again.
        Desktop::warning(this, QStringLiteral("Error"),
                         notPendingText(outcome.notPending)
                             + QStringLiteral("\n\nPress Show to list the entries as they are now, then tick "
                                              "the ones still pending."));
        return;
    }
    if (!outcome.tooLarge.isEmpty()) {
        Desktop::warning(this, figureTooLargeTitle(), outcome.tooLarge + QStringLiteral("\nNothing was binned."));
        return;
    }
    if (!outcome.ok) {
        Desktop::warning(this, QStringLiteral("Error"), outcome.error);
        return;
    }
    Desktop::information(this, QStringLiteral("Binned"), QStringLiteral("Pending balance closed successfully!"));
    loadPendingDCs();
}

bool generateDC::refusedAsTooLarge(const QList<PendingRow> &rows, const QString &nothingDone)
{
    for (const PendingRow &row : rows) {
        if (const QString tooLarge = row.tooLargeText(); !tooLarge.isEmpty()) {
            Desktop::warning(this, figureTooLargeTitle(), tooLarge + QLatin1Char('\n') + nothingDone);
            return true;
        }
    }
    return false;
}

void generateDC::on_close_btn_clicked()
{
    close();
}
