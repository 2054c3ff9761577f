// Import and export of 100,000 bookmarks in 10,000 folders, each to be within twice
// the time of BM_LoadFromFile, which loads the same catalogue from its own file.
// The Netscape file is written in Firefox's shape (indentation, dates, icons,
// separators); freeing the catalogues read is not timed, in every case alike.
#include "bench/Generator.h"
#include "exchange/Favorites.h"
#include "exchange/HtmlPage.h"
#include "exchange/HtmlText.h"
#include "exchange/Import1x.h"
#include "exchange/LineFile.h"
#include "exchange/Netscape.h"
#include "exchange/Opera.h"
#include "catalogue/FolderWalk.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int kBookmarks = 100000;
constexpr int kFolders = 10000;

const char *const kFirefoxHeader[] = {
    "<!DOCTYPE NETSCAPE-Bookmark-file-1>",
    "<!-- This is an automatically generated file.",
    "     It will be read and overwritten.",
    "     DO NOT EDIT! -->",
    "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">",
    "<TITLE>Bookmarks</TITLE>",
    "<H1>Bookmarks Menu</H1>",
    "",
    "<DL><p>",
};

// Writes one folder's lines as Firefox does, with attributes and indentation.
class FirefoxShapedWriter
{
public:
    explicit FirefoxShapedWriter(TLineWriter &lines) : m_lines(lines) {}

    void Enter(const TFolder &folder)
    {
        Start(QLatin1StringView("<DT><H3 ADD_DATE=\"1700000000\" LAST_MODIFIED=\"1700000100\">"));
        AppendHtmlEscaped(m_lines, folder.Title());
        m_lines.Line(QLatin1StringView("</H3>"));
        Description(folder.Description());
        Start(QLatin1StringView("<DL><p>"));
        m_lines.EndLine();
        ++m_depth;
        for (const auto &bookmark : folder.Bookmarks())
            Bookmark(*bookmark);
    }

    void Leave()
    {
        --m_depth;
        Start(QLatin1StringView("</DL><p>"));
        m_lines.EndLine();
    }

private:
    void Start(QLatin1StringView head)
    {
        m_lines.Append(QString(m_depth * 4, u' '));
        m_lines.Append(head);
    }

    void Description(const QString &text)
    {
        if (text.isEmpty())
            return;
        Start(QLatin1StringView("<DD>"));
        AppendHtmlEscaped(m_lines, text);
        m_lines.EndLine();
    }

    // Every 50th after a separator on its line, every 10th with an icon.
    void Bookmark(const TBookmark &bookmark)
    {
        ++m_count;
        Start(QLatin1StringView(m_count % 50 == 0 ? "<HR>    " : ""));
        m_lines.Append(QLatin1StringView("<DT><A HREF=\""));
        AppendHtmlEscaped(m_lines, bookmark.Address());
        m_lines.Append(QLatin1StringView("\" ADD_DATE=\"1700000000\""));
        m_lines.Append(QLatin1StringView(" LAST_MODIFIED=\"1700000100\""));
        if (m_count % 10 == 0)
            m_lines.Append(m_icon);
        m_lines.Append(QLatin1StringView(">"));
        AppendHtmlEscaped(m_lines, bookmark.Title());
        m_lines.Line(QLatin1StringView("</A>"));
        Description(bookmark.Description());
    }

    TLineWriter &m_lines;
    const QString m_icon =
        QStringLiteral(" ICON=\"data:image/png;base64,%1\"").arg(QString(300, u'Q'));
    int m_depth = 1;
    int m_count = 0;
};

QByteArray FirefoxShaped(const TCatalog &catalog)
{
    TLineWriter lines;
    for (const char *line : kFirefoxHeader)
        lines.Line(QLatin1StringView(line));
    FirefoxShapedWriter writer(lines);
    WalkFolders(
        catalog, nullptr, [&writer](const TFolder &f) { writer.Enter(f); },
        [&writer](const TFolder &) { writer.Leave(); });
    lines.Line(QLatin1StringView("</DL>"));
    return lines.Bytes();
}

struct Files
{
    QTemporaryDir dir;
    TCatalog catalog;
    QString firefox = dir.filePath(QStringLiteral("firefox.html"));
    QString opera = dir.filePath(QStringLiteral("opera6.adr"));
    QString xml = dir.filePath(QStringLiteral("bookmarks.xml"));
    QString out = dir.filePath(QStringLiteral("out"));

    Files()
    {
        GenerateCatalog(catalog, kBookmarks, kFolders);
        QFile file(firefox);
        if (!file.open(QIODevice::WriteOnly) || file.write(FirefoxShaped(catalog)) < 0)
            qFatal("cannot write %s", qPrintable(firefox));
        file.close();
        ExportOpera(catalog, opera);
        catalog.SaveToFile(xml);
    }
};

Files &Shared()
{
    static Files files;
    return files;
}

// Reads into a new catalogue each time; freeing it is not timed.
template <typename Read>
void TimeReading(benchmark::State &state, Read read)
{
    Shared(); // the files are made before the clock runs
    for (auto _ : state) {
        auto catalog = std::make_unique<TCatalog>();
        read(*catalog);
        benchmark::DoNotOptimize(catalog->Folders().Count());
        state.PauseTiming();
        catalog.reset();
        state.ResumeTiming();
    }
    TCatalog catalog;
    read(catalog);
    state.counters["bookmarks"] = catalog.GetBookmarkCount();
    state.counters["folders"] = catalog.GetFolderCount();
}

// Writes a new file each time (the file does not exist, so nothing is merged).
template <typename Write>
void TimeWriting(benchmark::State &state, Write write)
{
    Files &files = Shared();
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(files.out);
        state.ResumeTiming();
        write(files.catalog, files.out);
    }
}

void BM_LoadFromFile(benchmark::State &state)
{
    TimeReading(state, [](TCatalog &c) { c.LoadFromFile(Shared().xml); });
}
BENCHMARK(BM_LoadFromFile)->Unit(benchmark::kMillisecond);

void BM_ImportFirefoxEmpty(benchmark::State &state)
{
    TimeReading(state, [](TCatalog &c) { ImportFirefox(c, Shared().firefox); });
}
BENCHMARK(BM_ImportFirefoxEmpty)->Unit(benchmark::kMillisecond);

// Into a catalogue that already holds the file: every entry is merged away.
void BM_ImportFirefoxMerge(benchmark::State &state)
{
    TCatalog catalog;
    ImportFirefox(catalog, Shared().firefox);
    const int before = catalog.GetBookmarkCount();
    for (auto _ : state)
        ImportFirefox(catalog, Shared().firefox);
    if (catalog.GetBookmarkCount() != before)
        state.SkipWithError("the merge added bookmarks");
}
BENCHMARK(BM_ImportFirefoxMerge)->Unit(benchmark::kMillisecond);

// 60 MB of plain text lines after one bookmark line whose "</A>" stands on its line
// (0) or is missing (1). The title that runs on stops after 1 MiB, so both must take
// about the same time.
void BM_ImportFirefoxRunOn(benchmark::State &state)
{
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("runon.html")));
    QByteArray text = "<DT><H3>F</H3>\n<DT><A HREF=\"http://a/\">Title";
    text += state.range(0) ? "\n" : "</A>\n";
    const QByteArray line = "    a line of text that begins no entry, as the notes of a file do\n";
    text += line.repeated(60 * 1000 * 1000 / line.size());
    if (!file.open(QIODevice::WriteOnly) || file.write(text) < 0)
        qFatal("cannot write %s", qPrintable(file.fileName()));
    file.close();
    TimeReading(state, [&file](TCatalog &c) { ImportFirefox(c, file.fileName()); });
    state.SetBytesProcessed(state.iterations() * text.size());
}
BENCHMARK(BM_ImportFirefoxRunOn)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_ExportFirefox(benchmark::State &state)
{
    TimeWriting(state, [](const TCatalog &c, const QString &f) { ExportFirefox(c, f); });
}
BENCHMARK(BM_ExportFirefox)->Unit(benchmark::kMillisecond);

void BM_ImportOpera(benchmark::State &state)
{
    TimeReading(state, [](TCatalog &c) { ImportOpera(c, Shared().opera); });
}
BENCHMARK(BM_ImportOpera)->Unit(benchmark::kMillisecond);

void BM_ExportOpera(benchmark::State &state)
{
    TimeWriting(state, [](const TCatalog &c, const QString &f) { ExportOpera(c, f); });
}
BENCHMARK(BM_ExportOpera)->Unit(benchmark::kMillisecond);

// The page of the whole catalogue, with the settings' defaults; its target is at
// most 0.8 of the time of BM_LoadFromFile, so that it stays within a load on a
// busy machine.
void BM_GeneratePage(benchmark::State &state)
{
    THtmlPageSettings page;
    page.TitleText = QStringLiteral("Title");
    page.WelcomeHeader = QStringLiteral("Header");
    page.WelcomeMessage = QStringLiteral("Welcome Message");
    page.BackgroundColor = 0xC0DCC0;
    page.HeaderAreaColor = 0xE1FFFF;
    page.WelcomeAreaColor = 0xF0FBFF;
    page.BookmarkArea1Color = 0xF0CAA6;
    page.BookmarkArea2Color = 0xF9E8D9;
    TimeWriting(state, [&page](const TCatalog &c, const QString &f) {
        GeneratePage(c, nullptr, page, f);
    });
}
BENCHMARK(BM_GeneratePage)->Unit(benchmark::kMillisecond);

// Favourites whose folders are joined by levels of two symbolic links each (a
// diamond): the time must grow with the levels, not double with each of them.
void BM_ImportFavoritesLinkDiamond(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString level = dir.filePath(QStringLiteral("chosen/.store/L%1"));
    const int levels = int(state.range(0));
    for (int i = 0; i <= levels; ++i) {
        QDir().mkpath(level.arg(i));
        QFile shortcut(level.arg(i) + QStringLiteral("/s.url"));
        if (!shortcut.open(QIODevice::WriteOnly) || shortcut.write("[InternetShortcut]\n") < 0)
            qFatal("cannot write %s", qPrintable(shortcut.fileName()));
        for (const char *link : {"/a", "/b"})
            if (i > 0 && !QFile::link(level.arg(i), level.arg(i - 1) + QLatin1String(link)))
                qFatal("cannot link %s", qPrintable(level.arg(i)));
    }
    QFile::link(level.arg(0), dir.filePath(QStringLiteral("chosen/Top")));
    const QString chosen = dir.filePath(QStringLiteral("chosen"));
    TimeReading(state, [&chosen](TCatalog &c) { ImportIE(c, chosen); });
}
BENCHMARK(BM_ImportFavoritesLinkDiamond)->Arg(20)->Arg(40)->Arg(80)->Unit(benchmark::kMillisecond);

// A 1.x folder file of many lines of one title (a real one: 40,000 lines "Misc",
// whose links file holds 2,500 bookmarks): the time must grow with the input's
// size, not with lines times bookmarks.
void BM_Import1xRepeatedTitle(benchmark::State &state)
{
    QTemporaryDir dir;
    const auto write = [&dir](const char *name, const QByteArray &bytes) {
        QDir().mkpath(QFileInfo(dir.filePath(QLatin1StringView(name))).path());
        QFile file(dir.filePath(QLatin1StringView(name)));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", name);
    };
    write("folders.wnf", QByteArray("Misc\r\n").repeated(state.range(0)));
    write("folddesc.wnf", "Misc\r\nAll sorts\r\n");
    QByteArray links;
    for (int i = 0; i < 2500; ++i)
        links += QStringLiteral("T:Bookmark %1\r\nU:http://example.com/%1\r\nV:2004.01.02\r\n"
                                "A:2003.12.24\r\nD:\r\n").arg(i).toUtf8();
    write("Links/Misc.wnl", links);
    const QString path = dir.path();
    TimeReading(state, [&path](TCatalog &c) { ImportVarnokel1x(c, path); });
}
BENCHMARK(BM_Import1xRepeatedTitle)->Arg(10000)->Arg(40000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
