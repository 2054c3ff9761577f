#include "platform/KeptCopy.h"
#include "platform/AtomicFile.h"
#include "platform/UserFolders.h"
#include "platform/VarnokelError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Beyond this many copies of one file something else is wrong.
constexpr int kMostCopies = 999;

// A file descriptor that closes itself.
class Descriptor
{
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int Get() const { return m_fd; }

private:
    int m_fd;
};

[[noreturn]] void RaiseKeepError(const QString &fileName, const QString &copy, int error)
{
    const QString file = QDir::toNativeSeparators(fileName);
    throw VarnokelError(copy.isEmpty()
            ? QStringLiteral("Unable to keep a copy of %1: %2").arg(file, qt_error_string(error))
            : QStringLiteral("Unable to keep a copy of %1 as %2: %3")
                  .arg(file, QDir::toNativeSeparators(copy), qt_error_string(error)));
}

// Opens the source for reading; a FIFO or device is no file to copy.
int OpenSource(const QString &fileName)
{
    const int fd = ::open(QFile::encodeName(fileName).constData(),
                          O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat info;
    if (fd >= 0 && (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))) {
        ::close(fd);
        errno = EINVAL;
        return -1;
    }
    return fd;
}

// Creates the first free name of base, base.2, base.3 ...; -1 with errno set when
// none can be made. O_EXCL also refuses a symbolic link, even a dangling one.
int CreateFirstFree(const QString &base, QString &path)
{
    for (int number = 1; number <= kMostCopies; ++number) {
        path = number == 1 ? base : base + u'.' + QString::number(number);
        const int fd = ::open(QFile::encodeName(path).constData(),
                              O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

bool Refused(int error)
{
    return error == EACCES || error == EPERM || error == EROFS;
}

// Copies all of from into to and flushes it; 0, or the errno of the failure.
int CopyAll(int from, int to)
{
    constexpr size_t kBlock = 64 * 1024;
    const auto buffer = std::make_unique_for_overwrite<char[]>(kBlock);
    for (;;) {
        const ssize_t n = ::read(from, buffer.get(), kBlock);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n < 0 ? errno : ::fsync(to) == 0 ? 0 : errno;
        for (ssize_t done = 0; done < n;) {
            const ssize_t written = ::write(to, buffer.get() + done, size_t(n - done));
            if (written < 0 && errno != EINTR)
                return errno;
            done += qMax(written, ssize_t(0));
        }
    }
}

void SyncFolder(const QString &folder)
{
    const Descriptor fd(::open(QFile::encodeName(folder).constData(),
                               O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.Get() >= 0)
        ::fsync(fd.Get());
}

} // namespace

QString KeepCopy(const QString &fileName, const QString &suffix)
{
    const Descriptor source(OpenSource(fileName));
    if (source.Get() < 0)
        RaiseKeepError(fileName, QString(), errno);
    const QFileInfo info(fileName);
    const QString name = info.fileName() + suffix;
    QString copy;
    int fd = CreateFirstFree(info.absolutePath() + u'/' + name, copy);
    if (fd < 0 && Refused(errno)) {
        const QString state = StateFolder();
        if (const int error = MakeFolders(state, 0700))
            RaiseKeepError(fileName, state + u'/' + name, error);
        fd = CreateFirstFree(state + u'/' + name, copy);
    }
    if (fd < 0)
        RaiseKeepError(fileName, copy, errno);
    const Descriptor target(fd);
    if (const int error = CopyAll(source.Get(), target.Get())) {
        ::unlink(QFile::encodeName(copy).constData());
        RaiseKeepError(fileName, copy, error);
    }
    SyncFolder(QFileInfo(copy).absolutePath());
    return copy;
}
