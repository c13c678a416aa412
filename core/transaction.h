#pragma once
// Writing several rows as one: all of them or none.

#include <QString>
#include <functional>

// Runs `work` inside one write transaction on the default connection. Commits
// when `work` returns true; rolls back when it returns false or when the
// commit fails. Returns true when committed. On failure `error` holds the
// driver's text (or what `work` put there; `work` may leave it empty to roll
// back without an error, e.g. when there was nothing to write).
//
// The transaction takes the file's write lock before `work` reads anything
// (SQLite's "BEGIN IMMEDIATE"). So what `work` reads (a number still free, a
// balance still open) stays true until its rows are committed, even with a
// second copy of the program saving into the same file: that copy's write
// transaction waits for this one to end, then reads what it wrote. While
// another connection holds the lock, the start waits for it up to the
// connection's busy timeout (5 s) and then fails with "database is locked",
// `work` not run and nothing written.
//
// Called while a transaction is open on the connection (from inside another
// `work`), it joins it: `work` runs under a savepoint, so what it wrote is
// undone when it returns false, and the open transaction commits the rest.
bool runInTransaction(const std::function<bool(QString *error)> &work, QString *error);
