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

// Opens path for reading when it is a regular file, never waiting on a FIFO; the
// descriptor, or -1 with failure telling why.
int OpenRegular(const QByteArray &path, RegularFileContents &failure, qint64 &size)
{
    // O_NONBLOCK: opening a FIFO without a writer would wait for one.
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        struct stat info;
        if (error == ENOENT || error == ENOTDIR)
            failure = Failure(Outcome::Missing, qt_error_string(error));
        else if (error == ENXIO // a socket cannot be opened at all
                 || (::stat(path.constData(), &info) == 0 && !S_ISREG(info.st_mode)))
            failure = Failure(Outcome::NotRegular, QStringLiteral("Not a regular file"));
        else
            failure = Failure(Outcome::Unreadable, qt_error_string(error));
        return -1;
    }
    struct stat info;
    if (::fstat(fd, &info) != 0)
        failure = Failure(Outcome::Unreadable, qt_error_string(errno));
    else if (!S_ISREG(info.st_mode))
        failure = Failure(Outcome::NotRegular, QStringLiteral("Not a regular file"));
    else if (::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0)
        failure = Failure(Outcome::Unreadable, qt_error_string(errno));
    else {
        size = info.st_size;
        return fd;
    }
    ::close(fd);
    return -1;
}

} // namespace

RegularFileContents ReadRegularFile(const QString &fileName, qint64 maxSize)
{
    return ReadRegularFileAt(QFile::encodeName(fileName), maxSize);
}

RegularFileContents ReadRegularFileAt(const QByteArray &path, qint64 maxSize)
{
    RegularFileContents result;
    qint64 size = 0;
    const int fd = OpenRegular(path, result, size);
    if (fd < 0)
        return result;
    result = size > maxSize ? Failure(Outcome::TooLarge, TooLargeReason(maxSize))
                            : ReadBounded(fd, size, maxSize);
    ::close(fd);
    return result;
}

RegularFileContents::Outcome OpenRegularFile(const QByteArray &path, QFile &file,
                                             QString &error)
{
    RegularFileContents failure;
    qint64 size = 0;
    const int fd = OpenRegular(path, failure, size);
    if (fd < 0) {
        error = failure.error;
        return failure.outcome;
    }
    if (!file.open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered,
                   QFileDevice::AutoCloseHandle)) {
        error = file.errorString();
        ::close(fd);
        return Outcome::Unreadable;
    }
    return Outcome::Read;
}

