#pragma once
// Database helpers the customer and item masters share.

#include "core/listedrow.h"

#include <QList>
#include <QPair>
#include <QStringList>

#include <functional>

// What came of a write of a master row: written; refused because another
// row already has its name, GST number or code (Duplicate), or because the
// listed row was changed or deleted meanwhile (Stale); or failed.
enum class MasterWrite { Written, Duplicate, Stale, Failed };

// For each (table, description) pair whose table has a row with `column`
// equal to `id`, the description, in the order given. A table that cannot be
// read counts as unused.
QStringList documentsUsing(const QString &column, int id, const QList<QPair<QString, QString>> &tables);

// "<what> is still used by A, B!\nIt cannot be deleted."
QString stillUsedText(const QString &what, const QStringList &uses);

// Runs a write of a master row (core/listedrow.h): the rows in `listed`
// compared first (none for a new row; one no longer as loaded gives Stale),
// then `write`, which sets `duplicate` when another row already has the
// name, GST number or code. Failed gives the reason in `error`.
MasterWrite writeMasterRow(const QList<LoadedRow> &listed,
                           const std::function<bool(bool *duplicate, QString *failure)> &write, QString *error);

// The listed master row `id` of `source`, named `row`, as Update writes it:
// refused with how to go on, the typed fields kept, for a `noun` such as
// "customer".
LoadedRow masterUpdateRow(const RowSource &source, int id, const StoredRow &loaded, const QString &row,
                          const QString &noun);

// Deletes the listed master row `id` by `sql` (bound by ":id"), only while it
// is still stored as `loaded` and `deletionRefusal` then gives no reason
// against: otherwise false, nothing written, and why (and how to go on) in
// `error`.
bool deleteMasterRow(const RowSource &source, int id, const StoredRow &loaded, const QString &row,
                     const QString &noun, const QString &sql, const std::function<QString()> &deletionRefusal,
                     QString *error);
