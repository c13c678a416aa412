#pragma once
// Changing or deleting one row that a list or form showed, only while it is
// still as it was shown.
//
// A form keeps the row as it read it (`StoredRow`: every column as stored,
// and for an invoice or a bill the payments recorded against it). Inside the
// write transaction, before anything is written, the row is read again
// (`listedRowRefusal`); when it was changed or deleted meanwhile, e.g. in a
// second copy of the program on the same file, nothing is written and the
// user is told which row it was.

#include <QList>
#include <QString>
#include <QVariant>
#include <QVariantMap>

#include <functional>

class QSqlQuery;
class StatementRow;

// "<row> no longer exists; it may have been deleted in another window.", the
// text of a listed row gone meanwhile ("This expense"), with " Nothing was
// saved." after it when `nothingSaved`.
QString rowGoneText(const QString &row, bool nothingSaved = false);

// "<row> was <how> meanwhile, perhaps in another window." and then, after a
// space, `outcome`: the text of a row that is no longer as it was shown.
// `how` defaults to "changed or deleted", `outcome` to "Nothing was saved.".
QString rowChangedText(const QString &row, const QString &how = QString(), const QString &outcome = QString());

// A row as it was stored when it was read.
struct StoredRow
{
    // Every column, in the order "SELECT *" gives them; empty when the row
    // was not found.
    QVariantList columns;
    // The rows stored against it (the payments of an invoice or a bill), as
    // the source's dependents statement gives them.
    QList<QVariantList> dependents;

    bool found() const { return !columns.isEmpty(); }
};

// Equal when every column and every dependent row holds the same stored
// value: the same kind (integer, real, text, blob) and the same value, reals
// compared exactly, NULL equal only to NULL.
bool operator==(const StoredRow &a, const StoredRow &b);
inline bool operator!=(const StoredRow &a, const StoredRow &b) { return !(a == b); }

// Where a row is stored: "SELECT * FROM <table> WHERE <keyColumn> = :key",
// and optionally the statement that gives the rows stored against it, bound
// with the same :key and with an ORDER BY that makes its order fixed.
struct RowSource
{
    QString table;
    QString keyColumn;
    QString dependentsSql;
};

// Reads the row `key` of `source` (and its dependents) into `row`; a row
// that is not there gives an empty `row` and true. False with the driver's
// text when it cannot be read.
bool readStoredRow(const RowSource &source, const QVariant &key, StoredRow *row, QString *error = nullptr);

// For lists that read many rows at once: the current row of a query whose
// columns `first` to `first + count - 1` are the table's every column in
// its order (as "t.*" selects them); `count` -1 takes them to the end, at
// the cost of reading the query's record for each row (a list of thousands
// passes the count it read once). The dependents are not read.
StoredRow storedRowOf(const QSqlQuery &q, int first = 0, int count = -1);
StoredRow storedRowOf(const StatementRow &row, int columnCount, int first = 0, int count = -1);

// Inside the caller's open transaction: why the row `key` may not be
// written, or an empty text when it is still exactly `loaded`. A row gone
// gives rowGoneText(row, true), a row changed rowChangedText(row) (or
// `changedText` when given), a failed read the driver's text.
QString listedRowRefusal(const RowSource &source, const QVariant &key, const StoredRow &loaded, const QString &row,
                         const QString &changedText = QString());

// Runs one UPDATE or DELETE of a listed row, bound by the row's key, on the
// default connection inside the caller's open transaction. When it touches no
// row (the row was deleted meanwhile), it returns false with `goneText` in
// `error`; on a failure of the statement, false with the driver's text. The
// caller rolls back either way.
bool execListedRow(const QString &sql, const QVariantMap &values, const QString &goneText, QString *error);

// The same in a write transaction of its own (runInTransaction): the row is
// written only while it is still there and, given a `refusal`, while that
// gives no reason against (the reason is then the error).
bool writeListedRow(const QString &sql, const QVariantMap &values, const QString &goneText, QString *error,
                    const std::function<QString()> &refusal = {});

// One UPDATE or DELETE of the row `key` of `source` in a write transaction
// of its own, run only while the row is still exactly `loaded`
// (listedRowRefusal, named `row` in its texts) and, given a `refusal`, while
// that gives no reason against. False, nothing written, with the reason in
// `error` otherwise.
bool writeLoadedRow(const QString &sql, const QVariantMap &values, const RowSource &source, const QVariant &key,
                    const StoredRow &loaded, const QString &row, QString *error,
                    const std::function<QString()> &refusal = {});

// The ids that `sql` gives in its first column, appended to `ids` in its
// order. False with the driver's text in `error` when they cannot be read.
bool readRowIds(const QString &sql, const QVariantMap &values, QList<int> *ids, QString *error = nullptr);

// Whether `sql` still gives exactly the ids a form loaded, `loadedIds` (none
// loaded: never). Read inside the caller's transaction, the rows compared are
// the rows it then writes.
bool rowIdsAre(const QString &sql, const QVariantMap &values, const QList<int> &loadedIds, bool *same,
               QString *error);
