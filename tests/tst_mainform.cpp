// The main window's life: the start from the stored settings and catalogue,
// Save, the close sequence with its question and what it writes, the stored
// geometry at each activation, and the language on every text.
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

namespace {

const char kCatalog[] = "<varnokel_file>\r\n"
                        "  <folder>\r\n"
                        "    <title>Reading</title>\r\n"
                        "    <selected>-1</selected>\r\n"
                        "    <bookmark><title>b</title><adddate>2007.03.05</adddate></bookmark>\r\n"
                        "    <bookmark><title>a</title><adddate>2009.01.01</adddate></bookmark>\r\n"
                        "    <bookmark><title>c</title><adddate>2001.01.01</adddate></bookmark>\r\n"
                        "  </folder>\r\n"
                        "</varnokel_file>\r\n";

// The settings file's values of these keys of [MainForm], joined by blanks.
QString Stored(const QString &ini, const QStringList &keys)
{
    const QSettings settings(ini, QSettings::IniFormat);
    QStringList values;
    for (const QString &key : keys)
        values << settings.value("MainForm/" + key).toString();
    return values.join(' ');
}

} // namespace

class TestMainForm : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init() { m.Boxes.clear(); }
    void cleanup() { m.Close(); }

    void layoutKeptFromCloseToStart_data();
    void layoutKeptFromCloseToStart();
    void brokenCatalogSkipsTheRestOfTheStart();
    void closeAsksAboutChanges_data();
    void closeAsksAboutChanges();
    void failedSaveKeepsTheWindowAndTheOldFile();
    void failedSettingsWriteStillCloses();
    void maximisedStartFillsTheWindow();
    void saveLeftoversRemovedAtStart();
    void treeSelectionByKeysSurvivesRestart();
    void activationRestoresStoredGeometry();
    void languageOnEveryText();

private:
    MainWindowFixture m;
};

void TestMainForm::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true); // the program key goes to a test store
    m.AnswerBoxes();
}

void TestMainForm::layoutKeptFromCloseToStart_data()
{
    QTest::addColumn<bool>("maximized");
    QTest::addColumn<QString>("stored");
    QTest::newRow("normal") << false << "50 60 640 480 0 260 90 111 122 155 144 1 0 4 1";
    // Maximised, the normal geometry stays as it was.
    QTest::newRow("maximised") << true << "30 40 700 520 1 260 90 111 122 155 144 1 0 4 1";
}

void TestMainForm::layoutKeptFromCloseToStart()
{
    QFETCH(bool, maximized);
    QFETCH(QString, stored);
    const QStringList keys = {"Left", "Top", "Width", "Height", "Maximized", "TreeWidth",
                              "DescrPaneHeight", "TitleColumnWidth", "AddressColumnWidth",
                              "LastVisitColumnWidth", "AddDateColumnWidth", "ShowToolbar",
                              "ShowStatusbar", "SortType", "ReversedSort"};
    m.Write("preferences.ini", "[MainForm]\r\nLeft=30\r\nTop=40\r\nWidth=700\r\nHeight=520\r\n"
                               "TreeWidth=260\r\nDescrPaneHeight=90\r\nTitleColumnWidth=111\r\n"
                               "AddressColumnWidth=122\r\nLastVisitColumnWidth=133\r\n"
                               "AddDateColumnWidth=144\r\nShowToolbar=0\r\nSortType=4\r\n"
                               "ReversedSort=1\r\n");
    m.Write("bookmarks.xml", kCatalog);
    QVERIFY(m.Open());
    TfrmMain &w = *m.Form;
    QHeaderView *columns = w.lvBookmarks->header();
    QCOMPARE(QString("%1 %2 %3 %4 %5 %6 %7 %8")
                 .arg(w.x()).arg(w.y()).arg(w.width()).arg(w.height())
                 .arg(w.trvFolders->width()).arg(w.memDescription->height())
                 .arg(columns->sectionSize(0)).arg(columns->sectionSize(1))
             + QString(" %1 %2").arg(columns->sectionSize(2)).arg(columns->sectionSize(3)),
             QString("30 40 700 520 260 90 111 122 133 144"));
    QVERIFY(!w.MainToolbar->isVisible() && w.MainStatusBar->isVisible());
    QCOMPARE(Entries(w.menuBar()->actions()[2]->menu()),
             QString("T&oolbar; &Status Bar [x]; -; Sort by &Title; Sort by &Address; "
                     "Sort by Last &Visit; Sort by Add &Date [x]; &Unsorted; -; "
                     "&Reversed Order [x]"));
    QCOMPARE(m.Rows(), QString(">a* b c")); // the newest first
    QCOMPARE(w.lvBookmarks->model()->headerData(3, Qt::Horizontal).toString(),
             QString("Add Date -"));

    columns->resizeSection(2, 155);
    w.Action(ActionId::ViewToolbar)->trigger();
    w.Action(ActionId::ViewStatusBar)->trigger();
    if (maximized) {
        w.showMaximized();
    } else {
        w.move(50, 60);
        w.resize(640, 480);
    }
    w.Action(ActionId::FileExit)->trigger();
    QVERIFY(!w.isVisible());
    QCOMPARE(Stored(m.Path("preferences.ini"), keys), stored);
}

void TestMainForm::brokenCatalogSkipsTheRestOfTheStart()
{
    m.Write("preferences.ini", "[General]\r\nAutoSaveEvery=1\r\n[MainForm]\r\nShowToolbar=0\r\n");
    m.Write("bookmarks.xml", "<varnokel_file><folder>");
    m.Path(QString());
    m.Form = std::make_unique<TfrmMain>();
    QCOMPARE(m.Boxes.size(), 1);
    QVERIFY(m.Boxes[0].Text.contains("Line: 1"));
    QCOMPARE(m.Boxes[0].Icon, QMessageBox::Critical);
    QVERIFY(!m.Form->AutoSaveTimer->isActive());
    QVERIFY(!m.Form->TrayIcon->isVisible());
    // The designed layout, untranslated: "E&xit" where the built-in text is "&Exit".
    QCOMPARE(Entries(m.Form->menuBar()->actions()[2]->menu()).section("; ", 0, 3),
             QString("T&oolbar [x]; &Status Bar [x]; -; Sort by &Title [x]"));
    QVERIFY(Entries(m.Form->menuBar()->actions()[0]->menu()).endsWith("; E&xit"));
}

void TestMainForm::closeAsksAboutChanges_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<bool>("change");
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::addColumn<QString>("after"); // closed? catalogue saved? settings written?
    const QByteArray autoSave = "[Start/Exit]\r\nAotoSaveOnExit=1\r\n[General]\r\nAutoSaveEvery=1";
    QTest::newRow("Yes") << QByteArray() << true << QMessageBox::Yes << "closed saved written";
    QTest::newRow("No") << QByteArray() << true << QMessageBox::No << "closed - written";
    QTest::newRow("Cancel") << QByteArray() << true << QMessageBox::Cancel << "open - -";
    QTest::newRow("saved on exit") << autoSave << true << QMessageBox::Cancel
                                   << "closed saved written";
    QTest::newRow("unchanged") << QByteArray() << false << QMessageBox::Cancel
                               << "closed - written";
}

void TestMainForm::closeAsksAboutChanges()
{
    QFETCH(QByteArray, ini);
    QFETCH(bool, change);
    QFETCH(QMessageBox::StandardButton, answer);
    QFETCH(QString, after);
    QSettings key(QSettings::NativeFormat, QSettings::UserScope, "Quorvane", "Varnokel PRO");
    key.clear();
    key.sync();
    m.Write("preferences.ini", ini);
    m.Write("bookmarks.xml", kCatalog);
    QVERIFY(m.Open());
    if (change) { // a copy of the folder pasted
        m.ClickNode("Reading");
        m.Type(QKeySequence::Copy);
        m.Type(QKeySequence::Paste);
    }
    m.Answer = answer;
    const bool closed = m.Form->close();
    QCOMPARE(QStringList({closed ? "closed" : "open",
                          m.Read("bookmarks.xml").count("Reading") == 2 ? "saved" : "-",
                          m.Read("preferences.ini").contains("Left=") ? "written" : "-"})
                 .join(' '),
             after);
    const bool asked = change && ini.isEmpty();
    QCOMPARE(m.Boxes.size(), int(asked));
    if (asked) {
        QCOMPARE(m.Boxes[0].Text + " / " + m.Boxes[0].Caption, QString("Save changes? / Varnokel PRO"));
        QCOMPARE(m.Boxes[0].Buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QCOMPARE(m.Boxes[0].Icon, QMessageBox::Question);
    }
    QCOMPARE(Modified, change); // the close's saves leave it
    // A closed window leaves its timers and icon behind, and names itself and its file.
    QCOMPARE(m.Form->AutoSaveTimer->isActive() || m.Form->MinimizeTimer->isActive()
                 || m.Form->TrayIcon->isVisible(), !closed);
    key.sync();
    QCOMPARE(key.value("Catalog Path").toString(), closed ? AppDir + "bookmarks.xml" : QString());
    QCOMPARE(key.value("Application Path").toString(),
             closed ? QCoreApplication::applicationFilePath() : QString());
}

void TestMainForm::failedSaveKeepsTheWindowAndTheOldFile()
{
    m.Write("bookmarks.xml", kCatalog);
    QVERIFY(m.Open());
    for (int i = 0; i < 20; ++i) {
        m.ClickNode("Reading");
        m.Type(QKeySequence::Copy);
        m.Type(QKeySequence::Paste);
    }
    m.Answer = QMessageBox::Yes;
    {
        FileSizeLimit limit(sizeof(kCatalog) + 10);
        QVERIFY(!m.Form->close());
    }
    QCOMPARE(m.Boxes.size(), 2); // the question, then the error
    QCOMPARE(m.Boxes[1].Icon, QMessageBox::Critical);
    QVERIFY2(m.Boxes[1].Text.contains("bookmarks.xml"), qPrintable(m.Boxes[1].Text));
    QCOMPARE(m.Read("bookmarks.xml"), QByteArray(kCatalog));
    QVERIFY(!QFile::exists(m.Path("preferences.ini")));
    QVERIFY(Modified && m.Form->isVisible());
}

void TestMainForm::failedSettingsWriteStillCloses()
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
    QVERIFY2(m.Boxes[0].Text.startsWith("Unable to write to"), qPrintable(m.Boxes[0].Text));
    QVERIFY(m.Boxes[0].Text.contains("preferences.ini"));
    for (qsizetype i = 1; i < m.Boxes.size(); ++i)
        QVERIFY(!m.Boxes[i].Text.contains("preferences.ini"));
    QCOMPARE(m.Read("preferences.ini"), old);
}

void TestMainForm::maximisedStartFillsTheWindow()
{
    // A maximised start once kept its content at the stored normal size.
    m.Write("preferences.ini", "[MainForm]\r\nLeft=30\r\nTop=40\r\nWidth=410\r\n"
                               "Height=330\r\nMaximized=1\r\n");
    QVERIFY(m.Open());
    QTRY_VERIFY(m.Form->isMaximized());
    const QSize screen = m.Form->screen()->availableGeometry().size();
    QTRY_VERIFY(m.Form->centralWidget()->width() > screen.width() - 50);
    QVERIFY(m.Form->centralWidget()->height() > screen.height() / 2);
    m.Form->showNormal();
    QTRY_COMPARE(QRect(m.Form->pos(), m.Form->size()), QRect(30, 40, 410, 330));
}

void TestMainForm::saveLeftoversRemovedAtStart()
{
    const QStringList ours = {"preferences.ini.a1B2c3", "bookmarks.xml.Zz9yY8"};
    const QStringList theirs = {"bookmarks.xml.bak", "preferences.ini.12345"};
    for (const QString &name : ours + theirs)
        m.Write(name, "half a save");
    QVERIFY(m.Open());
    for (const QString &name : ours + theirs)
        QCOMPARE(QFile::exists(m.Path(name)), theirs.contains(name));
}

void TestMainForm::treeSelectionByKeysSurvivesRestart()
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

void TestMainForm::activationRestoresStoredGeometry()
{
    m.Write("preferences.ini", "[MainForm]\r\nLeft=30\r\nTop=40\r\nWidth=610\r\nHeight=430\r\n");
    QVERIFY(m.Open());
    QCOMPARE(QRect(m.Form->pos(), m.Form->size()), QRect(30, 40, 610, 430));
    m.Form->move(70, 80);
    m.Form->resize(500, 300);
    QDialog dialog(m.Form.get()); // a dialog of the program comes and goes
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    QTRY_COMPARE(QApplication::activeWindow(), &dialog);
    dialog.close();
    QVERIFY(m.Activate());
    QCOMPARE(QRect(m.Form->pos(), m.Form->size()), QRect(30, 40, 610, 430));
}

// A language file names every text; a second one that lacks keys leaves the
// texts of the first; the caption is always the program's.
void TestMainForm::languageOnEveryText()
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
    m.Write("preferences.ini", "[MainForm]\r\nSortType=2\r\n[Language]\r\nLanguageFile=de.ini\r\n");
    QVERIFY(m.Open());
    m.Show("A:2(A1 A2)", "A");
    const auto texts = [this] {
        QStringList t{m.Form->windowTitle()};
        for (const QAction *menu : m.Form->menuBar()->actions())
            t << menu->text();
        const QString file = Entries(m.Form->menuBar()->actions()[0]->menu());
        t << file.left(file.indexOf(" {")) << file.section("}; ", 1, 1).section(' ', 0, 0);
        for (int c = 0; c < 4; ++c)
            t << m.Form->lvBookmarks->model()->headerData(c, Qt::Horizontal).toString();
        const QList<QAction *> bar = m.Form->MainToolbar->actions();
        t << bar[0]->toolTip() << bar[5]->toolTip() << m.Status();
        return t.join(" / ");
    };
    const QString german = "Varnokel PRO 2.0 / &Datei / &Bearbeiten / &Ansicht / E&xtras / "
                           "&Hilfe / &Spei&chern Ctrl+S; -; &Einlesen / &Ausgeben / Titel / "
                           "Adresse + / Besuch / Neu / Spei&chern / %1 / A|a0|%2";
    QCOMPARE(texts(), german.arg("Entfernen", "Ordner:2|Lesezeichen insgesamt:2|Beschreibung: "));
    // The count panel is wide enough for the long label and a large count.
    const TStatusPanel *count = m.Form->StatusPanel[3];
    QVERIFY(count->width() >= count->WidthFor("Lesezeichen insgesamt:1000000"));
    m.Form->Action(ActionId::FileSave)->showStatusText(m.Form.get()); // the pointer on it
    QCOMPARE(m.Form->MainStatusBar->currentMessage(), QString("Spei&chern"));
    Prefs->Rec().LanguageFile = "fr.ini"; // as the preferences dialog applies it
    m.Form->ApplyLanguage();
    QCOMPARE(texts(), german.arg("Supprimer", "Folders:2|Bookmarks:2|Description: "));
}

QTEST_MAIN(TestMainForm)
#include "tst_mainform.moc"
