#pragma once
// An owning list of bookmarks: one folder's bookmarks, or the clipboard's copies.

#include "catalogue/Bookmark.h"
#include "catalogue/OwningList.h"
#include "platform/AsciiCase.h"

enum TSortType : unsigned char {
    stUnsorted = 0,
    stTitle = 1,
    stAddress = 2,
    stLastVisit = 3,
    stAddDate = 4,
};

class TBookmarks : public OwningList<TBookmark>
{
public:
    // Sets the bookmark's Owner to this list and appends it; returns it.
    TBookmark *Add(std::unique_ptr<TBookmark> bookmark);
    // Inserts at index (0..Count) and sets Owner, as Add does.
    TBookmark *Insert(int index, std::unique_ptr<TBookmark> bookmark);
    // Appends a copy of each bookmark of source; the count is taken once, so a
    // list copied onto itself doubles once.
    void AddCopies(const TBookmarks &source);
    // First bookmark whose title equals text with ASCII-only case folding; -1 if none.
    int IndexOfTitle(const QString &text) const;

    void Sort(TSortType key, bool reversed);

    // Asks for the bookmarks' shared texts ahead of a pass that changes their
    // reference counts (copying, freeing): each atomic update waits for memory,
    // prefetches do not, so they overlap.
    void PrefetchTexts() const;
};

// Titles equal when they match after folding a-z to A-Z; nothing else is folded.
inline bool SameTitle(const QString &a, const QString &b)
{
    return SameTextAscii(a, b);
}
