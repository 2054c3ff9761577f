// Reading the catalogue file "bookmarks.xml" (the writer is CatalogFileWriter.cpp).
// The document is walked with an explicit stack in document order, so a failure
// leaves exactly the folders met before it, and any depth of nesting is safe.
#include "catalogue/Catalog.h"
#include "catalogue/CatalogFileNames.h"
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

// Whitespace-only text is dropped (no parse_ws_pcdata); comments and processing
// instructions are kept, because a field holding one is an error.
constexpr unsigned kParseOptions = pugi::parse_default | pugi::parse_comments | pugi::parse_pi;

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
QByteArray ToUtf8(QByteArray data, const QString &fileName)
{
    if (data.startsWith("\xEF\xBB\xBF"))
        return data.remove(0, 3);
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

QByteArray ReadAsUtf8(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw VarnokelError(QStringLiteral("Cannot open file \"%1\". %2")
                                .arg(fileName, file.errorString()));
    return ToUtf8(file.readAll(), fileName);
}

// The parser's reason, "Line: " and the line number, and the first 40 characters
// of that line. The file is parsed in place, so its text is read again here.
[[noreturn]] void RaiseParseError(const QString &fileName, const pugi::xml_parse_result &result)
{
    const QByteArray text = ReadAsUtf8(fileName);
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

// A name without its namespace prefix. Field names have no prefix, so a name
// equals a field name exactly, or by the part after its prefix, when this does.
const char *LocalName(const char *name)
{
    const char *colon = std::strrchr(name, ':');
    return colon ? colon + 1 : name;
}

// The first child element of each wanted name, found in one pass over the children;
// later children of the same name are ignored.
template <size_t N>
void FindFields(pugi::xml_node element, const char *const (&names)[N], pugi::xml_node (&found)[N])
{
    size_t missing = N;
    for (pugi::xml_node child = element.first_child(); child && missing;
         child = child.next_sibling()) {
        if (child.type() != pugi::node_element)
            continue;
        const char *name = LocalName(child.name());
        for (size_t i = 0; i < N; ++i) {
            if (!found[i] && name[0] == names[i][0] && std::strcmp(name, names[i]) == 0) {
                found[i] = child;
                --missing;
                break;
            }
        }
    }
}

// The value of a field element: none when it is missing, empty or holds empty
// text; an error when it holds anything but one text or CDATA node.
bool FieldValue(pugi::xml_node field, QString &value)
{
    if (!field)
        return false;
    const pugi::xml_node content = field.first_child();
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

// A number (not zero: true), else "true" or "false" in any letter case.
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
    static const char *const names[] = {kTitle, kDescription, kSelected, kExpanded};
    pugi::xml_node fields[4];
    FindFields(node, names, fields);
    QString value;
    if (FieldValue(fields[0], value))
        folder.SetTitle(value);
    if (FieldValue(fields[1], value))
        folder.SetDescription(value);
    if (FieldValue(fields[2], value))
        folder.SetSelected(ToBoolean(value));
    if (FieldValue(fields[3], value))
        folder.SetExpanded(ToBoolean(value));
}

// A bookmark whose field fails is not added.
void ReadBookmark(pugi::xml_node node, TFolder &folder)
{
    static const char *const names[] = {kTitle, kAddress, kDescription, kAddDate, kLastVisit};
    pugi::xml_node fields[5];
    FindFields(node, names, fields);
    auto bookmark = std::make_unique<TBookmark>();
    QString value;
    if (FieldValue(fields[0], value))
        bookmark->SetTitle(value);
    if (FieldValue(fields[1], value))
        bookmark->SetAddress(value);
    if (FieldValue(fields[2], value))
        bookmark->SetDescription(value);
    if (FieldValue(fields[3], value))
        bookmark->SetAddDate(value);
    if (FieldValue(fields[4], value))
        bookmark->SetLastVisit(value);
    folder.Bookmarks().Add(std::move(bookmark));
}

// Reads the children of the document element into `root`. A folder is added to
// its list before its fields are read. A "bookmark" directly under the document
// element has no folder to go into and is skipped.
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

} // namespace

void TCatalog::LoadFromFile(const QString &fileName)
{
    const QFileInfo info(fileName);
    if (!info.exists() || info.isDir())
        return;
    QByteArray text = ReadAsUtf8(fileName);
    pugi::xml_document document;
    const pugi::xml_parse_result result = document.load_buffer_inplace(
        text.data(), size_t(text.size()), kParseOptions, pugi::encoding_utf8);
    if (!result)
        RaiseParseError(fileName, result);

    // A document element of another name is read as an empty catalogue; one named
    // "folder" gives its sub-folders as root folders and its own fields are ignored.
    const pugi::xml_node root = document.document_element();
    if (std::strcmp(root.name(), kDocument) != 0 && std::strcmp(root.name(), kFolder) != 0)
        return;
    ReadTree(root, m_folders);
}
