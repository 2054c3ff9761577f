// The main window's life: creation, activation, the one path of every change of
// the catalogue, and the close sequence that asks about unsaved changes and stores
// the layout and settings.
#include "mainwindow/MainForm.h"
#include "catalogue/Catalog.h"
#include "catalogue/CatalogFile.h"
#include "mainwindow/BookmarkListModel.h"
#include "mainwindow/StatusPanel.h"
#include "mainwindow/StatusPanelRow.h"
#include "platform/AtomicFile.h"
#include "platform/AutostartEntry.h"
#include "platform/InPlaceSave.h"
#include "platform/Memory.h"
#include "platform/ProductName.h"
#include "platform/ProgramKey.h"
#include "platform/VarnokelError.h"
#include "program/CommandGuard.h"
#include "program/Globals.h"
#include "program/MessageBox.h"
#include "settings/Language.h"
#include "settings/Preferences.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>
#include <QTreeWidget>
#include <QWindow>

namespace {

const char kPreferencesFile[] = "preferences.ini";

// The program's icon: the theme's bookmarks, else a drawn bookmark ribbon. A name
// without "-": a theme that lacks "user-bookmarks" answers with its "user" icon,
// a person.
QIcon ProgramIcon()
{
    const QIcon icon = QIcon::fromTheme(QStringLiteral("bookmarks"));
    if (!icon.isNull())
        return icon;
    QPixmap pixmap(64, 64);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0x1a, 0x3f, 0x7a), 3));
    painter.setBrush(QColor(0x2f, 0x6f, 0xd6));
    const QPointF ribbon[] = {{14, 4}, {50, 4}, {50, 60}, {32, 44}, {14, 60}};
    painter.drawPolygon(ribbon, 5);
    return QIcon(pixmap);
}

// What the start found and put right: a message, not an error; the start goes on.
void TellRepair(QWidget *owner, const QString &message)
{
    if (!message.isEmpty())
        ShowMessageBox(owner, {message, QString(kProductName), QMessageBox::Ok,
                               QMessageBox::Warning});
}

// False when an interrupted save of the settings could not be repaired (the error
// shown): the torn file is not read, the defaults stay.
bool RepairSettingsFile(QWidget *owner, const QString &fileName)
{
    try {
        TellRepair(owner, RepairMessage(fileName, RepairInterruptedSave(fileName)));
        return true;
    } catch (const VarnokelError &error) {
        ShowErrorBox(error.Message());
        return false;
    }
}

} // namespace

TfrmMain::TfrmMain(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("AppName"));
    setWindowIcon(ProgramIcon());
    BuildLayout();
    CreateActions();
    BuildMenus();
    BuildToolbarAndPopups();
    qApp->installEventFilter(this); // to see which window of the program is active
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *old, QWidget *now) {
        if ((old == memDescription || now == memDescription) && Prefs)
            UpdateActionStates();
    });
    connect(memDescription, &QPlainTextEdit::copyAvailable, this, [this] {
        if (memDescription->hasFocus())
            UpdateActionStates();
    });
    SetMainWindow(this);
    FormCreate();
}

TfrmMain::~TfrmMain()
{
    // Nothing may call back into this window while its parts go: the widgets
    // below are freed by the base class, after this object is no longer whole.
    if (MainWindow() == this)
        SetMainWindow(nullptr);
    qApp->removeEventFilter(this);
    disconnect(qApp, nullptr, this, nullptr);
    trvFolders->Hooks = ViewHooks();
    lvBookmarks->Hooks = ViewHooks();
    // The list refers to the catalogue's bookmarks: empty it first; and free
    // the tree's nodes without the recursion of their own destructors.
    m_listModel->Reset(nullptr);
    ClearFolderTree();
    delete takeCentralWidget(); // the tree, the list and the pane, with their signals
    CurrentFolder = nullptr;
    SearchRec = TSearchRec();
    Catalog = nullptr;
    Prefs = nullptr;
}

void TfrmMain::BuildLayout()
{
    resize(671, 466);
    BuildViews();
    BuildSplitters();
    BuildBars();
    BuildPopupsTrayAndTimers();
    ConnectTreeAndList();
    ConnectTimersAndTray();
}

void TfrmMain::BuildViews()
{
    trvFolders = new TFolderTreeWidget;
    trvFolders->setObjectName(QStringLiteral("trvFolders"));
    trvFolders->setHeaderHidden(true);
    trvFolders->setIndentation(19);
    trvFolders->setContextMenuPolicy(Qt::CustomContextMenu);
    trvFolders->setDragEnabled(true);
    trvFolders->setAcceptDrops(true);
    trvFolders->setDragDropMode(QAbstractItemView::DragDrop);
    BuildBookmarkList();

    memDescription = new QPlainTextEdit;
    memDescription->setObjectName(QStringLiteral("memDescription"));
    memDescription->setReadOnly(true);
    memDescription->setFocusPolicy(Qt::ClickFocus); // skipped by Tab
    memDescription->setBackgroundRole(QPalette::Button);
    QPalette palette = memDescription->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    memDescription->setPalette(palette);
}

void TfrmMain::BuildBookmarkList()
{
    m_listModel = new TBookmarkListModel(this);
    lvBookmarks = new TBookmarkListView;
    lvBookmarks->setObjectName(QStringLiteral("lvBookmarks"));
    lvBookmarks->setModel(m_listModel);
    lvBookmarks->setRootIsDecorated(false);
    lvBookmarks->setUniformRowHeights(true);
    lvBookmarks->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lvBookmarks->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvBookmarks->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvBookmarks->setContextMenuPolicy(Qt::CustomContextMenu);
    lvBookmarks->setAllColumnsShowFocus(true);
    lvBookmarks->setDragEnabled(true);
    lvBookmarks->setAcceptDrops(true);
    lvBookmarks->setDragDropMode(QAbstractItemView::DragDrop);
    lvBookmarks->header()->setSectionsMovable(false);
    lvBookmarks->header()->setSectionsClickable(true);
    lvBookmarks->header()->setStretchLastSection(false);
    const int columnWidths[4] = {150, 150, 80, 80};
    for (int c = 0; c < 4; ++c)
        lvBookmarks->header()->resizeSection(c, columnWidths[c]);
}

void TfrmMain::BuildSplitters()
{
    m_rightSplitter = new QSplitter(Qt::Vertical);
    m_rightSplitter->addWidget(lvBookmarks);
    m_rightSplitter->addWidget(memDescription);
    m_rightSplitter->setStretchFactor(0, 1);
    m_rightSplitter->setStretchFactor(1, 0);
    m_rightSplitter->setChildrenCollapsible(false);

    m_mainSplitter = new QSplitter(Qt::Horizontal);
    m_mainSplitter->addWidget(trvFolders);
    m_mainSplitter->addWidget(m_rightSplitter);
    m_mainSplitter->setStretchFactor(0, 0);
    m_mainSplitter->setStretchFactor(1, 1);
    m_mainSplitter->setChildrenCollapsible(false);
    setCentralWidget(m_mainSplitter);
    SetTreeWidth(200);
    SetDescriptionHeight(100);
}

void TfrmMain::BuildBars()
{
    MainToolbar = addToolBar(QStringLiteral("Toolbar"));
    MainToolbar->setObjectName(QStringLiteral("MainToolbar"));
    MainToolbar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    MainToolbar->setMovable(false);
    // No toolkit menu with its own toggle of the tool bar, which would hide the
    // bar behind View > Toolbar's back: the bar shows as that entry says.
    MainToolbar->setContextMenuPolicy(Qt::PreventContextMenu);
    menuBar()->setContextMenuPolicy(Qt::PreventContextMenu);

    MainStatusBar = statusBar();
    MainStatusBar->setObjectName(QStringLiteral("MainStatusBar"));
    MainStatusBar->setSizeGripEnabled(false);
    m_statusPanelRow = new TStatusPanelRow;
    MainStatusBar->addWidget(m_statusPanelRow, 1);
    for (int i = 0; i < spPanelCount; ++i)
        StatusPanel[i] = m_statusPanelRow->Panel(TStatusPanelIndex(i));
    LayOutStatusPanels();
}

void TfrmMain::BuildPopupsTrayAndTimers()
{
    FoldersPopup = new QMenu(this);
    FoldersPopup->setObjectName(QStringLiteral("FoldersPopup"));
    BookmarksPopup = new QMenu(this);
    BookmarksPopup->setObjectName(QStringLiteral("BookmarksPopup"));
    TrayPopup = new QMenu(this);
    TrayPopup->setObjectName(QStringLiteral("TrayPopup"));
    TrayIcon = new QSystemTrayIcon(windowIcon(), this);
    TrayIcon->setObjectName(QStringLiteral("TrayIcon"));
    TrayIcon->setToolTip(QString(kProductName));
    TrayIcon->setContextMenu(TrayPopup);

    AutoSaveTimer = new QTimer(this);
    AutoSaveTimer->setObjectName(QStringLiteral("AutoSaveTimer"));
    MinimizeTimer = new QTimer(this);
    MinimizeTimer->setObjectName(QStringLiteral("MinimizeTimer"));
    MinimizeTimer->setInterval(1);
    MinimizeTimer->start();
}

void TfrmMain::FormCreate()
{
    Modified = false;
    Guarded([this] {
        setWindowTitle(QString(kProductCaption));
        AppDir = ProgramFolder();
        RemoveSaveLeftovers(AppDir + QLatin1String(kPreferencesFile));
        RemoveSaveLeftovers(AppDir + QLatin1String(kCatalogFileName));
        RemoveSaveLeftovers(AutostartEntryPath());
        m_prefs = std::make_unique<TPreferences>();
        Prefs = m_prefs.get();
        if (RepairSettingsFile(this, AppDir + QLatin1String(kPreferencesFile)))
            Prefs->LoadFromFile(AppDir + QLatin1String(kPreferencesFile));
        m_catalog = std::make_unique<TCatalog>();
        Catalog = m_catalog.get();
        const QString catalogFile = AppDir + QLatin1String(kCatalogFileName);
        if (QFileInfo(catalogFile).isFile()) {
            // Keeps a file that fails to load; repairs a torn one first.
            TellRepair(this, LoadCatalogFile(*Catalog, catalogFile));
            ReleaseFreedMemory(); // the parser's memory, back to the system
            RebuildFolderTree();
        }
        ApplyStoredLayout();
        ApplyTrayIcon();
        ApplyAutoSaveTimer();
        UpdateActionStates();
        ApplyLanguage();
        ApplyStoredGeometry(); // what the first activation does, without a jump
    });
}

void TfrmMain::FormActivate()
{
    ApplyStoredGeometry();
    UpdateActionStates();
}

// The program's active form is the window of the program that was active last.
// While there is none (no window manager gave the focus, or that window is
// gone), the main window counts as the active form.
bool TfrmMain::IsActiveForm() const
{
    if (m_activeForm)
        return m_activeForm == this;
    const QWidget *active = QApplication::activeWindow();
    return !active || active == this;
}

void TfrmMain::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!m_shown && Prefs) {
        m_shown = true;
        UpdateActionStates(); // the first showing counts as an activation
    }
}

void TfrmMain::OnFormActivated(QWidget *form)
{
    if (form->windowType() == Qt::Popup || form->windowType() == Qt::ToolTip)
        return;
    // Only a change from another window of the program counts: leaving for
    // another application and coming back does not reach here.
    const bool activated = form == this && m_activeForm != this;
    m_activeForm = form;
    if (activated && Prefs)
        Guarded([this] { FormActivate(); });
}

void TfrmMain::ChangeCatalog(TRefresh refresh, const std::function<void()> &change)
{
    Catalog->SaveUndoState();
    ChangeCatalogUnrecorded(refresh, change);
}

void TfrmMain::ChangeCatalogUnrecorded(TRefresh refresh, const std::function<void()> &change)
{
    change();
    Modified = true;
    if (refresh == TRefresh::Tree)
        RebuildFolderTree();
    else if (refresh == TRefresh::List)
        FillBookmarkList();
    UpdateActionStates();
}

void TfrmMain::SaveCatalog()
{
    SaveCatalogFile(*Catalog, AppDir + QLatin1String(kCatalogFileName));
}

void TfrmMain::closeEvent(QCloseEvent *event)
{
    event->ignore();
    if (m_closed || !Prefs) { // a creation that failed before the settings existed
        event->accept();
        return;
    }
    Guarded([this, event] {
        if (FormClose()) {
            m_closed = true;
            event->accept();
            AutoSaveTimer->stop();
            MinimizeTimer->stop();
            TrayIcon->hide();
            // A window hidden in the tray is not the last visible one: end the loop.
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
    });
}

bool TfrmMain::FormClose()
{
    if (Modified && !SaveChangesBeforeClose())
        return false;
    // The catalogue is on disk, or the user chose to leave it: from here on a
    // failure is reported and the program still ends, or it could not be closed.
    ReportFailure([this] {
        StoreLayout(Prefs->Rec());
        Prefs->SaveToFile(AppDir + QLatin1String(kPreferencesFile));
    });
    ReportFailure([] {
        WriteProgramKeyValue(QStringLiteral("Application Path"),
                             QCoreApplication::applicationFilePath());
        WriteProgramKeyValue(QStringLiteral("Catalog Path"),
                             AppDir + QLatin1String(kCatalogFileName));
    });
    return true;
}

// Saves silently or after asking; false when the user cancels the close. A
// failed save raises, which refuses the close: the changes must not be lost.
bool TfrmMain::SaveChangesBeforeClose()
{
    if (Prefs->Rec().AotoSaveOnExit) {
        SaveCatalog();
        return true;
    }
    const QString text = GetLanguageText(LanguageFile(), QStringLiteral("Messages"),
                                         QStringLiteral("SaveChanges"),
                                         QStringLiteral("Save Changes?"));
    const auto answer = ShowMessageBox(
        this, {text, QString(kProductName),
               QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Question});
    if (answer == QMessageBox::Yes)
        SaveCatalog();
    return answer == QMessageBox::Yes || answer == QMessageBox::No;
}

bool TfrmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::WindowActivate && watched->isWidgetType()
        && static_cast<QWidget *>(watched)->isWindow())
        OnFormActivated(static_cast<QWidget *>(watched));
    return QMainWindow::eventFilter(watched, event);
}
