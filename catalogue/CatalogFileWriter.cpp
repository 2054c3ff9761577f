// Writing the catalogue file "bookmarks.xml": the tree is serialised directly in
// the file's layout (two spaces per level, CR LF, a field on one line, an empty
// value as an empty-element tag, no declaration) as UTF-8, then saved atomically.
#include "catalogue/Catalog.h"
#include "catalogue/FolderWalk.h"
#include "catalogue/CatalogFileNames.h"
#include "platform/AtomicFile.h"

#include <QStringEncoder>

#include <cstring>
#include <vector>

namespace {

using namespace CatalogFileNames;

// Indentation stops growing at this level: a pathologically deep tree would
// otherwise make a file quadratic in its depth. Nothing reads the indentation back.
constexpr int kDeepestIndent = 32;

// A value of XML whitespace alone is dropped when the file is read, so it is
// written as an empty element.
bool IsXmlBlank(QStringView text)
{
    for (QChar c : text)
        if (c != u' ' && c != u'\t' && c != u'\r' && c != u'\n')
            return false;
    return true;
}

// True for the characters written as an entity or a character reference, or
// dropped.
bool NeedsEscape(char16_t u)
{
    return u == '&' || u == '<' || u == '>' || (u < 0x20 && u != '\t' && u != '\n')
        || u >= 0xFFFE;
}

class Writer
{
public:
    explicit Writer(qsizetype expected) { m_out.resize(qMax(expected, qsizetype(256))); }

    void Open(int level, const char *name)
    {
        Indent(level);
        Put("<", name, ">\r\n");
    }
    void Close(int level, const char *name)
    {
        Indent(level);
        Put("</", name, ">\r\n");
    }
    // A field element on one line; an empty or blank value as an empty-element tag.
    void Field(int level, const char *name, QStringView value)
    {
        Indent(level);
        if (IsXmlBlank(value)) {
            Put("<", name, "/>\r\n");
            return;
        }
        Put("<", name, ">");
        Escaped(value);
        Put("</", name, ">\r\n");
    }
    void Put(const char *a, const char *b = "", const char *c = "")
    {
        for (const char *part : {a, b, c}) {
            const size_t n = std::strlen(part);
            std::memcpy(Room(qsizetype(n)), part, n);
            m_size += qsizetype(n);
        }
    }
    QByteArray Take()
    {
        m_out.resize(m_size);
        return std::move(m_out);
    }

private:
    // A pointer to at least n free bytes at the end of the text.
    char *Room(qsizetype n)
    {
        if (m_size + n > m_out.size())
            m_out.resize(qMax(m_out.size() * 2, m_size + n));
        return m_out.data() + m_size;
    }

    void Indent(int level)
    {
        const qsizetype n = 2 * qMin(level, kDeepestIndent);
        std::memset(Room(n), ' ', size_t(n));
        m_size += n;
    }

    void Utf8(QStringView run)
    {
        char *start = Room(m_encoder.requiredSpace(run.size()));
        m_size += m_encoder.appendToBuffer(start, run) - start;
    }

    // Markup characters as entities; a carriage return as a character reference,
    // so it comes back unchanged. The other control characters but tab and line
    // feed, U+FFFE and U+FFFF cannot stand in an XML 1.0 file, not even as
    // references: they are dropped, or the file would not load again.
    void Escaped(QStringView value)
    {
        const QChar *run = value.begin();
        for (const QChar *p = run; p != value.end(); ++p) {
            const char16_t u = p->unicode();
            if (!NeedsEscape(u))
                continue;
            Utf8(QStringView(run, p));
            run = p + 1;
            if (u == '&')
                Put("&amp;");
            else if (u == '<')
                Put("&lt;");
            else if (u == '>')
                Put("&gt;");
            else if (u == '\r')
                Put("&#13;");
        }
        Utf8(QStringView(run, value.end()));
    }

    QByteArray m_out;
    qsizetype m_size = 0;
    // Runs are cut only at ASCII characters, U+FFFE and U+FFFF, so a surrogate pair is
    // never split.
    QStringEncoder m_encoder{QStringEncoder::Utf8, QStringEncoder::Flag::Stateless};
};

const char16_t *Flag(bool value)
{
    return value ? u"-1" : u"0";
}

void WriteBookmarks(Writer &w, const TBookmarks &bookmarks, int level)
{
    for (const auto &b : bookmarks) {
        w.Open(level, kBookmark);
        w.Field(level + 1, kTitle, b->Title());
        w.Field(level + 1, kAddress, b->Address());
        w.Field(level + 1, kDescription, b->Description());
        w.Field(level + 1, kAddDate, b->AddDate());
        w.Field(level + 1, kLastVisit, b->LastVisit());
        w.Close(level, kBookmark);
    }
}

// One root folder and its subtree; an element closes when the walk leaves it.
void WriteFolder(Writer &w, const TFolder &top)
{
    int level = 0;
    const auto open = [&w, &level](const TFolder &f) {
        ++level;
        w.Open(level, kFolder);
        w.Field(level + 1, kTitle, f.Title());
        w.Field(level + 1, kDescription, f.Description());
        w.Field(level + 1, kSelected, Flag(f.Selected()));
        w.Field(level + 1, kExpanded, Flag(f.Expanded()));
        WriteBookmarks(w, f.Bookmarks(), level + 1);
    };
    WalkFolders(top, open, [&w, &level](const TFolder &) { w.Close(level--, kFolder); });
}

} // namespace

void TCatalog::SaveToFile(const QString &fileName) const
{
    // About 300 bytes a bookmark in a realistic catalogue.
    Writer w(qsizetype(GetBookmarkCount()) * 320 + 4096);
    if (m_folders.IsEmpty()) {
        w.Put("<", kDocument, "/>\r\n");
    } else {
        w.Put("<", kDocument, ">\r\n");
        for (const auto &folder : m_folders)
            WriteFolder(w, *folder);
        w.Put("</", kDocument, ">\r\n");
    }
    WriteFileAtomically(fileName, w.Take());
}
