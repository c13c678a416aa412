#include "salarywindow.h"
#include "ui_salarywindow.h"

#include "salarystore.h"

#include "core/transaction.h"
#include "core/typednumber.h"
#include "output/csvexport.h"
#include "output/desktop.h"
#include "output/htmlescape.h"
#include "output/logos.h"
#include "output/pagerenderer.h"
#include "widgets/completerpopup.h"
#include "widgets/formconventions.h"
#include "widgets/formstyle.h"
#include "widgets/tablefill.h"
#include "widgets/tickcolumn.h"

#include <QApplication>
#include <QCompleter>
#include <QDate>
#include <QDebug>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include <memory>

namespace {

// The input row's columns.
enum InputColumn {
    InName = 0,
    InDate = 1,
    InFirstFigure = 2, // Day Shift .. Incentive: 2 to 9
    InGross = 10,
    InWeekAdvance = 11, // deductions: 11 to 13
    InTotal = 14,
    InRemarks = 15,
    InAddButton = 16,
};

// The list's columns.
enum ListColumn {
    ListCheck = 0,
    ListName = 1,
    ListDate = 2,
    ListGross = 11,
    ListTotal = 15,
    ListRemarks = 16,
};

const QString DayFormat = QStringLiteral("dd-MM-yyyy");
const QColor GrossBackground(QStringLiteral("#e8f5e9"));
const QColor TotalBackground(QStringLiteral("#e3f2fd"));

// The column headers of both tables in a size that shows them whole within
// the columns' fixed widths.
const QString CompactHeader = QStringLiteral("QHeaderView::section { padding: 4px 1px; font-size: 8pt; }");

// The columns whose change recalculates gross and total.
bool isInputFigure(int col)
{
    return (col >= 2 && col <= 9) || (col >= 11 && col <= 13);
}

// The list columns of the eleven figures, in the order of SalaryFigures.
const int ListFigureColumns[11] = {3, 4, 5, 6, 7, 8, 9, 10, 12, 13, 14};

// The figure a list column shows (0 to 10), or -1.
int listFigureField(int col)
{
    return col >= 3 && col <= 10 ? col - 3 : col >= 12 && col <= 14 ? col - 4 : -1;
}

// How the gross and total cells look: bold on their colour. Made once per
// fill, so the cells of a long list share one font and one brush each.
struct ComputedLook
{
    QFont bold = [] {
        QFont font;
        font.setBold(true);
        return font;
    }();
    QBrush gross{GrossBackground};
    QBrush total{TotalBackground};
};

QTableWidgetItem *computedItem(const QString &text, const QFont &font, const QBrush &background)
{
    auto *item = new QTableWidgetItem(text);
    item->setFont(font);
    item->setBackground(background);
    return item;
}

// An exact gross or total, rounded only in its two-decimal text.
QTableWidgetItem *computedItem(const Decimal &value, const QColor &background)
{
    const ComputedLook look;
    return computedItem(value.toMoney().text(), look.bold, QBrush(background));
}

QTableWidgetItem *readOnly(QTableWidgetItem *item)
{
    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    return item;
}

QString today()
{
    return QDate::currentDate().toString(DayFormat);
}

// The remark's editor stays within its cell and scrolls a long text; the
// default one widens as the text grows and covers "Add" beside it.
class InCellEditorDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &) const override
    {
        auto *editor = new QLineEdit(parent);
        editor->setFrame(editor->style()->styleHint(QStyle::SH_ItemView_DrawDelegateFrame, nullptr, editor));
        return editor;
    }
};

} // namespace

SalaryWindow::SalaryWindow(QWidget *parent)
    : QMainWindow(parent)
    , ui(new Ui::SalaryWindow)
{
    ui->setupUi(this);
    applyFormStyleSheet(this);
    setWindowTitle(QStringLiteral("Salary Slip - Kestrova App"));
    setupFormHeader(ui->groupBox_4, ui->label_17, ui->label_18, ui->label_19);

    // The entry row.
    QTableWidget *input = ui->input_table;
    const QStringList headers{"Name",      "Date",       "Day Shift", "OT",        "Night",     "Salary/Day",
                              "Tea Cash",  "Night Cash", "Sunday Cash", "Incentive", "Gross Total", "Week Adv",
                              "Extra Adv", "Late Fine",  "Total Sal", "Remarks",   ""};
    const int widths[] = {120, 90, 70, 50, 60, 80, 75, 80, 85, 75, 90, 80, 80, 75, 80, 100, 80};
    input->setColumnCount(headers.size());
    input->setHorizontalHeaderLabels(headers);
    input->setRowCount(1);
    input->verticalHeader()->hide();
    input->horizontalHeader()->setStyleSheet(CompactHeader);
    for (int c = 0; c < headers.size(); ++c)
        input->setColumnWidth(c, widths[c]);
    input->installEventFilter(this);
    input->setItemDelegateForColumn(InRemarks, new InCellEditorDelegate(input));
    // The row shows whole: the table is as high as its header and row, plus
    // its horizontal scroll bar while the columns are wider than the table.
    const int rowHeight = input->horizontalHeader()->sizeHint().height()
                          + input->verticalHeader()->defaultSectionSize() + 2 * input->frameWidth() + 2;
    input->setFixedHeight(rowHeight);
    QScrollBar *across = input->horizontalScrollBar();
    connect(across, &QScrollBar::rangeChanged, input, [input, across, rowHeight](int min, int max) {
        input->setFixedHeight(rowHeight + (max > min ? across->sizeHint().height() : 0));
    });

    auto *addInRow = new QPushButton(QStringLiteral("Add"));
    addInRow->setObjectName(QStringLiteral("addBtnInTable"));
    // Added after the form's fonts were kept: it shows the row's own type.
    addInRow->setFont(input->font());
    addInRow->setStyleSheet(QStringLiteral("QPushButton { background-color: #0284c7; color: white; "
                                           "font-weight: bold; border-radius: 4px; padding: 4px; }"));
    connect(addInRow, &QPushButton::clicked, this, &SalaryWindow::on_add_btn_clicked);
    input->setCellWidget(0, InAddButton, addInRow);

    auto *gross = readOnly(new QTableWidgetItem(QStringLiteral("0.00")));
    gross->setBackground(GrossBackground);
    input->setItem(0, InGross, gross);
    auto *total = readOnly(new QTableWidgetItem(QStringLiteral("0.00")));
    total->setBackground(TotalBackground);
    input->setItem(0, InTotal, total);
    input->setItem(0, InDate, new QTableWidgetItem(today()));
    connect(input, &QTableWidget::cellChanged, this, &SalaryWindow::onInputTableCellChanged);

    // The list.
    QTableWidget *list = ui->emp_salary_table;
    list->verticalHeader()->hide();
    list->horizontalHeader()->setStyleSheet(CompactHeader);
    list->horizontalHeader()->setStretchLastSection(false);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    const QList<QPair<int, int>> listWidths{{0, 65}, {2, 90},  {3, 75},  {4, 75},  {5, 85},  {6, 80},
                                            {7, 70}, {8, 75},  {9, 85},  {10, 75}, {11, 100}};
    for (const auto &[column, width] : listWidths)
        list->setColumnWidth(column, width);
    list->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    list->horizontalHeader()->setSectionResizeMode(ListName, QHeaderView::Stretch);
    list->viewport()->installEventFilter(this);
    connect(list->horizontalHeader(), &QHeaderView::sectionResized, this, [this](int column) {
        if (column != ListName)
            fitNameColumn();
    });

    ui->add_btn->hide();
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ui->update_btn->setEnabled(false);
    ui->editCancel_btn->setEnabled(false);
    ui->edit_btn->setEnabled(true);
    connect(list, &QTableWidget::cellChanged, this, &SalaryWindow::onSalaryTableCellChanged);
    ticks = new TickColumn(list, ListCheck);

    createSalaryTable();

    const QStringList months{"January", "February", "March",     "April",   "May",      "June",
                             "July",    "August",   "September", "October", "November", "December"};
    for (int m = 0; m < months.size(); ++m)
        ui->month_combo->addItem(months.at(m), m + 1);
    const QDate now = QDate::currentDate();
    ui->month_combo->setCurrentIndex(now.month() - 1);
    for (int y = now.year() - 4; y <= now.year() + 1; ++y)
        ui->year_combo->addItem(QString::number(y), y);
    ui->year_combo->setCurrentIndex(4);

    loadAllSalaries();
    setupNameCompleter(); // over the names of the entries just listed
}

SalaryWindow::~SalaryWindow()
{
    delete ui;
}

// ---- The entry row --------------------------------------------------------

void SalaryWindow::setupNameCompleter()
{
    auto *completer = new QCompleter(salaryEmployeeNames(listedRecords), this);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    completer->setFilterMode(Qt::MatchContains);
    nameEdit = new QLineEdit;
    nameEdit->setObjectName(QStringLiteral("nameEdit"));
    nameEdit->setFrame(false);
    nameEdit->setFont(ui->input_table->font()); // as the other cells of the row
    nameEdit->setCompleter(completer);
    passClicksPastPopup(completer);
    ui->input_table->setCellWidget(0, InName, nameEdit);
}

Decimal SalaryWindow::inputCellValue(int col) const
{
    return Decimal::fromText(inputCellText(col)).value_or(Decimal());
}

QString SalaryWindow::inputCellText(int col) const
{
    const QTableWidgetItem *item = ui->input_table->item(0, col);
    return item ? item->text().trimmed() : QString();
}

void SalaryWindow::recalculateInputRow()
{
    QStringList texts;
    for (int c : {2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13})
        texts << inputCellText(c);
    const SalaryFigures figures = SalaryFigures::fromTexts(texts);
    ui->input_table->setItem(0, InGross, readOnly(computedItem(grossSalary(figures), GrossBackground)));
    ui->input_table->setItem(0, InTotal, readOnly(computedItem(netSalary(figures), TotalBackground)));
}

void SalaryWindow::onInputTableCellChanged(int, int col)
{
    if (isInputFigure(col))
        recalculateInputRow();
}

bool SalaryWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ui->input_table && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        const int col = ui->input_table->currentColumn();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && (col == InRemarks || col == InAddButton)
            && keyOnInputTableItself()) {
            on_add_btn_clicked();
            return true;
        }
    }
    if (watched == ui->emp_salary_table->viewport() && event->type() == QEvent::Resize)
        fitNameColumn();
    return QMainWindow::eventFilter(watched, event);
}

bool SalaryWindow::keyOnInputTableItself() const
{
    // A key that an open cell editor or the name field did not use reaches
    // the table too: Return there finishes the typing, it does not add. The
    // row's own Add button leaves Return to the table, which adds.
    if (openInputEditor())
        return false;
    const QTableWidget *input = ui->input_table;
    const QWidget *focus = QApplication::focusWidget();
    return !focus || focus == input || focus == input->cellWidget(0, InAddButton) || !input->isAncestorOf(focus);
}

QWidget *SalaryWindow::openInputEditor() const
{
    const QModelIndex index = ui->input_table->currentIndex();
    if (!index.isValid() || index.column() == InName || index.column() == InAddButton)
        return nullptr; // the name field and the button sit in their cells for good
    return ui->input_table->indexWidget(index);
}

void SalaryWindow::commitInputEditor()
{
    QWidget *editor = openInputEditor();
    if (!editor)
        return;
    // The view's own commit and close, as when the editor loses the focus.
    QTableWidget *input = ui->input_table;
    QMetaObject::invokeMethod(input, "commitData", Q_ARG(QWidget *, editor));
    QMetaObject::invokeMethod(input, "closeEditor", Q_ARG(QWidget *, editor),
                              Q_ARG(QAbstractItemDelegate::EndEditHint, QAbstractItemDelegate::NoHint));
}

void SalaryWindow::on_add_btn_clicked()
{
    commitInputEditor(); // what is typed in an open cell is part of the entry
    SalaryEntry entry;
    entry.name = nameEdit ? nameEdit->text().trimmed() : QString();
    if (entry.name.isEmpty()) {
        Desktop::warning(this, QStringLiteral("Error"), QStringLiteral("Please enter Employee Name!"));
        return;
    }
    QDate date = QDate::fromString(inputCellText(InDate), DayFormat);
    if (!date.isValid())
        date = QDate::currentDate();
    entry.date = date.toString(QStringLiteral("yyyy-MM-dd"));
    QStringList texts;
    for (int c : {2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13})
        texts << inputCellText(c);
    entry.figures = SalaryFigures::fromTexts(texts);
    if (const QString refusal = salaryFiguresRefusal(entry.figures); !refusal.isEmpty()) {
        Desktop::warning(this, figureTooLargeTitle(), refusal);
        return;
    }
    entry.gross = inputCellValue(InGross).toMoney(); // as shown
    entry.total = inputCellValue(InTotal).toMoney();
    entry.remarks = inputCellText(InRemarks);

    QString error;
    if (!addSalary(entry, &error)) {
        Desktop::warning(this, QStringLiteral("Error"), error);
        return;
    }
    Desktop::information(this, QStringLiteral("Success"),
                         QStringLiteral("Salary entry added for ") + entry.name + QStringLiteral("!"));
    clearInputRow();
    loadAllSalaries();
}

void SalaryWindow::clearInputRow()
{
    nameEdit->clear();
    ui->input_table->setItem(0, InDate, new QTableWidgetItem(today()));
    for (int c : {2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13, 15})
        ui->input_table->setItem(0, c, new QTableWidgetItem);
    recalculateInputRow();
    ui->input_table->setCurrentCell(0, InName);
    nameEdit->setFocus();
}

void SalaryWindow::on_close_btn_clicked()
{
    close();
}

// ---- The list ------------------------------------------------------------

void SalaryWindow::showRecords(const QList<SalaryRecord> &records)
{
    // A reload replaces the rows the edit snapshot describes: edit mode ends
    // first, so no row is ever restored from another record's texts.
    if (editMode)
        setViewMode();
    reloadGuard = true;
    QTableWidget *list = ui->emp_salary_table;
    const ComputedLook look;
    listedRecords = records;
    typedFigures.clear();
    {
        // Every fill gives every cell with the same roles, so the rows that
        // stay keep their items and take the new texts in place (Reset or
        // Show again builds and deletes none); the boxes go first. The rows
        // made anew share the data of their repeated cells.
        ticks->dropBoxes();
        TableFill fill(list, records.size(), TableFill::Items::Kept);
        RepeatedCells<QString> dates, remarks; // by the stored text
        RepeatedCells<std::pair<int, qint64>> figures; // by column and paise
        const std::unique_ptr<QTableWidgetItem> tick(TickColumn::newTick());
        for (int r = 0; r < records.size(); ++r) {
            const SalaryEntry &e = records.at(r).entry;
            const bool kept = list->item(r, ListDate); // a row that stays
            const auto put = [&](int c, const QTableWidgetItem &first) {
                if (!kept) {
                    fill.add(r, c, first.clone());
                    return;
                }
                QTableWidgetItem *item = fill.add(r, c, first.text());
                if (c == ListGross || c == ListTotal) {
                    item->setFont(look.bold);
                    item->setBackground(c == ListGross ? look.gross : look.total);
                }
            };
            const auto figure = [&](int c, const Money &m, const QBrush *background = nullptr) {
                put(c, figures.first({c, m.paise()}, [&] {
                    return background ? computedItem(m.text(), look.bold, *background) : new QTableWidgetItem(m.text());
                }));
            };
            fill.add(r, ListCheck, tick->clone());
            fill.add(r, ListName, e.name)->setData(Qt::UserRole, records.at(r).slno);
            put(ListDate, dates.first(e.date, [&] { return new QTableWidgetItem(salaryDateText(e.date)); }));
            for (int field = 0; field < 11; ++field)
                figure(ListFigureColumns[field], e.figures[field].toMoney());
            figure(ListGross, e.gross, &look.gross);
            figure(ListTotal, e.total, &look.total);
            put(ListRemarks, remarks.first(e.remarks, [&] { return new QTableWidgetItem(e.remarks); }));
        }
    }
    // A new list starts at its top, as when its rows are made afresh.
    list->scrollToTop();
    ticks->refresh();
    reloadGuard = false;
    // The width the names and the header need, then the room the list gives.
    list->horizontalHeader()->setSectionResizeMode(ListName, QHeaderView::Interactive);
    list->resizeColumnToContents(ListName);
    nameColumnWidth = list->horizontalHeader()->sectionSize(ListName);
    fitNameColumn();
}

void SalaryWindow::fitNameColumn()
{
    // "Employee Name" takes the room the other columns leave, but never less
    // than its names need; then the list scrolls sideways.
    QTableWidget *list = ui->emp_salary_table;
    QHeaderView *header = list->horizontalHeader();
    int others = 0;
    for (int c = 0; c < list->columnCount(); ++c) {
        if (c != ListName && !header->isSectionHidden(c))
            others += header->sectionSize(c);
    }
    const bool stretch = list->viewport()->width() - others >= nameColumnWidth;
    if (stretch == (header->sectionResizeMode(ListName) == QHeaderView::Stretch))
        return;
    header->setSectionResizeMode(ListName, stretch ? QHeaderView::Stretch : QHeaderView::Interactive);
    if (!stretch)
        header->resizeSection(ListName, nameColumnWidth);
}

void SalaryWindow::loadAllSalaries()
{
    QList<SalaryRecord> records;
    allSalaries(&records); // a failing query lists nothing
    showRecords(records);
}

void SalaryWindow::on_show_btn_clicked()
{
    const int month = ui->month_combo->currentData().toInt();
    const int year = ui->year_combo->currentData().toInt();
    QList<SalaryRecord> records;
    QString error;
    const bool ok = salariesOfMonth(year, month, &records, &error);
    showRecords(records);
    if (!ok) {
        Desktop::warning(this, QStringLiteral("Query Error"), error);
        return;
    }
    if (records.isEmpty()) {
        Desktop::information(this, QStringLiteral("No Data"),
                             QStringLiteral("No salary data found for ") + ui->month_combo->currentText()
                                 + QLatin1Char(' ') + QString::number(year));
    }
}

void SalaryWindow::on_reset_btn_clicked()
{
    ui->month_combo->setCurrentIndex(QDate::currentDate().month() - 1);
    ui->year_combo->setCurrentIndex(4);
    loadAllSalaries();
}

Decimal SalaryWindow::salaryCellValue(int row, int col) const
{
    const QString text = salaryCellText(row, col);
    const int field = listFigureField(col);
    if (field < 0)
        return Decimal::fromText(text).value_or(Decimal());
    const Decimal &stored = listedRecords.value(row).entry.figures[field];
    const auto typed = typedFigures.constFind(row);
    return salaryListFigure(text, typed == typedFigures.cend() ? stored : (*typed)[field], stored, field);
}

SalaryFigures SalaryWindow::rowFigures(int row) const
{
    SalaryFigures figures;
    for (int field = 0; field < 11; ++field)
        figures[field] = salaryCellValue(row, ListFigureColumns[field]);
    return figures;
}

QString SalaryWindow::salaryCellText(int row, int col) const
{
    const QTableWidgetItem *item = ui->emp_salary_table->item(row, col);
    return item ? item->text().trimmed() : QString();
}

QStringList SalaryWindow::listRowTexts(int row) const
{
    QStringList texts;
    for (int c = ListName; c <= ListRemarks; ++c)
        texts << salaryCellText(row, c);
    return texts;
}

QStringList SalaryWindow::statementRowTexts(int row) const
{
    QStringList texts = listRowTexts(row);
    for (const int c : {ListName, ListRemarks}) {
        const QTableWidgetItem *item = ui->emp_salary_table->item(row, c);
        texts[c - ListName] = item ? item->text() : QString();
    }
    return texts;
}

void SalaryWindow::on_edit_btn_clicked()
{
    QTableWidget *list = ui->emp_salary_table;
    list->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    ui->edit_status_label->setText(QStringLiteral("\u270F EDIT MODE ACTIVE"));
    ui->edit_status_label->setStyleSheet(QStringLiteral("color: #ff9800; font-weight: bold; font-size: 13px;"));
    ui->edit_btn->setEnabled(false);
    ui->update_btn->setEnabled(true);
    ui->editCancel_btn->setEnabled(true);
    editMode = true;

    editSnapshot.clear();
    editTypedFigures = typedFigures;
    for (int r = 0; r < list->rowCount(); ++r) {
        QMap<int, QString> &row = editSnapshot[r];
        for (int c = ListName; c <= ListRemarks; ++c) {
            const QTableWidgetItem *item = list->item(r, c);
            row.insert(c, item ? item->text() : QString());
        }
    }
    Desktop::information(this, QStringLiteral("Edit Mode"),
                         QStringLiteral("Table is now editable!\nDouble-click any cell to edit.\n"
                                        "Click Update to save or Edit Cancel to discard changes."));
}

void SalaryWindow::onSalaryTableCellChanged(int row, int col)
{
    const int field = listFigureField(col);
    if (reloadGuard || (field < 0 && col != ListGross && col != ListTotal))
        return;
    QTableWidget *list = ui->emp_salary_table;
    reloadGuard = true;
    // A typed figure shows with two decimals, as every figure of the list;
    // the cell keeps standing for the exact figure typed. A text that is no
    // number, or a number beyond its bound, stays as typed.
    QTableWidgetItem *item = list->item(row, col);
    const Decimal value = salaryCellValue(row, col);
    const FigureKind kind = field >= 0 && field < 3 ? FigureKind::Quantity : FigureKind::Money;
    if (item && Decimal::fromText(item->text()) && withinBound(value, kind)) {
        if (field >= 0) {
            auto typed = typedFigures.find(row);
            if (typed == typedFigures.end())
                typed = typedFigures.insert(row, listedRecords.value(row).entry.figures);
            (*typed)[field] = value;
        }
        item->setText(value.toMoney().text());
    }
    if (field >= 0) {
        const SalaryFigures figures = rowFigures(row);
        list->setItem(row, ListGross, computedItem(grossSalary(figures), GrossBackground));
        list->setItem(row, ListTotal, computedItem(netSalary(figures), TotalBackground));
    }
    reloadGuard = false;
}

void SalaryWindow::on_editCancel_btn_clicked()
{
    if (Desktop::question(this, QStringLiteral("Cancel Edit"), QStringLiteral("Discard all changes?"),
                          QMessageBox::Yes | QMessageBox::No)
        != QMessageBox::Yes)
        return;
    QTableWidget *list = ui->emp_salary_table;
    reloadGuard = true;
    for (auto row = editSnapshot.cbegin(); row != editSnapshot.cend(); ++row) {
        if (row.key() >= list->rowCount())
            continue;
        for (auto cell = row->cbegin(); cell != row->cend(); ++cell) {
            if (QTableWidgetItem *item = list->item(row.key(), cell.key()))
                item->setText(cell.value()); // keeps the record id and the look
            else if (!cell.value().isEmpty())
                list->setItem(row.key(), cell.key(), new QTableWidgetItem(cell.value()));
        }
    }
    reloadGuard = false;
    typedFigures = editTypedFigures;
    setViewMode();
}

void SalaryWindow::on_update_btn_clicked()
{
    QTableWidget *list = ui->emp_salary_table;
    int saved = 0;
    // The listed rows as they will be stored; kept once the whole list is.
    QList<SalaryRecord> stored;
    QString error;
    const bool committed = runInTransaction(
        [&](QString *failure) {
            saved = 0;
            stored = listedRecords;
            for (int r = 0; r < list->rowCount(); ++r) {
                const QTableWidgetItem *nameItem = list->item(r, ListName);
                const int id = nameItem ? nameItem->data(Qt::UserRole).toInt() : 0;
                if (id <= 0 || r >= stored.size() || stored.at(r).slno != id)
                    continue;
                // Only the rows the user changed are checked, written and
                // counted, so what another copy stored meanwhile in the
                // others stays.
                SalaryRecord &listed = stored[r];
                const QStringList texts = listRowTexts(r);
                const SalaryFigures figures = rowFigures(r);
                if (!salaryListRowEdited(texts, figures, listed))
                    continue;
                if (*failure = salaryListRowRefusal(texts, figures); !failure->isEmpty())
                    return false; // nothing is written
                if (!updateListedSalary(&listed, salaryEntryOfListRow(texts, figures), failure)) {
                    qDebug() << "Update failed row" << r << *failure;
                    return false;
                }
                ++saved;
            }
            return true;
        },
        &error);
    if (!committed) {
        // Nothing was written; the changes stay in the list to be corrected.
        Desktop::warning(this, QStringLiteral("Update Error"), error);
        return;
    }
    listedRecords = stored; // the list is not read again
    typedFigures.clear();   // what the cells stand for is now stored
    setViewMode();
    Desktop::information(this, QStringLiteral("Success"),
                         QString::number(saved) + QStringLiteral(" record(s) updated successfully!"));
}

void SalaryWindow::setViewMode()
{
    ui->emp_salary_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ui->edit_status_label->setText(QString());
    ui->edit_status_label->setStyleSheet(QString());
    ui->edit_btn->setEnabled(true);
    ui->update_btn->setEnabled(false);
    ui->editCancel_btn->setEnabled(false);
    editSnapshot.clear();
    editTypedFigures.clear();
    editMode = false;
}

// ---- Outputs ---------------------------------------------------------------

void SalaryWindow::on_print_state_btn_clicked()
{
    // A figure the statement cannot add up is refused by the export, naming
    // its row and field, before a file is asked for.
    QList<QStringList> rows;
    for (int r = 0; r < ui->emp_salary_table->rowCount(); ++r)
        rows << statementRowTexts(r);
    const QString month = ui->month_combo->currentText();
    const int year = ui->year_combo->currentData().toInt();
    exportTableCsv(this, salaryStatementProfile(month, year, rows), salaryStatementRows(rows));
}

QString SalaryWindow::htmlCellText(const int &row, int column) const
{
    const QTableWidgetItem *item = ui->emp_salary_table->item(row, column);
    return item ? htmlEscaped(item->text().trimmed()) : QStringLiteral("0.00");
}

QString SalaryWindow::logoDataUri(const QString &side) const
{
    return ::logoDataUri(side, 250, 150);
}

void SalaryWindow::on_print_pdf_btn_clicked()
{
    QTableWidget *list = ui->emp_salary_table;
    // Only the first ticked employee's slip is printed.
    const int row = ticks->tickedRows().value(0, -1);
    if (row < 0) {
        Desktop::warning(this, QStringLiteral("Selection Error"),
                         QStringLiteral("Please check at least one employee checkbox to print their salary slip."));
        return;
    }

    SalarySlipValues values;
    values.name = htmlCellText(row, ListName);
    values.date = htmlCellText(row, ListDate);
    for (int c = 3; c <= 15; ++c)
        values.figures << htmlCellText(row, c);
    const QTableWidgetItem *remarks = list->item(row, ListRemarks);
    values.remarks = remarks ? htmlEscaped(remarks->text()) : QStringLiteral("-");

    // Read and composed off the window's thread; the logo boxes are the
    // window's, and reading them touches no widget.
    renderComposedPages(this, RenderProfiles::salarySlip(salaryCellText(row, ListName)), [this, values] {
        ComposedDocument document;
        document.pagesHtml = QStringList{salarySlipHtml(loadCompanyInfo(), values,
                                                        logoCellHtml(logoDataUri(QStringLiteral("left"))),
                                                        logoCellHtml(logoDataUri(QStringLiteral("right"))))};
        return document;
    });
}
