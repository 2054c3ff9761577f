// The desktop-session autostart entry: where it lives, its Exec quoting, writing,
// removing, and the two failures the user sees.
#include "platform/AutostartEntry.h"
#include "tests/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestAutostartEntry : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void folder_data();
    void folder();
    void execQuoting_data();
    void execQuoting();
    void writeReplacesAndRemoveForgets();
    void failures();

private:
    QString Path(const QString &name) const { return m_dir->filePath(name); }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestAutostartEntry::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    qputenv("HOME", QFile::encodeName(Path("home")));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(Path("config")));
}

void TestAutostartEntry::folder_data()
{
    QTest::addColumn<QByteArray>("config");
    QTest::addColumn<QString>("expected"); // below the temporary folder
    QTest::newRow("set") << QByteArray("config") << "config/autostart";
    QTest::newRow("unset") << QByteArray() << "home/.config/autostart";
    QTest::newRow("relative is ignored") << QByteArray("-") << "home/.config/autostart";
}

void TestAutostartEntry::folder()
{
    QFETCH(QByteArray, config);
    QFETCH(QString, expected);
    if (config.isEmpty())
        qunsetenv("XDG_CONFIG_HOME");
    else if (config == "-")
        qputenv("XDG_CONFIG_HOME", "relative/config");
    QCOMPARE(AutostartFolder(), Path(expected));
    QCOMPARE(AutostartEntryPath(), Path(expected) + "/varnokel.desktop");
}

void TestAutostartEntry::execQuoting_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("exec"); // as it stands in the file
    QTest::newRow("plain") << "/opt/vk/varnokel" << R"("/opt/vk/varnokel")";
    QTest::newRow("blank") << "/opt/my vk/varnokel" << R"("/opt/my vk/varnokel")";
    // The quoting's backslash, then the file's own escape of every backslash.
    QTest::newRow("quote, dollar, backtick")
        << R"(/opt/a"b$c`d/vk)" << R"("/opt/a\\"b\\$c\\`d/vk")";
    QTest::newRow("backslash") << R"(/opt/a\b/vk)" << R"("/opt/a\\\\b/vk")";
    QTest::newRow("percent") << "/opt/100%/vk" << R"("/opt/100%%/vk")";
    QTest::newRow("line break") << "/opt/a\nb/vk" << R"("/opt/a\nb/vk")";
}

void TestAutostartEntry::execQuoting()
{
    QFETCH(QString, path);
    QFETCH(QString, exec);
    QCOMPARE(AutostartExecValue(path), exec);
}

void TestAutostartEntry::writeReplacesAndRemoveForgets()
{
    RemoveAutostartEntry(); // nothing there: no error
    WriteAutostartEntry("/opt/old/varnokel");
    WriteAutostartEntry("/opt/vk/varnokel");
    QFile file(AutostartEntryPath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    file.close();
    QVERIFY(text.startsWith("[Desktop Entry]\n"));
    QVERIFY(text.contains("\nType=Application\n"));
    QVERIFY(text.contains("\nExec=\"/opt/vk/varnokel\"\n"));
    QVERIFY(!text.contains("old"));
    QCOMPARE(QDir(AutostartFolder()).entryList(QDir::Files | QDir::Hidden),
             QStringList{"varnokel.desktop"}); // no temporary file left behind
    RemoveAutostartEntry();
    QVERIFY(!QFile::exists(AutostartEntryPath()));
    RemoveAutostartEntry();
}

void TestAutostartEntry::failures()
{
    // A file where the folder should be: the folder cannot be made.
    QVERIFY(QDir().mkpath(Path("config")));
    QVERIFY(QFile(AutostartFolder()).open(QIODevice::WriteOnly));
    QCOMPARE(ErrorOf([] { WriteAutostartEntry("/opt/vk/varnokel"); }),
             "Failed to create key " + AutostartFolder());
    RemoveAutostartEntry();
    QVERIFY(QFile::exists(AutostartFolder()));

    // A folder where the entry should be: the entry cannot be written.
    QVERIFY(QFile::remove(AutostartFolder()));
    QVERIFY(QDir().mkpath(AutostartEntryPath()));
    QCOMPARE(ErrorOf([] { WriteAutostartEntry("/opt/vk/varnokel"); }),
             "Failed to set data for '" + AutostartEntryPath() + "'");
    RemoveAutostartEntry();
    QVERIFY(QFileInfo(AutostartEntryPath()).isDir());
}

QTEST_GUILESS_MAIN(TestAutostartEntry)
#include "tst_autostartentry.moc"
