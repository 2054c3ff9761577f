#pragma once
// Internet Explorer favourites: a folder tree whose folders are catalogue folders
// and whose ".url" files (ini files, key "URL" of section "InternetShortcut") are
// bookmarks. The import merges by title (TMerger); the export adds folders and
// files that are missing and never changes, deletes or overwrites anything.

#include "catalogue/Catalog.h"

#include <QString>

// Imports the tree below dir into folder's sub-folders, or as root folders when
// folder is none; ".url" files directly in dir become folder's bookmarks, with
// none those of a root folder titled with dir's name. Names beginning with "."
// are skipped with their subtree. Only regular files of at most 1 MiB are read as
// shortcuts; another "*.url", or one that cannot be read, gives a bookmark without
// address, and a folder below dir that cannot be read gives an empty folder.
// Symbolic links are followed to folders inside dir only, and each real folder is
// entered once (by its real place first): others stay empty. A missing dir does
// nothing; a dir that cannot be read raises an error naming it. Entries are opened
// by the bytes of their names; a name that is not UTF-8 shows as Windows-1252. A
// UTF-7 "URL" in section "InternetShortcut.W" (the Unicode address) comes first.
void ImportIE(TCatalog &catalog, const QString &dir, TFolder *folder = nullptr);

// Writes folder's sub-folders and bookmarks (the root folders when folder is none)
// below dir, making dir when it is missing. A name is the title less NUL and the
// nine characters that file names may not hold, cut at a character to the 255
// bytes a file name holds; a folder whose name trims to nothing, or a name "." or
// "..", is skipped with everything below it, and folders of one name share their
// directory. Folders come first, then a folder's bookmarks, one "<name>.url" file
// each unless one exists.
void ExportIE(const TCatalog &catalog, const QString &dir, const TFolder *folder = nullptr);

// A bookmark title as a ".url" file name (without ".url"): NUL and the nine
// characters removed, cut to 207 characters when longer than 208, then to what a
// file name can hold; empty when the bookmark gets no file.
QString FavoriteFileName(const QString &title);
