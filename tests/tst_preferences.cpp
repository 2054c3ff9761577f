// The settings: defaults, the special-folder defaults, reading and writing
// "preferences.ini", keys the program does not know, and failed saves.
#include "settings/Preferences.h"
#include "platform/IniFile.h"
#include "platform/VarnokelError.h"
#include "FileSizeLimit.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestPreferences : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void defaultsWithoutFile();
    void newFileListsEverySettingInWriteOrder();
    void readsValues_data();
    void readsValues();
    void everyFieldRoundTrips();
    void unknownLinesSurviveSave();
    void failedSaveNamesTheFileAndKeepsIt();
    void firefoxDefault_data();
    void firefoxDefault();
    void defaultsKeepHistoryAndFirefoxWithoutProfiles();

private:
    void WriteFile(const QString &path, const QByteArray &contents);
    QByteArray ReadFile(const QString &path);

    QTemporaryDir m_home;
    QString m_file;
};

void TestPreferences::initTestCase()
{
    QVERIFY(m_home.isValid());
    qputenv("HOME", QFile::encodeName(m_home.path()));
    m_file = m_home.filePath(QStringLiteral("preferences.ini"));
}

void TestPreferences::init()
{
    QFile::remove(m_file);
    QDir(m_home.filePath(QStringLiteral(".mozilla"))).removeRecursively();
}

void TestPreferences::WriteFile(const QString &path, const QByteArray &contents)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(contents), contents.size());
}

QByteArray TestPreferences::ReadFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestPreferences::defaultsWithoutFile()
{
    TPreferencesRec expected;
    expected.Top = 100;
    expected.Left = 100;
    expected.Width = 679;
    expected.Height = 500;
    expected.TreeWidth = 200;
    expected.DescrPaneHeight = 100;
    expected.TitleColumnWidth = 150;
    expected.AddressColumnWidth = 150;
    expected.LastVisitColumnWidth = 80;
    expected.AddDateColumnWidth = 80;
    expected.ShowToolbar = true;
    expected.ShowStatusbar = true;
    expected.ShowIconInTray = true;
    expected.HideToTrayOnMinimizing = true;
    expected.ConfirmDeletingItems = true;
    expected.AutoSaveInterval = 15;
    expected.TitleText = QStringLiteral("Title");
    expected.WelcomeHeader = QStringLiteral("Header");
    expected.WelcomeMessage = QStringLiteral("Welcome Message");
    expected.BackgroundColor = 0xC0DCC0;
    expected.HeaderAreaColor = 0xE1FFFF;
    expected.WelcomeAreaColor = 0xF0FBFF;
    expected.BookmarkArea1Color = 0xF0CAA6;
    expected.BookmarkArea2Color = 0xF9E8D9;
    expected.HTMLFile = QStringLiteral("c:\\bookmarks");
    expected.Varnokel1Bookmarks = QStringLiteral("/opt/Varnokel/RefLib");
    expected.IEFavoritesLocation = m_home.filePath(QStringLiteral("Favorites"));
    expected.OperaHotlistLocation = m_home.filePath(QStringLiteral(".opera/opera6.adr"));

    TPreferences prefs;
    QVERIFY(prefs.Rec() == expected);
    prefs.LoadFromFile(m_file);
    QVERIFY(prefs.Rec() == expected);
    QVERIFY(!QFile::exists(m_file));
}

void TestPreferences::newFileListsEverySettingInWriteOrder()
{
    TPreferences().SaveToFile(m_file);
    const IniFile ini(m_file);
    QCOMPARE(ini.ReadSections(),
             QStringList({"MainForm", "PreferencesForm", "General", "Start/Exit", "Language",
                          "HTMLGeneratorForm", "FindForm", "Other"}));
    QCOMPARE(ini.ReadSection("MainForm"),
             QStringList({"Top", "Left", "Width", "Height", "Maximized", "TreeWidth",
                          "DescrPaneHeight", "TitleColumnWidth", "AddressColumnWidth",
                          "LastVisitColumnWidth", "AddDateColumnWidth", "ShowToolbar",
                          "ShowStatusbar", "SortType", "ReversedSort"}));
    QCOMPARE(ini.ReadSection("FindForm").size(), 10);
    QCOMPARE(ini.ReadSection("FindForm").last(), "LastString9");
    QCOMPARE(ini.ReadSection("Other"),
             QStringList({"Varnokel1Bookmarks", "IEFavoritesLocation",
                          "FirefoxBookmarksLocation", "OperaHotlistLocation"}));
    QVERIFY(ReadFile(m_file).startsWith("[MainForm]\r\nTop=100\r\nLeft=100\r\nWidth=679\r\n"));
    QVERIFY(ReadFile(m_file).contains("\r\nShowToolbar=1\r\n"));
    QVERIFY(ReadFile(m_file).contains("\r\nBackgroundColor=12639424\r\n"));
}

// Each row loads one value over a record that starts from the defaults with
// Width 123, SortType 2 and ShowToolbar off, then saves it and reads the key back.
void TestPreferences::readsValues_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("written");
    QTest::newRow("flag 2") << "MainForm" << "Maximized=2" << "Maximized" << "1";
    QTest::newRow("flag -1") << "MainForm" << "Maximized=-1" << "Maximized" << "1";
    QTest::newRow("flag 0") << "MainForm" << "ShowStatusbar=0" << "ShowStatusbar" << "0";
    QTest::newRow("flag yes") << "MainForm" << "ShowToolbar=yes" << "ShowToolbar" << "0";
    QTest::newRow("0x width") << "MainForm" << "Width=0x2A7" << "Width" << "679";
    QTest::newRow("$ width") << "MainForm" << "Width=$2A7" << "Width" << "679";
    QTest::newRow("bad width") << "MainForm" << "Width=wide" << "Width" << "123";
    QTest::newRow("key case") << "mainform" << "WIDTH=7" << "Width" << "7";
    QTest::newRow("sort 3") << "MainForm" << "SortType=3" << "SortType" << "3";
    QTest::newRow("sort 4") << "MainForm" << "SortType=4" << "SortType" << "4";
    QTest::newRow("sort 5") << "MainForm" << "SortType=5" << "SortType" << "2";
    QTest::newRow("sort 9") << "MainForm" << "SortType=9" << "SortType" << "2";
    QTest::newRow("sort -1") << "MainForm" << "SortType=-1" << "SortType" << "2";
    QTest::newRow("sort 256") << "MainForm" << "SortType=256" << "SortType" << "2";
    QTest::newRow("sort text") << "MainForm" << "SortType=abc" << "SortType" << "0";
    QTest::newRow("sort missing") << "MainForm" << "" << "SortType" << "0";
    QTest::newRow("empty language") << "Language" << "LanguageFile=" << "LanguageFile" << "";
    QTest::newRow("language") << "Language" << "LanguageFile= de.ini " << "LanguageFile"
                              << "de.ini";
    QTest::newRow("colour hex") << "HTMLGeneratorForm" << "TextColor=$FF" << "TextColor"
                                << "255";
    QTest::newRow("history") << "FindForm" << "LastString3=\"  x \"" << "LastString3"
                             << "  x ";
    QTest::newRow("interval") << "General" << "AutoSaveInterval=30" << "AutoSaveInterval"
                              << "30";
    QTest::newRow("path") << "Other" << "IEFavoritesLocation=/x" << "IEFavoritesLocation"
                          << "/x";
}

void TestPreferences::readsValues()
{
    QFETCH(QString, section);
    QFETCH(QString, line);
    QFETCH(QString, key);
    QFETCH(QString, written);
    WriteFile(m_file, ("[" + section + "]\r\n" + line + "\r\n").toUtf8());
    TPreferences prefs;
    prefs.Rec().Width = 123;
    prefs.Rec().SortType = 2;
    prefs.Rec().ShowToolbar = false;
    prefs.LoadFromFile(m_file);
    prefs.SaveToFile(m_file);
    QCOMPARE(IniFile(m_file).ReadString(section, key, "<missing>"), written);
}

void TestPreferences::everyFieldRoundTrips()
{
    TPreferences saved;
    TPreferencesRec &rec = saved.Rec();
    rec.Top = -20;
    rec.Maximized = true;
    rec.DescrPaneHeight = 321;
    rec.ShowStatusbar = false;
    rec.SortType = 4;
    rec.ReversedSort = true;
    rec.ButtonIndex = 3;
    rec.LoadOnWindowsStartup = true;
    rec.AotoSaveOnExit = true;
    rec.LanguageFile = QStringLiteral("Deutsch.ini");
    rec.WelcomeMessage = QStringLiteral(" Hello, \"world\" ");
    rec.BookmarkArea2Color = 0xFFFFFF;
    rec.GenerateFromSelFolder = true;
    for (size_t i = 0; i < rec.LastString.size(); ++i)
        rec.LastString[i] = QStringLiteral("find %1").arg(i);
    rec.FirefoxBookmarksLocation = QStringLiteral("/home/u/Schl\u00FCssel/bookmarks.html");
    saved.SaveToFile(m_file);
    TPreferences loaded;
    loaded.LoadFromFile(m_file);
    QVERIFY(loaded.Rec() == saved.Rec());
}

void TestPreferences::unknownLinesSurviveSave()
{
    WriteFile(m_file, "; edited by hand\r\n"
                      "[MainForm]\r\n"
                      "Top=5\r\n"
                      "Theme=dark\r\n"
                      "\r\n"
                      "[Plugins]\r\n"
                      "Enabled=spell, sync\r\n"
                      "free text line\n");
    TPreferences prefs;
    prefs.LoadFromFile(m_file);
    QCOMPARE(prefs.Rec().Top, 5);
    prefs.Rec().Top = 6;
    prefs.SaveToFile(m_file);
    const QByteArray saved = ReadFile(m_file);
    QVERIFY(saved.startsWith("; edited by hand\r\n[MainForm]\r\nTop=6\r\nTheme=dark\r\n"
                             "Left=100\r\n"));
    QVERIFY(saved.contains("ReversedSort=0\r\n\r\n[Plugins]\r\nEnabled=spell, sync\r\n"
                           "free text line\r\n\r\n[PreferencesForm]\r\n"));
    QCOMPARE(IniFile(m_file).ReadSection("MainForm").size(), 16);
}

void TestPreferences::failedSaveNamesTheFileAndKeepsIt()
{
    const QByteArray old = "[MainForm]\r\nTop=5\r\n";
    WriteFile(m_file, old);
    TPreferences prefs;
    try {
        FileSizeLimit limit(200);
        prefs.SaveToFile(m_file);
        QFAIL("the save did not fail");
    } catch (const VarnokelError &error) {
        QCOMPARE(error.Message(), "Unable to write to " + m_file + ": File too large");
    }
    QCOMPARE(ReadFile(m_file), old);

    const QString inMissingFolder = m_home.filePath(QStringLiteral("none/preferences.ini"));
    QVERIFY_THROWS_EXCEPTION(VarnokelError, prefs.SaveToFile(inMissingFolder));
}

void TestPreferences::firefoxDefault_data()
{
    QTest::addColumn<QByteArray>("profiles");
    QTest::addColumn<QString>("expected"); // after ".mozilla/firefox"
    QTest::newRow("relative path") << QByteArray("[Profile0]\nPath=Profiles/abc.default\n")
                                   << "/Profiles/abc.default/bookmarks.html";
    QTest::newRow("plain name") << QByteArray("[Profile0]\nPath=abc.default\n")
                                << "/abc.default/bookmarks.html";
    QTest::newRow("several separators") << QByteArray("[Profile0]\nPath=a/b/c\n")
                                        << "/a/b/c/bookmarks.html";
    QTest::newRow("key case") << QByteArray("[profile0]\r\npath=x\r\n") << "/x/bookmarks.html";
    QTest::newRow("only Profile0") << QByteArray("[Profile1]\nPath=p1\n[Profile0]\nName=d\n")
                                   << "//bookmarks.html";
    QTest::newRow("empty file") << QByteArray() << "//bookmarks.html";
}

void TestPreferences::firefoxDefault()
{
    QFETCH(QByteArray, profiles);
    QFETCH(QString, expected);
    const QString folder = m_home.filePath(QStringLiteral(".mozilla/firefox"));
    WriteFile(folder + "/profiles.ini", profiles);
    TPreferences prefs;
    QCOMPARE(prefs.Rec().FirefoxBookmarksLocation, folder + expected);
}

void TestPreferences::defaultsKeepHistoryAndFirefoxWithoutProfiles()
{
    const QString folder = m_home.filePath(QStringLiteral(".mozilla/firefox"));
    WriteFile(folder + "/profiles.ini", "[Profile0]\nPath=p\n");
    TPreferences prefs;
    const QString firefox = prefs.Rec().FirefoxBookmarksLocation;
    QCOMPARE(firefox, folder + "/p/bookmarks.html");
    prefs.Rec().LastString[0] = QStringLiteral("recent");
    prefs.Rec().Width = 1;
    prefs.Rec().SortType = 3;
    QVERIFY(QFile::remove(folder + "/profiles.ini"));
    QVERIFY(QDir().mkpath(folder + "/profiles.ini")); // a folder is no profiles file
    prefs.SetDefaults();
    QCOMPARE(prefs.Rec().LastString[0], "recent");
    QCOMPARE(prefs.Rec().FirefoxBookmarksLocation, firefox);
    QCOMPARE(prefs.Rec().Width, 679);
    QCOMPARE(prefs.Rec().SortType, quint8(0));
    QVERIFY(TPreferences().Rec().FirefoxBookmarksLocation.isEmpty());
}

QTEST_GUILESS_MAIN(TestPreferences)
#include "tst_preferences.moc"
