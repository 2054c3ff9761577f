// The File menu's imports and exports, driven through their actions with the
// choosers answered: where each chooser starts, what it stores, one undo step
// per import, exports that leave the catalogue alone, and errors in the box.
#include "CatalogTree.h"
#include "catalogue/Catalog.h"
#include "exchange/Favorites.h"
#include "exchange/Netscape.h"
#include "exchange/Opera.h"
#include "mainwindow/MainForm.h"
#include "program/FileChooser.h"
#include "program/Globals.h"
#include "program/MessageBox.h"
#include "settings/Preferences.h"

#include <QAction>
#include <QFileDialog>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

namespace {

const char kCatalog[] =
    "<varnokel_file>\r\n"
    "  <folder>\r\n"
    "    <title>Reading</title>\r\n"
    "    <selected>-1</selected>\r\n"
    "    <bookmark><title>b</title><address>http://b</address></bookmark>\r\n"
    "    <bookmark><title>a</title><address>http://a</address></bookmark>\r\n"
    "  </folder>\r\n"
    "</varnokel_file>\r\n";

const QString kFirefoxFilter = QStringLiteral("Firefox Bookmarks (*.html)");
const QString kOperaFilter = QStringLiteral("Opera Hotlist (*.adr)");

QString &Setting(const QString &key)
{
    TPreferencesRec &rec = Prefs->Rec();
    if (key == "Varnokel1Bookmarks")
        return rec.Varnokel1Bookmarks;
    if (key == "IEFavoritesLocation")
        return rec.IEFavoritesLocation;
    if (key == "FirefoxBookmarksLocation")
        return rec.FirefoxBookmarksLocation;
    return rec.OperaHotlistLocation;
}

void WriteFile(const QString &fileName, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(fileName).absolutePath());
    QFile file(fileName);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray ReadFile(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestExchangeCommands : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void cancelChangesNothing_data();
    void cancelChangesNothing();
    void choiceIsStoredAndOfferedBothWays_data();
    void choiceIsStoredAndOfferedBothWays();
    void importIsOneUndoStep_data();
    void importIsOneUndoStep();
    void exportMergesTargetAndLeavesCatalogAlone_data();
    void exportMergesTargetAndLeavesCatalogAlone();
    void importErrorEndsCommandInErrorBox();
    void dialogStartsAtSetting_data();
    void dialogStartsAtSetting();

private:
    void InstallAnswerers();
    std::unique_ptr<TfrmMain> NewForm();
    QString Path(const QString &name) const { return m_dir->filePath(name); }
    void Trigger(TfrmMain &form, int action, const QString &choice);
    QString Favorites();

    std::unique_ptr<QTemporaryDir> m_dir;
    QList<FileChooserRequest> m_requests;
    QList<MessageBoxRequest> m_boxes;
    QString m_choice;
};

void TestExchangeCommands::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    InstallAnswerers();
}

void TestExchangeCommands::InstallAnswerers()
{
    SetMessageBoxAnswerer([this](const MessageBoxRequest &request) {
        m_boxes.append(request);
        // The wait cursor is gone before the box shows.
        if (QGuiApplication::overrideCursor())
            m_boxes.last().Text += " [wait cursor]";
        return QMessageBox::Ok;
    });
    SetFileChooserAnswerer([this](const FileChooserRequest &request) {
        m_requests.append(request);
        return m_choice;
    });
}

void TestExchangeCommands::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    qputenv("HOME", QFile::encodeName(Path("home")));
    QDir().mkpath(Path("home"));
    SetProgramFolder(m_dir->path());
    WriteFile(Path("bookmarks.xml"), kCatalog);
    m_requests.clear();
    m_boxes.clear();
    m_choice.clear();
    Modified = false;
}

void TestExchangeCommands::cleanup()
{
    Modified = false;
}

std::unique_ptr<TfrmMain> TestExchangeCommands::NewForm()
{
    return std::make_unique<TfrmMain>();
}

void TestExchangeCommands::Trigger(TfrmMain &form, int action, const QString &choice)
{
    m_choice = choice;
    m_requests.clear();
    form.Action(ActionId(action))->trigger();
    QCOMPARE(m_requests.size(), 1);
}

// A favourites folder: a shortcut directly in it and Work/Mail.url.
QString TestExchangeCommands::Favorites()
{
    const QString shortcut = "[InternetShortcut]\r\nURL=http://mail/\r\n";
    WriteFile(Path("Favorites/Loose.url"), shortcut.toLatin1());
    WriteFile(Path("Favorites/Work/Mail.url"), shortcut.toLatin1());
    return Path("Favorites");
}

void TestExchangeCommands::cancelChangesNothing_data()
{
    QTest::addColumn<int>("action");
    QTest::addColumn<QString>("setting");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<bool>("startExists");
    const int folder = int(TChooserKind::Folder);
    const int open = int(TChooserKind::OpenFile);
    const int save = int(TChooserKind::SaveFile);
    using A = ActionId;
    for (bool exists : {true, false}) {
        const char *tag = exists ? "" : ", start missing";
        QTest::addRow("ImportVarnokel1x%s", tag)
            << int(A::ImportVarnokel1x) << "Varnokel1Bookmarks" << folder << "" << exists;
        QTest::addRow("ImportIE%s", tag)
            << int(A::ImportIE) << "IEFavoritesLocation" << folder << "" << exists;
        QTest::addRow("ExportIE%s", tag)
            << int(A::ExportIE) << "IEFavoritesLocation" << folder << "" << exists;
        QTest::addRow("ImportFirefox%s", tag)
            << int(A::ImportFirefox) << "FirefoxBookmarksLocation" << open << kFirefoxFilter
            << exists;
        QTest::addRow("ExportFirefox%s", tag)
            << int(A::ExportFirefox) << "FirefoxBookmarksLocation" << save << kFirefoxFilter
            << exists;
        QTest::addRow("ImportOpera%s", tag)
            << int(A::ImportOpera) << "OperaHotlistLocation" << open << kOperaFilter << exists;
        QTest::addRow("ExportOpera%s", tag)
            << int(A::ExportOpera) << "OperaHotlistLocation" << save << kOperaFilter << exists;
    }
}

void TestExchangeCommands::cancelChangesNothing()
{
    QFETCH(int, action);
    QFETCH(QString, setting);
    QFETCH(int, kind);
    QFETCH(QString, filter);
    QFETCH(bool, startExists);
    const bool isFolder = kind == int(TChooserKind::Folder);
    const QString start = Path(isFolder ? "place" : "place/file.x");
    if (startExists)
        WriteFile(Path("place/file.x"), "old");
    auto form = NewForm();
    const int folders = form->trvFolders->topLevelItemCount();
    Setting(setting) = start;

    Trigger(*form, action, QString());

    // Only a folder setting that names no folder is emptied, before the chooser.
    const QString expected = isFolder && !startExists ? QString() : start;
    QCOMPARE(m_requests[0].Kind, TChooserKind(kind));
    QCOMPARE(m_requests[0].Start, expected);
    QCOMPARE(m_requests[0].Filter, filter);
    QCOMPARE(Setting(setting), expected);
    QVERIFY(!Modified);
    QCOMPARE(Catalog->GetUndoCount(), 0);
    QCOMPARE(form->trvFolders->topLevelItemCount(), folders);
    QCOMPARE(QDir(Path("place")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
             startExists ? QStringList{"file.x"} : QStringList{});
    QCOMPARE(ReadFile(Path("bookmarks.xml")), QByteArray(kCatalog));
    QVERIFY(m_boxes.isEmpty());
}

void TestExchangeCommands::choiceIsStoredAndOfferedBothWays_data()
{
    QTest::addColumn<int>("import");
    QTest::addColumn<int>("exportAction");
    QTest::addColumn<QString>("setting");
    QTest::addColumn<QString>("source");
    using A = ActionId;
    QTest::newRow("Firefox") << int(A::ImportFirefox) << int(A::ExportFirefox)
                             << "FirefoxBookmarksLocation" << VK_TEST_DATA "/firefox.html";
    QTest::newRow("Opera") << int(A::ImportOpera) << int(A::ExportOpera)
                           << "OperaHotlistLocation" << VK_TEST_DATA "/opera6.adr";
    QTest::newRow("Internet Explorer") << int(A::ImportIE) << int(A::ExportIE)
                                       << "IEFavoritesLocation" << QString();
}

void TestExchangeCommands::choiceIsStoredAndOfferedBothWays()
{
    QFETCH(int, import);
    QFETCH(int, exportAction);
    QFETCH(QString, setting);
    QFETCH(QString, source);
    const bool isFolder = source.isEmpty();
    if (isFolder)
        source = Favorites();
    const QString target = Path(isFolder ? "Exported" : "exported");
    if (isFolder)
        QDir().mkpath(target);
    auto form = NewForm();

    Trigger(*form, import, source);
    QCOMPARE(Setting(setting), source);
    Trigger(*form, exportAction, QString());
    QCOMPARE(m_requests[0].Start, source);
    Trigger(*form, exportAction, target);
    QCOMPARE(Setting(setting), target);
    // A name typed without an extension is the name written.
    QVERIFY(QFileInfo::exists(target));
    Trigger(*form, import, QString());
    QCOMPARE(m_requests[0].Start, target);
    QVERIFY(m_boxes.isEmpty());
}

void TestExchangeCommands::importIsOneUndoStep_data()
{
    QTest::addColumn<int>("action");
    QTest::addColumn<QString>("setting");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("imported"); // a root folder the import brings
    using A = ActionId;
    QTest::newRow("Varnokel 1.x") << int(A::ImportVarnokel1x) << "Varnokel1Bookmarks"
                                  << VK_TEST_DATA "/varnokel1x" << "Hobbies";
    QTest::newRow("Internet Explorer") << int(A::ImportIE) << "IEFavoritesLocation" << QString()
                                       << "Work";
    QTest::newRow("Firefox") << int(A::ImportFirefox) << "FirefoxBookmarksLocation"
                             << VK_TEST_DATA "/firefox.html" << "Bookmarks Toolbar";
    QTest::newRow("Opera") << int(A::ImportOpera) << "OperaHotlistLocation"
                           << VK_TEST_DATA "/opera6.adr" << "Opera";
}

void TestExchangeCommands::importIsOneUndoStep()
{
    QFETCH(int, action);
    QFETCH(QString, setting);
    QFETCH(QString, source);
    QFETCH(QString, imported);
    if (source.isEmpty())
        source = Favorites();
    auto form = NewForm();
    QAction *save = form->Action(ActionId::FileSave);
    form->FileSaveExecute();
    const QByteArray before = ReadFile(Path("bookmarks.xml"));
    QVERIFY(!save->isEnabled());

    Trigger(*form, action, source);

    QCOMPARE(Setting(setting), source);
    QVERIFY(Modified);
    QVERIFY(save->isEnabled());
    QVERIFY(QGuiApplication::overrideCursor() == nullptr);
    QCOMPARE(Catalog->GetUndoCount(), 1);
    // The tree shows what came in.
    const auto nodes = form->trvFolders->findItems(imported, Qt::MatchExactly);
    QCOMPARE(nodes.size(), 1);
    QCOMPARE(form->GetNodeFolder(nodes[0])->Title(), imported);

    Catalog->Undo();
    form->RebuildFolderTree();
    form->FileSaveExecute();
    QCOMPARE(ReadFile(Path("bookmarks.xml")), before);
    QVERIFY(m_boxes.isEmpty());
}

void TestExchangeCommands::exportMergesTargetAndLeavesCatalogAlone_data()
{
    QTest::addColumn<int>("action");
    QTest::addColumn<QString>("setting");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QByteArray>("existing"); // a file that holds the folder Elsewhere
    using A = ActionId;
    QTest::newRow("Firefox")
        << int(A::ExportFirefox) << "FirefoxBookmarksLocation" << "out.html"
        << QByteArray("<DL><p>\n<DT><H3>Elsewhere</H3>\n<DL><p>\n"
                      "<DT><A HREF=\"http://x/\">x</A>\n</DL><p>\n</DL><p>\n");
    QTest::newRow("Opera") << int(A::ExportOpera) << "OperaHotlistLocation" << "out.adr"
                           << QByteArray("#FOLDER\nNAME=Elsewhere\n#URL\nNAME=x\nURL=http://x/\n"
                                         "-\n");
    QTest::newRow("Internet Explorer") << int(A::ExportIE) << "IEFavoritesLocation" << "out"
                                       << QByteArray("[InternetShortcut]\r\nURL=http://x/\r\n");
}

void TestExchangeCommands::exportMergesTargetAndLeavesCatalogAlone()
{
    QFETCH(int, action);
    QFETCH(QString, setting);
    QFETCH(QString, target);
    QFETCH(QByteArray, existing);
    const QString path = Path(target);
    const auto readBack = action == int(ActionId::ExportFirefox) ? &ImportFirefox
                          : action == int(ActionId::ExportOpera) ? &ImportOpera
                                                                 : &ImportIE;
    WriteFile(action == int(ActionId::ExportIE) ? path + "/Elsewhere/x.url" : path, existing);
    auto form = NewForm();
    const int folders = form->trvFolders->topLevelItemCount();

    Trigger(*form, action, path);

    QCOMPARE(Setting(setting), path);
    QVERIFY(!Modified);
    QVERIFY(!form->Action(ActionId::FileSave)->isEnabled());
    QCOMPARE(Catalog->GetUndoCount(), 0);
    QCOMPARE(form->trvFolders->topLevelItemCount(), folders);
    QCOMPARE(ReadFile(Path("bookmarks.xml")), QByteArray(kCatalog));
    QVERIFY(m_boxes.isEmpty());
    // The catalogue's entries were written and the target's own were kept.
    TCatalog written;
    readBack(written, path, nullptr);
    // (Sorted: favourites come in the file system's order.)
    QStringList titles;
    for (const auto &folder : written.Folders()) {
        QStringList bookmarks = Titles(folder->Bookmarks());
        bookmarks.sort();
        titles << folder->Title() + ": " + bookmarks.join(' ');
    }
    titles.sort();
    QCOMPARE(titles, QStringList({"Elsewhere: x", "Reading: a b"}));
}

void TestExchangeCommands::importErrorEndsCommandInErrorBox()
{
    // Two folders, the second with a bookmark file that fails on the first read.
    const QString dir = Path("old");
    WriteFile(dir + "/folders.wnf", "First\r\nSecond\r\n");
    WriteFile(dir + "/folddesc.wnf", "");
    QDir().mkpath(dir + "/Links");
    QVERIFY(QFile::link("/proc/self/mem", dir + "/Links/Second.wnl"));
    auto form = NewForm();
    const int folders = form->trvFolders->topLevelItemCount();

    Trigger(*form, int(ActionId::ImportVarnokel1x), dir);

    QCOMPARE(m_boxes.size(), 1);
    QCOMPARE(m_boxes[0].Icon, QMessageBox::Critical);
    QVERIFY2(m_boxes[0].Text.contains(dir + "/Links/Second.wnl"), qPrintable(m_boxes[0].Text));
    QVERIFY(!m_boxes[0].Text.contains("[wait cursor]"));
    QVERIFY(QGuiApplication::overrideCursor() == nullptr);
    // The snapshot was taken and what came before the error stays; the rest of
    // the command did not run.
    QCOMPARE(Setting("Varnokel1Bookmarks"), dir);
    QCOMPARE(Catalog->GetUndoCount(), 1);
    QCOMPARE(Titles(Catalog->Folders()), QStringList({"Reading", "First", "Second"}));
    QVERIFY(!Modified);
    QCOMPARE(form->trvFolders->topLevelItemCount(), folders);
}

void TestExchangeCommands::dialogStartsAtSetting_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("directory"); // relative to the temporary folder
    QTest::addColumn<QString>("offered");   // the file name offered, if any
    QTest::newRow("open") << int(TChooserKind::OpenFile) << "place/b.html" << "place"
                          << "b.html";
    QTest::newRow("save, folder missing") << int(TChooserKind::SaveFile) << "gone/b.adr"
                                          << "home" << "b.adr";
    QTest::newRow("folder") << int(TChooserKind::Folder) << "place" << "place" << "";
    QTest::newRow("folder, none") << int(TChooserKind::Folder) << "" << "home" << "";
}

void TestExchangeCommands::dialogStartsAtSetting()
{
    QFETCH(int, kind);
    QFETCH(QString, start);
    QFETCH(QString, directory);
    QFETCH(QString, offered);
    QDir().mkpath(Path("place"));
    const TChooserKind chooser = TChooserKind(kind);
    const QString filter = chooser == TChooserKind::Folder ? QString() : kOperaFilter;
    QString seen;
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        poll.stop();
        const bool folder = dialog->fileMode() == QFileDialog::Directory;
        seen = QStringList{dialog->directory().absolutePath(),
                           dialog->selectedFiles().value(0).section('/', -1),
                           folder ? QString() : dialog->nameFilters().join(";;"),
                           QString::number(dialog->acceptMode() == QFileDialog::AcceptSave),
                           QString::number(folder),
                           QString::number(dialog->testOption(QFileDialog::DontConfirmOverwrite)),
                           dialog->defaultSuffix()}
                   .join('|');
        dialog->reject();
    });
    poll.start(10);
    SetFileChooserAnswerer({});
    const QString chosen = ShowFileChooser(
        nullptr, {chooser, start.isEmpty() ? QString() : Path(start), filter, QString()});
    InstallAnswerers();

    QCOMPARE(chosen, QString());
    const bool isFolder = chooser == TChooserKind::Folder;
    const QStringList expected = {
        Path(directory),
        offered.isEmpty() ? QFileInfo(Path(directory)).fileName() : offered,
        isFolder ? QString() : kOperaFilter + ";;All files (*)",
        QString::number(chooser == TChooserKind::SaveFile),
        QString::number(isFolder),
        QString::number(!isFolder),
        QString()};
    QCOMPARE(seen, expected.join('|'));
}

QTEST_MAIN(TestExchangeCommands)
#include "tst_exchangecommands.moc"
