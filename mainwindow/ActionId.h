#pragma once
// The main window's actions and menus; the actions in the order of its action list (which is the
// order of translation). The compiler checks every use; the table that builds
// them lives in MainActions.cpp.

enum class ActionId {
    FileSave, ImportVarnokel1x, ImportIE, ImportFirefox, ImportOpera, ExportIE, ExportFirefox,
    ExportOpera, FileHtmlGenerator, FilePrint, FileExit,
    EditUndo, EditRedo, EditAddFolder, EditAddBookmark, EditEditItem, EditCut, EditCopy,
    EditPaste, EditSelectAll, EditDelete, EditFind, EditFindNext,
    ViewToolbar, ViewStatusBar, ViewSortByTitle, ViewSortByAddress, ViewSortByLastVisit,
    ViewSortByAddDate, ViewUnsorted, ViewReversedOrder,
    ToolsGo, ToolsStatistics, ToolsPreferences,
    HelpHelp, HelpHomePage, HelpCheckForUpdates, HelpFAQ, HelpFeedback, HelpAbout,
    TrayShowMainWindow,
    Count
};

// The menus of the menu bar, then the File menu's two sub-menus.
enum class MenuId { File, Edit, View, Tools, Help, Import, Export, Count };
