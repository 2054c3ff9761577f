#include "catalogue/Folder.h"

#include <vector>

TFolder::TFolder() : m_folders(this)
{
}

TFolder::~TFolder()
{
    m_bookmarks.Clear();
    // Free the subtree without recursion: detach the children of each folder
    // before it is freed, so no destructor below this one has anything to walk.
    std::vector<std::unique_ptr<TFolder>> pending = std::move(m_folders.Items());
    while (!pending.empty()) {
        std::unique_ptr<TFolder> folder = std::move(pending.back());
        pending.pop_back();
        auto &children = folder->m_folders.Items();
        for (auto &child : children)
            pending.push_back(std::move(child));
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
    // Depth first with an explicit stack of (source, copy) pairs. The counts are
    // taken before anything is appended, so copying a folder into itself is safe.
    struct Job { const TFolder *from; TFolder *to; int bookmarks; int folders; };
    std::vector<Job> stack;
    stack.push_back({&source, this, source.m_bookmarks.Count(), source.m_folders.Count()});
    while (!stack.empty()) {
        const Job job = stack.back();
        stack.pop_back();
        const TBookmarks &from = job.from->m_bookmarks;
        for (int i = 0; i < job.bookmarks; ++i) {
            auto copy = std::make_unique<TBookmark>();
            copy->Assign(*from.At(i));
            job.to->m_bookmarks.Add(std::move(copy));
        }
        const size_t firstJob = stack.size();
        for (int i = 0; i < job.folders; ++i) {
            const TFolder *child = job.from->m_folders.At(i);
            auto copy = std::make_unique<TFolder>();
            copy->AssignProperties(*child);
            TFolder *added = job.to->m_folders.Add(std::move(copy));
            stack.push_back({child, added, child->m_bookmarks.Count(), child->m_folders.Count()});
        }
        std::reverse(stack.begin() + ptrdiff_t(firstJob), stack.end());
    }
}

int TFolder::GetIndex() const
{
    return m_list ? m_list->IndexOf(this) : 0;
}

namespace {

template <typename Visit>
void ForEachBelow(const TFolder &top, Visit visit)
{
    std::vector<const TFolder *> stack{&top};
    while (!stack.empty()) {
        const TFolder *folder = stack.back();
        stack.pop_back();
        visit(*folder);
        for (const auto &child : folder->Folders())
            stack.push_back(child.get());
    }
}

} // namespace

int TFolder::GetFolderCount() const
{
    int count = -1; // the folder itself is not counted
    ForEachBelow(*this, [&count](const TFolder &) { ++count; });
    return count;
}

int TFolder::GetBookmarkCount() const
{
    int count = 0;
    ForEachBelow(*this, [&count](const TFolder &f) { count += f.Bookmarks().Count(); });
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
