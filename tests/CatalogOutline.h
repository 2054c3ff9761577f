#pragma once
// A catalogue as text, for comparisons in tests and fuzz targets: a line a folder
// ("F<depth> title | description", then " | selected expanded" with flags, each 0 or
// 1) or bookmark ("B<depth> title | address | description", then " | added |
// visited" with dates), in tree order. Walks with an explicit stack, so very deep
// trees compare too. With a top folder, only that folder and what it holds.

#include "catalogue/Catalog.h"
#include "catalogue/FolderWalk.h"

#include <QString>

struct OutlineOptions
{
    bool bookmarkDescriptions = true;
    bool dates = false;
    bool flags = false;
};

// Every field of every folder and bookmark.
inline constexpr OutlineOptions kWholeOutline{true, true, true};

inline QString CatalogOutline(const TCatalog &catalog, OutlineOptions options = {},
                              const TFolder *top = nullptr)
{
    QString out;
    int depth = 0;
    const auto enter = [&](const TFolder &f) {
        out += QStringLiteral("F%1 %2 | %3").arg(depth).arg(f.Title(), f.Description());
        if (options.flags)
            out += QStringLiteral(" | %1 %2").arg(int(f.Selected())).arg(int(f.Expanded()));
        out += u'\n';
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
    WalkFolders(catalog, top, enter, [&depth](const TFolder &) { --depth; });
    return out;
}
