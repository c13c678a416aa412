#pragma once
// Another copy of the program writing into the file of the default connection.

#include <QString>

// Runs the ";"-separated statements on a connection of their own, in one
// write transaction; a failing one stops the test program.
void writeAsOtherCopy(const QString &statements);
