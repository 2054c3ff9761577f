// The catalogue file "bookmarks.xml": its load, and the program's load and save that
// keep a file that failed to load (the writer is CatalogFileWriter.cpp).
#include "catalogue/CatalogFile.h"
#include "catalogue/Catalog.h"
#include "catalogue/CatalogFileReaders.h"
#include "platform/AtomicFile.h"
#include "platform/InPlaceSave.h"
#include "platform/KeptCopy.h"
#include "platform/VarnokelError.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <exception>
#include <new>

namespace {

const QString kDamaged = QStringLiteral(".damaged");

// The files that failed to load and could not be copied then: none of them is
// replaced before its copy exists.
QSet<QString> &OwedCopies()
{
    static QSet<QString> files;
    return files;
}

QString OwedKey(const QString &fileName)
{
    return QFileInfo(fileName).absoluteFilePath();
}

// Keeps the copy of a file that failed to load; the reason when none can be made.
QString KeepDamagedCopy(const QString &fileName)
{
    try {
        const QString copy = KeepCopy(fileName, kDamaged);
        return QStringLiteral("The file was kept as %1.").arg(QDir::toNativeSeparators(copy));
    } catch (const VarnokelError &error) {
        OwedCopies().insert(OwedKey(fileName));
        return error.Message() + u'.';
    } catch (const std::bad_alloc &) {
        OwedCopies().insert(OwedKey(fileName));
        return QStringLiteral("Unable to keep a copy of %1: Out of memory.")
            .arg(QDir::toNativeSeparators(fileName));
    }
}

// What the failure's message goes on with: where the file's bytes were kept, and
// where an interrupted save left the file as it was before.
QString DamageNote(const QString &fileName)
{
    QString note = u'\n' + KeepDamagedCopy(fileName);
    const QString before = InPlaceCopyPath(fileName);
    if (QFileInfo::exists(before))
        note += QStringLiteral("\nThe file as it was before an interrupted save is at %1.")
                    .arg(QDir::toNativeSeparators(before));
    return note;
}

// The reader's own failures carry their designed messages; any other names the file,
// since "Out of memory" alone does not say what could not be loaded.
QString LoadFailureText(const std::exception_ptr &failure, const QString &fileName)
{
    const QString unable = QStringLiteral("Unable to load %1: %2");
    const QString file = QDir::toNativeSeparators(fileName);
    try {
        std::rethrow_exception(failure);
    } catch (const VarnokelError &error) {
        return error.Message();
    } catch (const std::bad_alloc &) {
        return unable.arg(file, QStringLiteral("Out of memory"));
    } catch (const std::exception &error) {
        return unable.arg(file, QString::fromLocal8Bit(error.what()));
    }
}

} // namespace

// The streaming reader takes the file when it can; it leaves every other file,
// and every fault, to the document reader before it has added anything.
void TCatalog::LoadFromFile(const QString &fileName)
{
    const QFileInfo info(fileName);
    if (!info.exists() || info.isDir())
        return;
    if (!ReadCatalogStream(fileName, m_folders))
        ReadCatalogDocument(fileName, m_folders);
}

QString LoadCatalogFile(TCatalog &catalog, const QString &fileName)
{
    TFolders &folders = catalog.Folders();
    const int before = folders.Count();
    QString repaired;
    std::exception_ptr failure;
    try {
        repaired = RepairMessage(fileName, RepairInterruptedSave(fileName)); // never a torn file
        catalog.LoadFromFile(fileName);
    } catch (const std::exception &) {
        failure = std::current_exception();
    }
    if (!failure)
        return repaired;
    // A part of the file must not be there for a save to write over the whole. It
    // goes first: the message and the copy need memory that it may hold.
    while (folders.Count() > before)
        folders.Delete(folders.Count() - 1);
    throw VarnokelError(LoadFailureText(failure, fileName) + DamageNote(fileName)
                        + (repaired.isEmpty() ? QString() : u'\n' + repaired));
}

void SaveCatalogFile(const TCatalog &catalog, const QString &fileName)
{
    const QString key = OwedKey(fileName);
    if (OwedCopies().contains(key) && QFileInfo::exists(fileName)) {
        try {
            KeepCopy(fileName, kDamaged);
        } catch (const VarnokelError &error) {
            throw VarnokelError(error.Message()
                                + QStringLiteral("\nThe file failed to load and is not replaced "
                                                 "until a copy of it is kept"));
        }
    }
    OwedCopies().remove(key); // kept, or gone: nothing of it is left to lose
    catalog.SaveToFile(fileName);
}
