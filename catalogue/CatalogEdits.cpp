#include "catalogue/CatalogEdits.h"

#include <algorithm>

namespace {

// Empties the list into a vector in list order: removing from the back is cheap.
std::vector<std::unique_ptr<TBookmark>> TakeAll(TBookmarks &list)
{
    std::vector<std::unique_ptr<TBookmark>> all;
    all.reserve(size_t(list.Count()));
    while (!list.IsEmpty())
        all.push_back(list.Extract(list.Count() - 1));
    std::reverse(all.begin(), all.end());
    return all;
}

std::vector<bool> RowMask(int count, const TRows &rows)
{
    std::vector<bool> mask(size_t(count), false);
    for (int row : rows)
        if (row >= 0 && row < count)
            mask[size_t(row)] = true;
    return mask;
}

std::unique_ptr<TBookmark> CopyOf(const TBookmark &bookmark)
{
    auto copy = std::make_unique<TBookmark>();
    copy->AssignFields(bookmark);
    return copy;
}

} // namespace

void MoveBookmarksTo(TBookmarks &source, const TRows &rows, TBookmarks &target)
{
    const std::vector<bool> moving = RowMask(source.Count(), rows);
    std::vector<std::unique_ptr<TBookmark>> all = TakeAll(source);
    for (size_t i = 0; i < all.size(); ++i) {
        if (moving[i])
            target.Add(CopyOf(*all[i]));
        else
            source.Add(std::move(all[i]));
    }
}

void RemoveBookmarks(TBookmarks &list, const TRows &rows)
{
    const std::vector<bool> removing = RowMask(list.Count(), rows);
    std::vector<std::unique_ptr<TBookmark>> all = TakeAll(list);
    for (size_t i = 0; i < all.size(); ++i)
        if (!removing[i])
            list.Add(std::move(all[i]));
}

void CopyBookmarksTo(const TBookmarks &source, const TRows &rows, TBookmarks &target)
{
    for (int row : rows)
        if (row >= 0 && row < source.Count())
            target.Add(CopyOf(*source.At(row)));
}

TRows MoveBookmarksToRow(TBookmarks &list, const TRows &rows, int to)
{
    const std::vector<bool> selected = RowMask(list.Count(), rows);
    const auto atOrAbove =
        std::count_if(rows.begin(), rows.end(), [to](int r) { return r <= to; });
    const int blockStart = to < rows.front() ? to : to - int(atOrAbove - 1);
    std::vector<std::unique_ptr<TBookmark>> all = TakeAll(list);
    std::vector<std::unique_ptr<TBookmark>> block;
    std::vector<std::unique_ptr<TBookmark>> rest;
    for (size_t i = 0; i < all.size(); ++i)
        (selected[i] ? block : rest).push_back(std::move(all[i]));
    TRows moved;
    for (size_t i = 0; i <= rest.size(); ++i) {
        if (int(i) == blockStart)
            for (auto &b : block) {
                moved.push_back(list.Count());
                list.Add(std::move(b));
            }
        if (i < rest.size())
            list.Add(std::move(rest[i]));
    }
    return moved;
}

std::unique_ptr<TFolder> CopyFolder(const TFolder &folder)
{
    auto copy = std::make_unique<TFolder>();
    copy->AssignContents(folder);
    copy->AssignProperties(folder);
    return copy;
}

bool MoveFolder(TFolder &folder, TFolder &target, TFolderDrop place)
{
    if (folder.Contains(&target) || !target.List() || !folder.List())
        return false;
    std::unique_ptr<TFolder> copy = CopyFolder(folder);
    if (place == TFolderDrop::Into) {
        target.Folders().Add(std::move(copy));
    } else {
        TFolders *list = target.List();
        list->Insert(target.GetIndex() + (place == TFolderDrop::After ? 1 : 0), std::move(copy));
    }
    RemoveFolder(folder);
    return true;
}

void RemoveFolder(TFolder &folder)
{
    if (TFolders *list = folder.List())
        list->Delete(list->IndexOf(&folder));
}

TFolders &SiblingList(TCatalog &catalog, TFolder *folder)
{
    return folder && folder->List() ? *folder->List() : catalog.Folders();
}
