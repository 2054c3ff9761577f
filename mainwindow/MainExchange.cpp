// The File menu's imports and exports. Each asks for a file or folder, starting
// where the last choice for its format was (import and export share it), keeps
// the choice in the settings and runs the exchange routine. An import is one
// change of the catalogue, so one Undo takes it back; an export changes nothing.
#include "catalogue/Catalog.h"
#include "exchange/Favorites.h"
#include "exchange/Import1x.h"
#include "exchange/Netscape.h"
#include "exchange/Opera.h"
#include "mainwindow/MainForm.h"
#include "program/FileChooser.h"
#include "program/Globals.h"
#include "program/WaitCursor.h"
#include "settings/Preferences.h"

#include <QFileInfo>

namespace {

const QLatin1StringView kFirefoxFilter("Firefox Bookmarks (*.html)");
const QLatin1StringView kOperaFilter("Opera Hotlist (*.adr)");

TPreferencesRec &Settings()
{
    return Prefs->Rec();
}

// The folder browser over a setting. A setting that names no existing folder is
// emptied first, and the browser then preselects nothing. OK stores the choice.
bool BrowseForFolder(QWidget *owner, QString &setting)
{
    if (!QFileInfo(setting).isDir())
        setting.clear();
    const QString chosen = ShowFileChooser(owner, {TChooserKind::Folder, setting, {}, {}});
    if (chosen.isEmpty())
        return false;
    setting = chosen;
    return true;
}

// The open or save dialog over a setting, offering the file it names. OK stores
// the choice.
bool ChooseFile(QWidget *owner, TChooserKind kind, QLatin1StringView filter, QString &setting)
{
    const QString chosen = ShowFileChooser(owner, {kind, setting, filter, {}});
    if (chosen.isEmpty())
        return false;
    setting = chosen;
    return true;
}

} // namespace

void TfrmMain::ImportVarnokel1xExecute()
{
    QString &dir = Settings().Varnokel1Bookmarks;
    if (!BrowseForFolder(this, dir))
        return;
    const TWaitCursor wait;
    ChangeCatalog(TRefresh::Tree, [&] { ImportVarnokel1x(*Catalog, dir); });
}

void TfrmMain::ImportIEExecute()
{
    QString &dir = Settings().IEFavoritesLocation;
    if (!BrowseForFolder(this, dir))
        return;
    const TWaitCursor wait;
    ChangeCatalog(TRefresh::Tree, [&] { ImportIE(*Catalog, dir); });
}

void TfrmMain::ImportFirefoxExecute()
{
    QString &file = Settings().FirefoxBookmarksLocation;
    if (!ChooseFile(this, TChooserKind::OpenFile, kFirefoxFilter, file))
        return;
    const TWaitCursor wait;
    ChangeCatalog(TRefresh::Tree, [&] { ImportFirefox(*Catalog, file); });
}

void TfrmMain::ImportOperaExecute()
{
    QString &file = Settings().OperaHotlistLocation;
    if (!ChooseFile(this, TChooserKind::OpenFile, kOperaFilter, file))
        return;
    const TWaitCursor wait;
    ChangeCatalog(TRefresh::Tree, [&] { ImportOpera(*Catalog, file); });
}

void TfrmMain::ExportIEExecute()
{
    QString &dir = Settings().IEFavoritesLocation;
    if (!BrowseForFolder(this, dir))
        return;
    const TWaitCursor wait;
    ExportIE(*Catalog, dir);
}

void TfrmMain::ExportFirefoxExecute()
{
    QString &file = Settings().FirefoxBookmarksLocation;
    if (!ChooseFile(this, TChooserKind::SaveFile, kFirefoxFilter, file))
        return;
    const TWaitCursor wait;
    ExportFirefox(*Catalog, file);
}

void TfrmMain::ExportOperaExecute()
{
    QString &file = Settings().OperaHotlistLocation;
    if (!ChooseFile(this, TChooserKind::SaveFile, kOperaFilter, file))
        return;
    const TWaitCursor wait;
    ExportOpera(*Catalog, file);
}
