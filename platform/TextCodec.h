#pragma once
// Decoding of 8-bit text files: UTF-8 when the bytes are valid UTF-8 (four-byte
// sequences included), otherwise Windows-1252, the code page such files were
// made in on Windows. Nothing is ever dropped.

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>

QString DecodeUtf8OrAnsi(QByteArrayView bytes);

// Windows-1252 alone (0x80..0x9F as that code page has them; the rest Latin-1).
QString DecodeWindows1252(QByteArrayView bytes);

bool IsValidUtf8(QByteArrayView bytes);

// UTF-7 (RFC 2152), as Windows writes a shortcut's Unicode address: "+BDAEMQ-" is
// "аб", "+-" is "+", every other ASCII character stands for itself. None when the
// text is not well-formed: a character beyond ASCII, a "+" that starts no base64
// run, leftover bits that are not zero or make a sixth, a lone surrogate.
std::optional<QString> DecodeUtf7(QStringView text);
