#include "program/Globals.h"
#include "settings/Language.h"
#include "settings/Preferences.h"

#include <QCoreApplication>

QString AppDir;
TCatalog *Catalog = nullptr;
TPreferences *Prefs = nullptr;
TFolder *CurrentFolder = nullptr;
TSearchRec SearchRec;
bool Modified = false;
TfrmFolder *frmFolder = nullptr;
TfrmBookmark *frmBookmark = nullptr;
TfrmFind *frmFind = nullptr;
TfrmPreferences *frmPreferences = nullptr;
TfrmStatistics *frmStatistics = nullptr;
TfrmAbout *frmAbout = nullptr;
TfrmHTMLGenerator *frmHTMLGenerator = nullptr;

namespace {
QString &FolderOverride()
{
    static QString folder;
    return folder;
}
} // namespace

QString ProgramFolder()
{
    QString folder = FolderOverride();
    if (folder.isEmpty())
        folder = QCoreApplication::applicationDirPath();
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

void SetProgramFolder(const QString &folder)
{
    FolderOverride() = folder;
}

QString LanguageFile()
{
    return LanguageFilePath(AppDir, Prefs ? Prefs->Rec().LanguageFile : QString());
}
