// The Edit commands: add, edit, cut, copy, paste, delete, select all, undo and
// redo. Cut, Copy and Paste go through the window's own clipboard (one folder
// copy or a list of bookmark copies); only the description pane's Copy reaches
// the system clipboard.
#include "catalogue/Catalog.h"
#include "catalogue/CatalogEdits.h"
#include "dialogs/BookmarkForm.h"
#include "dialogs/FolderForm.h"
#include "mainwindow/BookmarkListModel.h"
#include "mainwindow/MainForm.h"
#include "platform/Format.h"
#include "platform/ProductName.h"
#include "program/Globals.h"
#include "program/MessageBox.h"
#include "settings/Language.h"
#include "settings/Preferences.h"

#include <QPlainTextEdit>
#include <QTreeWidget>

namespace {

// Opens the item dialog modally unless it is open already; it frees itself.
template <typename Form, typename Item>
void ShowItemForm(Form *&variable, QWidget *owner, Item *item)
{
    if (variable)
        return;
    auto *form = new Form(owner, item);
    variable = form;
    form->exec();
}

TRows ToRows(const QList<int> &rows)
{
    return TRows(rows.begin(), rows.end());
}

// A node's position in the pre-order of all nodes, expanded or not.
int AbsoluteIndex(QTreeWidget *tree, const QTreeWidgetItem *node)
{
    int index = 0;
    for (QTreeWidgetItemIterator it(tree); *it; ++it, ++index)
        if (*it == node)
            return index;
    return -1;
}

// Where the selection goes once `node` is removed, as an absolute index of the
// tree then: its next sibling moves into its place; else its previous sibling,
// else its parent; an only top-level node leaves its own index (none then).
int ReselectionPosition(QTreeWidget *tree, QTreeWidgetItem *node)
{
    QTreeWidgetItem *parent = node->parent();
    const int i = parent ? parent->indexOfChild(node) : tree->indexOfTopLevelItem(node);
    const auto sibling = [&](int k) { return parent ? parent->child(k) : tree->topLevelItem(k); };
    if (sibling(i + 1) || (i == 0 && !parent))
        return AbsoluteIndex(tree, node);
    return AbsoluteIndex(tree, i > 0 ? sibling(i - 1) : parent);
}

// Selecting the node makes its folder current.
void SelectNodeAt(QTreeWidget *tree, int position)
{
    if (position < 0)
        return;
    QTreeWidgetItemIterator it(tree);
    for (int i = 0; *it && i < position; ++i)
        ++it;
    if (*it)
        tree->setCurrentItem(*it);
}

// The delete question with the number of items; true when deleting may go on.
bool ConfirmDelete(QWidget *owner, qsizetype count)
{
    const QString question =
        GetLanguageText(LanguageFile(), QStringLiteral("Messages"), QStringLiteral("DeleteItems"),
                        QStringLiteral("Delete %d selected items?"));
    const QString text = Format(question, {qint64(count)});
    if (!Prefs->Rec().ConfirmDeletingItems)
        return true;
    return ShowMessageBox(owner, {text, QString(kProductName),
                                  QMessageBox::Ok | QMessageBox::Cancel,
                                  QMessageBox::Question})
           == QMessageBox::Ok;
}

// Undo and Redo bring back a whole tree (every folder is new) and take no
// snapshot of their own.
void RestoreSnapshot(TfrmMain &window, void (TCatalog::*step)())
{
    window.ChangeCatalogUnrecorded(IMainWindow::TRefresh::None, [&] {
        (Catalog->*step)();
        window.RebuildFolderTree();
    });
}

} // namespace

bool TfrmMain::ListFocusedWithSelection() const
{
    return lvBookmarks->hasFocus() && ItemIndex() >= 0;
}

// The selected rows' bookmarks leave the current folder in one pass (copied
// into `copies` first when given), and so do their rows; the first selected
// row's index stays selected, or the last row when it is gone.
void TfrmMain::RemoveSelectedRows(TBookmarks *copies)
{
    const int itemIndex = ItemIndex();
    TBookmarks &list = CurrentFolder->Bookmarks();
    const TRows rows = ToRows(SelectedRows());
    if (copies)
        CopyBookmarksTo(list, rows, *copies);
    RemoveBookmarks(list, rows);
    FListModel->Reset(&list);
    ValidateSearchRec(SearchRec, *Catalog);
    if (list.Count() > 0) {
        SelectRows({qMin(itemIndex, list.Count() - 1)});
        lvBookmarks->scrollTo(lvBookmarks->currentIndex());
    } else {
        lvBookmarksChange();
    }
}

void TfrmMain::RemoveCurrentFolder()
{
    FListModel->Reset(nullptr); // the list shows the folder that goes
    RemoveFolder(*CurrentFolder);
    CurrentFolder = nullptr;
}

// Taken from the highlighted node, which is the current folder's.
int TfrmMain::FolderReselectPosition() const
{
    QTreeWidgetItem *node = trvFolders->selectedItems().value(0);
    return node ? ReselectionPosition(trvFolders, node) : -1;
}

void TfrmMain::EditUndoExecute()
{
    if (Catalog->UndoIndex() > 0)
        RestoreSnapshot(*this, &TCatalog::Undo);
}

void TfrmMain::EditRedoExecute()
{
    if (Catalog->UndoIndex() < Catalog->UndoLimit())
        RestoreSnapshot(*this, &TCatalog::Redo);
}

void TfrmMain::EditAddFolderExecute()
{
    ShowItemForm(frmFolder, this, static_cast<TFolder *>(nullptr));
    UpdateActionStates();
}

void TfrmMain::EditAddBookmarkExecute()
{
    ShowItemForm(frmBookmark, this, static_cast<TBookmark *>(nullptr));
    UpdateActionStates();
}

// The list's commands need a current folder: after a press on the tree's empty
// space the list goes on showing rows while there is none.
void TfrmMain::EditEditItemExecute()
{
    if (ListFocusedWithSelection()) {
        if (CurrentFolder)
            ShowItemForm(frmBookmark, this, CurrentFolder->Bookmarks().GetItem(ItemIndex()));
    } else if (TFolder *folder = SelectedNodeFolder()) {
        ShowItemForm(frmFolder, this, folder);
    }
    UpdateActionStates();
}

void TfrmMain::EditCutExecute()
{
    if (ListFocusedWithSelection()) {
        if (CurrentFolder)
            ChangeCatalog(TRefresh::None, [this] {
                FClipboardBookmarks = std::make_unique<TBookmarks>();
                RemoveSelectedRows(FClipboardBookmarks.get());
                FClipboardFolder.reset();
            });
    } else if (trvFolders->hasFocus() && CurrentFolder) {
        const int position = FolderReselectPosition();
        ChangeCatalog(TRefresh::Tree, [this] {
            FClipboardFolder = CopyFolder(*CurrentFolder);
            RemoveCurrentFolder();
            FClipboardBookmarks.reset();
        });
        SelectNodeAt(trvFolders, position);
    }
    UpdateActionStates();
}

void TfrmMain::EditCopyExecute()
{
    if (memDescription->hasFocus()) {
        memDescription->copy();
    } else if (ListFocusedWithSelection()) {
        if (CurrentFolder) {
            FClipboardBookmarks = std::make_unique<TBookmarks>();
            CopyBookmarksTo(CurrentFolder->Bookmarks(), ToRows(SelectedRows()),
                            *FClipboardBookmarks);
            FClipboardFolder.reset();
        }
    } else if (trvFolders->hasFocus() && CurrentFolder) {
        FClipboardFolder = CopyFolder(*CurrentFolder);
        FClipboardBookmarks.reset();
    }
    UpdateActionStates();
}

// A pasted folder becomes the last sibling of the current folder, never its child.
void TfrmMain::EditPasteExecute()
{
    if (FClipboardBookmarks) {
        if (CurrentFolder)
            ChangeCatalog(TRefresh::List, [this] {
                CurrentFolder->Bookmarks().AddCopies(*FClipboardBookmarks);
            });
    } else if (FClipboardFolder) {
        ChangeCatalog(TRefresh::Tree, [this] {
            SiblingList(*Catalog, CurrentFolder).Add(CopyFolder(*FClipboardFolder));
        });
    }
    UpdateActionStates();
}

void TfrmMain::EditSelectAllExecute()
{
    lvBookmarks->selectAll();
}

// With the list focused but no row selected, the current folder goes.
void TfrmMain::EditDeleteExecute()
{
    if (ListFocusedWithSelection()) {
        if (CurrentFolder && ConfirmDelete(this, SelectedRows().size()))
            ChangeCatalog(TRefresh::None, [this] { RemoveSelectedRows(nullptr); });
    } else if (CurrentFolder) {
        const int position = FolderReselectPosition();
        if (ConfirmDelete(this, 1)) { // the highlighted folder
            ChangeCatalog(TRefresh::Tree, [this] { RemoveCurrentFolder(); });
            SelectNodeAt(trvFolders, position);
        }
    }
    UpdateActionStates();
}
