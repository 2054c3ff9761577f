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

    void execQuoting(); // outside the class: moc does not read raw strings

    void writeReplacesAndRemoveForgets()
    {
        WriteAutostartEntry("/opt/old/varnokel");
        WriteAutostartEntry("/opt/vk/varnokel");
        const QByteArray text = ReadFileBytes(Path("config/autostart/varnokel.desktop"));
        QVERIFY(text.startsWith("[Desktop Entry]\nType=Application\n"));
        QVERIFY(text.contains("\nExec=\"/opt/vk/varnokel\"\n") && !text.contains("old"));
        RemoveAutostartEntry();
        QVERIFY(!QFile::exists(AutostartEntryPath()));
        qputenv("XDG_CONFIG_HOME", "relative/config"); // invalid, so ignored
        QCOMPARE(AutostartEntryPath(), Path("home/.config/autostart/varnokel.desktop"));
    }

    void failures()
    {
        // Each with its reason: the messages once ended at the name.
        WriteFileBytes(AutostartFolder(), {}); // a file where the folder should be
        QCOMPARE(ErrorOf([] { WriteAutostartEntry("/opt/vk/varnokel"); }),
                 "Failed to create key " + AutostartFolder() + ": Not a directory");
        QVERIFY(QFile::remove(AutostartFolder()));
        QVERIFY(QDir().mkpath(AutostartEntryPath())); // a folder where the entry should be
        QCOMPARE(ErrorOf([] { WriteAutostartEntry("/opt/vk/varnokel"); }),
                 "Failed to set data for '" + AutostartEntryPath() + "': Is a directory");
    }
};

void TestAutostartEntry::execQuoting()
{
    // The path, and the Exec value as it stands in the file: the quoting's backslash,
    // then the file's own escape of every backslash.
    const QString cases[][2] = {{R"(/a b"c$d`e\f)", R"("/a b\\"c\\$d\\`e\\\\f")"},
                                {"/100%/a\nb", R"("/100%%/a\nb")"}};
    for (const auto &[path, exec] : cases)
        QCOMPARE(AutostartExecValue(path), exec);
}

QTEST_GUILESS_MAIN(TestAutostartEntry)
#include "tst_autostartentry.moc"
