// The desktop-session autostart entry: where it lives, its Exec quoting, writing,
// removing, and the two failures the user sees.
#include "platform/AutostartEntry.h"
#include "tests/TestSupport.h"

#include <QTemporaryDir>
#include <QtTest>

class TestAutostartEntry : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;

    QString Path(const QString &name) const { return m_dir->filePath(name); }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        qputenv("HOME", QFile::encodeName(Path("home")));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(Path("config")));
    }

    void folderFollowsXdgConfigHome()
    {
        QCOMPARE(AutostartEntryPath(), Path("config/autostart/varnokel.desktop"));
        qputenv("XDG_CONFIG_HOME", "relative/config"); // invalid, so ignored
        QCOMPARE(AutostartFolder(), Path("home/.config/autostart"));
    }

    void execQuoting_data(); // outside the class: moc does not read raw strings
    void execQuoting()
    {
        QFETCH(QString, path);
        QFETCH(QString, exec);
        QCOMPARE(AutostartExecValue(path), exec);
    }

    void writeReplacesAndRemoveForgets()
    {
        RemoveAutostartEntry(); // nothing there: no error
        WriteAutostartEntry("/opt/old/varnokel");
        WriteAutostartEntry("/opt/vk/varnokel");
        const QByteArray text = ReadFileBytes(AutostartEntryPath());
        QVERIFY(text.startsWith("[Desktop Entry]\nType=Application\n"));
        QVERIFY(text.contains("\nExec=\"/opt/vk/varnokel\"\n") && !text.contains("old"));
        QCOMPARE(QDir(AutostartFolder()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{"varnokel.desktop"});
        RemoveAutostartEntry();
        QVERIFY(!QFile::exists(AutostartEntryPath()));
    }

    void failures()
    {
        WriteFileBytes(AutostartFolder(), {}); // a file where the folder should be
        QCOMPARE(ErrorOf([] { WriteAutostartEntry("/opt/vk/varnokel"); }),
                 "Failed to create key " + AutostartFolder());
        QVERIFY(QFile::remove(AutostartFolder()));
        QVERIFY(QDir().mkpath(AutostartEntryPath())); // a folder where the entry should be
        QCOMPARE(ErrorOf([] { WriteAutostartEntry("/opt/vk/varnokel"); }),
                 "Failed to set data for '" + AutostartEntryPath() + "'");
        RemoveAutostartEntry(); // not reported
        QVERIFY(QFileInfo(AutostartEntryPath()).isDir());
    }
};

void TestAutostartEntry::execQuoting_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("exec"); // as it stands in the file
    QTest::newRow("blank") << "/opt/my vk/varnokel" << R"("/opt/my vk/varnokel")";
    // The quoting's backslash, then the file's own escape of every backslash.
    QTest::newRow("quote, dollar, backtick, backslash")
        << R"(/a"b$c`d\e)" << R"("/a\\"b\\$c\\`d\\\\e")";
    QTest::newRow("percent, line break") << "/100%/a\nb" << R"("/100%%/a\nb")";
}

QTEST_GUILESS_MAIN(TestAutostartEntry)
#include "tst_autostartentry.moc"
