// The built-in English texts: the answer when no language file is chosen or the
// chosen one does not exist.
#include "settings/Language.h"
#include "platform/AsciiCase.h"

namespace {

struct Text
{
    const char *key;
    const char *text;
};

struct Section
{
    const char *name;
    std::initializer_list<Text> rows;
};

const Section kSections[] = {
    {"frmMain",
     {{"mnuFile", "&File"},
      {"FileSave", "&Save"},
      {"FileHTMLGenerator", "&HTML Generator..."},
      {"FilePrint", "&Print..."},
      {"FileExit", "&Exit"},
      {"mnuImport", "I&mport"},
      {"mnuExport", "E&xport"},
      {"mnuEdit", "&Edit"},
      {"EditUndo", "&Undo"},
      {"EditRedo", "&Redo"},
      {"EditAddFolder", "Add F&older..."},
      {"EditAddBookmark", "Add &Bookmark..."},
      {"EditEditItem", "&Edit Item..."},
      {"EditCut", "Cu&t"},
      {"EditCopy", "&Copy"},
      {"EditPaste", "&Paste"},
      {"EditSelectAll", "Se&lect All"},
      {"EditDelete", "&Delete"},
      {"EditFind", "&Find..."},
      {"EditFindNext", "F&ind Next"},
      {"mnuView", "&View"},
      {"ViewToolbar", "T&oolbar"},
      {"ViewStatusbar", "&Status Bar"},
      {"ViewSortByTitle", "Sort by &Title"},
      {"ViewSortByAddress", "Sort by &Address"},
      {"ViewSortByLastVisit", "Sort by Last &Visit"},
      {"ViewSortByAddDate", "Sort by Add &Date"},
      {"ViewUnsorted", "&Unsorted"},
      {"ViewReversedOrder", "&Reversed Order"},
      {"mnuTools", "&Tools"},
      {"ToolsGo", "&Go"},
      {"ToolsStatistics", "S&tatistics..."},
      {"ToolsPreferences", "&Preferences..."},
      {"mnuHelp", "&Help"},
      {"HelpHelp", "&Help"},
      {"HelpHomePage", "H&ome Page"},
      {"HelpCheckForUpdates", "Check for &Updates"},
      {"HelpFAQ", "FA&Q"},
      {"HelpFeedback", "&Feedback"},
      {"HelpAbout", "&About..."},
      {"TrayShowMainWindow", "Show Main Window"},
      {"memDescription", "Description:"},
      {"MainStatusBar2", "Folders:"},
      {"MainStatusBar3", "Bookmarks:"},
      {"lvBookmarksTitleColumn", "Title"},
      {"lvBookmarksAddressColumn", "Address"},
      {"lvBookmarksLastVisitColumn", "Last Visit"},
      {"lvBookmarksAddDateColumn", "Add Date"}}},
    {"frmAbout", {{"Caption", "About"}, {"lblVersion", "Version:"}, {"btnOk", "OK"}}},
    {"frmBookmark",
     {{"Caption", "Add/Edit Bookmark"},
      {"lblTitle", "Title:"},
      {"lblAddress", "Address:"},
      {"lblDescription", "Description:"},
      {"btnOK", "OK"},
      {"btnCancel", "Cancel"}}},
    {"frmFind",
     {{"Caption", "Find"},
      {"lblTextToFind", "Text to Find:"},
      {"btnOk", "OK"},
      {"btnCancel", "Cancel"}}},
    {"frmFolder",
     {{"Caption", "Add/Edit Folder"},
      {"lblTitle", "Title:"},
      {"lblDescription", "Description:"},
      {"btnOK", "OK"},
      {"btnCancel", "Cancel"}}},
    {"frmHtmlGenerator",
     {{"Caption", "HTML Generator"},
      {"grbTextInfo", "Text Info"},
      {"lblTitle", "Title:"},
      {"lblWelcomeHeader", "Welcome Header:"},
      {"lblWelcomeMessage", "Welcome Message:"},
      {"grbColorScheme", "Color Scheme"},
      {"lblText", "Text:"},
      {"lblBackground", "Background:"},
      {"lblHeaderArea", "Header Area:"},
      {"lblWelcomeArea", "Welcome Area:"},
      {"lblBookmarkArea1", "Bookmark Area 1:"},
      {"lblBookmarkArea2", "Bookmark Area 2:"},
      {"chkGenFromSelectedFolder", "Generate from selected folder only"},
      {"btnOk", "OK"},
      {"btnCancel", "Cancel"}}},
    {"frmPreferences",
     {{"Caption", "Preferences"},
      {"GeneralGroup", "General"},
      {"InterfaceGroup", "Interface"},
      {"GeneralSection", "General"},
      {"StartExitSection", "Start/Exit"},
      {"LanguageSection", "Language"},
      {"chkLoadOnWinStartup", "Load program on Windows startup"},
      {"chkShowIconInTray", "Show icon in System Tray"},
      {"chkHideToTray", "Hide To System Tray on minimizing"},
      {"chkConfirmDeleting", "Confirm deleting items"},
      {"chkAutoSaveEvery", "Auto save every"},
      {"lblAutoSaveMins", "mins."},
      {"grbStart", "Start"},
      {"chkMinimized", "Minimized"},
      {"grbExit", "Exit"},
      {"chkAutoSave", "Auto Save"},
      {"lblLanguages", "Languages:"},
      {"lblAuthor", "Author:"},
      {"lblContact", "Contact:"},
      {"lblInformation", "Information:"},
      {"btnDefault", "Default"},
      {"btnOK", "OK"},
      {"btnCancel", "Cancel"},
      {"btnApply", "Apply"}}},
    {"frmStatistics",
     {{"Caption", "Statistics"},
      {"lblFileSize", "File Size:"},
      {"lblFileSizeVal", "%2.1f KB"},
      {"lblFolders", "Folders:"},
      {"lblBookmarks", "Bookmarks:"},
      {"btnOk", "OK"}}},
    {"Messages",
     {{"SaveChanges", "Save changes?"},
      {"SearchStringNoFound", "Search string '%s' not found"},
      {"DeleteItems", "Delete %d selected items?"}}},
    {"Misc",
     {{"Folder", "Folder"}, {"Bookmark", "Bookmark"}, {"Title", "Title:"}, {"Address", "Address:"}}},
};

} // namespace

QString GetBuiltInText(const QString &section, const QString &key, const QString &defaultText)
{
    // Names are unique in the table, so the first match is the only one.
    for (const Section &s : kSections) {
        if (!SameTextAscii(QString::fromLatin1(s.name), section))
            continue;
        for (const Text &row : s.rows)
            if (SameTextAscii(QString::fromLatin1(row.key), key))
                return QLatin1String(row.text);
    }
    return defaultText;
}
