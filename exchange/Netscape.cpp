#include "exchange/Netscape.h"
#include "exchange/HtmlText.h"
#include "exchange/LineFile.h"
#include "exchange/Merge.h"
#include "catalogue/FolderWalk.h"
#include "exchange/NetscapeScanner.h"

namespace {

class FirefoxReader
{
public:
    FirefoxReader(TCatalog &catalog, TFolder *folder) : m_merger(catalog), m_current(folder) {}

    void Read(const NetscapeLine &at, QStringView line)
    {
        switch (at.kind) {
        case NetscapeKind::Folder: {
            auto folder = std::make_unique<TFolder>();
            folder->SetTitle(ReadElement(line, at, u"</H3>").title);
            m_current = m_merger.MergeFolder(m_current, std::move(folder));
            m_lastWasFolder = true;
            break;
        }
        case NetscapeKind::EndOfList:
            m_current = m_current ? m_current->Parent() : nullptr;
            break;
        case NetscapeKind::Description:
            Describe(ImportedText(ReadDescription(line, at)));
            break;
        case NetscapeKind::Bookmark:
            AddBookmark(ReadElement(line, at, u"</A>"));
            break;
        case NetscapeKind::Heading:
            m_heading = ReadElement(line, at, u"</H1>").title;
            m_loose = nullptr;
            break;
        case NetscapeKind::Other:
            break;
        }
    }

private:
    // A description line after a folder line describes the current folder, which
    // end-of-list lines since then have moved up the tree; after a bookmark line it
    // describes that bookmark (none when the merge dropped it).
    void Describe(const QString &text)
    {
        if (m_lastWasFolder) {
            if (m_current)
                m_current->SetDescription(text);
        } else if (m_lastBookmark) {
            m_lastBookmark->SetDescription(text);
        }
    }

    void AddBookmark(const NetscapeElement &element)
    {
        m_lastWasFolder = false;
        m_lastBookmark = nullptr;
        if (!element.hasAddress) // an anchor that links nowhere: read, and dropped
            return;
        auto bookmark = std::make_unique<TBookmark>();
        bookmark->SetAddress(element.address);
        bookmark->SetTitle(element.title);
        TFolder &target = m_current ? *m_current : LooseFolder();
        m_lastBookmark = m_merger.MergeBookmark(target, std::move(bookmark));
    }

    // Bookmarks outside every folder go into a root folder titled with the file's
    // heading, "Bookmarks" when it has none.
    TFolder &LooseFolder()
    {
        if (!m_loose) {
            auto folder = std::make_unique<TFolder>();
            const bool named = !TrimText(m_heading).isEmpty();
            folder->SetTitle(named ? m_heading : QStringLiteral("Bookmarks"));
            m_loose = m_merger.MergeFolder(nullptr, std::move(folder));
        }
        return *m_loose;
    }

    TMerger m_merger;
    TFolder *m_current;
    bool m_lastWasFolder = false;
    TBookmark *m_lastBookmark = nullptr;
    QString m_heading;
    TFolder *m_loose = nullptr;
};

void WriteFolderEntries(const TFolder &folder, TLineWriter &lines)
{
    lines.Append(QLatin1StringView("<DT><H3>"));
    AppendHtmlEscaped(lines, folder.Title());
    lines.Append(QLatin1StringView("</H3>"));
    lines.EndLine();
    if (!folder.Description().isEmpty()) {
        lines.Append(QLatin1StringView("<DD>"));
        AppendHtmlEscaped(lines, folder.Description(), true);
        lines.EndLine();
    }
    lines.Line(QLatin1StringView("<DL><p>"));
    for (const auto &bookmark : folder.Bookmarks()) {
        lines.Append(QLatin1StringView("<DT><A HREF=\""));
        AppendHtmlEscaped(lines, bookmark->Address());
        lines.Append(QLatin1StringView("\">"));
        AppendHtmlEscaped(lines, bookmark->Title());
        lines.Append(QLatin1StringView("</A>"));
        lines.EndLine();
        if (!bookmark->Description().isEmpty()) {
            lines.Append(QLatin1StringView("<DD>"));
            AppendHtmlEscaped(lines, bookmark->Description(), true);
            lines.EndLine();
        }
    }
}

} // namespace

void ReadFirefoxLines(TCatalog &catalog, TLineReader &lines, TFolder *folder)
{
    FirefoxReader reader(catalog, folder);
    TNetscapeScanner scanner(lines);
    NetscapeEntry entry;
    while (scanner.Next(entry))
        reader.Read(entry.at, entry.text);
}

void ImportFirefox(TCatalog &catalog, const QString &fileName, TFolder *folder)
{
    if (!IsExistingFile(fileName))
        return;
    TLineReader lines(fileName);
    ReadFirefoxLines(catalog, lines, folder);
}

void WriteFirefoxFolders(const TCatalog &catalog, const TFolder *folder, TLineWriter &lines)
{
    WalkFolders(
        catalog, folder, [&lines](const TFolder &f) { WriteFolderEntries(f, lines); },
        [&lines](const TFolder &) { lines.Line(QLatin1StringView("</DL><p>")); });
}

void WriteFirefoxFile(const TCatalog &catalog, TLineWriter &lines)
{
    lines.Line(QLatin1StringView("<!DOCTYPE NETSCAPE-Bookmark-file-1>"));
    lines.Line(QLatin1StringView("<TITLE>Bookmarks</TITLE>"));
    lines.Line(QLatin1StringView("<H1>Bookmarks</H1>"));
    lines.Line(QLatin1StringView("<DL><p>"));
    WriteFirefoxFolders(catalog, nullptr, lines);
    lines.Line(QLatin1StringView("</DL><p>"));
}

void ExportFirefox(const TCatalog &catalog, const QString &fileName)
{
    ExportMerged(catalog, fileName, ImportFirefox, WriteFirefoxFile);
}
