#pragma once
// Opera hotlists: blocks of key lines opened by "#FOLDER" or "#URL", a folder
// closed by a line "-". A block's key lines end at the next line that opens a
// block ("#...") or closes a folder. The reader takes the "NAME=", "URL=" and
// "DESCRIPTION=" keys and merges by title (TMerger); bookmarks outside every
// folder go into a root folder titled with the file's name without its extension.
// The writer writes the blocks in UTF-8 with CR LF, line breaks inside a text as
// 0x02 characters, two a break as that browser writes them, so that what it writes
// reads back as it was (Opera.cpp says how CR LF and line feed stay apart).

#include "catalogue/Catalog.h"

#include <QString>

class TLineReader;
class TLineWriter;

// Merges the hotlist into folder, or into the root list when folder is none. A
// missing file does nothing; a file that cannot be read raises an error naming it.
void ImportOpera(TCatalog &catalog, const QString &fileName, TFolder *folder = nullptr);

// Writes the whole catalogue as a hotlist, atomically. When the file exists, its
// entries are first merged into a copy of the catalogue, so that what only the
// file had is kept.
void ExportOpera(const TCatalog &catalog, const QString &fileName);

// Appends the block of folder, or of every root folder when folder is none.
void WriteOperaFolders(const TCatalog &catalog, const TFolder *folder, TLineWriter &lines);

// ImportOpera and ExportOpera without the files.
void ReadOperaLines(TCatalog &catalog, TLineReader &lines, TFolder *folder = nullptr);
void WriteOperaFile(const TCatalog &catalog, TLineWriter &lines);
