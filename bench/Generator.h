#pragma once
// Deterministic synthetic catalogues for the benchmarks: realistic field lengths,
// some non-ASCII text, some descriptions, folders nested up to depth 6.

#include "catalogue/Catalog.h"

#include <QString>
#include <QStringList>

// Appends `folders` folders holding `bookmarks` bookmarks in all to the catalogue.
void GenerateCatalog(TCatalog &catalog, int bookmarks, int folders, unsigned seed = 42);

// Appends `count` bookmarks to one folder.
void GenerateBookmarks(TFolder &folder, int count, unsigned seed = 42);

// `count` title-like texts, for the floors the benchmarks compare with.
QStringList GenerateTitles(int count, unsigned seed = 42);
