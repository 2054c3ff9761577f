#pragma once
// Fixtures named by bytes that are not UTF-8, as on a disk copied from an old
// Windows machine: QFile cannot name them (its names are UTF-8 on Linux).

#include <QByteArray>

#include <cstdio>

#include <fcntl.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

inline void MakeRawFolder(const QByteArray &path)
{
    if (::mkdir(path.constData(), 0755) != 0)
        qFatal("cannot make the folder %s", path.constData());
}

inline void WriteRawFile(const QByteArray &path, const QByteArray &bytes)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0 || ::write(fd, bytes.constData(), size_t(bytes.size())) != bytes.size())
        qFatal("cannot write %s", path.constData());
    ::close(fd);
}

// Removes the tree at path, whatever bytes its names are (QDir::removeRecursively
// cannot remove what QFile cannot name); links are removed, not followed.
inline void RemoveRawTree(const QByteArray &path)
{
    ::nftw(
        path.constData(),
        [](const char *entry, const struct stat *, int, FTW *) { return std::remove(entry); },
        16, FTW_DEPTH | FTW_PHYS);
}

// Removes the tree at path when it goes out of scope.
class RawTreeRemover
{
public:
    explicit RawTreeRemover(QByteArray path) : m_path(std::move(path)) {}
    ~RawTreeRemover() { RemoveRawTree(m_path); }
    RawTreeRemover(const RawTreeRemover &) = delete;
    RawTreeRemover &operator=(const RawTreeRemover &) = delete;

private:
    QByteArray m_path;
};
