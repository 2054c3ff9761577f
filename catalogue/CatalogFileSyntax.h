#pragma once
// The document reader's parser in the small, as the streaming reader follows it:
// its white space, the bytes of its names, and what it makes of a text, which both
// readers resolve themselves (pugixml lets faults in references through).

#include <QtGlobal>

#include <array>
#include <string>

namespace CatalogFileSyntax {

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
inline constexpr std::array<unsigned char, 256> kClasses = MakeClasses();

inline bool Is(char c, unsigned char kind)
{
    return kClasses[static_cast<unsigned char>(c)] & kind;
}

// What XML 1.0 refuses in a text: an '&' that begins no reference, an entity
// other than the five it defines, a character reference that is malformed or
// names a character XML does not allow, "]]>", a NUL.
enum class TextFault : unsigned char { None, Ampersand, Entity, CharacterReference, CdataEnd, Nul };

// Where a text stands: "]]>" is refused in content alone, references are resolved
// in content and attribute values, a CDATA section has neither.
enum class TextKind : unsigned char { Content, Attribute, Cdata };

// Sets out to the bytes of a text as the parser leaves them: each CR LF or CR as
// LF, the five entities and character references resolved. Returns the first
// fault, at its offset in *at when given.
TextFault DecodeText(const char *p, qsizetype n, std::string &out, qsizetype *at = nullptr,
                     TextKind kind = TextKind::Content);

} // namespace CatalogFileSyntax
