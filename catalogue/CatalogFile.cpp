// Loading the catalogue file "bookmarks.xml" (the writer is CatalogFileWriter.cpp).
#include "catalogue/CatalogFile.h"
#include "catalogue/Catalog.h"
#include "catalogue/CatalogFileReaders.h"
#include "platform/AtomicFile.h"
#include "platform/InPlaceSave.h"
#include "platform/KeptCopy.h"
#include "platform/VarnokelError.h"

#include <QDir>
#include <QFileInfo>

namespace {

// What the failure's message goes on with: where the file's bytes were kept, and
// where an interrupted save left the file as it was before.
QString DamageNote(const QString &fileName)
{
    QString note = QStringLiteral("\n");
    try {
        const QString copy = KeepCopy(fileName, QStringLiteral(".damaged"));
        note += QStringLiteral("The file was kept as %1.").arg(QDir::toNativeSeparators(copy));
    } catch (const VarnokelError &error) {
        note += error.Message() + u'.';
    }
    const QString before = InPlaceCopyPath(fileName);
    if (QFileInfo::exists(before))
        note += QStringLiteral("\nThe file as it was before an interrupted save is at %1.")
                    .arg(QDir::toNativeSeparators(before));
    return note;
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
    QString repaired;
    try {
        repaired = RepairMessage(fileName, RepairInterruptedSave(fileName)); // never a torn file
        catalog.LoadFromFile(fileName);
    } catch (const VarnokelError &error) {
        throw VarnokelError(error.Message() + DamageNote(fileName)
                            + (repaired.isEmpty() ? QString() : u'\n' + repaired));
    }
    return repaired;
}
