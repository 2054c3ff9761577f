#pragma once
// The program-wide variables: the whole contract between the windows. The main
// window sets AppDir, Prefs and Catalog at its creation and owns the objects.

#include "catalogue/Search.h"

#include <QString>

class TCatalog;
class TFolder;
class TPreferences;
class TfrmAbout;
class TfrmBookmark;
class TfrmFind;
class TfrmFolder;
class TfrmHTMLGenerator;
class TfrmPreferences;
class TfrmStatistics;

extern QString AppDir;          // the program's folder, with a trailing "/"
extern TCatalog *Catalog;       // the open catalogue
extern TPreferences *Prefs;     // the settings
extern TFolder *CurrentFolder;  // the folder the list shows, or none
extern TSearchRec SearchRec;    // the cursor of Find Next
extern bool Modified;           // the catalogue differs from its file

// Each dialog while it is open, none otherwise: a command opens a dialog only
// while its variable is none.
extern TfrmFolder *frmFolder;
extern TfrmBookmark *frmBookmark;
extern TfrmFind *frmFind;
extern TfrmPreferences *frmPreferences;
extern TfrmStatistics *frmStatistics;
extern TfrmAbout *frmAbout;
extern TfrmHTMLGenerator *frmHTMLGenerator;

// The catalogue's file, in the program's folder.
inline constexpr char kCatalogFileName[] = "bookmarks.xml";

// The program's folder: the executable's folder, or the one a test set.
QString ProgramFolder();
void SetProgramFolder(const QString &folder);

// AppDir + "languages/" + the chosen language file.
QString LanguageFile();
