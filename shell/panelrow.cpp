#include "panelrow.h"

bool writePanelRow(PanelRow *row, const QString &name, const QString &wayOn, const QString &sql,
                   const QVariantMap &values, QString *error)
{
    LoadedRow loaded(row->source, row->key, row->stored, name);
    loaded.changedWayOn = wayOn;
    loaded.goneWayOn = wayOn;
    const RowWrite outcome = writeLoadedRows({loaded}, {{sql, values}});
    if (outcome.ok(error))
        row->stored = outcome.written;
    return outcome.ok();
}
