#pragma once
// Folder structures as one line of text in tests: "A(A1 A2) B:2" stands for the
// root folders A and B, A holding A1 and A2 and B the bookmarks b0 and b1 (at
// "http://b0/" and "http://b1/"). Titles hold no blanks.

#include "CatalogTree.h"
#include "catalogue/FolderWalk.h"

#include <vector>

inline QString Shape(const TFolders &list)
{
    QStringList parts;
    for (const auto &f : list)
        parts << (f->Folders().IsEmpty() ? f->Title()
                                         : f->Title() + "(" + Shape(f->Folders()) + ")");
    return parts.join(' ');
}

// Appends the folders of a shape to the list.
inline void BuildShape(TFolders &list, const QString &shape)
{
    std::vector<TFolders *> lists{&list};
    TFolder *last = nullptr;
    QString title;
    const auto flush = [&] {
        const QStringList parts = title.split(u':');
        if (!title.isEmpty())
            last = AddFolder(*lists.back(), parts[0]);
        for (int i = 0; i < parts.value(1).toInt(); ++i) {
            const QString name = parts[0].toLower() + QString::number(i);
            AddBookmark(last->Bookmarks(), name)->SetAddress("http://" + name + "/");
        }
        title.clear();
    };
    for (const QChar c : shape) {
        if (c == u'(') {
            flush();
            lists.push_back(&last->Folders());
        } else if (c == u')' || c == u' ') {
            flush();
            if (c == u')')
                lists.pop_back();
        } else {
            title += c;
        }
    }
    flush();
}

// The first folder with the title, in pre-order; none when there is none.
inline TFolder *FolderNamed(const TCatalog &catalog, const QString &title)
{
    TFolder *found = nullptr;
    ForEachFolder(catalog.Folders(), [&](TFolder &f) {
        if (!found && f.Title() == title)
            found = &f;
    });
    return found;
}
