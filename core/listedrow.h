#pragma once
// Changing or deleting one row that a list showed, by its key.

#include <QString>
#include <QVariantMap>

// Runs one UPDATE or DELETE of a listed row, bound by the row's key, on the
// default connection inside the caller's open transaction. When it touches no
// row (the row was deleted meanwhile, e.g. in another copy of the program),
// it returns false with `goneText` in `error`; on a failure of the statement,
// false with the driver's text. The caller rolls back either way.
bool execListedRow(const QString &sql, const QVariantMap &values, const QString &goneText, QString *error);

// The same in a write transaction of its own (runInTransaction): the row is
// written only while it is still there.
bool writeListedRow(const QString &sql, const QVariantMap &values, const QString &goneText, QString *error);
