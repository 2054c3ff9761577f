#pragma once
// The owning list under TBookmarks and TFolders: it owns its items (deleting or
// clearing frees them) and offers the index operations the model relies on.
// Back-links are set by the derived lists' Add; nothing here touches them.

#include "platform/VarnokelError.h"

#include <algorithm>
#include <memory>
#include <vector>

template <typename T>
class OwningList
{
public:
    OwningList() = default;
    OwningList(const OwningList &) = delete;
    OwningList &operator=(const OwningList &) = delete;

    int Count() const { return int(m_items.size()); }
    bool IsEmpty() const { return m_items.empty(); }

    // The item at a 0-based index; "List index out of bounds (%d)" outside 0..Count-1.
    T *GetItem(int index) const
    {
        CheckIndex(index);
        return m_items[size_t(index)].get();
    }
    // Unchecked access for loops that already know the bounds.
    T *At(int index) const { return m_items[size_t(index)].get(); }
    T *Last() const { return m_items.empty() ? nullptr : m_items.back().get(); }

    // The index of this very object, -1 when the list does not hold it.
    int IndexOf(const T *item) const
    {
        for (size_t i = 0; i < m_items.size(); ++i)
            if (m_items[i].get() == item)
                return int(i);
        return -1;
    }

    // Frees the item at the index, once the list no longer holds it.
    void Delete(int index) { Extract(index).reset(); }

    void Clear() { m_items.clear(); }

    // Moves the item at curIndex to newIndex; the items between shift by one.
    // Example: [a b c d], Move(3, 1) gives [a d b c]; Move(0, 2) gives [b c a d].
    void Move(int curIndex, int newIndex)
    {
        if (curIndex == newIndex)
            return;
        CheckIndex(curIndex);
        CheckIndex(newIndex);
        auto first = m_items.begin();
        if (curIndex < newIndex)
            std::rotate(first + curIndex, first + curIndex + 1, first + newIndex + 1);
        else
            std::rotate(first + newIndex, first + curIndex, first + curIndex + 1);
    }

    // Takes the item out of the list without freeing it; its back-links stay.
    std::unique_ptr<T> Extract(int index)
    {
        CheckIndex(index);
        std::unique_ptr<T> item = std::move(m_items[size_t(index)]);
        m_items.erase(m_items.begin() + index);
        return item;
    }

    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

protected:
    void Append(std::unique_ptr<T> item) { m_items.push_back(std::move(item)); }
    void InsertAt(int index, std::unique_ptr<T> item)
    {
        if (index < 0 || index > Count())
            RaiseListIndexError(index);
        m_items.insert(m_items.begin() + index, std::move(item));
    }
    void Reserve(size_t n) { m_items.reserve(n); }
    std::vector<std::unique_ptr<T>> &Items() { return m_items; }

private:
    void CheckIndex(int index) const
    {
        if (index < 0 || index >= Count())
            RaiseListIndexError(index);
    }

    std::vector<std::unique_ptr<T>> m_items;
};
