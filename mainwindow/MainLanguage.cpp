// Puts the chosen language on the main window's texts: captions and hints of
// the actions, the menus, the list's columns with the sort mark, the status labels.
#include "mainwindow/BookmarkListModel.h"
#include "mainwindow/MainForm.h"
#include "mainwindow/StatusPanel.h"
#include "platform/ProductName.h"
#include "program/Globals.h"
#include "settings/Language.h"
#include "settings/Preferences.h"
#include "settings/widgets/TranslateForm.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QTreeWidget>

namespace {

const QString kSection = QStringLiteral("frmMain");

QString Lookup(const QString &langFile, const char *key, const QString &current)
{
    return GetLanguageText(langFile, kSection, QString::fromLatin1(key), current);
}

// The hint is the caption less its first "&".
QString HintOf(QString caption)
{
    const qsizetype amp = caption.indexOf(QLatin1Char('&'));
    if (amp >= 0)
        caption.remove(amp, 1);
    return caption;
}

} // namespace

void TfrmMain::ApplyLanguage()
{
    const QString lang = LanguageFile();
    TranslateForm(this, lang);
    setWindowTitle(QString(kProductCaption));

    for (QAction *action : FActions) {
        const QString caption = GetLanguageText(lang, kSection, action->objectName(),
                                                action->text());
        action->setText(caption);
        action->setToolTip(HintOf(caption));
        action->setStatusTip(HintOf(caption));
    }

    const char *menuKeys[5] = {"mnuFile", "mnuEdit", "mnuView", "mnuTools", "mnuHelp"};
    for (int i = 0; i < 5; ++i)
        FMenus[i]->setTitle(Lookup(lang, menuKeys[i], FMenus[i]->title()));
    FImportMenu->setTitle(Lookup(lang, "mnuImport", FImportMenu->title()));
    FExportMenu->setTitle(Lookup(lang, "mnuExport", FExportMenu->title()));

    const char *columnKeys[4] = {"lvBookmarksTitleColumn", "lvBookmarksAddressColumn",
                                 "lvBookmarksLastVisitColumn", "lvBookmarksAddDateColumn"};
    for (int c = 0; c < 4; ++c)
        ColumnBaseCaption[c] = Lookup(lang, columnKeys[c], ColumnBaseCaption[c]);
    ShowColumnCaptions();

    StatusPanel[2]->setText(Lookup(lang, "MainStatusBar2", QStringLiteral("Folders:")));
    StatusPanel[3]->setText(Lookup(lang, "MainStatusBar3", QStringLiteral("Bookmarks:")));
    LayOutStatusPanels();
    UpdateStatusBar();
    ShowFocusedDescription();
}
