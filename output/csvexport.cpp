#include "csvexport.h"

#include "desktop.h"
#include "wholefile.h"

#include "core/listedrow.h"
#include "core/storedsum.h"
#include "core/typednumber.h"

#include <QTableWidget>

namespace CsvMessages {

CsvMessage noDataToExport()
{
    return {QMessageBox::Warning, QStringLiteral("Export"), QStringLiteral("No data to export!"), false};
}

CsvMessage couldNotSaveFile()
{
    return {QMessageBox::Warning, QStringLiteral("Error"), QStringLiteral("Could not save file!"), false};
}

CsvMessage totalTooLarge()
{
    return {QMessageBox::Warning, QStringLiteral("Error"),
            QStringLiteral("A total of these rows is too large to be written; nothing was saved."), false};
}

} // namespace CsvMessages

namespace {

// The message, with the chosen path where it names it and, for a failed
// write, the reason on a line of its own.
void show(QWidget *parent, const std::optional<CsvMessage> &message, const QString &path,
          const QString &reason = QString())
{
    if (!message)
        return;
    QString text = message->appendPath ? message->text + path : message->text;
    if (!reason.isEmpty())
        text += QLatin1Char('\n') + reason;
    Desktop::handler()->message(parent, message->icon, message->title, text, QMessageBox::Ok,
                                QMessageBox::NoButton);
}

// A spreadsheet runs a cell whose text starts with one of these as a formula
// (a tab or carriage return first can still make one where the file is read
// with other separators), unless the whole text is a number.
bool runsAsFormula(QStringView field)
{
    if (field.isEmpty())
        return false;
    switch (field.front().unicode()) {
    case '=':
    case '+':
    case '-':
    case '@':
    case '\t':
    case '\r':
        break;
    default:
        return false;
    }
    const QString text = field.toString();
    return !(text == text.trimmed() && readTypedNumber(text).isNumber());
}

bool isFieldEnd(QChar c)
{
    return c == QLatin1Char(',') || c == QLatin1Char('\n') || c == QLatin1Char('\r');
}

} // namespace

QString csvTextSafeToOpen(const QString &csv)
{
    QString text;
    text.reserve(csv.size());
    for (const QChar c : csv) {
        if (c.category() != QChar::Other_Control || c == QLatin1Char('\n') || c == QLatin1Char('\r')
            || c == QLatin1Char('\t'))
            text += c;
    }

    // Field by field, as a spreadsheet reads them: a quoted field runs to its
    // closing quote (a doubled quote inside it is one quote), any other to
    // the next comma or line end.
    QString out;
    out.reserve(text.size() + text.size() / 64);
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (true) {
        qsizetype end = i;
        if (i < n && text.at(i) == QLatin1Char('"')) {
            end = i + 1;
            while (end < n) {
                if (text.at(end) == QLatin1Char('"')) {
                    if (end + 1 < n && text.at(end + 1) == QLatin1Char('"')) {
                        end += 2;
                        continue;
                    }
                    break;
                }
                ++end;
            }
            out += QLatin1Char('"');
            const QStringView inner = QStringView(text).mid(i + 1, end - i - 1);
            if (runsAsFormula(inner))
                out += QLatin1Char('\'');
            out += inner;
        } else {
            while (end < n && !isFieldEnd(text.at(end)))
                ++end;
            const QStringView field = QStringView(text).mid(i, end - i);
            if (runsAsFormula(field))
                out += QLatin1Char('\'');
            out += field;
        }
        // The closing quote and anything after it up to the field's end.
        i = end;
        while (i < n && !isFieldEnd(text.at(i)))
            ++i;
        out += QStringView(text).mid(end, i - end);
        if (i >= n)
            break;
        out += text.at(i++);
    }
    return out;
}

QString csvField(const QString &text, bool alwaysQuote)
{
    const bool needsQuotes = text.contains(QLatin1Char(',')) || text.contains(QLatin1Char('"'))
                             || text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
    if (!alwaysQuote && !needsQuotes)
        return text;
    QString inner = text;
    inner.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + inner + QLatin1Char('"');
}

QString csvJoined(const QStringList &fields, const QSet<int> &alwaysQuoted)
{
    QStringList written;
    written.reserve(fields.size());
    for (int i = 0; i < fields.size(); ++i)
        written << csvField(fields.at(i), alwaysQuoted.contains(i));
    return written.join(QLatin1Char(','));
}

QString composeCsv(const CsvExportProfile &profile, const QList<QStringList> &rows)
{
    QString out;
    for (const QString &line : profile.titleLines)
        out += line + QLatin1Char('\n');
    out += profile.header + QLatin1Char('\n');
    for (QStringList row : rows) {
        if (profile.lineBreaksAsPlus) {
            for (QString &text : row) {
                text.replace(QLatin1String("\r\n"), QLatin1String("+"));
                text.replace(QLatin1Char('\n'), QLatin1Char('+'));
            }
        }
        out += csvJoined(row, profile.alwaysQuoted) + QLatin1Char('\n');
    }
    for (const QString &line : profile.totalLines)
        out += line + QLatin1Char('\n');
    return csvTextSafeToOpen(out);
}

QList<QStringList> tableRows(const QTableWidget *table, int firstColumn, int lastColumn)
{
    QList<QStringList> rows;
    if (!table)
        return rows;
    const int last = lastColumn < 0 ? table->columnCount() - 1 : lastColumn;
    for (int r = 0; r < table->rowCount(); ++r) {
        QStringList row;
        for (int c = firstColumn; c <= last; ++c) {
            const QTableWidgetItem *item = table->item(r, c);
            row << (item ? item->text() : QString());
        }
        rows << row;
    }
    return rows;
}

QString csvFigureRefusal(const CsvExportProfile &profile, const QList<QStringList> &rows)
{
    if (profile.figureColumns.isEmpty())
        return QString();
    for (int r = 0; r < rows.size(); ++r) {
        const QStringList &row = rows.at(r);
        for (auto it = profile.figureColumns.cbegin(); it != profile.figureColumns.cend(); ++it) {
            const QString cell = row.value(it.key());
            const std::optional<StoredTotal> figure = listedFigure(cell);
            if (!figure || figure->isValid())
                continue;
            QString name = profile.rowName ? profile.rowName(row) : QString();
            if (name.isEmpty())
                name = QStringLiteral("Row %1").arg(r + 1);
            return name + QStringLiteral(": ") + figureTooLargeToAddText(it.value(), shortRowName(cell.trimmed()));
        }
    }
    return QString();
}

CsvExportResult exportTableCsv(QWidget *parent, const CsvExportProfile &profile,
                               const QList<QStringList> &rows)
{
    if (rows.isEmpty() && !profile.emptyCheckAfterDialog) {
        show(parent, profile.emptyMessage, QString());
        return CsvExportResult::Empty;
    }
    // A figure no total can add up is named before a file is asked for.
    if (const QString refusal = csvFigureRefusal(profile, rows); !refusal.isEmpty()) {
        show(parent, CsvMessage{QMessageBox::Warning, figureTooLargeTitle(), refusal, false}, QString());
        return CsvExportResult::Refused;
    }
    if (!profile.totalsFormed) {
        show(parent, CsvMessages::totalTooLarge(), QString());
        return CsvExportResult::Refused;
    }

    const QString path = Desktop::getSaveFileName(parent, profile.caption, profile.defaultName,
                                                  profile.filter);
    if (path.isEmpty())
        return CsvExportResult::Cancelled;

    if (rows.isEmpty()) {
        // Nothing is written, so no empty file is left behind.
        show(parent, profile.emptyMessage, path);
        return CsvExportResult::Empty;
    }

    const QString text = composeCsv(profile, rows);

    // Written whole beside the chosen name and put in its place only when
    // complete: a full disk or a vanished folder leaves the old file as it was.
    QString reason;
    if (!WholeFile::writeText(path, text, &reason)) {
        show(parent, profile.failureMessage, path, reason);
        return CsvExportResult::Failed;
    }

    show(parent, profile.successMessage, path);
    Desktop::openFile(path);
    return CsvExportResult::Written;
}
