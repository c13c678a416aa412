#include "inventory_purchaseorder.h"
#include "ui_inventory_purchaseorder.h"

#include "core/companyinfo.h"
#include "core/money.h"
#include "core/typednumber.h"
#include "output/desktop.h"
#include "output/htmlprint.h"
#include "output/logos.h"
#include "output/whatsapp.h"
#include "widgets/formconventions.h"
#include "widgets/formstyle.h"
#include "widgets/tablefill.h"
#include "widgets/tickcolumn.h"
#include "inventory/inventoryschema.h"
#include "inventory/materialrequestdocument.h"
#include "inventory/materialrequeststore.h"

#include <QCheckBox>
#include <QDate>
#include <QHeaderView>

namespace {

enum Column { ColTick = 0, ColSlNo, ColCategory, ColSupplier, ColItem, ColStock, ColOrderQty, ColUom, Columns };

// The supplier's phone of a row, kept with its tick.
const int PhoneRole = Qt::UserRole + 1;

QString NoSupplier()
{
    return QStringLiteral("-- Select Supplier --");
}

QString cellText(const QTableWidget *table, int row, int column)
{
    const QTableWidgetItem *item = table->item(row, column);
    return item ? item->text() : QString();
}

QList<RequestDocumentLine> documentLines(const QList<RequestLineInput> &lines)
{
    QList<RequestDocumentLine> out;
    for (const RequestLineInput &line : lines)
        out << RequestDocumentLine{line.category, line.itemName, line.qtyText, line.uom};
    return out;
}

} // namespace

inventory_purchaseorder::inventory_purchaseorder(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::inventory_purchaseorder)
{
    ui->setupUi(this);
    applyFormStyleSheet(this, formStyleSheetWithBackground());
    ticks = new TickColumn(ui->inventory_stock, ColTick);
    // Each row's box carries its item's supplier phone, which the request reads.
    ticks->setBoxProperties([this](int row) {
        return QVariantMap{{QStringLiteral("supplier_phone"), keptPhone(row)}};
    });
    setWindowTitle(QStringLiteral("Generate Material Request - Kestrova App"));
    setupFormHeader(ui->groupBox_4, ui->label, ui->label_13, ui->label_14);
    createTable();
    setupTable();
    loadSupplierCombo();
}

inventory_purchaseorder::~inventory_purchaseorder()
{
    delete ui;
}

void inventory_purchaseorder::createTable()
{
    createMaterialRequestTable();
}

void inventory_purchaseorder::setupTable()
{
    QTableWidget *t = ui->inventory_stock;
    t->setColumnCount(Columns);
    t->setHorizontalHeaderLabels({QString(), "Sl No", "Category", "Supplier Name", "Item Name", "Stock Available",
                                  "Order Qty", "UOM"});
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setAlternatingRowColors(true);
    QHeaderView *header = t->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    header->setSectionResizeMode(ColTick, QHeaderView::Fixed);
    t->setColumnWidth(ColTick, 40);
    header->setSectionResizeMode(ColSupplier, QHeaderView::Stretch);
    header->setSectionResizeMode(ColItem, QHeaderView::Stretch);
    t->setColumnWidth(ColOrderQty, 120);
}

void inventory_purchaseorder::loadSupplierCombo()
{
    ui->supplier_combo->clear();
    ui->supplier_combo->addItem(NoSupplier());
    ui->supplier_combo->addItems(stockItemSuppliers());
}

void inventory_purchaseorder::on_supplier_combo_currentTextChanged(const QString &supplier)
{
    loadSupplierItems(supplier);
}

void inventory_purchaseorder::loadSupplierItems(const QString &supplier)
{
    QTableWidget *t = ui->inventory_stock;
    t->setRowCount(0);
    if (supplier.isEmpty() || supplier == NoSupplier())
        return;

    const QList<SupplierItem> items = supplierItems(supplier);
    TableFill fill(t, int(items.size()));
    for (int r = 0; r < items.size(); ++r) {
        const SupplierItem &item = items.at(r);
        fill.add(r, ColTick, TickColumn::newTick())->setData(PhoneRole, item.supplierPhone);
        fill.add(r, ColSlNo, QString::number(r + 1));
        fill.add(r, ColCategory, item.category);
        fill.add(r, ColSupplier, item.supplierName);
        fill.add(r, ColItem, item.itemName);
        QTableWidgetItem *stock = fill.add(r, ColStock, storedDecimalText(item.balance, 2));
        stock->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        if (item.balance <= 0)
            stock->setBackground(QColor(QStringLiteral("#f8d7da")));
        QTableWidgetItem *qty = fill.add(r, ColOrderQty, QStringLiteral("0"));
        qty->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        qty->setBackground(QColor(QStringLiteral("#fff3cd")));
        fill.add(r, ColUom, item.uom);
    }
    fill.finish();
    ticks->refresh();
    on_search_itemEdit_textChanged(ui->search_itemEdit->text());
}

void inventory_purchaseorder::on_search_itemEdit_textChanged(const QString &text)
{
    // Rows whose item name does not hold the text are hidden; a ticked row
    // stays in sight, since it will be saved.
    const QString wanted = text.trimmed();
    QTableWidget *t = ui->inventory_stock;
    for (int r = 0; r < t->rowCount(); ++r) {
        const bool match = wanted.isEmpty() || cellText(t, r, ColItem).contains(wanted, Qt::CaseInsensitive);
        t->setRowHidden(r, !match && !ticks->isTicked(r));
    }
}

void inventory_purchaseorder::on_reset_btn_clicked()
{
    ui->supplier_combo->setCurrentIndex(0);
    ui->inventory_stock->setRowCount(0);
}

void inventory_purchaseorder::on_close_btn_clicked()
{
    close();
}

QList<RequestLineInput> inventory_purchaseorder::tickedLines() const
{
    QList<RequestLineInput> lines;
    const QTableWidget *t = ui->inventory_stock;
    for (int r : ticks->tickedRows())
        lines << RequestLineInput{cellText(t, r, ColCategory), cellText(t, r, ColItem), cellText(t, r, ColOrderQty),
                                  cellText(t, r, ColUom), rowPhone(r)};
    return lines;
}

QString inventory_purchaseorder::keptPhone(int row) const
{
    const QTableWidgetItem *tick = ui->inventory_stock->item(row, ColTick);
    return tick ? tick->data(PhoneRole).toString() : QString();
}

QString inventory_purchaseorder::rowPhone(int row) const
{
    // Only the rows in and around the view carry a box; a row scrolled far
    // away keeps the same phone in its tick item.
    if (const QCheckBox *box = ticks->checkBox(row))
        return box->property("supplier_phone").toString();
    return keptPhone(row);
}

QString inventory_purchaseorder::generatePONumber(QString *error)
{
    QString number;
    nextMaterialRequestNumber(QDate::currentDate(), &number, error);
    return number;
}

QString inventory_purchaseorder::logoDataUri(const QString &side, int width)
{
    return ::logoDataUri(side, width, 120);
}

int inventory_purchaseorder::saveMaterialRequest()
{
    const QList<RequestLineInput> lines = tickedLines();
    const RequestCheck check = checkRequestLines(lines);
    if (check != RequestCheck::Ok) {
        Desktop::warning(this, check == RequestCheck::QtyTooLarge ? figureTooLargeTitle() : QStringLiteral("Error"),
                         requestCheckText(check));
        return -1;
    }
    const RequestSaveOutcome outcome =
        saveMaterialRequestLines(ui->supplier_combo->currentText(), lines, QDate::currentDate(),
                                 [this](QString *error) { return generatePONumber(error); });
    if (outcome.saved < 1) {
        Desktop::warning(this, QStringLiteral("Error"), outcome.error);
        return -1;
    }
    return outcome.saved;
}

void inventory_purchaseorder::on_whatsapp_btn_clicked()
{
    if (saveMaterialRequest() <= 0)
        return;
    const QList<RequestLineInput> lines = tickedLines();
    // The message goes to the first ticked line that has a phone.
    QString phone;
    for (const RequestLineInput &line : lines) {
        if (!line.supplierPhone.isEmpty()) {
            phone = line.supplierPhone;
            break;
        }
    }
    const QString message =
        materialRequestMessage(ui->supplier_combo->currentText(), documentLines(lines), loadCompanyInfo().name);
    if (phone.isEmpty()) {
        Desktop::warning(this, QStringLiteral("WhatsApp"),
                         QStringLiteral("Supplier phone number not found!\nPlease add phone in Stock Entry."));
        return;
    }
    openWhatsAppMessage(WhatsAppLink::ClickToChat, phone, message);
    Desktop::information(this, QStringLiteral("Success"), QStringLiteral("PO saved and WhatsApp opened!"));
}

void inventory_purchaseorder::on_print_btn_clicked()
{
    if (saveMaterialRequest() < 1)
        return;
    printedHtml = purchaseOrderHtml(loadCompanyInfo(), logoCellHtml(logoDataUri(QStringLiteral("left"), 80)),
                                    logoCellHtml(logoDataUri(QStringLiteral("right"), 150)),
                                    ui->supplier_combo->currentText(),
                                    QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")),
                                    documentLines(tickedLines()));
    printHtmlDocument(this, HtmlPrintProfiles::purchaseOrder(),
                      [this](QPrinter *printer) { printDocument(printer); });
    Desktop::information(this, QStringLiteral("Success"), QStringLiteral("Purchase Order saved and printed!"));
}

void inventory_purchaseorder::printDocument(QPrinter *printer)
{
    paintHtmlDocument(printer, printedHtml, HtmlPrintProfiles::purchaseOrder());
}
