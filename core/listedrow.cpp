#include "listedrow.h"

#include "boundquery.h"
#include "transaction.h"

#include <QHash>
#include <QSqlQuery>

#include <sqlite3.h>

QString shortRowName(const QString &name, int length)
{
    if (name.size() <= length)
        return name;
    return name.left(qMax(1, length - 1)).trimmed() + QChar(0x2026);
}

QString rowGoneText(const QString &row, bool nothingSaved)
{
    QString text = row + QStringLiteral(" no longer exists; it may have been deleted in another window.");
    if (nothingSaved)
        text += QStringLiteral(" Nothing was saved.");
    return text;
}

QString rowChangedText(const QString &row, const QString &how, const QString &outcome)
{
    return row + QStringLiteral(" was ") + (how.isEmpty() ? QStringLiteral("changed or deleted") : how)
           + QStringLiteral(" meanwhile, perhaps in another window. ")
           + (outcome.isEmpty() ? QStringLiteral("Nothing was saved.") : outcome);
}

StoredRow::Digest StoredRow::digestOf(const StatementRow &row, int first, int count, const Digest &before)
{
    // One buffer for every row a list reads: the values are appended as
    // SQLite holds them and hashed in one pass. The digest is that 64-bit
    // hash and the number of bytes: a row changed meanwhile reads as
    // unchanged only by a chance of one in 2^64.
    static thread_local QByteArray bytes;
    bytes.resize(0);
    bytes.append(reinterpret_cast<const char *>(&before), sizeof before);
    const qint32 columns = count;
    bytes.append(reinterpret_cast<const char *>(&columns), sizeof columns);
    for (int c = first; c < first + count; ++c)
        row.appendStoredValue(bytes, c);
    constexpr size_t Seed = 0x9e3779b97f4a7c15ULL & ~size_t(0);
    Digest d;
    d.first = qHashBits(bytes.constData(), size_t(bytes.size()), Seed);
    if (sizeof(size_t) < sizeof(quint64)) // 32-bit hashes: a second pass for the upper half
        d.first = (d.first << 32) ^ qHashBits(bytes.constData(), size_t(bytes.size()), ~Seed);
    d.second = quint64(bytes.size());
    return d;
}

StoredRow StoredRow::of(const StatementRow &row, int first, int count)
{
    StoredRow stored;
    stored.m_found = true;
    stored.m_columns = digestOf(row, first, count, Digest());
    return stored;
}

void StoredRow::addDependent(const StatementRow &row, int first, int count)
{
    m_found = true;
    m_dependents = digestOf(row, first, count, m_dependents);
    ++m_dependentCount;
}

QString RowSource::columnList(const QString &alias) const
{
    const QString prefix = alias.isEmpty() ? QString() : alias + QLatin1Char('.');
    QStringList names;
    names.reserve(columns.size());
    for (const QString &c : columns)
        names.append(prefix + c);
    return names.join(QStringLiteral(", "));
}

bool readStoredRow(const RowSource &source, const QVariant &key, StoredRow *row, QString *error)
{
    *row = StoredRow();
    const QVariantMap values{{QStringLiteral(":key"), key}};
    const int count = int(source.columns.size());
    StoredRow read;
    if (!forEachRow(QStringLiteral("SELECT ") + source.columnList() + QStringLiteral(" FROM ") + source.table
                        + QStringLiteral(" WHERE ") + source.keyColumn + QStringLiteral(" = :key"),
                    values, [&](const StatementRow &r) { read = StoredRow::of(r, 0, count); }, error))
        return false;
    if (!read.found() || source.dependentsSql.isEmpty()) {
        *row = read;
        return true;
    }
    bool first = true;
    int dependentColumns = 0;
    if (!forEachRow(
            source.dependentsSql, values,
            [&](const StatementRow &r) {
                if (first) {
                    dependentColumns = r.columnCount();
                    first = false;
                }
                read.addDependent(r, 0, dependentColumns);
            },
            error))
        return false;
    *row = read;
    return true;
}

bool readStoredLines(const QString &sql, const QVariantMap &values, StoredRow *lines, QString *error)
{
    *lines = StoredRow();
    StoredRow read;
    int columns = -1;
    if (!forEachRow(
            sql, values,
            [&](const StatementRow &r) {
                if (columns < 0)
                    columns = r.columnCount();
                read.addDependent(r, 0, columns);
            },
            error))
        return false;
    *lines = read;
    return true;
}

LoadedRow::LoadedRow(const RowSource &source, const QVariant &key, const StoredRow &asLoaded, const QString &rowName)
    : loaded(asLoaded)
    , name(rowName)
    , m_source(&source)
    , m_key(key)
{
}

LoadedRow::LoadedRow(const QString &sql, const QVariantMap &values, const StoredRow &asLoaded, const QString &rowName)
    : loaded(asLoaded)
    , name(rowName)
    , m_linesSql(sql)
    , m_linesValues(values)
{
}

bool LoadedRow::readNow(StoredRow *now, QString *error) const
{
    const bool read = m_source ? readStoredRow(*m_source, m_key, now, error)
                               : readStoredLines(m_linesSql, m_linesValues, now, error);
    if (!read && error->isEmpty())
        *error = QStringLiteral("could not read ") + (m_source ? m_source->table : name);
    return read;
}

namespace {

QString withWayOn(const QString &text, const QString &wayOn)
{
    return wayOn.isEmpty() ? text : text + QLatin1Char(' ') + wayOn;
}

QString goneRefusal(const LoadedRow &row)
{
    return withWayOn(row.goneText.isEmpty() ? rowGoneText(row.name, true) : row.goneText, row.goneWayOn);
}

} // namespace

QString LoadedRow::refusal(bool *stale) const
{
    StoredRow now;
    QString error;
    if (!readNow(&now, &error))
        return error;
    // Gone, created meanwhile (a row; a document's lines: changed), changed,
    // or still as loaded: missing still, or none still.
    *stale = now != loaded;
    if (!*stale)
        return QString();
    if (!now.found())
        return goneRefusal(*this);
    if (!loaded.found() && m_source)
        return withWayOn(rowChangedText(name, QStringLiteral("created")), changedWayOn);
    return withWayOn(changedText.isEmpty() ? rowChangedText(name) : changedText, changedWayOn);
}

RowWrite writeLoadedRows(const QList<LoadedRow> &rows, const std::function<bool(QString *error)> &write)
{
    RowWrite outcome;
    sqlite3 *handle = defaultSqliteHandle(&outcome.error);
    if (!handle)
        return outcome;
    StoredRow written;
    const bool ok = runInTransaction(
        [&](QString *failure) {
            for (int i = 0; i < rows.size(); ++i) {
                bool stale = false;
                *failure = rows.at(i).refusal(&stale);
                if (!failure->isEmpty()) {
                    if (stale) {
                        outcome.result = ListedWrite::Stale;
                        outcome.staleRow = i;
                    }
                    return false;
                }
            }
            const int before = sqlite3_total_changes(handle);
            if (!write(failure))
                return false;
            if (!rows.isEmpty() && sqlite3_total_changes(handle) == before) {
                // The row it writes is missing, as it was when loaded.
                *failure = goneRefusal(rows.first());
                outcome.result = ListedWrite::Stale;
                outcome.staleRow = 0;
                return false;
            }
            return rows.size() != 1 || rows.first().readNow(&written, failure);
        },
        &outcome.error);
    if (ok) {
        outcome.result = ListedWrite::Written;
        outcome.written = written;
    }
    return outcome;
}

RowWrite writeLoadedRows(const QList<LoadedRow> &rows, const QList<QPair<QString, QVariantMap>> &statements)
{
    return writeLoadedRows(rows, [&statements](QString *error) {
        QSqlQuery q;
        for (const auto &statement : statements) {
            if (!execBound(q, statement.first, statement.second, error))
                return false;
        }
        return true;
    });
}
