// Reading and writing the catalogue file "bookmarks.xml".
// The reader walks the document with an explicit stack in document order, so a
// failure leaves exactly the folders met before it, and deep nesting is safe.
// The writer serialises the tree directly in the file's indented layout.
#include "catalogue/Catalog.h"
#include "catalogue/CatalogFileNames.h"
#include "platform/AtomicFile.h"
#include "platform/VarnokelError.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QStringConverter>

#include <pugixml.hpp>

#include <cmath>
#include <cstring>
#include <vector>

namespace {

using namespace CatalogFileNames;

// ---- reading --------------------------------------------------------------

[[noreturn]] void RaiseParseError(const QByteArray &text, const pugi::xml_parse_result &result)
{
    const qsizetype offset = qBound(qsizetype(0), qsizetype(result.offset), text.size());
    const qsizetype lineStart = text.lastIndexOf('\n', offset - 1) + 1;
    qsizetype lineEnd = text.indexOf('\n', lineStart);
    if (lineEnd < 0)
        lineEnd = text.size();
    const QString line = QString::fromUtf8(text.mid(lineStart, lineEnd - lineStart))
                             .remove(QLatin1Char('\r')).left(40);
    const int lineNumber = int(text.left(offset).count('\n')) + 1;
    throw VarnokelError(QStringLiteral("%1\nLine: %2\n%3")
                            .arg(QString::fromUtf8(result.description()))
                            .arg(lineNumber)
                            .arg(line));
}

// The encoding named by a declaration such as <?xml version="1.0" encoding="x"?>.
QByteArray DeclaredEncoding(const QByteArray &data)
{
    if (!data.startsWith("<?xml"))
        return {};
    const qsizetype end = data.indexOf("?>");
    const QByteArray decl = data.left(end < 0 ? 200 : end);
    qsizetype at = decl.indexOf("encoding");
    if (at < 0)
        return {};
    at = decl.indexOf('=', at);
    if (at < 0)
        return {};
    ++at;
    while (at < decl.size() && (decl[at] == ' ' || decl[at] == '\t'))
        ++at;
    if (at >= decl.size() || (decl[at] != '"' && decl[at] != '\''))
        return {};
    const qsizetype close = decl.indexOf(decl[at], at + 1);
    return close < 0 ? QByteArray() : decl.mid(at + 1, close - at - 1).trimmed();
}

// The file's bytes as UTF-8, whatever encoding a byte-order mark or the
// declaration names (no mark and no declaration: UTF-8).
QByteArray ToUtf8(const QByteArray &data, const QString &fileName)
{
    if (data.startsWith("\xEF\xBB\xBF"))
        return data.mid(3);
    if (auto found = QStringConverter::encodingForData(data, u'<');
        found && *found != QStringConverter::Utf8) {
        QStringDecoder decoder(*found);
        return QString(decoder.decode(data)).toUtf8();
    }
    const QByteArray name = DeclaredEncoding(data).toLower();
    if (name.isEmpty() || name == "utf-8" || name == "utf8" || name == "us-ascii")
        return data;
    QStringDecoder decoder(name.constData());
    if (!decoder.isValid())
        throw VarnokelError(QStringLiteral("The encoding \"%1\" of %2 is not supported")
                                .arg(QString::fromLatin1(name), fileName));
    return QString(decoder.decode(data)).toUtf8();
}

bool NameMatches(const char *name, const char *wanted)
{
    if (std::strcmp(name, wanted) == 0)
        return true;
    const char *colon = std::strrchr(name, ':');
    return colon && std::strcmp(colon + 1, wanted) == 0;
}

// The child-value lookup: first child element named `wanted`; no value when it
// is missing, empty or holds empty text; an error when it holds anything but
// one text or CDATA node.
bool ChildValue(pugi::xml_node element, const char *wanted, QString &value)
{
    pugi::xml_node found;
    for (pugi::xml_node child = element.first_child(); child; child = child.next_sibling()) {
        if (child.type() == pugi::node_element && NameMatches(child.name(), wanted)) {
            found = child;
            break;
        }
    }
    if (!found)
        return false;
    const pugi::xml_node content = found.first_child();
    if (!content)
        return false;
    if (content.next_sibling()
        || (content.type() != pugi::node_pcdata && content.type() != pugi::node_cdata))
        throw VarnokelError(QStringLiteral("Element does not contain a single text node"));
    const char *text = content.value();
    if (!*text)
        return false;
    value = QString::fromUtf8(text);
    return true;
}

bool ToBoolean(const QString &text)
{
    bool ok = false;
    double number = text.toDouble(&ok); // C form: "-1", "0.5", "1e3", blanks around
    if (!ok)
        number = QLocale::system().toDouble(text.trimmed(), &ok);
    if (ok && std::isfinite(number))
        return number != 0;
    if (text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    if (text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return false;
    throw VarnokelError(QStringLiteral("Could not convert variant of type (%1) into type (%2)")
                            .arg(QStringLiteral("OleStr"), QStringLiteral("Boolean")));
}

void ReadFolderFields(pugi::xml_node node, TFolder &folder)
{
    QString value;
    if (ChildValue(node, kTitle, value))
        folder.SetTitle(value);
    if (ChildValue(node, kDescription, value))
        folder.SetDescription(value);
    if (ChildValue(node, kSelected, value))
        folder.SetSelected(ToBoolean(value));
    if (ChildValue(node, kExpanded, value))
        folder.SetExpanded(ToBoolean(value));
}

void ReadBookmark(pugi::xml_node node, TFolder &folder)
{
    auto bookmark = std::make_unique<TBookmark>();
    QString value;
    if (ChildValue(node, kTitle, value))
        bookmark->SetTitle(value);
    if (ChildValue(node, kAddress, value))
        bookmark->SetAddress(value);
    if (ChildValue(node, kDescription, value))
        bookmark->SetDescription(value);
    if (ChildValue(node, kAddDate, value))
        bookmark->SetAddDate(value);
    if (ChildValue(node, kLastVisit, value))
        bookmark->SetLastVisit(value);
    folder.Bookmarks().Add(std::move(bookmark));
}

// Reads the children of the document element into `root`. A "bookmark" directly
// under the document element has no folder to go into and is skipped.
void ReadTree(pugi::xml_node documentElement, TFolders &root)
{
    struct Frame { pugi::xml_node next; TFolder *folder; };
    std::vector<Frame> stack{{documentElement.first_child(), nullptr}};
    while (!stack.empty()) {
        Frame &frame = stack.back();
        const pugi::xml_node node = frame.next;
        if (!node) {
            stack.pop_back();
            continue;
        }
        frame.next = node.next_sibling();
        TFolder *parent = frame.folder;
        if (node.type() != pugi::node_element)
            continue;
        if (std::strcmp(node.name(), kFolder) == 0) {
            TFolders &list = parent ? parent->Folders() : root;
            TFolder *folder = list.Add(std::make_unique<TFolder>());
            ReadFolderFields(node, *folder);
            stack.push_back({node.first_child(), folder});
        } else if (std::strcmp(node.name(), kBookmark) == 0 && parent) {
            ReadBookmark(node, *parent);
        }
    }
}

// ---- writing --------------------------------------------------------------

bool IsXmlBlank(const QString &text)
{
    for (QChar c : text)
        if (c != u' ' && c != u'\t' && c != u'\r' && c != u'\n')
            return false;
    return true;
}

class Writer
{
public:
    void Open(int level, QLatin1StringView name)
    {
        Indent(level);
        m_out += u'<';
        m_out += name;
        m_out += QLatin1String(">\r\n");
    }
    void Close(int level, QLatin1StringView name)
    {
        Indent(level);
        m_out += QLatin1String("</");
        m_out += name;
        m_out += QLatin1String(">\r\n");
    }
    // A field element on one line; an empty or blank value as an empty-element tag.
    void Field(int level, QLatin1StringView name, const QString &value)
    {
        Indent(level);
        m_out += u'<';
        m_out += name;
        if (IsXmlBlank(value)) {
            m_out += QLatin1String("/>\r\n");
            return;
        }
        m_out += u'>';
        Escaped(value);
        m_out += QLatin1String("</");
        m_out += name;
        m_out += QLatin1String(">\r\n");
    }
    void Raw(QLatin1StringView text) { m_out += text; }
    QString &Text() { return m_out; }

private:
    void Indent(int level) { m_out.append(QString(level * 2, u' ')); }

    // Markup characters as entities; a carriage return and the other control
    // characters as character references so they come back unchanged; NUL dropped.
    void Escaped(const QString &value)
    {
        for (QChar c : value) {
            const char16_t u = c.unicode();
            if (u == '&')
                m_out += QLatin1String("&amp;");
            else if (u == '<')
                m_out += QLatin1String("&lt;");
            else if (u == '>')
                m_out += QLatin1String("&gt;");
            else if (u >= 0x20 || u == '\t' || u == '\n')
                m_out += c;
            else if (u != 0)
                m_out += QStringLiteral("&#%1;").arg(int(u));
        }
    }

    QString m_out;
};

const char *Flag(bool value)
{
    return value ? "-1" : "0";
}

void WriteFolder(Writer &w, const TFolder &top, int topLevel)
{
    // Pre-order with an explicit stack; each entry closes its element when popped
    // the second time.
    struct Entry { const TFolder *folder; int level; bool opened; };
    std::vector<Entry> stack{{&top, topLevel, false}};
    while (!stack.empty()) {
        Entry &entry = stack.back();
        const TFolder &f = *entry.folder;
        const int level = entry.level;
        if (entry.opened) {
            w.Close(level, QLatin1StringView(kFolder));
            stack.pop_back();
            continue;
        }
        entry.opened = true;
        w.Open(level, QLatin1StringView(kFolder));
        w.Field(level + 1, QLatin1StringView(kTitle), f.Title());
        w.Field(level + 1, QLatin1StringView(kDescription), f.Description());
        w.Field(level + 1, QLatin1StringView(kSelected), QLatin1String(Flag(f.Selected())));
        w.Field(level + 1, QLatin1StringView(kExpanded), QLatin1String(Flag(f.Expanded())));
        for (const auto &b : f.Bookmarks()) {
            w.Open(level + 1, QLatin1StringView(kBookmark));
            w.Field(level + 2, QLatin1StringView(kTitle), b->Title());
            w.Field(level + 2, QLatin1StringView(kAddress), b->Address());
            w.Field(level + 2, QLatin1StringView(kDescription), b->Description());
            w.Field(level + 2, QLatin1StringView(kAddDate), b->AddDate());
            w.Field(level + 2, QLatin1StringView(kLastVisit), b->LastVisit());
            w.Close(level + 1, QLatin1StringView(kBookmark));
        }
        const TFolders &children = f.Folders();
        for (int i = children.Count() - 1; i >= 0; --i)
            stack.push_back({children.At(i), level + 1, false});
    }
}

} // namespace

void TCatalog::LoadFromFile(const QString &fileName)
{
    const QFileInfo info(fileName);
    if (!info.exists() || info.isDir())
        return;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw VarnokelError(QStringLiteral("Cannot open file \"%1\". %2")
                                .arg(fileName, file.errorString()));
    QByteArray text = ToUtf8(file.readAll(), fileName);
    file.close();

    pugi::xml_document document;
    const unsigned options = pugi::parse_default | pugi::parse_comments | pugi::parse_pi;
    // Parse a copy in place: pugixml keeps pointers into the buffer, and the
    // original is needed for the error's line.
    QByteArray buffer = text;
    const pugi::xml_parse_result result = document.load_buffer_inplace(
        buffer.data(), size_t(buffer.size()), options, pugi::encoding_utf8);
    if (!result)
        RaiseParseError(text, result);
    text.clear();

    const pugi::xml_node root = document.document_element();
    if (std::strcmp(root.name(), kDocument) != 0 && std::strcmp(root.name(), kFolder) != 0)
        return;
    ReadTree(root, m_folders);
}

void TCatalog::SaveToFile(const QString &fileName) const
{
    Writer w;
    const QLatin1StringView document(kDocument);
    if (m_folders.IsEmpty()) {
        w.Raw(QLatin1String("<"));
        w.Raw(document);
        w.Raw(QLatin1String("/>\r\n"));
    } else {
        w.Raw(QLatin1String("<"));
        w.Raw(document);
        w.Raw(QLatin1String(">\r\n"));
        for (const auto &folder : m_folders)
            WriteFolder(w, *folder, 1);
        w.Raw(QLatin1String("</"));
        w.Raw(document);
        w.Raw(QLatin1String(">\r\n"));
    }
    const QByteArray bytes = w.Text().toUtf8();
    w.Text().clear();
    WriteFileAtomically(fileName, bytes);
}
