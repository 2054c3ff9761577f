#pragma once
// The main window: owner of the catalogue and the settings, with the folder
// tree, the bookmark list, the description pane, the actions, the tray icon and
// the two timers. Dialogs reach back into it through IMainWindow only.

#include "catalogue/Bookmarks.h"
#include "mainwindow/ActionId.h"
#include "mainwindow/BookmarkListView.h"
#include "mainwindow/StatusPanel.h"
#include "program/MainWindowLink.h"

#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <initializer_list>
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
class TStatusPanelRow;

class TfrmMain : public QMainWindow, public IMainWindow
{
    Q_OBJECT

public:
    // Runs the creation sequence: settings, catalogue, layout, language.
    explicit TfrmMain(QWidget *parent = nullptr);
    ~TfrmMain() override;

    QAction *Action(ActionId id) const { return m_actions[int(id)]; }
    QMenu *Menu(MenuId id) const { return m_menus[int(id)]; }
    const QList<QAction *> &Actions() const { return m_actions; }
    // True while no other window of the program is the active one.
    bool IsActiveForm() const;

    // What the dialogs may ask of the window.
    QWidget *Window() override { return this; }
    void ChangeCatalog(TRefresh refresh, const std::function<void()> &change) override;
    void ChangeCatalogUnrecorded(TRefresh refresh, const std::function<void()> &change) override;
    void UpdateActionStates() override;
    void ApplyLanguage() override;
    void RebuildFolderTree() override;
    void SelectFolderNode(const TFolder *folder) override;
    TFolder *SelectedNodeFolder() const override;
    void FillBookmarkList() override;
    void SelectBookmarkRow(const TBookmark *bookmark) override;
    void ShowNextMatch() override;
    void ApplyTrayIcon() override;
    void ApplyAutoSaveTimer() override;

    // Folder tree.
    TFolder *GetNodeFolder(QTreeWidgetItem *node) const;
    void StoreTreeSelection();

    // Bookmark list, description pane, status bar.
    void UpdateStatusBar();
    void ShowFolderDescription();
    void ShowBookmarkDescription();
    void ShowFocusedDescription(); // the folder's while the tree has the focus
    int ItemIndex() const; // the first selected row, -1 when none
    QList<int> SelectedRows() const; // ascending

    // The commands of the actions, by menu.
    void FileSaveExecute();
    void FileHtmlGeneratorExecute();
    void FilePrintExecute();
    void FileExitExecute();
    // The imports and exports, in the order of their actions (MainExchange.cpp).
    enum class TExchange {
        ImportVarnokel1x, ImportIE, ImportFirefox, ImportOpera,
        ExportIE, ExportFirefox, ExportOpera, Count
    };
    void ExchangeExecute(TExchange exchange);
    void ImportVarnokel1xExecute() { ExchangeExecute(TExchange::ImportVarnokel1x); }
    void ImportIEExecute() { ExchangeExecute(TExchange::ImportIE); }
    void ImportFirefoxExecute() { ExchangeExecute(TExchange::ImportFirefox); }
    void ImportOperaExecute() { ExchangeExecute(TExchange::ImportOpera); }
    void ExportIEExecute() { ExchangeExecute(TExchange::ExportIE); }
    void ExportFirefoxExecute() { ExchangeExecute(TExchange::ExportFirefox); }
    void ExportOperaExecute() { ExchangeExecute(TExchange::ExportOpera); }
    void EditUndoExecute();
    void EditRedoExecute();
    void EditAddFolderExecute();
    void EditAddBookmarkExecute();
    void EditEditItemExecute();
    void EditCutExecute();
    void EditCopyExecute();
    void EditPasteExecute();
    void EditSelectAllExecute();
    void EditDeleteExecute();
    void EditFindExecute();
    void EditFindNextExecute();
    void ViewToolbarExecute();
    void ViewStatusBarExecute();
    void ViewSortByTitleExecute() { SortCommand(stTitle); }
    void ViewSortByAddressExecute() { SortCommand(stAddress); }
    void ViewSortByLastVisitExecute() { SortCommand(stLastVisit); }
    void ViewSortByAddDateExecute() { SortCommand(stAddDate); }
    void ViewUnsortedExecute() { SortCommand(stUnsorted); }
    void ViewReversedOrderExecute();
    void ToolsGoExecute();
    void ToolsStatisticsExecute();
    void ToolsPreferencesExecute();
    void HelpHelpExecute();
    void HelpHomePageExecute();
    void HelpCheckForUpdatesExecute();
    void HelpFAQExecute();
    void HelpFeedbackExecute();
    void HelpAboutExecute();
    void TrayShowMainWindowExecute();
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
    TStatusPanel *StatusPanel[spPanelCount] = {};
    // The columns' captions in the language in effect, without the sort mark.
    QString ColumnBaseCaption[4] = {QStringLiteral("Title"), QStringLiteral("Address"),
                                    QStringLiteral("Last Visit"), QStringLiteral("Add Date")};

    // The internal clipboard: one folder copy or a list of bookmark copies.
    std::unique_ptr<TFolder> FClipboardFolder;
    std::unique_ptr<TBookmarks> FClipboardBookmarks;

    // Whether minimising may hide the window: only with a tray to bring it back.
    static void SetSystemTrayAvailable(bool available); // tests

    // Find Next's display of a match in the tree and the list (MainFind.cpp).
    void SelectMatchNode();
    void SelectMatchRow();

    // The Edit commands' parts (MainEdit.cpp).
    bool ListFocusedWithSelection() const;
    void RemoveSelectedRows(TBookmarks *copies);
    void RemoveCurrentFolder();
    int FolderReselectPosition() const;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Creation (MainForm.cpp).
    void BuildLayout();
    void BuildViews();
    void BuildBookmarkList();
    void BuildSplitters();
    void BuildBars();
    void BuildPopupsTrayAndTimers();
    void SetTreeWidth(int width);
    void SetDescriptionHeight(int height);
    void FormCreate();
    void ApplyStoredLayout();
    void ApplyStoredGeometry();
    void PlaceWithinScreen(QPoint framePos, QSize clientSize);
    void FormActivate();
    bool FormClose();
    bool SaveChangesBeforeClose();
    void StoreLayout(TPreferencesRec &rec) const;
    void OnFormActivated(QWidget *form);
    void SaveCatalog();

    // Actions, menus, tool bar (MainActions.cpp).
    void CreateActions();
    void SetUpCheckedActions(); // the sort group, the View toggles
    // The actions of the ids; ActionId::Count stands for a separator.
    QList<QAction *> Actions(std::initializer_list<ActionId> ids) const;
    void BuildMenus();
    void FillMenus();
    void BuildToolbarAndPopups();
    // Every menu shows fresh states, however it opens (mouse, Alt+letter, keys).
    void RefreshStatesOnMenus();
    // The description pane has the focus, or had it when a menu took it.
    bool DescriptionFocused() const;
    QAction *SortAction(TSortType sortType) const;

    void ConnectTimersAndTray();
    void ShowAndRestore();

    // Folder tree handlers (FolderTree.cpp).
    void ConnectTreeAndList();
    void ClearFolderTree();
    // Builds every node from the catalogue; returns the node to select, if any.
    QTreeWidgetItem *FillFolderTree();
    void trvFoldersChange();
    void trvFoldersExpanded(QTreeWidgetItem *node);
    void trvFoldersCollapsed(QTreeWidgetItem *node);
    bool trvFoldersMouseDown(QMouseEvent *event);
    void DropBookmarks(TFolder *target);
    void DropFolder();
    // The node of a folder, or none (a folder deeper than the tree shows).
    QTreeWidgetItem *NodeOfFolder(const TFolder *folder) const;
    void trvFoldersCustomDraw(QPainter &painter);

    // Bookmark list handlers and View commands (BookmarkList.cpp).
    void ConnectBookmarkList();
    void lvBookmarksChange();
    void lvBookmarksColumnClick(int column);
    void lvBookmarksClick();
    void lvBookmarksDblClick();
    void lvBookmarksKeyDown(QKeyEvent *event);
    void lvBookmarksMouseDown();
    void SelectRows(const QList<int> &rows);
    void SortCommand(TSortType sortType);
    // The column captions with the mark of the sorted column, " +" or " -".
    void ShowColumnCaptions();
    void LayOutStatusPanels();
    void ReanchorSearch();

    std::unique_ptr<TPreferences> m_prefs;
    std::unique_ptr<TCatalog> m_catalog;
    TBookmarkListModel *m_listModel = nullptr;
    QSplitter *m_mainSplitter = nullptr;
    QSplitter *m_rightSplitter = nullptr;
    QActionGroup *m_sortGroup = nullptr;
    QList<QAction *> m_actions;
    QMenu *m_menus[int(MenuId::Count)] = {};
    TStatusPanelRow *m_statusPanelRow = nullptr;
    // The folder drag over the tree: the row edge where the insertion line shows.
    int m_dragY = 0;
    QTreeWidgetItem *m_dropNode = nullptr;
    QTreeWidgetItem *m_nodeAbove = nullptr;
    QTreeWidgetItem *m_nodeBelow = nullptr;
    QPointer<QWidget> m_activeForm; // the program's active window, kept while away
    QPointer<QWidget> m_commandFocus; // the focus the commands act on, kept while in a menu
    bool m_closed = false;
    bool m_shown = false;
};
