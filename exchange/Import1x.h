#pragma once
// Import of the catalogue folder of the product's 1.x version: "folders.wnf" (one
// folder a line, its depth the number of TABs), "folddesc.wnf" (pairs of lines:
// folder title, description) and "Links/<title>.wnl" (five lines a bookmark, each
// with a two-character prefix). Their names match without letter case, the exact
// name first, and files are opened by the bytes of their names (a name that is not
// UTF-8 matches a title as Windows-1252). A links file is read once per folder it
// fills, however many lines name that folder. The folder is only read; everything is merged into the root list by
// title (TMerger).

#include "catalogue/Catalog.h"

#include <QString>

// Nothing happens when either list file is missing; a file that cannot be read
// raises an error naming it.
void ImportVarnokel1x(TCatalog &catalog, const QString &dir);
