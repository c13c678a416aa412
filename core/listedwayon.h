#pragma once
// A refusal of a listed row that says how to go on in the window.

#include "listedrow.h"

// Inside the caller's open transaction: listedRowRefusal (`row` names the
// row), and after the text of a row changed meanwhile `changedWayOn`, after
// the text of a row deleted meanwhile `goneWayOn` (each, when not empty,
// after a space): what the user can do next in the window that showed it.
// `stale`, when given, is set to whether the row was changed or deleted
// meanwhile (as against a read that failed, or no refusal).
QString listedRowRefusalWithWayOn(const RowSource &source, const QVariant &key, const StoredRow &loaded,
                                  const QString &row, const QString &changedWayOn, const QString &goneWayOn,
                                  bool *stale = nullptr);
