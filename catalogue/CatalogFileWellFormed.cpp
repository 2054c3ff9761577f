#include "catalogue/CatalogFileWellFormed.h"
#include "catalogue/CatalogFileSyntax.h"
#include "catalogue/XmlChars.h"

#include <pugixml.hpp>

#include <cstring>
#include <string>
#include <string_view>

const unsigned kWellFormedParseOptions = pugi::parse_cdata | pugi::parse_comments
    | pugi::parse_pi | pugi::parse_declaration | pugi::parse_doctype | pugi::parse_fragment;

namespace {

using CatalogFileSyntax::TextFault;
using CatalogFileSyntax::TextKind;

QString Described(pugi::xml_parse_status status)
{
    pugi::xml_parse_result result;
    result.status = status;
    return QString::fromUtf8(result.description());
}

// The reason for a fault of a text, whose bytes from the fault on are rest.
QString TextReason(TextFault fault, std::string_view rest)
{
    switch (fault) {
    case TextFault::Ampersand:
        return QStringLiteral("Unescaped '&'");
    case TextFault::Entity:
        return QStringLiteral("Undefined entity %1")
            .arg(QString::fromUtf8(rest.substr(0, rest.find(';') + 1).substr(0, 40)));
    case TextFault::CharacterReference:
        return QStringLiteral("Invalid character reference");
    case TextFault::CdataEnd:
        return QStringLiteral("']]>' outside a CDATA section");
    case TextFault::Nul:
    case TextFault::None:
        break;
    }
    return QStringLiteral("Character U+0000 not allowed in XML");
}

class DocumentCheck
{
public:
    DocumentCheck(QByteArrayView text, char lastByte) : m_text(text), m_lastByte(lastByte) {}

    std::optional<CatalogFileFault> TopLevel(const pugi::xml_document &document);
    std::optional<CatalogFileFault> Inside(pugi::xml_node element);

private:
    qsizetype Offset(const char *p) const { return p - m_text.data(); }
    std::optional<CatalogFileFault> Text(pugi::xml_node node);
    std::optional<CatalogFileFault> Attributes(pugi::xml_node element);
    std::optional<CatalogFileFault> TextFaultAt(TextFault fault, const char *text,
                                                qsizetype at) const;

    // The text's byte at i as it was before the parse.
    char Byte(qsizetype i) const { return i == m_text.size() - 1 ? m_lastByte : m_text[i]; }

    QByteArrayView m_text;
    const char m_lastByte;
    std::string m_decoded;
};

std::optional<CatalogFileFault> DocumentCheck::TextFaultAt(TextFault fault, const char *text,
                                                           qsizetype at) const
{
    if (fault == TextFault::None)
        return std::nullopt;
    return CatalogFileFault{TextReason(fault, text + at), Offset(text) + at};
}

// Beside the document element: the declaration first, at the very start; a document
// type before the element; comments, processing instructions and blanks anywhere.
std::optional<CatalogFileFault> DocumentCheck::TopLevel(const pugi::xml_document &document)
{
    bool element = false;
    bool doctype = false;
    for (pugi::xml_node node = document.first_child(); node; node = node.next_sibling()) {
        const char *value = node.value();
        switch (node.type()) {
        case pugi::node_declaration:
            if (node != document.first_child() || Offset(node.name()) != 2
                || std::strcmp(node.name(), "xml") != 0)
                return CatalogFileFault{Described(pugi::status_bad_pi), Offset(node.name())};
            break;
        case pugi::node_doctype:
            if (element || doctype)
                return CatalogFileFault{Described(pugi::status_bad_doctype), Offset(value)};
            doctype = true;
            break;
        case pugi::node_element:
            if (element)
                return CatalogFileFault{QStringLiteral("More than one document element"),
                                        Offset(node.name()) - 1};
            element = true;
            break;
        case pugi::node_pcdata:
        case pugi::node_cdata:
            value += std::strspn(value, " \t\r\n");
            return CatalogFileFault{QStringLiteral("Text outside the document element"),
                                    Offset(value)};
        default:
            break;
        }
    }
    if (!element)
        return CatalogFileFault{Described(pugi::status_no_document_element),
                                qMax(m_text.size() - 1, qsizetype(0))};
    // The parse drops the file's last byte when it stands in text outside every
    // element: a well-formed file ends in markup, blanks aside.
    qsizetype last = m_text.size() - 1;
    while (last >= 0 && CatalogFileSyntax::Is(Byte(last), CatalogFileSyntax::kSpace))
        --last;
    if (last >= 0 && Byte(last) != '>')
        return CatalogFileFault{QStringLiteral("Text outside the document element"), last};
    return std::nullopt;
}

// Every node below the element in document order, without recursion.
std::optional<CatalogFileFault> DocumentCheck::Inside(pugi::xml_node element)
{
    for (pugi::xml_node node = element; node;) {
        std::optional<CatalogFileFault> fault =
            node.type() == pugi::node_element ? Attributes(node) : Text(node);
        if (fault)
            return fault;
        if (pugi::xml_node child = node.first_child()) {
            node = child;
            continue;
        }
        for (; node != element && !node.next_sibling(); node = node.parent()) {
        }
        node = node == element ? pugi::xml_node() : node.next_sibling();
    }
    return std::nullopt;
}

std::optional<CatalogFileFault> DocumentCheck::Attributes(pugi::xml_node element)
{
    for (pugi::xml_attribute attribute : element.attributes()) {
        const char *value = attribute.value();
        if (const char *lt = std::strchr(value, '<'))
            return CatalogFileFault{Described(pugi::status_bad_attribute), Offset(lt)};
        if (!std::strchr(value, '&'))
            continue;
        qsizetype at = 0;
        const TextFault fault = CatalogFileSyntax::DecodeText(
            value, qsizetype(std::strlen(value)), m_decoded, &at, TextKind::Attribute);
        if (fault != TextFault::None)
            return TextFaultAt(fault, value, at);
    }
    return std::nullopt;
}

// A text found sound takes the value the parser would have given it; the value is
// never longer, so it stays in the parsed text.
std::optional<CatalogFileFault> DocumentCheck::Text(pugi::xml_node node)
{
    const bool cdata = node.type() == pugi::node_cdata;
    if (!cdata && node.type() != pugi::node_pcdata)
        return std::nullopt;
    const char *value = node.value();
    if (!std::strpbrk(value, cdata ? "\r" : "&>\r"))
        return std::nullopt;
    qsizetype at = 0;
    const TextFault fault = CatalogFileSyntax::DecodeText(
        value, qsizetype(std::strlen(value)), m_decoded, &at,
        cdata ? TextKind::Cdata : TextKind::Content);
    if (fault == TextFault::None)
        node.set_value(m_decoded.data(), m_decoded.size());
    return TextFaultAt(fault, value, at);
}

} // namespace

std::optional<CatalogFileFault> CheckUtf8Text(QByteArrayView text, const QString &encoding)
{
    const XmlUtf8Fault fault = CheckXmlUtf8(text);
    if (fault.kind == XmlUtf8Fault::Encoding)
        return CatalogFileFault{
            QStringLiteral("Invalid byte sequence in encoding %1").arg(encoding), fault.at};
    if (fault.kind == XmlUtf8Fault::Character)
        return CatalogFileFault{
            QStringLiteral("Character U+%1 not allowed in XML")
                .arg(QString::number(fault.character, 16).toUpper().rightJustified(4, u'0')),
            fault.at};
    // The parser would skip a second mark as if it were the first.
    if (text.startsWith("\xEF\xBB\xBF"))
        return CatalogFileFault{QStringLiteral("Text outside the document element"), 0};
    return std::nullopt;
}

std::optional<CatalogFileFault> CheckDocument(pugi::xml_document &document, QByteArrayView text,
                                              char lastByte)
{
    DocumentCheck check(text, lastByte);
    if (auto fault = check.TopLevel(document))
        return fault;
    return check.Inside(document.document_element());
}
