#include "platform/AtomicFile.h"
#include "platform/UserFolders.h"
#include "platform/VarnokelError.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

SaveStepHook &Hook()
{
    static SaveStepHook hook;
    return hook;
}

// 0, or the errno the test hook fails this step with.
int Before(SaveStep step, const QString &path)
{
    return Hook() ? Hook()(step, path) : 0;
}

QByteArray Encoded(const QString &path)
{
    return QFile::encodeName(path);
}

QString Reason(int error)
{
    return qt_error_string(error);
}

// The file a save replaces: a symbolic link's target, followed as far as it leads
// (also to a file not there yet), so the link stays. Empty for a loop of links.
QString FinalFileName(const QString &fileName)
{
    QFileInfo info(fileName);
    for (int depth = 0; info.isSymLink(); ++depth) {
        if (depth == 40)
            return QString();
        info.setFile(info.symLinkTarget());
    }
    return info.absoluteFilePath();
}

void SyncFolder(const QString &folder)
{
    if (Before(SaveStep::Sync, folder) != 0)
        return;
    const int fd = ::open(Encoded(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

int WriteAll(int fd, const QString &path, const QByteArray &contents)
{
    for (qsizetype done = 0; done < contents.size();) {
        if (const int error = Before(SaveStep::Write, path))
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

int Sync(int fd, const QString &path)
{
    if (const int error = Before(SaveStep::Sync, path))
        return error;
    return ::fsync(fd) == 0 ? 0 : errno;
}

int Truncate(int fd, const QString &path, qint64 size)
{
    if (const int error = Before(SaveStep::Truncate, path))
        return error;
    return ::ftruncate(fd, off_t(size)) == 0 ? 0 : errno;
}

int Rename(const QString &from, const QString &to)
{
    if (const int error = Before(SaveStep::Rename, to))
        return error;
    return ::rename(Encoded(from).constData(), Encoded(to).constData()) == 0 ? 0 : errno;
}

void Remove(const QString &path)
{
    if (Before(SaveStep::Remove, path) == 0)
        ::unlink(Encoded(path).constData());
}

QString TemporaryPrefix(const QFileInfo &target)
{
    return QStringLiteral(".%1.vk-save-").arg(target.fileName());
}

QString RandomSuffix()
{
    static const char kLetters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QString suffix;
    for (int i = 0; i < 6; ++i)
        suffix += QLatin1Char(kLetters[QRandomGenerator::global()->bounded(62)]);
    return suffix;
}

// A new temporary file beside the target, with the mode the target has (a new file
// gets the usual 0666 less the umask); -1 with errno set when none can be made.
int CreateTemporary(const QString &target, QString &temporary)
{
    const QFileInfo info(target);
    struct stat old;
    const bool exists = ::stat(Encoded(target).constData(), &old) == 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = info.absolutePath() + u'/' + TemporaryPrefix(info) + RandomSuffix();
        if (const int error = Before(SaveStep::CreateTemporary, temporary)) {
            errno = error;
            return -1;
        }
        const int fd = ::open(Encoded(temporary).constData(),
                              O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 && exists)
            ::fchmod(fd, old.st_mode & 0777);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

int FillAndRename(int fd, const QString &temporary, const QString &target,
                  const QByteArray &contents)
{
    int error = WriteAll(fd, temporary, contents);
    if (error == 0)
        error = Sync(fd, temporary);
    if (::close(fd) != 0 && error == 0)
        error = errno;
    return error != 0 ? error : Rename(temporary, target);
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

// The temporary files that killed saves of the file left beside it, and the probes
// of earlier versions; a link or a name a user would choose is never one.
void RemoveTemporaries(const QString &file)
{
    const QFileInfo info(file);
    const QRegularExpression leftover(QRegularExpression::anchoredPattern(
        QStringLiteral("(\\.vk-probe-|%1)[A-Za-z0-9]{6}")
            .arg(QRegularExpression::escape(TemporaryPrefix(info)))));
    for (const QFileInfo &entry : info.absoluteDir().entryInfoList(QDir::Files | QDir::Hidden)) {
        if (!entry.isSymLink() && leftover.match(entry.fileName()).hasMatch())
            QFile::remove(entry.absoluteFilePath());
    }
}

QString SaveInPlace(const QString &fileName, const QString &target, const QByteArray &contents);

// The save: replaced through a temporary file, or, where the folder refuses one and
// inPlace allows it, written in place.
QString Save(const QString &fileName, const QByteArray &contents, bool inPlace)
{
    const QString target = FinalFileName(fileName);
    if (target.isEmpty())
        return Reason(ELOOP);
    RemoveTemporaries(target);
    // A read-only file is the user's choice, not to be replaced by a rename.
    const QByteArray encoded = Encoded(target);
    if (::access(encoded.constData(), F_OK) == 0 && ::access(encoded.constData(), W_OK) != 0)
        return Reason(errno);
    QString temporary;
    const int fd = CreateTemporary(target, temporary);
    if (fd < 0) {
        const int error = errno;
        if (inPlace && (error == EACCES || error == EPERM) && QFileInfo(target).isFile())
            return SaveInPlace(fileName, target, contents);
        return Reason(error);
    }
    if (const int error = FillAndRename(fd, temporary, target, contents)) {
        ::unlink(Encoded(temporary).constData());
        return Reason(error);
    }
    SyncFolder(QFileInfo(target).absolutePath());
    return QString();
}

// A copy left by a killed save is the only complete one there may be: moved to the
// first free "<copy>.N", never overwritten.
int SetAsideEarlierCopy(const QString &copy)
{
    if (!QFileInfo::exists(copy))
        return 0;
    for (int n = 1;; ++n) {
        const QString aside = QStringLiteral("%1.%2").arg(copy).arg(n);
        if (!QFileInfo(aside).exists() && !QFileInfo(aside).isSymLink())
            return Rename(copy, aside);
    }
}

// The complete old file, flushed with its folder, before any of its bytes change.
QString KeepOldContents(const QString &copy, const QByteArray &old)
{
    int error = MakeFolders(QFileInfo(copy).absolutePath(), 0700);
    if (error == 0)
        error = SetAsideEarlierCopy(copy);
    return error != 0 ? Reason(error) : Save(copy, old, false);
}

// Space for the new length first, so a full disk or a size limit fails before the
// first old byte is overwritten. A file system without reservations is written all
// the same: the copy is kept.
int Reserve(int fd, const QString &path, qint64 size)
{
    int error = Before(SaveStep::Reserve, path);
    if (error == 0 && size > 0)
        error = ::posix_fallocate(fd, 0, off_t(size));
    return error == EOPNOTSUPP || error == EINVAL ? 0 : error;
}

int Overwrite(int fd, const QString &target, const QByteArray &contents)
{
    int error = WriteAll(fd, target, contents);
    if (error == 0)
        error = Truncate(fd, target, contents.size());
    return error != 0 ? error : Sync(fd, target);
}

// Writes the new contents over the old ones, which are kept in copy meanwhile. On a
// failure the old contents are put back; the copy goes once either is on disk.
QString OverwriteKeeping(int fd, const QString &target, const QByteArray &contents,
                         const QByteArray &old, const QString &copy)
{
    bool restored = true;
    int error = Reserve(fd, target, contents.size());
    if (error != 0) // a reservation cut short may have made the file longer
        restored = ::ftruncate(fd, off_t(old.size())) == 0;
    else if ((error = Overwrite(fd, target, contents)) != 0)
        restored = Overwrite(fd, target, old) == 0;
    if (!restored)
        return QStringLiteral("%1 (the old file is kept in %2)")
            .arg(Reason(error), QDir::toNativeSeparators(copy));
    Remove(copy);
    return error != 0 ? Reason(error) : QString();
}

QString SaveInPlace(const QString &fileName, const QString &target, const QByteArray &contents)
{
    QByteArray old;
    if (const int error = ReadWhole(target, old))
        return Reason(error);
    const QString copy = InPlaceCopyPath(fileName);
    if (const QString reason = KeepOldContents(copy, old); !reason.isEmpty())
        return QStringLiteral("%1 (while keeping the old file in %2)")
            .arg(reason, QDir::toNativeSeparators(copy));
    // Read and write: where the file system cannot reserve space, the C library
    // reserves it by reading each block first.
    const int fd = ::open(Encoded(target).constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        Remove(copy);
        return Reason(error);
    }
    const QString reason = OverwriteKeeping(fd, target, contents, old, copy);
    ::close(fd);
    return reason;
}

} // namespace

void RaiseWriteError(const QString &fileName, const QString &reason)
{
    throw VarnokelError(QStringLiteral("Unable to write to %1: %2")
                            .arg(QDir::toNativeSeparators(fileName), reason));
}

QString InPlaceCopyPath(const QString &fileName)
{
    return StateFolder() + u'/' + QFileInfo(fileName).fileName() + QStringLiteral(".before-save");
}

QString TryWriteFileAtomically(const QString &fileName, const QByteArray &contents)
{
    return Save(fileName, contents, true);
}

void WriteFileAtomically(const QString &fileName, const QByteArray &contents)
{
    const QString reason = Save(fileName, contents, true);
    if (!reason.isEmpty())
        RaiseWriteError(fileName, reason);
}

void RemoveSaveLeftovers(const QString &fileName)
{
    const QString copy = InPlaceCopyPath(fileName);
    for (const QString &file : {FinalFileName(fileName), FinalFileName(copy)}) {
        if (!file.isEmpty())
            RemoveTemporaries(file);
    }
}

int MakeFolders(const QString &folder, unsigned mode)
{
    const QFileInfo info(QDir::cleanPath(QDir(folder).absolutePath()));
    if (info.isDir())
        return 0;
    if (!info.isRoot() && !info.dir().exists()) {
        if (const int error = MakeFolders(info.absolutePath(), mode))
            return error;
    }
    if (::mkdir(Encoded(info.absoluteFilePath()).constData(), mode_t(mode)) == 0)
        return 0;
    if (errno != EEXIST)
        return errno;
    return QFileInfo(info.absoluteFilePath()).isDir() ? 0 : ENOTDIR; // a file in the way
}

void IgnoreFileSizeSignal()
{
    std::signal(SIGXFSZ, SIG_IGN);
}

void SetSaveStepHook(SaveStepHook hook)
{
    Hook() = std::move(hook);
}
