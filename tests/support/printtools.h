#pragma once
// For the printed documents' tests: runs with an empty program search path,
// so that only the application folder can hold the rendering tool.

#include <QByteArray>
#include <QTemporaryDir>
#include <QtGlobal>

class NoToolOnPath
{
public:
    NoToolOnPath() : m_saved(qgetenv("PATH")) { qputenv("PATH", m_empty.path().toUtf8()); }
    ~NoToolOnPath() { qputenv("PATH", m_saved); }

private:
    QByteArray m_saved;
    QTemporaryDir m_empty;
};
