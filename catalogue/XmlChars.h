#pragma once
// The characters an XML 1.0 document can hold (its Char production): what the
// catalogue file's readers refuse besides, and what every text that enters the
// catalogue is kept to, so that the program's own file always reads back.

#include <QByteArrayView>
#include <QString>
#include <QStringView>

constexpr bool IsXmlChar(char32_t c)
{
    if (c < 0x20)
        return c == '\t' || c == '\n' || c == '\r';
    return c < 0xD800 || (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

// The size of the UTF-8 sequence of more than one byte at p (n bytes at hand) and
// its character c, as Unicode's table of well-formed sequences has them (no
// overlong form, no surrogate, nothing past U+10FFFF); 0 when there is none.
inline int Utf8SequenceSize(const unsigned char *p, qsizetype n, char32_t &c)
{
    const auto continues = [](unsigned char b, unsigned char low = 0x80,
                              unsigned char high = 0xBF) { return b >= low && b <= high; };
    const unsigned char lead = p[0];
    if (lead >= 0xC2 && lead <= 0xDF && n >= 2 && continues(p[1])) {
        c = char32_t(lead & 0x1F) << 6 | (p[1] & 0x3F);
        return 2;
    }
    if (lead >= 0xE0 && lead <= 0xEF && n >= 3
        && continues(p[1], lead == 0xE0 ? 0xA0 : 0x80, lead == 0xED ? 0x9F : 0xBF)
        && continues(p[2])) {
        c = char32_t(lead & 0x0F) << 12 | char32_t(p[1] & 0x3F) << 6 | (p[2] & 0x3F);
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4 && n >= 4
        && continues(p[1], lead == 0xF0 ? 0x90 : 0x80, lead == 0xF4 ? 0x8F : 0xBF)
        && continues(p[2]) && continues(p[3])) {
        c = char32_t(lead & 0x07) << 18 | char32_t(p[1] & 0x3F) << 12
            | char32_t(p[2] & 0x3F) << 6 | (p[3] & 0x3F);
        return 4;
    }
    return 0;
}

// The text without what XML 1.0 cannot hold: the C0 controls but tab, line feed
// and carriage return, lone surrogates, U+FFFE and U+FFFF.
QString XmlCharsOnly(const QString &text);
// Where the first such character stands in text; -1 when nowhere.
qsizetype FirstNonXmlChar(QStringView text);

// Where bytes first stop being UTF-8 of characters XML allows.
struct XmlUtf8Fault
{
    enum Kind { None, Encoding, Character };
    Kind kind = None;
    qsizetype at = -1;
    char32_t character = 0; // of a Character fault
};
XmlUtf8Fault CheckXmlUtf8(QByteArrayView utf8);
