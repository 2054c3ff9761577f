#include "platform/AtomicFile.h"
#include "platform/UserFolders.h"
#include "platform/VarnokelError.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The folder the rename happens in: for a symbolic link, its target's folder.
QString RealFolderOf(const QString &fileName)
{
    const QFileInfo info(fileName);
    const QString real = info.isSymLink() ? info.canonicalFilePath() : QString();
    return QFileInfo(real.isEmpty() ? info.absoluteFilePath() : real).absolutePath();
}

void SyncFolder(const QString &folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(),
                          O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// True when the folder refuses new files for want of permission (not for want
// of space, where writing in place could truncate the old file and then fail).
bool FolderRefusesNewFiles(const QString &folder)
{
    QByteArray probe = QFile::encodeName(folder + QStringLiteral("/.vk-probe-XXXXXX"));
    const int fd = ::mkstemp(probe.data());
    if (fd >= 0) {
        ::close(fd);
        ::unlink(probe.constData());
        return false;
    }
    return errno == EACCES || errno == EPERM;
}

template <typename Device>
void WriteAll(Device &file, const QString &fileName, const QByteArray &contents)
{
    for (qint64 done = 0; done < contents.size();) {
        const qint64 written = file.write(contents.constData() + done, contents.size() - done);
        if (written <= 0)
            RaiseWriteError(fileName, file.errorString());
        done += written;
    }
}

// The file itself is writable while its folder takes no temporary file: the
// only way left to save it, flushed to the disk before it counts as written.
void WriteInPlace(const QString &fileName, const QByteArray &contents)
{
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        RaiseWriteError(fileName, file.errorString());
    WriteAll(file, fileName, contents);
    if (::fsync(file.handle()) != 0)
        RaiseWriteError(fileName, QString::fromLocal8Bit(strerror(errno)));
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

void WriteFileAtomically(const QString &fileName, const QByteArray &contents)
{
    QSaveFile file(fileName);
    file.setDirectWriteFallback(false);
    // Unbuffered, and written until all is out: a buffered QSaveFile takes a short
    // write (a full disk, a size limit) for success and commits a truncated file.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        const QFileInfo info(fileName);
        if (info.isFile() && info.isWritable() && FolderRefusesNewFiles(RealFolderOf(fileName)))
            return WriteInPlace(fileName, contents);
        RaiseWriteError(fileName, file.errorString());
    }
    try {
        WriteAll(file, fileName, contents);
    } catch (const VarnokelError &) {
        file.cancelWriting();
        throw;
    }
    if (!file.commit())
        RaiseWriteError(fileName, file.errorString());
    SyncFolder(RealFolderOf(fileName));
}

void RemoveSaveLeftovers(const QString &fileName)
{
    // A save killed between linking its temporary file and the rename leaves
    // "<name>.XXXXXX" behind.
    const QFileInfo info(fileName);
    const QRegularExpression leftover(QRegularExpression::anchoredPattern(
        QRegularExpression::escape(info.fileName()) + QStringLiteral("\\.[A-Za-z0-9]{6}")));
    const QDir folder = info.absoluteDir();
    for (const QFileInfo &entry : folder.entryInfoList(QDir::Files | QDir::Hidden)) {
        if (!entry.isSymLink() && leftover.match(entry.fileName()).hasMatch())
            QFile::remove(entry.absoluteFilePath());
    }
}
