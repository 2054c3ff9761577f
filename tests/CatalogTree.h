#pragma once
// Building and comparing catalogue trees in tests and fuzz targets. A dump is the
// tree as text, one line per folder and bookmark in stored order with its depth,
// fields and flags: two trees are equal when their dumps are. Dumps walk with an
// explicit stack, so trees of any depth can be dumped.

#include "catalogue/Catalog.h"

#include <QStringList>

#include <vector>

inline QString DumpFolder(const TFolder &folder, int depth)
{
    return QString::number(depth) + QStringLiteral(" folder [") + folder.Title()
           + QStringLiteral("] [") + folder.Description() + QStringLiteral("] selected=")
           + QString::number(folder.Selected()) + QStringLiteral(" expanded=")
           + QString::number(folder.Expanded());
}

inline QString DumpBookmark(const TBookmark &b, int depth)
{
    return QString::number(depth) + QStringLiteral(" bookmark [") + b.Title()
           + QStringLiteral("] [") + b.Address() + QStringLiteral("] [") + b.Description()
           + QStringLiteral("] [") + b.AddDate() + QStringLiteral("] [") + b.LastVisit()
           + QStringLiteral("]");
}

inline QStringList DumpTree(const TFolders &roots)
{
    QStringList lines;
    struct Entry { const TFolder *folder; int depth; };
    std::vector<Entry> stack;
    for (int i = roots.Count() - 1; i >= 0; --i)
        stack.push_back({roots.At(i), 0});
    while (!stack.empty()) {
        const Entry entry = stack.back();
        stack.pop_back();
        const TFolder &folder = *entry.folder;
        lines << DumpFolder(folder, entry.depth);
        for (const auto &bookmark : folder.Bookmarks())
            lines << DumpBookmark(*bookmark, entry.depth + 1);
        for (int i = folder.Folders().Count() - 1; i >= 0; --i)
            stack.push_back({folder.Folders().At(i), entry.depth + 1});
    }
    return lines;
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
