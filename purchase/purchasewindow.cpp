#include "purchasewindow.h"
#include "ui_purchasewindow.h"

#include "paymententryform.h"
#include "purchasepaymentstatement.h"
#include "purchasestore.h"

#include "core/transaction.h"
#include "core/typednumber.h"
#include "output/csvexport.h"
#include "output/desktop.h"
#include "widgets/completerpopup.h"
#include "widgets/formconventions.h"
#include "widgets/formstyle.h"
#include "widgets/keptwindow.h"
#include "widgets/tablefill.h"

#include <QCompleter>
#include <QHeaderView>
#include <QStackedWidget>
#include <QStringListModel>

namespace {

// Columns of the bill list.
constexpr int MainColumns = 18;
constexpr int MainBaseColumn = 7;
constexpr int MainTotalColumn = 16;
constexpr int MainHsnColumn = 17;
// Columns of the entry row.
constexpr int EntryBaseColumn = 2;
constexpr int EntryTotalColumn = 11;
constexpr int EntryHsnColumn = 12;

QTableWidgetItem *readOnlyItem(const QString &text)
{
    auto *item = new QTableWidgetItem(text);
    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    return item;
}

QTableWidgetItem *editableItem(QTableWidget *table, int row, int column)
{
    QTableWidgetItem *item = table->item(row, column);
    if (!item) {
        item = new QTableWidgetItem;
        table->setItem(row, column, item);
    }
    return item;
}

QString trimmedCell(const QTableWidget *table, int row, int column)
{
    const QTableWidgetItem *item = table->item(row, column);
    return item ? item->text().trimmed() : QString();
}

// A typed amount to the paisa; empty text and text that is no number count 0.
Money typedAmount(const QString &text)
{
    return Money::fromText(text).value_or(Money());
}

QString headerText(const QTableWidget *table, int column)
{
    const QTableWidgetItem *header = table->horizontalHeaderItem(column);
    return header ? header->text() : QString::number(column);
}

// The nine amounts of a row (base, then the eight taxes) from `first` on,
// each to the paisa, with the bill total after them. False, with the header
// of the first cell that holds no number in `badColumn`, or with the refusal
// of a figure beyond its bound (money.h) in `tooLarge`: a cell's amount, or
// the bill's total. The quantity just before them is free text, but a number
// beyond the quantity bound is refused as well.
bool readAmounts(const QTableWidget *table, int row, int first, PurchaseBill *bill, QString *badColumn,
                 QString *tooLarge)
{
    *tooLarge = typedFigureTooLarge(headerText(table, first - 1), trimmedCell(table, row, first - 1),
                                    FigureKind::Quantity);
    if (!tooLarge->isEmpty())
        return false;
    Money sum;
    for (int i = 0; i <= PurchaseTaxColumns; ++i) {
        const QString text = trimmedCell(table, row, first + i);
        *tooLarge = typedFigureTooLarge(headerText(table, first + i), text, FigureKind::Money);
        if (!tooLarge->isEmpty())
            return false;
        const std::optional<Money> amount = boundedAmount(text);
        if (!amount && !readTypedNumber(text).isEmpty()) {
            *badColumn = headerText(table, first + i);
            return false;
        }
        sum += amount.value_or(Money());
        if (!withinBound(sum) || !withinBound(roundedBillTotal(sum))) {
            *tooLarge = figureTooLargeText(headerText(table, first + PurchaseTaxColumns + 1), FigureKind::Money);
            return false;
        }
        if (i == 0)
            bill->baseAmount = amount.value_or(Money());
        else
            bill->taxes[i - 1] = amount.value_or(Money());
    }
    return true;
}

} // namespace

PurchaseWindow::PurchaseWindow(QWidget *parent)
    : QMainWindow(parent)
    , ui(new Ui::PurchaseWindow)
{
    ui->setupUi(this);
    applyFormStyleSheet(this);
    setupFormHeader(ui->groupBox_4, ui->label_7, ui->label_13, ui->label_14);
    setWindowTitle(QStringLiteral("Purchase Entry - Kestrova App"));
    showMaximized();

    ui->main_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    ui->main_table->setSelectionMode(QAbstractItemView::SingleSelection);
    ui->main_table->setAlternatingRowColors(true);
    ui->main_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // A column is never narrower than its (bold) header text.
    const int widths[MainColumns] = {120, 95, 230, 150, 60, 210, 60, 95, 80, 80, 80, 80, 80, 80, 80, 80, 100, 90};
    QHeaderView *mainHeader = ui->main_table->horizontalHeader();
    for (int c = 0; c < MainColumns; ++c)
        ui->main_table->setColumnWidth(c, qMax(widths[c], mainHeader->sectionSizeHint(c)));
    mainHeader->setStretchLastSection(true);
    // The entry row's headers show in its 12 pt font: the amount columns take
    // the width of their header (or of a longer amount typed), the item
    // description the rest.
    ui->entering_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    ui->entering_table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    ui->entering_table->horizontalHeader()->setStretchLastSection(false);
    ui->entering_table->verticalHeader()->setSectionResizeMode(QHeaderView::Stretch);

    for (QDateEdit *edit : {ui->dateEdit, ui->fromdateEdit, ui->todateEdit}) {
        edit->setCalendarPopup(true);
        edit->setDate(QDate::currentDate());
        edit->setDisplayFormat(QStringLiteral("dd-MM-yyyy"));
    }


    initDatabase();
    buildDashboard();
    refreshDashboard();
    resetMainTable();

    connect(ui->main_table, &QTableWidget::cellChanged, this, &PurchaseWindow::onMainTableCellChanged);

    loadSupplierLists();
    loadBills(QString(), QString(), QString());
    resetEntryRow();

    connect(ui->entering_table, &QTableWidget::cellChanged, this, &PurchaseWindow::onEnteringTableCellChanged);
    connect(ui->companyEdit, &QLineEdit::editingFinished, this, &PurchaseWindow::autoPopulateSupplierDetails);

    setTabOrder(ui->entering_table, ui->save_btn);
}

PurchaseWindow::~PurchaseWindow()
{
    delete m_paymentForm;
    delete ui;
}

void PurchaseWindow::initDatabase()
{
    initPurchaseTables();
}

void PurchaseWindow::on_refresh_dashboard_btn_clicked()
{
    refreshDashboard();
}

void PurchaseWindow::on_actionPurchase_Entry_triggered()
{
    if (auto *stack = findChild<QStackedWidget *>(QStringLiteral("purchaseStack")))
        stack->setCurrentIndex(1);
}

void PurchaseWindow::on_payment_entry_btn_clicked()
{
    if (!m_paymentForm)
        m_paymentForm = new paymententryform(this);
    m_paymentForm->setWindowFlags(Qt::Window);
    fitToScreen(m_paymentForm);
    m_paymentForm->show();
    m_paymentForm->raise();
    m_paymentForm->activateWindow();
    hide();
}

void PurchaseWindow::on_actionPayment_Entry_triggered()
{
    openKeptWindow(m_menuPaymentForm, KeptForm::Rebuilt);
}

void PurchaseWindow::on_actionPayment_Statement_triggered()
{
    openKeptWindow(m_statementWindow, KeptForm::Rebuilt);
}

void PurchaseWindow::on_close_btn_clicked()
{
    if (auto *stack = findChild<QStackedWidget *>(QStringLiteral("purchaseStack"))) {
        stack->setCurrentIndex(0);
        refreshDashboard();
    }
}

// ---- Bill entry -----------------------------------------------------------

QString PurchaseWindow::entryCellText(int column) const
{
    return trimmedCell(ui->entering_table, 0, column);
}

QString PurchaseWindow::mainCellText(int row, int column) const
{
    return trimmedCell(ui->main_table, row, column);
}

void PurchaseWindow::resetEntryRow()
{
    m_fillingEntry = true;
    ui->entering_table->setRowCount(1);
    for (int c = 0; c < ui->entering_table->columnCount(); ++c)
        ui->entering_table->setItem(0, c, c == EntryTotalColumn ? readOnlyItem(QStringLiteral("0.00")) : new QTableWidgetItem);
    m_fillingEntry = false;
}

void PurchaseWindow::onEnteringTableCellChanged(int, int column)
{
    if (m_fillingEntry || column < EntryBaseColumn || column > EntryBaseColumn + PurchaseTaxColumns)
        return;
    m_fillingEntry = true;
    Money sum;
    for (int c = EntryBaseColumn; c <= EntryBaseColumn + PurchaseTaxColumns; ++c)
        sum += typedAmount(entryCellText(c));
    const QString total = roundedBillTotal(sum).text();
    if (QTableWidgetItem *item = ui->entering_table->item(0, EntryTotalColumn))
        item->setText(total);
    else
        ui->entering_table->setItem(0, EntryTotalColumn, readOnlyItem(total));
    m_fillingEntry = false;
}

void PurchaseWindow::autoPopulateSupplierDetails()
{
    const QString company = ui->companyEdit->text().trimmed();
    if (company.isEmpty())
        return;
    const std::optional<SupplierDetails> details = latestSupplierDetails(company);
    if (!details)
        return;
    if (!details->gstNo.trimmed().isEmpty())
        ui->gstEdit->setText(details->gstNo.trimmed());
    if (details->type.trimmed() == QLatin1String("Credit"))
        ui->creditradio_btn->setChecked(true);
    else
        ui->cashradio_btn->setChecked(true);
}

void PurchaseWindow::loadSupplierLists()
{
    const SupplierLists lists = ::loadSupplierLists();
    {
        const QSignalBlocker blocker(ui->companyComboBox);
        ui->companyComboBox->clear();
        ui->companyComboBox->addItem(QStringLiteral("All Companies"));
        ui->companyComboBox->addItems(lists.comboNames);
    }

    delete m_companyCompleter;
    m_companyCompleter = new QCompleter(lists.completerNames, this);
    m_companyCompleter->setCaseSensitivity(Qt::CaseInsensitive);
    m_companyCompleter->setFilterMode(Qt::MatchContains);
    ui->companyEdit->setCompleter(m_companyCompleter);
    passClicksPastPopup(m_companyCompleter);
    connect(m_companyCompleter, QOverload<const QString &>::of(&QCompleter::activated), this,
            &PurchaseWindow::autoPopulateSupplierDetails);

    delete m_gstCompleter;
    m_gstCompleter = new QCompleter(lists.gstNumbers, this);
    m_gstCompleter->setCaseSensitivity(Qt::CaseInsensitive);
    m_gstCompleter->setFilterMode(Qt::MatchStartsWith);
    ui->gstEdit->setCompleter(m_gstCompleter);
    passClicksPastPopup(m_gstCompleter);
}

// Reads the entry into `bill`; shows why and returns false when it cannot be saved.
bool PurchaseWindow::readEntryBill(PurchaseBill *bill)
{
    bill->billNo = ui->billnoEdit->text().trimmed();
    bill->billDate = ui->dateEdit->date().toString(QStringLiteral("yyyy-MM-dd"));
    bill->companyName = ui->companyEdit->text().trimmed();
    bill->gstNo = ui->gstEdit->text().trimmed();
    bill->type = ui->creditradio_btn->isChecked() ? QStringLiteral("Credit") : QStringLiteral("Cash");
    bill->description = entryCellText(0);
    bill->quantity = entryCellText(1);
    bill->hsnCode = entryCellText(EntryHsnColumn);

    if (bill->billNo.isEmpty() || bill->companyName.isEmpty() || bill->description.isEmpty()) {
        Desktop::warning(this, QStringLiteral("Missing Details"),
                         QStringLiteral("Bill No, Company Name, and Item Description are mandatory!"));
        return false;
    }
    QString badColumn;
    QString tooLarge;
    if (!readAmounts(ui->entering_table, 0, EntryBaseColumn, bill, &badColumn, &tooLarge)) {
        if (!tooLarge.isEmpty()) {
            Desktop::warning(this, figureTooLargeTitle(), tooLarge);
            return false;
        }
        Desktop::warning(this, QStringLiteral("Invalid Amount"),
                         QStringLiteral("'%1' is not a valid amount. Please enter a number such as 1250.50.")
                             .arg(badColumn));
        return false;
    }
    bill->billTotal = roundedBillTotal(billAmountSum(*bill));
    return true;
}

void PurchaseWindow::clearEntry()
{
    ui->billnoEdit->clear();
    ui->companyEdit->clear();
    ui->gstEdit->clear();
    ui->dateEdit->setDate(QDate::currentDate());
    ui->cashradio_btn->setChecked(true);
}

void PurchaseWindow::on_save_btn_clicked()
{
    PurchaseBill bill;
    if (!readEntryBill(&bill))
        return;

    if (purchaseBillExists(bill.billNo, bill.billDate).value_or(false)) {
        Desktop::critical(this, QStringLiteral("Duplicate Bill"),
                          QStringLiteral("An entry with Bill No '%1' and Date '%2' already exists in the database!\n"
                                         "Saving cancelled.")
                              .arg(bill.billNo, ui->dateEdit->date().toString(QStringLiteral("dd-MM-yyyy"))));
        return;
    }

    QString error;
    if (!insertPurchaseBill(bill, &error)) {
        Desktop::critical(this, QStringLiteral("Database Error"), error);
        return;
    }

    Desktop::information(this, QStringLiteral("Saved"), QStringLiteral("Bill entry recorded successfully!"));
    resetEntryRow();
    loadBills(QString(), QString(), QString());
    loadSupplierLists();
    clearEntry();
}

// ---- Bill list ------------------------------------------------------------

void PurchaseWindow::resetMainTable()
{
    m_fillingMain = true;
    ui->main_table->setRowCount(0);
    appendBlankMainRow();
    m_fillingMain = false;
}

void PurchaseWindow::appendBlankMainRow()
{
    const int row = ui->main_table->rowCount();
    ui->main_table->insertRow(row);
    for (int c = 0; c < MainColumns; ++c)
        ui->main_table->setItem(row, c, c == MainTotalColumn ? readOnlyItem(QStringLiteral("0.00")) : new QTableWidgetItem);
}

void PurchaseWindow::fillMainTable(const QList<PurchaseBill> &bills)
{
    // Every fill gives the same kinds of cells (bill id on the first, a fresh
    // read-only total), so the rows that stay keep their items: Reset or Show
    // again over thousands of bills builds and deletes no item.
    TableFill fill(ui->main_table, bills.size(), TableFill::Items::Kept);
    m_listed.clear();
    m_listed.reserve(bills.size());
    m_edited.clear();
    for (int r = 0; r < bills.size(); ++r) {
        const PurchaseBill &bill = bills.at(r);
        const QStringList cells = billListCells(bill);
        m_listed.insert(bill.billId, ListedBill{bill.stored, bill.billNo});
        fill.add(r, 0, cells.at(0))->setData(Qt::UserRole, bill.billId);
        fill.add(r, MainTotalColumn, readOnlyItem(cells.at(MainTotalColumn)));
        // An empty cell gets no item (most tax cells are empty): edit mode
        // and the cell handler make one where it is needed.
        for (int c = 1; c < MainColumns; ++c) {
            if (c != MainTotalColumn && !cells.at(c).isEmpty())
                fill.add(r, c, cells.at(c));
        }
    }
    fill.finish();
    // A new list starts at its top, as when its rows are made afresh.
    ui->main_table->scrollToTop();
}

void PurchaseWindow::loadBills(const QString &company, const QString &from, const QString &to)
{
    m_listFilter = BillListFilter{company, from, to, false};
    m_fillingMain = true;
    QList<PurchaseBill> bills;
    QString error;
    if (!loadPurchaseBills(BillListFilter{company, from, to, false}, &bills, &error)) {
        ui->main_table->setRowCount(0);
        m_listed.clear();
        m_edited.clear();
        m_fillingMain = false;
        Desktop::warning(this, QStringLiteral("Query Error"), error);
        return;
    }
    fillMainTable(bills);
    if (bills.isEmpty())
        appendBlankMainRow();
    m_fillingMain = false;
}

void PurchaseWindow::on_show_btn_clicked()
{
    const QString company = ui->companyComboBox->currentText();
    const QDate from = ui->fromdateEdit->date();
    const QDate to = ui->todateEdit->date();
    if (from > to) {
        Desktop::warning(this, QStringLiteral("Date Error"), QStringLiteral("From date cannot be greater than To date!"));
        return;
    }

    QList<PurchaseBill> bills;
    QString error;
    const BillListFilter filter{company, from.toString(QStringLiteral("yyyy-MM-dd")),
                                to.toString(QStringLiteral("yyyy-MM-dd")), true};
    if (!loadPurchaseBills(filter, &bills, &error)) {
        Desktop::warning(this, QStringLiteral("Query Error"), error);
        return;
    }
    m_listFilter = filter;
    m_fillingMain = true;
    fillMainTable(bills);
    m_fillingMain = false;
    if (bills.isEmpty())
        Desktop::information(this, QStringLiteral("No Data"), QStringLiteral("No bills found in selected range!"));
    m_reportFrom = from.toString(QStringLiteral("dd-MM-yyyy"));
    m_reportTo = to.toString(QStringLiteral("dd-MM-yyyy"));
    m_reportCompany = company;
}

void PurchaseWindow::on_company_show_clicked()
{
    const QString company = ui->companyComboBox->currentText();
    if (company.isEmpty() || company == QLatin1String("All Companies")) {
        Desktop::information(this, QStringLiteral("Selection Required"),
                             QStringLiteral("Please select a specific company first!"));
        return;
    }
    loadBills(company, QString(), QString());
}

void PurchaseWindow::on_pushButton_clicked()
{
    ui->companyComboBox->setCurrentIndex(0);
    loadBills(QString(), QString(), QString());
}

void PurchaseWindow::reloadList()
{
    if (!m_listFilter.newestRecordFirst) {
        loadBills(m_listFilter.company, m_listFilter.from, m_listFilter.to);
        return;
    }
    QList<PurchaseBill> bills;
    QString error;
    if (!loadPurchaseBills(m_listFilter, &bills, &error)) {
        Desktop::warning(this, QStringLiteral("Query Error"), error);
        return;
    }
    m_fillingMain = true;
    fillMainTable(bills);
    m_fillingMain = false;
}

void PurchaseWindow::setEditMode(bool on)
{
    m_editMode = on;
    ui->main_table->setEditTriggers(on ? QAbstractItemView::DoubleClicked | QAbstractItemView::AnyKeyPressed
                                       : QAbstractItemView::NoEditTriggers);
    ui->edit_status_label->setText(on ? QStringLiteral("✏ EDIT MODE ACTIVE") : QString());
    ui->edit_status_label->setStyleSheet(on ? QStringLiteral("color: #ff9800; font-weight: bold; font-size: 13px;")
                                            : QString());
}

void PurchaseWindow::on_edit_table_btn_clicked()
{
    // A second press leaves edit mode; changes not yet updated are dropped
    // only when the user says so, and the list then shows the bills as
    // they are now.
    if (m_editMode) {
        if (!m_edited.isEmpty()) {
            if (Desktop::question(this, QStringLiteral("Leave Edit Mode"),
                                  QStringLiteral("Leave edit mode without updating? What you changed in the list is "
                                                 "dropped, and the list shows the bills as they are now."))
                != QMessageBox::Yes)
                return;
            reloadList();
        }
        setEditMode(false);
        return;
    }
    Desktop::information(this, QStringLiteral("Sucess"), QStringLiteral("Edit can be done on any cells"));
    setEditMode(true);

    m_fillingMain = true;
    for (int r = 0; r < ui->main_table->rowCount(); ++r) {
        for (int c = 0; c < MainColumns; ++c) {
            if (c == MainTotalColumn)
                continue;
            QTableWidgetItem *item = editableItem(ui->main_table, r, c);
            item->setFlags(item->flags() | Qt::ItemIsEditable);
        }
    }
    m_fillingMain = false;
}

void PurchaseWindow::onMainTableCellChanged(int row, int column)
{
    if (m_fillingMain)
        return;
    // Only the user's own edits come here: Update Table writes the rows they
    // touched.
    if (const QTableWidgetItem *first = ui->main_table->item(row, 0)) {
        if (const int billId = first->data(Qt::UserRole).toInt(); billId != 0 && m_listed.contains(billId))
            m_edited[billId] |= 1u << column;
    }
    const bool acts = column == MainBaseColumn
                      || (column > MainBaseColumn && column < MainTotalColumn && (column - MainBaseColumn) % 2 == 1);
    if (!acts)
        return;
    m_fillingMain = true;
    QTableWidget *table = ui->main_table;

    if (column != MainBaseColumn) {
        const Money cgst = typedAmount(mainCellText(row, column));
        editableItem(table, row, column + 1)->setText(cgst > Money() ? cgst.text() : QString());
    }

    Money sum;
    for (int c = MainBaseColumn; c < MainTotalColumn; ++c)
        sum += typedAmount(mainCellText(row, c));
    QTableWidgetItem *total = editableItem(table, row, MainTotalColumn);
    total->setText(sum.text());
    total->setFlags(total->flags() & ~Qt::ItemIsEditable);

    if (row == table->rowCount() - 1) {
        const QSignalBlocker blocker(table);
        appendBlankMainRow();
    }
    m_fillingMain = false;
}

void PurchaseWindow::on_update_table_btn_clicked()
{
    QTableWidget *table = ui->main_table;
    struct RowBill
    {
        int row;
        PurchaseBill bill;
        ListedBill listed;
    };
    QList<RowBill> toWrite;
    QStringList refused;

    for (int r = 0; r < table->rowCount(); ++r) {
        const QTableWidgetItem *first = table->item(r, 0);
        const int billId = first ? first->data(Qt::UserRole).toInt() : 0;
        // A row the user did not touch is left as stored, perhaps changed
        // meanwhile by another copy of the program.
        const auto edited = m_edited.constFind(billId);
        if (billId == 0 || edited == m_edited.cend())
            continue;
        const ListedBill listed = m_listed.value(billId);
        PurchaseBill bill;
        bill.billId = billId;
        bill.billNo = mainCellText(r, 0);
        bill.companyName = mainCellText(r, 2);
        bill.gstNo = mainCellText(r, 3);
        bill.type = mainCellText(r, 4);
        bill.description = mainCellText(r, 5);
        bill.quantity = mainCellText(r, 6);
        bill.hsnCode = mainCellText(r, MainHsnColumn);
        const QString name = billRowName(bill.billNo);

        // A stored date that reads as neither form shows as stored: it goes
        // back as it is while its cell is untouched; one typed so is refused.
        const QString typedDate = mainCellText(r, 1);
        std::optional<QString> date = storedBillDate(typedDate);
        if (!date && !(*edited & (1u << 1)))
            date = typedDate;
        if (!date) {
            refused << name + QStringLiteral(": the date '%1' is not a date (dd-MM-yyyy)").arg(shortRowName(typedDate));
            continue;
        }
        bill.billDate = *date;
        QString badColumn;
        QString tooLarge;
        if (!readAmounts(table, r, MainBaseColumn, &bill, &badColumn, &tooLarge)) {
            refused << name + QStringLiteral(": ")
                           + (tooLarge.isEmpty() ? badColumn + QStringLiteral(" is not a valid amount") : tooLarge);
            continue;
        }
        bill.billTotal = billAmountSum(bill);
        toWrite << RowBill{r, bill, listed};
    }

    if (toWrite.isEmpty() && refused.isEmpty()) {
        Desktop::information(this, QStringLiteral("Update"),
                             QStringLiteral("No bill was changed in the list: nothing was updated."));
        setEditMode(false);
        return;
    }

    QString failedBill;
    QString error;
    const bool written = toWrite.isEmpty() || runInTransaction(
                                                  [&](QString *err) {
                                                      for (RowBill &rb : toWrite) {
                                                          if (!updatePurchaseBill(rb.bill, rb.listed,
                                                                                  &rb.listed.stored, err)) {
                                                              failedBill = billRowName(rb.bill.billNo);
                                                              return false;
                                                          }
                                                      }
                                                      return true;
                                                  },
                                                  &error);
    if (!written) {
        Desktop::warning(this, QStringLiteral("Update Error"),
                         QStringLiteral("No bill was updated: %1 could not be written.\n%2").arg(failedBill, error));
        return;
    }

    m_fillingMain = true;
    for (const RowBill &rb : toWrite) {
        if (QTableWidgetItem *total = table->item(rb.row, MainTotalColumn))
            total->setText(rb.bill.billTotal.text());
        // From now on the row is as written, under its new number.
        m_listed.insert(rb.bill.billId, ListedBill{rb.listed.stored, rb.bill.billNo});
        m_edited.remove(rb.bill.billId);
    }
    m_fillingMain = false;

    const QString done = toWrite.isEmpty() ? QStringLiteral("No bill was updated.")
                                           : QStringLiteral("%1 bill(s) updated successfully!").arg(toWrite.size());
    if (!refused.isEmpty()) {
        // Edit mode stays on so that the refused rows can be put right.
        Desktop::warning(this, QStringLiteral("Update"),
                         done + QStringLiteral("\n\nNot updated:\n") + refused.join(QLatin1Char('\n')));
        loadSupplierLists();
        return;
    }
    Desktop::information(this, QStringLiteral("Success"), done);
    setEditMode(false);
    loadSupplierLists();
}

void PurchaseWindow::on_delete_billno_btn_clicked()
{
    const int row = ui->main_table->currentRow();
    if (row < 0) {
        Desktop::warning(this, QStringLiteral("Selection Error"), QStringLiteral("Please select a row to delete!"));
        return;
    }
    const QTableWidgetItem *first = ui->main_table->item(row, 0);
    if (!first) {
        Desktop::warning(this, QStringLiteral("Error"), QStringLiteral("Invalid row selected!"));
        return;
    }
    const int billId = first->data(Qt::UserRole).toInt();
    const QString billNo = first->text();
    if (billId == 0) {
        ui->main_table->removeRow(row);
        return;
    }
    if (Desktop::question(this, QStringLiteral("Confirm Delete"),
                          QStringLiteral("Are you sure you want to delete Bill No: ") + billNo + QStringLiteral("?"))
        != QMessageBox::Yes)
        return;

    QString error;
    if (!deletePurchaseBill(billId, m_listed.value(billId), &error)) {
        Desktop::warning(this, QStringLiteral("Delete Error"), error);
        return;
    }
    m_listed.remove(billId);
    m_edited.remove(billId);
    ui->main_table->removeRow(row);
    Desktop::information(this, QStringLiteral("Success"), QStringLiteral("Bill deleted successfully!"));
    loadSupplierLists();
}

void PurchaseWindow::on_printexcel_btn_clicked()
{
    QStringList headers;
    for (int c = 0; c < ui->main_table->columnCount(); ++c) {
        const QTableWidgetItem *h = ui->main_table->horizontalHeaderItem(c);
        headers << (h ? h->text() : QString());
    }
    const QList<QStringList> rows = tableRows(ui->main_table);
    exportTableCsv(this, purchaseReportProfile(m_reportFrom, m_reportTo, m_reportCompany, headers, rows), rows);
}
