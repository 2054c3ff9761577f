#include "exchange/Merge.h"
#include "catalogue/XmlChars.h"
#include "exchange/LineFile.h"

namespace {

// Lists shorter than this are searched one by one; an index costs more there.
constexpr int kIndexFrom = 16;

void CleanFolder(TFolder &folder)
{
    folder.SetTitle(ImportedText(folder.Title()));
    folder.SetDescription(ImportedText(folder.Description()));
}

void CleanBookmark(TBookmark &bookmark)
{
    bookmark.SetTitle(ImportedText(bookmark.Title()));
    bookmark.SetAddress(ImportedText(bookmark.Address()));
    bookmark.SetDescription(ImportedText(bookmark.Description()));
    bookmark.SetLastVisit(ImportedText(bookmark.LastVisit()));
    bookmark.SetAddDate(ImportedText(bookmark.AddDate()));
}

} // namespace

QString ImportedText(const QString &text)
{
    return XmlCharsOnly(text);
}

size_t TitleHash::operator()(const QString &title) const noexcept
{
    // FNV-1a over the UTF-16 units with a-z folded to A-Z, as SameTitle compares.
    quint64 hash = 14695981039346656037ULL;
    for (QChar c : title) {
        hash = (hash ^ AsciiUpperChar(c.unicode())) * 1099511628211ULL;
    }
    return size_t(hash ^ (hash >> 32));
}

TMerger::FolderIndex *TMerger::FolderIndexOf(const TFolders &list)
{
    auto found = m_folderIndexes.find(&list);
    if (found != m_folderIndexes.end())
        return &found->second;
    if (list.Count() < kIndexFrom)
        return nullptr;
    FolderIndex &index = m_folderIndexes[&list];
    index.reserve(size_t(list.Count()) * 2);
    for (const auto &folder : list)
        index.emplace(folder->Title(), folder.get()); // keeps the first of equal titles
    return &index;
}

TMerger::BookmarkIndex *TMerger::BookmarkIndexOf(const TBookmarks &list)
{
    if (&list == m_lastBookmarks && m_lastBookmarkIndex)
        return m_lastBookmarkIndex;
    BookmarkIndex *result = nullptr;
    auto found = m_bookmarkIndexes.find(&list);
    if (found != m_bookmarkIndexes.end()) {
        result = &found->second;
    } else if (list.Count() >= kIndexFrom) {
        result = &m_bookmarkIndexes[&list];
        result->reserve(size_t(list.Count()) * 2);
        for (const auto &bookmark : list)
            result->insert(bookmark->Title());
    }
    m_lastBookmarks = &list;
    m_lastBookmarkIndex = result;
    return result;
}

TFolder *TMerger::MergeFolder(TFolder *parent, std::unique_ptr<TFolder> folder, bool *isNew)
{
    CleanFolder(*folder);
    TFolders &list = parent ? parent->Folders() : m_catalog.Folders();
    FolderIndex *index = FolderIndexOf(list);
    TFolder *existing = nullptr;
    if (index) {
        const auto found = index->find(folder->Title());
        existing = found == index->end() ? nullptr : found->second;
    } else if (const int at = list.IndexOfTitle(folder->Title()); at >= 0) {
        existing = list.At(at);
    }
    if (isNew)
        *isNew = !existing;
    if (existing)
        return existing;
    TFolder *added = list.Add(std::move(folder));
    if (index)
        index->emplace(added->Title(), added);
    return added;
}

TBookmark *TMerger::MergeBookmark(TFolder &folder, std::unique_ptr<TBookmark> bookmark)
{
    CleanBookmark(*bookmark);
    TBookmarks &list = folder.Bookmarks();
    BookmarkIndex *index = BookmarkIndexOf(list);
    if (index) {
        if (!index->insert(bookmark->Title()).second)
            return nullptr;
    } else if (list.IndexOfTitle(bookmark->Title()) >= 0) {
        return nullptr;
    }
    return list.Add(std::move(bookmark));
}

void ExportMerged(const TCatalog &catalog, const QString &fileName,
                  void (*import)(TCatalog &, const QString &, TFolder *),
                  void (*write)(const TCatalog &, TLineWriter &))
{
    TLineWriter lines;
    if (IsExistingFile(fileName)) {
        TCatalog copy;
        copy.AddCopies(catalog);
        import(copy, fileName, nullptr);
        write(copy, lines);
    } else {
        write(catalog, lines);
    }
    lines.WriteFile(fileName);
}
