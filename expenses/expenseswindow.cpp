#include "expenseswindow.h"
#include "ui_expenseswindow.h"

#include "expensestore.h"

#include "output/csvexport.h"
#include "output/desktop.h"
#include "output/htmlprint.h"
#include "widgets/completerpopup.h"
#include "widgets/formconventions.h"
#include "widgets/formstyle.h"
#include "widgets/tablefill.h"

#include <QCompleter>
#include <QFontMetrics>
#include <QStyle>
#include <QHeaderView>
#include <QStringListModel>

namespace {

const QString DateFormat = QStringLiteral("yyyy-MM-dd");

void setupCompleter(QCompleter *completer)
{
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    completer->setFilterMode(Qt::MatchContains);
}

// The texts of one column that may be its widest: those of the greatest
// length, a few of them (the column's numbers, dates and amounts are digits
// of one width). Measuring these few sizes a list of any length at once,
// however far down its widest amount lies.
class WidestText
{
public:
    void offer(const QString &text)
    {
        if (text.size() > m_length) {
            m_length = text.size();
            m_candidates = QStringList{text};
        } else if (text.size() == m_length && m_candidates.size() < 20 && !m_candidates.contains(text)) {
            m_candidates << text;
        }
    }
    int width(const QFontMetrics &metrics) const
    {
        int widest = 0;
        for (const QString &text : m_candidates)
            widest = qMax(widest, metrics.horizontalAdvance(text));
        return widest;
    }

private:
    int m_length = -1;
    QStringList m_candidates;
};

} // namespace

ExpensesWindow::ExpensesWindow(QWidget *parent)
    : QMainWindow(parent)
    , ui(new Ui::ExpensesWindow)
{
    ui->setupUi(this);
    applyFormStyleSheet(this);
    setWindowTitle(QStringLiteral("Expenses Entry - Kestrova App"));
    setupFormHeader(ui->groupBox_4, ui->label_17, ui->label_18, ui->label_19);
    showMaximized();

    QTableWidget *list = ui->tableWidget;
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setAlternatingRowColors(true);
    // Number, date and amount take the width of their widest text (see
    // showExpenses); heading and details share the rest.
    list->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    list->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    list->horizontalHeader()->setSectionResizeMode(3, QHeaderView::Stretch);
    // Edits in the list would never reach the database.
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);

    for (QPushButton *button : {ui->add_btn, ui->edit_btn, ui->update_btn}) {
        button->setDefault(true);
        button->setAutoDefault(true);
    }

    createExpensesTable();

    const QDate today = QDate::currentDate();
    for (QDateEdit *edit : {ui->dateEdit, ui->fromDate, ui->toDate}) {
        edit->setDate(today);
        edit->setCalendarPopup(true);
    }
    ui->update_btn->setEnabled(false);
    editingSlno = -1;

    loadExpensesData();
    updateNextSlno();

    headingCompleter = new QCompleter(this);
    detailsCompleter = new QCompleter(this);
    setupCompleter(headingCompleter);
    setupCompleter(detailsCompleter);
    ui->heading->setCompleter(headingCompleter);
    ui->details->setCompleter(detailsCompleter);
    passClicksPastPopup(headingCompleter);
    passClicksPastPopup(detailsCompleter);
    loadCompleters();
}

ExpensesWindow::~ExpensesWindow()
{
    delete ui;
}

QString ExpensesWindow::fromText() const
{
    return ui->fromDate->date().toString(DateFormat);
}

QString ExpensesWindow::toText() const
{
    return ui->toDate->date().toString(DateFormat);
}

void ExpensesWindow::showExpenses(const QList<ExpenseRow> &rows)
{
    QTableWidget *list = ui->tableWidget;
    WidestText number, date, amount;
    // Every fill sets the same roles (the number's id, the amount's
    // alignment), so the rows that stay keep their items.
    TableFill fill(list, rows.size(), TableFill::Items::Kept);
    for (int r = 0; r < rows.size(); ++r) {
        const QStringList cells = expenseListCells(rows.at(r), r + 1);
        fill.add(r, 0, cells.at(0))->setData(Qt::UserRole, rows.at(r).slno);
        for (int c = 1; c < 4; ++c)
            fill.add(r, c, cells.at(c));
        fill.add(r, 4, cells.at(4))->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        number.offer(cells.at(0));
        date.offer(cells.at(1));
        amount.offer(cells.at(4));
    }
    fill.finish();
    // A new list starts at its top, as when its rows are made afresh.
    list->scrollToTop();

    // Each of these columns as wide as its widest text or its header.
    QHeaderView *header = list->horizontalHeader();
    const QFontMetrics metrics(list->font());
    const int margins = 2 * (list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1) + 8;
    const QList<QPair<int, const WidestText *>> fitted{{0, &number}, {1, &date}, {4, &amount}};
    for (const auto &[column, widest] : fitted)
        header->resizeSection(column, qMax(header->sectionSizeHint(column), widest->width(metrics) + margins));
    listedRows = rows;
    listTotal = expensesTotal(rows);
    ui->labletotal->setText(expensesTotalText(listTotal));
}

void ExpensesWindow::loadExpensesData()
{
    QList<ExpenseRow> rows;
    allExpenses(&rows); // a failing query lists nothing
    showExpenses(rows);
    completions = expenseCompletions(rows);
}

void ExpensesWindow::updateNextSlno()
{
    ui->lblslno->setText(QStringLiteral("SI No: ") + QString::number(nextExpenseNumber()));
}

void ExpensesWindow::loadCompleters()
{
    // From the whole table, which every caller has just listed.
    headingCompleter->setModel(new QStringListModel(completions.headings, headingCompleter));
    detailsCompleter->setModel(new QStringListModel(completions.details, detailsCompleter));
}

void ExpensesWindow::clearEntryFields()
{
    ui->heading->clear();
    ui->details->clear();
    ui->amount->clear();
}

bool ExpensesWindow::readEntry(const QString &emptyHeadingText, ExpenseWrite *expense)
{
    expense->heading = ui->heading->text(); // as typed: blanks make a heading
    if (expense->heading.isEmpty()) {
        Desktop::warning(this, QStringLiteral("Input Error"), emptyHeadingText);
        return false;
    }
    const TypedAmount amount = readExpenseAmount(ui->amount->text());
    if (!amount.accepted()) {
        Desktop::warning(this, amount.refusalTitle, amount.refusal);
        return false;
    }
    expense->date = ui->dateEdit->date().toString(DateFormat);
    expense->details = ui->details->text();
    expense->amount = amount.value;
    return true;
}

void ExpensesWindow::on_add_btn_clicked()
{
    ExpenseWrite expense;
    if (!readEntry(QStringLiteral("Heading cant be empty"), &expense))
        return;
    QString error;
    if (!addExpense(expense, &error)) {
        Desktop::warning(this, QStringLiteral("Database error"), error);
        return;
    }
    clearEntryFields();
    loadExpensesData();
    updateNextSlno();
    loadCompleters();
}

void ExpensesWindow::on_edit_btn_clicked()
{
    const int row = ui->tableWidget->currentRow();
    if (row < 0) {
        Desktop::warning(this, QStringLiteral("Selection Error"), QStringLiteral("Please select the row"));
        return;
    }
    const auto text = [&](int column) {
        const QTableWidgetItem *item = ui->tableWidget->item(row, column);
        return item ? item->text() : QString();
    };
    const QTableWidgetItem *first = ui->tableWidget->item(row, 0);
    editingSlno = first ? first->data(Qt::UserRole).toInt() : -1;
    editingRow = listedRows.value(row);
    editingNumber = row + 1;
    const QDate date = QDate::fromString(text(1), QStringLiteral("dd-MM-yyyy"));
    if (date.isValid())
        ui->dateEdit->setDate(date);
    ui->heading->setText(text(2));
    ui->details->setText(text(3));
    ui->amount->setText(text(4));

    ui->add_btn->setEnabled(false);
    ui->delete_btn->setEnabled(false);
    ui->update_btn->setEnabled(true);
    ui->lblslno->setText(QStringLiteral("Editing SI No: ") + text(0));
}

void ExpensesWindow::on_update_btn_clicked()
{
    if (editingSlno == -1) {
        Desktop::warning(this, QStringLiteral("Error"), QStringLiteral("No record is selected"));
        return;
    }
    ExpenseWrite expense;
    if (!readEntry(QStringLiteral("Heding cant be Empty"), &expense))
        return;
    QString error;
    switch (updateExpense(editingRow, editingNumber, expense, &error)) {
    case ListedWrite::Written:
        break;
    case ListedWrite::Stale:
        // The row loaded is no longer stored so: no Update can write it. The
        // window goes back to entry with what was typed still in the fields.
        Desktop::warning(this, QStringLiteral("Update Error"), error);
        leaveEditing();
        return;
    case ListedWrite::Failed:
        Desktop::warning(this, QStringLiteral("Update Error"), error);
        return;
    }
    Desktop::information(this, QStringLiteral("Success"), QStringLiteral("Record updated successfully"));
    leaveEditing(); // shows the next number
    clearEntryFields();
    ui->dateEdit->setDate(QDate::currentDate());
    loadExpensesData();
    loadCompleters();
}

void ExpensesWindow::leaveEditing()
{
    editingSlno = -1;
    editingRow = ExpenseRow();
    editingNumber = 0;
    ui->add_btn->setEnabled(true);
    ui->update_btn->setEnabled(false);
    ui->delete_btn->setEnabled(true);
    updateNextSlno();
}

void ExpensesWindow::on_delete_btn_clicked()
{
    const int row = ui->tableWidget->currentRow();
    const QTableWidgetItem *first = row < 0 ? nullptr : ui->tableWidget->item(row, 0);
    if (!first) {
        Desktop::warning(this, QStringLiteral("Selection Error"), QStringLiteral("Please select and highlight a row"));
        return;
    }
    if (Desktop::question(this, QStringLiteral("Confirm"),
                          QStringLiteral("Are you sure to delete record #") + first->text() + QStringLiteral("?"),
                          QMessageBox::Yes | QMessageBox::No)
        != QMessageBox::Yes)
        return;
    QString error;
    if (deleteExpense(listedRows.value(row), row + 1, &error) != ListedWrite::Written) {
        Desktop::warning(this, QStringLiteral("Delete Error"), error);
        return;
    }
    loadExpensesData();
    updateNextSlno();
    loadCompleters();
}

void ExpensesWindow::on_show_clicked()
{
    QList<ExpenseRow> rows;
    if (!readPeriod(QStringLiteral("From Date cannot be greater than To Date!"), &rows))
        return;
    showExpenses(rows);
    if (rows.isEmpty()) {
        Desktop::information(this, QStringLiteral("No Data"),
                             QStringLiteral("No expenses found between\n") + fromText() + QStringLiteral(" and ")
                                 + toText());
    }
}

void ExpensesWindow::on_reset_clicked()
{
    const QDate today = QDate::currentDate();
    ui->fromDate->setDate(QDate(today.year(), today.month(), 1));
    ui->toDate->setDate(today);
    loadExpensesData();
}

bool ExpensesWindow::readPeriod(const QString &dateErrorText, QList<ExpenseRow> *rows)
{
    if (ui->fromDate->date() > ui->toDate->date()) {
        Desktop::warning(this, QStringLiteral("Date Error"), dateErrorText);
        return false;
    }
    QString error;
    if (!expensesBetween(fromText(), toText(), rows, &error)) {
        Desktop::warning(this, QStringLiteral("Query Error"), error);
        return false;
    }
    return true;
}

void ExpensesWindow::on_print_btn_clicked()
{
    QList<ExpenseRow> period;
    if (!readPeriod(QStringLiteral("To date cant be greater"), &period))
        return;
    if (period.isEmpty()) {
        Desktop::information(this, QStringLiteral("No Data"),
                             QStringLiteral("No expenses found between ") + fromText() + QStringLiteral(" and ")
                                 + toText());
        return;
    }
    // The report prints the list as it stands, with its total label.
    if (!listTotal.isValid()) {
        Desktop::warning(this, QStringLiteral("Error"), totalTooLargeToPrintText());
        return;
    }
    const QString html =
        expensesReportHtml(loadCompanyInfo(), tableRows(ui->tableWidget, 0, 4), ui->labletotal->text());
    printHtmlDocument(this, html, HtmlPrintProfiles::expensesReport());
}

void ExpensesWindow::on_excel_btn_clicked()
{
    QList<ExpenseRow> rows;
    if (!readPeriod(QStringLiteral("From Date cannot be greater than To Date!"), &rows))
        return;
    exportTableCsv(this, expensesCsvProfile(fromText(), toText(), expensesTotal(rows)), expensesCsvRows(rows));
}

void ExpensesWindow::on_close_btn_clicked()
{
    close();
}
