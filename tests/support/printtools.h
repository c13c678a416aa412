#pragma once
// For the printed documents' tests: the files a print left in a folder, and
// runs with an empty program search path, so that only the application
// folder can hold the rendering tool.

#include <QByteArray>
#include <QDir>
#include <QStringList>
#include <QTemporaryDir>
#include <QtGlobal>

// The files in `folder` whose names match `pattern` ("invoice_*").
inline QStringList filesIn(const QString &folder, const QString &pattern)
{
    return QDir(folder).entryList({pattern}, QDir::Files);
}

class NoToolOnPath
{
public:
    NoToolOnPath() : m_saved(qgetenv("PATH")) { qputenv("PATH", m_empty.path().toUtf8()); }
    ~NoToolOnPath() { qputenv("PATH", m_saved); }

private:
    QByteArray m_saved;
    QTemporaryDir m_empty;
};
