#pragma once
// The main window: owner of the catalogue and the settings, with the folder
// tree, the bookmark list, the description pane, the actions, the tray icon and
// the two timers. Dialogs reach back into it through its public operations.

#include "mainwindow/HookedViews.h"

#include <QMainWindow>
#include <QPointer>

#include <memory>

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QSplitter;
class QSystemTrayIcon;
class QTimer;
class QToolBar;
class QTreeView;
class QTreeWidget;
class QTreeWidgetItem;
class QWindow;
class TBookmarkListModel;
class TBookmarks;
class TCatalog;
class TFolder;
class TPreferences;
class TPreferencesRec;

class TfrmMain : public QMainWindow
{
    Q_OBJECT

public:
    // Runs the creation sequence: settings, catalogue, layout, language.
    explicit TfrmMain(QWidget *parent = nullptr);
    ~TfrmMain() override;

    QAction *Action(const QString &name) const;
    const QList<QAction *> &Actions() const { return m_actions; }
    // True while no other window of the program is the active one.
    bool IsActiveForm() const;

    void UpdateActionStates();
    void ApplyLanguage();

    // Folder tree.
    void RebuildFolderTree();
    TFolder *GetNodeFolder(QTreeWidgetItem *node) const;
    void StoreTreeSelection();

    // Bookmark list, description pane, status bar.
    void FillBookmarkList();
    void UpdateStatusBar();
    void ShowFolderDescription();
    void ShowBookmarkDescription();
    int ItemIndex() const; // the first selected row, -1 when none
    QList<int> SelectedRows() const; // ascending

    // Settings put into effect (creation and the preferences dialog).
    void ApplyTrayIcon();
    void ApplyAutoSaveTimer();

    // Commands.
    void FileSaveExecute();
    void FileExitExecute();
    void ToolsGoExecute();
    // A second start asked this instance to show itself.
    void WMUser();

    // Drags over the tree and the list, from `source` (the tree, the list or
    // anything else) at a point of the view's viewport.
    bool trvFoldersDragOver(QObject *source, const QPoint &pos);
    void trvFoldersDragDrop(QObject *source, const QPoint &pos);
    void trvFoldersEndDrag();
    bool lvBookmarksDragOver(QObject *source) const;
    void lvBookmarksDragDrop(const QPoint &pos);

    // Timer and tray events (public so that tests can drive them).
    void AutoSaveTimerTimer();
    void MinimizeTimerTimer();
    void ApplicationEventsMinimize();
    void TrayIconClick();
    void TrayPopupPopup();
    void TrayShowMainWindowExecute();

    // Components, named as the window's parts.
    TFolderTreeWidget *trvFolders = nullptr;
    TBookmarkListView *lvBookmarks = nullptr;
    QPlainTextEdit *memDescription = nullptr;
    QToolBar *MainToolbar = nullptr;
    QStatusBar *MainStatusBar = nullptr;
    QSystemTrayIcon *TrayIcon = nullptr;
    QMenu *TrayPopup = nullptr;
    QMenu *FoldersPopup = nullptr;
    QMenu *BookmarksPopup = nullptr;
    QTimer *AutoSaveTimer = nullptr;
    QTimer *MinimizeTimer = nullptr;
    QLabel *StatusPanel[5] = {};
    QString ColumnBaseCaption[4] = {QStringLiteral("Title"), QStringLiteral("Address"),
                                    QStringLiteral("Last Visit"), QStringLiteral("Add Date")};

    // The internal clipboard: one folder copy or a list of bookmark copies.
    std::unique_ptr<TFolder> FClipboardFolder;
    std::unique_ptr<TBookmarks> FClipboardBookmarks;

    // Whether minimising may hide the window: only with a tray to bring it back.
    static void SetSystemTrayAvailable(bool available); // tests

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Creation (MainForm.cpp).
    void BuildLayout();
    void SetTreeWidth(int width);
    void SetDescriptionHeight(int height);
    void FormCreate();
    void ApplyStoredLayout();
    void ApplyStoredGeometry();
    void FormActivate();
    bool FormClose();
    void StoreLayout(TPreferencesRec &rec) const;
    void OnFormActivated(QWidget *form);
    void SaveCatalog();

    // Actions, menus, tool bar (MainActions.cpp).
    void CreateActions();
    void BuildMenus();
    QAction *SortAction(int sortType) const;

    void ConnectTimersAndTray();
    void ShowAndRestore();

    // Folder tree handlers (FolderTree.cpp).
    void ConnectTreeAndList();
    void ClearFolderTree();
    void FillFolderTree(const TFolder *folder, QTreeWidgetItem *parentNode);
    void trvFoldersChange();
    void trvFoldersExpanded(QTreeWidgetItem *node);
    void trvFoldersCollapsed(QTreeWidgetItem *node);
    bool trvFoldersMouseDown(QMouseEvent *event);
    void DropBookmarks(TFolder *target);
    void DropFolder();
    void trvFoldersCustomDraw(QPainter &painter);

    // Bookmark list handlers and View commands (BookmarkList.cpp).
    void ConnectBookmarkList();
    void lvBookmarksChange();
    void lvBookmarksColumnClick(int column);
    void lvBookmarksClick();
    void lvBookmarksDblClick();
    void lvBookmarksKeyDown(QKeyEvent *event);
    void lvBookmarksMouseDown();
    bool ListShowsCurrentFolder() const;
    void SelectRows(const QList<int> &rows);
    void SortCommand(int sortType);
    void ViewReversedOrderExecute();
    void ViewToolbarExecute();
    void ViewStatusBarExecute();
    void MainStatusBarResize();
    void ReanchorSearch();

    std::unique_ptr<TPreferences> m_prefs;
    std::unique_ptr<TCatalog> m_catalog;
    TBookmarkListModel *m_listModel = nullptr;
    QSplitter *m_mainSplitter = nullptr;
    QSplitter *m_rightSplitter = nullptr;
    QActionGroup *m_sortGroup = nullptr;
    QList<QAction *> m_actions;
    QMenu *m_menus[5] = {};
    QMenu *m_importMenu = nullptr;
    QMenu *m_exportMenu = nullptr;
    // The folder drag over the tree: the row edge where the insertion line shows.
    int FDragY = 0;
    QTreeWidgetItem *FDropNode = nullptr;
    QTreeWidgetItem *FNodeAbove = nullptr;
    QTreeWidgetItem *FNodeBelow = nullptr;
    QPointer<QWidget> m_activeForm; // the program's active window, kept while away
    bool m_closed = false;
    bool m_shown = false;
};
