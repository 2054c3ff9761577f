#pragma once
// A catalogue as text, for comparisons in tests and fuzz targets: a line a folder
// ("F<depth> title | description") or bookmark ("B<depth> title | address |
// description", then " | added | visited" with dates), in tree order. Walks with an
// explicit stack, so very deep trees compare too.

#include "catalogue/Catalog.h"
#include "exchange/TreeWalk.h"

#include <QString>

struct OutlineOptions
{
    bool bookmarkDescriptions = true;
    bool dates = false;
};

inline QString CatalogOutline(const TCatalog &catalog, OutlineOptions options = {})
{
    QString out;
    int depth = 0;
    const auto enter = [&](const TFolder &f) {
        out += QStringLiteral("F%1 %2 | %3\n").arg(depth).arg(f.Title(), f.Description());
        for (const auto &b : f.Bookmarks()) {
            out += QStringLiteral("B%1 %2 | %3").arg(depth + 1).arg(b->Title(), b->Address());
            if (options.bookmarkDescriptions)
                out += QStringLiteral(" | ") + b->Description();
            if (options.dates)
                out += QStringLiteral(" | %1 | %2").arg(b->AddDate(), b->LastVisit());
            out += u'\n';
        }
        ++depth;
    };
    WalkFolders(catalog, nullptr, enter, [&depth](const TFolder &) { --depth; });
    return out;
}
