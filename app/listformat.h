#pragma once
// How the lists show stored values.

#include <QString>

// A quantity with three decimals: 12.5 gives "12.500".
QString quantityText(double qty);

// A stored "yyyy-MM-dd" date as "dd-MM-yyyy"; any other text as stored.
QString storedDateText(const QString &stored);
