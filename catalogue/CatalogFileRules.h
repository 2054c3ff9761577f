#pragma once
// The reading rules that both readers of the catalogue file share: how the file's
// bytes are encoded, how a field's text is decoded, and what a flag's text means.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringConverter>

#include <optional>

// The encoding named by a declaration such as <?xml version="1.0" encoding="x"?>.
QByteArray DeclaredEncoding(const QByteArray &data);

// The encoding that the start of the file shows by itself: a byte-order mark, or
// "<" and an ASCII character as UTF-16 or UTF-32 without a mark. A file that merely
// begins with a NUL byte shows none.
std::optional<QStringConverter::Encoding> MarkedEncoding(const QByteArray &start);

// The number of leading bytes to drop (a UTF-8 byte-order mark) when the file's
// bytes are UTF-8 as they stand; -1 when they need decoding. Judged from the start
// of the file, which must hold its declaration when it has one.
qsizetype Utf8PrefixSize(const QByteArray &start);

// A field's text from its UTF-8 bytes. A U+FEFF it begins with stays: only at the
// file's start is it a byte-order mark.
QString FieldText(QByteArrayView utf8);

// A flag's text: a number (not zero: true), else "true" or "false" in any letter
// case. Returns false when the text is neither.
bool ReadFlag(const QString &text, bool &value);

// "Could not convert variant of type (OleStr) into type (Boolean)".
[[noreturn]] void RaiseFlagError();
