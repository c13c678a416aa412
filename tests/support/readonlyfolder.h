#pragma once
// A folder in which no file can be written once locked: its permissions allow
// reading only, and where the tests run as root, whom permissions do not bind,
// the thread's file access runs as the user "nobody" until the object goes.

#include <QString>
#include <QTemporaryDir>

class ReadOnlyFolder
{
public:
    ReadOnlyFolder();
    ~ReadOnlyFolder();
    ReadOnlyFolder(const ReadOnlyFolder &) = delete;
    ReadOnlyFolder &operator=(const ReadOnlyFolder &) = delete;

    QString path() const { return m_path; } // writable until lock()
    void lock();

private:
    QTemporaryDir m_parent;
    QString m_path;
    bool m_asNobody = false;
};
