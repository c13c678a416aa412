#include "listedrow.h"

#include "boundquery.h"
#include "transaction.h"

#include <QHash>
#include <QSqlQuery>

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

namespace {

// Two hashes of different seeds over the same bytes: 128 bits, so two rows
// that differ in any value give different digests.
constexpr size_t FirstSeed = 0x9e3779b97f4a7c15ULL & ~size_t(0);
constexpr size_t SecondSeed = 0xc2b2ae3d27d4eb4fULL & ~size_t(0);

} // namespace

StoredRow::Digest StoredRow::digestOf(const StatementRow &row, int first, int count, const Digest &before)
{
    // One buffer for every row a list reads: the values are appended as
    // SQLite holds them and hashed once.
    static thread_local QByteArray bytes;
    bytes.resize(0);
    bytes.append(reinterpret_cast<const char *>(&before), sizeof before);
    const qint32 columns = count;
    bytes.append(reinterpret_cast<const char *>(&columns), sizeof columns);
    for (int c = first; c < first + count; ++c)
        row.appendStoredValue(bytes, c);
    Digest d;
    d.first = qHashBits(bytes.constData(), size_t(bytes.size()), FirstSeed);
    d.second = qHashBits(bytes.constData(), size_t(bytes.size()), SecondSeed);
    if (sizeof(size_t) < sizeof(quint64)) // 32-bit hashes: a third pass for the upper halves
        d.first = (d.first << 32) ^ qHashBits(bytes.constData(), size_t(bytes.size()), SecondSeed ^ FirstSeed);
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

void StoredRow::clearDependents()
{
    m_dependents = Digest();
    m_dependentCount = 0;
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

namespace {

enum class RowState { Same, Changed, Gone, Unread };

// The row `key` now against `loaded`; Unread with the driver's text in
// `error` when it cannot be read.
RowState rowState(const RowSource &source, const QVariant &key, const StoredRow &loaded, QString *error)
{
    StoredRow now;
    if (!readStoredRow(source, key, &now, error)) {
        if (error->isEmpty())
            *error = QStringLiteral("could not read ") + source.table;
        return RowState::Unread;
    }
    if (!now.found())
        return RowState::Gone;
    return now == loaded ? RowState::Same : RowState::Changed;
}

} // namespace

QString listedRowRefusal(const RowSource &source, const QVariant &key, const StoredRow &loaded, const QString &row,
                         const QString &changedText)
{
    QString error;
    switch (rowState(source, key, loaded, &error)) {
    case RowState::Same:
        return QString();
    case RowState::Gone:
        return rowGoneText(row, true);
    case RowState::Changed:
        return changedText.isEmpty() ? rowChangedText(row) : changedText;
    default:
        return error;
    }
}

QString listedRowRefusalWithWayOn(const RowSource &source, const QVariant &key, const StoredRow &loaded,
                                  const QString &row, const QString &changedWayOn, const QString &goneWayOn,
                                  bool *stale)
{
    QString error;
    const RowState state = rowState(source, key, loaded, &error);
    if (stale)
        *stale = state == RowState::Changed || state == RowState::Gone;
    const auto withWayOn = [](const QString &text, const QString &wayOn) {
        return wayOn.isEmpty() ? text : text + QLatin1Char(' ') + wayOn;
    };
    switch (state) {
    case RowState::Same:
        return QString();
    case RowState::Gone:
        return withWayOn(rowGoneText(row, true), goneWayOn);
    case RowState::Changed:
        return withWayOn(rowChangedText(row), changedWayOn);
    default:
        return error;
    }
}

QString listedRowsRefusal(const RowSource &source, const QList<ListedRow> &rows, const QString &changedText)
{
    for (const ListedRow &r : rows) {
        if (QString reason = listedRowRefusal(source, r.key, r.stored, r.name, changedText); !reason.isEmpty())
            return reason;
    }
    return QString();
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

QString storedLinesRefusal(const QString &sql, const QVariantMap &values, const StoredRow &loaded, const QString &row,
                           const QString &changedText)
{
    StoredRow now;
    QString error;
    if (!readStoredLines(sql, values, &now, &error))
        return error;
    if (!now.found() || !loaded.found())
        return rowGoneText(row, true);
    if (now != loaded)
        return changedText.isEmpty() ? rowChangedText(row) : changedText;
    return QString();
}

bool execListedRow(const QString &sql, const QVariantMap &values, const QString &goneText, QString *error)
{
    QSqlQuery q;
    if (!execBound(q, sql, values, error))
        return false;
    // SQLite counts every row its WHERE matched, changed or not.
    if (q.numRowsAffected() < 1) {
        if (error)
            *error = goneText;
        return false;
    }
    return true;
}

bool writeLoadedRow(const QString &sql, const QVariantMap &values, const RowSource &source, const QVariant &key,
                    const StoredRow &loaded, const QString &row, QString *error,
                    const std::function<QString()> &refusal, StoredRow *written)
{
    StoredRow after;
    const bool ok = runInTransaction(
        [&](QString *failure) {
            QString reason = listedRowRefusal(source, key, loaded, row);
            if (reason.isEmpty() && refusal)
                reason = refusal();
            if (!reason.isEmpty()) {
                *failure = reason;
                return false;
            }
            if (!execListedRow(sql, values, rowGoneText(row, true), failure))
                return false;
            return !written || readStoredRow(source, key, &after, failure);
        },
        error);
    if (ok && written)
        *written = after;
    return ok;
}
