#include "boundquery.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>

#include <sqlite3.h>

#include <cstring>
#include <memory>

bool execBound(QSqlQuery &q, const QString &sql, const QVariantMap &values, QString *error)
{
    bool ok = q.prepare(sql);
    if (ok) {
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            q.bindValue(it.key(), it.value());
        ok = q.exec();
    }
    if (!ok && error)
        *error = q.lastError().text();
    return ok;
}

sqlite3 *defaultSqliteHandle(QString *error)
{
    const QVariant handle = QSqlDatabase::database().driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0) {
        if (error)
            *error = QStringLiteral("The statement needs an SQLite database.");
        return nullptr;
    }
    return *static_cast<sqlite3 *const *>(handle.data());
}

QVariant StatementRow::value(int column) const
{
    switch (sqlite3_column_type(m_statement, column)) {
    case SQLITE_INTEGER:
        return QVariant(qlonglong(sqlite3_column_int64(m_statement, column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(m_statement, column));
    case SQLITE_BLOB:
        return QVariant(QByteArray(static_cast<const char *>(sqlite3_column_blob(m_statement, column)),
                                   sqlite3_column_bytes(m_statement, column)));
    case SQLITE_NULL:
        return QVariant();
    default:
        return QVariant(text(column));
    }
}

QString StatementRow::text(int column) const
{
    switch (sqlite3_column_type(m_statement, column)) {
    case SQLITE_TEXT:
        return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(m_statement, column)),
                                 sqlite3_column_bytes(m_statement, column));
    case SQLITE_BLOB: {
        // Its bytes as they are: asked for as text, SQLite would copy them
        // to end them in a 0. An empty blob has no bytes, and reads as "".
        const auto *bytes = static_cast<const char *>(sqlite3_column_blob(m_statement, column));
        return QString::fromUtf8(bytes ? bytes : "", sqlite3_column_bytes(m_statement, column));
    }
    case SQLITE_NULL:
        return QString();
    default:
        return value(column).toString();
    }
}

QString StatementRow::text(int column, RepeatedText &last) const
{
    const int kind = sqlite3_column_type(m_statement, column);
    if (kind != SQLITE_TEXT && kind != SQLITE_BLOB)
        return text(column);
    const auto *bytes = kind == SQLITE_TEXT ? reinterpret_cast<const char *>(sqlite3_column_text(m_statement, column))
                                            : static_cast<const char *>(sqlite3_column_blob(m_statement, column));
    const int length = sqlite3_column_bytes(m_statement, column);
    if (length == 0)
        return text(column);
    if (QByteArrayView(bytes, length) != QByteArrayView(last.bytes)) {
        last.bytes.resize(length);
        memcpy(last.bytes.data(), bytes, size_t(length));
        last.text = QString::fromUtf8(bytes, length);
    }
    return last.text;
}

double StatementRow::real(int column) const
{
    switch (sqlite3_column_type(m_statement, column)) {
    case SQLITE_FLOAT:
        return sqlite3_column_double(m_statement, column);
    case SQLITE_INTEGER:
        return double(sqlite3_column_int64(m_statement, column));
    default:
        return value(column).toDouble();
    }
}

int StatementRow::integer(int column) const
{
    if (sqlite3_column_type(m_statement, column) == SQLITE_INTEGER)
        return int(sqlite3_column_int64(m_statement, column));
    return value(column).toInt();
}

bool StatementRow::isNull(int column) const
{
    return sqlite3_column_type(m_statement, column) == SQLITE_NULL;
}

int StatementRow::columnCount() const
{
    return sqlite3_column_count(m_statement);
}

void StatementRow::appendStoredValue(QByteArray &out, int column) const
{
    // One growth of the buffer and one copy per value: the lists append every
    // stored column of thousands of rows.
    const int kind = sqlite3_column_type(m_statement, column);
    const char tag = char(kind);
    const qsizetype at = out.size();
    switch (kind) {
    case SQLITE_INTEGER:
    case SQLITE_FLOAT: {
        char value[8];
        if (kind == SQLITE_INTEGER) {
            const sqlite3_int64 v = sqlite3_column_int64(m_statement, column);
            memcpy(value, &v, sizeof value);
        } else {
            const double v = sqlite3_column_double(m_statement, column);
            memcpy(value, &v, sizeof value);
        }
        out.resize(at + 1 + qsizetype(sizeof value));
        char *to = out.data() + at;
        *to = tag;
        memcpy(to + 1, value, sizeof value);
        break;
    }
    case SQLITE_TEXT:
    case SQLITE_BLOB: {
        const char *bytes = kind == SQLITE_TEXT
                                ? reinterpret_cast<const char *>(sqlite3_column_text(m_statement, column))
                                : static_cast<const char *>(sqlite3_column_blob(m_statement, column));
        const qint32 length = sqlite3_column_bytes(m_statement, column);
        out.resize(at + 1 + qsizetype(sizeof length) + length);
        char *to = out.data() + at;
        *to = tag;
        memcpy(to + 1, &length, sizeof length);
        if (length > 0)
            memcpy(to + 1 + sizeof length, bytes, size_t(length));
        break;
    }
    default:
        out.append(tag);
        break;
    }
}

namespace {

// The driver's message of a failure, as QSqlError::text() writes it.
QString failure(sqlite3 *db, const char *what)
{
    return QString::fromUtf8(sqlite3_errmsg(db)) + QLatin1Char(' ') + QString::fromLatin1(what);
}

bool bind(sqlite3_stmt *statement, int index, const QVariant &value)
{
    if (value.isNull())
        return sqlite3_bind_null(statement, index) == SQLITE_OK;
    switch (value.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::Long:
    case QMetaType::Short:
        return sqlite3_bind_int64(statement, index, value.toLongLong()) == SQLITE_OK;
    case QMetaType::Double:
    case QMetaType::Float:
        return sqlite3_bind_double(statement, index, value.toDouble()) == SQLITE_OK;
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        return sqlite3_bind_blob(statement, index, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT)
               == SQLITE_OK;
    }
    default: {
        const QByteArray text = value.toString().toUtf8();
        return sqlite3_bind_text(statement, index, text.constData(), int(text.size()), SQLITE_TRANSIENT)
               == SQLITE_OK;
    }
    }
}

} // namespace

bool forEachRow(const QString &sql, const QVariantMap &values, const std::function<void(const StatementRow &)> &readRow,
                QString *error)
{
    QString message;
    sqlite3 *db = defaultSqliteHandle(&message);
    if (!db) {
        if (error)
            *error = message;
        return false;
    }
    sqlite3_stmt *raw = nullptr;
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(db, text.constData(), int(text.size()), &raw, nullptr) != SQLITE_OK || !raw) {
        if (error)
            *error = failure(db, "Unable to execute statement");
        sqlite3_finalize(raw);
        return false;
    }
    const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt *)> statement(raw, sqlite3_finalize);
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        const int index = sqlite3_bind_parameter_index(raw, it.key().toUtf8().constData());
        if (index > 0 && !bind(raw, index, it.value())) {
            if (error)
                *error = failure(db, "Unable to bind parameters");
            return false;
        }
    }
    const StatementRow row(raw);
    for (;;) {
        const int step = sqlite3_step(raw);
        if (step == SQLITE_ROW) {
            readRow(row);
            continue;
        }
        if (step == SQLITE_DONE)
            return true;
        if (error)
            *error = failure(db, "Unable to fetch row");
        return false;
    }
}
