#pragma once
// Database helpers the customer and item masters share.

#include <QList>
#include <QPair>
#include <QStringList>

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
