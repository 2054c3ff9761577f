// The settings: defaults, reading "preferences.ini" over the current values, and round
// trips that keep what the program does not know.
#include "settings/Preferences.h"
#include "platform/IniFile.h"
#include "tests/TestSupport.h"

#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

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

    // A FIFO named "preferences.ini" hung the start, and Firefox's "profiles.ini" was
    // read whole however large (3 GB ended the program). Such files read as absent,
    // and the settings file is not replaced at close.
    void filesThatAreNoSettingsReadAsAbsent_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<qint64>("size"); // -1: a FIFO
        QTest::addColumn<bool>("read");
        constexpr qint64 kMiB = 1024 * 1024;
        QTest::newRow("FIFO preferences") << m_file << qint64(-1) << false;
        QTest::newRow("16 MiB preferences") << m_file << 16 * kMiB << true;
        QTest::newRow("larger preferences") << m_file << 16 * kMiB + 1 << false;
        QTest::newRow("FIFO profiles") << m_profiles << qint64(-1) << false;
        QTest::newRow("4 MiB profiles") << m_profiles << 4 * kMiB << true;
        QTest::newRow("larger profiles") << m_profiles << 4 * kMiB + 1 << false;
        QTest::newRow("3 GiB profiles") << m_profiles << 3 * 1024 * kMiB << false;
    }

    void filesThatAreNoSettingsReadAsAbsent()
    {
        QFETCH(QString, file);
        QFETCH(qint64, size);
        QFETCH(bool, read);
        QFile::remove(file);
        QDir(file).removeRecursively(); // an earlier case made a folder of it
        QVERIFY(QDir().mkpath(QFileInfo(file).path()));
        if (size < 0) // a sparse file otherwise: nothing of its size is written
            QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
        else
            WriteFileBytes(file, "[MainForm]\nWidth=1\n[Profile0]\nPath=p\n");
        QVERIFY(size < 0 || QFile(file).resize(size));
        TPreferences prefs;
        prefs.Rec().FirefoxBookmarksLocation = "old";
        prefs.SetDefaults();
        prefs.LoadFromFile(m_file);
        const bool preferences = file == m_file;
        QCOMPARE(prefs.Rec().Width, read && preferences ? 1 : 679);
        QCOMPARE(prefs.Rec().FirefoxBookmarksLocation,
                 read && !preferences ? m_home.filePath(".mozilla/firefox/p/bookmarks.html")
                                      : "old");
        // A settings file that was not read is not replaced, nor, ever, Firefox's.
        const QString error = ErrorOf([&] { prefs.SaveToFile(m_file); });
        QCOMPARE(error.isEmpty(), read || !preferences);
        if (!error.isEmpty() || !preferences)
            QCOMPARE(QFileInfo(file).size(), qMax(size, qint64(0)));
        QFile::remove(m_file);
        QFile::remove(m_profiles);
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
