#pragma once

#include "expensestore.h"

#include <QMainWindow>

class QCompleter;

QT_BEGIN_NAMESPACE
namespace Ui {
class ExpensesWindow;
}
QT_END_NAMESPACE

// Expense entries by date and heading: entry, correction, the list of all
// expenses or of a period with its total, the PDF report and the CSV export.
class ExpensesWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit ExpensesWindow(QWidget *parent = nullptr);
    ~ExpensesWindow() override;

private slots:
    void on_add_btn_clicked();
    void on_delete_btn_clicked();
    void on_edit_btn_clicked();
    void on_update_btn_clicked();
    void on_show_clicked();
    void on_reset_clicked();
    void on_print_btn_clicked();
    void on_excel_btn_clicked();
    void loadExpensesData();
    void updateNextSlno();
    void on_close_btn_clicked();

private:
    void loadCompleters();
    void showExpenses(const QList<ExpenseRow> &rows);
    // The period of the From and To fields as "yyyy-MM-dd".
    QString fromText() const;
    QString toText() const;
    void clearEntryFields();
    // Back to entry: Add and Delete enabled, Update disabled, the next
    // number shown; the fields are left as they are.
    void leaveEditing();
    // The entry fields as written; false after a warning (an empty heading:
    // "Input Error" with the text given; an amount spelling NaN or infinity).
    bool readEntry(const QString &emptyHeadingText, ExpenseWrite *expense);
    // The expenses of the From..To period; false after a warning (From after
    // To: "Date Error" with the text given; a failed query).
    bool readPeriod(const QString &dateErrorText, QList<ExpenseRow> *rows);

    Ui::ExpensesWindow *ui;
    int editingSlno = -1;
    // The rows the list shows, in its order; and the one Edit loaded, as the
    // list had read it, with its running number.
    QList<ExpenseRow> listedRows;
    ExpenseRow editingRow;
    int editingNumber = 0;
    QCompleter *headingCompleter = nullptr;
    QCompleter *detailsCompleter = nullptr;
    ExpenseCompletions completions; // of the last full listing
    StoredTotal listTotal;          // of the rows listed
};
