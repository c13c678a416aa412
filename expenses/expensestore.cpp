#include "expensestore.h"

#include "core/boundquery.h"
#include "core/listedrow.h"
#include "core/listformat.h"
#include "core/typednumber.h"
#include "output/htmlescape.h"

#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

#include <algorithm>

namespace {

// Every column of the table in its own order, as "SELECT *" gives them: the
// listed row is kept as stored from the same read.
const RowSource StoredExpense{QStringLiteral("expenses"),
                              QStringLiteral("slno"),
                              {QStringLiteral("slno"), QStringLiteral("date"), QStringLiteral("heading"),
                               QStringLiteral("details"), QStringLiteral("amount")},
                              QString()};
const QString SelectColumns = QStringLiteral("SELECT ") + StoredExpense.columnList() + QStringLiteral(" FROM expenses");

// A stored amount to the paisa: a REAL as the decimal it was written from,
// anything else read as typed text (so text that reached the column counts
// as 0).
Money storedAmount(const StatementRow &row, int column)
{
    const QVariant value = row.value(column);
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Int:
    case QMetaType::LongLong:
        return Money::fromStored(value.toDouble());
    default:
        return value.isNull() ? Money() : Money::fromText(value.toString()).value_or(Money());
    }
}

bool readRows(const QString &sql, const QVariantMap &values, QList<ExpenseRow> *rows, QString *error)
{
    rows->clear();
    const int columns = int(StoredExpense.columns.size());
    return forEachRow(
        sql, values,
        [&](const StatementRow &q) {
            ExpenseRow row;
            row.slno = q.integer(0);
            row.date = q.text(1);
            row.heading = q.text(2);
            row.details = q.text(3);
            row.amount = storedAmount(q, 4);
            row.stored = StoredRow::of(q, 0, columns);
            rows->append(row);
        },
        error);
}

QVariantMap writeValues(const ExpenseWrite &expense)
{
    return {{QStringLiteral(":date"), expense.date},
            {QStringLiteral(":heading"), expense.heading},
            {QStringLiteral(":details"), expense.details},
            {QStringLiteral(":amount"), expense.amount.toDouble()}};
}

// How the texts of a refused write name the listed row.
QString listedExpenseName(const ExpenseRow &listed, int runningNumber)
{
    return QStringLiteral("Expense #%1 (%2)").arg(runningNumber).arg(shortRowName(listed.heading));
}

} // namespace

void createExpensesTable()
{
    QSqlQuery q;
    q.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS expenses (slno INTEGER PRIMARY KEY AUTOINCREMENT, "
                          "date TEXT, heading TEXT, details TEXT, amount REAL)"));
}

bool allExpenses(QList<ExpenseRow> *rows, QString *error)
{
    return readRows(SelectColumns + QStringLiteral(" ORDER BY slno ASC"), {}, rows, error);
}

bool expensesBetween(const QString &from, const QString &to, QList<ExpenseRow> *rows, QString *error)
{
    return readRows(SelectColumns + QStringLiteral(" WHERE date >= :fromDate AND date <= :toDate ORDER BY slno ASC"),
                    {{QStringLiteral(":fromDate"), from}, {QStringLiteral(":toDate"), to}}, rows, error);
}

int nextExpenseNumber()
{
    QSqlQuery q;
    if (q.exec(QStringLiteral("SELECT COUNT(*) FROM expenses")) && q.next())
        return q.value(0).toInt() + 1;
    return 1;
}

bool addExpense(const ExpenseWrite &expense, QString *error)
{
    QSqlQuery q;
    return execBound(q,
                     QStringLiteral("INSERT INTO expenses (date, heading, details, amount) "
                                    "VALUES (:date, :heading, :details, :amount)"),
                     writeValues(expense), error);
}

namespace {

// Writes the listed expense while it is still as the list read it; after the
// refusal of a row changed or gone meanwhile comes `changedWayOn` or
// `goneWayOn`.
ListedWrite writeListedExpense(const QString &sql, const QVariantMap &values, const ExpenseRow &listed,
                               int runningNumber, const QString &changedWayOn, const QString &goneWayOn,
                               QString *error)
{
    LoadedRow row(StoredExpense, listed.slno, listed.stored, listedExpenseName(listed, runningNumber));
    row.changedWayOn = changedWayOn;
    row.goneWayOn = goneWayOn;
    const RowWrite outcome = writeLoadedRows({row}, {{sql, values}});
    outcome.ok(error);
    return outcome.result;
}

} // namespace

ListedWrite updateExpense(const ExpenseRow &listed, int runningNumber, const ExpenseWrite &expense, QString *error)
{
    QVariantMap values = writeValues(expense);
    values.insert(QStringLiteral(":slno"), listed.slno);
    // The window leaves the correction with what was typed still in the
    // fields; these say what the user can do next.
    return writeListedExpense(
        QStringLiteral("UPDATE expenses SET date = :date,heading = :heading,details = :details, "
                       "amount = :amount WHERE slno = :slno"),
        values, listed, runningNumber,
        QStringLiteral("What you typed stays in the fields: press Show or Reset to list the expense as it is now, "
                       "then select it and press Edit to load it in place of what you typed; or press Add to save "
                       "what you typed as a new expense."),
        QStringLiteral("What you typed stays in the fields: press Add to save it as a new expense."), error);
}

ListedWrite deleteExpense(const ExpenseRow &listed, int runningNumber, QString *error)
{
    return writeListedExpense(
        QStringLiteral("DELETE FROM expenses WHERE slno = :slno"), {{QStringLiteral(":slno"), listed.slno}}, listed,
        runningNumber,
        QStringLiteral("Press Show or Reset to list the expense as it is now, then select it and press Delete again."),
        QString(), error);
}

namespace {
QStringList sortedDistinct(QSet<QString> &values)
{
    values.remove(QString());
    QStringList sorted(values.begin(), values.end());
    std::sort(sorted.begin(), sorted.end());
    return sorted;
}
} // namespace

ExpenseCompletions expenseCompletions(const QList<ExpenseRow> &rows)
{
    QSet<QString> headings;
    QSet<QString> details;
    for (const ExpenseRow &row : rows) {
        headings.insert(row.heading);
        details.insert(row.details);
    }
    return {sortedDistinct(headings), sortedDistinct(details)};
}

TypedAmount readExpenseAmount(const QString &text)
{
    if (const QString tooLarge = typedFigureTooLarge(QStringLiteral("Amount"), text, FigureKind::Money);
        !tooLarge.isEmpty())
        return {figureTooLargeTitle(), tooLarge, Money()};
    if (spellsNonFiniteNumber(text))
        return {QStringLiteral("Input Error"), QStringLiteral("Amount must be a finite number"), Money()};
    return {QString(), QString(), boundedAmount(text).value_or(Money())};
}

QStringList expenseListCells(const ExpenseRow &row, int runningNumber)
{
    return {QString::number(runningNumber), storedDateText(row.date), row.heading, row.details, row.amount.text()};
}

StoredTotal expensesTotal(const QList<ExpenseRow> &rows)
{
    StoredTotal total;
    for (const ExpenseRow &row : rows)
        total += row.amount;
    return total;
}

QString expensesTotalText(const StoredTotal &total)
{
    return QStringLiteral("Total Amount: ") + total.text();
}

QString expensesReportHtml(const CompanyInfo &company, const QList<QStringList> &listRows,
                           const QString &totalLabel)
{
    QString html;
    html += QStringLiteral("<h2>") + htmlEscaped(company.name) + QStringLiteral("</h2>");
    html += QStringLiteral("<p>") + htmlEscaped(company.address1) + QStringLiteral("</p>");
    html += QStringLiteral("<p>") + htmlEscaped(company.address2) + QStringLiteral("</p>");
    html += QStringLiteral("<p>GST no: ") + htmlEscaped(company.gstNo) + QStringLiteral(" | Phone No: ")
            + htmlEscaped(company.phone) + QStringLiteral(" | Email ID: ") + htmlEscaped(company.email)
            + QStringLiteral("</p>");
    html += QStringLiteral("<html><body>");
    html += QStringLiteral("<h2 style='text-align:center;'>Expenses Report</h2><hr/>");
    html += QStringLiteral("<table border='1' cellspacing='0' cellpadding='6' width='100%'><thead>"
                           "<tr style='background-color:#4CAF50; color:white;'>"
                           "<th>SI No</th><th>Date</th><th>Heading</th><th>Details</th><th>Amount</th>"
                           "</tr></thead><tbody>");
    for (int r = 0; r < listRows.size(); ++r) {
        html += QStringLiteral("<tr style='background-color:") + (r % 2 == 0 ? "#ffffff" : "#f2f2f2")
                + QStringLiteral(";'>");
        const QStringList &cells = listRows.at(r);
        for (int c = 0; c < cells.size(); ++c) {
            html += (c == 4 ? QStringLiteral("<td align='right'>") : QStringLiteral("<td>"))
                    + htmlEscaped(cells.at(c)) + QStringLiteral("</td>");
        }
        html += QStringLiteral("</tr>");
    }
    html += QStringLiteral("</tbody></table><br/>");
    html += QStringLiteral("<p style='text-align:right; font-size:14pt;'><b>") + htmlEscaped(totalLabel)
            + QStringLiteral("</b></p><br/>");
    html += QStringLiteral("<p style='color:gray; font-size:9pt;'>Generated by Kestrova App</p></body></html>");
    return html;
}

CsvExportProfile expensesCsvProfile(const QString &from, const QString &to, const StoredTotal &total)
{
    CsvExportProfile p;
    p.caption = QStringLiteral("Export to Excel");
    p.defaultName = QStringLiteral("expenses_") + from + QStringLiteral("_to_") + to + QStringLiteral(".csv");
    p.filter = QStringLiteral("Excel Files (*.csv)");
    // Title and total lines are written field by field like the rows.
    const auto line = [](const QStringList &fields) { return csvJoined(fields); };
    p.titleLines = {line({QStringLiteral("Expenses Report")}),
                    line({QStringLiteral("From:"), from, QStringLiteral("To:"), to}), QString()};
    p.header = QStringLiteral("SI No,Date,Heading,Details,Amount");
    p.alwaysQuoted = {2, 3};
    p.totalLines = {QString(), line({QString(), QString(), QString(), QString(), QStringLiteral("Total Amount:"),
                                     total.text()})};
    p.totalsFormed = total.isValid();
    p.figureColumns = {{4, QStringLiteral("Amount")}};
    p.rowName = [](const QStringList &row) {
        return QStringLiteral("Expense #%1 (%2)").arg(row.value(0), shortRowName(row.value(2)));
    };
    // The period is found empty only once the file is chosen; the file is
    // then left as it was.
    p.emptyCheckAfterDialog = true;
    p.emptyMessage = CsvMessage{QMessageBox::Information, QStringLiteral("No Data"),
                                QStringLiteral("No expenses found between\n") + from + QStringLiteral(" and ") + to,
                                false};
    p.failureMessage =
        CsvMessage{QMessageBox::Critical, QStringLiteral("File Error"), QStringLiteral("Could not create file:\n"), true};
    p.successMessage = CsvMessage{QMessageBox::Information, QStringLiteral("Success"),
                                  QStringLiteral("Excel file saved to:\n"), true};
    return p;
}

QList<QStringList> expensesCsvRows(const QList<ExpenseRow> &rows)
{
    QList<QStringList> out;
    out.reserve(rows.size());
    for (int i = 0; i < rows.size(); ++i)
        out << expenseListCells(rows.at(i), i + 1);
    return out;
}
