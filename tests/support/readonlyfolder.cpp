#include "readonlyfolder.h"

#include <QDir>
#include <QFile>

#include <sys/fsuid.h>
#include <unistd.h>

namespace {

// The user "nobody" on Linux.
constexpr uid_t Unprivileged = 65534;

} // namespace

ReadOnlyFolder::ReadOnlyFolder()
    : m_path(m_parent.path() + QStringLiteral("/read-only"))
{
    QDir().mkpath(m_path);
    // Reachable by the unprivileged user.
    QFile::setPermissions(m_parent.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther
                                               | QFile::ExeOther | QFile::ReadGroup | QFile::ExeGroup);
}

ReadOnlyFolder::~ReadOnlyFolder()
{
    unlock();
}

void ReadOnlyFolder::lock()
{
    if (m_locked)
        return;
    QFile::setPermissions(m_path, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup
                                      | QFile::ReadOther | QFile::ExeOther);
    m_asRoot = geteuid() == 0;
    if (m_asRoot)
        setfsuid(Unprivileged);
    m_locked = true;
}

void ReadOnlyFolder::unlock()
{
    if (!m_locked)
        return;
    if (m_asRoot)
        setfsuid(0);
    QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    m_locked = false;
}
