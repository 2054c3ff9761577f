#pragma once
// The merge rule of every import: a folder whose title is already in the target
// list is reused, a bookmark whose title is already in the target folder is
// dropped, everything else is appended; titles compare with ASCII-only case folding.
// Each list searched once it holds a few items gets an index by folded title that
// lives as long as the merger, so merging into a folder of 100,000 bookmarks does
// not compare every new title with every old one; the index finds the same first
// match as TFolders::IndexOfTitle. Only the merger may add to the catalogue while
// it lives (changing fields other than titles is fine).

#include "catalogue/Catalog.h"

#include <QString>

#include <memory>
#include <unordered_map>
#include <unordered_set>

// Text as an import may put it into the catalogue: without what no XML 1.0 file
// can hold (XmlCharsOnly: the C0 controls but tab, line feed and carriage return,
// lone surrogates, U+FFFE, U+FFFF). The merger applies it to every folder and
// bookmark it is given.
QString ImportedText(const QString &text);

// Hashing and equality of titles as SameTitle compares them, for indexes by title.
struct TitleHash
{
    size_t operator()(const QString &title) const noexcept;
};
struct TitleEqual
{
    bool operator()(const QString &a, const QString &b) const { return SameTitle(a, b); }
};

class TMerger
{
public:
    explicit TMerger(TCatalog &catalog) : m_catalog(catalog) {}
    TMerger(const TMerger &) = delete;
    TMerger &operator=(const TMerger &) = delete;

    // Both first clean the new item's texts (ImportedText), then compare titles.
    // The target list is parent's sub-folders, or the root list when parent is
    // none. Returns the folder now used: the first folder of that list with an
    // equal title (folder is then discarded with all set on it), or folder
    // itself, appended. isNew, when given, tells which.
    TFolder *MergeFolder(TFolder *parent, std::unique_ptr<TFolder> folder,
                         bool *isNew = nullptr);

    // Appends bookmark to folder's bookmarks unless one with an equal title is
    // there; returns it, or none when it was dropped.
    TBookmark *MergeBookmark(TFolder &folder, std::unique_ptr<TBookmark> bookmark);

private:
    using FolderIndex = std::unordered_map<QString, TFolder *, TitleHash, TitleEqual>;
    using BookmarkIndex = std::unordered_set<QString, TitleHash, TitleEqual>;

    FolderIndex *FolderIndexOf(const TFolders &list);
    BookmarkIndex *BookmarkIndexOf(const TBookmarks &list);

    TCatalog &m_catalog;
    std::unordered_map<const TFolders *, FolderIndex> m_folderIndexes;
    std::unordered_map<const TBookmarks *, BookmarkIndex> m_bookmarkIndexes;
    // The list merged into last and its index: imports fill one folder at a time.
    const TBookmarks *m_lastBookmarks = nullptr;
    BookmarkIndex *m_lastBookmarkIndex = nullptr;
};

class TLineWriter;

// The export of a file format: writes the catalogue to fileName with write, in one
// atomic replace. When the file exists, import first merges its entries into a
// copy of the catalogue, and the copy is written: the file keeps what only it had.
void ExportMerged(const TCatalog &catalog, const QString &fileName,
                  void (*import)(TCatalog &, const QString &, TFolder *),
                  void (*write)(const TCatalog &, TLineWriter &));
