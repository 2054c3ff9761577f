// Sorting a folder of 100,000 bookmarks and a find that matches nothing in a
// catalogue of 100,000 bookmarks, each beside the plain floor it is measured against:
// std::stable_sort with QString::compare, and QString::indexOf ignoring case.
// The program runs under en_US.UTF-8, as a desktop user would, whatever the caller's
// locale; each sort runs under that collation and under C's.
#include "bench/Generator.h"
#include "catalogue/Search.h"

#include <benchmark/benchmark.h>

#include <QLocale>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <random>
#include <vector>

namespace {

constexpr int kBookmarks = 100000;
const QString kMissing = QStringLiteral("kernel panic"); // both words occur, never together

// Puts the folder's bookmarks into a new random order (the same objects).
void Shuffle(TFolder &folder, std::mt19937 &rng)
{
    TBookmarks &list = folder.Bookmarks();
    std::vector<std::unique_ptr<TBookmark>> items;
    items.reserve(size_t(list.Count()));
    while (!list.IsEmpty())
        items.push_back(list.Extract(list.Count() - 1));
    std::shuffle(items.begin(), items.end(), rng);
    for (auto &item : items)
        list.Add(std::move(item));
}

void SortBy(benchmark::State &state, TSortType key, const char *locale)
{
    QLocale::setDefault(QLocale(QString::fromLatin1(locale)));
    TFolder folder;
    GenerateBookmarks(folder, kBookmarks);
    std::mt19937 rng(7);
    for (auto _ : state) {
        state.PauseTiming();
        Shuffle(folder, rng);
        state.ResumeTiming();
        folder.Bookmarks().Sort(key, false);
    }
    state.SetItemsProcessed(state.iterations() * kBookmarks);
}

void BM_SortTitle(benchmark::State &state, const char *locale) { SortBy(state, stTitle, locale); }
void BM_SortAddress(benchmark::State &state, const char *locale)
{
    SortBy(state, stAddress, locale);
}
void BM_SortLastVisit(benchmark::State &state, const char *locale)
{
    SortBy(state, stLastVisit, locale);
}
void BM_SortAddDate(benchmark::State &state, const char *locale)
{
    SortBy(state, stAddDate, locale);
}

// The list shown again: it stands sorted already, ascending or reversed.
void BM_SortTitleAgain(benchmark::State &state, const char *locale, bool reversed)
{
    QLocale::setDefault(QLocale(QString::fromLatin1(locale)));
    TFolder folder;
    GenerateBookmarks(folder, kBookmarks);
    folder.Bookmarks().Sort(stTitle, reversed);
    for (auto _ : state)
        folder.Bookmarks().Sort(stTitle, reversed);
    state.SetItemsProcessed(state.iterations() * kBookmarks);
}

void BM_StableSortPlain(benchmark::State &state)
{
    TFolder folder;
    GenerateBookmarks(folder, kBookmarks);
    std::vector<QString> titles;
    for (const auto &bookmark : folder.Bookmarks())
        titles.push_back(bookmark->Title());
    std::mt19937 rng(7);
    for (auto _ : state) {
        state.PauseTiming();
        std::shuffle(titles.begin(), titles.end(), rng);
        state.ResumeTiming();
        std::stable_sort(titles.begin(), titles.end(), [](const QString &a, const QString &b) {
            return QString::compare(a, b) < 0;
        });
    }
    state.SetItemsProcessed(state.iterations() * kBookmarks);
}

void BM_FindNextNoMatch(benchmark::State &state)
{
    TCatalog catalog;
    GenerateCatalog(catalog, kBookmarks, 10000);
    for (auto _ : state) {
        TSearchRec rec;
        rec.Text = kMissing;
        rec.Folder = catalog.Folders().At(0);
        benchmark::DoNotOptimize(FindNext(rec));
    }
    state.SetItemsProcessed(state.iterations() * kBookmarks);
}

// Every field FindNext visits above, in the same order.
std::vector<QString> AllTexts(const TCatalog &catalog)
{
    std::vector<QString> texts;
    std::vector<const TFolder *> stack;
    for (int i = catalog.Folders().Count() - 1; i >= 0; --i)
        stack.push_back(catalog.Folders().At(i));
    while (!stack.empty()) {
        const TFolder *folder = stack.back();
        stack.pop_back();
        texts.push_back(folder->Title());
        texts.push_back(folder->Description());
        for (const auto &b : folder->Bookmarks()) {
            texts.push_back(b->Title());
            texts.push_back(b->Address());
            texts.push_back(b->Description());
        }
        for (int i = folder->Folders().Count() - 1; i >= 0; --i)
            stack.push_back(folder->Folders().At(i));
    }
    return texts;
}

void BM_IndexOfPlain(benchmark::State &state)
{
    TCatalog catalog;
    GenerateCatalog(catalog, kBookmarks, 10000);
    const std::vector<QString> texts = AllTexts(catalog);
    for (auto _ : state) {
        qsizetype found = -1;
        for (const QString &text : texts)
            found = std::max(found, text.indexOf(kMissing, 0, Qt::CaseInsensitive));
        benchmark::DoNotOptimize(found);
    }
    state.SetItemsProcessed(state.iterations() * kBookmarks);
}

} // namespace

#define VK_BENCH_SORT(name)                                                                   \
    BENCHMARK_CAPTURE(name, en_US, "en_US.UTF-8")->Unit(benchmark::kMillisecond);             \
    BENCHMARK_CAPTURE(name, C, "C")->Unit(benchmark::kMillisecond)
VK_BENCH_SORT(BM_SortTitle);
VK_BENCH_SORT(BM_SortAddress);
VK_BENCH_SORT(BM_SortLastVisit);
VK_BENCH_SORT(BM_SortAddDate);
BENCHMARK_CAPTURE(BM_SortTitleAgain, en_US, "en_US.UTF-8", false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SortTitleAgain, en_US_reversed, "en_US.UTF-8", true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SortTitleAgain, C, "C", false)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StableSortPlain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindNextNoMatch)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IndexOfPlain)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    // Set here, not by the caller: the process's locale is a desktop user's.
    qputenv("LC_ALL", "en_US.UTF-8");
    if (!std::setlocale(LC_ALL, ""))
        std::fprintf(stderr, "en_US.UTF-8 is not installed: the process stays in C; "
                             "the sorts still use en_US collation, which is ICU's\n");
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
