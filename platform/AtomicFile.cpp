#include "platform/AtomicFile.h"
#include "platform/InPlaceSave.h"
#include "platform/SaveSteps.h"
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

QByteArray Encoded(const QString &path)
{
    return QFile::encodeName(path);
}

// Why target may not be replaced: a read-only file is the user's choice, and a
// device, FIFO or socket (a link to /dev/null, say) is no file of ours to replace.
// A folder is left to the rename, which refuses it with its own reason.
QString Unreplaceable(const QString &target)
{
    const QByteArray encoded = Encoded(target);
    struct stat info;
    if (::stat(encoded.constData(), &info) != 0)
        return QString();
    if (!S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode))
        return QStringLiteral("Not a regular file");
    return ::access(encoded.constData(), W_OK) == 0 ? QString() : Reason(errno);
}

bool Refused(int error)
{
    return error == EACCES || error == EPERM;
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
        if (const int error = BeforeStep(SaveStep::CreateTemporary, temporary)) {
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
        error = SyncFile(fd, temporary);
    if (::close(fd) != 0 && error == 0)
        error = errno;
    return error != 0 ? error : RenameFile(temporary, target);
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

// A save that first repairs what an interrupted in-place save of the file left,
// so that no save keeps a torn file as the old one.
QString RepairAndSave(const QString &fileName, const QByteArray &contents)
{
    try {
        RepairInterruptedSave(fileName, true);
    } catch (const VarnokelError &error) {
        return error.Message();
    }
    return SaveFile(fileName, contents, SaveMode::KeepingCopy);
}

} // namespace

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

// Replaced through a temporary file, or, where the folder refuses one or its rename
// and the mode allows it, written in place.
QString SaveFile(const QString &fileName, const QByteArray &contents, SaveMode mode)
{
    const QString target = FinalFileName(fileName);
    if (target.isEmpty())
        return Reason(ELOOP);
    RemoveTemporaries(target);
    if (const QString reason = Unreplaceable(target); !reason.isEmpty())
        return reason;
    const bool inPlace = mode != SaveMode::ThroughTemporary;
    QString temporary;
    const int fd = CreateTemporary(target, temporary);
    if (fd < 0) {
        const int error = errno;
        if (inPlace && Refused(error) && QFileInfo(target).isFile())
            return SaveInPlace(fileName, target, contents, mode);
        return Reason(error);
    }
    if (const int error = FillAndRename(fd, temporary, target, contents)) {
        ::unlink(Encoded(temporary).constData());
        // A sticky folder takes a user's new file but refuses to replace another's.
        if (inPlace && Refused(error) && QFileInfo(target).isFile())
            return SaveInPlace(fileName, target, contents, mode);
        return Reason(error);
    }
    SyncFolder(QFileInfo(target).absolutePath());
    return QString();
}

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
    return RepairAndSave(fileName, contents);
}

void WriteFileAtomically(const QString &fileName, const QByteArray &contents)
{
    const QString reason = RepairAndSave(fileName, contents);
    if (!reason.isEmpty())
        RaiseWriteError(fileName, reason);
}

void RemoveSaveLeftovers(const QString &fileName)
{
    const QString copy = InPlaceCopyPath(fileName);
    for (const QString &file :
         {FinalFileName(fileName), FinalFileName(copy), FinalFileName(SaveRecordPath(copy))}) {
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
