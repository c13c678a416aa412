#include "stockentry.h"
#include "ui_stockentry.h"

#include "core/listformat.h"
#include "core/money.h"
#include "core/typednumber.h"
#include "output/desktop.h"
#include "output/htmlescape.h"
#include "widgets/completerpopup.h"
#include "widgets/formconventions.h"
#include "widgets/formstyle.h"
#include "widgets/tablefill.h"
#include "inventoryschema.h"
#include "stockstore.h"

#include <QCompleter>
#include <QCursor>
#include <QDate>
#include <QDateEdit>
#include <QDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QToolTip>
#include <QVBoxLayout>

namespace {

const QString Select = QStringLiteral("-- Select --");
const QString All = QStringLiteral("-- All --");
const QString ErrorTitle = QStringLiteral("Error");

// A minimum stock whose text is no number counts as 0; a number beyond the
// quantity bound is refused with a warning.
bool minimumStockRefused(QWidget *form, const QString &text)
{
    if (!typedNumberTooLarge(text, FigureKind::Quantity))
        return false;
    Desktop::warning(form, figureTooLargeTitle(), figureTooLargeText(QStringLiteral("Min Stock"), FigureKind::Quantity));
    return true;
}

// Columns of the stock list.
enum Column {
    IdColumn,
    CategoryColumn,
    SupplierColumn,
    PhoneColumn,
    NameColumn,
    OpeningColumn,
    MinimumColumn,
    AdditionColumn,
    ReductionColumn,
    BalanceColumn,
    UomColumn,
    UpdatedColumn,
    ColumnCount
};

QStringList units()
{
    return {QStringLiteral("kgs"),  QStringLiteral("ltrs"),  QStringLiteral("nos"),   QStringLiteral("sets"),
            QStringLiteral("pairs"), QStringLiteral("pcs"),  QStringLiteral("box"),   QStringLiteral("roll"),
            QStringLiteral("bundle"), QStringLiteral("meters")};
}

// After a refusal: how to go on, in the form's own buttons.
QString refusedEditAdvice()
{
    return QStringLiteral("\n\nPress Reset to list the items as they are now, then select the item and press "
                          "Edit again; what you typed stays in the fields until then. EditCancel leaves edit mode.");
}

QString refusedDeleteAdvice()
{
    return QStringLiteral("\n\nPress Reset to list the items as they are now, then select the item again.");
}

void setComboText(QComboBox *combo, const QString &text)
{
    const int index = combo->findText(text);
    if (index >= 0)
        combo->setCurrentIndex(index);
}

} // namespace

inventory_stockentry::inventory_stockentry(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::inventory_stockentry)
{
    ui->setupUi(this);
    applyFormStyleSheet(this);
    editingItemId = -1;
    setWindowTitle(QStringLiteral("Stock Entry - Kestrova App"));
    setupFormHeader(ui->groupBox_4, ui->label, ui->label_13, ui->label_14);

    createTables();

    ui->category_combo->addItem(Select);
    ui->category_combo->addItems(stockCategories());
    ui->search_category_combo->addItem(All);
    ui->search_category_combo->addItems(stockCategories());
    ui->uomEdit->addItem(Select);
    ui->uomEdit->addItems(units());

    ui->add_btn->setDefault(true);
    ui->add_btn->setAutoDefault(true);
    ui->updatenew_btn->setEnabled(false);
    ui->editcancel_btn->setEnabled(false);
    setupStockTable();

    connect(ui->inventory_stock, &QTableWidget::itemDoubleClicked, this, &inventory_stockentry::showCellToolTip);
    ui->update_btn->setEnabled(false);
    connect(ui->inventory_stock, &QTableWidget::itemClicked, this, [this] { ui->update_btn->setEnabled(true); });
    connect(ui->search_itemEdit, &QLineEdit::textChanged, this, &inventory_stockentry::reloadWithFilters);
    connect(ui->search_supnameEdit, &QLineEdit::textChanged, this, &inventory_stockentry::reloadWithFilters);
    connect(ui->search_category_combo, &QComboBox::currentTextChanged, this,
            &inventory_stockentry::reloadWithFilters);
    ui->inventory_stock->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ui->inventory_stock, &QWidget::customContextMenuRequested, this,
            &inventory_stockentry::onStockTableContextMenu);

    loadStockTable(QString(), QString(), QString());
    loadSupplierCompleter();
}

inventory_stockentry::~inventory_stockentry()
{
    delete ui;
}

void inventory_stockentry::createTables()
{
    createStockTables();
}

void inventory_stockentry::setupStockTable()
{
    QTableWidget *t = ui->inventory_stock;
    t->setColumnCount(ColumnCount);
    t->setHorizontalHeaderLabels({QStringLiteral("ID"), QStringLiteral("Category"), QStringLiteral("Supplier\nName"),
                                  QStringLiteral("Phone"), QStringLiteral("Item Name"),
                                  QStringLiteral("Opening\nStock"), QStringLiteral("Minimum\nStock"),
                                  QStringLiteral("Stock\nAddition"), QStringLiteral("Stock\nReduction"),
                                  QStringLiteral("Balance\nStock"), QStringLiteral("UOM"),
                                  QStringLiteral("Last\nUpdated")});
    t->setColumnHidden(IdColumn, true);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setAlternatingRowColors(true);
    QHeaderView *header = t->horizontalHeader();
    header->setDefaultAlignment(Qt::AlignCenter);
    header->setMinimumHeight(48);
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    header->setSectionResizeMode(NameColumn, QHeaderView::Stretch);
    header->setStretchLastSection(false);
    // Columns fit the rows in view and the first 200 of the list (the bold
    // balance cells are measured one by one), so a register of thousands of
    // items opens at once; a longer text further down shows whole in the
    // double-click tooltip.
    header->setResizeContentsPrecision(200);
    t->verticalHeader()->setDefaultSectionSize(40);
}

QString inventory_stockentry::cell(int row, int column) const
{
    const QTableWidgetItem *item = ui->inventory_stock->item(row, column);
    return item ? item->text() : QString();
}

void inventory_stockentry::loadStockTable(const QString &category, const QString &supplier, const QString &item)
{
    QTableWidget *t = ui->inventory_stock;
    t->setRowCount(0);

    QList<StockItemRow> &rows = listedItems;
    QString error;
    if (!loadStockItems({category, supplier, item}, &rows, &error))
        return;

    QFont bold = t->font();
    bold.setBold(true);
    const QBrush marked(StatusColor::Pending);
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;

    TableFill fill(t, rows.size());
    for (int r = 0; r < rows.size(); ++r) {
        const StockItemRow &row = rows.at(r);
        const QStringList cells = stockListCells(row);
        for (int c = 0; c < ColumnCount; ++c) {
            QTableWidgetItem *cellItem = fill.add(r, c, cells.at(c));
            if (c == MinimumColumn) {
                cellItem->setTextAlignment(right);
                if (row.belowMinimum())
                    cellItem->setBackground(marked);
            } else if (c == BalanceColumn) {
                cellItem->setTextAlignment(right);
                cellItem->setFont(bold);
                if (row.outOfStock())
                    cellItem->setBackground(marked);
            }
        }
    }
    fill.finish();
}

void inventory_stockentry::reloadWithFilters()
{
    loadStockTable(ui->search_category_combo->currentText(), ui->search_supnameEdit->text().trimmed(),
                   ui->search_itemEdit->text().trimmed());
}

void inventory_stockentry::loadSupplierCompleter()
{
    QStringList names;
    supplierPhones.clear();
    for (const KnownSupplier &supplier : knownSuppliers()) {
        names << supplier.name;
        supplierPhones.insert(supplier.name, supplier.phone);
    }
    auto *completer = new QCompleter(names, this);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    completer->setFilterMode(Qt::MatchContains);
    connect(completer, qOverload<const QString &>(&QCompleter::activated), this, [this](const QString &name) {
        const auto it = supplierPhones.constFind(name);
        if (it != supplierPhones.constEnd())
            ui->sup_phoneEdit->setText(it.value());
    });
    QCompleter *previous = ui->sup_nameEdit->completer();
    ui->sup_nameEdit->setCompleter(completer);
    passClicksPastPopup(completer);
    delete previous;
}

void inventory_stockentry::on_add_btn_clicked()
{
    StockItemFields fields;
    fields.category = ui->category_combo->currentText();
    fields.supplier = ui->sup_nameEdit->text().trimmed().toUpper();
    fields.name = ui->itemEdit->text().trimmed();
    const QString openingText = ui->open_stockEdit->text().trimmed();
    fields.uom = ui->uomEdit->currentText();
    fields.phone = ui->sup_phoneEdit->text().trimmed();
    fields.minimum = typedNumberOrZero(ui->min_stockEdit->text());

    if (fields.category == Select) {
        Desktop::warning(this, ErrorTitle, QStringLiteral("Please select a category!"));
        return;
    }
    if (fields.name.isEmpty()) {
        Desktop::warning(this, ErrorTitle, QStringLiteral("Please enter item name!"));
        return;
    }
    // Text that is no number counts as 0; a figure beyond the quantity bound
    // ("1e9", "1e309") is refused as too large, and one no REAL column can
    // hold ("nan", "inf") is not taken for one.
    if (const QString tooLarge = typedFigureTooLarge(QStringLiteral("Opening Stock"), openingText,
                                                     FigureKind::Quantity);
        !tooLarge.isEmpty()) {
        Desktop::warning(this, figureTooLargeTitle(), tooLarge);
        return;
    }
    if (openingText.isEmpty() || spellsNonFiniteNumber(openingText)) {
        Desktop::warning(this, ErrorTitle, QStringLiteral("Please enter opening stock!"));
        return;
    }
    if (fields.uom == Select) {
        Desktop::warning(this, ErrorTitle, QStringLiteral("Please select UOM!"));
        return;
    }
    if (minimumStockRefused(this, ui->min_stockEdit->text()))
        return;
    const Decimal opening = Decimal::fromText(openingText).value_or(Decimal());

    const StockWriteOutcome outcome =
        addStockItem(fields, opening, QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")));
    if (outcome.result == StockWrite::Duplicate) {
        Desktop::warning(this, QStringLiteral("Duplicate"),
                         "Item '" + fields.name + "' already exists in " + fields.category +
                             "!\nUse Stock Addition/Reduction to update.");
        return;
    }
    if (outcome.result == StockWrite::Failed) {
        Desktop::warning(this, ErrorTitle, outcome.error);
        return;
    }
    Desktop::information(this, QStringLiteral("Success"), "Item '" + fields.name + "' added successfully!");

    ui->category_combo->setCurrentIndex(0);
    ui->uomEdit->setCurrentIndex(0);
    ui->sup_nameEdit->clear();
    ui->itemEdit->clear();
    ui->open_stockEdit->clear();
    ui->sup_phoneEdit->clear();

    loadSupplierCompleter();
    loadStockTable(QString(), QString(), QString());
}

void inventory_stockentry::on_edit_btn_clicked()
{
    ui->editcancel_btn->setEnabled(true);
    const int row = ui->inventory_stock->currentRow();
    if (row < 0) {
        Desktop::warning(this, ErrorTitle, QStringLiteral("Please select a row to edit!"));
        return;
    }
    editingItemId = cell(row, IdColumn).toInt();
    editingItem = listedItems.value(row);
    setComboText(ui->category_combo, cell(row, CategoryColumn));
    ui->sup_nameEdit->setText(cell(row, SupplierColumn));
    ui->sup_phoneEdit->setText(cell(row, PhoneColumn));
    ui->itemEdit->setText(cell(row, NameColumn));
    ui->min_stockEdit->setText(cell(row, MinimumColumn));
    setComboText(ui->uomEdit, cell(row, UomColumn));

    ui->updatenew_btn->setEnabled(true);
    ui->add_btn->setEnabled(false);
    Desktop::information(this, QStringLiteral("Edit Mode"),
                         QStringLiteral("Edit the fields and click Update to save changes."));
}

void inventory_stockentry::on_updatenew_btn_clicked()
{
    if (editingItemId < 0) {
        Desktop::warning(this, ErrorTitle, QStringLiteral("No item selected for update!"));
        return;
    }
    StockItemFields fields;
    fields.category = ui->category_combo->currentText();
    fields.supplier = ui->sup_nameEdit->text().trimmed().toUpper();
    fields.phone = ui->sup_phoneEdit->text().trimmed();
    fields.name = ui->itemEdit->text().trimmed().toUpper();
    fields.uom = ui->uomEdit->currentText();
    fields.minimum = typedNumberOrZero(ui->min_stockEdit->text());

    if (fields.category == Select) {
        Desktop::warning(this, ErrorTitle, QStringLiteral("Please select a category!"));
        return;
    }
    if (fields.name.isEmpty()) {
        Desktop::warning(this, ErrorTitle, QStringLiteral("Item name cannot be empty!"));
        return;
    }
    if (minimumStockRefused(this, ui->min_stockEdit->text()))
        return;

    const StockWriteOutcome outcome = updateStockItem(editingItem, fields);
    if (outcome.result != StockWrite::Done) {
        // Still in edit mode with what was typed; EditCancel stays at hand.
        Desktop::warning(this, ErrorTitle,
                         outcome.result == StockWrite::Refused ? outcome.error + refusedEditAdvice() : outcome.error);
        return;
    }
    Desktop::information(this, QStringLiteral("Success"), QStringLiteral("Item updated successfully!"));
    editingItemId = -1;
    ui->updatenew_btn->setEnabled(false);
    ui->add_btn->setEnabled(true);
    ui->category_combo->setCurrentIndex(0);
    ui->uomEdit->setCurrentIndex(0);
    ui->sup_nameEdit->clear();
    ui->sup_phoneEdit->clear();
    ui->itemEdit->clear();
    ui->min_stockEdit->clear();
    loadSupplierCompleter();
    reloadWithFilters();
    ui->editcancel_btn->setEnabled(false);
}

void inventory_stockentry::on_editcancel_btn_clicked()
{
    editingItemId = -1;
    ui->updatenew_btn->setEnabled(false);
    ui->add_btn->setEnabled(true);
    ui->category_combo->setCurrentIndex(0);
    ui->sup_nameEdit->clear();
    ui->sup_phoneEdit->clear();
    ui->itemEdit->clear();
    ui->open_stockEdit->clear();
    ui->uomEdit->setCurrentIndex(0);
}

void inventory_stockentry::on_delete_btn_clicked()
{
    const int row = ui->inventory_stock->currentRow();
    if (row < 0) {
        Desktop::warning(this, ErrorTitle, QStringLiteral("Please select a row to delete!"));
        return;
    }
    const QString name = cell(row, NameColumn);
    if (Desktop::question(this, QStringLiteral("Confirm Delete"),
                          "Delete item '" + name + "'?\nThis will also delete all transaction history for this item.",
                          QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;

    const StockWriteOutcome outcome = deleteStockItem(listedItems.value(row));
    if (outcome.result != StockWrite::Done) {
        Desktop::warning(this, ErrorTitle,
                         outcome.result == StockWrite::Refused ? outcome.error + refusedDeleteAdvice() : outcome.error);
        return;
    }
    Desktop::information(this, QStringLiteral("Success"), "Item '" + name + "' deleted successfully!");
    loadSupplierCompleter();
    reloadWithFilters();
}

void inventory_stockentry::on_reset_btn_clicked()
{
    {
        const QSignalBlocker category(ui->search_category_combo);
        const QSignalBlocker supplier(ui->search_supnameEdit);
        const QSignalBlocker item(ui->search_itemEdit);
        ui->search_category_combo->setCurrentText(All);
        ui->search_supnameEdit->clear();
        ui->search_itemEdit->clear();
    }
    loadStockTable(QString(), QString(), QString());
}

void inventory_stockentry::on_pushButton_clicked()
{
    close();
}

void inventory_stockentry::showCellToolTip(QTableWidgetItem *item)
{
    if (item)
        QToolTip::showText(QCursor::pos(), item->text(), ui->inventory_stock);
}

void inventory_stockentry::on_update_btn_clicked()
{
    const int row = ui->inventory_stock->currentRow();
    if (row < 0) {
        Desktop::warning(this, ErrorTitle, QStringLiteral("Please select a row to update!"));
        return;
    }
    const int itemId = cell(row, IdColumn).toInt();
    const QString name = cell(row, NameColumn);
    const QString unit = cell(row, UomColumn);
    const double balance = typedNumberOrZero(cell(row, BalanceColumn));

    QDialog dialog(this);
    dialog.setWindowTitle(QStringLiteral("Update Stock"));
    auto *layout = new QVBoxLayout(&dialog);
    for (const QString &text : {"Item: " + name, "Current Balance: " + storedDecimalText(balance, 2) + " " + unit}) {
        auto *label = new QLabel(text, &dialog);
        label->setTextFormat(Qt::PlainText); // a name is shown as typed, never as markup
        layout->addWidget(label);
    }

    auto *choice = new QHBoxLayout;
    auto *addition = new QRadioButton(QStringLiteral("Addition (+)"), &dialog);
    auto *reduction = new QRadioButton(QStringLiteral("Reduction (-)"), &dialog);
    addition->setChecked(true);
    choice->addWidget(addition);
    choice->addWidget(reduction);
    layout->addLayout(choice);

    layout->addWidget(new QLabel(QStringLiteral("Quantity:"), &dialog));
    auto *quantity = new QLineEdit(&dialog);
    quantity->setObjectName(QStringLiteral("quantityEdit"));
    quantity->setPlaceholderText(QStringLiteral("Enter quantity"));
    layout->addWidget(quantity);

    layout->addWidget(new QLabel(QStringLiteral("Date:"), &dialog));
    auto *date = new QDateEdit(QDate::currentDate(), &dialog);
    date->setObjectName(QStringLiteral("dateEdit"));
    date->setCalendarPopup(true);
    date->setDisplayFormat(QStringLiteral("dd-MM-yyyy"));
    layout->addWidget(date);

    auto *buttons = new QHBoxLayout;
    auto *save = new QPushButton(QStringLiteral("Save"), &dialog);
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), &dialog);
    buttons->addWidget(save);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);

    connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    connect(save, &QPushButton::clicked, &dialog, [&] {
        if (saveStockMovement(&dialog, itemId, addition->isChecked(), quantity->text(),
                              date->date().toString(QStringLiteral("yyyy-MM-dd"))))
            dialog.accept();
    });
    if (dialog.exec() == QDialog::Accepted)
        reloadWithFilters();
}

bool inventory_stockentry::saveStockMovement(QDialog *dialog, int itemId, bool addition,
                                             const QString &quantityText, const QString &date)
{
    if (typedNumberTooLarge(quantityText, FigureKind::Quantity)) {
        Desktop::warning(dialog, figureTooLargeTitle(),
                         figureTooLargeText(QStringLiteral("Quantity"), FigureKind::Quantity));
        return false;
    }
    // Read to all of its digits; text that is no number counts as 0, which
    // the store refuses with the rest of the invalid quantities.
    const Decimal quantity = Decimal::fromText(quantityText).value_or(Decimal());
    const MovementOutcome outcome =
        recordStockMovement(itemId, addition ? Movement::Addition : Movement::Reduction, quantity, date);
    switch (outcome.result) {
    case MovementResult::Recorded:
        // The item in edit mode keeps this movement as its own, unless
        // another window changed it before.
        if (editingItemId == itemId && editingItem.stored == outcome.before)
            editingItem.stored = outcome.after;
        Desktop::information(dialog, QStringLiteral("Success"), QStringLiteral("Stock updated successfully!"));
        return true;
    case MovementResult::ExceedsBalance:
        Desktop::warning(dialog, ErrorTitle, QStringLiteral("Reduction cannot exceed balance stock!"));
        return false;
    case MovementResult::BalanceTooLarge:
        Desktop::warning(dialog, figureTooLargeTitle(),
                         figureWouldPassText(QStringLiteral("Quantity"), QStringLiteral("balance"),
                                             FigureKind::Quantity));
        return false;
    case MovementResult::TotalsTooLarge:
        Desktop::warning(dialog, figureTooLargeTitle(), outcome.error);
        return false;
    case MovementResult::InvalidQuantity:
        Desktop::warning(dialog, ErrorTitle, QStringLiteral("Please enter a valid quantity!"));
        return false;
    case MovementResult::Failed:
        break;
    }
    Desktop::warning(dialog, ErrorTitle, outcome.error);
    return false;
}

void inventory_stockentry::onStockTableContextMenu(const QPoint &pos)
{
    const QTableWidgetItem *under = ui->inventory_stock->itemAt(pos);
    if (!under)
        return;
    const int row = under->row();
    if (!g_loadBackChooser(this, ui->inventory_stock->viewport()->mapToGlobal(pos), QStringLiteral("View History")))
        return;
    showHistory(cell(row, IdColumn).toInt(), cell(row, NameColumn));
}

void inventory_stockentry::showHistory(int itemId, const QString &name)
{
    QList<StockMovementRow> rows;
    QString error;
    const bool found = recentStockMovements(itemId, 10, &rows, &error) && !rows.isEmpty();

    QDialog dialog(this);
    dialog.setWindowTitle(QString::fromUtf8("Transaction History \u2014 ") + name);
    dialog.setMinimumWidth(500);
    auto *layout = new QVBoxLayout(&dialog);

    auto *title = new QLabel("<b>Last 10 Transactions for: " + htmlEscaped(name) + "</b>", &dialog);
    title->setTextFormat(Qt::RichText);
    title->setAlignment(Qt::AlignCenter);
    layout->addWidget(title);

    auto *table = new QTableWidget(&dialog);
    table->setObjectName(QStringLiteral("historyTable"));
    table->setColumnCount(3);
    table->setHorizontalHeaderLabels({QStringLiteral("Date"), QStringLiteral("Type"), QStringLiteral("Quantity")});
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setAlternatingRowColors(true);
    table->verticalHeader()->setVisible(false);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);

    if (!found) {
        table->setRowCount(1);
        table->setItem(0, 0, new QTableWidgetItem(QStringLiteral("No transactions found")));
        table->setSpan(0, 0, 1, 3);
    } else {
        TableFill fill(table, rows.size());
        for (int r = 0; r < rows.size(); ++r) {
            const StockMovementRow &movement = rows.at(r);
            fill.add(r, 0, storedDateText(movement.date));
            QTableWidgetItem *type = fill.add(r, 1, movement.type);
            type->setTextAlignment(Qt::AlignCenter);
            const bool inward = movement.type == StockMovement::Addition || movement.type == StockMovement::Opening;
            type->setForeground(QColor(inward ? QStringLiteral("#27ae60") : QStringLiteral("#e74c3c")));
            fill.add(r, 2, storedDecimalText(movement.quantity, 2))
                ->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        }
    }
    // Tall enough for the ten rows without scrolling.
    int height = table->horizontalHeader()->sizeHint().height() + 2 * table->frameWidth();
    for (int r = 0; r < table->rowCount(); ++r)
        height += table->rowHeight(r);
    table->setMinimumHeight(height);
    layout->addWidget(table);

    auto *close = new QPushButton(QStringLiteral("Close"), &dialog);
    connect(close, &QPushButton::clicked, &dialog, &QDialog::accept);
    layout->addWidget(close);
    dialog.exec();
}
