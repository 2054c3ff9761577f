// The File menu's imports and exports, driven through their actions with the
// choosers answered: where each chooser starts, what it stores, one undo step
// per import, exports that leave the catalogue alone, and errors in the box.
#include "CatalogTree.h"
#include "MainWindowFixture.h"
#include "catalogue/Catalog.h"
#include "exchange/Favorites.h"
#include "exchange/Netscape.h"
#include "exchange/Opera.h"
#include "program/FileChooser.h"
#include "settings/Preferences.h"

#include <QFileDialog>
#include <QStandardPaths>
#include <QtTest>

namespace {

const char kCatalog[] = "<varnokel_file><folder><title>Reading</title><selected>-1</selected>"
                        "<bookmark><title>b</title><address>http://b</address></bookmark>"
                        "<bookmark><title>a</title><address>http://a</address></bookmark>"
                        "</folder></varnokel_file>";

const QString kFirefox = QStringLiteral("Firefox Bookmarks (*.html)");
const QString kOpera = QStringLiteral("Opera Hotlist (*.adr)");

struct Command
{
    const char *Name;
    ActionId Id;
    QString TPreferencesRec::*Setting;
    TChooserKind Kind;
    QString Filter;
};

const Command kCommands[] = {
    {"ImportVarnokel1x", ActionId::ImportVarnokel1x, &TPreferencesRec::Varnokel1Bookmarks, TChooserKind::Folder, {}},
    {"ImportIE", ActionId::ImportIE, &TPreferencesRec::IEFavoritesLocation, TChooserKind::Folder, {}},
    {"ImportFirefox", ActionId::ImportFirefox, &TPreferencesRec::FirefoxBookmarksLocation, TChooserKind::OpenFile,
     kFirefox},
    {"ImportOpera", ActionId::ImportOpera, &TPreferencesRec::OperaHotlistLocation, TChooserKind::OpenFile, kOpera},
    {"ExportIE", ActionId::ExportIE, &TPreferencesRec::IEFavoritesLocation, TChooserKind::Folder, {}},
    {"ExportFirefox", ActionId::ExportFirefox, &TPreferencesRec::FirefoxBookmarksLocation, TChooserKind::SaveFile,
     kFirefox},
    {"ExportOpera", ActionId::ExportOpera, &TPreferencesRec::OperaHotlistLocation, TChooserKind::SaveFile, kOpera},
};

} // namespace

class TestMainExchange : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup() { m.Close(); }

    void cancelChangesNothing_data();
    void cancelChangesNothing();
    void choiceStoredAndOfferedBothWays_data();
    void choiceStoredAndOfferedBothWays();
    void importIsOneUndoStep_data();
    void importIsOneUndoStep();
    void exportMergesTheTargetAndLeavesTheCatalogue_data();
    void exportMergesTheTargetAndLeavesTheCatalogue();
    void importErrorEndsTheCommandInTheErrorBox();
    void chooserStartsAtTheSetting_data();
    void chooserStartsAtTheSetting();

private:
    void InstallChooser();
    // The command chosen from the menu, its chooser answered with `choice`.
    void Run(int command, const QString &choice);
    QString &Setting(int command) { return Prefs->Rec().*kCommands[command].Setting; }
    // A favourites folder: a shortcut directly in it and Work/Mail.url.
    QString Favorites();

    MainWindowFixture m;
    QList<FileChooserRequest> m_requests;
    QString m_choice;
};

void TestMainExchange::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    m.AnswerBoxes();
    InstallChooser();
}

void TestMainExchange::InstallChooser()
{
    SetFileChooserAnswerer([this](const FileChooserRequest &request) {
        m_requests.append(request);
        return m_choice;
    });
}

void TestMainExchange::init()
{
    m.Boxes.clear();
    m.Write("bookmarks.xml", kCatalog);
    qputenv("HOME", QFile::encodeName(m.Path("home")));
    QDir().mkpath(m.Path("home"));
    QVERIFY(m.Open());
}

void TestMainExchange::Run(int command, const QString &choice)
{
    m_choice = choice;
    m_requests.clear();
    m.Form->Action(kCommands[command].Id)->trigger();
    QCOMPARE(m_requests.size(), 1);
    QVERIFY(!QGuiApplication::overrideCursor()); // the wait cursor has gone
}

QString TestMainExchange::Favorites()
{
    m.Write("Favorites/Loose.url", "[InternetShortcut]\r\nURL=http://mail/\r\n");
    m.Write("Favorites/Work/Mail.url", "[InternetShortcut]\r\nURL=http://mail/\r\n");
    return m.Path("Favorites");
}

void TestMainExchange::cancelChangesNothing_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<bool>("startExists");
    for (int c = 0; c < int(std::size(kCommands)); ++c)
        for (bool exists : {true, false})
            QTest::addRow("%s%s", kCommands[c].Name, exists ? "" : ", start missing") << c << exists;
}

void TestMainExchange::cancelChangesNothing()
{
    QFETCH(int, command);
    QFETCH(bool, startExists);
    const Command &c = kCommands[command];
    const bool folder = c.Kind == TChooserKind::Folder;
    const QString start = m.Path(folder ? "place" : "place/file.x");
    if (startExists)
        m.Write("place/file.x", "old");
    Setting(command) = start;
    Run(command, QString());
    // Only a folder setting that names no folder is emptied, before the chooser.
    const QString expected = folder && !startExists ? QString() : start;
    QCOMPARE(m_requests[0].Kind, c.Kind);
    QCOMPARE(m_requests[0].Start + " | " + m_requests[0].Filter, expected + " | " + c.Filter);
    QCOMPARE(Setting(command), expected);
    QCOMPARE(m.Tree() + " / " + m.Disabled().section(' ', 0, 1), QString("Reading* / FileSave EditUndo"));
    QCOMPARE(QDir(m.Path("place")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
             startExists ? QStringList{"file.x"} : QStringList{});
    QCOMPARE(m.Read("bookmarks.xml"), QByteArray(kCatalog));
    QVERIFY(m.Boxes.isEmpty());
}

void TestMainExchange::choiceStoredAndOfferedBothWays_data()
{
    QTest::addColumn<int>("import");
    QTest::addColumn<QString>("source");
    QTest::newRow("Firefox") << 2 << VK_TEST_DATA "/firefox.html";
    QTest::newRow("Opera") << 3 << VK_TEST_DATA "/opera6.adr";
    QTest::newRow("Internet Explorer") << 1 << QString();
}

void TestMainExchange::choiceStoredAndOfferedBothWays()
{
    QFETCH(int, import);
    QFETCH(QString, source);
    const int exportCommand = import + 3;
    const bool folder = source.isEmpty();
    if (folder)
        source = Favorites();
    const QString target = m.Path(folder ? "Exported" : "exported");
    if (folder)
        QDir().mkpath(target);
    Run(import, source);
    QCOMPARE(Setting(import), source);
    Run(exportCommand, QString());
    QCOMPARE(m_requests[0].Start, source);
    Run(exportCommand, target);
    QCOMPARE(Setting(exportCommand), target);
    QVERIFY(QFileInfo::exists(target)); // a name typed without an extension is the name written
    Run(import, QString());
    QCOMPARE(m_requests[0].Start, target);
    QVERIFY(m.Boxes.isEmpty());
}

void TestMainExchange::importIsOneUndoStep_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("tree");
    QTest::newRow("Varnokel 1.x") << 0 << VK_TEST_DATA "/varnokel1x"
                                  << "Reading* News[Local[Cafés] World] Hobbies";
    QTest::newRow("Internet Explorer") << 1 << QString() << "Reading* Favorites Work";
    QTest::newRow("Firefox") << 2 << VK_TEST_DATA "/firefox.html"
                             << "Reading* Bookmarks Menu Bookmarks Toolbar[Tools] Other Bookmarks";
    QTest::newRow("Opera") << 3 << VK_TEST_DATA "/opera6.adr"
                           << "Reading* opera6 Opera[ Café & Co] Trash";
}

void TestMainExchange::importIsOneUndoStep()
{
    QFETCH(int, command);
    QFETCH(QString, source);
    QFETCH(QString, tree);
    if (source.isEmpty())
        source = Favorites();
    Run(command, source);
    QCOMPARE(Setting(command), source);
    QCOMPARE(m.Tree(), tree);
    QCOMPARE(m.Disabled().section(' ', 0, 1), QString("EditRedo EditPaste"));
    m.Type(QKeySequence::Undo);
    m.Type(QKeySequence::Save);
    QCOMPARE(m.Tree(), QString("Reading*"));
    QVERIFY(m.Read("bookmarks.xml").count("<bookmark>") == 2 && m.Boxes.isEmpty());
}

void TestMainExchange::exportMergesTheTargetAndLeavesTheCatalogue_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QByteArray>("existing"); // a file that holds the folder Elsewhere
    QTest::newRow("Firefox") << 5 << "out.html"
                             << QByteArray("<DL><p>\n<DT><H3>Elsewhere</H3>\n<DL><p>\n"
                                           "<DT><A HREF=\"http://x/\">x</A>\n</DL><p>\n</DL><p>\n");
    QTest::newRow("Opera") << 6 << "out.adr"
                           << QByteArray("#FOLDER\nNAME=Elsewhere\n#URL\nNAME=x\nURL=http://x/\n-\n");
    QTest::newRow("Internet Explorer") << 4 << "out"
                                       << QByteArray("[InternetShortcut]\r\nURL=http://x/\r\n");
}

void TestMainExchange::exportMergesTheTargetAndLeavesTheCatalogue()
{
    QFETCH(int, command);
    QFETCH(QString, target);
    QFETCH(QByteArray, existing);
    const QString path = m.Path(target);
    m.Write(command == 4 ? target + "/Elsewhere/x.url" : target, existing);
    Run(command, path);
    QCOMPARE(Setting(command), path);
    QCOMPARE(m.Tree() + " / " + m.Disabled().section(' ', 0, 1), QString("Reading* / FileSave EditUndo"));
    QCOMPARE(m.Read("bookmarks.xml"), QByteArray(kCatalog));
    // The catalogue's entries were written and the target's own were kept.
    TCatalog written;
    (command == 5 ? &ImportFirefox : command == 6 ? &ImportOpera : &ImportIE)(written, path, nullptr);
    QStringList titles; // sorted: favourites come in the file system's order
    for (const auto &folder : written.Folders()) {
        QStringList bookmarks = Titles(folder->Bookmarks());
        bookmarks.sort();
        titles << folder->Title() + ": " + bookmarks.join(' ');
    }
    titles.sort();
    QCOMPARE(titles, QStringList({"Elsewhere: x", "Reading: a b"}));
    QVERIFY(m.Boxes.isEmpty());
}

void TestMainExchange::importErrorEndsTheCommandInTheErrorBox()
{
    // Two folders, the second with a bookmark file that fails on the first read.
    m.Write("old/folders.wnf", "First\r\nSecond\r\n");
    m.Write("old/folddesc.wnf", "");
    QDir().mkpath(m.Path("old/Links"));
    QVERIFY(QFile::link("/proc/self/mem", m.Path("old/Links/Second.wnl")));
    Run(0, m.Path("old"));
    QCOMPARE(m.Boxes.size(), 1);
    QCOMPARE(m.Boxes[0].Icon, QMessageBox::Critical);
    QVERIFY2(m.Boxes[0].Text.contains(m.Path("old/Links/Second.wnl")), qPrintable(m.Boxes[0].Text));
    // The snapshot was taken and what came before the error stays; the rest of
    // the command did not run: no rebuild, no Modified.
    QCOMPARE(Setting(0), m.Path("old"));
    QCOMPARE(Titles(Catalog->Folders()), QStringList({"Reading", "First", "Second"}));
    QCOMPARE(m.Tree() + " / " + m.Disabled().section(' ', 0, 1), QString("Reading* / FileSave EditUndo"));
}

void TestMainExchange::chooserStartsAtTheSetting_data()
{
    QTest::addColumn<TChooserKind>("kind");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("shown"); // folder | name offered | filters | save | folders only
    QTest::newRow("open") << TChooserKind::OpenFile << "place/b.html"
                          << "place|b.html|" + kOpera + ";;All files (*)|0|0";
    QTest::newRow("save, folder missing") << TChooserKind::SaveFile << "gone/b.adr"
                                          << "home|b.adr|" + kOpera + ";;All files (*)|1|0";
    QTest::newRow("folder") << TChooserKind::Folder << "place" << "place|place||0|1";
    QTest::newRow("folder, none") << TChooserKind::Folder << "" << "home|home||0|1";
}

// The dialog itself, as the choosers show it: no question before overwriting,
// no extension added.
void TestMainExchange::chooserStartsAtTheSetting()
{
    QFETCH(TChooserKind, kind);
    QFETCH(QString, start);
    QFETCH(QString, shown);
    QDir().mkpath(m.Path("place"));
    const bool folder = kind == TChooserKind::Folder;
    QString seen;
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        poll.stop();
        seen = QStringList{QDir(m.Path("")).relativeFilePath(dialog->directory().absolutePath()),
                           dialog->selectedFiles().value(0).section('/', -1),
                           folder ? QString() : dialog->nameFilters().join(";;"),
                           QString::number(dialog->acceptMode() == QFileDialog::AcceptSave),
                           QString::number(dialog->fileMode() == QFileDialog::Directory)}
                   .join('|');
        QVERIFY(folder || dialog->testOption(QFileDialog::DontConfirmOverwrite));
        QVERIFY(dialog->defaultSuffix().isEmpty());
        dialog->reject();
    });
    poll.start(10);
    SetFileChooserAnswerer({});
    const QString chosen = ShowFileChooser(
        nullptr, {kind, start.isEmpty() ? QString() : m.Path(start), folder ? QString() : kOpera});
    InstallChooser();
    QCOMPARE(chosen, QString());
    QCOMPARE(seen, shown);
}

QTEST_MAIN(TestMainExchange)
#include "tst_mainexchange.moc"
