// The catalogue file: any bytes load into a fresh catalogue or fail with a
// message; a catalogue that loads is saved and loaded again and gives the same
// tree (values of blanks alone come back empty, an empty add date as today).
// The streaming reader reads what the document reader reads, or leaves the file
// to it untouched; what the writer writes, it always reads itself.
#include "catalogue/Catalog.h"
#include "catalogue/CatalogFileReaders.h"
#include "platform/VarnokelError.h"
#include "tests/CatalogOutline.h"

#include <QDir>
#include <QFile>

#include <cstdint>
#include <cstdlib>
#include <unistd.h>

namespace {

// One scratch folder for the whole run, in memory when the machine has /dev/shm
// (every save syncs the disk), removed at exit. Plain buffers, so that they
// outlive the static objects that exit destroys first.
char g_folder[4096];
char g_input[4096];
char g_saved[4096];

void MakeScratch()
{
    const QString base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm")
                                                                      : QDir::tempPath();
    qstrncpy(g_folder, (base.toLocal8Bit() + "/fuzz_catalogfile_XXXXXX").constData(),
             sizeof g_folder);
    if (!mkdtemp(g_folder))
        abort();
    qsnprintf(g_input, sizeof g_input, "%s/input.xml", g_folder);
    qsnprintf(g_saved, sizeof g_saved, "%s/bookmarks.xml", g_folder);
    std::atexit([] {
        unlink(g_input);
        unlink(g_saved);
        rmdir(g_folder);
    });
}

void Check(bool condition)
{
    if (!condition)
        abort();
}

bool IsXmlBlank(const QString &text)
{
    for (QChar c : text)
        if (c != u' ' && c != u'\t' && c != u'\r' && c != u'\n')
            return false;
    return true;
}

// What a save and a load make of a tree: values of blanks alone become empty,
// and an empty add date becomes today's. Explicit stack: any depth.
void Normalise(TFolders &roots)
{
    const auto blankless = [](const QString &text) { return IsXmlBlank(text) ? QString() : text; };
    std::vector<TFolder *> stack;
    for (const auto &folder : roots)
        stack.push_back(folder.get());
    while (!stack.empty()) {
        TFolder *folder = stack.back();
        stack.pop_back();
        folder->SetTitle(blankless(folder->Title()));
        folder->SetDescription(blankless(folder->Description()));
        for (const auto &b : folder->Bookmarks()) {
            b->SetTitle(blankless(b->Title()));
            b->SetAddress(blankless(b->Address()));
            b->SetDescription(blankless(b->Description()));
            b->SetLastVisit(blankless(b->LastVisit()));
            b->SetAddDate(IsXmlBlank(b->AddDate()) ? TodayText() : b->AddDate());
        }
        for (const auto &child : folder->Folders())
            stack.push_back(child.get());
    }
}

// A file the streaming reader takes gives the tree the document reader gives, read
// in blocks of any size.
void CheckReadersAgree(const QString &fileName)
{
    TCatalog streamed, inSmallBlocks;
    const bool taken = ReadCatalogStream(fileName, streamed.Folders());
    Check(ReadCatalogStream(fileName, inSmallBlocks.Folders(), 7) == taken);
    Check(CatalogOutline(inSmallBlocks, kWholeOutline) == CatalogOutline(streamed, kWholeOutline));
    if (!taken) {
        Check(streamed.Folders().IsEmpty());
        return;
    }
    TCatalog parsed;
    try {
        ReadCatalogDocument(fileName, parsed.Folders());
    } catch (const VarnokelError &) {
        abort();
    }
    Check(CatalogOutline(streamed, kWholeOutline) == CatalogOutline(parsed, kWholeOutline));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (!g_folder[0])
        MakeScratch();
    QFile input(QString::fromLocal8Bit(g_input));
    if (!input.open(QIODevice::WriteOnly | QIODevice::Truncate))
        abort();
    input.write(reinterpret_cast<const char *>(data), qint64(size));
    input.close();

    CheckReadersAgree(input.fileName());
    TCatalog catalog;
    try {
        catalog.LoadFromFile(input.fileName());
    } catch (const VarnokelError &) {
        return 0;
    }
    const QString saved = QString::fromLocal8Bit(g_saved);
    catalog.SaveToFile(saved);
    TCatalog reloaded;
    Check(ReadCatalogStream(saved, reloaded.Folders()));
    Normalise(catalog.Folders());
    Check(CatalogOutline(reloaded, kWholeOutline) == CatalogOutline(catalog, kWholeOutline));
    return 0;
}
