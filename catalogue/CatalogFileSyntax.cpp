#include "catalogue/CatalogFileSyntax.h"
#include "catalogue/XmlChars.h"

#include <string_view>
#include <utility>

namespace CatalogFileSyntax {
namespace {

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

int DigitValue(char c, bool hex)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    const char lower = char(c | 0x20);
    return hex && lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

// "&#233;" or "&#x20AC;" ("&#X" is no reference) to a character XML allows.
TextFault CharacterReference(std::string_view rest, size_t &length, std::string &out)
{
    const bool hex = rest.size() > 2 && rest[2] == 'x';
    const size_t first = hex ? 3 : 2;
    size_t i = first;
    char32_t code = 0;
    for (; i < rest.size() && rest[i] != ';'; ++i) {
        const int digit = DigitValue(rest[i], hex);
        if (digit < 0)
            return TextFault::CharacterReference;
        code = code * (hex ? 16 : 10) + char32_t(digit);
        if (code > 0x10FFFF)
            return TextFault::CharacterReference;
    }
    if (i == rest.size() || i == first || !IsXmlChar(code))
        return TextFault::CharacterReference;
    AppendUtf8(out, code);
    length = i + 1;
    return TextFault::None;
}

// A reference at the start of rest; length: its size in bytes.
TextFault Reference(std::string_view rest, size_t &length, std::string &out)
{
    static constexpr std::pair<std::string_view, char> kEntities[] = {
        {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
    if (rest.starts_with("&#"))
        return CharacterReference(rest, length, out);
    if (rest.size() < 2 || !Is(rest[1], kNameStart))
        return TextFault::Ampersand;
    size_t end = 2;
    while (end < rest.size() && Is(rest[end], kNameChar))
        ++end;
    if (end == rest.size() || rest[end] != ';')
        return TextFault::Ampersand;
    const std::string_view name = rest.substr(1, end - 1);
    for (const auto &[entity, c] : kEntities) {
        if (name == entity) {
            out += c;
            length = end + 1;
            return TextFault::None;
        }
    }
    return TextFault::Entity;
}

} // namespace

TextFault DecodeText(const char *p, qsizetype n, std::string &out, qsizetype *at, TextKind kind)
{
    const bool resolve = kind != TextKind::Cdata;
    const char *const start = p;
    const char *const end = p + n;
    TextFault fault = TextFault::None;
    out.clear();
    while (p != end && fault == TextFault::None) {
        if (*p == '\r') {
            out += '\n';
            p += p + 1 != end && p[1] == '\n' ? 2 : 1;
        } else if (*p == '&' && resolve) {
            size_t length = 0;
            fault = Reference(std::string_view(p, size_t(end - p)), length, out);
            p += length;
        } else if (*p == '>' && kind == TextKind::Content && p - start >= 2 && p[-1] == ']'
                   && p[-2] == ']') {
            fault = TextFault::CdataEnd;
            p -= 2;
        } else if (*p == '\0') {
            fault = TextFault::Nul;
        } else {
            out += *p++;
        }
    }
    if (at)
        *at = p - start;
    return fault;
}

} // namespace CatalogFileSyntax
