#include "csvexport.h"

#include "desktop.h"
#include "wholefile.h"

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

void show(QWidget *parent, const std::optional<CsvMessage> &message, const QString &path)
{
    if (!message)
        return;
    const QString text = message->appendPath ? message->text + path : message->text;
    Desktop::handler()->message(parent, message->icon, message->title, text, QMessageBox::Ok,
                                QMessageBox::NoButton);
}

} // namespace

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

QString composeCsv(const CsvExportProfile &profile, const QList<QStringList> &rows)
{
    QString out;
    for (const QString &line : profile.titleLines)
        out += line + QLatin1Char('\n');
    out += profile.header + QLatin1Char('\n');
    for (const QStringList &row : rows) {
        QStringList fields;
        fields.reserve(row.size());
        for (int i = 0; i < row.size(); ++i) {
            QString text = row.at(i);
            if (profile.lineBreaksAsPlus) {
                text.replace(QLatin1String("\r\n"), QLatin1String("+"));
                text.replace(QLatin1Char('\n'), QLatin1Char('+'));
            }
            fields << csvField(text, profile.alwaysQuoted.contains(i));
        }
        out += fields.join(QLatin1Char(',')) + QLatin1Char('\n');
    }
    for (const QString &line : profile.totalLines)
        out += line + QLatin1Char('\n');
    return out;
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

CsvExportResult exportTableCsv(QWidget *parent, const CsvExportProfile &profile,
                               const QList<QStringList> &rows)
{
    if (rows.isEmpty() && !profile.emptyCheckAfterDialog) {
        show(parent, profile.emptyMessage, QString());
        return CsvExportResult::Empty;
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
    if (!WholeFile::writeText(path, text)) {
        show(parent, profile.failureMessage, path);
        return CsvExportResult::Failed;
    }

    show(parent, profile.successMessage, path);
    Desktop::openFile(path);
    return CsvExportResult::Written;
}
