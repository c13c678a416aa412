#pragma once
// Changing or deleting a row that a list or form showed, only while it is
// still as it was shown.
//
// A list or form keeps what it read of a row as a `StoredRow`: a digest of
// every stored column of the row and, for an invoice or a bill, of every
// payment recorded against it (or, for a document of several lines, of
// every column of every line). Every write of such a row goes through
// `writeLoadedRows`: inside the write transaction, before anything is
// written, the row is read again through the same reader and compared; when
// it was changed or deleted meanwhile, e.g. in a second copy of the program
// on the same file, nothing is written and the user is told which row it was
// and how to go on.

#include <QList>
#include <QPair>
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

    bool found() const { return m_found; }

    friend bool operator==(const StoredRow &a, const StoredRow &b)
    {
        return a.m_found == b.m_found && a.m_columns == b.m_columns && a.m_dependentCount == b.m_dependentCount
               && a.m_dependents == b.m_dependents;
    }
    friend bool operator!=(const StoredRow &a, const StoredRow &b) { return !(a == b); }

private:
    // A 64-bit hash of the values' bytes, and their number.
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

// The lines of one document (an inward entry, a delivery challan, an
// invoice's items): every column of every row `sql` gives ("SELECT ..." with
// an ORDER BY that makes its order fixed), as the dependents of one
// StoredRow, found when there is at least one line. False with the driver's
// text when they cannot be read.
bool readStoredLines(const QString &sql, const QVariantMap &values, StoredRow *lines, QString *error = nullptr);

// What came of a write of loaded rows.
enum class ListedWrite { Written, Stale, Failed };
struct RowWrite
{
    ListedWrite result = ListedWrite::Failed;
    // Stale: the refusal naming the row, with its way on; Failed: the
    // driver's text, or the write's own reason.
    QString error;
    // Stale: which of the rows it was.
    int staleRow = -1;
    // Written, of one row: the row as it stands after the write, read in the
    // same transaction (a row deleted: not found), for the form to keep as
    // its own.
    StoredRow written;

    bool ok() const { return result == ListedWrite::Written; }
    // The same, giving `error` (when not null) what went wrong.
    bool ok(QString *why) const
    {
        if (why)
            *why = error;
        return ok();
    }
};

// A row a list or form showed and now writes back, or the lines of a
// document: how it is read again, what it was when loaded, and what the user
// is told when it is no longer so.
struct LoadedRow
{
    // The row `key` of `source` (readStoredRow; `source` outlives the row). A
    // row loaded not found must still be missing: found meanwhile it is
    // refused as "created".
    LoadedRow(const RowSource &source, const QVariant &key, const StoredRow &asLoaded, const QString &rowName);
    // The lines `sql` gives bound with `values` (readStoredLines). Lines
    // loaded and none now are a document gone; none loaded must be none still
    // (an invoice cancelled keeps no lines).
    LoadedRow(const QString &sql, const QVariantMap &values, const StoredRow &asLoaded, const QString &rowName);

    StoredRow loaded;
    // The row's name as the list shows it ("Expense #1 (Diesel)").
    QString name;
    // The texts of a row changed or gone meanwhile; when empty,
    // rowChangedText(name) and rowGoneText(name, true).
    QString changedText;
    QString goneText;
    // What the user can do next in the window, after the text of a row
    // changed (or created) meanwhile, and of a row gone (each after a space).
    QString changedWayOn;
    QString goneWayOn;

private:
    friend RowWrite writeLoadedRows(const QList<LoadedRow> &, const std::function<bool(QString *)> &);
    // The row as it is stored now; false with the driver's text.
    bool readNow(StoredRow *now, QString *error) const;
    // Inside the write transaction: why the row may not be written, or an
    // empty text while it is still as loaded; `stale` tells a refusal from a
    // read that failed.
    QString refusal(bool *stale) const;

    const RowSource *m_source = nullptr;
    QVariant m_key;
    QString m_linesSql;
    QVariantMap m_linesValues;
};

// The one way a loaded row is written. Opens the write transaction (or joins
// the caller's open one, core/transaction.h), compares each of `rows` in
// order with what it was when loaded (the first one no longer so: Stale, its
// text and way on in `error`), then runs `write` (false: Failed, with the
// driver's text or the write's own reason, e.g. a name taken meanwhile). A
// write that changed no row at all found nothing to write: Stale, as the
// first row gone. Nothing is written unless the result is Written. With no
// rows it is a write of new rows with the checks `write` makes.
RowWrite writeLoadedRows(const QList<LoadedRow> &rows, const std::function<bool(QString *error)> &write);

// The same with the statements to run, in order, each its SQL and its values
// bound by name.
RowWrite writeLoadedRows(const QList<LoadedRow> &rows, const QList<QPair<QString, QVariantMap>> &statements);
