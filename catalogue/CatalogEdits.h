#pragma once
// The structural changes the windows make to the catalogue (drops, cut, paste,
// delete), as plain functions on lists and row indexes. The caller takes the
// undo snapshot first; these only change the tree.

#include "catalogue/Catalog.h"

#include <vector>

// Rows are positions in a folder's bookmark list, ascending and distinct.
using TRows = std::vector<int>;

// Removes the bookmarks at rows from source and appends copies of them to
// target in row order. Example: source b0..b4, rows {1, 3}: source b0 b2 b4,
// target gains b1 b3. In one pass, so a large selection is not quadratic.
void MoveBookmarksTo(TBookmarks &source, const TRows &rows, TBookmarks &target);

// Removes (and frees) the bookmarks at rows, in one pass.
void RemoveBookmarks(TBookmarks &list, const TRows &rows);

// Copies of the bookmarks at rows, appended to target in row order.
void CopyBookmarksTo(const TBookmarks &source, const TRows &rows, TBookmarks &target);

// Moves the bookmarks at rows as one block to row `to` and returns their new rows.
// Example, b0..b5: rows {2, 3} to row 0 give b2 b3 b0 b1 b4 b5; rows {0, 1} to
// row 4 give b2 b3 b4 b0 b1 b5. Dropped above the first selected row, the block
// begins at that row; otherwise the last selected row at or above it ends there,
// and selected rows below it follow right after, in their order.
TRows MoveBookmarksToRow(TBookmarks &list, const TRows &rows, int to);

enum class TFolderDrop { Into, Before, After };

// Moves folder (with everything below it) into target as its last sub-folder,
// or just before or after target among target's siblings. The folder is
// replaced by a copy at its new place. Refused (false, nothing changed) when
// target is the folder itself or lies below it.
// Example, roots A B C: B before A gives B A C; A after C gives B C A.
bool MoveFolder(TFolder &folder, TFolder &target, TFolderDrop place);

// A deep copy of folder: its bookmarks, sub-folders and its own properties;
// the copy belongs to no list.
std::unique_ptr<TFolder> CopyFolder(const TFolder &folder);

// Takes the folder out of the list that holds it and frees it with its subtree.
void RemoveFolder(TFolder &folder);

// The list a new sibling of folder joins: the list that holds folder, or the
// catalogue's root list when there is no folder.
TFolders &SiblingList(TCatalog &catalog, TFolder *folder);
