#pragma once
// A walk over a folder tree in pre-order with an explicit stack, so that a tree
// nested 100,000 levels deep is written without exhausting the call stack.

#include "catalogue/Catalog.h"

#include <vector>

// Calls enter(f) for folder (every root folder when folder is none) and each
// folder below it, before its sub-folders, and leave(f) after them.
template <typename Enter, typename Leave>
void WalkFolders(const TCatalog &catalog, const TFolder *folder, Enter enter, Leave leave)
{
    struct Entry { const TFolder *folder; bool entered; };
    std::vector<Entry> stack;
    if (folder) {
        stack.push_back({folder, false});
    } else {
        const TFolders &roots = catalog.Folders();
        for (int i = roots.Count() - 1; i >= 0; --i)
            stack.push_back({roots.At(i), false});
    }
    while (!stack.empty()) {
        if (stack.back().entered) {
            leave(*stack.back().folder);
            stack.pop_back();
            continue;
        }
        stack.back().entered = true;
        const TFolder &current = *stack.back().folder;
        enter(current);
        for (int i = current.Folders().Count() - 1; i >= 0; --i)
            stack.push_back({current.Folders().At(i), false});
    }
}
