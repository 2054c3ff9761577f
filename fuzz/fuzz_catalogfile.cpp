// The catalogue file: any bytes load into a fresh catalogue or fail with a
// message; a catalogue that loads holds only characters XML allows, and is saved
// and loaded again and gives the same tree (values of blanks alone come back
// empty, an empty add date as today).
// The streaming reader reads what the document reader reads, or leaves the file
// to it untouched; what the writer writes, it always reads itself.
#include "catalogue/Catalog.h"
#include "catalogue/CatalogFileReaders.h"
#include "catalogue/FolderWalk.h"
#include "catalogue/XmlChars.h"
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

// What a save and a load make of a tree: control characters other than tab,
// line feed and carriage return are dropped, values of blanks alone become
// empty, and an empty add date becomes today's.
void Normalise(TFolders &roots)
{
    const auto clean = [](QString text) {
        text.removeIf([](QChar c) {
            return c.unicode() < 0x20 && c != u'\t' && c != u'\n' && c != u'\r';
        });
        return IsXmlBlank(text) ? QString() : text;
    };
    ForEachFolder(roots, [&clean](TFolder &folder) {
        folder.SetTitle(clean(folder.Title()));
        folder.SetDescription(clean(folder.Description()));
        for (const auto &b : folder.Bookmarks()) {
            b->SetTitle(clean(b->Title()));
            b->SetAddress(clean(b->Address()));
            b->SetDescription(clean(b->Description()));
            b->SetLastVisit(clean(b->LastVisit()));
            b->SetAddDate(clean(b->AddDate()).isEmpty() ? TodayText() : clean(b->AddDate()));
        }
    });
}

// What loads holds only characters XML allows, or the next save would make a file
// that does not load.
void CheckXmlText(TFolders &roots)
{
    const auto clean = [](const QString &text) { Check(XmlCharsOnly(text) == text); };
    ForEachFolder(roots, [&clean](TFolder &folder) {
        clean(folder.Title());
        clean(folder.Description());
        for (const auto &b : folder.Bookmarks())
            for (const QString &text :
                 {b->Title(), b->Address(), b->Description(), b->AddDate(), b->LastVisit()})
                clean(text);
    });
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
    CheckXmlText(catalog.Folders());
    const QString saved = QString::fromLocal8Bit(g_saved);
    catalog.SaveToFile(saved);
    TCatalog reloaded;
    Check(ReadCatalogStream(saved, reloaded.Folders()));
    Normalise(catalog.Folders());
    Check(CatalogOutline(reloaded, kWholeOutline) == CatalogOutline(catalog, kWholeOutline));
    return 0;
}
