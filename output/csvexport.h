#pragma once
// Writing a list or report to a comma-separated file that then opens in the
// desktop's default application. Every export of the program goes through
// exportTableCsv; each list describes its own file with a CsvExportProfile.

#include <QList>
#include <QMap>
#include <QMessageBox>
#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QTableWidget;
class QWidget;

// A message box shown by an export. With appendPath the chosen file's path is
// added after the text.
struct CsvMessage
{
    QMessageBox::Icon icon = QMessageBox::Warning;
    QString title;
    QString text;
    bool appendPath = false;
};

namespace CsvMessages {
// Warning "Export" / "No data to export!", the usual answer to an empty list.
CsvMessage noDataToExport();
// Warning "Error" / "Could not save file!".
CsvMessage couldNotSaveFile();
// Warning "Error": a total of the rows cannot be formed, nothing is saved.
CsvMessage totalTooLarge();
} // namespace CsvMessages

// Everything that makes one list's export its own.
struct CsvExportProfile
{
    // Save dialog: caption, proposed bare file name and filter.
    QString caption;
    QString defaultName;
    QString filter = QStringLiteral("CSV Files (*.csv)");

    // Lines written before the header, as they are.
    QStringList titleLines;
    // The header line, as it is.
    QString header;
    // Columns (0-based, of the rows handed over) always written between
    // double quotes; every other field is quoted only when it needs it.
    QSet<int> alwaysQuoted;
    // Line breaks inside a field become "+" before the field is written.
    bool lineBreaksAsPlus = false;
    // Lines written after the rows, as they are (a total line, notes).
    QStringList totalLines;
    // False when a total of the rows cannot be formed: the export is refused
    // (CsvMessages::totalTooLarge) before a file is asked for.
    bool totalsFormed = true;
    // The columns of the rows that a total adds up, with their field names.
    // A cell there that spells a number too large to be added up exactly
    // (listedFigure, core/storedsum.h) refuses the export before a file is
    // asked for, with a warning that names its row and field.
    QMap<int, QString> figureColumns;
    // A row's name in that warning ("Bill No 7"); "Row <n>" when not given
    // or empty.
    std::function<QString(const QStringList &row)> rowName;

    // Shown when there are no rows; nullopt ends silently.
    std::optional<CsvMessage> emptyMessage = CsvMessages::noDataToExport();
    // The list finds out that it is empty only after the file was chosen.
    bool emptyCheckAfterDialog = false;
    // Shown when the file cannot be written, with the reason (a full disk, a
    // file too large, no permission) on a line after it; nullopt ends
    // silently.
    std::optional<CsvMessage> failureMessage;
    // Shown after the file was written; nullopt shows nothing.
    std::optional<CsvMessage> successMessage;
};

enum class CsvExportResult { Written, Empty, Cancelled, Failed, Refused };

// Why the rows cannot be exported by the profile's figure columns: "<row>:
// <field> <text> is too large to be added up exactly; ..." for the first
// such cell, row by row; empty when every figure can be added up.
QString csvFigureRefusal(const CsvExportProfile &profile, const QList<QStringList> &rows);

// One field: between double quotes (inner quotes doubled) when `alwaysQuote`
// or when it holds a comma, a line break or a double quote; else as it is.
QString csvField(const QString &text, bool alwaysQuote = false);

// One line of fields (a title, a header or a total line), each written by
// csvField (the columns in `alwaysQuoted` always between quotes), joined by ",".
QString csvJoined(const QStringList &fields, const QSet<int> &alwaysQuoted = {});

// The whole file text: title lines, header, one line per row, total lines,
// each ending with "\n", made safe to open (csvTextSafeToOpen).
QString composeCsv(const CsvExportProfile &profile, const QList<QStringList> &rows);

// CSV text as it may be opened in a spreadsheet: control characters other
// than line breaks and tabs left out, and a field whose text starts with "=",
// "+", "-", "@", a tab or a carriage return, and is not a number as a list
// shows one ("-150.00"), written with a "'" before that character (inside
// its quotes when it is quoted), so that the spreadsheet shows it as text
// instead of running it as a formula. What is stored is not touched.
QString csvTextSafeToOpen(const QString &csv);

// The display texts of a table's rows, columns firstColumn..lastColumn
// (lastColumn -1: up to the last column); a missing cell gives "".
QList<QStringList> tableRows(const QTableWidget *table, int firstColumn = 0, int lastColumn = -1);

// Asks for the file, writes it whole (UTF-8 without byte-order mark, replacing
// an existing file; a failed write leaves the file as it was) and opens it
// with the desktop's default application.
CsvExportResult exportTableCsv(QWidget *parent, const CsvExportProfile &profile,
                               const QList<QStringList> &rows);
