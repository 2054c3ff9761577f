// The bookmark list, the description pane and the status bar, and the View
// commands that sort the list or show and hide the bars.
#include "catalogue/Catalog.h"
#include "mainwindow/BookmarkListModel.h"
#include "mainwindow/CommandGuard.h"
#include "mainwindow/Globals.h"
#include "mainwindow/MainForm.h"
#include "settings/Language.h"
#include "settings/Preferences.h"

#include <QAction>
#include <QDesktopServices>
#include <QRegularExpression>
#include <QUrl>
#include <QHash>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeView>
#include <QTreeWidget>

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
    hooks.DragMoved = [this](QDropEvent *event) { return lvBookmarksDragOver(event->source()); };
    hooks.Dropped = [this](QDropEvent *event) {
        Guarded([&] { lvBookmarksDragDrop(event->position().toPoint()); });
    };
}

bool TfrmMain::ListShowsCurrentFolder() const
{
    return CurrentFolder && m_listModel->Bookmarks() == &CurrentFolder->Bookmarks();
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
    if (Action(QStringLiteral("ToolsGo"))->isEnabled())
        ToolsGoExecute();
}

void TfrmMain::ReanchorSearch()
{
    SearchRec.Folder = CurrentFolder;
    const int i = ItemIndex();
    const TBookmarks &list = CurrentFolder->Bookmarks();
    SearchRec.Bookmark = lvBookmarks->hasFocus() && ListShowsCurrentFolder() && i >= 0
                                 && i < list.Count()
                             ? list.At(i)
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
        && Action(QStringLiteral("ToolsGo"))->isEnabled())
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
// Example, six bookmarks b0..b5 in stored order: rows 2 and 3 dropped on row 0
// give b2 b3 b0 b1 b4 b5; rows 0 and 1 dropped on row 4 give b2 b3 b4 b0 b1 b5.
// Dropped above the first selected row, the block begins at that row; otherwise
// the last selected row at or above it ends there, and selected rows below it
// follow right after, in their order.
void TfrmMain::lvBookmarksDragDrop(const QPoint &pos)
{
    const int t = lvBookmarks->indexAt(pos).row();
    if (!ListShowsCurrentFolder() || t < 0 || ItemIndex() < 0)
        return;
    Catalog->SaveUndoState();
    TBookmarks &list = CurrentFolder->Bookmarks();
    const QList<int> rows = SelectedRows();
    const int s = rows.first();
    const int atOrAbove = int(std::count_if(rows.begin(), rows.end(), [t](int r) { return r <= t; }));
    const int blockStart = t < s ? t : t - (atOrAbove - 1);

    std::vector<std::unique_ptr<TBookmark>> all;
    all.reserve(size_t(list.Count()));
    while (!list.IsEmpty())
        all.push_back(list.Extract(list.Count() - 1));
    std::reverse(all.begin(), all.end());
    std::vector<std::unique_ptr<TBookmark>> block;
    std::vector<std::unique_ptr<TBookmark>> rest;
    std::vector<bool> selected(all.size(), false);
    for (int r : rows)
        selected[size_t(r)] = true;
    for (size_t i = 0; i < all.size(); ++i)
        (selected[i] ? block : rest).push_back(std::move(all[i]));
    QList<const TBookmark *> remembered;
    for (const auto &b : block)
        remembered.append(b.get());
    for (size_t i = 0; i <= rest.size(); ++i) {
        if (int(i) == blockStart)
            for (auto &b : block)
                list.Add(std::move(b));
        if (i < rest.size())
            list.Add(std::move(rest[i]));
    }

    FillBookmarkList();
    QHash<const TBookmark *, int> rowOf;
    for (int i = 0; i < list.Count(); ++i)
        rowOf.insert(list.At(i), i);
    QList<int> reselect;
    for (const TBookmark *b : remembered)
        reselect.append(rowOf.value(b));
    SelectRows(reselect);
    Modified = true;
    UpdateActionStates();
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
    StatusPanel[2]->setText(folders);
    StatusPanel[3]->setText(bookmarks);
    if (!CurrentFolder) {
        StatusPanel[0]->clear();
        StatusPanel[1]->clear();
        return;
    }
    const TBookmarks &list = CurrentFolder->Bookmarks();
    StatusPanel[0]->setText(CurrentFolder->Title());
    const int i = ItemIndex();
    StatusPanel[1]->setText(i >= 0 && i < list.Count() ? list.At(i)->Title() : QString());
    StatusPanel[2]->setText(folders + QString::number(CurrentFolder->Folders().Count()));
    StatusPanel[3]->setText(bookmarks + QString::number(list.Count()));
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
    QAction *reversed = Action(QStringLiteral("ViewReversedOrder"));
    reversed->setChecked(!reversed->isChecked());
    Prefs->Rec().ReversedSort = reversed->isChecked();
    SortAction(column + 1)->setChecked(true);
    SortCommand(column + 1);
}

void TfrmMain::SortCommand(int sortType)
{
    Prefs->Rec().SortType = quint8(sortType);
    FillBookmarkList();
    ApplyLanguage();
}

void TfrmMain::ViewReversedOrderExecute()
{
    // The action has already flipped its own check mark.
    Prefs->Rec().ReversedSort = Action(QStringLiteral("ViewReversedOrder"))->isChecked();
    FillBookmarkList();
    ApplyLanguage();
}

void TfrmMain::ViewToolbarExecute()
{
    MainToolbar->setVisible(Action(QStringLiteral("ViewToolbar"))->isChecked());
}

void TfrmMain::ViewStatusBarExecute()
{
    MainStatusBar->setVisible(Action(QStringLiteral("ViewStatusBar"))->isChecked());
}

void TfrmMain::MainStatusBarResize()
{
    const int width = MainStatusBar->width();
    StatusPanel[1]->setFixedWidth(width > 600 ? width - 400 : 200);
}

// An address with a scheme ("http://", "https://", "ftp://", "file://", ...) opens as
// it is; anything else is taken for a web address without its "http://".
static QString OpenableAddress(const QString &address)
{
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*://"));
    if (scheme.match(address).hasMatch())
        return address;
    return QStringLiteral("http://") + address;
}

void TfrmMain::ToolsGoExecute()
{
    const int i = ItemIndex();
    if (!ListShowsCurrentFolder() || i < 0 || i >= CurrentFolder->Bookmarks().Count())
        return;
    TBookmark *bookmark = CurrentFolder->Bookmarks().At(i);
    QDesktopServices::openUrl(QUrl(OpenableAddress(bookmark->Address()), QUrl::TolerantMode));
    bookmark->SetLastVisit(TodayText());
    FillBookmarkList();
    SelectRows({int(CurrentFolder->Bookmarks().IndexOf(bookmark))});
    Modified = true;
    UpdateActionStates();
}
