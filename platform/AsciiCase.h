#pragma once
// Case folding of ASCII letters only, the rule for ini names and text keys:
// "FRMFIND" and "frmFind" are one name, while "Ä" and "ä" stay different.

#include <QString>
#include <QStringView>

// One UTF-16 unit (or any wider character) with a-z made A-Z, or A-Z made a-z.
template <typename Char>
constexpr Char AsciiUpperChar(Char c)
{
    return c >= 'a' && c <= 'z' ? Char(c - ('a' - 'A')) : c;
}
template <typename Char>
constexpr Char AsciiLowerChar(Char c)
{
    return c >= 'A' && c <= 'Z' ? Char(c + ('a' - 'A')) : c;
}

// a-z become A-Z; nothing else changes.
QString AsciiUpper(QStringView text);
bool SameTextAscii(QStringView a, QStringView b);
