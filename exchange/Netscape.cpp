#include "exchange/Netscape.h"
#include "exchange/HtmlText.h"
#include "exchange/LineFile.h"
#include "exchange/Merge.h"
#include "catalogue/FolderWalk.h"
#include "platform/TextCodec.h"

namespace {

enum class LineKind { Other, Folder, EndOfList, Description, Bookmark };

// Compares the start of the line with prefix, ASCII letters without case.
bool StartsWithNoCase(QByteArrayView line, QByteArrayView prefix)
{
    if (line.size() < prefix.size())
        return false;
    for (qsizetype i = 0; i < prefix.size(); ++i) {
        char a = line[i];
        char b = prefix[i];
        if (a >= 'a' && a <= 'z')
            a = char(a - ('a' - 'A'));
        if (b >= 'a' && b <= 'z')
            b = char(b - ('a' - 'A'));
        if (a != b)
            return false;
    }
    return true;
}

// Trimmed; a separator that shares its line with the next entry ("<HR>    <DT><H3
// ...>") is dropped, or that folder would be lost and the nesting go wrong.
QByteArrayView PrepareLine(QByteArrayView raw)
{
    QByteArrayView line = TrimLine(raw);
    while (StartsWithNoCase(line, "<HR>"))
        line = TrimLine(line.sliced(4));
    return line;
}

LineKind KindOf(QByteArrayView line)
{
    if (StartsWithNoCase(line, "<DT><H3"))
        return LineKind::Folder;
    if (StartsWithNoCase(line, "</DL><p>"))
        return LineKind::EndOfList;
    if (StartsWithNoCase(line, "<DD>"))
        return LineKind::Description;
    if (StartsWithNoCase(line, "<DT><A HREF="))
        return LineKind::Bookmark;
    return LineKind::Other;
}

// Without the half of a surrogate pair that a cut by position left at either end.
QStringView WholeCharacters(QStringView text)
{
    if (!text.isEmpty() && text.front().isLowSurrogate())
        text = text.sliced(1);
    if (!text.isEmpty() && text.back().isHighSurrogate())
        text.chop(1);
    return text;
}

// The text after rest's first ">" (all of rest when it has none) less rest's last
// four characters: for `3 ADD_DATE="1">News</H3` this is "News".
QString TitlePart(QStringView rest)
{
    const qsizetype start = rest.indexOf(u'>') + 1;
    const qsizetype length = rest.size() - start - 4;
    return length > 0 ? DecodeHtmlEntities(WholeCharacters(rest.sliced(start, length)))
                      : QString();
}

class FirefoxReader
{
public:
    FirefoxReader(TCatalog &catalog, TFolder *folder) : m_merger(catalog), m_current(folder) {}

    void Read(LineKind kind, const QString &line)
    {
        switch (kind) {
        case LineKind::Folder: {
            // `<DT><H3 ADD_DATE="1">News</H3>`: from the 7th character, less the last.
            auto folder = std::make_unique<TFolder>();
            folder->SetTitle(TitlePart(QStringView(line).sliced(6).chopped(1)));
            m_current = m_merger.MergeFolder(m_current, std::move(folder));
            m_lastWasFolder = true;
            break;
        }
        case LineKind::EndOfList:
            m_current = m_current ? m_current->Parent() : nullptr;
            break;
        case LineKind::Description:
            Describe(DecodeHtmlEntities(QStringView(line).sliced(4)));
            break;
        case LineKind::Bookmark:
            AddBookmark(line.size() > 13 ? WholeCharacters(QStringView(line).sliced(13))
                                         : QStringView());
            break;
        case LineKind::Other:
            break;
        }
    }

private:
    void Describe(const QString &text)
    {
        if (m_lastWasFolder) {
            if (m_current)
                m_current->SetDescription(text);
        } else if (m_lastBookmark) {
            m_lastBookmark->SetDescription(text);
        }
    }

    // rest: the line after `<DT><A HREF="`.
    void AddBookmark(QStringView rest)
    {
        if (!m_current)
            return;
        const qsizetype quote = rest.indexOf(u'"');
        auto bookmark = std::make_unique<TBookmark>();
        bookmark->SetAddress(quote < 0 ? QString() : DecodeHtmlEntities(rest.left(quote)));
        bookmark->SetTitle(TitlePart(rest));
        // A dropped bookmark takes a description line after it along.
        m_lastBookmark = m_merger.MergeBookmark(*m_current, std::move(bookmark));
        m_lastWasFolder = false;
    }

    TMerger m_merger;
    TFolder *m_current;
    bool m_lastWasFolder = false;
    TBookmark *m_lastBookmark = nullptr;
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
    QByteArrayView raw;
    while (lines.ReadLine(raw)) {
        const QByteArrayView line = PrepareLine(raw);
        const LineKind kind = KindOf(line);
        // The prefixes are ASCII, so only the lines they match need decoding.
        if (kind != LineKind::Other)
            reader.Read(kind, DecodeUtf8OrAnsi(line));
    }
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
