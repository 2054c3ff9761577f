#include "platform/AtomicFile.h"
#include "platform/VarnokelError.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <fcntl.h>
#include <unistd.h>

namespace {

[[noreturn]] void RaiseWriteError(const QString &fileName, const QString &reason)
{
    throw VarnokelError(QStringLiteral("Unable to write to %1: %2")
                            .arg(QDir::toNativeSeparators(fileName), reason));
}

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

void WriteFileAtomically(const QString &fileName, const QByteArray &contents)
{
    QSaveFile file(fileName);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        RaiseWriteError(fileName, file.errorString());
    if (file.write(contents) != contents.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        RaiseWriteError(fileName, reason);
    }
    if (!file.commit())
        RaiseWriteError(fileName, file.errorString());
    SyncFolderOf(fileName);
}
