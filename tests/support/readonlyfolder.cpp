#include "readonlyfolder.h"

#include <QDir>
#include <QFile>

#include <sys/fsuid.h>
#include <unistd.h>

static const QFile::Permissions ReadOnly = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup
                                               | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;

ReadOnlyFolder::ReadOnlyFolder()
    : m_path(m_parent.path() + QStringLiteral("/read-only"))
{
    QDir().mkpath(m_path);
    QFile::setPermissions(m_parent.path(), ReadOnly | QFile::WriteOwner); // reachable by "nobody"
}

ReadOnlyFolder::~ReadOnlyFolder()
{
    if (m_asNobody)
        setfsuid(0);
    QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void ReadOnlyFolder::lock()
{
    QFile::setPermissions(m_path, ReadOnly);
    m_asNobody = geteuid() == 0;
    if (m_asNobody)
        setfsuid(65534); // "nobody"
}
