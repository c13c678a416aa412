#pragma once
// Changing or deleting one row that a list showed, by its key.

#include <QList>
#include <QString>
#include <QVariantMap>

#include <functional>

// Runs one UPDATE or DELETE of a listed row, bound by the row's key, on the
// default connection inside the caller's open transaction. When it touches no
// row (the row was deleted meanwhile, e.g. in another copy of the program),
// it returns false with `goneText` in `error`; on a failure of the statement,
// false with the driver's text. The caller rolls back either way.
// "<row> no longer exists; it may have been deleted in another window.", the
// text of a listed row gone meanwhile ("This expense"), with " Nothing was
// saved." after it when `nothingSaved`.
QString rowGoneText(const QString &row, bool nothingSaved = false);

bool execListedRow(const QString &sql, const QVariantMap &values, const QString &goneText, QString *error);

// The same in a write transaction of its own (runInTransaction): the row is
// written only while it is still there and, given a `refusal`, while that
// gives no reason against (the reason is then the error).
bool writeListedRow(const QString &sql, const QVariantMap &values, const QString &goneText, QString *error,
                    const std::function<QString()> &refusal = {});

// The ids that `sql` gives in its first column, appended to `ids` in its
// order. False with the driver's text in `error` when they cannot be read.
bool readRowIds(const QString &sql, const QVariantMap &values, QList<int> *ids, QString *error = nullptr);

// Whether `sql` still gives exactly the ids a form loaded, `loadedIds` (none
// loaded: never). Read inside the caller's transaction, the rows compared are
// the rows it then writes.
bool rowIdsAre(const QString &sql, const QVariantMap &values, const QList<int> &loadedIds, bool *same,
               QString *error);
