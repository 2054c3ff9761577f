// The catalogue file and the undo history on 100,000 bookmarks in 10,000 folders.
// BM_PugixmlParse is the floor: pugixml's bare parse and walk of the same file.
// The counter bytes_per_bookmark is heap memory (glibc's mallinfo2): of the loaded
// catalogue in BM_LoadFromFile, of ten undo snapshots in BM_SaveUndoState, where
// snapshot_share is one snapshot's memory over the loaded catalogue's.
#include "bench/Generator.h"
#include "catalogue/Catalog.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <pugixml.hpp>

#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr int kBookmarks = 100000;
constexpr int kFolders = 10000;

// The generated catalogue saved once, shared by every case.
const QString &CatalogFile()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        const QString file = dir.filePath(QStringLiteral("bookmarks.xml"));
        TCatalog catalog;
        GenerateCatalog(catalog, kBookmarks, kFolders);
        catalog.SaveToFile(file);
        return file;
    }();
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
