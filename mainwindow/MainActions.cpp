// The main window's actions in one place (name, category, caption, shortcut,
// icon, handler), the menus, the tool bar and pop-up menus that show them, and
// the one routine that decides which of them are enabled.
#include "catalogue/Catalog.h"
#include "program/CommandGuard.h"
#include "program/Globals.h"
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
    ActionId id;
    const char *name;
    void (TfrmMain::*handler)();
    const char *category;
    const char *caption;
    QKeyCombination shortcut;
    const char *themeIcon;
    QStyle::StandardPixmap fallback;
};

constexpr QKeyCombination kNone = QKeyCombination(Qt::Key_unknown);
constexpr auto kNoIcon = QStyle::SP_CustomBase;
// The program's own image, where the theme has none of the name.
constexpr auto kProgramIcon = QStyle::StandardPixmap(QStyle::SP_CustomBase + 1);

#define VK_ACTION(id) ActionId::id, #id, &TfrmMain::id##Execute

// In the order of ActionId.
const ActionSpec kActions[] = {
    {VK_ACTION(FileSave), "&File", "&Save", Qt::CTRL | Qt::Key_S, "document-save",
     QStyle::SP_DialogSaveButton},
    // One image for each format, the same for its import and its export: the 1.x
    // catalogue, a favourites folder, a browser's bookmark file, a hotlist (an
    // address book).
    {VK_ACTION(ImportVarnokel1x), "Import", "&Varnokel 1.x...", kNone, "bookmarks",
     kProgramIcon},
    {VK_ACTION(ImportIE), "Import", "&Internet Explorer...", kNone, "folder-favorites",
     QStyle::SP_DirIcon},
    {VK_ACTION(ImportFirefox), "Import", "&Firefox...", kNone, "internet-web-browser",
     QStyle::SP_FileIcon},
    {VK_ACTION(ImportOpera), "Import", "&Opera...", kNone, "x-office-address-book",
     QStyle::SP_FileDialogContentsView},
    {VK_ACTION(ExportIE), "Export", "&Internet Explorer...", kNone, "folder-favorites",
     QStyle::SP_DirIcon},
    {VK_ACTION(ExportFirefox), "Export", "&Firefox...", kNone, "internet-web-browser",
     QStyle::SP_FileIcon},
    {VK_ACTION(ExportOpera), "Export", "&Opera...", kNone, "x-office-address-book",
     QStyle::SP_FileDialogContentsView},
    {VK_ACTION(FileHtmlGenerator), "&File", "&HTML Generator...", kNone, "text-html", kNoIcon},
    {VK_ACTION(FilePrint), "&File", "&Print...", Qt::CTRL | Qt::Key_P, "document-print", kNoIcon},
    {VK_ACTION(FileExit), "&File", "E&xit", kNone, "application-exit", kNoIcon},
    {VK_ACTION(EditUndo), "&Edit", "&Undo", Qt::CTRL | Qt::Key_Z, "edit-undo",
     QStyle::SP_ArrowBack},
    {VK_ACTION(EditRedo), "&Edit", "&Redo", Qt::CTRL | Qt::Key_Y, "edit-redo",
     QStyle::SP_ArrowForward},
    {VK_ACTION(EditAddFolder), "&Edit", "Add F&older...", Qt::CTRL | Qt::Key_Insert, "folder-new",
     QStyle::SP_FileDialogNewFolder},
    {VK_ACTION(EditAddBookmark), "&Edit", "Add &Bookmark...", QKeyCombination(Qt::Key_Insert),
     "bookmark-new", QStyle::SP_FileIcon},
    {VK_ACTION(EditEditItem), "&Edit", "&Edit Item...", QKeyCombination(Qt::Key_F2),
     "document-properties", QStyle::SP_FileDialogDetailedView},
    {VK_ACTION(EditCut), "&Edit", "Cu&t", Qt::CTRL | Qt::Key_X, "edit-cut", kNoIcon},
    {VK_ACTION(EditCopy), "&Edit", "&Copy", Qt::CTRL | Qt::Key_C, "edit-copy", kNoIcon},
    {VK_ACTION(EditPaste), "&Edit", "&Paste", Qt::CTRL | Qt::Key_V, "edit-paste", kNoIcon},
    {VK_ACTION(EditSelectAll), "&Edit", "Se&lect All", Qt::CTRL | Qt::Key_A, "edit-select-all",
     kNoIcon},
    {VK_ACTION(EditDelete), "&Edit", "&Delete", QKeyCombination(Qt::Key_Delete), "edit-delete",
     QStyle::SP_TrashIcon},
    {VK_ACTION(EditFind), "&Edit", "&Find...", Qt::CTRL | Qt::Key_F, "edit-find", kNoIcon},
    {VK_ACTION(EditFindNext), "&Edit", "F&ind Next", QKeyCombination(Qt::Key_F3), "go-down-search",
     kNoIcon},
    {VK_ACTION(ViewToolbar), "&View", "T&oolbar", kNone, nullptr, kNoIcon},
    {VK_ACTION(ViewStatusBar), "&View", "&Status Bar", kNone, nullptr, kNoIcon},
    {VK_ACTION(ViewSortByTitle), "&View", "Sort by &Title", kNone, nullptr, kNoIcon},
    {VK_ACTION(ViewSortByAddress), "&View", "Sort by &Address", kNone, nullptr, kNoIcon},
    {VK_ACTION(ViewSortByLastVisit), "&View", "Sort by Last &Visit", kNone, nullptr, kNoIcon},
    {VK_ACTION(ViewSortByAddDate), "&View", "Sort by Add &Date", kNone, nullptr, kNoIcon},
    {VK_ACTION(ViewUnsorted), "&View", "&Unsorted", kNone, nullptr, kNoIcon},
    {VK_ACTION(ViewReversedOrder), "&View", "&Reversed Order", kNone, nullptr, kNoIcon},
    {VK_ACTION(ToolsGo), "&Tools", "&Go", kNone, "go-jump", QStyle::SP_ArrowRight},
    {VK_ACTION(ToolsStatistics), "&Tools", "S&tatistics...", kNone, "office-chart-bar",
     QStyle::SP_FileDialogInfoView},
    {VK_ACTION(ToolsPreferences), "&Tools", "&Preferences...", kNone, "preferences-system",
     QStyle::SP_FileDialogListView},
    {VK_ACTION(HelpHelp), "&Help", "&Help", QKeyCombination(Qt::Key_F1), "help-contents",
     QStyle::SP_DialogHelpButton},
    {VK_ACTION(HelpHomePage), "&Help", "H&ome Page", kNone, "go-home", kNoIcon},
    {VK_ACTION(HelpCheckForUpdates), "&Help", "Check for &Updates", kNone, nullptr, kNoIcon},
    {VK_ACTION(HelpFAQ), "&Help", "FA&Q", kNone, nullptr, kNoIcon},
    {VK_ACTION(HelpFeedback), "&Help", "&Feedback", kNone, "mail-send", kNoIcon},
    {VK_ACTION(HelpAbout), "&Help", "&About...", kNone, "help-about",
     QStyle::SP_MessageBoxInformation},
    {VK_ACTION(TrayShowMainWindow), "Tray", "Show Main Window", kNone, nullptr, kNoIcon},
};

#undef VK_ACTION

static_assert(std::size(kActions) == size_t(ActionId::Count));

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

void TfrmMain::CreateActions()
{
    for (const ActionSpec &spec : kActions) {
        Q_ASSERT(int(spec.id) == m_actions.size());
        auto *action = new QAction(QString::fromLatin1(spec.caption), this);
        action->setObjectName(QString::fromLatin1(spec.name));
        action->setProperty("category", QString::fromLatin1(spec.category));
        if (spec.shortcut != kNone)
            action->setShortcut(QKeySequence(spec.shortcut));
        if (spec.themeIcon) {
            QIcon icon = QIcon::fromTheme(QString::fromLatin1(spec.themeIcon));
            if (icon.isNull() && spec.fallback == kProgramIcon)
                icon = windowIcon();
            else if (icon.isNull() && spec.fallback != kNoIcon)
                icon = style()->standardIcon(spec.fallback);
            action->setIcon(icon);
        }
        connect(action, &QAction::triggered, this, [this, handler = spec.handler] {
            Guarded([this, handler] { (this->*handler)(); });
        });
        m_actions.append(action);
        addAction(action); // shortcuts work while the menus are hidden too
    }
    SetUpCheckedActions();
}

void TfrmMain::SetUpCheckedActions()
{
    m_sortGroup = new QActionGroup(this);
    for (ActionId id : {ActionId::ViewSortByTitle, ActionId::ViewSortByAddress,
                        ActionId::ViewSortByLastVisit, ActionId::ViewSortByAddDate,
                        ActionId::ViewUnsorted}) {
        Action(id)->setCheckable(true);
        m_sortGroup->addAction(Action(id));
    }
    Action(ActionId::ViewSortByTitle)->setChecked(true);
    for (ActionId id :
         {ActionId::ViewReversedOrder, ActionId::ViewToolbar, ActionId::ViewStatusBar})
        Action(id)->setCheckable(true);
    Action(ActionId::ViewToolbar)->setChecked(true);
    Action(ActionId::ViewStatusBar)->setChecked(true);
    Action(ActionId::HelpCheckForUpdates)->setVisible(false);
}

QList<QAction *> TfrmMain::Actions(std::initializer_list<ActionId> ids) const
{
    QList<QAction *> list;
    for (ActionId id : ids)
        list.append(id == ActionId::Count ? nullptr : Action(id));
    return list;
}

void TfrmMain::BuildMenus()
{
    struct MenuSpec
    {
        MenuId id;
        const char *name; // also its key in the language file
        const char *caption;
        const char *themeIcon;
    };
    static const MenuSpec menus[] = {
        {MenuId::File, "mnuFile", "&File", nullptr},
        {MenuId::Edit, "mnuEdit", "&Edit", nullptr},
        {MenuId::View, "mnuView", "&View", nullptr},
        {MenuId::Tools, "mnuTools", "&Tools", nullptr},
        {MenuId::Help, "mnuHelp", "&Help", nullptr},
        {MenuId::Import, "mnuImport", "I&mport", "document-import"},
        {MenuId::Export, "mnuExport", "E&xport", "document-export"},
    };
    static_assert(std::size(menus) == size_t(MenuId::Count));
    for (const MenuSpec &spec : menus) {
        auto *menu = new QMenu(QString::fromLatin1(spec.caption), this);
        menu->setObjectName(QString::fromLatin1(spec.name));
        if (spec.themeIcon)
            menu->setIcon(QIcon::fromTheme(QString::fromLatin1(spec.themeIcon)));
        if (spec.id < MenuId::Import)
            menuBar()->addMenu(menu);
        m_menus[int(spec.id)] = menu;
    }
    FillMenus();
}

void TfrmMain::FillMenus()
{
    using A = ActionId;
    constexpr A sep = A::Count;
    AddEntries(Menu(MenuId::Import), Actions({A::ImportVarnokel1x, A::ImportIE,
                                              A::ImportFirefox, A::ImportOpera}));
    AddEntries(Menu(MenuId::Export), Actions({A::ExportIE, A::ExportFirefox, A::ExportOpera}));
    QMenu *file = Menu(MenuId::File);
    AddEntries(file, Actions({A::FileSave, sep}));
    file->addMenu(Menu(MenuId::Import));
    file->addMenu(Menu(MenuId::Export));
    AddEntries(file, Actions({sep, A::FileHtmlGenerator, sep, A::FilePrint, sep, A::FileExit}));
    AddEntries(Menu(MenuId::Edit),
               Actions({A::EditUndo, A::EditRedo, sep, A::EditAddFolder, A::EditAddBookmark,
                        A::EditEditItem, sep, A::EditCut, A::EditCopy, A::EditPaste,
                        A::EditSelectAll, sep, A::EditDelete, sep, A::EditFind,
                        A::EditFindNext}));
    AddEntries(Menu(MenuId::View),
               Actions({A::ViewToolbar, A::ViewStatusBar, sep, A::ViewSortByTitle,
                        A::ViewSortByAddress, A::ViewSortByLastVisit, A::ViewSortByAddDate,
                        A::ViewUnsorted, sep, A::ViewReversedOrder}));
    AddEntries(Menu(MenuId::Tools),
               Actions({A::ToolsGo, sep, A::ToolsStatistics, sep, A::ToolsPreferences}));
    AddEntries(Menu(MenuId::Help),
               Actions({A::HelpHelp, sep, A::HelpHomePage, A::HelpCheckForUpdates, A::HelpFAQ,
                        A::HelpFeedback, sep, A::HelpAbout}));
}

void TfrmMain::BuildToolbarAndPopups()
{
    using A = ActionId;
    constexpr A sep = A::Count;
    AddEntries(MainToolbar, Actions({A::FileSave, sep, A::EditAddFolder, A::EditAddBookmark,
                                     A::EditEditItem, A::EditDelete, sep, A::EditUndo,
                                     A::EditRedo, sep, A::ToolsGo, sep, A::ToolsStatistics,
                                     A::ToolsPreferences, sep, A::HelpHelp}));
    AddEntries(FoldersPopup, Actions({A::EditAddFolder, A::EditAddBookmark, A::EditEditItem, sep,
                                      A::EditCut, A::EditCopy, A::EditPaste, sep,
                                      A::EditDelete}));
    AddEntries(BookmarksPopup, Actions({A::ToolsGo, sep, A::EditAddBookmark, A::EditAddFolder,
                                        A::EditEditItem, sep, A::EditCut, A::EditCopy,
                                        A::EditPaste, A::EditSelectAll, sep, A::EditDelete}));
    AddEntries(TrayPopup, Actions({A::TrayShowMainWindow, A::ToolsPreferences, sep,
                                   A::HelpAbout, sep, A::FileExit}));
    RefreshStatesOnMenus();
}

void TfrmMain::RefreshStatesOnMenus()
{
    // Alt or Alt+letter gives the focus to the menu bar, and the menu's entries
    // act on the widget that had it before: keep that one.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
        if (!qobject_cast<QMenuBar *>(now) && !qobject_cast<QMenu *>(now))
            m_commandFocus = now;
    });
    QList<QMenu *> menus(std::begin(m_menus), std::end(m_menus));
    menus << FoldersPopup << BookmarksPopup; // the tray menu has its own handler
    for (QMenu *menu : menus)
        connect(menu, &QMenu::aboutToShow, this, [this] {
            if (Prefs)
                Guarded([this] { UpdateActionStates(); });
        });
}

bool TfrmMain::DescriptionFocused() const
{
    QWidget *focus = QApplication::focusWidget();
    if (qobject_cast<QMenuBar *>(focus) || qobject_cast<QMenu *>(focus))
        focus = m_commandFocus;
    return focus == memDescription;
}

void TfrmMain::UpdateActionStates()
{
    using A = ActionId;
    auto set = [this](A id, bool enabled) { Action(id)->setEnabled(enabled); };
    const bool active = IsActiveForm();
    set(A::TrayShowMainWindow, active);
    set(A::ToolsPreferences, active);
    set(A::HelpAbout, active);
    set(A::FileSave, Modified);
    const A folderBound[] = {A::FileHtmlGenerator, A::FilePrint, A::EditAddBookmark,
                             A::EditEditItem, A::EditCut, A::EditCopy, A::EditSelectAll,
                             A::EditDelete, A::EditFind, A::ToolsGo};
    for (A id : folderBound)
        set(id, CurrentFolder);
    set(A::EditUndo, CurrentFolder && Modified && Catalog->UndoIndex() > 0);
    set(A::EditRedo, CurrentFolder && Modified
                         && Catalog->GetUndoCount() - 1 > Catalog->UndoIndex());
    set(A::EditFindNext, CurrentFolder && !SearchRec.Text.isEmpty());
    set(A::EditPaste, FClipboardFolder || (CurrentFolder && FClipboardBookmarks));
    // While the description pane has the focus, the five edit actions follow the
    // pane: it is read-only, so only Copy can apply, to its selected text.
    if (DescriptionFocused()) {
        for (A id : {A::EditUndo, A::EditCut, A::EditPaste, A::EditDelete})
            set(id, false);
        set(A::EditCopy, memDescription->textCursor().hasSelection());
    }
}

QAction *TfrmMain::SortAction(TSortType sortType) const
{
    static const ActionId ids[5] = {ActionId::ViewUnsorted, ActionId::ViewSortByTitle,
                                    ActionId::ViewSortByAddress, ActionId::ViewSortByLastVisit,
                                    ActionId::ViewSortByAddDate};
    return Action(ids[qBound(0, int(sortType), 4)]);
}
