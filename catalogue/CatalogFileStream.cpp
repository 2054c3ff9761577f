// The streaming reader of the catalogue file: the tree is built while the file is
// read in blocks, with no document in memory, so a load costs little more than the
// catalogue it makes. It reads the plain form: UTF-8 (or a declaration that says
// so), elements without attributes, text with the five entities and character
// references. Anything else (comments, CDATA, processing instructions, attributes,
// another encoding, any fault, a field that fails) makes it take back what it
// added and leave the file to the document reader. Where it reads, it follows that
// reader's parser to the byte: its white space, names, end tags and references.
#include "catalogue/Catalog.h"
#include "catalogue/CatalogFileInput.h"
#include "catalogue/CatalogFileNames.h"
#include "catalogue/CatalogFileReaders.h"

#include <array>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace CatalogFileNames;

// Character classes of the document reader's parser.
enum : unsigned char { kSpace = 1, kNameStart = 2, kNameChar = 4 };

constexpr std::array<unsigned char, 256> MakeClasses()
{
    std::array<unsigned char, 256> classes{};
    for (int c = 0; c < 256; ++c) {
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (letter || c == '_' || c == ':' || c >= 0x80)
            classes[size_t(c)] |= kNameStart | kNameChar;
        if ((c >= '0' && c <= '9') || c == '-' || c == '.')
            classes[size_t(c)] |= kNameChar;
    }
    for (char c : {' ', '\t', '\n', '\r'})
        classes[size_t(c)] |= kSpace;
    return classes;
}
constexpr std::array<unsigned char, 256> kClasses = MakeClasses();

bool Is(char c, unsigned char kind)
{
    return kClasses[static_cast<unsigned char>(c)] & kind;
}

// The field elements, known by the part of their name after any prefix.
enum Field : unsigned char {
    fTitle, fDescription, fSelected, fExpanded, fAddress, fAddDate, fLastVisit, fNone
};
constexpr unsigned kFolderFields =
    1u << fTitle | 1u << fDescription | 1u << fSelected | 1u << fExpanded;
constexpr unsigned kBookmarkFields =
    1u << fTitle | 1u << fAddress | 1u << fDescription | 1u << fAddDate | 1u << fLastVisit;

// Compares with a constant of known length, which the compiler does inline.
template <size_t N>
bool Named(std::string_view name, const char (&constant)[N])
{
    return name.size() == N - 1 && std::memcmp(name.data(), constant, N - 1) == 0;
}

Field FieldNamedExactly(std::string_view name)
{
    if (Named(name, kTitle))
        return fTitle;
    if (Named(name, kAddress))
        return fAddress;
    if (Named(name, kAddDate))
        return fAddDate;
    if (Named(name, kLastVisit))
        return fLastVisit;
    if (Named(name, kDescription))
        return fDescription;
    if (Named(name, kSelected))
        return fSelected;
    return Named(name, kExpanded) ? fExpanded : fNone;
}

Field FieldNamed(std::string_view name)
{
    if (const Field field = FieldNamedExactly(name); field != fNone)
        return field;
    const size_t colon = name.rfind(':');
    return colon == std::string_view::npos ? fNone : FieldNamedExactly(name.substr(colon + 1));
}

void AppendUtf8(std::string &out, char32_t code)
{
    if (code < 0x80) {
        out += char(code);
    } else if (code < 0x800) {
        out += char(0xC0 | code >> 6);
        out += char(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += char(0xE0 | code >> 12);
        out += char(0x80 | (code >> 6 & 0x3F));
        out += char(0x80 | (code & 0x3F));
    } else {
        out += char(0xF0 | code >> 18);
        out += char(0x80 | (code >> 12 & 0x3F));
        out += char(0x80 | (code >> 6 & 0x3F));
        out += char(0x80 | (code & 0x3F));
    }
}

// The length of a run of whole words at p without '&', CR or NUL: the bytes a value
// takes as they stand. A word at a time, since values are most of the file.
qsizetype PlainPrefix(const char *p, qsizetype n)
{
    constexpr quint64 kOnes = 0x0101010101010101;
    constexpr quint64 kHighs = 0x8080808080808080;
    const auto hasZero = [](quint64 x) { return (x - kOnes) & ~x & kHighs; };
    qsizetype i = 0;
    for (; i + 8 <= n; i += 8) {
        quint64 word;
        std::memcpy(&word, p + i, 8);
        if (hasZero(word) | hasZero(word ^ (kOnes * '&')) | hasZero(word ^ (kOnes * '\r')))
            break;
    }
    return i;
}

int DigitValue(char c, bool hex)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    const char lower = char(c | 0x20);
    return hex && lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
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
            m_text = QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
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
    explicit StreamReader(TFolders &root) : m_root(root) {}

    bool Read(const QString &fileName) { return m_in.Open(fileName) && Prolog() && Body(); }

private:
    enum class Kind : unsigned char { Root, Folder, Bookmark, Field, Ignored };
    struct Frame
    {
        Kind kind = Kind::Ignored;
        Field field = fNone;    // of a Field frame
        unsigned char seen = 0; // the fields met so far in a Folder or Bookmark frame
        size_t nameEnd = 0;     // where the element's name ends in m_names
        union {
            TFolder *folder = nullptr;
            TBookmark *bookmark;
        };
    };

    bool Prolog();
    bool SkipDeclaration();
    bool Body();
    qsizetype SpaceAhead();
    bool Text(const char *p, qsizetype n, qsizetype space);
    qsizetype Tag(const char *p, qsizetype n);
    bool Open(std::string_view name, bool empty);
    bool Child(Frame &parent, std::string_view name, Frame &frame);
    bool Close(std::string_view name);
    bool Decode(const char *p, qsizetype n, std::string_view &bytes);
    bool Reference(const char *&p, const char *end);
    bool SetField(const Frame &owner, Field field, const QString &value);

    TFolders &m_root;
    CatalogFileInput m_in;
    std::vector<Frame> m_stack; // the open elements
    std::string m_names;        // their names, one after the other
    std::string m_text;         // a value with its references resolved
    RepeatedText m_added;
    RepeatedText m_visited;
    bool m_rootSeen = false;
};

// The check of the encoding needs the whole declaration in the first block.
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
    if (end == std::string_view::npos || start.substr(0, end).find('\0') != std::string_view::npos)
        return false;
    m_in.Consume(qsizetype(end + 2));
    return true;
}

bool StreamReader::Body()
{
    for (;;) {
        const qsizetype space = SpaceAhead();
        if (space == m_in.Size())
            return m_rootSeen && m_stack.empty() && !m_in.Failed();
        if (m_in.Data()[space] == '<') {
            m_in.Consume(space);
        } else {
            // Text up to the next tag; at the end of the file it is outside the
            // document element or in one left open.
            const qsizetype open = m_in.Find('<', space);
            if (open < 0 || !Text(m_in.Data(), open, space))
                return false;
            m_in.Consume(open);
        }
        qsizetype length;
        while ((length = Tag(m_in.Data(), m_in.Size())) == 0)
            if (!m_in.More())
                return false;
        if (length < 0)
            return false;
        m_in.Consume(length);
    }
}

// The white space at Data(), reading on as needed. Indentation goes a word at a time.
qsizetype StreamReader::SpaceAhead()
{
    constexpr quint64 kBlanks = 0x2020202020202020;
    qsizetype i = 0;
    for (;;) {
        const char *p = m_in.Data();
        const qsizetype n = m_in.Size();
        for (;;) {
            quint64 word;
            if (i + 8 <= n && (std::memcpy(&word, p + i, 8), word == kBlanks))
                i += 8;
            else if (i < n && Is(p[i], kSpace))
                ++i;
            else
                break;
        }
        if (i < n || !m_in.More())
            return i;
    }
}

// Text, `space` bytes of it white space ahead of the rest.
bool StreamReader::Text(const char *p, qsizetype n, qsizetype space)
{
    if (m_stack.empty())
        return false; // text outside the document element
    if (m_stack.back().kind != Kind::Field) // ignored, but a NUL would end the parse
        return !std::memchr(p + space, 0, size_t(n - space));
    std::string_view bytes;
    if (!Decode(p, n, bytes))
        return false;
    const Frame &owner = m_stack[m_stack.size() - 2];
    const Field field = m_stack.back().field;
    if (field == fAddDate && bytes.size() <= RepeatedText::kLongest)
        return SetField(owner, field, m_added.Text(bytes));
    if (field == fLastVisit && bytes.size() <= RepeatedText::kLongest)
        return SetField(owner, field, m_visited.Text(bytes));
    return SetField(owner, field, QString::fromUtf8(bytes.data(), qsizetype(bytes.size())));
}

// The tag at p, from '<' to '>': a start tag, an empty-element tag or an end tag,
// without attributes. Returns its length; 0 when it runs past n, -1 for any other.
qsizetype StreamReader::Tag(const char *p, qsizetype n)
{
    const bool closing = n > 1 && p[1] == '/';
    qsizetype i = closing ? 2 : 1;
    if (!closing && i < n && !Is(p[i], kNameStart))
        return -1;
    while (i < n && Is(p[i], kNameChar))
        ++i;
    const std::string_view name(p + (closing ? 2 : 1), size_t(i - (closing ? 2 : 1)));
    while (i < n && Is(p[i], kSpace))
        ++i;
    const bool empty = !closing && i < n && p[i] == '/';
    i += empty;
    if (i >= n)
        return 0;
    if (p[i] != '>')
        return -1;
    return (closing ? Close(name) : Open(name, empty)) ? i + 1 : -1;
}

bool StreamReader::Open(std::string_view name, bool empty)
{
    Frame frame;
    if (m_stack.empty()) {
        if (m_rootSeen)
            return false; // a second document element
        m_rootSeen = true;
        if (Named(name, kDocument) || Named(name, kFolder))
            frame.kind = Kind::Root;
    } else if (!Child(m_stack.back(), name, frame)) {
        return false;
    }
    if (!empty) {
        m_names.append(name);
        frame.nameEnd = m_names.size();
        m_stack.push_back(frame);
    }
    return true;
}

// What an element is in its parent: a folder is added to its list and a bookmark
// to its folder as they begin; the first element of each field name is the field.
bool StreamReader::Child(Frame &parent, std::string_view name, Frame &frame)
{
    unsigned fields = 0;
    switch (parent.kind) {
    case Kind::Root:
        if (Named(name, kFolder)) {
            frame.kind = Kind::Folder;
            frame.folder = m_root.Add(std::make_unique<TFolder>());
        }
        return true;
    case Kind::Folder:
        if (Named(name, kFolder)) {
            frame.kind = Kind::Folder;
            frame.folder = parent.folder->Folders().Add(std::make_unique<TFolder>());
            return true;
        }
        if (Named(name, kBookmark)) {
            frame.kind = Kind::Bookmark;
            frame.bookmark = parent.folder->Bookmarks().Add(std::make_unique<TBookmark>());
            return true;
        }
        fields = kFolderFields;
        break;
    case Kind::Bookmark:
        fields = kBookmarkFields;
        break;
    case Kind::Field:
        return false; // a field holding an element fails
    case Kind::Ignored:
        return true;
    }
    const Field field = FieldNamed(name);
    const unsigned bit = 1u << field;
    if (field != fNone && (fields & bit) && !(parent.seen & bit)) {
        parent.seen |= bit;
        frame.kind = Kind::Field;
        frame.field = field;
    }
    return true;
}

bool StreamReader::Close(std::string_view name)
{
    if (m_stack.empty())
        return false;
    const size_t start = m_stack.size() > 1 ? m_stack[m_stack.size() - 2].nameEnd : 0;
    if (name != std::string_view(m_names).substr(start))
        return false;
    m_names.resize(start);
    m_stack.pop_back();
    return true;
}

// The bytes of a text as the document reader's parser leaves them: each CR LF or
// CR as LF, the five entities and character references resolved. False for what
// that parser would keep as written or cut short (another reference, a NUL).
bool StreamReader::Decode(const char *p, qsizetype n, std::string_view &bytes)
{
    const char *end = p + n;
    const char *q = p + PlainPrefix(p, n);
    while (q != end && *q != '&' && *q != '\r' && *q != '\0')
        ++q;
    if (q == end) {
        bytes = std::string_view(p, size_t(n));
        return true;
    }
    m_text.assign(p, q);
    while (q != end) {
        if (*q == '\r') {
            m_text += '\n';
            q += q + 1 != end && q[1] == '\n' ? 2 : 1;
        } else if (*q == '&') {
            if (!Reference(q, end))
                return false;
        } else if (*q == '\0') {
            return false;
        } else {
            m_text += *q++;
        }
    }
    bytes = m_text;
    return true;
}

bool StreamReader::Reference(const char *&p, const char *end)
{
    static constexpr std::pair<std::string_view, char> kEntities[] = {
        {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
    const std::string_view rest(p, size_t(end - p));
    for (const auto &[entity, c] : kEntities) {
        if (rest.starts_with(entity)) {
            m_text += c;
            p += entity.size();
            return true;
        }
    }
    if (!rest.starts_with("&#"))
        return false;
    const bool hex = rest.size() > 2 && rest[2] == 'x';
    const size_t first = hex ? 3 : 2;
    size_t i = first;
    char32_t code = 0;
    for (; i < rest.size() && rest[i] != ';'; ++i) {
        const int digit = DigitValue(rest[i], hex);
        if (digit < 0)
            return false;
        code = code * (hex ? 16 : 10) + char32_t(digit);
        if (code > 0x10FFFF)
            return false;
    }
    if (i == rest.size() || i == first || code == 0 || (code >= 0xD800 && code <= 0xDFFF))
        return false;
    AppendUtf8(m_text, code);
    p += i + 1;
    return true;
}

bool StreamReader::SetField(const Frame &owner, Field field, const QString &value)
{
    bool flag = false;
    if (owner.kind == Kind::Folder) {
        TFolder &folder = *owner.folder;
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
    TBookmark &bookmark = *owner.bookmark;
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
    return true;
}

} // namespace

bool ReadCatalogStream(const QString &fileName, TFolders &root)
{
    const int before = root.Count();
    const auto takeBack = [&root, before] {
        while (root.Count() > before)
            root.Delete(root.Count() - 1);
    };
    try {
        if (StreamReader(root).Read(fileName))
            return true;
    } catch (...) { // out of memory
        takeBack();
        throw;
    }
    takeBack();
    return false;
}
