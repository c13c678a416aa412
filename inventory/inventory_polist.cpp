#include "inventory_polist.h"
#include "ui_inventory_polist.h"

#include "app/companyinfo.h"
#include "app/csvexport.h"
#include "app/desktop.h"
#include "app/formstyle.h"
#include "app/formconventions.h"
#include "app/htmlprint.h"
#include "app/logos.h"
#include "app/tablefill.h"
#include "app/tickcolumn.h"
#include "inventory/materialrequestdocument.h"
#include "inventory/materialrequeststore.h"

#include <QDate>
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
        Desktop::warning(this, QStringLiteral("Error"), error);
        return;
    }

    TableFill fill(t, int(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        const QStringList texts = requestListCells(rows.at(r));
        fill.add(r, ColTick, TickColumn::newTick());
        for (int c = ColNumber; c < ColStatus; ++c)
            fill.add(r, c, texts.at(c - 1));
        QTableWidgetItem *status = fill.add(r, ColStatus, texts.at(ColStatus - 1));
        status->setTextAlignment(Qt::AlignCenter);
        const QColor colour = requestStatusColor(rows.at(r).status);
        if (colour.isValid())
            status->setBackground(colour);
    }
    fill.finish();
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
    const QTableWidget *t = ui->ordered_list;
    QList<RequestLineKey> keys;
    for (int r : ticks->tickedRows()) {
        const QTableWidgetItem *number = t->item(r, ColNumber);
        const QTableWidgetItem *item = t->item(r, ColItem);
        keys << RequestLineKey{number ? number->text() : QString(), item ? item->text() : QString()};
    }
    if (keys.isEmpty()) {
        Desktop::warning(this, QStringLiteral("Error"), QStringLiteral("Please select at least one order!"));
        return;
    }
    QString error;
    const int updated = updateRequestStatus(keys, status, &error);
    if (updated < 0) {
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
    const QList<QStringList> all = tableRows(t, ColNumber, ColStatus);
    QList<QStringList> ticked;
    for (int r : ticks->tickedRows())
        ticked << all.at(r);
    const QString html = requestListHtml(loadCompanyInfo(), logoImageHtml(QStringLiteral("left"), 80, 120),
                                         logoImageHtml(QStringLiteral("right"), 150, 120), ticked);
    printHtmlDocument(this, html, HtmlPrintProfiles::materialRequestList());
}

void inventory_polist::on_print_statement_clicked()
{
    CsvExportProfile profile;
    profile.caption = QStringLiteral("Export PO List");
    profile.defaultName =
        QStringLiteral("PO_List_") + QDate::currentDate().toString(QStringLiteral("ddMMyyyy")) + QStringLiteral(".csv");
    profile.header = QStringLiteral("PO Number,PO Date,Supplier Name,Item Name,Category,Order Qty,UOM,Status");
    profile.failureMessage = CsvMessages::couldNotSaveFile();
    exportTableCsv(this, profile, tableRows(ui->ordered_list, ColNumber, ColStatus));
}
