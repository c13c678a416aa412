#include "inventory_polist.h"
#include "ui_inventory_polist.h"

#include "core/companyinfo.h"
#include "core/listformat.h"
#include "output/csvexport.h"
#include "output/desktop.h"
#include "output/htmlescape.h"
#include "output/htmlprint.h"
#include "output/logos.h"
#include "widgets/formconventions.h"
#include "widgets/formstyle.h"
#include "widgets/tablefill.h"
#include "widgets/tickcolumn.h"
#include "inventory/materialrequestdocument.h"
#include "inventory/materialrequeststore.h"

#include <QDate>
#include <QBrush>
#include <QHash>
#include <QHeaderView>

namespace {

enum Column { ColTick = 0, ColNumber, ColDate, ColSupplier, ColItem, ColCategory, ColQty, ColUom, ColStatus, Columns };

QString AllSuppliers()
{
    return QStringLiteral("-- All Suppliers --");
}

} // namespace

inventory_polist::inventory_polist(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::inventory_polist)
{
    ui->setupUi(this);
    keepFormFonts(this);
    ticks = new TickColumn(ui->ordered_list, ColTick);
    setWindowTitle(QStringLiteral("Material Request List & Status - Kestrova App"));
    setupFormHeader(ui->groupBox_4, ui->label, ui->label_13, ui->label_14);
    setupTable();
    resetPeriod();
    ui->radio_open_btn->setChecked(true);
    loadSupplierCombo();
    loadOrders();
}

inventory_polist::~inventory_polist()
{
    delete ui;
}

void inventory_polist::setupTable()
{
    QTableWidget *t = ui->ordered_list;
    t->setColumnCount(Columns);
    t->setHorizontalHeaderLabels({QString(), "PO Number", "PO Date", "Supplier Name", "Item Name", "Category",
                                  "Order Qty", "UOM", "Status"});
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setAlternatingRowColors(true);
    QHeaderView *header = t->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    header->setSectionResizeMode(ColTick, QHeaderView::Fixed);
    t->setColumnWidth(ColTick, 40);
    header->setSectionResizeMode(ColItem, QHeaderView::Stretch);
}

void inventory_polist::resetPeriod()
{
    const QDate today = QDate::currentDate();
    ui->fromdateEdit->setDate(today.addMonths(-1));
    ui->todateEdit->setDate(today.addDays(1));
    ui->fromdateEdit->setCalendarPopup(true);
    ui->todateEdit->setCalendarPopup(true);
}

void inventory_polist::loadSupplierCombo()
{
    ui->company_combo->clear();
    ui->company_combo->addItem(AllSuppliers());
    ui->company_combo->addItems(requestSuppliers());
}

void inventory_polist::loadOrders()
{
    // The old rows go when the new ones are filled in (or, when the lines
    // cannot be read, before the warning): freeing them first, with the table
    // still drawing, costs as much again.
    QTableWidget *t = ui->ordered_list;
    const QString combo = ui->company_combo->currentText();
    QList<RequestListRow> rows;
    QString error;
    if (!queryRequestList(combo == AllSuppliers() ? std::nullopt : std::optional<QString>(combo),
                          ui->fromdateEdit->date().toString(QStringLiteral("yyyy-MM-dd")),
                          ui->todateEdit->date().toString(QStringLiteral("yyyy-MM-dd")), &rows, &error)) {
        t->setRowCount(0);
        listedLines.clear();
        Desktop::warning(this, QStringLiteral("Error"), error);
        return;
    }

    // Dates, quantities and status colours repeat down the list: each is made
    // once.
    RepeatedTexts<QString> dates(requestDateText);
    RepeatedTexts<double> quantities(requestQtyText);
    QHash<QString, QVariant> backgrounds;
    const auto backgroundOf = [&](const QString &status) {
        auto found = backgrounds.constFind(status);
        if (found == backgrounds.cend()) {
            const QColor colour = requestStatusColor(status);
            found = backgrounds.insert(status, colour.isValid() ? QVariant(QBrush(colour)) : QVariant());
        }
        return *found;
    };

    // Every fill gives every cell with the same roles, so the rows that stay
    // keep their items (Show again, or the reload after a status change,
    // builds and deletes none); the boxes go first, as the ticks do.
    ticks->dropBoxes();
    TableFill fill(t, int(rows.size()), TableFill::Items::Kept);
    for (int r = 0; r < rows.size(); ++r) {
        const RequestListRow &row = rows.at(r);
        fill.add(r, ColTick, TickColumn::newTick());
        fill.add(r, ColNumber, row.poNumber);
        fill.add(r, ColDate, dates(row.poDate));
        fill.add(r, ColSupplier, row.supplierName);
        fill.add(r, ColItem, row.itemName);
        fill.add(r, ColCategory, row.category);
        fill.add(r, ColQty, quantities(row.orderQty));
        fill.add(r, ColUom, row.uom);
        QTableWidgetItem *status = fill.add(r, ColStatus, row.status);
        status->setTextAlignment(Qt::AlignCenter);
        // A kept cell loses a colour its new status does not have.
        const QVariant background = backgroundOf(row.status);
        if (background.isValid() || status->data(Qt::BackgroundRole).isValid())
            status->setData(Qt::BackgroundRole, background);
    }
    fill.finish();
    listedLines = std::move(rows);
    // A new list starts at its top, as when its rows are made afresh.
    t->scrollToTop();
    ticks->refresh();
}

void inventory_polist::on_show_btn_clicked()
{
    loadOrders();
}

void inventory_polist::on_reset_btn_clicked()
{
    ui->company_combo->setCurrentIndex(0);
    resetPeriod();
    ui->radio_open_btn->setChecked(true);
    loadOrders();
}

void inventory_polist::on_close_btn_clicked()
{
    close();
}

QString inventory_polist::chosenStatus() const
{
    const QList<QRadioButton *> radios{ui->radio_open_btn, ui->radio_recevied_btn, ui->radio_partial_btn,
                                       ui->radio_ordcan_btn};
    const QStringList statuses = requestStatuses();
    for (int i = 0; i < radios.size(); ++i) {
        if (radios.at(i)->isChecked())
            return statuses.at(i);
    }
    return QString();
}

void inventory_polist::on_save_status_btn_clicked()
{
    const QString status = chosenStatus();
    if (status.isEmpty()) {
        Desktop::warning(this, QStringLiteral("Error"), QStringLiteral("Please select a status!"));
        return;
    }
    // Each ticked row is the line the list read for it, written by its own row.
    QList<RequestLineKey> keys;
    for (int r : ticks->tickedRows()) {
        if (r < 0 || r >= listedLines.size())
            continue;
        const RequestListRow &line = listedLines.at(r);
        keys << RequestLineKey{line.poId, line.poNumber, line.itemName, line.status, line.stored};
    }
    if (keys.isEmpty()) {
        Desktop::warning(this, QStringLiteral("Error"), QStringLiteral("Please select at least one order!"));
        return;
    }
    QString error;
    bool refused = false;
    const int updated = updateRequestStatus(keys, status, &error, &refused);
    if (updated < 0) {
        // The ticks and the chosen status stay; Show reads the lines again.
        if (refused)
            error += QStringLiteral("\n\nPress Show to list the lines as they are now, then tick them again.");
        Desktop::warning(this, QStringLiteral("Error"), error);
        return;
    }
    Desktop::information(this, QStringLiteral("Success"),
                         QString::number(updated) + QStringLiteral(" order(s) updated to ") + status + QStringLiteral("!"));
    loadOrders();
}

void inventory_polist::on_print_btn_clicked()
{
    const QTableWidget *t = ui->ordered_list;
    if (t->rowCount() == 0) {
        Desktop::warning(this, QStringLiteral("Print"), QStringLiteral("No data to print!"));
        return;
    }
    QList<QStringList> ticked;
    for (int r : ticks->tickedRows()) {
        QStringList cells;
        for (int c = ColNumber; c <= ColStatus; ++c)
            cells << cellHtml(r, c);
        ticked << cells;
    }
    printedHtml = requestListHtml(loadCompanyInfo(), logoImageHtml(QStringLiteral("left"), 80, 120),
                                  logoImageHtml(QStringLiteral("right"), 150, 120), ticked);
    printHtmlDocument(this, HtmlPrintProfiles::materialRequestList(),
                      [this](QPrinter *printer) { printDocument(printer); });
}

void inventory_polist::printDocument(QPrinter *printer)
{
    paintHtmlDocument(printer, printedHtml, HtmlPrintProfiles::materialRequestList());
}

QString inventory_polist::cellHtml(int row, int column) const
{
    const QTableWidgetItem *item = ui->ordered_list->item(row, column);
    return item ? htmlEscaped(item->text()) : QString();
}

void inventory_polist::on_print_statement_clicked()
{
    CsvExportProfile profile;
    profile.caption = QStringLiteral("Export PO List");
    profile.defaultName =
        QStringLiteral("PO_List_") + QDate::currentDate().toString(QStringLiteral("ddMMyyyy")) + QStringLiteral(".csv");
    // The titles through the one field writer, as every field of the rows.
    profile.header = csvJoined({QStringLiteral("PO Number"), QStringLiteral("PO Date"), QStringLiteral("Supplier Name"),
                                QStringLiteral("Item Name"), QStringLiteral("Category"), QStringLiteral("Order Qty"),
                                QStringLiteral("UOM"), QStringLiteral("Status")});
    profile.failureMessage = CsvMessages::couldNotSaveFile();
    exportTableCsv(this, profile, tableRows(ui->ordered_list, ColNumber, ColStatus));
}
