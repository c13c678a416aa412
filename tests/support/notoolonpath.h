#pragma once
// While it lives, the program search path holds no wkhtmltoimage: a document
// finds the tool only in the application folder.

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
