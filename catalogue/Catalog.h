#pragma once
// The open catalogue: the root folder list and a bounded history of whole-tree
// snapshots for undo and redo. It owns both lists and everything in them.
// The catalogue file is read and written by LoadFromFile and SaveToFile.

#include "catalogue/Folder.h"

#include <QString>

class TCatalog
{
public:
    TCatalog() = default;
    TCatalog(const TCatalog &) = delete;
    TCatalog &operator=(const TCatalog &) = delete;

    TFolders &Folders() { return m_folders; }
    const TFolders &Folders() const { return m_folders; }
    const TFolders &UndoList() const { return m_undoList; }
    int UndoLimit() const { return m_undoLimit; }
    int UndoIndex() const { return m_undoIndex; }

    // Appends deep copies of source's root folders; the history is not copied.
    void AddCopies(const TCatalog &source);

    // The undo positions, for three changes (S0 before the first, Sn after the n-th):
    // snapshots S0 S1 S2, UndoIndex 3, S3 shown. Undo pushes S3 and shows S2 (index 2);
    // Undo shows S1 (1); Redo shows S2 (2). A new change drops S2 and S3, pushes the
    // tree shown (S2) and leaves S0 S1 S2 with UndoIndex 3.
    void SaveUndoState();
    void Undo();
    void Redo();
    int GetUndoCount() const { return m_undoList.Count(); }

    // Every folder of the catalogue / every bookmark of the catalogue.
    int GetFolderCount() const;
    int GetBookmarkCount() const;

    // Appends the folders of the catalogue file; nothing when the file is missing.
    // A failure leaves what was read before it in the tree.
    void LoadFromFile(const QString &fileName);
    // Replaces the file with the whole tree, atomically.
    void SaveToFile(const QString &fileName) const;

private:
    TFolders m_folders;
    TFolders m_undoList;
    const int m_undoLimit = 10;
    int m_undoIndex = 0;
};
