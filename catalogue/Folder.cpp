#include "catalogue/Folder.h"
#include "catalogue/FolderWalk.h"

#include <algorithm>
#include <vector>

TFolder::TFolder() : m_folders(this)
{
}

TFolder::~TFolder()
{
    m_bookmarks.PrefetchTexts();
    m_bookmarks.Clear();
    // Free the subtree without recursion: detach the children of each folder
    // before it is freed, so no destructor below this one has anything to walk.
    // Pre-order, the order in which loading and copying allocate, is kinder to
    // the caches than any other.
    std::vector<std::unique_ptr<TFolder>> pending = std::move(m_folders.Items());
    std::reverse(pending.begin(), pending.end());
    while (!pending.empty()) {
        std::unique_ptr<TFolder> folder = std::move(pending.back());
        pending.pop_back();
        auto &children = folder->m_folders.Items();
        for (auto child = children.rbegin(); child != children.rend(); ++child)
            pending.push_back(std::move(*child));
        children.clear();
    }
}

void TFolder::Assign(const TFolder &source)
{
    AssignProperties(source);
    AssignContents(source);
}

void TFolder::AssignProperties(const TFolder &source)
{
    m_title = source.m_title;
    m_description = source.m_description;
    m_expanded = source.m_expanded;
    m_selected = source.m_selected;
}

void TFolder::AssignContents(const TFolder &source)
{
    // The recursive definition with an explicit stack: bookmarks first, then each
    // sub-folder in order, each copied completely before it is added to its new
    // parent. A folder's sub-folder count is taken when its copy starts, so copying
    // a folder into itself, or into one of its own sub-folders, ends.
    struct Frame
    {
        const TFolder *from;
        TFolder *to;
        std::unique_ptr<TFolder> made; // the copy being filled; none for this folder
        int folders;
        int next;
    };
    std::vector<Frame> stack;
    const auto start = [&stack](const TFolder *from, TFolder *to, std::unique_ptr<TFolder> made) {
        to->m_bookmarks.AddCopies(from->m_bookmarks);
        stack.push_back({from, to, std::move(made), from->m_folders.Count(), 0});
    };
    start(&source, this, nullptr);
    while (!stack.empty()) {
        Frame &top = stack.back();
        if (top.next < top.folders) {
            const TFolder *child = top.from->m_folders.At(top.next++);
            auto copy = std::make_unique<TFolder>();
            copy->AssignProperties(*child);
            TFolder *to = copy.get();
            start(child, to, std::move(copy));
            continue;
        }
        std::unique_ptr<TFolder> done = std::move(top.made);
        stack.pop_back();
        if (done)
            stack.back().to->m_folders.Add(std::move(done));
    }
}

int TFolder::GetIndex() const
{
    return m_list ? m_list->IndexOf(this) : 0;
}

int TFolder::GetFolderCount() const
{
    int count = -1; // the folder itself is not counted
    ForEachFolder(*this, [&count](const TFolder &) { ++count; });
    return count;
}

int TFolder::GetBookmarkCount() const
{
    int count = 0;
    ForEachFolder(*this, [&count](const TFolder &f) { count += f.Bookmarks().Count(); });
    return count;
}

bool TFolder::Contains(const TFolder *folder) const
{
    for (const TFolder *f = folder; f; f = f->m_parent)
        if (f == this)
            return true;
    return false;
}

TFolder *TFolders::Add(std::unique_ptr<TFolder> folder)
{
    if (m_owner)
        folder->SetParent(m_owner);
    folder->m_list = this;
    TFolder *raw = folder.get();
    Append(std::move(folder));
    return raw;
}

TFolder *TFolders::Insert(int index, std::unique_ptr<TFolder> folder)
{
    if (m_owner)
        folder->SetParent(m_owner);
    folder->m_list = this;
    TFolder *raw = folder.get();
    InsertAt(index, std::move(folder));
    return raw;
}

void TFolders::AddCopies(const TFolders &source)
{
    const int count = source.Count();
    if (IsEmpty())
        Reserve(size_t(count));
    for (int i = 0; i < count; ++i) {
        auto copy = std::make_unique<TFolder>();
        copy->Assign(*source.At(i));
        Add(std::move(copy));
    }
}

int TFolders::IndexOfTitle(const QString &text) const
{
    for (int i = 0; i < Count(); ++i)
        if (SameTitle(At(i)->Title(), text))
            return i;
    return -1;
}
