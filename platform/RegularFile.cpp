#include "platform/RegularFile.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Outcome = RegularFileContents::Outcome;

RegularFileContents Failure(Outcome outcome, QString error)
{
    return {outcome, {}, std::move(error)};
}

QString TooLargeReason(qint64 maxSize)
{
    constexpr qint64 kMiB = 1024 * 1024;
    if (maxSize % kMiB == 0)
        return QStringLiteral("The file is larger than %1 MiB").arg(maxSize / kMiB);
    return QStringLiteral("The file is larger than %1 bytes").arg(maxSize);
}

// Reads up to maxSize + 1 bytes: a file that grew past the bound since fstat is
// noticed without reading the rest of it.
RegularFileContents ReadBounded(int fd, qint64 sizeHint, qint64 maxSize)
{
    QByteArray bytes(qsizetype(qMin(sizeHint, maxSize) + 1), Qt::Uninitialized);
    qint64 done = 0;
    for (;;) {
        if (done == bytes.size()) {
            if (done > maxSize)
                return Failure(Outcome::TooLarge, TooLargeReason(maxSize));
            bytes.resize(qsizetype(qMin(done * 2, maxSize + 1)));
        }
        const ssize_t got = ::read(fd, bytes.data() + done, size_t(bytes.size() - done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return Failure(Outcome::Unreadable, qt_error_string(errno));
        if (got == 0)
            break;
        done += got;
    }
    bytes.resize(qsizetype(done));
    return {Outcome::Read, std::move(bytes), {}};
}

} // namespace

RegularFileContents ReadRegularFile(const QString &fileName, qint64 maxSize)
{
    // O_NONBLOCK: opening a FIFO without a writer would wait for one.
    const int fd = ::open(QFile::encodeName(fileName).constData(),
                          O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        if (error == ENOENT || error == ENOTDIR)
            return Failure(Outcome::Missing, qt_error_string(error));
        // A socket cannot be opened at all.
        struct stat info;
        if (error == ENXIO
            || (::stat(QFile::encodeName(fileName).constData(), &info) == 0
                && !S_ISREG(info.st_mode)))
            return Failure(Outcome::NotRegular, QStringLiteral("Not a regular file"));
        return Failure(Outcome::Unreadable, qt_error_string(error));
    }
    RegularFileContents result;
    struct stat info;
    if (::fstat(fd, &info) != 0)
        result = Failure(Outcome::Unreadable, qt_error_string(errno));
    else if (!S_ISREG(info.st_mode))
        result = Failure(Outcome::NotRegular, QStringLiteral("Not a regular file"));
    else if (info.st_size > maxSize)
        result = Failure(Outcome::TooLarge, TooLargeReason(maxSize));
    else if (::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0)
        result = Failure(Outcome::Unreadable, qt_error_string(errno));
    else
        result = ReadBounded(fd, info.st_size, maxSize);
    ::close(fd);
    return result;
}
