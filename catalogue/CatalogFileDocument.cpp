// The document reader of the catalogue file: pugixml parses the whole file and the
// document is checked whole (CatalogFileWellFormed.h), so a file that is not
// well-formed changes nothing; then it is walked with an explicit stack in
// document order, so a failing field leaves exactly the folders met before it, and
// any depth of nesting is safe.
#include "catalogue/Catalog.h"
#include "catalogue/CatalogFileNames.h"
#include "catalogue/CatalogFileReaders.h"
#include "catalogue/CatalogFileRules.h"
#include "catalogue/CatalogFileWellFormed.h"
#include "catalogue/XmlChars.h"
#include "platform/VarnokelError.h"

#include <QFile>
#include <QStringConverter>

#include <pugixml.hpp>

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

namespace {

using namespace CatalogFileNames;

// How the file's bytes become UTF-8: as they stand, less a byte-order mark, or
// decoded from the encoding that a mark or the declaration names.
struct SourceForm
{
    qsizetype prefix = 0;
    QByteArray encoding; // none: UTF-8 as it stands
};

SourceForm FormOf(const QByteArray &data, const QString &fileName)
{
    if (const qsizetype prefix = Utf8PrefixSize(data); prefix >= 0)
        return {prefix, {}};
    if (auto found = MarkedEncoding(data); found && *found != QStringConverter::Utf8)
        return {0, QStringConverter::nameForEncoding(*found)};
    const QByteArray name = DeclaredEncoding(data).toLower();
    if (!QStringDecoder(name.constData()).isValid())
        throw VarnokelError(QStringLiteral("The encoding \"%1\" of %2 is not supported")
                                .arg(QString::fromLatin1(name), fileName));
    return {0, name};
}

void Open(QFile &file)
{
    if (!file.open(QIODevice::ReadOnly))
        throw VarnokelError(QStringLiteral("Cannot open file \"%1\". %2")
                                .arg(file.fileName(), file.errorString()));
}

// The name of the file's encoding, for a message.
QString EncodingName(const SourceForm &form)
{
    return form.encoding.isEmpty() ? QStringLiteral("UTF-8") : QString::fromLatin1(form.encoding);
}

// Where decoding failed in text, when it did: at a lone surrogate (Qt's decoders
// let them through), or at the NUL that a decoder that met bytes it could not
// decode put there. Other characters XML forbids are found in the UTF-8.
qsizetype FirstUndecoded(const QString &text, bool failed)
{
    const qsizetype at = FirstNonXmlChar(text);
    return at >= 0 && (text[at].isSurrogate() || (text[at].isNull() && failed)) ? at : -1;
}

// Finds, in a text given piece by piece, the line that holds a byte offset: its
// number and the start of its text without CRs.
class LineAt
{
public:
    explicit LineAt(qsizetype offset) : m_offset(offset) {}

    // False once the line is complete.
    bool Take(QByteArrayView piece)
    {
        // Before the offset: count the line ends, and keep what follows the last.
        const QByteArrayView head = piece.first(qBound(qsizetype(0), m_offset - m_pos,
                                                       piece.size()));
        m_pos += piece.size();
        if (const qsizetype last = head.lastIndexOf('\n'); last >= 0) {
            m_number += int(std::count(head.begin(), head.begin() + last + 1, '\n'));
            m_line.resize(0);
            Keep(head.sliced(last + 1));
        } else {
            Keep(head);
        }
        // From the offset on, the line goes on to the next line end.
        const QByteArrayView tail = piece.sliced(head.size());
        const qsizetype end = tail.indexOf('\n');
        Keep(end < 0 ? tail : tail.first(end));
        return end < 0 && (tail.isEmpty() || m_line.size() < kKept);
    }
    int Number() const { return m_number; }
    // The first 40 characters.
    QString Text() const { return FieldText(m_line).left(40); }

private:
    static constexpr qsizetype kKept = 40 * 4; // 40 characters of UTF-8 at most

    void Keep(QByteArrayView bytes)
    {
        for (qsizetype i = 0; i < bytes.size() && m_line.size() < kKept; ++i)
            if (bytes[i] != '\r')
                m_line += bytes[i];
    }

    const qsizetype m_offset;
    qsizetype m_pos = 0;
    int m_number = 1;
    QByteArray m_line;
};

// Reads the file again as UTF-8 a block at a time until the line is found.
void FindLine(const QString &fileName, const SourceForm &form, LineAt &line)
{
    QFile file(fileName);
    Open(file);
    file.seek(form.prefix);
    std::optional<QStringDecoder> decoder;
    if (!form.encoding.isEmpty())
        decoder.emplace(form.encoding.constData());
    QString decoded;
    for (;;) {
        const QByteArray block = file.read(64 * 1024);
        if (block.isEmpty()) {
            line.Take(decoded.toUtf8());
            return;
        }
        if (!decoder) {
            if (!line.Take(block))
                return;
            continue;
        }
        decoded += QString(decoder->decode(block));
        // A surrogate pair split between blocks is decoded whole with the next.
        const bool split = !decoded.isEmpty() && decoded.back().isHighSurrogate();
        const QByteArray utf8 = QStringView(decoded).chopped(split ? 1 : 0).toUtf8();
        decoded = split ? QString(decoded.back()) : QString();
        if (!line.Take(utf8))
            return;
    }
}

// The parser's reason, "Line: " and the line number, and the first 40 characters
// of that line. The parse changed the text in place, so the line is read again.
[[noreturn]] void RaiseParseError(const QString &fileName, const SourceForm &form,
                                  const CatalogFileFault &fault)
{
    LineAt line(fault.offset);
    FindLine(fileName, form, line);
    throw VarnokelError(
        QStringLiteral("%1\nLine: %2\n%3").arg(fault.reason).arg(line.Number()).arg(line.Text()));
}

// The file's bytes as UTF-8, and how they became that; a file that is not
// UTF-8 of the characters XML allows fails here.
QByteArray ReadAsUtf8(const QString &fileName, SourceForm &form)
{
    QFile file(fileName);
    Open(file);
    QByteArray data = file.readAll();
    form = FormOf(data, fileName);
    if (form.encoding.isEmpty()) {
        data.remove(0, form.prefix);
    } else {
        QStringDecoder decoder(form.encoding.constData(),
                               QStringDecoder::Flag::Stateless
                                   | QStringDecoder::Flag::ConvertInvalidToNull);
        const QString text = decoder.decode(data);
        if (const qsizetype bad = FirstUndecoded(text, decoder.hasError()); bad >= 0)
            RaiseParseError(fileName, form,
                            {QStringLiteral("Invalid byte sequence in encoding %1")
                                 .arg(EncodingName(form)),
                             QStringView(text).first(bad).toUtf8().size()});
        data = text.toUtf8();
    }
    if (auto fault = CheckUtf8Text(data, EncodingName(form)))
        RaiseParseError(fileName, form, *fault);
    return data;
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
    value = FieldText(text);
    return true;
}

bool ToBoolean(const QString &text)
{
    bool value = false;
    if (!ReadFlag(text, value))
        RaiseFlagError();
    return value;
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

void ReadCatalogDocument(const QString &fileName, TFolders &root)
{
    SourceForm form;
    QByteArray text = ReadAsUtf8(fileName, form);
    const char lastByte = text.isEmpty() ? '\0' : text.back();
    pugi::xml_document document;
    const pugi::xml_parse_result result = document.load_buffer_inplace(
        text.data(), size_t(text.size()), kWellFormedParseOptions, pugi::encoding_utf8);
    std::optional<CatalogFileFault> fault;
    if (!result)
        fault = {QString::fromUtf8(result.description()), qsizetype(result.offset)};
    else
        fault = CheckDocument(document, text, lastByte);
    if (fault) {
        document.reset();
        text = QByteArray(); // nothing of the file is held while its line is found
        RaiseParseError(fileName, form, *fault);
    }

    // A document element of another name is read as an empty catalogue; one named
    // "folder" gives its sub-folders as root folders and its own fields are ignored.
    const pugi::xml_node element = document.document_element();
    if (std::strcmp(element.name(), kDocument) != 0 && std::strcmp(element.name(), kFolder) != 0)
        return;
    ReadTree(element, root);
}
