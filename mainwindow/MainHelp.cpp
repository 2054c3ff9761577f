// The Help menu: the user's guide, the maker's pages and the about box.
#include "dialogs/AboutForm.h"
#include "mainwindow/MainForm.h"
#include "program/Globals.h"
#include "program/MakerPages.h"

#include <QDesktopServices>
#include <QUrl>

namespace {

const char kHelpFile[] = "Help.html";

// Hands an address to the desktop's handler; what it reports is ignored.
void OpenAddress(const char *address)
{
    QDesktopServices::openUrl(QUrl(QString::fromLatin1(address)));
}

} // namespace

void TfrmMain::HelpHelpExecute()
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(AppDir + QLatin1String(kHelpFile)));
}

void TfrmMain::HelpHomePageExecute()
{
    OpenAddress(kHomePage);
}

void TfrmMain::HelpCheckForUpdatesExecute()
{
    OpenAddress(kUpdatesPage);
}

void TfrmMain::HelpFAQExecute()
{
    OpenAddress(kFAQPage);
}

void TfrmMain::HelpFeedbackExecute()
{
    OpenAddress(kSupportMail);
}

// Both dialogs are modal; each clears its variable when it frees itself.
void TfrmMain::HelpAboutExecute()
{
    if (frmAbout)
        return;
    frmAbout = new TfrmAbout(this);
    frmAbout->exec();
}

