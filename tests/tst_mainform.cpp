// The main window's life: the start from the stored settings and catalogue,
// the stored geometry at each activation, the close sequence with its question
// and what it writes, and the language on every text.
#include "CatalogTree.h"
#include "FailingAllocation.h"
#include "FileSizeLimit.h"
#include "MainWindowFixture.h"
#include "catalogue/Catalog.h"
#include "settings/Preferences.h"

#include <QHeaderView>
#include <QMenuBar>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QStatusBar>
#include <QToolBar>
#include <QtTest>

#include <optional>

namespace {

const char kCatalog[] = "<varnokel_file><folder><title>Reading</title><selected>-1</selected>"
                        "<bookmark><title>b</title><adddate>2007.03.05</adddate></bookmark>"
                        "<bookmark><title>a</title><adddate>2009.01.01</adddate></bookmark>"
                        "<bookmark><title>c</title><adddate>2001.01.01</adddate></bookmark>"
                        "</folder></varnokel_file>";

QString Geometry(const QWidget &w)
{
    return QString("%1 %2 %3 %4").arg(w.x()).arg(w.y()).arg(w.width()).arg(w.height());
}

} // namespace

class TestMainForm : public QObject
{
    Q_OBJECT
    MainWindowFixture m;
    QTemporaryDir m_state;

    // A folder copy pasted beside the highlighted folder: a change to save.
    void Change()
    {
        m.ClickNode("Reading");
        m.Type(QKeySequence::Copy);
        m.Type(QKeySequence::Paste);
    }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true); // the program key goes to a test store
        qputenv("XDG_STATE_HOME", m_state.path().toUtf8());
        m.AnswerBoxes();
    }
    void init() { m.Boxes.clear(); }
    void cleanup() { m.Close(); }

    void layoutKeptFromCloseToStart_data()
    {
        QTest::addColumn<bool>("maximized");
        QTest::addColumn<QString>("stored");
        QTest::newRow("normal") << false << "50 60 640 480 0 260 90 111 122 155 144 1 0 4 1";
        // Maximised, the normal geometry stays as it was.
        QTest::newRow("maximised") << true << "30 40 700 520 1 260 90 111 122 155 144 1 0 4 1";
    }
    void layoutKeptFromCloseToStart()
    {
        QFETCH(bool, maximized);
        m.Write("preferences.ini", "[MainForm]\r\nLeft=30\r\nTop=40\r\nWidth=700\r\nHeight=520\r\n"
                                   "TreeWidth=260\r\nDescrPaneHeight=90\r\nTitleColumnWidth=111\r\n"
                                   "AddressColumnWidth=122\r\nLastVisitColumnWidth=133\r\n"
                                   "AddDateColumnWidth=144\r\nShowToolbar=0\r\nSortType=4\r\n"
                                   "ReversedSort=1\r\nMaximized=" + QByteArray::number(maximized));
        m.Write("bookmarks.xml", kCatalog);
        QVERIFY(m.Open());
        TfrmMain &w = *m.Form;
        QHeaderView *columns = w.lvBookmarks->header();
        if (maximized) { // a maximised start once kept its content at the stored normal size
            QTRY_VERIFY(w.isMaximized());
            QTRY_VERIFY(w.centralWidget()->width() > w.screen()->availableGeometry().width() - 50);
        } else { // a dialog of the program comes and goes: the stored geometry comes back
            QCOMPARE(Geometry(w), QString("30 40 700 520"));
            w.setGeometry(50, 60, 640, 480);
            QDialog dialog(&w);
            dialog.show();
            QApplication::setActiveWindow(&dialog);
            QTRY_COMPARE(QApplication::activeWindow(), &dialog);
            dialog.close();
            QVERIFY(m.Activate());
            QCOMPARE(Geometry(w), QString("30 40 700 520"));
            w.move(50, 60);
            w.resize(640, 480);
        }
        QCOMPARE(QString("%1 %2 %3 %4 %5 %6").arg(w.trvFolders->width())
                     .arg(w.memDescription->height()).arg(columns->sectionSize(0))
                     .arg(columns->sectionSize(1)).arg(columns->sectionSize(2))
                     .arg(columns->sectionSize(3)),
                 QString("260 90 111 122 133 144"));
        QCOMPARE(Entries(w.menuBar()->actions()[2]->menu()),
                 QString("T&oolbar; &Status Bar [x]; -; Sort by &Title; Sort by &Address; "
                         "Sort by Last &Visit; Sort by Add &Date [x]; &Unsorted; -; "
                         "&Reversed Order [x]"));
        QCOMPARE(m.Rows() + " / " + w.lvBookmarks->model()->headerData(3, Qt::Horizontal).toString(),
                 QString(">a* b c / Add Date -")); // the newest first
        columns->resizeSection(2, 155);
        w.Action(ActionId::ViewToolbar)->trigger();
        w.Action(ActionId::ViewStatusBar)->trigger();
        QVERIFY(!w.MainToolbar->isHidden() && w.MainStatusBar->isHidden());
        w.Action(ActionId::FileExit)->trigger();
        QVERIFY(!w.isVisible());
        const QSettings ini(m.Path("preferences.ini"), QSettings::IniFormat);
        QStringList stored;
        for (const char *key : {"Left", "Top", "Width", "Height", "Maximized", "TreeWidth",
                                "DescrPaneHeight", "TitleColumnWidth", "AddressColumnWidth",
                                "LastVisitColumnWidth", "AddDateColumnWidth", "ShowToolbar",
                                "ShowStatusbar", "SortType", "ReversedSort"})
            stored << ini.value(QString("MainForm/") + key).toString();
        QTEST(stored.join(' '), "stored");
    }

    void storedPlaceKeptWithinTheScreen_data()
    {
        QTest::addColumn<QByteArray>("stored"); // [MainForm]
        QTest::addColumn<QString>("expected"); // x y width height; "" : within the screen
        QTest::newRow("largest numbers") << QByteArray("Width=2147483647\r\nHeight=2147483647\r\n"
                                                       "TreeWidth=2147483647\r\n"
                                                       "DescrPaneHeight=2147483647") << "";
        QTest::newRow("larger than any screen") << QByteArray("Width=20000\r\nHeight=20000") << "";
        QTest::newRow("maximised over the largest size")
            << QByteArray("Width=2147483647\r\nHeight=2147483647\r\nMaximized=1") << "";
        QTest::newRow("beyond the right and bottom edges")
            << QByteArray("Left=5000\r\nTop=4000\r\nWidth=500\r\nHeight=300") << "";
        QTest::newRow("before the left and top edges")
            << QByteArray("Left=-2147483648\r\nTop=-900\r\nWidth=500\r\nHeight=300") << "";
        QTest::newRow("negative size") << QByteArray("Width=-20\r\nHeight=-2147483648") << "";
        QTest::newRow("fits: as stored")
            << QByteArray("Left=30\r\nTop=40\r\nWidth=500\r\nHeight=300") << "30 40 500 300";
    }
    // A stored size of 2147483647 took 15 GB and hung the start. The window keeps
    // within the screen, also at each activation; the values read stay in the
    // settings until the close stores the window's own.
    void storedPlaceKeptWithinTheScreen()
    {
        QFETCH(QByteArray, stored);
        QFETCH(QString, expected);
        m.Write("preferences.ini", "[MainForm]\r\n" + stored);
        QVERIFY(m.Open());
        TfrmMain &w = *m.Form;
        const QRect screen = w.screen()->availableGeometry();
        const auto within = [&] {
            return screen.contains(w.frameGeometry())
                   && screen.contains(w.windowHandle()->frameGeometry());
        };
        QTRY_VERIFY(within());
        if (!expected.isEmpty())
            QCOMPARE(Geometry(w), expected);
        QDialog dialog(&w); // another window of the program comes and goes
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        QTRY_COMPARE(QApplication::activeWindow(), &dialog);
        dialog.close();
        QVERIFY(m.Activate());
        QTRY_VERIFY(within());
        QSettings ini(m.Path("preferences.ini"), QSettings::IniFormat);
        const QString read = QString::fromLatin1(stored).section("\r\n", 0, 0);
        QCOMPARE(read.section('=', 1).toInt(),
                 ini.value("MainForm/" + read.section('=', 0, 0)).toInt());
        QCOMPARE(Prefs->Rec().Width, ini.value("MainForm/Width", 679).toInt()); // as read
        const bool maximized = w.isMaximized();
        w.Action(ActionId::FileExit)->trigger();
        ini.sync();
        if (!maximized) {
            const auto value = [&ini](const char *key) {
                return ini.value(QString("MainForm/") + key).toInt();
            };
            const QRect shown(value("Left"), value("Top"), value("Width"), value("Height"));
            QVERIFY(screen.contains(shown));
        }
    }

    void brokenCatalogSkipsTheRestOfTheStart()
    {
        m.Write("preferences.ini", "[General]\r\nAutoSaveEvery=1\r\n[MainForm]\r\nShowToolbar=0");
        m.Write("bookmarks.xml", "<varnokel_file><folder>");
        m.Form = std::make_unique<TfrmMain>();
        QCOMPARE(m.Boxes.size(), 1);
        QVERIFY(m.Boxes[0].Text.contains("Line: 1") && m.Boxes[0].Icon == QMessageBox::Critical);
        QVERIFY(!m.Form->AutoSaveTimer->isActive() && !m.Form->TrayIcon->isVisible());
        // The designed layout, untranslated: "E&xit" where the built-in text is "&Exit".
        QCOMPARE(Entries(m.Form->menuBar()->actions()[2]->menu()).section("; ", 0, 3),
                 QString("T&oolbar [x]; &Status Bar [x]; -; Sort by &Title [x]"));
        QVERIFY(Entries(m.Form->menuBar()->actions()[0]->menu()).endsWith("; E&xit"));
    }

    void damagedCatalogKeptBeforeAnySave_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<long long>("failingFolder"); // whose allocation fails; 0: none
        QTest::addColumn<QString>("error"); // the first lines of the message
        QByteArray twoFolders = kCatalog;
        twoFolders.replace("</varnokel_file>",
                           "<folder><title>Later</title></folder></varnokel_file>");
        QTest::newRow("cut file") << QByteArray(kCatalog).chopped(30) << 0LL
                                  << "Start-end tags mismatch\nLine: 1";
        QTest::newRow("no memory") << twoFolders << 2LL << "Unable to load FILE: Out of memory";
    }
    // A cut file once gave an empty tree, and the next save replaced it for good. A
    // load out of memory kept the folders read, named no file and kept no copy.
    void damagedCatalogKeptBeforeAnySave()
    {
        QFETCH(QByteArray, input);
        QFETCH(long long, failingFolder);
        QFETCH(QString, error);
        m.Write("bookmarks.xml", input);
        {
            std::optional<AllocationFailure> failure;
            if (failingFolder)
                failure.emplace(failingFolder, sizeof(TFolder));
            m.Form = std::make_unique<TfrmMain>();
            QCOMPARE(failure && failure->Failed(), failingFolder > 0);
        }
        QCOMPARE(m.Boxes.size(), 1);
        const QString text = m.Boxes[0].Text;
        QCOMPARE(text.section('\n', 0, int(error.count('\n'))),
                 error.replace("FILE", m.Path("bookmarks.xml")));
        QCOMPARE(text.section('\n', -1),
                 "The file was kept as " + m.Path("bookmarks.xml.damaged") + ".");
        QVERIFY(Catalog->Folders().IsEmpty() && m.Tree().isEmpty());
        QVERIFY(m.Activate());
        m.Show("New");
        m.Form->FileSaveExecute();
        QVERIFY(m.Read("bookmarks.xml").contains("<title>New</title>"));
        QCOMPARE(m.Read("bookmarks.xml.damaged"), input);
    }

    void interruptedSaveRepairedAtStart_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("old");  // the copy an older version's save left
        QTest::addColumn<QByteArray>("torn"); // the file that save left
        QTest::addColumn<bool>("toolbar");
        QTest::newRow("catalogue") << "bookmarks.xml" << QByteArray(kCatalog)
                                   << QByteArray(kCatalog).replace(">a<", ">half<") << true;
        QTest::newRow("settings") << "preferences.ini" << QByteArray("[MainForm]\r\nShowToolbar=0")
                                  << QByteArray("[MainForm]\r\nShowToolbar=1\r\nWid") << false;
    }
    void interruptedSaveRepairedAtStart()
    {
        // A torn file that read well was loaded without a word, and the next save
        // wrote it for good.
        QFETCH(QString, name);
        QFETCH(QByteArray, old);
        QFETCH(QByteArray, torn);
        qputenv("XDG_STATE_HOME", QFile::encodeName(m.Path("state")));
        m.Write(name, torn);
        m.Write("state/varnokel/" + name + ".before-save", old);
        if (name != "bookmarks.xml")
            m.Write("bookmarks.xml", kCatalog);
        const bool opened = m.Open();
        qputenv("XDG_STATE_HOME", m_state.path().toUtf8());
        QVERIFY(opened);
        QCOMPARE(m.Boxes.size(), 1);
        QCOMPARE(m.Boxes[0].Icon, QMessageBox::Warning);
        QCOMPARE(m.Boxes[0].Text, "The last save of " + m.Path(name) + " did not end: the file as "
                                  "it was before that save was put back, and the unfinished file "
                                  "was kept as " + m.Path(name + ".damaged") + ".");
        QCOMPARE(m.Read(name), old);
        QCOMPARE(m.Read(name + ".damaged"), torn);
        QVERIFY(!QFile::exists(m.Path("state/varnokel/" + name + ".before-save")));
        QVERIFY(!m.Rows().contains("half") && m.Rows().contains("a"));
        QTEST(m.Form->MainToolbar->isVisible(), "toolbar");
    }

    // A settings file whose interrupted save cannot be repaired is not read, and the
    // user is told why.
    void unrepairedSettingsNotRead()
    {
        qputenv("XDG_STATE_HOME", QFile::encodeName(m.Path("state")));
        const QByteArray torn = "[MainForm]\r\nShowToolbar=0\r\nWid";
        m.Write("preferences.ini", torn);
        m.Write("bookmarks.xml", kCatalog);
        const QString copy = m.Path("state/varnokel/preferences.ini.before-save");
        QVERIFY(QDir().mkpath(copy)); // no file: the old contents cannot be read
        const bool opened = m.Open();
        qputenv("XDG_STATE_HOME", m_state.path().toUtf8());
        QVERIFY(QDir(copy).removeRecursively());
        QVERIFY(opened);
        QCOMPARE(m.Boxes.size(), 1);
        QCOMPARE(m.Boxes[0].Icon, QMessageBox::Critical);
        QVERIFY2(m.Boxes[0].Text.startsWith("The last save of " + m.Path("preferences.ini")
                                            + " did not end, and it could not be repaired: "),
                 qPrintable(m.Boxes[0].Text));
        QVERIFY(m.Boxes[0].Text.endsWith(" kept in " + copy + "."));
        QCOMPARE(m.Read("preferences.ini"), torn);
        QVERIFY(m.Form->MainToolbar->isVisible()); // the default, not the torn file's
        QVERIFY(m.Rows().contains("a"));
    }

    // A second document element was once dropped, and the next save lost it.
    void notWellFormedCatalogKept()
    {
        const QByteArray twoRoots = "<varnokel_file>\r\n  <folder><title>A</title></folder>\r\n"
                                    "</varnokel_file>\r\n<varnokel_file/>\r\n";
        m.Write("bookmarks.xml", twoRoots);
        m.Form = std::make_unique<TfrmMain>();
        QCOMPARE(m.Boxes.size(), 1);
        QCOMPARE(m.Boxes[0].Text,
                 "More than one document element\nLine: 4\n<varnokel_file/>\nThe file was kept as "
                     + m.Path("bookmarks.xml.damaged") + ".");
        QCOMPARE(m.Boxes[0].Icon, QMessageBox::Critical);
        QCOMPARE(Catalog->Folders().Count(), 0);
        QCOMPARE(m.Read("bookmarks.xml.damaged"), twoRoots);
    }

    void closeAsksAboutChanges_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<bool>("change");
        QTest::addColumn<QMessageBox::StandardButton>("answer");
        QTest::addColumn<QString>("after"); // closed? catalogue saved? settings written?
        const auto cancel = QMessageBox::Cancel;
        QTest::newRow("Yes") << QByteArray() << true << QMessageBox::Yes << "closed saved written";
        QTest::newRow("No") << QByteArray() << true << QMessageBox::No << "closed - written";
        QTest::newRow("Cancel") << QByteArray() << true << cancel << "open - -";
        QTest::newRow("saved on exit")
            << QByteArray("[Start/Exit]\r\nAotoSaveOnExit=1\r\n[General]\r\nAutoSaveEvery=1")
            << true << cancel << "closed saved written";
        QTest::newRow("unchanged") << QByteArray() << false << cancel << "closed - written";
    }
    void closeAsksAboutChanges()
    {
        QFETCH(QByteArray, ini);
        QFETCH(bool, change);
        QFETCH(QMessageBox::StandardButton, answer);
        QSettings key(QSettings::NativeFormat, QSettings::UserScope, "Quorvane", "Varnokel PRO");
        key.clear();
        key.sync();
        m.Write("preferences.ini", ini);
        m.Write("bookmarks.xml", kCatalog);
        QVERIFY(m.Open());
        if (change)
            Change();
        m.Answer = answer;
        const bool closed = m.Form->close();
        QTEST(QStringList({closed ? "closed" : "open",
                           m.Read("bookmarks.xml").count("Reading") == 2 ? "saved" : "-",
                           m.Read("preferences.ini").contains("Left=") ? "written" : "-"})
                  .join(' '),
              "after");
        const bool asked = change && ini.isEmpty();
        QCOMPARE(m.Boxes.size(), int(asked));
        if (asked) {
            const MessageBoxRequest &box = m.Boxes[0];
            QCOMPARE(box.Text + " / " + box.Caption, QString("Save changes? / Varnokel PRO"));
            QCOMPARE(box.Buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            QCOMPARE(box.Icon, QMessageBox::Question);
        }
        QCOMPARE(Modified, change); // the close's saves leave it
        // A closed window stops its timers, takes its icon away and names itself and its file.
        QCOMPARE(m.Form->AutoSaveTimer->isActive() || m.Form->MinimizeTimer->isActive()
                     || m.Form->TrayIcon->isVisible(), !closed);
        key.sync();
        QCOMPARE(key.value("Catalog Path").toString() + " " + key.value("Application Path").toString(),
                 closed ? AppDir + "bookmarks.xml " + QCoreApplication::applicationFilePath() : " ");
    }

    void failedSaveKeepsTheWindowAndTheOldFile()
    {
        m.Write("bookmarks.xml", kCatalog);
        QVERIFY(m.Open());
        for (int i = 0; i < 20; ++i)
            Change();
        m.Answer = QMessageBox::Yes;
        {
            FileSizeLimit limit(sizeof(kCatalog) + 10);
            QVERIFY(!m.Form->close());
        }
        QCOMPARE(m.Boxes.size(), 2); // the question, then the error
        QCOMPARE(m.Boxes[1].Icon, QMessageBox::Critical);
        QVERIFY2(m.Boxes[1].Text.contains("bookmarks.xml"), qPrintable(m.Boxes[1].Text));
        QCOMPARE(m.Read("bookmarks.xml"), QByteArray(kCatalog));
        QVERIFY(!QFile::exists(m.Path("preferences.ini")) && Modified && m.Form->isVisible());
    }

    void failedSettingsWriteStillCloses()
    {
        // Once a program whose folder took no settings file could not be closed at all.
        const QByteArray old = "[Custom]\r\nKeep=1\r\n";
        m.Write("preferences.ini", old);
        QVERIFY(m.Open());
        {
            FileSizeLimit limit(old.size());
            QVERIFY(m.Form->close());
        }
        // Once, and before the program key (whose store the limit fails too).
        QVERIFY(!m.Boxes.isEmpty());
        QVERIFY2(m.Boxes[0].Text.startsWith("Unable to write to " + m.Path("preferences.ini")),
                 qPrintable(m.Boxes[0].Text));
        for (qsizetype i = 1; i < m.Boxes.size(); ++i)
            QVERIFY(!m.Boxes[i].Text.contains("preferences.ini"));
        QCOMPARE(m.Read("preferences.ini"), old);
    }

    void saveLeftoversRemovedAtStart()
    {
        // Once the user's "bookmarks.xml.backup" went as a leftover of a save.
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m.Path("config")));
        qputenv("XDG_STATE_HOME", QFile::encodeName(m.Path("state")));
        const QStringList ours = {".preferences.ini.vk-save-a1B2c3",
                                  ".bookmarks.xml.vk-save-Zz9yY8", ".vk-probe-x1Y2z3",
                                  "config/autostart/.varnokel.desktop.vk-save-000000",
                                  "state/varnokel/.bookmarks.xml.before-save.vk-save-AbCdEf"};
        const QStringList theirs = {"bookmarks.xml.bak", "preferences.ini.12345",
                                    "bookmarks.xml.backup", "preferences.ini.backup",
                                    "bookmarks.xml.abc123"};
        for (const QString &name : ours + theirs)
            m.Write(name, "half a save");
        const bool opened = m.Open();
        qunsetenv("XDG_CONFIG_HOME");
        qunsetenv("XDG_STATE_HOME");
        QVERIFY(opened);
        for (const QString &name : ours + theirs)
            QVERIFY2(QFile::exists(m.Path(name)) == theirs.contains(name), qPrintable(name));
    }

    void treeSelectionByKeysSurvivesRestart()
    {
        // The file once marked the folder the user was on before the last key press.
        QVERIFY(m.Open());
        m.Show("A B C");
        m.ClickNode("A");
        QTest::keyClick(m.Form->trvFolders, Qt::Key_Down);
        QTest::keyClick(m.Form->trvFolders, Qt::Key_Down);
        m.Form->FileSaveExecute(); // as Save does after some change
        QVERIFY(m.Open());
        QCOMPARE(m.Tree(), QString("A B C*"));
    }

    void statusPanelsNeverOverlap_data()
    {
        QTest::addColumn<int>("width"); // 0: the window's least width
        QTest::newRow("the stored default width") << 679;
        QTest::newRow("the least width") << 0;
        QTest::newRow("wide") << 1400;
    }
    // A long folder or bookmark title is cut, never a count: at the default width
    // the folder's title once covered "Folders:1234". No panel covers another.
    void statusPanelsNeverOverlap()
    {
        QFETCH(int, width);
        QVERIFY(m.Open());
        QCOMPARE(m.Form->width(), 679);
        TFolder *folder = AddFolder(Catalog->Folders(), QString(40, 'F') + " end");
        for (int i = 0; i < 1234; ++i)
            AddFolder(folder->Folders(), "sub");
        AddBookmark(folder->Bookmarks(), QString(60, 'B') + " end");
        folder->SetSelected(true);
        m.Form->RebuildFolderTree();
        if (width != 679)
            m.Form->resize(width, m.Form->height());
        QTRY_COMPARE(m.Form->width(), width ? width : m.Form->minimumWidth());
        QTRY_COMPARE(m.Form->MainStatusBar->width(), m.Form->width());
        QCOMPARE(m.Status().section('|', 0, 3), folder->Title() + '|' + QString(60, 'B')
                                                    + " end|Folders:1234|Bookmarks:1");
        QStringList faults;
        const QRect bar = m.Form->MainStatusBar->rect();
        for (int i = 0; i < 5; ++i) {
            const TStatusPanel *panel = m.Form->StatusPanel[i];
            const QRect place(panel->mapTo(m.Form->MainStatusBar, QPoint()), panel->size());
            if (!panel->isVisible() || !bar.contains(place))
                faults << QString("panel %1 not whole in the bar").arg(i);
            if (i < 4 && place.right() >= m.Form->StatusPanel[i + 1]->mapTo(
                             m.Form->MainStatusBar, QPoint()).x())
                faults << QString("panel %1 on panel %2").arg(i).arg(i + 1);
        }
        for (int i : {2, 3})
            if (m.Form->StatusPanel[i]->width() < m.Form->StatusPanel[i]->WidthFor(
                    m.Form->StatusPanel[i]->text().replace("1234", "1234567")))
                faults << QString("count %1 clipped").arg(i);
        QCOMPARE(faults, QStringList());
    }

    // Hints are tool tips only: a status tip blanked all five panels while the
    // pointer rested on a menu entry.
    void menuEntriesLeaveTheStatusPanels()
    {
        QVERIFY(m.Open());
        m.Show("A:2", "A");
        for (const QAction *action : m.Form->Actions())
            QVERIFY2(action->statusTip().isEmpty(), qPrintable(action->objectName()));
        Modified = true; // Save enabled, so the keys stop on it
        m.Form->UpdateActionStates();
        QMenu *file = m.Form->menuBar()->actions()[0]->menu();
        file->popup(m.Form->mapToGlobal(QPoint(10, 10)));
        QVERIFY(QTest::qWaitForWindowExposed(file));
        QTest::keyClick(file, Qt::Key_Down); // onto its first entry
        QTRY_COMPARE(file->activeAction(), m.Form->Action(ActionId::FileSave));
        QCOMPARE(m.Form->MainStatusBar->currentMessage(), QString());
        for (const TStatusPanel *panel : m.Form->StatusPanel)
            QVERIFY(panel->isVisible());
        QCOMPARE(m.Status(), QString("A|a0|Folders:0|Bookmarks:2|Description: "));
        file->close();
    }

    // The program's icon is the theme's bookmarks; it was the theme's "user", a
    // person, when the theme lacked "user-bookmarks".
    void programIconIsABookmark()
    {
        // A desktop's icon folders and theme, and the theme the program falls back to.
        const QStringList paths = QIcon::themeSearchPaths();
        const QString theme = QIcon::themeName();
        const QString fallback = QIcon::fallbackThemeName();
        QStringList icons;
        for (const QString &data :
             qEnvironmentVariable("XDG_DATA_DIRS", "/usr/local/share:/usr/share").split(':'))
            icons << data + "/icons";
        QIcon::setThemeSearchPaths(paths + icons);
        QIcon::setThemeName("hicolor");
        QIcon::setFallbackThemeName("breeze");
        // Theme icons follow the theme: each image is taken before it is put back.
        const auto image = [](const QIcon &icon) { return icon.pixmap(32, 32).toImage(); };
        const QImage bookmarks = image(QIcon::fromTheme("bookmarks"));
        const QImage user = image(QIcon::fromTheme("user"));
        const bool open = m.Open();
        const QImage shown = image(m.Form->windowIcon());
        QIcon::setThemeSearchPaths(paths);
        QIcon::setThemeName(theme);
        QIcon::setFallbackThemeName(fallback);
        QVERIFY(open);
        if (bookmarks.isNull() || user.isNull())
            QSKIP("the breeze icon theme is not installed");
        QVERIFY(shown != user);
        QCOMPARE(shown, bookmarks);
    }

    // A language file names every text; a second one that lacks keys leaves the
    // texts of the first; the caption is always the program's.
    void languageOnEveryText()
    {
        m.Write("languages/de.ini",
                "[frmMain]\r\nCaption=Anders\r\nmnuFile=&Datei\r\nmnuEdit=&Bearbeiten\r\n"
                "mnuView=&Ansicht\r\nmnuTools=E&xtras\r\nmnuHelp=&Hilfe\r\nmnuImport=&Einlesen\r\n"
                "mnuExport=&Ausgeben\r\nFileSave=&Spei&chern\r\nEditDelete=Entfernen\r\n"
                "lvBookmarksTitleColumn=Titel\r\nlvBookmarksAddressColumn=Adresse\r\n"
                "lvBookmarksLastVisitColumn=Besuch\r\nlvBookmarksAddDateColumn=Neu\r\n"
                "MainStatusBar2=Ordner:\r\nMainStatusBar3=Lesezeichen insgesamt:\r\n"
                "memDescription=Beschreibung:\r\n");
        m.Write("languages/fr.ini", "[frmMain]\r\nEditDelete=Supprimer\r\n");
        m.Write("preferences.ini", "[MainForm]\r\nSortType=2\r\n[Language]\r\nLanguageFile=de.ini");
        QVERIFY(m.Open());
        m.Show("A:2(A1 A2)", "A");
        const auto texts = [this] {
            QStringList t{m.Form->windowTitle()};
            const QList<QAction *> menus = m.Form->menuBar()->actions();
            for (const QAction *menu : menus)
                t << menu->text();
            for (int i : {0, 2, 3}) // Save, Import, Export
                t << menus[0]->menu()->actions()[i]->text();
            for (int c = 0; c < 4; ++c)
                t << m.Form->lvBookmarks->model()->headerData(c, Qt::Horizontal).toString();
            for (int i : {0, 5})
                t << m.Form->MainToolbar->actions()[i]->toolTip();
            return t.join(" / ") + " / " + m.Status();
        };
        const QString german = "Varnokel PRO 2.0 / &Datei / &Bearbeiten / &Ansicht / E&xtras / "
                               "&Hilfe / &Spei&chern / &Einlesen / &Ausgeben / Titel / Adresse + / "
                               "Besuch / Neu / Spei&chern / %1 / A|a0|%2";
        QCOMPARE(texts(), german.arg("Entfernen", "Ordner:2|Lesezeichen insgesamt:2|Beschreibung: "));
        // The count panel is wide enough for the long label and a large count.
        const TStatusPanel *count = m.Form->StatusPanel[spBookmarkCount];
        QVERIFY(count->width() >= count->WidthFor("Lesezeichen insgesamt:1000000"));
        Prefs->Rec().LanguageFile = "fr.ini"; // as the preferences dialog applies it
        m.Form->ApplyLanguage();
        QCOMPARE(texts(), german.arg("Supprimer", "Folders:2|Bookmarks:2|Description: "));
    }
};

QTEST_MAIN(TestMainForm)
#include "tst_mainform.moc"
