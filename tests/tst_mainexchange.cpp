// The File menu's imports and exports, driven through their actions with the
// choosers answered: where each chooser starts, what it stores, one undo step
// per import, exports that leave the catalogue alone, and errors in the box.
#include "CatalogTree.h"
#include "MainWindowFixture.h"
#include "catalogue/Catalog.h"
#include "program/FileChooser.h"
#include "settings/Preferences.h"

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

using Rec = TPreferencesRec;
const Command kCommands[] = {
    {"ImportVarnokel1x", ActionId::ImportVarnokel1x, &Rec::Varnokel1Bookmarks, TChooserKind::Folder},
    {"ImportIE", ActionId::ImportIE, &Rec::IEFavoritesLocation, TChooserKind::Folder},
    {"ImportFirefox", ActionId::ImportFirefox, &Rec::FirefoxBookmarksLocation,
     TChooserKind::OpenFile, kFirefox},
    {"ImportOpera", ActionId::ImportOpera, &Rec::OperaHotlistLocation, TChooserKind::OpenFile, kOpera},
    {"ExportIE", ActionId::ExportIE, &Rec::IEFavoritesLocation, TChooserKind::Folder},
    {"ExportFirefox", ActionId::ExportFirefox, &Rec::FirefoxBookmarksLocation,
     TChooserKind::SaveFile, kFirefox},
    {"ExportOpera", ActionId::ExportOpera, &Rec::OperaHotlistLocation, TChooserKind::SaveFile, kOpera},
};

} // namespace

class TestMainExchange : public QObject
{
    Q_OBJECT
    MainWindowFixture m;
    QList<FileChooserRequest> m_requests;
    QString m_choice;

    // The command chosen from the menu, its chooser answered with `choice`.
    void Run(int command, const QString &choice)
    {
        m_choice = choice;
        m_requests.clear();
        m.Form->Action(kCommands[command].Id)->trigger();
        QCOMPARE(m_requests.size(), 1);
        QVERIFY(!QGuiApplication::overrideCursor()); // the wait cursor has gone
    }
    QString &Setting(int command) { return Prefs->Rec().*kCommands[command].Setting; }
    // The window as the commands leave it: the tree and the first disabled actions.
    QString Shown() const { return m.Tree() + " / " + m.Disabled().section(' ', 0, 1); }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        m.AnswerBoxes();
        SetFileChooserAnswerer([this](const FileChooserRequest &request) {
            m_requests.append(request);
            return m_choice;
        });
    }
    void init()
    {
        m.Boxes.clear();
        m.Write("bookmarks.xml", kCatalog);
        qputenv("HOME", QFile::encodeName(m.Path("home")));
        QVERIFY(m.Open());
    }
    void cleanup() { m.Close(); }

    void cancelChangesNothing_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<bool>("exists");
        for (int c = 0; c < int(std::size(kCommands)); ++c)
            QTest::addRow("%s", kCommands[c].Name) << c << false;
        QTest::addRow("ImportIE, the folder there") << 1 << true;
        QTest::addRow("ExportOpera, the file there") << 6 << true;
    }
    void cancelChangesNothing()
    {
        QFETCH(int, command);
        QFETCH(bool, exists);
        const Command &c = kCommands[command];
        const bool folder = c.Kind == TChooserKind::Folder;
        const QString start = m.Path(folder ? "place" : "place/file.x");
        if (exists)
            m.Write("place/file.x", "old");
        Setting(command) = start;
        Run(command, QString());
        // Only a folder setting that names no folder is emptied, before the chooser.
        const QString expected = folder && !exists ? QString() : start;
        QCOMPARE(m_requests[0].Kind, c.Kind);
        QCOMPARE(m_requests[0].Start + " | " + m_requests[0].Filter, expected + " | " + c.Filter);
        QCOMPARE(Setting(command), expected);
        QCOMPARE(Shown(), QString("Reading* / FileSave EditUndo"));
        QCOMPARE(QDir(m.Path("place")).entryList(QDir::Files), exists ? QStringList{"file.x"}
                                                                     : QStringList{});
        QVERIFY(m.Read("bookmarks.xml") == kCatalog && m.Boxes.isEmpty());
    }

    void importThenExport_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("source"); // none: a favourites folder
        QTest::addColumn<QString>("tree");
        QTest::addColumn<QString>("target"); // where the export goes, none: no export
        QTest::addColumn<QByteArray>("existing"); // what the target holds: the folder Elsewhere
        QTest::newRow("Varnokel 1.x") << 0 << VK_TEST_DATA "/varnokel1x"
                                      << "Reading* News[Local[Cafés] World] Hobbies" << ""
                                      << QByteArray();
        QTest::newRow("Internet Explorer") << 1 << "" << "Reading* Favorites Work" << "out"
                                           << QByteArray("[InternetShortcut]\r\nURL=http://x/");
        QTest::newRow("Firefox") << 2 << VK_TEST_DATA "/firefox.html"
                                 << "Reading* Bookmarks Menu Bookmarks Toolbar[Tools] Other Bookmarks"
                                 << "out.html"
                                 << QByteArray("<DL><p>\n<DT><H3>Elsewhere</H3>\n<DL><p>\n"
                                               "<DT><A HREF=\"http://x/\">x</A>\n</DL><p>\n");
        QTest::newRow("Opera") << 3 << VK_TEST_DATA "/opera6.adr"
                               << "Reading* opera6 Opera[ Café & Co] Trash" << "out.adr"
                               << QByteArray("#FOLDER\nNAME=Elsewhere\n#URL\nNAME=x\nURL=http://x/");
    }
    // The import is one undo step; the export starts where the import's choice
    // was, merges what the target held, and leaves the catalogue and its flags.
    void importThenExport()
    {
        QFETCH(int, command);
        QFETCH(QString, source);
        QFETCH(QString, target);
        QFETCH(QByteArray, existing);
        if (source.isEmpty()) {
            m.Write("Favorites/Loose.url", "[InternetShortcut]\r\nURL=http://mail/\r\n");
            m.Write("Favorites/Work/Mail.url", "[InternetShortcut]\r\nURL=http://mail/\r\n");
            source = m.Path("Favorites");
        }
        Run(command, source);
        QCOMPARE(Setting(command), source);
        QTEST(m.Tree(), "tree");
        QCOMPARE(m.Disabled().section(' ', 0, 1), QString("EditRedo EditPaste"));
        m.Type(QKeySequence::Undo);
        QCOMPARE(Shown(), QString("Reading* / EditUndo EditPaste"));
        if (target.isEmpty())
            return;
        const int exportCommand = command + 3;
        Run(exportCommand, QString());
        QCOMPARE(m_requests[0].Start, source);
        m.Write(command == 1 ? target + "/Elsewhere/x.url" : target, existing);
        Run(exportCommand, m.Path(target)); // a name without an extension stays as it is
        QCOMPARE(Setting(exportCommand), m.Path(target));
        QCOMPARE(Shown(), QString("Reading* / EditUndo EditPaste"));
        // The catalogue went out beside what the target held.
        const QString out = command == 1 ? QDir(m.Path(target)).entryList().join(' ')
                                         : QString::fromUtf8(m.Read(target));
        QVERIFY2(out.contains("Reading") && out.contains("Elsewhere"), qPrintable(out));
        Run(command, QString());
        QVERIFY(m_requests[0].Start == m.Path(target) && m.Boxes.isEmpty());
    }

    void importErrorEndsTheCommandInTheErrorBox()
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
        QCOMPARE(Shown(), QString("Reading* / FileSave EditUndo"));
    }
};

QTEST_MAIN(TestMainExchange)
#include "tst_mainexchange.moc"
