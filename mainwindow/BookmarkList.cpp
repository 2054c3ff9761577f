// The bookmark list's own handlers (selection, clicks, keys, drops), its filling,
// the description pane and the status bar's texts.
#include "catalogue/Catalog.h"
#include "catalogue/CatalogEdits.h"
#include "mainwindow/BookmarkListModel.h"
#include "program/CommandGuard.h"
#include "program/Globals.h"
#include "mainwindow/MainForm.h"
#include "mainwindow/StatusPanel.h"
#include "settings/Language.h"
#include "settings/Preferences.h"

#include <QAction>
#include <QHash>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QHeaderView>

namespace {

QString MainText(const char *key, const char *defaultText)
{
    return GetLanguageText(LanguageFile(), QStringLiteral("frmMain"), QString::fromLatin1(key),
                           QString::fromLatin1(defaultText));
}

} // namespace

void TfrmMain::ConnectBookmarkList()
{
    auto changed = [this] { Guarded([this] { lvBookmarksChange(); }); };
    connect(lvBookmarks->selectionModel(), &QItemSelectionModel::selectionChanged, this, changed);
    connect(lvBookmarks->header(), &QHeaderView::sectionClicked, this,
            [this](int column) { Guarded([this, column] { lvBookmarksColumnClick(column); }); });
    connect(lvBookmarks, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        Guarded([this] { lvBookmarksClick(); });
        BookmarksPopup->popup(lvBookmarks->viewport()->mapToGlobal(pos));
    });
    ViewHooks &hooks = lvBookmarks->Hooks;
    hooks.MousePressHandled = [this](QMouseEvent *) {
        Guarded([this] { lvBookmarksMouseDown(); });
    };
    hooks.MouseReleased = [this](QMouseEvent *event) {
        if (event->button() == Qt::LeftButton)
            Guarded([this] { lvBookmarksClick(); });
    };
    hooks.DoubleClicked = [this](QMouseEvent *) { Guarded([this] { lvBookmarksDblClick(); }); };
    hooks.KeyPressed = [this](QKeyEvent *event) {
        Guarded([this, event] { lvBookmarksKeyDown(event); });
    };
    hooks.FocusEntered = [this] { Guarded([this] { ShowBookmarkDescription(); }); };
    hooks.DragMoved = [this](QObject *source, const QPoint &) {
        return lvBookmarksDragOver(source);
    };
    hooks.Dropped = [this](QObject *, const QPoint &pos) {
        Guarded([&] { lvBookmarksDragDrop(pos); });
    };
}

// Selects exactly these rows and gives the focus mark to the first of them.
void TfrmMain::SelectRows(const QList<int> &rows)
{
    QItemSelectionModel *selection = lvBookmarks->selectionModel();
    QItemSelection wanted;
    for (int row : rows)
        wanted.select(m_listModel->index(row, 0), m_listModel->index(row, 3));
    selection->select(wanted, QItemSelectionModel::ClearAndSelect);
    const int first = ItemIndex();
    if (first >= 0)
        selection->setCurrentIndex(m_listModel->index(first, 0), QItemSelectionModel::NoUpdate);
}

void TfrmMain::lvBookmarksClick()
{
    if (!CurrentFolder || m_listModel->rowCount() == 0)
        return;
    if (ItemIndex() < 0)
        SelectRows({m_listModel->rowCount() - 1});
    else
        lvBookmarks->selectionModel()->setCurrentIndex(m_listModel->index(ItemIndex(), 0),
                                                       QItemSelectionModel::NoUpdate);
}

void TfrmMain::lvBookmarksDblClick()
{
    lvBookmarksClick();
    if (Action(ActionId::ToolsGo)->isEnabled())
        ToolsGoExecute();
}

// The list counts as focused when it is the window's focused control: a press
// that brings the window to the front reaches the list before the window is
// active, when hasFocus() is still false, and the row pressed must count.
void TfrmMain::ReanchorSearch()
{
    SearchRec.Folder = CurrentFolder;
    const int i = ItemIndex();
    const TBookmarks &list = CurrentFolder->Bookmarks();
    SearchRec.Bookmark = focusWidget() == lvBookmarks && i >= 0 && i < list.Count() ? list.At(i)
                                                                                    : nullptr;
    SearchRec.Field = sfTitle;
    SearchRec.FoundPos = 1;
    SearchRec.NextPos = 1;
}

void TfrmMain::lvBookmarksKeyDown(QKeyEvent *event)
{
    if (CurrentFolder) {
        UpdateStatusBar();
        ReanchorSearch();
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        && Action(ActionId::ToolsGo)->isEnabled())
        ToolsGoExecute();
}

void TfrmMain::lvBookmarksMouseDown()
{
    if (CurrentFolder)
        ReanchorSearch();
    lvBookmarksClick();
}

bool TfrmMain::lvBookmarksDragOver(QObject *source) const
{
    return source == lvBookmarks;
}

// Moves the selected rows' bookmarks as one block to the row dropped on.
void TfrmMain::lvBookmarksDragDrop(const QPoint &pos)
{
    const int to = lvBookmarks->indexAt(pos).row();
    if (!CurrentFolder || to < 0 || ItemIndex() < 0)
        return;
    ChangeCatalog(TRefresh::None, [&] {
        TBookmarks &list = CurrentFolder->Bookmarks();
        const QList<int> rows = SelectedRows();
        const TRows moved = MoveBookmarksToRow(list, TRows(rows.begin(), rows.end()), to);
        std::vector<const TBookmark *> block;
        for (int row : moved)
            block.push_back(list.At(row));
        FillBookmarkList(); // the sort may place them elsewhere
        QHash<const TBookmark *, int> rowOf;
        for (int i = 0; i < list.Count(); ++i)
            rowOf.insert(list.At(i), i);
        QList<int> reselect;
        for (const TBookmark *b : block)
            reselect.append(rowOf.value(b));
        SelectRows(reselect);
    });
}

void TfrmMain::SelectBookmarkRow(const TBookmark *bookmark)
{
    const int row = CurrentFolder ? CurrentFolder->Bookmarks().IndexOf(bookmark) : -1;
    lvBookmarks->clearSelection();
    if (row >= 0)
        SelectRows({row});
    lvBookmarks->setFocus();
}

QList<int> TfrmMain::SelectedRows() const
{
    QList<int> rows;
    for (const QItemSelectionRange &range : lvBookmarks->selectionModel()->selection())
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.append(row);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

int TfrmMain::ItemIndex() const
{
    int first = -1;
    for (const QItemSelectionRange &range : lvBookmarks->selectionModel()->selection())
        if (first < 0 || range.top() < first)
            first = range.top();
    return first;
}

void TfrmMain::FillBookmarkList()
{
    m_listModel->Reset(nullptr);
    if (!CurrentFolder)
        return;
    CurrentFolder->Bookmarks().Sort(TSortType(Prefs->Rec().SortType), Prefs->Rec().ReversedSort);
    m_listModel->Reset(&CurrentFolder->Bookmarks());
    if (m_listModel->rowCount() > 0) {
        const QModelIndex first = m_listModel->index(0, 0);
        lvBookmarks->selectionModel()->setCurrentIndex(
            first, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
}

void TfrmMain::UpdateStatusBar()
{
    const QString folders = MainText("MainStatusBar2", "Folders:");
    const QString bookmarks = MainText("MainStatusBar3", "Bookmarks:");
    StatusPanel[spFolderCount]->setText(folders);
    StatusPanel[spBookmarkCount]->setText(bookmarks);
    if (!CurrentFolder) {
        StatusPanel[spFolderTitle]->clear();
        StatusPanel[spBookmarkTitle]->clear();
        return;
    }
    const TBookmarks &list = CurrentFolder->Bookmarks();
    StatusPanel[spFolderTitle]->setText(CurrentFolder->Title());
    const int i = ItemIndex();
    const QString bookmarkTitle = i >= 0 && i < list.Count() ? list.At(i)->Title() : QString();
    StatusPanel[spBookmarkTitle]->setText(bookmarkTitle);
    const int folderCount = CurrentFolder->Folders().Count();
    StatusPanel[spFolderCount]->setText(folders + QString::number(folderCount));
    StatusPanel[spBookmarkCount]->setText(bookmarks + QString::number(list.Count()));
}

void TfrmMain::ShowFolderDescription()
{
    const QString label = MainText("memDescription", "Description:");
    memDescription->setPlainText(CurrentFolder ? label + QLatin1Char(' ') +
                                                     CurrentFolder->Description()
                                               : label);
}

void TfrmMain::ShowBookmarkDescription()
{
    const QString label = MainText("memDescription", "Description:");
    const int i = ItemIndex();
    if (CurrentFolder && i >= 0 && i < CurrentFolder->Bookmarks().Count())
        memDescription->setPlainText(label + QLatin1Char(' ') +
                                     CurrentFolder->Bookmarks().At(i)->Description());
    else
        memDescription->setPlainText(label);
}

void TfrmMain::ShowFocusedDescription()
{
    if (trvFolders->hasFocus())
        ShowFolderDescription();
    else
        ShowBookmarkDescription();
}

void TfrmMain::lvBookmarksChange()
{
    if (CurrentFolder)
        UpdateStatusBar();
    if (!trvFolders->hasFocus())
        ShowBookmarkDescription();
    UpdateActionStates();
}

void TfrmMain::lvBookmarksColumnClick(int column)
{
    QAction *reversed = Action(ActionId::ViewReversedOrder);
    reversed->setChecked(!reversed->isChecked());
    Prefs->Rec().ReversedSort = reversed->isChecked();
    const auto sortType = TSortType(stTitle + column); // columns 0..3: title .. add date
    SortAction(sortType)->setChecked(true);
    SortCommand(sortType);
}

