#pragma once
// Changing or deleting a row that a list or form showed, only while it is
// still as it was shown.
//
// A list or form keeps what it read of a row as a `StoredRow`: a digest of
// every stored column of the row and, for an invoice or a bill, of every
// payment recorded against it (or, for a document of several lines, of
// every column of every line). Inside the write transaction, before
// anything is written, the row is read again through the same reader and
// compared (`listedRowRefusal`, `listedRowsRefusal`, `storedLinesRefusal`);
// when it was changed or deleted meanwhile, e.g. in a second copy of the
// program on the same file, nothing is written and the user is told which
// row it was and how to go on.

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

#include <functional>

class StatementRow;

// A row's name in a refusal as the list shows it, at most `length`
// characters: a longer one is cut and ends in "…".
QString shortRowName(const QString &name, int length = 40);

// "<row> no longer exists; it may have been deleted in another window.", the
// text of a listed row gone meanwhile ("This expense"), with " Nothing was
// saved." after it when `nothingSaved`.
QString rowGoneText(const QString &row, bool nothingSaved = false);

// "<row> was <how> meanwhile, perhaps in another window." and then, after a
// space, `outcome`: the text of a row that is no longer as it was shown.
// `how` defaults to "changed or deleted", `outcome` to "Nothing was saved.".
QString rowChangedText(const QString &row, const QString &how = QString(), const QString &outcome = QString());

// What a row was when it was read: a digest of its stored values, taken
// from the values as SQLite holds them (the kind - integer, real, text,
// blob, NULL - and the exact value: a real to its last bit, a text by its
// bytes, so a text that is not valid UTF-8 still equals itself).
class StoredRow
{
public:
    // No row: what a row that was not found reads as.
    StoredRow() = default;

    // Columns `first` to `first + count - 1` of a row that forEachRow gives.
    static StoredRow of(const StatementRow &row, int first, int count);

    // Adds one row stored against this one (a payment, a document's line),
    // columns `first` to `first + count - 1`; dependents are compared in the
    // order they were added. Adding one to a row not found makes it found
    // (the lines of a document read on their own).
    void addDependent(const StatementRow &row, int first, int count);

    // Forgets the dependents, to add them again from another statement.
    void clearDependents();

    bool found() const { return m_found; }
    int dependentCount() const { return m_dependentCount; }

    friend bool operator==(const StoredRow &a, const StoredRow &b)
    {
        return a.m_found == b.m_found && a.m_columns == b.m_columns && a.m_dependentCount == b.m_dependentCount
               && a.m_dependents == b.m_dependents;
    }
    friend bool operator!=(const StoredRow &a, const StoredRow &b) { return !(a == b); }

private:
    // 128 bits of the values, two hashes with seeds of their own.
    struct Digest
    {
        quint64 first = 0;
        quint64 second = 0;
        bool operator==(const Digest &o) const { return first == o.first && second == o.second; }
    };
    static Digest digestOf(const StatementRow &row, int first, int count, const Digest &before);

    bool m_found = false;
    Digest m_columns;
    Digest m_dependents;
    int m_dependentCount = 0;
};

// Where a row is stored: "SELECT <columns> FROM <table> WHERE <keyColumn> =
// :key", and optionally the statement that gives the rows stored against it,
// bound with the same :key, with an ORDER BY that makes its order fixed; each
// of its rows is a dependent with every column it selects.
struct RowSource
{
    QString table;
    QString keyColumn;
    // The stored columns kept and compared, in this order.
    QStringList columns;
    QString dependentsSql;

    // The columns as a list reads them in its own statement, beside what it
    // shows: "a.x, a.y, ..." with `alias` (or "x, y, ..." without).
    QString columnList(const QString &alias = QString()) const;
};

// Reads the row `key` of `source` (and its dependents) into `row`; a row that
// is not there gives a row not found and true. False with the driver's text
// when it cannot be read.
bool readStoredRow(const RowSource &source, const QVariant &key, StoredRow *row, QString *error = nullptr);

// Inside the caller's open transaction: why the row `key` may not be
// written, or an empty text when it is still exactly `loaded`. A row gone
// gives rowGoneText(row, true), a row changed rowChangedText(row) (or
// `changedText` when given), a failed read the driver's text. `row` is the
// row's name as the list shows it ("Expense #1 (Diesel)").
QString listedRowRefusal(const RowSource &source, const QVariant &key, const StoredRow &loaded, const QString &row,
                         const QString &changedText = QString());

// The same, with what the user can do next in the window that showed the
// row: `changedWayOn` after the text of a row changed meanwhile, `goneWayOn`
// after the text of a row deleted meanwhile (each, when not empty, after a
// space). `stale`, when given, is set to whether the row was changed or
// deleted meanwhile (as against a read that failed, or no refusal).
QString listedRowRefusalWithWayOn(const RowSource &source, const QVariant &key, const StoredRow &loaded,
                                  const QString &row, const QString &changedWayOn, const QString &goneWayOn,
                                  bool *stale = nullptr);

// One row of a list as it was listed, and its name in a refusal.
struct ListedRow
{
    QVariant key;
    StoredRow stored;
    QString name;
};

// The same for several rows of one source, in their order: the refusal of
// the first that is no longer as listed, or an empty text.
QString listedRowsRefusal(const RowSource &source, const QList<ListedRow> &rows,
                          const QString &changedText = QString());

// The lines of one document (an inward entry, a delivery challan, an
// invoice's items): every column of every row `sql` gives ("SELECT ..." with
// an ORDER BY that makes its order fixed), as the dependents of one
// StoredRow, found when there is at least one line. False with the driver's
// text when they cannot be read.
bool readStoredLines(const QString &sql, const QVariantMap &values, StoredRow *lines, QString *error = nullptr);

// Inside the caller's open transaction: why the document `row` may not be
// written, or an empty text when `sql` still gives exactly the lines
// `loaded` holds (none loaded, or none now: gone).
QString storedLinesRefusal(const QString &sql, const QVariantMap &values, const StoredRow &loaded, const QString &row,
                           const QString &changedText = QString());

// Runs one UPDATE or DELETE of a listed row, bound by the row's key, on the
// default connection inside the caller's open transaction. When it touches no
// row (the row was deleted meanwhile), it returns false with `goneText` in
// `error`; on a failure of the statement, false with the driver's text. The
// caller rolls back either way.
bool execListedRow(const QString &sql, const QVariantMap &values, const QString &goneText, QString *error);

// One UPDATE or DELETE of the row `key` of `source` in a write transaction
// of its own, run only while the row is still exactly `loaded`
// (listedRowRefusal, named `row` in its texts) and, given a `refusal`, while
// that gives no reason against. False, nothing written, with the reason in
// `error` otherwise. Given `written`, it receives the row as it stands after
// the write, read in the same transaction (a deleted row: not found), for
// the form to keep as its own.
bool writeLoadedRow(const QString &sql, const QVariantMap &values, const RowSource &source, const QVariant &key,
                    const StoredRow &loaded, const QString &row, QString *error,
                    const std::function<QString()> &refusal = {}, StoredRow *written = nullptr);
