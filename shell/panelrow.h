#pragma once
// A row a panel shows and writes back (the company record, the login user):
// written only while it is still as the panel read it or last wrote it.

#include "core/listedrow.h"

#include <QString>
#include <QVariant>

struct PanelRow
{
    // The columns the panel shows and writes: only a change of one of them
    // meanwhile refuses its save.
    RowSource source;
    QVariant key;
    // The row as read or as last written here; not found when it was missing.
    StoredRow stored;
};

// Runs `sql` with `values` while the row is still exactly `row->stored` (a
// row missing then missing still), then keeps in `row->stored` the row as it
// stands after the write, so that the panel's next save is compared with its
// own write. Otherwise nothing is written and `error` says why: the row,
// named `name`, changed, created or deleted meanwhile (with `wayOn` after
// it, how to go on), or the driver's text.
bool writePanelRow(PanelRow *row, const QString &name, const QString &wayOn, const QString &sql,
                   const QVariantMap &values, QString *error);
