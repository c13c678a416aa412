#include "generatedc.h"
#include "ui_generatedc.h"

#include "app/desktop.h"
#include "app/financialyear.h"
#include "app/formconventions.h"
#include "app/formstyle.h"
#include "app/listformat.h"
#include "app/tablefill.h"
#include "deliverychallanlist.h"
#include "jobworkreports.h"
#include "pendingstore.h"

#include <QCheckBox>
#include <QDebug>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QRadioButton>
#include <QScrollBar>

namespace {

enum Column {
    TickColumn = 0,
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
const int FyRole = Qt::UserRole;
const int CustomerIdRole = Qt::UserRole + 1;
const int StatusRole = Qt::UserRole + 2;

// Roles of the tick column's item: the row's tick and whether it may change.
const int TickedRole = Qt::UserRole;
const int TickableRole = Qt::UserRole + 1;

// Rows above and below the visible ones that carry their check box too.
const int CheckBoxMargin = 150;

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
    setStyleSheet(formStyleSheet());
    ui->setupUi(this);
    setWindowTitle(QStringLiteral("Generate Delivery Challan - Kestrova App"));
    resize(1500, 800);
    setupFormHeader(ui->groupBox_4, ui->label_12, ui->label_13, ui->label_14);
    db = QSqlDatabase::database();

    setupTables();
    ui->radio_pending->setChecked(true);
    ui->bin_btn->setEnabled(true);
    for (QRadioButton *radio : {ui->radio_pending, ui->radio_issued, ui->radio_all})
        connect(radio, &QRadioButton::toggled, this, &generateDC::loadPendingDCs);
    QScrollBar *scroll = ui->gen_dc_table->verticalScrollBar();
    connect(scroll, &QScrollBar::valueChanged, this, [this] { placeCheckBoxes(); });
    connect(scroll, &QScrollBar::rangeChanged, this, [this] { placeCheckBoxes(); });

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
    list->setHorizontalHeaderItem(TickColumn, new QTableWidgetItem(QStringLiteral(" ")));
    setupReportTable(list, CustomerColumn);
    list->horizontalHeader()->setSectionResizeMode(TickColumn, QHeaderView::Fixed);
    list->setColumnWidth(TickColumn, 40);
    list->setColumnHidden(KeyColumn, true);

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

    checkBoxRows = {0, -1};
    TableFill fill(list, int(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        const PendingRow &row = rows.at(r);
        const PendingStatus status = row.status();

        auto *tick = new QTableWidgetItem;
        tick->setData(TickedRole, false);
        tick->setData(TickableRole, status != PendingStatus::Issued);
        fill.add(r, TickColumn, tick);

        QTableWidgetItem *key = fill.add(r, KeyColumn, QString::number(row.inwardNo));
        key->setData(FyRole, row.fy);
        key->setData(CustomerIdRole, row.customerId);
        key->setData(StatusRole, static_cast<int>(status));
        fill.add(r, FullNumberColumn, textItem(row.inwardNoFull));
        fill.add(r, InwardDateColumn, textItem(storedDateText(row.inwardDate)));
        fill.add(r, DcNoColumn, textItem(row.dcNo));
        fill.add(r, DcDateColumn, textItem(storedDateText(row.dcDate)));
        fill.add(r, PoNoColumn, textItem(row.poNo));
        fill.add(r, CustomerColumn, textItem(row.customerName));
        fill.add(r, BalanceColumn, textItem(quantityText(row.balance()), Qt::AlignRight | Qt::AlignVCenter));
        fill.add(r, StatusColumn, textItem(statusText(status), Qt::AlignCenter))->setBackground(statusColor(status));
    }
    fill.finish();
    placeCheckBoxes();
}

void generateDC::placeCheckBoxes()
{
    // A check box is a widget of its own; thousands of them make the table
    // crawl, so only the rows in and around the view carry one. The tick
    // itself is kept in the row's item.
    QTableWidget *list = ui->gen_dc_table;
    const int rows = list->rowCount();
    QPair<int, int> wanted{0, -1};
    if (rows > 0) {
        const int height = list->viewport()->height();
        const int top = qMax(0, list->rowAt(0));
        int bottom = list->rowAt(height - 1);
        // Below the last row, or before the rows are laid out: as many rows
        // as the view holds.
        if (bottom < 0)
            bottom = top + height / qMax(1, list->verticalHeader()->defaultSectionSize());
        wanted = {qMax(0, top - CheckBoxMargin), qMin(rows - 1, bottom + CheckBoxMargin)};
    }
    for (int r = checkBoxRows.first; r <= checkBoxRows.second && r < rows; ++r) {
        if (r < wanted.first || r > wanted.second)
            list->removeCellWidget(r, TickColumn);
    }
    for (int r = wanted.first; r <= wanted.second; ++r) {
        // A row still being filled gets its box when the fill is done.
        if (!list->cellWidget(r, TickColumn) && list->item(r, TickColumn))
            list->setCellWidget(r, TickColumn, makeCheckBoxCell(r));
    }
    checkBoxRows = wanted;
}

QWidget *generateDC::makeCheckBoxCell(int row)
{
    const QTableWidgetItem *tick = ui->gen_dc_table->item(row, TickColumn);
    const RowKey key = rowKey(row);
    auto *box = new QCheckBox;
    box->setProperty("customerName", key.customerName);
    box->setProperty("inwardNo", key.inwardNo);
    box->setProperty("customerId", key.customerId);
    box->setChecked(tick->data(TickedRole).toBool());
    box->setEnabled(tick->data(TickableRole).toBool());
    connect(box, &QCheckBox::stateChanged, this, &generateDC::onCheckboxChanged);
    auto *cell = new QWidget;
    auto *layout = new QHBoxLayout(cell);
    layout->addWidget(box);
    layout->setAlignment(Qt::AlignCenter);
    layout->setContentsMargins(0, 0, 0, 0);
    return cell;
}

QCheckBox *generateDC::checkBoxAt(int row) const
{
    QWidget *cell = ui->gen_dc_table->cellWidget(row, TickColumn);
    return cell ? cell->findChild<QCheckBox *>() : nullptr;
}

generateDC::RowKey generateDC::rowKey(int row) const
{
    const QTableWidget *list = ui->gen_dc_table;
    RowKey key;
    if (const QTableWidgetItem *item = list->item(row, KeyColumn)) {
        key.inwardNo = item->text().toInt();
        key.fy = item->data(FyRole).toString();
        key.customerId = item->data(CustomerIdRole).toInt();
        key.issued = item->data(StatusRole).toInt() == static_cast<int>(PendingStatus::Issued);
    }
    if (const QTableWidgetItem *item = list->item(row, FullNumberColumn))
        key.inwardNoFull = item->text();
    if (const QTableWidgetItem *item = list->item(row, CustomerColumn))
        key.customerName = item->text();
    return key;
}

QList<int> generateDC::tickedRows() const
{
    QList<int> rows;
    for (int r = 0; r < ui->gen_dc_table->rowCount(); ++r) {
        if (const QTableWidgetItem *tick = ui->gen_dc_table->item(r, TickColumn); tick && tick->data(TickedRole).toBool())
            rows << r;
    }
    return rows;
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
    const RowKey key = rowKey(current->row());
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
    QTableWidget *list = ui->gen_dc_table;
    const int rows = list->rowCount();
    // The boxes on screen hold the ticks the user just changed.
    for (int r = checkBoxRows.first; r <= checkBoxRows.second && r < rows; ++r) {
        if (QCheckBox *box = checkBoxAt(r))
            list->item(r, TickColumn)->setData(TickedRole, box->isChecked());
    }

    // The customer of the first ticked row, top down, is the chosen one.
    const QList<int> ticked = tickedRows();
    const int chosen = ticked.isEmpty() ? -1 : rowKey(ticked.first()).customerId;
    for (int r = 0; r < rows; ++r) {
        const bool tickable = ticked.isEmpty() || rowKey(r).customerId == chosen;
        list->item(r, TickColumn)->setData(TickableRole, tickable);
        if (QCheckBox *box = checkBoxAt(r))
            box->setEnabled(tickable);
    }
}

void generateDC::on_proced_del_btn_clicked()
{
    QList<int> inwardNos;
    QList<RowKey> keys;
    QString customerName;
    int customerId = -1;
    for (int r : tickedRows()) {
        const RowKey key = rowKey(r);
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
    for (const RowKey &key : keys) {
        if (key.fy != g_currentFY) {
            Desktop::warning(this, QStringLiteral("Error"), otherYearRefusalText(key.inwardNoFull, key.fy, g_currentFY));
            return;
        }
    }

    qDebug() << "Selected company:" << customerName;
    qDebug() << "Customer ID:" << customerId;
    qDebug() << "Inward Nos:" << inwardNos;
    if (customerId < 1) {
        Desktop::warning(this, QStringLiteral("Error"),
                         QStringLiteral("Could not identify company! Company: ") + customerName);
        return;
    }

    auto *form = new deliveryChallanList();
    form->setInwardData(inwardNos, customerId, customerName);
    form->show();
    form->raise();
    form->activateWindow();
}

void generateDC::on_bin_btn_clicked()
{
    QList<BinTarget> targets;
    for (int r : tickedRows()) {
        const RowKey key = rowKey(r);
        if (key.issued) {
            Desktop::warning(this, QStringLiteral("Error"), QStringLiteral("Row is already fully issued!"));
            return;
        }
        targets.append({key.inwardNo, key.fy, key.customerId});
    }
    if (targets.isEmpty()) {
        Desktop::warning(this, QStringLiteral("Error"), QStringLiteral("Select at least one row to bin!"));
        return;
    }
    if (Desktop::question(this, QStringLiteral("Confirm Bin"), QString::fromUtf8(BinQuestion),
                          QMessageBox::Yes | QMessageBox::No)
        != QMessageBox::Yes)
        return;

    const BinOutcome outcome = binPendingBalances(targets, QDate::currentDate());
    if (!outcome.ok) {
        Desktop::warning(this, QStringLiteral("Error"), outcome.error);
        return;
    }
    Desktop::information(this, QStringLiteral("Binned"), QStringLiteral("Pending balance closed successfully!"));
    loadPendingDCs();
}

void generateDC::on_close_btn_clicked()
{
    close();
}
