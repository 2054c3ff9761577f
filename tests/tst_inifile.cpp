// Ini files: the reading rules, integers and flags, writes in place and appended,
// encodings, batching, and a file that cannot be read.
#include "platform/IniFile.h"
#include "tests/TestSupport.h"

#include <QLocalServer>
#include <QTemporaryDir>
#include <QtTest>

#include <climits>

#include <sys/stat.h>

namespace {

void Read(const char *name, const QByteArray &file, const QString &key, const QString &expected)
{
    QTest::newRow(name) << file << key << expected;
}

void Write(const char *name, const QByteArray &before, const QStringList &writes,
           const QByteArray &after)
{
    QTest::newRow(name) << before << writes << after;
}

} // namespace

class TestIniFile : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    const QString m_path = m_dir.filePath("test.ini");

    QString File(const QByteArray &contents)
    {
        WriteFileBytes(m_path, contents);
        return m_path;
    }

private slots:
    void init()
    {
        QFile::remove(m_path);
        QDir(m_path).removeRecursively();
    }

    // Each file is read for a key in the section "S".
    void readsStrings_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected"); // "-": the default, the key is missing
        Read("names fold case", "[s]\r\nkey=value\r\n", "KEY", "value");
        Read("missing key", "[S]\r\nkey=value\r\n", "Other", "-");
        Read("a and z fold", "[S]\naz=v\n", "AZ", "v");
        Read("{` are no [@", "[S]\n{`=v\n", "[@", "-");
        Read("blanks dropped", " [ S ] \n\tK \t=  a=b \t\r\r\n", "K", "a=b");
        Read("empty value", "[S]\nK=\n", "K", "");
        Read("unclosed header", "[S \nK=v", "K", "v");
        Read("double quotes", "[S]\nK=\" a \"\n", "K", " a ");
        Read("single quotes", "[S]\nK='a'\n", "K", "a");
        Read("lone quote", "[S]\nK=\"\n", "K", "\"");
        Read("key in the next section", "[S]\n[B]\nK=1\n", "K", "-");
        Read("comment", "[S]\n;K=1\n", "K", "-");
        Read("cut to 2047", "[S]\nK=" + QByteArray(3000, 'y'), "K", QString(2047, u'y'));
        Read("cut keeps a pair whole", "[S]\nK=" + QByteArray(2046, 'y') + "\xF0\x9F\x98\x80", "K",
             QString(2046, u'y'));
    }

    void readsStrings()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        const IniFile ini(File(file));
        QCOMPARE(ini.ReadString("S", key, "-"), expected);
        QCOMPARE(ini.ValueExists("S", key), expected != "-");
    }

    void readsIntegers_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("expected"); // 77: the default
        for (const auto &[value, expected] : std::initializer_list<std::pair<const char *, int>>{
                 {"679", 679}, {"-12", -12}, {"$2A7", 679}, {"0xa7", 167}, {"-0X10", -16},
                 {"\"$FFFFFFFF\"", -1}, {"2147483647", INT_MAX}, {"-2147483648", INT_MIN},
                 {"2147483648", 77}, {"-2147483649", 77}, {"$100000000", 77}, {"12abc", 77},
                 {"0x", 77}, {"-", 77}})
            QTest::newRow(value) << QString(value) << expected;
    }

    void readsIntegers()
    {
        QFETCH(QString, value);
        QFETCH(int, expected);
        const IniFile ini(File("[S]\r\nK=" + value.toUtf8() + "\r\n"));
        QCOMPARE(ini.ReadInteger("S", "K", 77), expected);
    }

    void listsSectionsAndKeys()
    {
        const IniFile ini(File("[One]\r\nA=1\r\nnot a key\r\n b =2\r\n; c=3\r\n\r\n"
                               "[Two]\r\n[one]\r\nC=3\r\n"));
        QCOMPARE(ini.ReadSections(), QStringList({"One", "Two", "one"}));
        QCOMPARE(ini.ReadSection("ONE"), QStringList({"A", "b"}));
        QVERIFY(ini.ReadSection("Two").isEmpty() && ini.ReadSection("Three").isEmpty());
        QVERIFY(ini.SectionExists("one") && ini.SectionExists("two") && !ini.SectionExists("x"));
    }

    void writes_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QStringList>("writes"); // section, key, value, ...
        QTest::addColumn<QByteArray>("after");
        Write("new file", {}, {"S", "K", "v", "T", "A", "1"}, "[S]\r\nK=v\r\n\r\n[T]\r\nA=1\r\n");
        Write("in place, other lines kept", "; note\n[S]\nK = old\nX=1\n[U]\nY=2\n",
              {"s", "k", "new"}, "; note\r\n[S]\r\nK=new\r\nX=1\r\n[U]\r\nY=2\r\n");
        Write("after the section's last line", "[S]\r\nA=1\r\n; end\r\n\r\n[T]\r\n",
              {"S", "C", "3"}, "[S]\r\nA=1\r\n; end\r\nC=3\r\n\r\n[T]\r\n");
        Write("missing section at the end", "[S]\r\nA=1", {"T", "B", "2"},
              "[S]\r\nA=1\r\n\r\n[T]\r\nB=2\r\n");
        Write("line breaks cannot add keys", {}, {"S", "K", "a\r\n[S]\nX=1"},
              "[S]\r\nK=a  [S] X=1\r\n");
        Write("byte order mark kept", "\xEF\xBB\xBF[S]\nK=1\n", {"S", "K", "2"},
              "\xEF\xBB\xBF[S]\r\nK=2\r\n");
        // A file made on Windows: read as Windows-1252, written back as UTF-8.
        Write("windows-1252", "[S]\r\nK=\x7F\x80\x9F\xA0\xFF\r\n", {"S", "X", "1"},
              "[S]\r\nK=\x7F\xE2\x82\xAC\xC5\xB8\xC2\xA0\xC3\xBF\r\nX=1\r\n");
    }

    void writes()
    {
        QFETCH(QByteArray, before);
        QFETCH(QStringList, writes);
        QFETCH(QByteArray, after);
        IniFile ini(before.isEmpty() ? m_path : File(before));
        for (qsizetype i = 0; i + 2 < writes.size(); i += 3)
            ini.WriteString(writes[i], writes[i + 1], writes[i + 2]);
        QCOMPARE(ReadFileBytes(m_path), after);
    }

    void valuesRoundTrip()
    {
        for (const QString &value : {"", "  two  ", "\"q\"", "'x'", "\"", "\u041F\U0001F600"}) {
            IniFile(m_path).WriteString("S", "K", value);
            QCOMPARE(IniFile(m_path).ReadString("S", "K", "-"), value);
        }
    }

    void bufferedWritesWaitForUpdateFile()
    {
        IniFile ini(File("[S]\r\nK=old\r\n"), IniFile::Mode::Buffered);
        ini.WriteString("S", "K", "new");
        ini.WriteBool("S", "F", true);
        QCOMPARE(ReadFileBytes(m_path), "[S]\r\nK=old\r\n");
        QCOMPARE(ini.ReadString("S", "K", {}), "new");
        ini.UpdateFile();
        QCOMPARE(ReadFileBytes(m_path), "[S]\r\nK=new\r\nF=1\r\n");
    }

    // A FIFO hung the reader, and a file of any size was read whole: they, and any
    // file that is no regular file, read as absent and are never replaced.
    void filesNotReadAreAbsentAndKept_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("FIFO") << "FIFO" << "Not a regular file";
        QTest::newRow("folder") << "folder" << "Not a regular file";
        QTest::newRow("device") << "device" << "Not a regular file";
        QTest::newRow("larger than 4 MiB") << "large" << "The file is larger than 4 MiB";
    }

    void filesNotReadAreAbsentAndKept()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        if (kind == "FIFO")
            QCOMPARE(::mkfifo(QFile::encodeName(m_path).constData(), 0600), 0);
        else if (kind == "folder")
            QVERIFY(QDir().mkpath(m_path));
        else if (kind == "device")
            QVERIFY(QFile::link("/dev/zero", m_path));
        else
            QVERIFY(QFile(File("[S]\nK=v\n")).resize(IniFile::kLargestFile + 1));
        const QFileInfo before(m_path);
        IniFile ini(m_path);
        QVERIFY(!ini.IsPresent());
        QCOMPARE(ini.ReadString("S", "K", "d"), "d");
        QCOMPARE(ErrorOf([&] { ini.WriteString("S", "K", "w"); }),
                 "Unable to write to " + m_path + ": " + reason);
        const QFileInfo after(m_path);
        QVERIFY(after.lastModified() == before.lastModified() && after.size() == before.size()
                && after.isSymLink() == before.isSymLink());
        if (kind == "large") // within a bound given by the caller it is read
            QCOMPARE(IniFile(m_path, IniFile::Mode::Buffered, 2 * IniFile::kLargestFile)
                         .ReadString("S", "K", "d"),
                     "v");
    }

    void presentFiles()
    {
        QVERIFY(!IniFile(m_path).IsPresent());
        QVERIFY(IniFile(File("")).IsPresent());
    }

    // A file that exists but cannot be read would otherwise be replaced by only the
    // keys written, losing everything else in it.
    void unreadableFileIsNeverReplaced()
    {
        QLocalServer server; // a socket: it exists but cannot be opened as a file
        QVERIFY(server.listen(m_path));
        IniFile ini(m_path);
        QCOMPARE(ini.ReadString("S", "K", "d"), "d");
        QVERIFY(ErrorOf([&] { ini.WriteString("S", "K", "v"); })
                    .startsWith("Unable to write to " + m_path));
        QVERIFY(QFileInfo(m_path).exists() && !QFileInfo(m_path).isFile());
    }
};

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
