#pragma once
// Decoding of 8-bit text files: UTF-8 when the bytes are valid UTF-8 (four-byte
// sequences included), otherwise Windows-1252, the code page such files were
// made in on Windows. Nothing is ever dropped.

#include <QByteArrayView>
#include <QString>

QString DecodeUtf8OrAnsi(QByteArrayView bytes);

// Windows-1252 alone (0x80..0x9F as that code page has them; the rest Latin-1).
QString DecodeWindows1252(QByteArrayView bytes);

bool IsValidUtf8(QByteArrayView bytes);
