#include "platform/InPlaceSave.h"
#include "platform/KeptCopy.h"
#include "platform/RegularFile.h"
#include "platform/SaveSteps.h"
#include "platform/VarnokelError.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <unistd.h>

namespace {

const QByteArray kRecordHeader = QByteArrayLiteral("varnokel in-place save\n");

QString Native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

QByteArray Hash(const QByteArray &contents)
{
    return QCryptographicHash::hash(contents, QCryptographicHash::Sha256);
}

// What a save is about to write over target; the file's name comes last and takes
// the rest of the record, since a name may hold a line break.
QByteArray RecordOf(const QString &target, const QByteArray &contents)
{
    return kRecordHeader + "length " + QByteArray::number(contents.size())
        + "\nsha256 " + Hash(contents).toHex() + "\nfile " + QFile::encodeName(target);
}

struct Record
{
    QByteArray file;
    qint64 length = -1;
    QByteArray hash;

    bool Names(const QByteArray &contents) const
    {
        return contents.size() == length && Hash(contents) == hash;
    }
};

// The record is written whole or not at all (a temporary file renamed); anything
// else there is no record.
std::optional<Record> ReadRecord(const QString &path)
{
    const RegularFileContents read = ReadRegularFile(path, 64 * 1024);
    const QByteArray &text = read.bytes;
    const qsizetype fileAt = text.indexOf("\nfile ");
    if (!text.startsWith(kRecordHeader) || fileAt < 0)
        return std::nullopt;
    const qsizetype start = kRecordHeader.size();
    const QList<QByteArray> fields = text.mid(start, fileAt - start).split('\n');
    if (fields.size() != 2 || !fields[0].startsWith("length ") || !fields[1].startsWith("sha256 "))
        return std::nullopt;
    Record record{text.mid(fileAt + 6), fields[0].mid(7).toLongLong(),
                  QByteArray::fromHex(fields[1].mid(7))};
    return record;
}

// The copy first: a record without its copy is no save that did not end.
void DropCopy(const QString &copy)
{
    RemoveFile(copy);
    RemoveFile(SaveRecordPath(copy));
}

bool Exists(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// A copy left by a killed save is the only complete one there may be: moved to the
// first free "<copy>.N", never overwritten. Set aside, it is the user's file, no
// save's: its record goes.
int SetAsideEarlierCopy(const QString &copy)
{
    if (!Exists(copy))
        return 0;
    for (int n = 1;; ++n) {
        const QString aside = QStringLiteral("%1.%2").arg(copy).arg(n);
        if (!Exists(aside)) {
            const int error = RenameFile(copy, aside);
            if (error == 0)
                RemoveFile(SaveRecordPath(copy));
            return error;
        }
    }
}

// Before the first old byte is overwritten, flushed with their folder: the record
// of what is about to be written, then the complete old file (when putting it
// back, the copy already holds it). A record without its copy counts for nothing.
QString Prepare(const QString &copy, const QString &target, const QByteArray &contents,
                const QByteArray *old)
{
    int error = MakeFolders(QFileInfo(copy).absolutePath(), 0700);
    if (error == 0 && old)
        error = SetAsideEarlierCopy(copy);
    QString reason = error != 0 ? Reason(error)
                                : SaveFile(SaveRecordPath(copy), RecordOf(target, contents),
                                           SaveMode::ThroughTemporary);
    if (reason.isEmpty() && old)
        reason = SaveFile(copy, *old, SaveMode::ThroughTemporary);
    if (reason.isEmpty())
        return QString();
    if (old)
        DropCopy(copy); // nothing was overwritten
    return QStringLiteral("%1 (while keeping the old file in %2)").arg(reason, Native(copy));
}

// Space for the new length first, so a full disk or a size limit fails before the
// first old byte is overwritten. A file system without reservations is written all
// the same: the copy is kept.
int Reserve(int fd, const QString &path, qint64 size)
{
    int error = BeforeStep(SaveStep::Reserve, path);
    if (error == 0 && size > 0)
        error = ::posix_fallocate(fd, 0, off_t(size));
    return error == EOPNOTSUPP || error == EINVAL ? 0 : error;
}

int Overwrite(int fd, const QString &target, const QByteArray &contents)
{
    int error = WriteAll(fd, target, contents);
    if (error == 0)
        error = TruncateFile(fd, target, contents.size());
    return error != 0 ? error : SyncFile(fd, target);
}

QString KeptIn(const QString &reason, const QString &copy)
{
    return QStringLiteral("%1 (the old file is kept in %2)").arg(reason, Native(copy));
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
        return KeptIn(Reason(error), copy);
    DropCopy(copy);
    return error != 0 ? Reason(error) : QString();
}

// The old contents over a torn file; the copy stays until the repair has ended.
QString OverwritePuttingBack(int fd, const QString &target, const QByteArray &old,
                             const QString &copy)
{
    int error = Reserve(fd, target, old.size());
    if (error == 0)
        error = Overwrite(fd, target, old);
    return error != 0 ? KeptIn(Reason(error), copy) : QString();
}

[[noreturn]] void RaiseUnrepaired(const QString &fileName, const QString &copy,
                                  const QString &reason)
{
    throw VarnokelError(QStringLiteral("The last save of %1 did not end, and it could not be "
                                       "repaired: %2. The file as it was before that save is "
                                       "kept in %3.")
                            .arg(Native(fileName), reason, Native(copy)));
}

// Keeps the torn file before anything replaces it.
QString KeepTorn(const QString &fileName, const QString &copy)
{
    try {
        return KeepCopy(fileName, QStringLiteral(".damaged"));
    } catch (const VarnokelError &error) {
        RaiseUnrepaired(fileName, copy, error.Message());
    }
}

constexpr qint64 kAnySize = qint64(1) << 40;

// The file as it is now against the copy and its record.
SaveRepair Repair(const QString &fileName, const QString &copy, const std::optional<Record> &record,
                  bool beforeSave)
{
    const RegularFileContents now = ReadRegularFile(fileName, kAnySize);
    if (now.outcome != RegularFileContents::Outcome::Read)
        return {}; // the load or the save fails with its own reason
    if (record && record->Names(now.bytes)) {
        DropCopy(copy);
        return {SaveRepair::Outcome::Ended, {}};
    }
    const RegularFileContents old = ReadRegularFile(copy, kAnySize);
    if (old.outcome != RegularFileContents::Outcome::Read)
        RaiseUnrepaired(fileName, copy, old.error);
    if (now.bytes == old.bytes) { // killed before the first byte changed
        DropCopy(copy);
        return {SaveRepair::Outcome::Ended, {}};
    }
    const SaveRepair repair{SaveRepair::Outcome::Restored, KeepTorn(fileName, copy)};
    if (const QString reason = SaveFile(fileName, old.bytes, SaveMode::PuttingBack);
        !reason.isEmpty())
        RaiseUnrepaired(fileName, copy, reason);
    if (!beforeSave || SetAsideEarlierCopy(copy) != 0)
        DropCopy(copy);
    return repair;
}

} // namespace

SaveRepair RepairInterruptedSave(const QString &fileName, bool beforeSave)
{
    const QString copy = InPlaceCopyPath(fileName);
    if (!Exists(copy)) {
        if (Exists(SaveRecordPath(copy))) // a save killed as it dropped both
            RemoveFile(SaveRecordPath(copy));
        return {};
    }
    const std::optional<Record> record = ReadRecord(SaveRecordPath(copy));
    const QString target = FinalFileName(fileName);
    if (target.isEmpty() || (record ? record->file != QFile::encodeName(target) : beforeSave))
        return {};
    if (!Exists(target)) { // what the user removed is not put back
        if (const int error = SetAsideEarlierCopy(copy))
            RaiseUnrepaired(fileName, copy, Reason(error));
        return {SaveRepair::Outcome::Ended, {}};
    }
    return Repair(fileName, copy, record, beforeSave);
}

QString RepairMessage(const QString &fileName, const SaveRepair &repair)
{
    if (repair.outcome != SaveRepair::Outcome::Restored)
        return QString();
    return QStringLiteral("The last save of %1 did not end: the file as it was before that save "
                          "was put back, and the unfinished file was kept as %2.")
        .arg(Native(fileName), Native(repair.keptAs));
}

QString SaveRecordPath(const QString &copy)
{
    return copy + QStringLiteral(".record");
}

QString SaveInPlace(const QString &fileName, const QString &target, const QByteArray &contents,
                    SaveMode mode)
{
    const bool puttingBack = mode == SaveMode::PuttingBack;
    QByteArray old;
    if (!puttingBack) {
        if (const int error = ReadWhole(target, old))
            return Reason(error);
    }
    // Read and write: where the file system cannot reserve space, the C library
    // reserves it by reading each block first.
    const int fd = ::open(QFile::encodeName(target).constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return Reason(errno);
    const QString copy = InPlaceCopyPath(fileName);
    QString reason = Prepare(copy, target, contents, puttingBack ? nullptr : &old);
    if (reason.isEmpty())
        reason = puttingBack ? OverwritePuttingBack(fd, target, contents, copy)
                             : OverwriteKeeping(fd, target, contents, old, copy);
    ::close(fd);
    return reason;
}
