#pragma once
// A folder: title, description, the tree's expanded and selected flags, its
// bookmarks and its sub-folders. It owns both lists; Parent and List are back-links.
// Copies, counts and freeing walk the subtree with an explicit stack, so a tree
// nested 100,000 levels deep is handled without exhausting the call stack.

#include "catalogue/Bookmarks.h"
#include "catalogue/OwningList.h"

#include <QString>

class TFolder;

// An owning list of folders; Owner is the folder whose sub-folders it holds
// (none for the catalogue's root list and the undo list).
class TFolders : public OwningList<TFolder>
{
public:
    explicit TFolders(TFolder *owner = nullptr) : m_owner(owner) {}

    TFolder *Owner() const { return m_owner; }

    // Parent := Owner when there is one (else it keeps its value), List := this,
    // then appends; returns the folder.
    TFolder *Add(std::unique_ptr<TFolder> folder);
    // Inserts at index (0..Count) and sets the back-links as Add does.
    TFolder *Insert(int index, std::unique_ptr<TFolder> folder);
    // Appends a deep copy of each folder of source; the count is taken once.
    void AddCopies(const TFolders &source);
    // First folder whose title equals text with ASCII-only case folding; -1 if none.
    int IndexOfTitle(const QString &text) const;

private:
    friend class TFolder;
    TFolder *m_owner;
};

class TFolder
{
public:
    TFolder();
    ~TFolder();
    TFolder(const TFolder &) = delete;
    TFolder &operator=(const TFolder &) = delete;

    TBookmarks &Bookmarks() { return m_bookmarks; }
    const TBookmarks &Bookmarks() const { return m_bookmarks; }
    TFolders &Folders() { return m_folders; }
    const TFolders &Folders() const { return m_folders; }

    const QString &Title() const { return m_title; }
    const QString &Description() const { return m_description; }
    bool Expanded() const { return m_expanded; }
    bool Selected() const { return m_selected; }
    TFolder *Parent() const { return m_parent; }
    TFolders *List() const { return m_list; }

    void SetTitle(const QString &value) { m_title = value; }
    void SetDescription(const QString &value) { m_description = value; }
    void SetExpanded(bool value) { m_expanded = value; }
    void SetSelected(bool value) { m_selected = value; }
    void SetParent(TFolder *value) { m_parent = value; }

    // Title, Description, Expanded, Selected, then a deep copy of the contents.
    void Assign(const TFolder &source);
    // Appends copies of source's bookmarks, then deep copies of its sub-folders.
    void AssignContents(const TFolder &source);
    // Title, Description, Selected and Expanded only.
    void AssignProperties(const TFolder &source);

    // Position in List; 0 when there is no list.
    int GetIndex() const;
    // Folders below this one (itself not counted).
    int GetFolderCount() const;
    // Bookmarks in this folder and below it.
    int GetBookmarkCount() const;

    // True when folder is this one or lies below it.
    bool Contains(const TFolder *folder) const;

private:
    friend class TFolders;
    TBookmarks m_bookmarks;
    TFolders m_folders;
    QString m_title;
    QString m_description;
    bool m_expanded = false;
    bool m_selected = false;
    TFolder *m_parent = nullptr;
    TFolders *m_list = nullptr;
};
