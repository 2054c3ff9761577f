// The main window's actions in one place (name, category, caption, shortcut,
// icon, handler), the menus, the tool bar and pop-up menus that show them, and
// the one routine that decides which of them are enabled.
#include "catalogue/Catalog.h"
#include "mainwindow/CommandGuard.h"
#include "mainwindow/Globals.h"
#include "mainwindow/MainForm.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStyle>
#include <QToolBar>

namespace {

struct ActionSpec
{
    const char *name;
    const char *category;
    const char *caption;
    QKeyCombination shortcut;
    const char *themeIcon;
    QStyle::StandardPixmap fallback;
};

constexpr QKeyCombination kNone = QKeyCombination(Qt::Key_unknown);
constexpr auto kNoIcon = QStyle::SP_CustomBase;

// In the order of the action list, which is the order of translation.
const ActionSpec kActions[] = {
    {"FileSave", "&File", "&Save", Qt::CTRL | Qt::Key_S, "document-save",
     QStyle::SP_DialogSaveButton},
    {"ImportVarnokel1x", "Import", "&Varnokel 1.x...", kNone, nullptr, kNoIcon},
    {"ImportIE", "Import", "&Internet Explorer...", kNone, nullptr, kNoIcon},
    {"ImportFirefox", "Import", "&Firefox...", kNone, nullptr, kNoIcon},
    {"ImportOpera", "Import", "&Opera...", kNone, nullptr, kNoIcon},
    {"ExportIE", "Export", "&Internet Explorer...", kNone, nullptr, kNoIcon},
    {"ExportFirefox", "Export", "&Firefox...", kNone, nullptr, kNoIcon},
    {"ExportOpera", "Export", "&Opera...", kNone, nullptr, kNoIcon},
    {"FileHtmlGenerator", "&File", "&HTML Generator...", kNone, "text-html", kNoIcon},
    {"FilePrint", "&File", "&Print...", Qt::CTRL | Qt::Key_P, "document-print", kNoIcon},
    {"FileExit", "&File", "E&xit", kNone, "application-exit", kNoIcon},
    {"EditUndo", "&Edit", "&Undo", Qt::CTRL | Qt::Key_Z, "edit-undo", QStyle::SP_ArrowBack},
    {"EditRedo", "&Edit", "&Redo", Qt::CTRL | Qt::Key_Y, "edit-redo", QStyle::SP_ArrowForward},
    {"EditAddFolder", "&Edit", "Add F&older...", Qt::CTRL | Qt::Key_Insert, "folder-new",
     QStyle::SP_FileDialogNewFolder},
    {"EditAddBookmark", "&Edit", "Add &Bookmark...", QKeyCombination(Qt::Key_Insert),
     "bookmark-new", QStyle::SP_FileIcon},
    {"EditEditItem", "&Edit", "&Edit Item...", QKeyCombination(Qt::Key_F2),
     "document-properties", QStyle::SP_FileDialogDetailedView},
    {"EditCut", "&Edit", "Cu&t", Qt::CTRL | Qt::Key_X, "edit-cut", kNoIcon},
    {"EditCopy", "&Edit", "&Copy", Qt::CTRL | Qt::Key_C, "edit-copy", kNoIcon},
    {"EditPaste", "&Edit", "&Paste", Qt::CTRL | Qt::Key_V, "edit-paste", kNoIcon},
    {"EditSelectAll", "&Edit", "Se&lect All", Qt::CTRL | Qt::Key_A, "edit-select-all",
     kNoIcon},
    {"EditDelete", "&Edit", "&Delete", QKeyCombination(Qt::Key_Delete), "edit-delete",
     QStyle::SP_TrashIcon},
    {"EditFind", "&Edit", "&Find...", Qt::CTRL | Qt::Key_F, "edit-find", kNoIcon},
    {"EditFindNext", "&Edit", "F&ind Next", QKeyCombination(Qt::Key_F3), "go-down-search",
     kNoIcon},
    {"ViewToolbar", "&View", "T&oolbar", kNone, nullptr, kNoIcon},
    {"ViewStatusBar", "&View", "&Status Bar", kNone, nullptr, kNoIcon},
    {"ViewSortByTitle", "&View", "Sort by &Title", kNone, nullptr, kNoIcon},
    {"ViewSortByAddress", "&View", "Sort by &Address", kNone, nullptr, kNoIcon},
    {"ViewSortByLastVisit", "&View", "Sort by Last &Visit", kNone, nullptr, kNoIcon},
    {"ViewSortByAddDate", "&View", "Sort by Add &Date", kNone, nullptr, kNoIcon},
    {"ViewUnsorted", "&View", "&Unsorted", kNone, nullptr, kNoIcon},
    {"ViewReversedOrder", "&View", "&Reversed Order", kNone, nullptr, kNoIcon},
    {"ToolsGo", "&Tools", "&Go", kNone, "go-jump", QStyle::SP_ArrowRight},
    {"ToolsStatistics", "&Tools", "S&tatistics...", kNone, "office-chart-bar",
     QStyle::SP_FileDialogInfoView},
    {"ToolsPreferences", "&Tools", "&Preferences...", kNone, "preferences-system",
     QStyle::SP_FileDialogListView},
    {"HelpHelp", "&Help", "&Help", QKeyCombination(Qt::Key_F1), "help-contents",
     QStyle::SP_DialogHelpButton},
    {"HelpHomePage", "&Help", "H&ome Page", kNone, "go-home", kNoIcon},
    {"HelpCheckForUpdates", "&Help", "Check for &Updates", kNone, nullptr, kNoIcon},
    {"HelpFAQ", "&Help", "FA&Q", kNone, nullptr, kNoIcon},
    {"HelpFeedback", "&Help", "&Feedback", kNone, "mail-send", kNoIcon},
    {"HelpAbout", "&Help", "&About...", kNone, "help-about", QStyle::SP_MessageBoxInformation},
    {"TrayShowMainWindow", "Tray", "Show Main Window", kNone, nullptr, kNoIcon},
};

void AddEntries(QWidget *menuOrBar, const QList<QAction *> &entries)
{
    for (QAction *action : entries) {
        if (action)
            menuOrBar->addAction(action);
        else if (auto *menu = qobject_cast<QMenu *>(menuOrBar))
            menu->addSeparator();
        else if (auto *bar = qobject_cast<QToolBar *>(menuOrBar))
            bar->addSeparator();
    }
}

} // namespace

QAction *TfrmMain::Action(const QString &name) const
{
    for (QAction *action : m_actions)
        if (action->objectName() == name)
            return action;
    return nullptr;
}

void TfrmMain::CreateActions()
{
    for (const ActionSpec &spec : kActions) {
        auto *action = new QAction(QString::fromLatin1(spec.caption), this);
        action->setObjectName(QString::fromLatin1(spec.name));
        action->setProperty("category", QString::fromLatin1(spec.category));
        if (spec.shortcut != kNone)
            action->setShortcut(QKeySequence(spec.shortcut));
        if (spec.themeIcon) {
            QIcon icon = QIcon::fromTheme(QString::fromLatin1(spec.themeIcon));
            if (icon.isNull() && spec.fallback != kNoIcon)
                icon = style()->standardIcon(spec.fallback);
            action->setIcon(icon);
        }
        m_actions.append(action);
        addAction(action); // shortcuts work while the menus are hidden too
    }
    m_sortGroup = new QActionGroup(this);
    for (const char *name : {"ViewSortByTitle", "ViewSortByAddress", "ViewSortByLastVisit",
                             "ViewSortByAddDate", "ViewUnsorted"}) {
        QAction *action = Action(QString::fromLatin1(name));
        action->setCheckable(true);
        m_sortGroup->addAction(action);
    }
    Action(QStringLiteral("ViewSortByTitle"))->setChecked(true);
    for (const char *name : {"ViewReversedOrder", "ViewToolbar", "ViewStatusBar"})
        Action(QString::fromLatin1(name))->setCheckable(true);
    Action(QStringLiteral("ViewToolbar"))->setChecked(true);
    Action(QStringLiteral("ViewStatusBar"))->setChecked(true);
    Action(QStringLiteral("HelpCheckForUpdates"))->setVisible(false);

    auto on = [this](const char *name, auto handler) {
        connect(Action(QString::fromLatin1(name)), &QAction::triggered, this,
                [handler] { Guarded(handler); });
    };
    on("FileSave", [this] { FileSaveExecute(); });
    on("FileExit", [this] { FileExitExecute(); });
    on("ToolsGo", [this] { ToolsGoExecute(); });
    on("TrayShowMainWindow", [this] { TrayShowMainWindowExecute(); });
    on("ViewUnsorted", [this] { SortCommand(0); });
    on("ViewSortByTitle", [this] { SortCommand(1); });
    on("ViewSortByAddress", [this] { SortCommand(2); });
    on("ViewSortByLastVisit", [this] { SortCommand(3); });
    on("ViewSortByAddDate", [this] { SortCommand(4); });
    on("ViewReversedOrder", [this] { ViewReversedOrderExecute(); });
    on("ViewToolbar", [this] { ViewToolbarExecute(); });
    on("ViewStatusBar", [this] { ViewStatusBarExecute(); });
}

void TfrmMain::BuildMenus()
{
    auto a = [this](const char *name) { return Action(QString::fromLatin1(name)); };
    const char *menuNames[5] = {"mnuFile", "mnuEdit", "mnuView", "mnuTools", "mnuHelp"};
    const char *menuCaptions[5] = {"&File", "&Edit", "&View", "&Tools", "&Help"};
    for (int i = 0; i < 5; ++i) {
        m_menus[i] = menuBar()->addMenu(QString::fromLatin1(menuCaptions[i]));
        m_menus[i]->setObjectName(QString::fromLatin1(menuNames[i]));
    }
    m_importMenu = new QMenu(QStringLiteral("I&mport"), this);
    m_importMenu->setObjectName(QStringLiteral("mnuImport"));
    AddEntries(m_importMenu, {a("ImportVarnokel1x"), a("ImportIE"), a("ImportFirefox"),
                              a("ImportOpera")});
    m_exportMenu = new QMenu(QStringLiteral("E&xport"), this);
    m_exportMenu->setObjectName(QStringLiteral("mnuExport"));
    AddEntries(m_exportMenu, {a("ExportIE"), a("ExportFirefox"), a("ExportOpera")});

    AddEntries(m_menus[0], {a("FileSave"), nullptr});
    m_menus[0]->addMenu(m_importMenu);
    m_menus[0]->addMenu(m_exportMenu);
    AddEntries(m_menus[0], {nullptr, a("FileHtmlGenerator"), nullptr, a("FilePrint"), nullptr,
                            a("FileExit")});
    AddEntries(m_menus[1], {a("EditUndo"), a("EditRedo"), nullptr, a("EditAddFolder"),
                            a("EditAddBookmark"), a("EditEditItem"), nullptr, a("EditCut"),
                            a("EditCopy"), a("EditPaste"), a("EditSelectAll"), nullptr,
                            a("EditDelete"), nullptr, a("EditFind"), a("EditFindNext")});
    AddEntries(m_menus[2], {a("ViewToolbar"), a("ViewStatusBar"), nullptr,
                            a("ViewSortByTitle"), a("ViewSortByAddress"),
                            a("ViewSortByLastVisit"), a("ViewSortByAddDate"),
                            a("ViewUnsorted"), nullptr, a("ViewReversedOrder")});
    AddEntries(m_menus[3], {a("ToolsGo"), nullptr, a("ToolsStatistics"), nullptr,
                            a("ToolsPreferences")});
    AddEntries(m_menus[4], {a("HelpHelp"), nullptr, a("HelpHomePage"),
                            a("HelpCheckForUpdates"), a("HelpFAQ"), a("HelpFeedback"),
                            nullptr, a("HelpAbout")});

    AddEntries(MainToolbar, {a("FileSave"), nullptr, a("EditAddFolder"), a("EditAddBookmark"),
                             a("EditEditItem"), a("EditDelete"), nullptr, a("EditUndo"),
                             a("EditRedo"), nullptr, a("ToolsGo"), nullptr,
                             a("ToolsStatistics"), a("ToolsPreferences"), nullptr,
                             a("HelpHelp")});
    AddEntries(FoldersPopup, {a("EditAddFolder"), a("EditAddBookmark"), a("EditEditItem"),
                              nullptr, a("EditCut"), a("EditCopy"), a("EditPaste"), nullptr,
                              a("EditDelete")});
    AddEntries(BookmarksPopup, {a("ToolsGo"), nullptr, a("EditAddBookmark"),
                                a("EditAddFolder"), a("EditEditItem"), nullptr, a("EditCut"),
                                a("EditCopy"), a("EditPaste"), a("EditSelectAll"), nullptr,
                                a("EditDelete")});
    AddEntries(TrayPopup, {a("TrayShowMainWindow"), a("ToolsPreferences"), nullptr,
                           a("HelpAbout"), nullptr, a("FileExit")});
}

void TfrmMain::UpdateActionStates()
{
    auto set = [this](const char *name, bool enabled) {
        Action(QString::fromLatin1(name))->setEnabled(enabled);
    };
    const bool active = IsActiveForm();
    set("TrayShowMainWindow", active);
    set("ToolsPreferences", active);
    set("HelpAbout", active);
    set("FileSave", Modified);
    const char *folderBound[] = {"FileHtmlGenerator", "FilePrint", "EditUndo", "EditRedo",
                                 "EditAddBookmark", "EditEditItem", "EditCut", "EditCopy",
                                 "EditSelectAll", "EditDelete", "EditFind", "EditFindNext",
                                 "ToolsGo"};
    for (const char *name : folderBound)
        set(name, false);
    if (CurrentFolder) {
        set("EditUndo", Modified && Catalog->UndoIndex() > 0);
        set("EditRedo", Modified && Catalog->GetUndoCount() - 1 > Catalog->UndoIndex());
        for (const char *name : {"FileHtmlGenerator", "FilePrint", "EditAddBookmark",
                                 "EditEditItem", "EditCut", "EditCopy", "EditSelectAll",
                                 "EditDelete", "EditFind"})
            set(name, true);
        set("EditFindNext", !SearchRec.Text.isEmpty());
        set("ToolsGo", true);
    }
    set("EditPaste", FClipboardFolder || (CurrentFolder && FClipboardBookmarks));
    // While the description pane has the focus, the five edit actions follow the
    // pane: it is read-only, so only Copy can apply, to its selected text.
    if (memDescription->hasFocus()) {
        for (const char *name : {"EditUndo", "EditCut", "EditPaste", "EditDelete"})
            set(name, false);
        set("EditCopy", memDescription->textCursor().hasSelection());
    }
}

QAction *TfrmMain::SortAction(int sortType) const
{
    static const char *const names[5] = {"ViewUnsorted", "ViewSortByTitle", "ViewSortByAddress",
                                         "ViewSortByLastVisit", "ViewSortByAddDate"};
    return Action(QString::fromLatin1(names[qBound(0, sortType, 4)]));
}
