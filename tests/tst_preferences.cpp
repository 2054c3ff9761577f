// The settings: defaults, reading "preferences.ini" over the current values, and round
// trips that keep what the program does not know.
#include "settings/Preferences.h"
#include "platform/IniFile.h"
#include "tests/TestSupport.h"

#include <QTemporaryDir>
#include <QtTest>

class TestPreferences : public QObject
{
    Q_OBJECT

    QTemporaryDir m_home;
    const QString m_file = m_home.filePath("preferences.ini");
    const QString m_profiles = m_home.filePath(".mozilla/firefox/profiles.ini"); // Firefox's

private slots:
    void initTestCase() { qputenv("HOME", QFile::encodeName(m_home.path())); }

    // SetDefaults leaves the find history, and a Firefox path once found, as they are.
    void setDefaultsRestoresAllButHistoryAndFirefox()
    {
        WriteFileBytes(m_profiles, "[Profile1]\nPath=p1\n[profile0]\npath=p\n");
        TPreferences prefs;
        const TPreferencesRec fresh = prefs.Rec();
        QCOMPARE(fresh.Width, 679);
        QVERIFY(fresh.ShowToolbar && !fresh.Maximized);
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

    // Each line is read over Width 123 and SortType 2.
    void loadsOverCurrentValues()
    {
        TPreferences prefs;
        const auto load = [&](const QByteArray &line) {
            prefs.Rec().Width = 123;
            prefs.Rec().SortType = 2;
            WriteFileBytes(m_file, "[mainform]\r\n" + line + "\r\n");
            prefs.LoadFromFile(m_file);
            return prefs.Rec();
        };
        QVERIFY(load("Maximized=-1").Maximized); // any number but 0 is true
        QCOMPARE(load("").Width, 123);
        // Only a valid sort mode is kept; a missing one is 0.
        QCOMPARE(load("SortType=4").SortType, 4);
        QCOMPARE(load("SortType=5").SortType, 2);
        QCOMPARE(load("SortType=-1").SortType, 2);
        QCOMPARE(load("").SortType, 0);
    }

    void valuesOfEveryKindRoundTripBesideUnknownLines()
    {
        WriteFileBytes(m_file, "; by hand\r\n[Plugins]\r\nfree text\n");
        TPreferences saved;
        TPreferencesRec &rec = saved.Rec();
        rec.Top = -20;
        rec.Maximized = true;
        rec.SortType = 4;
        rec.WelcomeMessage = " Hello, \"world\" ";
        for (size_t i = 0; i < rec.LastString.size(); ++i)
            rec.LastString[i] = QStringLiteral("find %1").arg(i);
        saved.SaveToFile(m_file);
        TPreferences loaded;
        loaded.LoadFromFile(m_file);
        QVERIFY(loaded.Rec() == saved.Rec());
        QCOMPARE(IniFile(m_file).ReadSection("FindForm").size(), 10); // the history, no more
        QVERIFY(ReadFileBytes(m_file).startsWith("; by hand\r\n[Plugins]\r\nfree text\r\n\r\n"
                                                 "[MainForm]\r\nTop=-20\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestPreferences)
#include "tst_preferences.moc"
