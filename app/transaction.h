#pragma once
// Writing several rows as one: all of them or none.

#include <QString>
#include <functional>

// Runs `work` inside one transaction on the default connection. Commits when
// `work` returns true; rolls back when it returns false or when the commit
// fails. Returns true when committed. On failure `error` holds the driver's
// text (or what `work` put there; `work` may leave it empty to roll back
// without an error, e.g. when there was nothing to write).
bool runInTransaction(const std::function<bool(QString *error)> &work, QString *error);
