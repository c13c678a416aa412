#pragma once
// The floor of a list: the list's own statement, its bindings written in as
// SQL literals, run by the sqlite3 command-line shell on the benchmark's own
// database file with its output discarded. This is the engine's own time
// without Qt's driver; a window showing the rows cannot beat it.

#include <QList>
#include <QString>
#include <QVariantList>
#include <QVariantMap>

// A list's statement as its window runs it: named bindings (":fy" or "fy")
// or positional ones ("?"), in order.
struct ListStatement
{
    ListStatement(const QString &statement, const QVariantMap &namedValues = {})
        : sql(statement), named(namedValues) {}
    ListStatement(const QString &statement, const QVariantList &positionalValues)
        : sql(statement), positional(positionalValues) {}

    QString sql;
    QVariantMap named;
    QVariantList positional;
};

// `statement` with every binding replaced by its SQL literal: NULL, a number,
// or text in single quotes with each quote doubled. Marks inside quoted text,
// quoted names and comments are left alone. Stops the program on a binding
// with no value.
QString withLiterals(const ListStatement &statement);

// Milliseconds of the fastest of `runs` runs of `statement` by the sqlite3
// shell on the open database's file, output to the null device. First checks
// that the shell counts the same rows as the benchmark's own connection, so
// that writes not yet committed cannot make the floor look low; stops the
// program when they differ or the shell is missing.
double shellFloorMs(const ListStatement &statement, int runs = 3);
// The same for a window's statements, run one after another by one shell.
double shellFloorMs(const QList<ListStatement> &statements, int runs = 3);
