#include "exchange/HtmlPage.h"
#include "exchange/HtmlText.h"
#include "catalogue/FolderWalk.h"
#include "platform/AtomicFile.h"

#include <vector>

namespace {

const QLatin1StringView kTableLine(
    "<table width=\"640\" border=\"0\" cellspacing=\"1\" cellpadding=\"1\" align=\"center\""
    " bgcolor=\"#000000\">");

// About what a bookmark takes in the page, its texts included.
constexpr qsizetype kBytesPerBookmark = 256;

// Browsers drop leading blanks and control characters, and tabs and line breaks
// anywhere, and take the scheme in any case: " java\tScript:" runs as script.
// Dropping every such character before the colon covers all of it.
bool IsScriptAddress(QStringView address)
{
    char scheme[10];
    qsizetype length = 0;
    for (QChar c : address) {
        const char16_t code = c.unicode();
        if (code <= 0x20 || code == 0x7F)
            continue;
        if (code == u':') {
            const QLatin1StringView name(scheme, length);
            return name == QLatin1StringView("javascript")
                || name == QLatin1StringView("vbscript") || name == QLatin1StringView("data");
        }
        if (length == 10 || !((code >= 'a' && code <= 'z') || (code >= 'A' && code <= 'Z')))
            return false;
        scheme[length++] = char(code | 0x20);
    }
    return false;
}

// Asks for the texts of the bookmarks a few rows ahead of the one being written,
// across folders: reading them, scattered over the heap, is most of the page's
// time, and prefetches overlap where reads one after the other would each wait.
// Each stage needs what the one before brought in: the bookmark, then its fields,
// then the texts. Both functions must be inlined: g++ 12 takes a function that
// only prefetches for one without effects and drops the calls to it.
class TextPrefetcher
{
    // Titles and addresses mostly reach into a second cache line. A prefetch
    // never faults, so the line after a short text's end is fine to ask for.
    [[gnu::always_inline]] static void PrefetchTwoLines(const void *text)
    {
        __builtin_prefetch(text);
        __builtin_prefetch(reinterpret_cast<const void *>(quintptr(text) + 64));
    }

public:
    explicit TextPrefetcher(std::vector<const TBookmark *> order) : m_order(std::move(order)) {}

    [[gnu::always_inline]] void Ahead(size_t row) const
    {
        if (row + 8 < m_order.size())
            __builtin_prefetch(m_order[row + 8]);
        if (row + 4 < m_order.size()) {
            const TBookmark &fields = *m_order[row + 4];
            __builtin_prefetch(&fields.Title());
            __builtin_prefetch(&fields.Address());
        }
        if (row + 2 < m_order.size()) {
            const TBookmark &texts = *m_order[row + 2];
            PrefetchTwoLines(texts.Title().constData());
            PrefetchTwoLines(texts.Address().constData());
            __builtin_prefetch(texts.Description().constData());
        }
    }

private:
    std::vector<const TBookmark *> m_order;
};

// Writes the tables of folders in the order given; the start of each bookmark
// cell is made once.
class FolderTableWriter
{
public:
    FolderTableWriter(const TFolderTableColors &colors, THtmlBuffer &out)
        : m_out(out),
          m_header("<th bgcolor=" + colors.Header.toLatin1()
                   + " bordercolor=\"#FFFFFF\"><font size=\"+1\"><b>"),
          m_cells{Cell(colors.BookmarkArea1), Cell(colors.BookmarkArea2)}
    {
    }

    void Write(const std::vector<const TFolder *> &folders)
    {
        std::vector<const TBookmark *> order;
        for (const TFolder *folder : folders)
            for (const auto &bookmark : folder->Bookmarks())
                order.push_back(bookmark.get());
        m_out.Reserve(kBytesPerBookmark * qsizetype(order.size()));
        const TextPrefetcher prefetcher(std::move(order));
        size_t row = 0;
        for (const TFolder *folder : folders) {
            WriteHeader(*folder);
            const TBookmarks &bookmarks = folder->Bookmarks();
            for (int i = 0; i < bookmarks.Count(); ++i, ++row) {
                prefetcher.Ahead(row);
                m_out.Line(QLatin1StringView("<tr>"));
                WriteCell(*bookmarks.At(i), m_cells[i % 2]);
            }
            m_out.Line(QLatin1StringView("</tr>"));
            m_out.Line(QLatin1StringView("</table>"));
        }
    }

private:
    static QByteArray Cell(const QString &color)
    {
        return "<td bgcolor=" + color.toLatin1() + " bordercolor=\"#FFFFFF\">";
    }

    // Every folder gets a table, an empty one too; one "</tr>" follows its rows.
    void WriteHeader(const TFolder &folder)
    {
        m_out.Line(QLatin1StringView("<br>"));
        m_out.Line(kTableLine);
        m_out.Line(QLatin1StringView("<tr>"));
        m_out.Put(m_header);
        m_out.Escaped(folder.Title());
        m_out.Line(QLatin1StringView("</b></font></th>"));
        m_out.Line(QLatin1StringView("</tr>"));
    }

    void WriteCell(const TBookmark &bookmark, const QByteArray &cell)
    {
        m_out.Put(cell);
        if (IsScriptAddress(bookmark.Address())) {
            m_out.Escaped(bookmark.Title());
            m_out.Line(QLatin1StringView("</td>"));
            return;
        }
        m_out.Put(QLatin1StringView("<a href=\""));
        m_out.Escaped(bookmark.Address(), true);
        m_out.Put(QLatin1StringView("\" title=\""));
        m_out.Escaped(bookmark.Description(), true);
        m_out.Put(QLatin1StringView("\">"));
        m_out.Escaped(bookmark.Title());
        m_out.Line(QLatin1StringView("</a></td>"));
    }

    THtmlBuffer &m_out;
    const QByteArray m_header;
    const QByteArray m_cells[2];
};

// The head, and the table with the page's header and welcome message.
void WritePageTop(THtmlBuffer &out, const THtmlPageSettings &page)
{
    const auto color = [&page](int value) {
        return ColorToHtml(value, page.ResolveSystemColor).toLatin1();
    };
    out.Line(QLatin1StringView("<!-- This bookmark file is generated by Varnokel PRO -->"));
    out.Line(QLatin1StringView("<html>"));
    out.Line(QLatin1StringView("<head>"));
    out.Line(QLatin1StringView("<meta charset=\"utf-8\">"));
    out.Put(QLatin1StringView("<title>"));
    out.Escaped(page.TitleText);
    out.Line(QLatin1StringView("</title>"));
    out.Line(QLatin1StringView("</head>"));
    out.Put("<body bgcolor=" + color(page.BackgroundColor) + " text=" + color(page.TextColor));
    out.Line(QLatin1StringView(">"));
    out.Line(kTableLine);
    out.Line(QLatin1StringView("<tr>"));
    out.Put("<th bgcolor=" + color(page.HeaderAreaColor));
    out.Put(QLatin1StringView(" bordercolor=\"#FFFFFF\"><font size=\"+2\"><b>"));
    out.Escaped(page.WelcomeHeader);
    out.Line(QLatin1StringView("</b></font></th>"));
    out.Line(QLatin1StringView("</tr>"));
    out.Line(QLatin1StringView("<tr>"));
    out.Put("<td bgcolor=" + color(page.WelcomeAreaColor));
    out.Put(QLatin1StringView(" bordercolor=\"#FFFFFF\"><font size=\"+1\">"));
    out.Escaped(page.WelcomeMessage);
    out.Line(QLatin1StringView("</font></td>"));
    out.Line(QLatin1StringView("</tr>"));
    out.Line(QLatin1StringView("</table>"));
}

} // namespace

void WriteFolderTables(const TCatalog &catalog, const TFolder *folder,
                       const TFolderTableColors &colors, THtmlBuffer &out)
{
    std::vector<const TFolder *> folders;
    WalkFolders(
        catalog, folder, [&folders](const TFolder &current) { folders.push_back(&current); },
        [](const TFolder &) {});
    FolderTableWriter(colors, out).Write(folders);
}

void GeneratePage(const TCatalog &catalog, const TFolder *folder,
                  const THtmlPageSettings &page, const QString &fileName)
{
    const auto color = [&page](int value) { return ColorToHtml(value, page.ResolveSystemColor); };
    THtmlBuffer out;
    WritePageTop(out, page);
    WriteFolderTables(catalog, folder,
                      {color(page.HeaderAreaColor), color(page.BookmarkArea1Color),
                       color(page.BookmarkArea2Color)},
                      out);
    out.Line(QLatin1StringView("<br>"));
    out.Line(QLatin1StringView("<center>Generated by Varnokel PRO.</center>"));
    out.Line(QLatin1StringView("</body>"));
    out.Line(QLatin1StringView("</html>"));
    WriteFileAtomically(fileName, out.Take());
}
