#pragma once

#include "salary/salarystore.h"

#include <QMainWindow>
#include <QHash>
#include <QMap>

class QLineEdit;
class TickColumn;

QT_BEGIN_NAMESPACE
namespace Ui {
class SalaryWindow;
}
QT_END_NAMESPACE

// Employee salary entries: the entry row with live gross and net, the list of
// all entries or of one month with editing in place, the CSV statement and
// the printed salary slip.
class SalaryWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit SalaryWindow(QWidget *parent = nullptr);
    ~SalaryWindow() override;

    // The list's cells. A figure cell (columns 3 to 10, 12 to 14) stands for
    // the exact figure behind its two-decimal text (salaryListFigure): the
    // figure typed into it or, untouched, the one stored; any other cell for
    // the number its text spells; 0 without item or when the text is no
    // number, an invalid figure for a number beyond its bound.
    Decimal salaryCellValue(int row, int col) const;
    // The cell's text, trimmed; empty without item.
    QString salaryCellText(int row, int col) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private slots:
    // The entry row.
    void on_add_btn_clicked();
    void onInputTableCellChanged(int row, int col);
    void on_close_btn_clicked();
    // The list.
    void on_show_btn_clicked();
    void on_reset_btn_clicked();
    void on_edit_btn_clicked();
    void onSalaryTableCellChanged(int row, int col);
    void on_editCancel_btn_clicked();
    void on_update_btn_clicked();
    // Outputs.
    void on_print_state_btn_clicked();
    void on_print_pdf_btn_clicked();

private:
    void recalculateInputRow();
    void clearInputRow();
    void setupNameCompleter();
    // Whether a key press the input table sees was meant for the table
    // itself, not for an open cell editor or the name field.
    bool keyOnInputTableItself() const;
    // The editor open in a cell of the input row, or null.
    QWidget *openInputEditor() const;
    // Writes the text of an open cell editor of the input row into its cell.
    void commitInputEditor();
    Decimal inputCellValue(int col) const;
    QString inputCellText(int col) const;

    void loadAllSalaries();
    void showRecords(const QList<SalaryRecord> &records);
    void setViewMode();
    void fitNameColumn();
    // The figures a list row's cells stand for (salaryCellValue).
    SalaryFigures rowFigures(int row) const;
    // The trimmed texts of columns 1 to 16 of a list row.
    QStringList listRowTexts(int row) const;
    // A list row as the statement writes it: listRowTexts, but the name and
    // the remarks as the list shows them.
    QStringList statementRowTexts(int row) const;
    // A list cell as the slip prints it: trimmed and HTML-escaped, "0.00"
    // without item.
    QString htmlCellText(const int &row, int column) const;
    // A logo of the slip: its data URI in a box of 250 x 150, or "" when the
    // logo file is missing or no image (output/logos.h).
    QString logoDataUri(const QString &side) const;

    Ui::SalaryWindow *ui;
    QLineEdit *nameEdit = nullptr;
    TickColumn *ticks = nullptr; // column 0 of the list
    // Edit mode: the texts of columns 1 to 16 of every row when it began.
    QMap<int, QMap<int, QString>> editSnapshot;
    // The listed rows as they were read, by row: what a figure cell stands
    // for while it shows its stored figure unchanged, and what Update checks
    // is still stored before it writes a row.
    QList<SalaryRecord> listedRecords;
    // The figures the cells of a row stand for, for the rows where a figure
    // was typed since the list was read or last written (the others stand
    // for their listed figures); and as they were when edit mode began.
    QHash<int, SalaryFigures> typedFigures;
    QHash<int, SalaryFigures> editTypedFigures;
    bool editMode = false;
    bool reloadGuard = false;
    int nameColumnWidth = 0; // the width the listed names need
};
