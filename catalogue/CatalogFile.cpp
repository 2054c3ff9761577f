// Loading the catalogue file "bookmarks.xml" (the writer is CatalogFileWriter.cpp).
#include "catalogue/Catalog.h"
#include "catalogue/CatalogFileReaders.h"

#include <QFileInfo>

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
