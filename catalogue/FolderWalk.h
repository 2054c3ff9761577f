#pragma once
// The one walk over a folder tree: pre-order with an explicit stack, so that a
// tree nested 1,000,000 levels deep is walked without exhausting the call stack.

#include "catalogue/Catalog.h"

#include <type_traits>
#include <vector>

namespace FolderWalkDetail {

template <typename Enter>
bool Descend(Enter &enter, TFolder &folder)
{
    if constexpr (std::is_same_v<std::invoke_result_t<Enter &, TFolder &>, bool>)
        return enter(folder);
    else
        return enter(folder), true;
}

} // namespace FolderWalkDetail

// Calls enter(f) for each of `first` .. and every folder below them, before
// its sub-folders, and leave(f) after them. When enter returns false, the
// folder's sub-folders are skipped (leave is still called for it).
// Example, roots A (with A1, A2) and B: enter A, enter A1, leave A1, enter A2,
// leave A2, leave A, enter B, leave B.
template <typename Enter, typename Leave>
void WalkFolders(std::vector<TFolder *> first, Enter &&enter, Leave &&leave)
{
    struct Entry { TFolder *folder; bool entered; };
    std::vector<Entry> stack;
    for (auto it = first.rbegin(); it != first.rend(); ++it)
        stack.push_back({*it, false});
    while (!stack.empty()) {
        if (stack.back().entered) {
            TFolder &done = *stack.back().folder;
            stack.pop_back();
            leave(done);
            continue;
        }
        stack.back().entered = true;
        TFolder &current = *stack.back().folder;
        if (!FolderWalkDetail::Descend(enter, current))
            continue;
        for (int i = current.Folders().Count() - 1; i >= 0; --i)
            stack.push_back({current.Folders().At(i), false});
    }
}

// Every folder of a list and below it; the list hands out its folders mutable.
template <typename Enter, typename Leave>
void WalkFolders(const TFolders &roots, Enter &&enter, Leave &&leave)
{
    std::vector<TFolder *> first;
    first.reserve(size_t(roots.Count()));
    for (const auto &folder : roots)
        first.push_back(folder.get());
    WalkFolders(std::move(first), enter, leave);
}

// The folder itself, then every folder below it.
template <typename Enter, typename Leave>
void WalkFolders(const TFolder &top, Enter &&enter, Leave &&leave)
{
    WalkFolders(std::vector<TFolder *>{const_cast<TFolder *>(&top)}, enter, leave);
}

// The folder and below it, or the whole catalogue when folder is none.
template <typename Enter, typename Leave>
void WalkFolders(const TCatalog &catalog, const TFolder *folder, Enter &&enter, Leave &&leave)
{
    if (folder)
        WalkFolders(*folder, enter, leave);
    else
        WalkFolders(catalog.Folders(), enter, leave);
}

// Pre-order visits only.
template <typename Roots, typename Visit>
void ForEachFolder(Roots &&roots, Visit &&visit)
{
    WalkFolders(roots, visit, [](TFolder &) {});
}
