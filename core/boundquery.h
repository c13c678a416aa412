#pragma once
// Running one statement with named values, keeping the driver's message.

#include <QByteArray>
#include <QSqlQuery>
#include <QString>
#include <QVariantMap>

#include <functional>

struct sqlite3;
struct sqlite3_stmt;

// Prepares sql on q, binds each value to its placeholder (":name") and runs it.
// On failure returns false and gives the driver's error text, the one of the
// prepare when the statement could not even be prepared (a missing table).
bool execBound(QSqlQuery &q, const QString &sql, const QVariantMap &values, QString *error = nullptr);

// What StatementRow::text(column, last) keeps of a column from one row to
// the next.
struct RepeatedText
{
    QByteArray bytes;
    QString text;
};

// One row of a statement that forEachRow runs; valid only during the call
// that gives it. Columns are read when asked for, straight from SQLite.
class StatementRow
{
public:
    // As QSqlQuery::value gives it: an integer as qlonglong, a real as
    // double, a text as QString, a blob as QByteArray, NULL as a null value
    // (of no type, where QSqlQuery gives one of the column's type).
    QVariant value(int column) const;
    // A text column, or a blob column holding a text (CAST(x AS BLOB)),
    // decoded from its UTF-8 bytes; NULL gives a null string; a number as
    // value(column).toString() gives it.
    QString text(int column) const;
    // As text(column), decoded only when the column's bytes differ from
    // those of the row before, kept in `last`; rows that repeat it share one
    // text (an entry's columns on each of its lines).
    QString text(int column, RepeatedText &last) const;
    // value(column).toDouble() and value(column).toInt(), without the QVariant.
    double real(int column) const;
    int integer(int column) const;
    bool isNull(int column) const;
    int columnCount() const;
    // Appends the column as SQLite holds it to `out`, for a digest: a byte
    // of its storage class, then an integer's or a real's eight bytes, or a
    // text's or a blob's length and its own bytes as stored (a text not
    // converted); NULL adds its class alone.
    void appendStoredValue(QByteArray &out, int column) const;

private:
    friend bool forEachRow(const QString &, const QVariantMap &, const std::function<void(const StatementRow &)> &,
                           QString *);
    explicit StatementRow(sqlite3_stmt *statement) : m_statement(statement) {}
    sqlite3_stmt *m_statement;
};

// Runs sql with the named values on the default connection and calls readRow
// for each row. For lists of thousands of rows: a QSqlQuery turns every
// column of every row into a QVariant before it is asked for (each text
// through SQLite's conversion to UTF-16, then copied), which took longer
// than the statement itself; here a row's columns are read once, as asked.
// False with the driver's message (as execBound gives it) when the
// statement fails; the rows given before a failure stay given.
bool forEachRow(const QString &sql, const QVariantMap &values, const std::function<void(const StatementRow &)> &readRow,
                QString *error = nullptr);

// The SQLite connection under the default database; null (with `error` set)
// when it is no SQLite database.
sqlite3 *defaultSqliteHandle(QString *error = nullptr);
