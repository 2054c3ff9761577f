#include "platform/AtomicFile.h"
#include "platform/VarnokelError.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <fcntl.h>
#include <unistd.h>

namespace {

void SyncFolderOf(const QString &fileName)
{
    const QByteArray dir = QFile::encodeName(QFileInfo(fileName).absolutePath());
    const int fd = ::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

void RaiseWriteError(const QString &fileName, const QString &reason)
{
    throw VarnokelError(QStringLiteral("Unable to write to %1: %2")
                            .arg(QDir::toNativeSeparators(fileName), reason));
}

void WriteFileAtomically(const QString &fileName, const QByteArray &contents)
{
    QSaveFile file(fileName);
    file.setDirectWriteFallback(false);
    // Unbuffered, and written until all is out: a buffered QSaveFile takes a short
    // write (a full disk, a size limit) for success and commits a truncated file.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        RaiseWriteError(fileName, file.errorString());
    for (qint64 done = 0; done < contents.size();) {
        const qint64 written = file.write(contents.constData() + done, contents.size() - done);
        if (written <= 0) {
            const QString reason = file.errorString();
            file.cancelWriting();
            RaiseWriteError(fileName, reason);
        }
        done += written;
    }
    if (!file.commit())
        RaiseWriteError(fileName, file.errorString());
    SyncFolderOf(fileName);
}
