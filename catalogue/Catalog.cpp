#include "catalogue/Catalog.h"

void TCatalog::AddCopies(const TCatalog &source)
{
    m_folders.AddCopies(source.m_folders);
}

void TCatalog::SaveUndoState()
{
    while (m_undoList.Count() >= m_undoLimit)
        m_undoList.Delete(0);
    while (m_undoList.Count() > m_undoIndex)
        m_undoList.Delete(m_undoList.Count() - 1);
    auto snapshot = std::make_unique<TFolder>();
    snapshot->Folders().AddCopies(m_folders);
    m_undoList.Add(std::move(snapshot));
    m_undoIndex = m_undoList.Count();
}

void TCatalog::Undo()
{
    if (m_undoIndex == m_undoList.Count()) {
        SaveUndoState();
        --m_undoIndex;
    }
    if (m_undoIndex > 0 && !m_undoList.IsEmpty()) {
        m_folders.Clear();
        m_folders.AddCopies(m_undoList.At(m_undoIndex - 1)->Folders());
        --m_undoIndex;
    }
}

void TCatalog::Redo()
{
    if (m_undoIndex < m_undoLimit && m_undoIndex < m_undoList.Count() - 1) {
        m_folders.Clear();
        ++m_undoIndex;
        m_folders.AddCopies(m_undoList.At(m_undoIndex)->Folders());
    }
}

int TCatalog::GetFolderCount() const
{
    int count = m_folders.Count();
    for (const auto &folder : m_folders)
        count += folder->GetFolderCount();
    return count;
}

int TCatalog::GetBookmarkCount() const
{
    int count = 0;
    for (const auto &folder : m_folders)
        count += folder->GetBookmarkCount();
    return count;
}
