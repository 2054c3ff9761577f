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
