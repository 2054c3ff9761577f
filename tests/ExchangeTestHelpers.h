#pragma once
// Files and catalogues for the exchange tests: a catalogue built from the outline
// that CatalogOutline prints, and the bytes of files.

#include "CatalogOutline.h"
#include "CatalogTree.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <vector>

inline QByteArray ReadBytes(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Adds what an outline holds ("F<depth> title | description", "B<depth> title |
// address | description"); a text may hold line breaks that no "F1"/"B1" follows.
inline void BuildCatalog(TCatalog &catalog, const QString &outline)
{
    if (outline.isEmpty())
        return;
    static const QRegularExpression entry(QStringLiteral("\n(?=[FB]\\d)"));
    std::vector<TFolder *> path;
    for (const QString &line : outline.chopped(1).split(entry)) {
        const qsizetype blank = line.indexOf(u' ');
        const int depth = line.sliced(1, blank - 1).toInt();
        const QStringList fields = line.sliced(blank + 1).split(QStringLiteral(" | "));
        if (line.startsWith(u'F')) {
            path.resize(size_t(depth));
            TFolder *f = AddFolder(depth ? path.back()->Folders() : catalog.Folders(), fields[0]);
            f->SetDescription(fields.value(1));
            path.push_back(f);
        } else {
            TBookmark *b = AddBookmark(path.at(size_t(depth - 1))->Bookmarks(), fields[0]);
            b->SetAddress(fields.value(1));
            b->SetDescription(fields.value(2));
        }
    }
}

// Two root folders: A (described) with two bookmarks, one accented and described,
// and a sub-folder B with one bookmark; then the empty folder Empty.
inline const QString kSmallCatalog = u"F0 A | About A\nB1 Caf\u00E9 | http://c/ | Coffee\n"
                                     u"B1 Plain | http://p/ | \nF1 B | \nB2 Deep | http://d/ | \n"
                                     u"F0 Empty | \n"_qs;
