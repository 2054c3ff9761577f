#pragma once
// A folder that refuses new files while the object lives. Root passes every
// permission check but not the immutable flag; others get a read-only mode.

#include <QFile>
#include <QProcess>
#include <QString>

#include <unistd.h>

class LockedFolder
{
public:
    explicit LockedFolder(const QString &path) : m_path(path)
    {
        if (geteuid() == 0)
            QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), path});
        else
            QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner);
        QFile probe(path + QStringLiteral("/probe"));
        m_locked = !probe.open(QIODevice::WriteOnly);
        if (!m_locked)
            probe.remove();
    }
    ~LockedFolder()
    {
        if (geteuid() == 0)
            QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), m_path});
        QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    LockedFolder(const LockedFolder &) = delete;
    LockedFolder &operator=(const LockedFolder &) = delete;

    // False where neither way keeps new files out (the test should skip then).
    bool IsLocked() const { return m_locked; }

private:
    QString m_path;
    bool m_locked = false;
};
