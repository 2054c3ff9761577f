#pragma once
// What a dialog may ask of the main window: change the catalogue along the one
// path every change takes, refresh its views, show a search match, and put
// changed settings into effect. The main window
// implements it and registers itself at start-up; dialogs never see its class.

#include <functional>

class QWidget;
class TBookmark;
class TFolder;

class IMainWindow
{
public:
    virtual ~IMainWindow() = default;

    // The window itself, as the owner of message boxes and dialogs.
    virtual QWidget *Window() = 0;

    // What a change refreshes once Modified is set: the folder tree rebuilt, the
    // bookmark list refilled, or nothing (the change has refreshed in place).
    enum class TRefresh { None, List, Tree };
    // The path of every change of the catalogue: undo snapshot, the change,
    // Modified, the refresh, the action states.
    virtual void ChangeCatalog(TRefresh refresh, const std::function<void()> &change) = 0;
    // The same without the snapshot, for the changes that take none: opening an
    // address stamps its visit; undo and redo move between the snapshots.
    virtual void ChangeCatalogUnrecorded(TRefresh refresh,
                                         const std::function<void()> &change) = 0;

    // Folder tree: rebuilt from the catalogue, a folder's node selected and
    // focused (its folder becomes current), the folder of the selected node.
    virtual void RebuildFolderTree() = 0;
    virtual void SelectFolderNode(const TFolder *folder) = 0;
    virtual TFolder *SelectedNodeFolder() const = 0;

    // Bookmark list: refilled from the current folder in the sort order; a
    // bookmark's row made the only selected one, with the focus on the list.
    virtual void FillBookmarkList() = 0;
    virtual void SelectBookmarkRow(const TBookmark *bookmark) = 0;

    // One step of Find Next and its display.
    virtual void ShowNextMatch() = 0;

    // Settings put into effect.
    virtual void ApplyTrayIcon() = 0;
    virtual void ApplyAutoSaveTimer() = 0;
    virtual void ApplyLanguage() = 0;

    virtual void UpdateActionStates() = 0;
};

// The main window, or none before it exists and after it is gone.
IMainWindow *MainWindow();
void SetMainWindow(IMainWindow *window);
