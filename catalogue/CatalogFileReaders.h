#pragma once
// The two readers of the catalogue file and the rules they share. The streaming
// reader builds the tree while it reads the file's plain form (what the writer
// writes); any other file it leaves untouched to the document reader, which
// parses the whole file first and holds every rule, its errors included.

#include <QByteArray>
#include <QString>

class TFolders;

// Appends the folders of a file in the plain form to root and returns true. For
// any other file (another encoding, comments, attributes, a fault of any kind) it
// adds nothing and returns false. block: the bytes read at a time (0: the usual).
bool ReadCatalogStream(const QString &fileName, TFolders &root, qsizetype block = 0);

// Parses the whole file, then appends its folders to root; raises every failure
// the file holds, leaving what was read before it.
void ReadCatalogDocument(const QString &fileName, TFolders &root);

// The encoding named by a declaration such as <?xml version="1.0" encoding="x"?>.
QByteArray DeclaredEncoding(const QByteArray &data);

// The number of leading bytes to drop (a UTF-8 byte-order mark) when the file's
// bytes are UTF-8 as they stand; -1 when they need decoding. Judged from the start
// of the file, which must hold its declaration when it has one.
qsizetype Utf8PrefixSize(const QByteArray &start);

// A flag's text: a number (not zero: true), else "true" or "false" in any letter
// case. Returns false when the text is neither.
bool ReadFlag(const QString &text, bool &value);

// "Could not convert variant of type (OleStr) into type (Boolean)".
[[noreturn]] void RaiseFlagError();
