#include "catalogue/CatalogFileSyntax.h"

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

// A reference at p ("&amp;", "&#233;", "&#x20AC;"); a code point the parser would
// write as no character (NUL, a surrogate, beyond Unicode) counts as none.
bool Reference(const char *&p, const char *end, std::string &out)
{
    static constexpr std::pair<std::string_view, char> kEntities[] = {
        {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
    const std::string_view rest(p, size_t(end - p));
    for (const auto &[entity, c] : kEntities) {
        if (rest.starts_with(entity)) {
            out += c;
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
    AppendUtf8(out, code);
    p += i + 1;
    return true;
}

} // namespace

bool DecodeText(const char *p, qsizetype n, std::string &out)
{
    const char *end = p + n;
    out.clear();
    while (p != end) {
        if (*p == '\r') {
            out += '\n';
            p += p + 1 != end && p[1] == '\n' ? 2 : 1;
        } else if (*p == '&') {
            if (!Reference(p, end, out))
                return false;
        } else if (*p == '\0') {
            return false;
        } else {
            out += *p++;
        }
    }
    return true;
}

} // namespace CatalogFileSyntax
