// The folder tree: built from the catalogue node for node, never patched; a
// node finds its folder by its chain of sibling indexes.
#include "catalogue/Catalog.h"
#include "catalogue/CatalogEdits.h"
#include "catalogue/FolderWalk.h"
#include "mainwindow/BookmarkListModel.h"
#include "program/CommandGuard.h"
#include "program/Globals.h"
#include "mainwindow/MainForm.h"

#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QTreeWidget>

#include <vector>

// Removes every node without the recursion of the items' own destructors, in
// time linear in the number of nodes, so a very deep tree is freed safely:
// detach the top level once, then free leaves first (a leaf takes nothing
// with it, and the first child leaves its parent's list at no search cost).
void TfrmMain::ClearFolderTree()
{
    const QList<QTreeWidgetItem *> top = trvFolders->invisibleRootItem()->takeChildren();
    for (QTreeWidgetItem *root : top) {
        std::vector<QTreeWidgetItem *> stack{root};
        while (!stack.empty()) {
            QTreeWidgetItem *item = stack.back();
            if (item->childCount() > 0) {
                stack.push_back(item->child(0));
            } else {
                stack.pop_back();
                delete item;
            }
        }
    }
}

namespace {

// Folders nested deeper than this stay in the catalogue but get no node: the
// view cannot show such a tree usefully, and opening it would cost the toolkit
// a recursion as deep as the tree.
constexpr int kMaxTreeDepth = 1000;

QIcon NodeIcon(const char *themeName, QStyle::StandardPixmap fallback, const QWidget *widget)
{
    QIcon icon = QIcon::fromTheme(QString::fromLatin1(themeName));
    return icon.isNull() ? widget->style()->standardIcon(fallback) : icon;
}

// The folder, and the open folder while the node is selected. Made of pixmaps:
// a theme's icon ignores a picture added to it for the selected state.
QIcon FolderNodeIcon(const QWidget *view)
{
    const QIcon closed = NodeIcon("folder", QStyle::SP_DirClosedIcon, view);
    const QIcon open = NodeIcon("folder-open", QStyle::SP_DirOpenIcon, view);
    const int extent = view->style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, view);
    const QSize size(extent, extent);
    const qreal ratio = view->devicePixelRatioF();
    QIcon icon;
    icon.addPixmap(closed.pixmap(size, ratio), QIcon::Normal);
    icon.addPixmap(open.pixmap(size, ratio), QIcon::Selected);
    return icon;
}

} // namespace

QTreeWidgetItem *TfrmMain::FillFolderTree()
{
    // Detached nodes are filled first and put into the tree at once, which is
    // much faster than inserting one by one; a node opens only inside the tree.
    const QIcon nodeIcon = FolderNodeIcon(trvFolders);
    QList<QTreeWidgetItem *> topNodes;
    std::vector<QTreeWidgetItem *> parents; // the nodes of the folders being walked
    std::vector<QTreeWidgetItem *> expanded;
    QTreeWidgetItem *selected = nullptr; // the last selected folder in pre-order wins
    const auto enter = [&](const TFolder &folder) {
        auto *node = new QTreeWidgetItem(QStringList(folder.Title()));
        node->setIcon(0, nodeIcon);
        if (parents.empty())
            topNodes.append(node);
        else
            parents.back()->addChild(node);
        parents.push_back(node);
        if (folder.Expanded())
            expanded.push_back(node);
        if (folder.Selected())
            selected = node;
        return int(parents.size()) < kMaxTreeDepth;
    };
    WalkFolders(Catalog->Folders(), enter, [&parents](const TFolder &) { parents.pop_back(); });
    trvFolders->addTopLevelItems(topNodes);
    for (QTreeWidgetItem *node : expanded)
        node->setExpanded(true);
    return selected;
}

void TfrmMain::RebuildFolderTree()
{
    m_dropNode = m_nodeAbove = m_nodeBelow = nullptr; // the nodes are about to go
    {
        const QSignalBlocker blocker(trvFolders);
        ClearFolderTree();
        QTreeWidgetItem *selected = FillFolderTree();
        trvFolders->setCurrentItem(selected);
        // Selecting a node opens its ancestors; their folders say so too.
        for (QTreeWidgetItem *n = selected ? selected->parent() : nullptr; n; n = n->parent())
            if (n->isExpanded())
                if (TFolder *folder = GetNodeFolder(n))
                    folder->SetExpanded(true);
    }
    // Always, also when no node ends selected: the current folder and the search
    // cursor must not refer to folders the rebuild has left behind.
    trvFoldersChange();
}

QTreeWidgetItem *TfrmMain::NodeOfFolder(const TFolder *folder) const
{
    std::vector<int> path;
    for (const TFolder *f = folder; f; f = f->Parent())
        path.push_back(f->GetIndex());
    QTreeWidgetItem *node = nullptr;
    for (auto it = path.rbegin(); it != path.rend(); ++it) {
        QTreeWidgetItem *next = node ? node->child(*it) : trvFolders->topLevelItem(*it);
        if (!next)
            return nullptr;
        node = next;
    }
    return GetNodeFolder(node) == folder ? node : nullptr;
}

void TfrmMain::SelectFolderNode(const TFolder *folder)
{
    if (QTreeWidgetItem *node = NodeOfFolder(folder)) {
        trvFolders->setCurrentItem(node);
        trvFolders->setFocus();
    }
}

TFolder *TfrmMain::SelectedNodeFolder() const
{
    const QList<QTreeWidgetItem *> selection = trvFolders->selectedItems();
    return selection.isEmpty() ? nullptr : GetNodeFolder(selection.first());
}

TFolder *TfrmMain::GetNodeFolder(QTreeWidgetItem *node) const
{
    if (!node || !Catalog)
        return nullptr;
    std::vector<int> path;
    for (QTreeWidgetItem *n = node; n; n = n->parent())
        path.push_back(n->parent() ? n->parent()->indexOfChild(n)
                                   : trvFolders->indexOfTopLevelItem(n));
    const TFolders *list = &Catalog->Folders();
    TFolder *folder = nullptr;
    for (auto it = path.rbegin(); it != path.rend(); ++it) {
        if (*it < 0 || *it >= list->Count())
            return nullptr;
        folder = list->At(*it);
        list = &folder->Folders();
    }
    return folder;
}

void TfrmMain::StoreTreeSelection()
{
    ForEachFolder(Catalog->Folders(), [](TFolder &folder) { folder.SetSelected(false); });
    if (CurrentFolder)
        CurrentFolder->SetSelected(true);
}

void TfrmMain::trvFoldersChange()
{
    CurrentFolder = SelectedNodeFolder();
    StoreTreeSelection(); // also after keys, which move the selection after their hook
    ShowFolderDescription();
    FillBookmarkList();
    // The status bar also without a folder: panels 0 and 1 then empty.
    UpdateStatusBar();
    if (CurrentFolder) {
        SearchRec.Folder = CurrentFolder;
        SearchRec.Bookmark = nullptr;
        SearchRec.Field = sfTitle;
        SearchRec.FoundPos = 1;
        SearchRec.NextPos = 1;
    } else {
        ValidateSearchRec(SearchRec, *Catalog);
    }
    UpdateActionStates();
}

void TfrmMain::trvFoldersExpanded(QTreeWidgetItem *node)
{
    if (TFolder *folder = GetNodeFolder(node))
        folder->SetExpanded(true);
}

// Closing a folder that holds the highlighted one highlights the folder closed,
// as the desktop's trees do: a hidden folder must not stay the one that the
// list, the status bar and the commands act on.
void TfrmMain::trvFoldersCollapsed(QTreeWidgetItem *node)
{
    if (TFolder *folder = GetNodeFolder(node))
        folder->SetExpanded(false);
    const QList<QTreeWidgetItem *> selection = trvFolders->selectedItems();
    QTreeWidgetItem *selected = selection.isEmpty() ? nullptr : selection.first();
    for (QTreeWidgetItem *n = selected ? selected->parent() : nullptr; n; n = n->parent())
        if (n == node) {
            trvFolders->setCurrentItem(node);
            return;
        }
}

void TfrmMain::ConnectTreeAndList()
{
    connect(trvFolders, &QTreeWidget::itemSelectionChanged, this,
            [this] { Guarded([this] { trvFoldersChange(); }); });
    connect(trvFolders, &QTreeWidget::itemExpanded, this,
            [this](QTreeWidgetItem *node) { trvFoldersExpanded(node); });
    connect(trvFolders, &QTreeWidget::itemCollapsed, this,
            [this](QTreeWidgetItem *node) { trvFoldersCollapsed(node); });
    connect(trvFolders, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        FoldersPopup->popup(trvFolders->viewport()->mapToGlobal(pos));
    });
    ViewHooks &hooks = trvFolders->Hooks;
    hooks.MousePressed = [this](QMouseEvent *event) {
        bool keep = false;
        Guarded([&] { keep = trvFoldersMouseDown(event); });
        return keep;
    };
    hooks.KeyPressed = [this](QKeyEvent *) { Guarded([this] { StoreTreeSelection(); }); };
    hooks.FocusEntered = [this] { Guarded([this] { ShowFolderDescription(); }); };
    // Every drag of a folder or of rows is taken in, and each move decides: its
    // first position is mostly a refused one, the dragged folder's own node.
    hooks.DragEntered = [this](QObject *source) {
        return source == trvFolders || source == lvBookmarks;
    };
    hooks.DragMoved = [this](QObject *source, const QPoint &pos) {
        return trvFoldersDragOver(source, pos);
    };
    hooks.Dropped = [this](QObject *source, const QPoint &pos) {
        Guarded([&] { trvFoldersDragDrop(source, pos); });
    };
    hooks.DragEnded = [this] { trvFoldersEndDrag(); };
    hooks.Painted = [this](QPainter &painter) { trvFoldersCustomDraw(painter); };
    ConnectBookmarkList();
}

// A press that makes a folder current also highlights its node, so the list
// and every command act on the folder the user sees selected. A press on empty
// space makes none current and leaves the highlight and the list as they are.
bool TfrmMain::trvFoldersMouseDown(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    QTreeWidgetItem *node = trvFolders->itemAt(pos);
    const bool left = event->button() == Qt::LeftButton;
    // Left of a node's caption lie its indentation and its arrow: there the
    // tree selects the node, or only opens or closes it.
    if (node && left && !trvFolders->visualItemRect(node).contains(pos))
        return false;
    CurrentFolder = GetNodeFolder(node);
    StoreTreeSelection();
    UpdateActionStates();
    if (node && !left)
        trvFolders->setCurrentItem(node); // as a left press does, but starts no drag
    return !node || !left;
}

bool TfrmMain::trvFoldersDragOver(QObject *source, const QPoint &pos)
{
    const bool folderDrag = source == trvFolders;
    const bool bookmarkDrag = source == lvBookmarks;
    TFolder *target = GetNodeFolder(trvFolders->itemAt(pos));
    bool accept = (folderDrag || bookmarkDrag) && CurrentFolder && target != CurrentFolder;
    if (accept && folderDrag && target)
        accept = !CurrentFolder->Contains(target);
    if (folderDrag) {
        m_dropNode = trvFolders->itemAt(pos);
        m_nodeAbove = trvFolders->itemAt(pos - QPoint(0, 1));
        m_nodeBelow = trvFolders->itemAt(pos + QPoint(0, 1));
        m_dragY = pos.y();
        trvFolders->viewport()->repaint();
    }
    return accept;
}

void TfrmMain::trvFoldersDragDrop(QObject *source, const QPoint &pos)
{
    if (!trvFoldersDragOver(source, pos)) {
        if (source == trvFolders)
            trvFoldersEndDrag();
        UpdateActionStates();
        return;
    }
    if (source == lvBookmarks) {
        if (TFolder *target = GetNodeFolder(trvFolders->itemAt(pos)))
            DropBookmarks(target);
    } else if (source == trvFolders) {
        if (m_dropNode)
            DropFolder();
        trvFoldersEndDrag();
    }
    UpdateActionStates();
}

// Moves the selected rows' bookmarks to the end of target, in row order.
void TfrmMain::DropBookmarks(TFolder *target)
{
    const int itemIndex = ItemIndex();
    ChangeCatalog(TRefresh::None, [&] {
        TBookmarks &source = CurrentFolder->Bookmarks();
        const QList<int> rows = SelectedRows();
        MoveBookmarksTo(source, TRows(rows.begin(), rows.end()), target->Bookmarks());
        m_listModel->Reset(&source);
        ValidateSearchRec(SearchRec, *Catalog);
        if (source.Count() > 0)
            SelectRows({itemIndex < source.Count() ? itemIndex : source.Count() - 1});
        UpdateStatusBar();
        ShowFocusedDescription();
    });
}

// Moves the current folder before, after or into the folder of the drop node.
void TfrmMain::DropFolder()
{
    TFolder *dropFolder = GetNodeFolder(m_dropNode);
    if (!dropFolder || !CurrentFolder)
        return;
    const TFolderDrop place = m_dropNode == m_nodeAbove && m_dropNode == m_nodeBelow
                                  ? TFolderDrop::Into
                              : m_dropNode != m_nodeBelow ? TFolderDrop::After
                                                          : TFolderDrop::Before;
    ChangeCatalog(TRefresh::Tree, [&] {
        MoveFolder(*CurrentFolder, *dropFolder, place);
        CurrentFolder = nullptr;
    });
}

void TfrmMain::trvFoldersEndDrag()
{
    m_dropNode = m_nodeAbove = m_nodeBelow = nullptr;
    trvFolders->viewport()->repaint();
}

void TfrmMain::trvFoldersCustomDraw(QPainter &painter)
{
    if (m_dropNode == m_nodeAbove && m_dropNode == m_nodeBelow)
        return; // inside a row, or no folder drag
    painter.setPen(Qt::black);
    for (int x = 0; x < width(); x += 2)
        painter.drawPoint(x, m_dragY);
}
