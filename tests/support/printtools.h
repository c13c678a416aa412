#pragma once
// For the printed documents' tests: the files a print left in a folder, and
// (notoolonpath.h) runs without an installed rendering tool.

#include "notoolonpath.h"

#include <QDir>
#include <QStringList>

// The files in `folder` whose names match `pattern` ("invoice_*").
inline QStringList filesIn(const QString &folder, const QString &pattern)
{
    return QDir(folder).entryList({pattern}, QDir::Files);
}
