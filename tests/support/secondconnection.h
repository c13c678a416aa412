#pragma once
// Another copy of the program writing into the file of the default connection.

#include <QString>

#include <functional>

// Runs the ";"-separated statements on a connection of their own, in one
// write transaction; a failing one stops the test program.
void writeAsOtherCopy(const QString &statements);

// Another copy writes the statements and holds the write lock while `save`
// runs here, committing 300 ms later: `save` reads the file as it was, waits
// for the lock, and then finds what the other copy wrote.
void saveWhileOtherCopyWrites(const QString &statements, const std::function<void()> &save);
