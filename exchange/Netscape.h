#pragma once
// Netscape bookmark files, the HTML format in which browsers export and import
// bookmarks. The reader is a line scanner, not an HTML parser (NetscapeLine.h
// reads a line's markup, NetscapeScanner.h finds the lines a title or description
// runs on): one folder or bookmark a line, the nesting taken from
// folder lines and end-of-list lines alone, a description line for the bookmark
// read last or, when a folder line came after it, for the current folder; comments
// skipped, everything merged by title (TMerger).
// Bookmarks outside every folder go into a root folder titled with the file's
// heading. The writer puts one entry on a line, without attributes, in UTF-8 with
// CR LF.

#include "catalogue/Catalog.h"

#include <QString>

class TLineReader;
class TLineWriter;

// Merges the file into folder, or into the root list when folder is none. A
// missing file does nothing; a file that cannot be read raises an error naming it.
void ImportFirefox(TCatalog &catalog, const QString &fileName, TFolder *folder = nullptr);

// Writes the whole catalogue to the file, atomically. When the file exists, its
// entries are first merged into a copy of the catalogue, so that what only the
// file had is kept (after the catalogue's own entries of each folder).
void ExportFirefox(const TCatalog &catalog, const QString &fileName);

// Appends the lines of folder, or of every root folder when folder is none.
void WriteFirefoxFolders(const TCatalog &catalog, const TFolder *folder, TLineWriter &lines);

// ImportFirefox and ExportFirefox without the files.
void ReadFirefoxLines(TCatalog &catalog, TLineReader &lines, TFolder *folder = nullptr);
void WriteFirefoxFile(const TCatalog &catalog, TLineWriter &lines);
