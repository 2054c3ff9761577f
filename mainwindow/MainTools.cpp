// The Tools menu's commands: open the selected bookmark's address, the
// statistics, the preferences.
#include "catalogue/Folder.h"
#include "dialogs/PreferencesForm.h"
#include "dialogs/StatisticsForm.h"
#include "mainwindow/MainForm.h"
#include "program/Globals.h"

#include <QDesktopServices>
#include <QRegularExpression>
#include <QUrl>

namespace {

// An address with a scheme ("http://", "https://", "ftp://", "file://", ...) opens as
// it is; anything else is taken for a web address without its "http://".
QString OpenableAddress(const QString &address)
{
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*://"));
    if (scheme.match(address).hasMatch())
        return address;
    return QStringLiteral("http://") + address;
}

} // namespace

void TfrmMain::ToolsGoExecute()
{
    const int i = ItemIndex();
    if (!CurrentFolder || i < 0 || i >= CurrentFolder->Bookmarks().Count())
        return;
    TBookmark *bookmark = CurrentFolder->Bookmarks().At(i);
    QDesktopServices::openUrl(QUrl(OpenableAddress(bookmark->Address()), QUrl::TolerantMode));
    ChangeCatalogUnrecorded(TRefresh::None, [&] {
        bookmark->SetLastVisit(TodayText());
        FillBookmarkList();
        SelectRows({int(CurrentFolder->Bookmarks().IndexOf(bookmark))});
    });
}

void TfrmMain::ToolsStatisticsExecute()
{
    if (frmStatistics)
        return;
    frmStatistics = new TfrmStatistics(this);
    frmStatistics->exec();
}

void TfrmMain::ToolsPreferencesExecute()
{
    if (frmPreferences)
        return;
    frmPreferences = new TfrmPreferences(this);
    frmPreferences->exec(); // the dialog frees itself on closing
    activateWindow();
}
