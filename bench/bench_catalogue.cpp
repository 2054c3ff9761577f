// The catalogue file and the undo history on 100,000 bookmarks in 10,000 folders.
// BM_PugixmlParse is the floor: pugixml's bare parse and walk of the same file.
// The counter bytes_per_bookmark is heap memory (glibc's mallinfo2): of the loaded
// catalogue in BM_LoadFromFile, of ten undo snapshots in BM_SaveUndoState, where
// snapshot_share is one snapshot's memory over the loaded catalogue's.
// BM_LoadMemory loads 100,000 and 1,000,000 bookmarks once each and counts
// resident memory (the kernel's VmRSS and its peak, VmHWM): what the catalogue
// keeps, the peak during the load, and peak_over_kept.
#include "bench/Generator.h"
#include "catalogue/Catalog.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <pugixml.hpp>

#include <cstring>
#include <map>
#include <memory>
#include <vector>

namespace {

constexpr int kBookmarks = 100000;
constexpr int kFolders = 10000;

// The generated catalogue of a size saved once, shared by every case; ten
// bookmarks a folder.
const QString &CatalogFile(int bookmarks = kBookmarks)
{
    static QTemporaryDir dir;
    static std::map<int, QString> files;
    QString &path = files[bookmarks];
    if (path.isEmpty()) {
        path = dir.filePath(QStringLiteral("bookmarks%1.xml").arg(bookmarks));
        TCatalog catalog;
        GenerateCatalog(catalog, bookmarks, bookmarks / (kBookmarks / kFolders));
        catalog.SaveToFile(path);
    }
    return path;
}

size_t HeapInUse()
{
    malloc_trim(0);
    return mallinfo2().uordblks;
}

void BM_LoadFromFile(benchmark::State &state)
{
    const QString file = CatalogFile();
    // Every load goes into memory that no catalogue has used, as at the program's
    // start: freeing one between loads would bill the allocator's tidying up after
    // it to the next load. So the catalogues are kept until the end.
    std::vector<std::unique_ptr<TCatalog>> loaded;
    for (auto _ : state) {
        loaded.push_back(std::make_unique<TCatalog>());
        loaded.back()->LoadFromFile(file);
    }
    loaded.clear();
    const size_t before = HeapInUse();
    TCatalog catalog;
    catalog.LoadFromFile(file);
    state.counters["bytes_per_bookmark"] = double(HeapInUse() - before) / kBookmarks;
}
BENCHMARK(BM_LoadFromFile)->Unit(benchmark::kMillisecond);

// A "VmRSS:" or "VmHWM:" line of /proc/self/status, in bytes.
double StatusBytes(const char *key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(qsizetype(std::strlen(key))).trimmed().split(' ').value(0).toDouble()
                * 1024;
    return 0;
}

// Sets VmHWM back to the present VmRSS.
bool ResetPeak()
{
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    return refs.open(QIODevice::WriteOnly) && refs.write("5") == 1;
}

void BM_LoadMemory(benchmark::State &state)
{
    const int bookmarks = int(state.range(0));
    const QString file = CatalogFile(bookmarks);
    double kept = 0;
    double peak = 0;
    for (auto _ : state) {
        malloc_trim(0);
        const double before = StatusBytes("VmRSS:");
        if (!ResetPeak())
            state.SkipWithError("cannot reset the peak of resident memory");
        TCatalog catalog;
        catalog.LoadFromFile(file);
        peak = StatusBytes("VmHWM:") - before;
        malloc_trim(0);
        kept = StatusBytes("VmRSS:") - before;
    }
    state.counters["kept_bytes_per_bookmark"] = kept / bookmarks;
    state.counters["peak_bytes_per_bookmark"] = peak / bookmarks;
    state.counters["peak_over_kept"] = peak / kept;
}
BENCHMARK(BM_LoadMemory)->Arg(kBookmarks)->Arg(10 * kBookmarks)->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// Sums the text lengths so the walk cannot be optimised away.
size_t WalkDocument(const pugi::xml_node &root)
{
    size_t total = 0;
    for (pugi::xml_node node = root.first_child(); node;) {
        total += std::strlen(node.name()) + std::strlen(node.value());
        if (node.first_child()) {
            node = node.first_child();
            continue;
        }
        while (node && !node.next_sibling())
            node = node.parent() == root ? pugi::xml_node() : node.parent();
        if (node)
            node = node.next_sibling();
    }
    return total;
}

void BM_PugixmlParse(benchmark::State &state)
{
    const QByteArray file = CatalogFile().toLocal8Bit();
    for (auto _ : state) {
        pugi::xml_document document;
        if (!document.load_file(file.constData()))
            state.SkipWithError("parse failed");
        benchmark::DoNotOptimize(WalkDocument(document));
    }
}
BENCHMARK(BM_PugixmlParse)->Unit(benchmark::kMillisecond);

void BM_SaveToFile(benchmark::State &state)
{
    TCatalog catalog;
    catalog.LoadFromFile(CatalogFile());
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("saved.xml"));
    for (auto _ : state)
        catalog.SaveToFile(target);
}
BENCHMARK(BM_SaveToFile)->Unit(benchmark::kMillisecond);

void BM_SaveUndoState(benchmark::State &state)
{
    {
        const size_t empty = HeapInUse();
        TCatalog catalog;
        catalog.LoadFromFile(CatalogFile());
        const size_t loaded = HeapInUse();
        for (int i = 0; i < catalog.UndoLimit(); ++i)
            catalog.SaveUndoState();
        const double snapshots = double(HeapInUse() - loaded);
        state.counters["bytes_per_bookmark"] = snapshots / kBookmarks;
        // One snapshot's memory as a share of the loaded catalogue's.
        state.counters["snapshot_share"] =
            snapshots / catalog.UndoLimit() / double(loaded - empty);
    }
    // Steady state: the history is full, so each push also frees the oldest snapshot.
    TCatalog catalog;
    catalog.LoadFromFile(CatalogFile());
    for (auto _ : state)
        catalog.SaveUndoState();
}
BENCHMARK(BM_SaveUndoState)->Unit(benchmark::kMillisecond);

// While the history fills: a push without freeing a snapshot.
void BM_SaveUndoStateFilling(benchmark::State &state)
{
    auto catalog = std::make_unique<TCatalog>();
    catalog->LoadFromFile(CatalogFile());
    for (auto _ : state) {
        if (catalog->GetUndoCount() == catalog->UndoLimit()) {
            state.PauseTiming();
            catalog = std::make_unique<TCatalog>();
            catalog->LoadFromFile(CatalogFile());
            state.ResumeTiming();
        }
        catalog->SaveUndoState();
    }
}
BENCHMARK(BM_SaveUndoStateFilling)->Unit(benchmark::kMillisecond);

// The first Undo after a change: pushes the tree shown, then replaces the tree
// with a copy of the previous snapshot.
void BM_Undo(benchmark::State &state)
{
    TCatalog catalog;
    catalog.LoadFromFile(CatalogFile());
    for (auto _ : state) {
        state.PauseTiming();
        catalog.SaveUndoState();
        state.ResumeTiming();
        catalog.Undo();
    }
}
BENCHMARK(BM_Undo)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
