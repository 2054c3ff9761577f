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

// One import or export: where its choice is kept, what it asks for, what runs.
struct TExchangeSpec
{
    QString TPreferencesRec::*setting;
    TChooserKind chooser; // a folder, a file to open or a file to save
    QLatin1StringView filter;
    void (*import)(TCatalog &, const QString &); // none for an export
    void (*exportTo)(const TCatalog &, const QString &);
};

// Default arguments do not reach through a function pointer: one call each.
const TExchangeSpec kExchanges[] = {
    {&TPreferencesRec::Varnokel1Bookmarks, TChooserKind::Folder, {},
     [](TCatalog &c, const QString &dir) { ImportVarnokel1x(c, dir); }, nullptr},
    {&TPreferencesRec::IEFavoritesLocation, TChooserKind::Folder, {},
     [](TCatalog &c, const QString &dir) { ImportIE(c, dir); }, nullptr},
    {&TPreferencesRec::FirefoxBookmarksLocation, TChooserKind::OpenFile, kFirefoxFilter,
     [](TCatalog &c, const QString &file) { ImportFirefox(c, file); }, nullptr},
    {&TPreferencesRec::OperaHotlistLocation, TChooserKind::OpenFile, kOperaFilter,
     [](TCatalog &c, const QString &file) { ImportOpera(c, file); }, nullptr},
    {&TPreferencesRec::IEFavoritesLocation, TChooserKind::Folder, {}, nullptr,
     [](const TCatalog &c, const QString &dir) { ExportIE(c, dir); }},
    {&TPreferencesRec::FirefoxBookmarksLocation, TChooserKind::SaveFile, kFirefoxFilter, nullptr,
     &ExportFirefox},
    {&TPreferencesRec::OperaHotlistLocation, TChooserKind::SaveFile, kOperaFilter, nullptr,
     &ExportOpera},
};

static_assert(std::size(kExchanges) == size_t(TfrmMain::TExchange::Count));

// The folder browser over a setting. A setting that names no existing folder is
// emptied first, and the browser then preselects nothing. OK stores the choice.
bool BrowseForFolder(QWidget *owner, QString &setting)
{
    if (!QFileInfo(setting).isDir())
        setting.clear();
    FileChooserRequest request;
    request.Kind = TChooserKind::Folder;
    request.Start = setting;
    const QString chosen = ShowFileChooser(owner, request);
    if (chosen.isEmpty())
        return false;
    setting = chosen;
    return true;
}

// The open or save dialog over a setting, offering the file it names. OK stores
// the choice.
bool ChooseFile(QWidget *owner, TChooserKind kind, QLatin1StringView filter, QString &setting)
{
    FileChooserRequest request;
    request.Kind = kind;
    request.Start = setting;
    request.Filter = filter;
    const QString chosen = ShowFileChooser(owner, request);
    if (chosen.isEmpty())
        return false;
    setting = chosen;
    return true;
}

} // namespace

void TfrmMain::ExchangeExecute(TExchange exchange)
{
    const TExchangeSpec &spec = kExchanges[int(exchange)];
    QString &choice = Prefs->Rec().*spec.setting;
    const bool chosen = spec.chooser == TChooserKind::Folder
                            ? BrowseForFolder(this, choice)
                            : ChooseFile(this, spec.chooser, spec.filter, choice);
    if (!chosen)
        return;
    const TWaitCursor wait;
    if (spec.import)
        ChangeCatalog(TRefresh::Tree, [&] { spec.import(*Catalog, choice); });
    else
        spec.exportTo(*Catalog, choice);
}
