#pragma once
// The two readers of the catalogue file (the rules they share are in
// CatalogFileRules.h). The streaming reader builds the tree while it reads the
// file's plain form (what the writer writes); any other file it leaves untouched
// to the document reader, which parses the whole file first and holds every rule,
// its errors included.

#include <QString>

class TFolders;

// Appends the folders of a file in the plain form to root and returns true. For
// any other file (another encoding, comments, attributes, a fault of any kind) it
// adds nothing and returns false. block: the bytes read at a time (0: the usual).
bool ReadCatalogStream(const QString &fileName, TFolders &root, qsizetype block = 0);

// Parses the whole file, then appends its folders to root; raises every failure
// the file holds, leaving what was read before it.
void ReadCatalogDocument(const QString &fileName, TFolders &root);
