#pragma once
// Building small catalogue trees in tests, and reading back what they hold
// (CatalogOutline.h compares whole trees).

#include "catalogue/Catalog.h"

#include <QStringList>

// The five texts of a bookmark, in the order the catalogue file holds them.
inline QStringList Fields(const TBookmark &b)
{
    return {b.Title(), b.Address(), b.Description(), b.AddDate(), b.LastVisit()};
}

inline TFolder *AddFolder(TFolders &list, const QString &title)
{
    TFolder *folder = list.Add(std::make_unique<TFolder>());
    folder->SetTitle(title);
    return folder;
}

inline TBookmark *AddBookmark(TBookmarks &list, const QString &title)
{
    TBookmark *bookmark = list.Add(std::make_unique<TBookmark>());
    bookmark->SetTitle(title);
    return bookmark;
}

inline void AddBookmarks(TBookmarks &list, const QStringList &titles)
{
    for (const QString &title : titles)
        AddBookmark(list, title);
}

// The titles of a list's folders, or of its bookmarks, in stored order.
template <typename List>
QStringList Titles(const List &list)
{
    QStringList titles;
    for (const auto &item : list)
        titles << item->Title();
    return titles;
}
