// The main window at scale: rebuilding the tree of 10,000 folders, filling the
// list with a folder of 100,000 bookmarks, a click on a folder, each measured
// against loading a catalogue of that size, which the user already waits for.
// Runs on the offscreen platform in a temporary program folder, under en_US.UTF-8
// whatever the caller's locale; the cases that sort run under C's collation too.
#include "bench/Generator.h"
#include "catalogue/Catalog.h"
#include "program/Globals.h"
#include "mainwindow/MainForm.h"
#include "program/MessageBox.h"
#include "settings/Preferences.h"

#include <QApplication>
#include <QLocale>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

const int kFolders = 10000;
const int kBookmarks = 100000;

QString &BenchFolder()
{
    static QString folder;
    return folder;
}

// A shown main window over an empty catalogue; one at a time, since the window
// sets the program-wide variables.
std::unique_ptr<TfrmMain> NewWindow()
{
    auto window = std::make_unique<TfrmMain>();
    window->show();
    QApplication::processEvents();
    return window;
}

// Folders laid out as a user would leave them: some expanded, one selected.
void FillCatalog()
{
    GenerateCatalog(*Catalog, kBookmarks, kFolders);
    Catalog->Folders().At(Catalog->Folders().Count() / 2)->SetSelected(true);
}

void BM_RebuildFolderTree(benchmark::State &state)
{
    auto window = NewWindow();
    FillCatalog();
    for (auto _ : state)
        window->RebuildFolderTree();
    state.counters["folders"] = Catalog->GetFolderCount();
}

void Shuffle(TBookmarks &list, std::mt19937 &rng)
{
    std::vector<std::unique_ptr<TBookmark>> all;
    all.reserve(size_t(list.Count()));
    while (!list.IsEmpty())
        all.push_back(list.Extract(list.Count() - 1));
    std::shuffle(all.begin(), all.end(), rng);
    for (auto &bookmark : all)
        list.Add(std::move(bookmark));
}

void BM_FillBookmarkList(benchmark::State &state, const char *locale)
{
    QLocale::setDefault(QLocale(QString::fromLatin1(locale)));
    auto window = NewWindow();
    TFolder *folder = Catalog->Folders().Add(std::make_unique<TFolder>());
    folder->SetTitle(QStringLiteral("Everything"));
    GenerateBookmarks(*folder, kBookmarks);
    Prefs->Rec().SortType = stTitle;
    CurrentFolder = folder;
    std::mt19937 rng(7);
    for (auto _ : state) {
        state.PauseTiming();
        Shuffle(folder->Bookmarks(), rng);
        state.ResumeTiming();
        window->FillBookmarkList();
    }
    state.counters["rows"] = folder->Bookmarks().Count();
}

void BM_SelectFolder(benchmark::State &state, const char *locale)
{
    QLocale::setDefault(QLocale(QString::fromLatin1(locale)));
    auto window = NewWindow();
    FillCatalog();
    TFolder *nodes[2];
    for (unsigned seed : {1u, 2u}) {
        TFolder *folder = Catalog->Folders().Add(std::make_unique<TFolder>());
        folder->SetTitle(QStringLiteral("Folder %1").arg(seed));
        GenerateBookmarks(*folder, 1000, seed);
        nodes[seed - 1] = folder;
    }
    window->RebuildFolderTree();
    QTreeWidget *tree = window->trvFolders;
    QTreeWidgetItem *items[2] = {tree->topLevelItem(tree->topLevelItemCount() - 2),
                                 tree->topLevelItem(tree->topLevelItemCount() - 1)};
    int next = 0;
    for (auto _ : state) {
        tree->setCurrentItem(items[next]);
        next = 1 - next;
    }
    if (CurrentFolder != nodes[0] && CurrentFolder != nodes[1])
        state.SkipWithError("the click did not make the folder current");
}

void BM_LoadFromFile(benchmark::State &state)
{
    const QString file = BenchFolder() + QStringLiteral("load.xml");
    {
        TCatalog catalog;
        GenerateCatalog(catalog, kBookmarks, kFolders);
        catalog.SaveToFile(file);
    }
    for (auto _ : state) {
        auto catalog = std::make_unique<TCatalog>();
        catalog->LoadFromFile(file);
        state.PauseTiming();
        catalog.reset();
        state.ResumeTiming();
    }
}

BENCHMARK(BM_RebuildFolderTree)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_FillBookmarkList, en_US, "en_US.UTF-8")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_FillBookmarkList, C, "C")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_SelectFolder, en_US, "en_US.UTF-8")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_SelectFolder, C, "C")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LoadFromFile)->Unit(benchmark::kMillisecond)->UseRealTime();

// The console report, then each case's time as a share of the load's, with its target.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        // With --benchmark_repetitions the median stands for the case; every case
        // is reported in milliseconds, so the times compare as they are.
        for (const Run &run : runs) {
            if (run.error_occurred)
                continue;
            const std::string name = run.run_name.function_name;
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
                m_times[name] = run.GetAdjustedRealTime();
                m_median.insert(name);
            } else if (run.run_type == Run::RT_Iteration && !m_median.count(name)) {
                m_times[name] = run.GetAdjustedRealTime();
            }
        }
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        const auto load = m_times.find("BM_LoadFromFile");
        if (load == m_times.end() || load->second <= 0)
            return;
        const std::pair<std::string, double> targets[] = {
            {"BM_RebuildFolderTree", 1.0}, {"BM_FillBookmarkList", 0.5},
            {"BM_SelectFolder", 0.05}};
        // A case run under several locales reports each as name/locale.
        for (const auto &[name, time] : m_times) {
            for (const auto &[target_name, target] : targets) {
                if (name != target_name && name.rfind(target_name + '/', 0) != 0)
                    continue;
                const double ratio = time / load->second;
                std::printf("%-26s %.3fx of BM_LoadFromFile (target <= %.2fx): %s\n",
                            name.c_str(), ratio, target, ratio <= target ? "met" : "MISSED");
            }
        }
    }

private:
    std::map<std::string, double> m_times; // milliseconds per iteration
    std::set<std::string> m_median;
};

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // A desktop user's locale, not the caller's (a build machine's is often C).
    qputenv("LC_ALL", "en_US.UTF-8");
    if (!std::setlocale(LC_ALL, ""))
        std::fprintf(stderr, "en_US.UTF-8 is not installed: the process stays in C; "
                             "the sorts still use en_US collation, which is ICU's\n");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;
    BenchFolder() = dir.path() + QLatin1Char('/');
    SetProgramFolder(dir.path());
    // Nothing here should ask; should it, no box may wait for an answer.
    SetMessageBoxAnswerer([](const MessageBoxRequest &request) {
        return request.Buttons.testFlag(QMessageBox::No) ? QMessageBox::No : QMessageBox::Ok;
    });

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
