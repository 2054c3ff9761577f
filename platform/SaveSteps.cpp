#include "platform/SaveSteps.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

SaveStepHook &Hook()
{
    static SaveStepHook hook;
    return hook;
}

QByteArray Encoded(const QString &path)
{
    return QFile::encodeName(path);
}

} // namespace

void SetSaveStepHook(SaveStepHook hook)
{
    Hook() = std::move(hook);
}

int BeforeStep(SaveStep step, const QString &path)
{
    return Hook() ? Hook()(step, path) : 0;
}

QString Reason(int error)
{
    return qt_error_string(error);
}

int WriteAll(int fd, const QString &path, const QByteArray &contents)
{
    for (qsizetype done = 0; done < contents.size();) {
        if (const int error = BeforeStep(SaveStep::Write, path))
            return error;
        const ssize_t written =
            ::pwrite(fd, contents.constData() + done, size_t(contents.size() - done), done);
        if (written < 0 && errno != EINTR)
            return errno;
        if (written == 0)
            return EIO;
        done += qMax(ssize_t(0), written);
    }
    return 0;
}

int SyncFile(int fd, const QString &path)
{
    if (const int error = BeforeStep(SaveStep::Sync, path))
        return error;
    return ::fsync(fd) == 0 ? 0 : errno;
}

int TruncateFile(int fd, const QString &path, qint64 size)
{
    if (const int error = BeforeStep(SaveStep::Truncate, path))
        return error;
    return ::ftruncate(fd, off_t(size)) == 0 ? 0 : errno;
}

int RenameFile(const QString &from, const QString &to)
{
    if (const int error = BeforeStep(SaveStep::Rename, to))
        return error;
    return ::rename(Encoded(from).constData(), Encoded(to).constData()) == 0 ? 0 : errno;
}

void RemoveFile(const QString &path)
{
    if (BeforeStep(SaveStep::Remove, path) == 0)
        ::unlink(Encoded(path).constData());
}

void SyncFolder(const QString &folder)
{
    if (BeforeStep(SaveStep::Sync, folder) != 0)
        return;
    const int fd = ::open(Encoded(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

int ReadWhole(const QString &path, QByteArray &bytes)
{
    const int fd = ::open(Encoded(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    char block[64 * 1024];
    ssize_t got;
    while ((got = ::read(fd, block, sizeof block)) != 0) {
        if (got < 0 && errno != EINTR)
            break;
        bytes.append(block, qMax(ssize_t(0), got));
    }
    const int error = got < 0 ? errno : 0;
    ::close(fd);
    return error;
}
