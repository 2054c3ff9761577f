// The streaming reader of the catalogue file: the tree is built while the file is
// read in blocks, with no document in memory, so a load costs little more than the
// catalogue it makes. It reads the plain form: UTF-8 (or a declaration that says
// so), elements without attributes, text with the five entities and character
// references. Anything else (comments, CDATA, processing instructions, attributes,
// another encoding, any fault, bytes that are not XML's characters in UTF-8, a
// field that fails) makes it take back what it added and leave the file to the
// document reader. Where it reads, it follows that reader's parser to the byte:
// its white space, names, end tags and references.
#include "catalogue/Catalog.h"
#include "catalogue/CatalogFileInput.h"
#include "catalogue/CatalogFileNames.h"
#include "catalogue/CatalogFileReaders.h"
#include "catalogue/CatalogFileRules.h"
#include "catalogue/CatalogFileSyntax.h"
#include "catalogue/XmlChars.h"

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace CatalogFileNames;
using CatalogFileSyntax::Is;
using CatalogFileSyntax::kNameChar;
using CatalogFileSyntax::kNameStart;
using CatalogFileSyntax::kSpace;

// Compares with a constant of known length, which the compiler does inline.
template <size_t N>
bool Named(std::string_view name, const char (&constant)[N])
{
    return name.size() == N - 1 && std::memcmp(name.data(), constant, N - 1) == 0;
}

// What a tag's name is: a field (fTitle to fLastVisit, the values a Field frame
// holds), one of the other names of the file, another name, or no name at all.
enum Name : unsigned char {
    fTitle, fDescription, fSelected, fExpanded, fAddress, fAddDate, fLastVisit,
    nFolder, nBookmark, nDocument, nOther, nInvalid
};
constexpr unsigned kFolderFields =
    1u << fTitle | 1u << fDescription | 1u << fSelected | 1u << fExpanded;
constexpr unsigned kBookmarkFields =
    1u << fTitle | 1u << fAddress | 1u << fDescription | 1u << fAddDate | 1u << fLastVisit;

Name KnownName(std::string_view name)
{
    switch (name.size()) {
    case sizeof kTitle - 1:
        return Named(name, kTitle) ? fTitle : nOther;
    case sizeof kFolder - 1:
        return Named(name, kFolder) ? nFolder : nOther;
    case sizeof kAddress - 1:
        static_assert(sizeof kAddress == sizeof kAddDate);
        return Named(name, kAddress) ? fAddress : Named(name, kAddDate) ? fAddDate : nOther;
    case sizeof kSelected - 1:
        static_assert(sizeof kSelected == sizeof kExpanded);
        static_assert(sizeof kSelected == sizeof kBookmark);
        return Named(name, kBookmark) ? nBookmark
            : Named(name, kSelected)  ? fSelected
            : Named(name, kExpanded)  ? fExpanded
                                      : nOther;
    case sizeof kLastVisit - 1:
        return Named(name, kLastVisit) ? fLastVisit : nOther;
    case sizeof kDescription - 1:
        return Named(name, kDescription) ? fDescription : nOther;
    case sizeof kDocument - 1:
        return Named(name, kDocument) ? nDocument : nOther;
    default:
        return nOther;
    }
}

// Whether bytes are UTF-8 of characters XML allows.
bool IsXmlUtf8(std::string_view bytes)
{
    return CheckXmlUtf8(QByteArrayView(bytes.data(), qsizetype(bytes.size()))).kind
        == XmlUtf8Fault::None;
}

// What a name is; nInvalid unless the parser would take all its bytes for a name.
Name NameOf(std::string_view name)
{
    if (const Name known = KnownName(name); known != nOther)
        return known;
    if (name.empty() || !Is(name[0], kNameStart))
        return nInvalid;
    bool ascii = true;
    for (char c : name) {
        if (!Is(c, kNameChar))
            return nInvalid;
        ascii = ascii && !(c & 0x80);
    }
    return ascii || IsXmlUtf8(name) ? nOther : nInvalid;
}

// A field is found by the part of its name after any prefix, too.
Name FieldOf(std::string_view name, Name exact)
{
    if (exact != nOther)
        return exact;
    const size_t colon = name.rfind(':');
    if (colon == std::string_view::npos)
        return nOther;
    const Name local = KnownName(name.substr(colon + 1));
    return local <= fLastVisit ? local : nOther;
}

// Bookmarks added or visited on the same day one after the other (an import, a
// day's finds) share one text instead of holding a copy each.
class RepeatedText
{
public:
    static constexpr size_t kLongest = 16;

    const QString &Text(std::string_view bytes)
    {
        quint64 words[2] = {0, 0};
        std::memcpy(words, bytes.data(), bytes.size());
        if (m_size != bytes.size() || m_words[0] != words[0] || m_words[1] != words[1]) {
            m_words[0] = words[0];
            m_words[1] = words[1];
            m_size = bytes.size();
            m_text = FieldText(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
        }
        return m_text;
    }

private:
    quint64 m_words[2] = {0, 0};
    size_t m_size = kLongest + 1; // none yet
    QString m_text;
};

class StreamReader
{
public:
    StreamReader(TFolders &root, qsizetype block)
        : m_root(root), m_in(block > 0 ? block : CatalogFileInput::kBlock)
    {
    }

    bool Read(const QString &fileName) { return m_in.Open(fileName) && Prolog() && Body(); }

private:
    enum class Kind : unsigned char { Root, Folder, Bookmark, Field, Ignored };
    // An open element. The names of folders, bookmarks and unprefixed fields
    // follow from what they are; the others are kept in m_names.
    struct Frame
    {
        Kind kind = Kind::Ignored;
        Name field = nOther;    // of a Field frame
        unsigned char seen = 0; // the fields met so far in a Folder or Bookmark frame
        bool keepsName = true;
        size_t namesEnd = 0; // the size of m_names while the element is open
        union {
            TFolder *folder = nullptr;
            TBookmark *bookmark;
        };
    };

    bool Prolog();
    bool SkipDeclaration();
    bool Body();
    bool Text();
    qsizetype Tag(const char *p, qsizetype n);
    bool Open(std::string_view name, Name known, bool empty);
    bool Child(Frame &parent, std::string_view name, Name known, Frame &frame);
    static void AddFolder(TFolders &list, Frame &frame);
    static void AddBookmark(TFolder &folder, Frame &frame);
    static void TakeField(Frame &parent, Name field, Name known, unsigned fields, Frame &frame);
    bool Close(std::string_view name, Name known);
    bool SetField(std::string_view bytes, bool ascii);
    bool SetFolderField(TFolder &folder, Name field, const QString &value);
    void SetBookmarkField(TBookmark &bookmark, Name field, const QString &value);

    TFolders &m_root;
    CatalogFileInput m_in;
    std::vector<Frame> m_stack;
    std::string m_names;
    std::string m_text; // a value with its references resolved
    RepeatedText m_added;
    RepeatedText m_visited;
    bool m_rootSeen = false;
};

// The check of the encoding needs the whole declaration in the file's start.
bool StreamReader::Prolog()
{
    const bool whole = !m_in.Ensure(CatalogFileInput::kBlock);
    const QByteArray start = QByteArray::fromRawData(m_in.Data(), m_in.Size());
    if (!whole && start.startsWith("<?xml") && !start.contains("?>"))
        return false;
    const qsizetype prefix = Utf8PrefixSize(start);
    if (prefix < 0)
        return false;
    m_in.Consume(prefix);
    return SkipDeclaration();
}

// The document reader's parser skips a declaration up to the first "?>".
bool StreamReader::SkipDeclaration()
{
    const std::string_view start(m_in.Data(), size_t(m_in.Size()));
    if (!start.starts_with("<?xml") || start.size() < 6
        || !(Is(start[5], kSpace) || start[5] == '?'))
        return true;
    const size_t end = start.find("?>", 5);
    if (end == std::string_view::npos || !IsXmlUtf8(start.substr(0, end)))
        return false;
    m_in.Consume(qsizetype(end + 2));
    return true;
}

bool StreamReader::Body()
{
    for (;;) {
        const qsizetype space = m_in.SkipSpace();
        if (space == m_in.Size())
            return m_rootSeen && m_stack.empty() && !m_in.Failed();
        if (m_in.Data()[space] == '<')
            m_in.Consume(space);
        else if (!Text())
            return false;
        qsizetype length;
        while ((length = Tag(m_in.Data(), m_in.Size())) == 0)
            if (!m_in.More())
                return false;
        if (length < 0)
            return false;
        m_in.Consume(length);
    }
}

// Text up to the next tag, white space ahead of it included (a CR there counts);
// at the end of the file it stands outside the document element or in one left open.
bool StreamReader::Text()
{
    if (m_stack.empty())
        return false; // text outside the document element
    const bool field = m_stack.back().kind == Kind::Field;
    bool ascii = false;
    qsizetype end = m_in.FindTextEnd(0, ascii);
    if (end == -2)
        return false; // bytes that are not UTF-8
    if (end >= 0 && m_in.Data()[end] == '<') {
        if (field && !SetField(std::string_view(m_in.Data(), size_t(end)), ascii))
            return false;
    } else {
        // Something to resolve or to refuse: the slow way, also for a text that
        // no field takes.
        end = end < 0 ? -1 : m_in.Find('<', end);
        if (end < 0 || !IsXmlUtf8(std::string_view(m_in.Data(), size_t(end))))
            return false;
        if (CatalogFileSyntax::DecodeText(m_in.Data(), end, m_text)
                != CatalogFileSyntax::TextFault::None
            || (field && !SetField(m_text, false)))
            return false;
    }
    m_in.Consume(end);
    return true;
}

// The tag at p, from '<' to '>': a start tag, an empty-element tag or an end tag,
// without attributes. Returns its length; 0 when it runs past n, -1 for any other.
qsizetype StreamReader::Tag(const char *p, qsizetype n)
{
    const bool closing = n > 1 && p[1] == '/';
    const qsizetype start = closing ? 2 : 1;
    qsizetype i = CatalogFileInput::NameEnd(p, start, n);
    const std::string_view name(p + start, size_t(i - start));
    const Name known = NameOf(name);
    if (i < n && !closing && known == nInvalid)
        return -1;
    while (i < n && Is(p[i], kSpace))
        ++i;
    const bool empty = !closing && i < n && p[i] == '/';
    i += empty;
    if (i >= n)
        return 0;
    if (p[i] != '>')
        return -1;
    return (closing ? Close(name, known) : Open(name, known, empty)) ? i + 1 : -1;
}

bool StreamReader::Open(std::string_view name, Name known, bool empty)
{
    Frame frame;
    if (m_stack.empty()) {
        if (m_rootSeen)
            return false; // a second document element
        m_rootSeen = true;
        if (known == nDocument || known == nFolder)
            frame.kind = Kind::Root;
    } else if (!Child(m_stack.back(), name, known, frame)) {
        return false;
    }
    if (!empty) {
        if (frame.keepsName)
            m_names.append(name);
        frame.namesEnd = m_names.size();
        m_stack.push_back(frame);
    }
    return true;
}

// What an element is in its parent: a folder is added to its list and a bookmark
// to its folder as they begin; the first element of each field name is the field.
bool StreamReader::Child(Frame &parent, std::string_view name, Name known, Frame &frame)
{
    switch (parent.kind) {
    case Kind::Root:
        if (known == nFolder)
            AddFolder(m_root, frame);
        return true;
    case Kind::Folder:
        if (known == nFolder)
            AddFolder(parent.folder->Folders(), frame);
        else if (known == nBookmark)
            AddBookmark(*parent.folder, frame);
        else
            TakeField(parent, FieldOf(name, known), known, kFolderFields, frame);
        return true;
    case Kind::Bookmark:
        TakeField(parent, FieldOf(name, known), known, kBookmarkFields, frame);
        return true;
    case Kind::Field:
        return false; // a field holding an element fails
    case Kind::Ignored:
        break;
    }
    return true;
}

void StreamReader::AddFolder(TFolders &list, Frame &frame)
{
    frame.kind = Kind::Folder;
    frame.keepsName = false;
    frame.folder = list.Add(std::make_unique<TFolder>());
}

void StreamReader::AddBookmark(TFolder &folder, Frame &frame)
{
    frame.kind = Kind::Bookmark;
    frame.keepsName = false;
    frame.bookmark = folder.Bookmarks().Add(std::make_unique<TBookmark>());
}

// The element is the field when the parent has such a field and has met none yet.
void StreamReader::TakeField(Frame &parent, Name field, Name known, unsigned fields, Frame &frame)
{
    const unsigned bit = 1u << field;
    if (field <= fLastVisit && (fields & bit) && !(parent.seen & bit)) {
        parent.seen |= bit;
        frame.kind = Kind::Field;
        frame.field = field;
        frame.keepsName = known != field;
    }
}

bool StreamReader::Close(std::string_view name, Name known)
{
    if (m_stack.empty())
        return false;
    const Frame &open = m_stack.back();
    const size_t start = m_stack.size() > 1 ? m_stack[m_stack.size() - 2].namesEnd : 0;
    bool same;
    if (open.keepsName)
        same = name == std::string_view(m_names).substr(start);
    else if (open.kind == Kind::Folder)
        same = known == nFolder;
    else if (open.kind == Kind::Bookmark)
        same = known == nBookmark;
    else
        same = known == open.field; // an unprefixed field
    if (!same)
        return false;
    m_names.resize(start);
    m_stack.pop_back();
    return true;
}

// ASCII bytes are widened, which is quicker than decoding them and gives the same.
bool StreamReader::SetField(std::string_view bytes, bool ascii)
{
    const Frame &owner = m_stack[m_stack.size() - 2];
    const Name field = m_stack.back().field;
    const auto text = [bytes, ascii] {
        return ascii ? QString::fromLatin1(bytes)
                     : FieldText(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    };
    if (owner.kind == Kind::Folder)
        return SetFolderField(*owner.folder, field, text());
    if (field == fAddDate && bytes.size() <= RepeatedText::kLongest)
        SetBookmarkField(*owner.bookmark, field, m_added.Text(bytes));
    else if (field == fLastVisit && bytes.size() <= RepeatedText::kLongest)
        SetBookmarkField(*owner.bookmark, field, m_visited.Text(bytes));
    else
        SetBookmarkField(*owner.bookmark, field, text());
    return true;
}

bool StreamReader::SetFolderField(TFolder &folder, Name field, const QString &value)
{
    bool flag = false;
    if (field == fTitle)
        folder.SetTitle(value);
    else if (field == fDescription)
        folder.SetDescription(value);
    else if (!ReadFlag(value, flag))
        return false;
    else if (field == fSelected)
        folder.SetSelected(flag);
    else
        folder.SetExpanded(flag);
    return true;
}

void StreamReader::SetBookmarkField(TBookmark &bookmark, Name field, const QString &value)
{
    if (field == fTitle)
        bookmark.SetTitle(value);
    else if (field == fAddress)
        bookmark.SetAddress(value);
    else if (field == fDescription)
        bookmark.SetDescription(value);
    else if (field == fAddDate)
        bookmark.SetAddDate(value);
    else
        bookmark.SetLastVisit(value);
}

} // namespace

bool ReadCatalogStream(const QString &fileName, TFolders &root, qsizetype block)
{
    const int before = root.Count();
    const auto takeBack = [&root, before] {
        while (root.Count() > before)
            root.Delete(root.Count() - 1);
    };
    try {
        if (StreamReader(root, block).Read(fileName))
            return true;
    } catch (...) { // out of memory
        takeBack();
        throw;
    }
    takeBack();
    return false;
}
