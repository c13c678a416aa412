#pragma once
// The rows of one document of several lines (an inward entry, a delivery
// challan) as stored when a form loaded it: an update or delete runs only
// while every column of every one of them is still the same.

#include "core/listedrow.h"

#include <QString>
#include <QVariantMap>

// Every column of every row `sql` gives ("SELECT *" with an ORDER BY that
// makes its order fixed), kept as the dependents of `lines`. False with the
// driver's text in `error` when they cannot be read.
bool readStoredLines(const QString &sql, const QVariantMap &values, StoredRow *lines, QString *error = nullptr);

// Read inside the caller's transaction: whether `sql` still gives exactly
// the rows `loaded` holds (none loaded: never).
bool storedLinesAre(const QString &sql, const QVariantMap &values, const StoredRow &loaded, bool *same,
                    QString *error);
