#pragma once
// Files the tests write and read back, and CSV text read as a spreadsheet
// reads it.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// The whole file; empty when it cannot be read.
QByteArray fileBytes(const QString &path);

// Replaces the file with `bytes`; false when it cannot be written.
bool writeFile(const QString &path, const QByteArray &bytes);

// Lines of fields: a field wrapped in double quotes may hold commas, line
// breaks and doubled quotes.
QList<QStringList> readCsv(const QString &text);
