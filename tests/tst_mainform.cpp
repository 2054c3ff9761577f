// The main window's life: creation from the stored settings, the close sequence
// with its question, auto-save, action states, translation, tray and timers.
#include "catalogue/Catalog.h"
#include "program/Globals.h"
#include "mainwindow/MainForm.h"
#include "program/MessageBox.h"
#include "settings/Preferences.h"

#include <QAction>
#include <QDialog>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>
#include <QTreeWidget>
#include <QtTest>

#include <signal.h>
#include <sys/resource.h>

namespace {

const char kCatalog[] =
    "<varnokel_file>\r\n"
    "  <folder>\r\n"
    "    <title>Reading</title>\r\n"
    "    <description>Articles</description>\r\n"
    "    <selected>-1</selected>\r\n"
    "    <expanded>-1</expanded>\r\n"
    "    <bookmark><title>b</title><address>http://b</address>"
    "<adddate>2007.03.05</adddate></bookmark>\r\n"
    "    <bookmark><title>a</title><address>http://a</address>"
    "<adddate>2009.01.01</adddate></bookmark>\r\n"
    "    <bookmark><title>c</title><address>http://c</address>"
    "<adddate>2001.01.01</adddate></bookmark>\r\n"
    "  </folder>\r\n"
    "</varnokel_file>\r\n";

// Makes writes past `bytes` fail (as a full disk does), even for root.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &m_old); }

private:
    rlimit m_old{};
};

} // namespace

class TestMainForm : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void creationAppliesStoredSettings();
    void brokenCatalogSkipsRestOfCreation();
    void closeQuestion_data();
    void closeQuestion();
    void autoSaveOnExitSavesWithoutAsking();
    void closeStoresLayout_data();
    void closeStoresLayout();
    void closeWritesProgramKey();
    void failedSaveKeepsWindowOpenAndOldFile();
    void failedSettingsWriteStillCloses();
    void maximisedStartFillsTheWindow();
    void saveLeftoversRemovedAtStart();
    void treeSelectionByKeysSurvivesRestart();
    void autoSaveOnlyWhenModified();
    void autoSaveTimerSettings_data();
    void autoSaveTimerSettings();
    void actionStates_data();
    void actionStates();
    void trayEntriesFollowTheActiveForm();
    void descriptionPaneRulesTheEditActions();
    void translation();
    void sortMarkFollowsSortCommands();
    void missingLanguageKeysKeepPreviousTexts();
    void startMinimized_data();
    void startMinimized();
    void wmUserShowsHiddenWindow();
    void activationRestoresStoredGeometry();
    void minimiseHidesIntoTray_data();
    void minimiseHidesIntoTray();
    void trayClickTogglesWindow();

private:
    std::unique_ptr<TfrmMain> NewForm();
    void Write(const QString &name, const QByteArray &contents);
    QByteArray Read(const QString &name) const;
    QString Path(const QString &name) const { return m_dir->filePath(name); }
    void ShowAndActivate(TfrmMain &form);

    std::unique_ptr<QTemporaryDir> m_dir;
    QList<MessageBoxRequest> m_boxes;
    QMessageBox::StandardButton m_answer = QMessageBox::No;
};

void TestMainForm::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    TfrmMain::SetSystemTrayAvailable(true); // the offscreen platform has none
    SetMessageBoxAnswerer([this](const MessageBoxRequest &request) {
        m_boxes.append(request);
        return request.Buttons.testFlag(QMessageBox::Ok) ? QMessageBox::Ok : m_answer;
    });
}

void TestMainForm::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    SetProgramFolder(m_dir->path());
    m_boxes.clear();
    m_answer = QMessageBox::No;
    Modified = false;
}

void TestMainForm::cleanup()
{
    Modified = false;
}

std::unique_ptr<TfrmMain> TestMainForm::NewForm()
{
    return std::make_unique<TfrmMain>();
}

void TestMainForm::Write(const QString &name, const QByteArray &contents)
{
    QDir().mkpath(QFileInfo(Path(name)).absolutePath());
    QFile file(Path(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(contents);
}

QByteArray TestMainForm::Read(const QString &name) const
{
    QFile file(Path(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestMainForm::ShowAndActivate(TfrmMain &form)
{
    form.show();
    QApplication::setActiveWindow(&form);
    QTRY_COMPARE(QApplication::activeWindow(), &form);
    QVERIFY(form.IsActiveForm());
}

void TestMainForm::creationAppliesStoredSettings()
{
    Write("preferences.ini", "[MainForm]\r\nSortType=4\r\nTreeWidth=260\r\nShowToolbar=0\r\n"
                             "TitleColumnWidth=222\r\n");
    Write("bookmarks.xml", kCatalog);
    auto form = NewForm();
    QCOMPARE(AppDir, m_dir->path() + "/");
    QVERIFY(form->Action(ActionId::ViewSortByAddDate)->isChecked());
    QVERIFY(!form->Action(ActionId::ViewSortByTitle)->isChecked());
    QVERIFY(!form->Action(ActionId::ViewToolbar)->isChecked());
    QCOMPARE(form->windowTitle(), QString("Varnokel PRO 2.0"));
    QCOMPARE(form->lvBookmarks->header()->sectionSize(0), 222);
    // The selected folder is current and its list sorted by add date.
    QVERIFY(CurrentFolder);
    QCOMPARE(CurrentFolder->Title(), QString("Reading"));
    const QAbstractItemModel *rows = form->lvBookmarks->model();
    QCOMPARE(rows->rowCount(), 3);
    QCOMPARE(rows->index(0, 0).data().toString(), QString("c"));
    QCOMPARE(rows->index(2, 0).data().toString(), QString("a"));
    QCOMPARE(rows->headerData(3, Qt::Horizontal).toString(), QString("Add Date +"));
    form->show();
    QVERIFY(!form->MainToolbar->isVisible());
    QCOMPARE(form->trvFolders->width(), 260);
    QVERIFY(m_boxes.isEmpty());
}

void TestMainForm::brokenCatalogSkipsRestOfCreation()
{
    Write("preferences.ini", "[General]\r\nAutoSaveEvery=1\r\n");
    Write("bookmarks.xml", "<varnokel_file><folder>");
    auto form = NewForm();
    QCOMPARE(m_boxes.size(), 1);
    QVERIFY(m_boxes[0].Text.contains("Line: 1"));
    QCOMPARE(m_boxes[0].Icon, QMessageBox::Critical);
    QVERIFY(!form->AutoSaveTimer->isActive());
    // Not translated: the menu keeps its designed caption, not the built-in "&Exit".
    QCOMPARE(form->Action(ActionId::FileExit)->text(), QString("E&xit"));
}

void TestMainForm::closeQuestion_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<bool>("catalogWritten");
    QTest::addColumn<bool>("settingsWritten");
    QTest::newRow("Yes") << int(QMessageBox::Yes) << true << true << true;
    QTest::newRow("No") << int(QMessageBox::No) << true << false << true;
    QTest::newRow("Cancel") << int(QMessageBox::Cancel) << false << false << false;
}

void TestMainForm::closeQuestion()
{
    QFETCH(int, answer);
    QFETCH(bool, closes);
    QFETCH(bool, catalogWritten);
    QFETCH(bool, settingsWritten);
    Write("bookmarks.xml", kCatalog);
    auto form = NewForm();
    Catalog->Folders().At(0)->SetTitle("Changed");
    Modified = true;
    m_answer = QMessageBox::StandardButton(answer);
    QCOMPARE(form->close(), closes);
    QCOMPARE(m_boxes.size(), 1);
    QCOMPARE(m_boxes[0].Text, QString("Save changes?"));
    QCOMPARE(m_boxes[0].Caption, QString("Varnokel PRO"));
    QCOMPARE(m_boxes[0].Icon, QMessageBox::Question);
    QCOMPARE(m_boxes[0].Buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    QCOMPARE(Read("bookmarks.xml").contains("Changed"), catalogWritten);
    QCOMPARE(QFile::exists(Path("preferences.ini")), settingsWritten);
    QVERIFY(Modified); // the close's saves do not clear it
}

void TestMainForm::autoSaveOnExitSavesWithoutAsking()
{
    Write("preferences.ini", "[Start/Exit]\r\nAotoSaveOnExit=1\r\n");
    Write("bookmarks.xml", kCatalog);
    auto form = NewForm();
    Catalog->Folders().At(0)->SetTitle("Changed");
    Modified = true;
    QVERIFY(form->close());
    QVERIFY(m_boxes.isEmpty());
    QVERIFY(Read("bookmarks.xml").contains("Changed"));
}

void TestMainForm::closeStoresLayout_data()
{
    QTest::addColumn<bool>("maximized");
    QTest::newRow("normal") << false;
    QTest::newRow("maximised") << true;
}

void TestMainForm::closeStoresLayout()
{
    QFETCH(bool, maximized);
    Write("preferences.ini", "[MainForm]\r\nLeft=10\r\nTop=20\r\nWidth=700\r\nHeight=520\r\n");
    auto form = NewForm();
    form->show();
    form->move(40, 50);
    form->resize(640, 480);
    form->lvBookmarks->header()->resizeSection(1, 199);
    form->Action(ActionId::ViewStatusBar)->trigger();
    if (maximized)
        form->showMaximized();
    QVERIFY(form->close());
    QSettings ini(Path("preferences.ini"), QSettings::IniFormat);
    QCOMPARE(ini.value("MainForm/Maximized").toInt(), maximized ? 1 : 0);
    QCOMPARE(ini.value("MainForm/Width").toInt(), maximized ? 700 : 640);
    QCOMPARE(ini.value("MainForm/Left").toInt(), maximized ? 10 : 40);
    QCOMPARE(ini.value("MainForm/AddressColumnWidth").toInt(), 199);
    QCOMPARE(ini.value("MainForm/ShowStatusbar").toInt(), 0);
}

void TestMainForm::closeWritesProgramKey()
{
    auto form = NewForm();
    QVERIFY(form->close());
    QSettings key(QSettings::NativeFormat, QSettings::UserScope, "Quorvane", "Varnokel PRO");
    QCOMPARE(key.value("Catalog Path").toString(), AppDir + "bookmarks.xml");
    QCOMPARE(key.value("Application Path").toString(), QCoreApplication::applicationFilePath());
}

void TestMainForm::failedSaveKeepsWindowOpenAndOldFile()
{
    Write("bookmarks.xml", kCatalog);
    auto form = NewForm();
    for (int i = 0; i < 200; ++i)
        CurrentFolder->Bookmarks().Add(std::make_unique<TBookmark>())->SetTitle("padding");
    Modified = true;
    m_answer = QMessageBox::Yes;
    {
        FileSizeLimit limit(sizeof(kCatalog) + 10);
        QVERIFY(!form->close());
    }
    QCOMPARE(m_boxes.size(), 2); // the question, then the error
    QCOMPARE(m_boxes[1].Icon, QMessageBox::Critical);
    QVERIFY2(m_boxes[1].Text.contains("bookmarks.xml"), qPrintable(m_boxes[1].Text));
    QCOMPARE(Read("bookmarks.xml"), QByteArray(kCatalog));
    QVERIFY(!QFile::exists(Path("preferences.ini")));
    QVERIFY(Modified);
}

void TestMainForm::failedSettingsWriteStillCloses()
{
    // Once a program whose folder took no settings file could not be closed at all.
    const QByteArray old = "[Custom]\r\nKeep=1\r\n";
    Write("preferences.ini", old);
    auto form = NewForm();
    {
        FileSizeLimit limit(old.size());
        QVERIFY(form->close());
    }
    // Once, and before the program key (whose store the limit fails too).
    QVERIFY(!m_boxes.isEmpty());
    QVERIFY2(m_boxes[0].Text.startsWith("Unable to write to"), qPrintable(m_boxes[0].Text));
    QVERIFY(m_boxes[0].Text.contains("preferences.ini"));
    for (qsizetype i = 1; i < m_boxes.size(); ++i)
        QVERIFY(!m_boxes[i].Text.contains("preferences.ini"));
    QCOMPARE(Read("preferences.ini"), old);
}

void TestMainForm::maximisedStartFillsTheWindow()
{
    // A maximised start once kept its content at the stored normal size.
    Write("preferences.ini", "[MainForm]\r\nLeft=30\r\nTop=40\r\nWidth=410\r\n"
                             "Height=330\r\nMaximized=1\r\n");
    auto form = NewForm();
    ShowAndActivate(*form);
    QTRY_VERIFY(form->isMaximized());
    const QSize screen = form->screen()->availableGeometry().size();
    QTRY_VERIFY(form->centralWidget()->width() > screen.width() - 50);
    QVERIFY(form->centralWidget()->height() > screen.height() / 2);
    form->showNormal();
    QTRY_COMPARE(form->size(), QSize(410, 330));
}

void TestMainForm::treeSelectionByKeysSurvivesRestart()
{
    // The file once marked the folder the user was on before the last key press.
    Write("bookmarks.xml", "<varnokel_file><folder><title>A</title></folder>"
                           "<folder><title>B</title></folder>"
                           "<folder><title>C</title></folder></varnokel_file>");
    {
        auto form = NewForm();
        ShowAndActivate(*form);
        form->trvFolders->setFocus();
        form->trvFolders->setCurrentItem(form->trvFolders->topLevelItem(0));
        QTest::keyClick(form->trvFolders, Qt::Key_Down);
        QTest::keyClick(form->trvFolders, Qt::Key_Down);
        QCOMPARE(CurrentFolder->Title(), QString("C"));
        form->FileSaveExecute();
    }
    auto again = NewForm();
    QVERIFY(CurrentFolder);
    QCOMPARE(CurrentFolder->Title(), QString("C"));
}

void TestMainForm::saveLeftoversRemovedAtStart()
{
    for (const char *name : {"preferences.ini.a1B2c3", "bookmarks.xml.Zz9yY8"})
        Write(name, "half a save");
    Write("bookmarks.xml.bak", "the user's own");
    Write("preferences.ini.12345", "not ours either");
    auto form = NewForm();
    QVERIFY(!QFile::exists(Path("preferences.ini.a1B2c3")));
    QVERIFY(!QFile::exists(Path("bookmarks.xml.Zz9yY8")));
    QVERIFY(QFile::exists(Path("bookmarks.xml.bak")));
    QVERIFY(QFile::exists(Path("preferences.ini.12345")));
}

void TestMainForm::autoSaveOnlyWhenModified()
{
    Write("bookmarks.xml", kCatalog);
    auto form = NewForm();
    QFile::remove(Path("bookmarks.xml"));
    form->AutoSaveTimerTimer();
    QVERIFY(!QFile::exists(Path("bookmarks.xml")));
    Modified = true;
    form->UpdateActionStates();
    QVERIFY(form->Action(ActionId::FileSave)->isEnabled());
    form->AutoSaveTimerTimer();
    QVERIFY(QFile::exists(Path("bookmarks.xml")));
    QVERIFY(!Modified);
    QVERIFY(!form->Action(ActionId::FileSave)->isEnabled());
}

void TestMainForm::autoSaveTimerSettings_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<bool>("active");
    QTest::addColumn<int>("interval");
    QTest::newRow("off") << QByteArray("AutoSaveEvery=0\r\n") << false << 15 * 60000;
    QTest::newRow("15 minutes") << QByteArray("AutoSaveEvery=1\r\nAutoSaveInterval=15\r\n")
                                << true << 15 * 60000;
    QTest::newRow("0 never ticks") << QByteArray("AutoSaveEvery=1\r\nAutoSaveInterval=0\r\n")
                                   << false << 0;
    QTest::newRow("huge stays in range")
        << QByteArray("AutoSaveEvery=1\r\nAutoSaveInterval=99999999\r\n") << true << INT_MAX;
}

void TestMainForm::autoSaveTimerSettings()
{
    QFETCH(QByteArray, ini);
    QFETCH(bool, active);
    QFETCH(int, interval);
    Write("preferences.ini", "[General]\r\n" + ini);
    auto form = NewForm();
    QCOMPARE(form->AutoSaveTimer->isActive(), active);
    QCOMPARE(form->AutoSaveTimer->interval(), interval);
}

void TestMainForm::actionStates_data()
{
    QTest::addColumn<bool>("folder");
    QTest::addColumn<bool>("modified");
    QTest::addColumn<int>("changes");   // snapshots pushed
    QTest::addColumn<int>("undos");
    QTest::addColumn<QString>("clipboard"); // "", "folder", "bookmarks"
    QTest::addColumn<QString>("searchText");
    QTest::addColumn<QStringList>("enabled");
    QTest::addColumn<QStringList>("disabled");

    const QStringList folderBound = {"FileHtmlGenerator", "FilePrint", "EditAddBookmark",
                                     "EditEditItem", "EditCut", "EditCopy", "EditSelectAll",
                                     "EditDelete", "EditFind", "ToolsGo"};
    const QStringList always = {"EditAddFolder", "ToolsStatistics", "FileExit", "ImportIE",
                                "ViewUnsorted", "HelpHelp"};
    QTest::newRow("no folder") << false << false << 0 << 0 << "" << "text" << always
                               << folderBound + QStringList{"EditFindNext", "EditPaste",
                                                            "FileSave", "EditUndo"};
    QTest::newRow("folder, unmodified")
        << true << false << 2 << 0 << "" << "" << folderBound
        << QStringList{"EditUndo", "EditRedo", "EditFindNext", "EditPaste", "FileSave"};
    QTest::newRow("modified after a change")
        << true << true << 1 << 0 << "" << "x" << QStringList{"EditUndo", "FileSave",
                                                              "EditFindNext"}
        << QStringList{"EditRedo"};
    QTest::newRow("after an undo") << true << true << 1 << 1 << "" << ""
                                   << QStringList{"EditRedo"} << QStringList{"EditUndo"};
    QTest::newRow("after two undos of three")
        << true << true << 3 << 2 << "" << "" << QStringList{"EditUndo", "EditRedo"}
        << QStringList{};
    QTest::newRow("folder copy, no folder") << false << false << 0 << 0 << "folder" << ""
                                            << QStringList{"EditPaste"} << QStringList{};
    QTest::newRow("bookmark copies, no folder") << false << false << 0 << 0 << "bookmarks"
                                                << "" << QStringList{}
                                                << QStringList{"EditPaste"};
    QTest::newRow("bookmark copies, folder") << true << false << 0 << 0 << "bookmarks" << ""
                                             << QStringList{"EditPaste"} << QStringList{};
}

void TestMainForm::actionStates()
{
    QFETCH(bool, folder);
    QFETCH(bool, modified);
    QFETCH(int, changes);
    QFETCH(int, undos);
    QFETCH(QString, clipboard);
    QFETCH(QString, searchText);
    QFETCH(QStringList, enabled);
    QFETCH(QStringList, disabled);
    Write("bookmarks.xml", kCatalog);
    auto form = NewForm();
    for (int i = 0; i < changes; ++i)
        Catalog->SaveUndoState();
    for (int i = 0; i < undos; ++i)
        Catalog->Undo();
    form->RebuildFolderTree();
    if (!folder)
        form->trvFolders->clearSelection();
    QCOMPARE(CurrentFolder != nullptr, folder);
    if (clipboard == "folder")
        form->FClipboardFolder = std::make_unique<TFolder>();
    else if (clipboard == "bookmarks")
        form->FClipboardBookmarks = std::make_unique<TBookmarks>();
    SearchRec.Text = searchText;
    Modified = modified;
    form->UpdateActionStates();
    for (const QString &name : enabled)
        QVERIFY2(form->findChild<QAction *>(name)->isEnabled(), qPrintable(name));
    for (const QString &name : disabled)
        QVERIFY2(!form->findChild<QAction *>(name)->isEnabled(), qPrintable(name));
    SearchRec.Text.clear();
}

void TestMainForm::trayEntriesFollowTheActiveForm()
{
    auto form = NewForm();
    ShowAndActivate(*form);
    form->TrayPopupPopup();
    QVERIFY(form->Action(ActionId::TrayShowMainWindow)->isEnabled());
    QDialog dialog(form.get());
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    QTRY_COMPARE(QApplication::activeWindow(), &dialog);
    QVERIFY(!form->IsActiveForm());
    form->TrayPopupPopup();
    for (const char *name : {"TrayShowMainWindow", "ToolsPreferences", "HelpAbout"})
        QVERIFY2(!form->findChild<QAction *>(name)->isEnabled(), name);
    QVERIFY(form->Action(ActionId::FileExit)->isEnabled());
    // A tray click while the dialog is active does nothing.
    form->TrayIconClick();
    QVERIFY(form->isVisible());
}

void TestMainForm::descriptionPaneRulesTheEditActions()
{
    Write("bookmarks.xml", kCatalog);
    auto form = NewForm();
    ShowAndActivate(*form);
    Modified = true;
    Catalog->SaveUndoState();
    form->trvFolders->setFocus();
    form->UpdateActionStates();
    QVERIFY(form->Action(ActionId::EditDelete)->isEnabled());
    QVERIFY(form->Action(ActionId::EditCut)->isEnabled());
    form->memDescription->setFocus();
    QTRY_VERIFY(form->memDescription->hasFocus());
    for (const char *name : {"EditUndo", "EditCut", "EditCopy", "EditPaste", "EditDelete"})
        QVERIFY2(!form->findChild<QAction *>(name)->isEnabled(), name);
    form->memDescription->selectAll();
    QVERIFY(form->Action(ActionId::EditCopy)->isEnabled());
    QVERIFY(form->Action(ActionId::EditAddBookmark)->isEnabled()); // the others keep their rule
    form->trvFolders->setFocus();
    QTRY_VERIFY(form->Action(ActionId::EditDelete)->isEnabled());
}

void TestMainForm::translation()
{
    auto form = NewForm();
    QCOMPARE(form->Action(ActionId::EditAddBookmark)->toolTip(), QString("Add Bookmark..."));
    QCOMPARE(form->Action(ActionId::EditSelectAll)->toolTip(), QString("Select All"));
    QCOMPARE(form->Action(ActionId::FileExit)->text(), QString("&Exit")); // the built-in text
    QCOMPARE(form->Action(ActionId::ImportIE)->text(), QString("&Internet Explorer..."));
    QStringList menus;
    for (QAction *menu : form->menuBar()->actions())
        menus << menu->text();
    QCOMPARE(menus, QStringList({"&File", "&Edit", "&View", "&Tools", "&Help"}));
    QCOMPARE(form->StatusPanel[2]->text(), QString("Folders:"));
    QCOMPARE(form->memDescription->toPlainText(), QString("Description:"));
    QVERIFY(!form->Action(ActionId::HelpCheckForUpdates)->isVisible());
}

void TestMainForm::sortMarkFollowsSortCommands()
{
    auto form = NewForm();
    const QAbstractItemModel *rows = form->lvBookmarks->model();
    auto header = [rows](int c) { return rows->headerData(c, Qt::Horizontal).toString(); };
    QCOMPARE(header(0), QString("Title")); // sort mode 0 by default: no mark
    form->Action(ActionId::ViewSortByTitle)->trigger();
    QCOMPARE(header(0), QString("Title +"));
    form->Action(ActionId::ViewReversedOrder)->trigger();
    QCOMPARE(header(0), QString("Title -"));
    QVERIFY(Prefs->Rec().ReversedSort);
    form->Action(ActionId::ViewSortByAddress)->trigger();
    QCOMPARE(header(0), QString("Title"));
    QCOMPARE(header(1), QString("Address -"));
    form->Action(ActionId::ViewUnsorted)->trigger();
    for (int c = 0; c < 4; ++c)
        QVERIFY(!header(c).endsWith(" -") && !header(c).endsWith(" +"));
}

void TestMainForm::missingLanguageKeysKeepPreviousTexts()
{
    Write("languages/first.ini", "[frmMain]\r\nFileSave=&Speichern\r\nEditCopy=&Kopieren\r\n"
                                 "lvBookmarksTitleColumn=Titel\r\n");
    Write("languages/second.ini", "[frmMain]\r\nEditCopy=Co&pier\r\n");
    auto form = NewForm();
    Prefs->Rec().LanguageFile = "first.ini";
    Prefs->Rec().SortType = 1;
    form->ApplyLanguage();
    QCOMPARE(form->Action(ActionId::FileSave)->text(), QString("&Speichern"));
    QCOMPARE(form->Action(ActionId::FileSave)->toolTip(), QString("Speichern"));
    Prefs->Rec().LanguageFile = "second.ini";
    form->ApplyLanguage();
    form->ApplyLanguage();
    QCOMPARE(form->Action(ActionId::FileSave)->text(), QString("&Speichern"));
    QCOMPARE(form->Action(ActionId::EditCopy)->text(), QString("Co&pier"));
    QCOMPARE(form->Action(ActionId::EditCopy)->toolTip(), QString("Copier"));
    // The column keeps its base caption and carries exactly one mark.
    QCOMPARE(form->lvBookmarks->model()->headerData(0, Qt::Horizontal).toString(),
             QString("Titel +"));
    QCOMPARE(form->windowTitle(), QString("Varnokel PRO 2.0"));
    // A file without the column keys keeps the designed captions.
    Write("languages/third.ini", "[frmMain]\r\nEditCopy=Kopie\r\n");
    form.reset();
    auto fresh = NewForm();
    Prefs->Rec().LanguageFile = "third.ini";
    Prefs->Rec().SortType = 3;
    fresh->ApplyLanguage();
    QCOMPARE(fresh->lvBookmarks->model()->headerData(2, Qt::Horizontal).toString(),
             QString("Last Visit +"));
    QCOMPARE(fresh->lvBookmarks->model()->headerData(0, Qt::Horizontal).toString(),
             QString("Title"));
}

void TestMainForm::startMinimized_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<bool>("hidden");
    QTest::addColumn<bool>("minimized");
    QTest::newRow("off") << QByteArray("[Start/Exit]\r\nStartMinimized=0\r\n") << false << false;
    QTest::newRow("to tray") << QByteArray("[Start/Exit]\r\nStartMinimized=1\r\n") << true
                             << false;
    QTest::newRow("no tray")
        << QByteArray("[Start/Exit]\r\nStartMinimized=1\r\n[General]\r\nShowIconInTray=0\r\n")
        << false << true;
}

void TestMainForm::startMinimized()
{
    QFETCH(QByteArray, ini);
    QFETCH(bool, hidden);
    QFETCH(bool, minimized);
    Write("preferences.ini", ini);
    QDialog other; // another window of the program is active first
    other.show();
    QApplication::setActiveWindow(&other);
    QTRY_COMPARE(QApplication::activeWindow(), &other);
    auto form = NewForm();
    QVERIFY(!form->IsActiveForm());
    QTest::qWait(10); // ticks while it is not the active form change nothing
    QVERIFY(form->MinimizeTimer->isActive());
    other.close();
    ShowAndActivate(*form);
    form->MinimizeTimerTimer();
    QVERIFY(!form->MinimizeTimer->isActive());
    QCOMPARE(!form->isVisible(), hidden);
    QCOMPARE(form->isMinimized(), minimized);
}

void TestMainForm::wmUserShowsHiddenWindow()
{
    auto form = NewForm();
    ShowAndActivate(*form);
    form->hide();
    form->WMUser();
    QVERIFY(form->isVisible());
    QVERIFY(!form->isMinimized());
}

void TestMainForm::activationRestoresStoredGeometry()
{
    Write("preferences.ini", "[MainForm]\r\nLeft=30\r\nTop=40\r\nWidth=610\r\nHeight=430\r\n");
    auto form = NewForm();
    ShowAndActivate(*form);
    QCOMPARE(form->size(), QSize(610, 430));
    form->resize(500, 300);
    // A dialog of the program comes and goes: the window is activated again.
    QDialog dialog(form.get());
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    QTRY_COMPARE(QApplication::activeWindow(), &dialog);
    QVERIFY(!form->IsActiveForm());
    dialog.close();
    QApplication::setActiveWindow(form.get());
    QTRY_COMPARE(QApplication::activeWindow(), form.get());
    QCOMPARE(form->size(), QSize(610, 430));
    QCOMPARE(form->pos(), QPoint(30, 40));
}

void TestMainForm::minimiseHidesIntoTray_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<bool>("tray");
    QTest::addColumn<bool>("hidden");
    QTest::newRow("both tray flags") << QByteArray() << true << true;
    QTest::newRow("no tray icon") << QByteArray("ShowIconInTray=0\r\n") << true << false;
    QTest::newRow("no hiding") << QByteArray("HideToTrayOnMinimizing=0\r\n") << true << false;
    // Without a tray on the desktop nothing could bring the window back.
    QTest::newRow("desktop without a tray") << QByteArray() << false << false;
}

void TestMainForm::minimiseHidesIntoTray()
{
    QFETCH(QByteArray, ini);
    QFETCH(bool, tray);
    QFETCH(bool, hidden);
    Write("preferences.ini", "[General]\r\n" + ini);
    TfrmMain::SetSystemTrayAvailable(tray);
    auto restore = qScopeGuard([] { TfrmMain::SetSystemTrayAvailable(true); });
    auto form = NewForm();
    ShowAndActivate(*form);
    form->showMinimized();
    QTRY_COMPARE(!form->isVisible(), hidden);
    QTest::qWait(20); // a late hide would show here
    QCOMPARE(!form->isVisible(), hidden);
}

void TestMainForm::trayClickTogglesWindow()
{
    auto form = NewForm();
    ShowAndActivate(*form);
    form->TrayIconClick();
    QVERIFY(!form->isVisible());
    form->TrayIconClick();
    QVERIFY(form->isVisible());
    form->TrayShowMainWindowExecute(); // showing already: nothing
    QVERIFY(form->isVisible());
}

QTEST_MAIN(TestMainForm)
#include "tst_mainform.moc"
