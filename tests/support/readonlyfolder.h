#pragma once
// A folder in which no file can be written, for one test: its permissions
// allow reading only. Where the tests run as root, whom permissions do not
// bind, the thread's file access runs as an unprivileged user while the
// folder is locked, so that the permissions bind as for an office user.

#include <QString>
#include <QTemporaryDir>

class ReadOnlyFolder
{
public:
    ReadOnlyFolder();
    ~ReadOnlyFolder();
    ReadOnlyFolder(const ReadOnlyFolder &) = delete;
    ReadOnlyFolder &operator=(const ReadOnlyFolder &) = delete;

    // The folder, writable until lock().
    QString path() const { return m_path; }
    // Makes the folder read-only (and drops root's file access); unlocked
    // again when the object goes.
    void lock();

private:
    void unlock();

    QTemporaryDir m_parent;
    QString m_path;
    bool m_locked = false;
    bool m_asRoot = false;
};
