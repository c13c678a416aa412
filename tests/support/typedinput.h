#pragma once
// Hostile texts for the typed-number fields and cells of the forms, and the
// check that what they stored is sound.

#include <QString>
#include <QStringList>

namespace typedinput {

// Texts that are no number: overflow, NaN and infinities in several
// spellings, words, a decimal comma and digit grouping.
QStringList notANumber();

// Test data: a column "text" with a row for each text of notANumber() and,
// `withEmpty`, one for empty text and one for spaces.
void addTextRows(bool withEmpty = true);

// Rows of `table` whose REAL `column` holds anything but a finite number:
// NULL (how SQLite keeps NaN), text, a blob, or an infinity.
int unsoundReals(const QString &table, const QString &column);

} // namespace typedinput
