#include "panelrow.h"

#include "core/transaction.h"

bool writePanelRow(PanelRow *row, const QString &name, const QString &wayOn,
                   const std::function<bool(QString *error)> &write, QString *error)
{
    StoredRow after;
    const bool written = runInTransaction(
        [&](QString *failure) {
            if (row->stored.found()) {
                *failure = listedRowRefusalWithWayOn(row->source, row->key, row->stored, name, wayOn, wayOn);
                if (!failure->isEmpty())
                    return false;
            } else {
                // Missing when read: it must be missing still.
                StoredRow now;
                if (!readStoredRow(row->source, row->key, &now, failure))
                    return false;
                if (now.found()) {
                    *failure = rowChangedText(name, QStringLiteral("created")) + QLatin1Char(' ') + wayOn;
                    return false;
                }
            }
            return write(failure) && readStoredRow(row->source, row->key, &after, failure);
        },
        error);
    if (written)
        row->stored = after;
    return written;
}
