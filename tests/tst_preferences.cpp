// The settings: defaults, reading "preferences.ini" over the current values, round
// trips that keep what the program does not know, and failed saves.
#include "settings/Preferences.h"
#include "platform/IniFile.h"
#include "tests/FileSizeLimit.h"
#include "tests/TestSupport.h"

#include <QTemporaryDir>
#include <QtTest>

class TestPreferences : public QObject
{
    Q_OBJECT

    QTemporaryDir m_home;
    QString m_file;
    QString m_profiles; // Firefox's

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        qputenv("HOME", QFile::encodeName(m_home.path()));
        m_file = m_home.filePath("preferences.ini");
        m_profiles = m_home.filePath(".mozilla/firefox/profiles.ini");
    }

    // SetDefaults leaves the find history, and a Firefox path once found, as they are.
    void setDefaultsRestoresAllButHistoryAndFirefox()
    {
        WriteFileBytes(m_profiles, "[Profile1]\nPath=p1\n[profile0]\npath=p\n");
        TPreferences prefs;
        const TPreferencesRec fresh = prefs.Rec();
        QCOMPARE(fresh.Width, 679);
        QVERIFY(fresh.ShowToolbar && !fresh.Maximized);
        QCOMPARE(fresh.WelcomeMessage, "Welcome Message");
        QCOMPARE(fresh.BackgroundColor, 0xC0DCC0);
        QCOMPARE(fresh.Varnokel1Bookmarks, "/opt/Varnokel/RefLib");
        QCOMPARE(fresh.IEFavoritesLocation, m_home.filePath("Favorites"));
        QCOMPARE(fresh.OperaHotlistLocation, m_home.filePath(".opera/opera6.adr"));
        QCOMPARE(fresh.FirefoxBookmarksLocation,
                 m_home.filePath(".mozilla/firefox/p/bookmarks.html"));
        prefs.Rec() = TPreferencesRec();
        prefs.Rec().LastString[0] = "recent";
        prefs.Rec().FirefoxBookmarksLocation = "kept";
        QVERIFY(QFile::remove(m_profiles) && QDir().mkpath(m_profiles)); // a folder is no file
        prefs.SetDefaults();
        TPreferencesRec expected = fresh;
        expected.LastString[0] = "recent";
        expected.FirefoxBookmarksLocation = "kept";
        QVERIFY(prefs.Rec() == expected);
    }

    // Each row loads one line over Width 123, SortType 2 and ShowToolbar off, saves,
    // and reads the key back from the file.
    void loadsOverCurrentValues_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("written");
        QTest::newRow("any number is true") << QByteArray("Maximized=-1") << "Maximized" << "1";
        QTest::newRow("bad flag keeps") << QByteArray("ShowToolbar=yes") << "ShowToolbar" << "0";
        QTest::newRow("missing keeps") << QByteArray() << "Width" << "123";
        QTest::newRow("sort 0") << QByteArray("SortType=0") << "SortType" << "0";
        QTest::newRow("sort 4") << QByteArray("SortType=4") << "SortType" << "4";
        QTest::newRow("sort 5 keeps") << QByteArray("SortType=5") << "SortType" << "2";
        QTest::newRow("sort -1 keeps") << QByteArray("SortType=-1") << "SortType" << "2";
        QTest::newRow("sort missing is 0") << QByteArray() << "SortType" << "0";
    }

    void loadsOverCurrentValues()
    {
        QFETCH(QByteArray, line);
        QFETCH(QString, key);
        QFETCH(QString, written);
        WriteFileBytes(m_file, "[mainform]\r\n" + line + "\r\n");
        TPreferences prefs;
        prefs.Rec().Width = 123;
        prefs.Rec().SortType = 2;
        prefs.Rec().ShowToolbar = false;
        prefs.LoadFromFile(m_file);
        prefs.SaveToFile(m_file);
        QCOMPARE(IniFile(m_file).ReadString("MainForm", key, "<missing>"), written);
    }

    void valuesOfEveryKindRoundTripBesideUnknownLines()
    {
        WriteFileBytes(m_file, "; by hand\r\n[Plugins]\r\nfree text\n");
        TPreferences saved;
        TPreferencesRec &rec = saved.Rec();
        rec.Top = -20;
        rec.Maximized = true;
        rec.ShowStatusbar = false;
        rec.SortType = 4;
        rec.WelcomeMessage = " Hello, \"world\" ";
        rec.BookmarkArea2Color = 0xFFFFFF;
        for (size_t i = 0; i < rec.LastString.size(); ++i)
            rec.LastString[i] = QStringLiteral("find %1").arg(i);
        rec.FirefoxBookmarksLocation = "/home/u/Schl\u00FCssel/bookmarks.html";
        saved.SaveToFile(m_file);
        TPreferences loaded;
        loaded.LoadFromFile(m_file);
        QVERIFY(loaded.Rec() == saved.Rec());
        QVERIFY(ReadFileBytes(m_file).startsWith("; by hand\r\n[Plugins]\r\nfree text\r\n\r\n"
                                                 "[MainForm]\r\nTop=-20\r\n"));
    }

    // All keys go in one replace: a save that fails part-way leaves the old file.
    void failedSaveNamesTheFileAndKeepsIt()
    {
        WriteFileBytes(m_file, "[MainForm]\r\nTop=5\r\n");
        TPreferences prefs;
        {
            FileSizeLimit limit(200);
            QCOMPARE(ErrorOf([&] { prefs.SaveToFile(m_file); }),
                     "Unable to write to " + m_file + ": File too large");
        }
        QCOMPARE(ReadFileBytes(m_file), "[MainForm]\r\nTop=5\r\n");
    }
};

QTEST_GUILESS_MAIN(TestPreferences)
#include "tst_preferences.moc"
