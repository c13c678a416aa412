#include "listedwayon.h"

QString listedRowRefusalWithWayOn(const RowSource &source, const QVariant &key, const StoredRow &loaded,
                                  const QString &row, const QString &changedWayOn, const QString &goneWayOn,
                                  bool *stale)
{
    const QString changed = rowChangedText(row);
    QString reason = listedRowRefusal(source, key, loaded, row, changed);
    const bool wasChanged = reason == changed;
    const bool wasGone = !wasChanged && reason == rowGoneText(row, true);
    if (stale)
        *stale = wasChanged || wasGone;
    const QString wayOn = wasChanged ? changedWayOn : wasGone ? goneWayOn : QString();
    if (!wayOn.isEmpty())
        reason += QLatin1Char(' ') + wayOn;
    return reason;
}
