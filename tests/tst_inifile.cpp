// Ini files: the reading rules, integers and flags, writes in place and appended,
// encodings, batching and failed writes.
#include "platform/IniFile.h"
#include "platform/VarnokelError.h"
#include "FileSizeLimit.h"

#include <QFile>
#include <QLocalServer>
#include <QTemporaryDir>
#include <QtTest>

class TestIniFile : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void readsStrings_data();
    void readsStrings();
    void readsIntegers_data();
    void readsIntegers();
    void readsFlags_data();
    void readsFlags();
    void listsSectionsAndKeys();
    void writes_data();
    void writes();
    void valuesRoundTrip_data();
    void valuesRoundTrip();
    void readsWindows1252AndWritesUtf8();
    void bufferedWritesWaitForUpdateFile();
    void writeThroughCreatesTheFileAtOnce();
    void failedWriteNamesTheFileAndKeepsIt();
    void writeIntoMissingFolderFails();
    void unreadableFileIsNeverReplaced();

private:
    QString WriteFile(const QByteArray &contents);
    QByteArray ReadFile() const;

    QTemporaryDir m_dir;
    QString m_path;
};

void TestIniFile::init()
{
    QVERIFY(m_dir.isValid());
    m_path = m_dir.filePath(QStringLiteral("test.ini"));
    QFile::remove(m_path);
}

QString TestIniFile::WriteFile(const QByteArray &contents)
{
    QFile file(m_path);
    if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size())
        qFatal("cannot write the fixture");
    return m_path;
}

QByteArray TestIniFile::ReadFile() const
{
    QFile file(m_path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void TestIniFile::readsStrings_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");
    const QByteArray ab = "[Sec]\r\nKey=value\r\n";
    QTest::newRow("plain") << ab << "Sec" << "Key" << "value";
    QTest::newRow("case of section and key") << ab << "sEC" << "KEY" << "value";
    QTest::newRow("missing key") << ab << "Sec" << "Other" << "<default>";
    QTest::newRow("missing section") << ab << "Nope" << "Key" << "<default>";
    QTest::newRow("empty value is no default") << QByteArray("[S]\nK=\n") << "S" << "K" << "";
    QTest::newRow("blanks dropped") << QByteArray("[S]\n  K \t=  a b \t\n") << "S" << "K"
                                    << "a b";
    QTest::newRow("blank section header") << QByteArray(" [ S ] \nK=v\n") << "S" << "K" << "v";
    QTest::newRow("double quotes") << QByteArray("[S]\nK=\" a \"\n") << "S" << "K" << " a ";
    QTest::newRow("single quotes") << QByteArray("[S]\nK='a'\n") << "S" << "K" << "a";
    QTest::newRow("one pair only") << QByteArray("[S]\nK=\"\"a\"\"\n") << "S" << "K"
                                   << "\"a\"";
    QTest::newRow("unmatched quotes") << QByteArray("[S]\nK=\"a'\n") << "S" << "K" << "\"a'";
    QTest::newRow("lone quote") << QByteArray("[S]\nK=\"\n") << "S" << "K" << "\"";
    QTest::newRow("first of two keys") << QByteArray("[S]\nK=1\nk=2\n") << "S" << "K" << "1";
    QTest::newRow("first of two sections") << QByteArray("[S]\n[s]\nK=2\n") << "S" << "K"
                                           << "<default>";
    QTest::newRow("key in another section") << QByteArray("[A]\nK=1\n[B]\n") << "B" << "K"
                                            << "<default>";
    QTest::newRow("key before any section") << QByteArray("K=1\n[S]\n") << "S" << "K"
                                            << "<default>";
    QTest::newRow("comment is no key") << QByteArray("[S]\n;K=1\n") << "S" << "K"
                                       << "<default>";
    QTest::newRow("line without equals") << QByteArray("[S]\nK\n") << "S" << "K"
                                         << "<default>";
    QTest::newRow("equals in value") << QByteArray("[S]\nK=a=b\n") << "S" << "K" << "a=b";
    QTest::newRow("lf only, no final break") << QByteArray("[S]\nA=1\nK=v") << "S" << "K"
                                             << "v";
    QTest::newRow("byte order mark") << QByteArray("\xEF\xBB\xBF[S]\r\nK=v\r\n") << "S" << "K"
                                     << "v";
    QTest::newRow("non-ascii case is kept") << QByteArray("[S]\n\xC3\x84=v\n") << "S"
                                            << "\u00E4" << "<default>";
    QTest::newRow("utf-8") << QByteArray("[S]\nK=gr\xC3\xBC\xC3\x9F\n") << "S" << "K"
                           << "gr\u00FC\u00DF";
    QTest::newRow("longest value") << "[S]\nK=" + QByteArray(2047, 'x') << "S" << "K"
                                   << QString(2047, u'x');
    QTest::newRow("cut to 2047") << "[S]\nK=" + QByteArray(3000, 'y') << "S" << "K"
                                 << QString(2047, u'y');
}

void TestIniFile::readsStrings()
{
    QFETCH(QByteArray, contents);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    const IniFile ini(WriteFile(contents));
    QCOMPARE(ini.ReadString(section, key, QStringLiteral("<default>")), expected);
    QCOMPARE(ini.ValueExists(section, key), expected != QLatin1String("<default>"));
}

void TestIniFile::readsIntegers_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("expected");
    const int def = 77;
    QTest::newRow("decimal") << "679" << 679;
    QTest::newRow("negative") << "-12" << -12;
    QTest::newRow("plus") << "+5" << 5;
    QTest::newRow("dollar hex") << "$2A7" << 679;
    QTest::newRow("0x hex") << "0x2a7" << 679;
    QTest::newRow("0X hex") << "0X2A7" << 679;
    QTest::newRow("negative hex") << "-$10" << -16;
    QTest::newRow("eight hex digits") << "$FFFFFFFF" << -1;
    QTest::newRow("colour") << "$C0DCC0" << 0xC0DCC0;
    QTest::newRow("quoted") << "\"42\"" << 42;
    QTest::newRow("int max") << "2147483647" << 2147483647;
    QTest::newRow("int min") << "-2147483648" << int(-2147483647 - 1);
    QTest::newRow("too large") << "2147483648" << def;
    QTest::newRow("too large hex") << "$100000000" << def;
    QTest::newRow("hex without prefix") << "2A7" << def;
    QTest::newRow("text") << "yes" << def;
    QTest::newRow("empty") << "" << def;
    QTest::newRow("trailing text") << "12abc" << def;
    QTest::newRow("prefix alone") << "0x" << def;
    QTest::newRow("dollar alone") << "$" << def;
    QTest::newRow("sign alone") << "-" << def;
    QTest::newRow("inner blank") << "1 2" << def;
    QTest::newRow("fraction") << "1.5" << def;
    QTest::newRow("arabic digits") << "\u0661" << def;
}

void TestIniFile::readsIntegers()
{
    QFETCH(QString, value);
    QFETCH(int, expected);
    const IniFile ini(WriteFile("[S]\r\nK=" + value.toUtf8() + "\r\n"));
    QCOMPARE(ini.ReadInteger(QStringLiteral("S"), QStringLiteral("K"), 77), expected);
}

void TestIniFile::readsFlags_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("fallback");
    QTest::addColumn<bool>("expected");
    QTest::newRow("1") << "1" << false << true;
    QTest::newRow("0") << "0" << true << false;
    QTest::newRow("2") << "2" << false << true;
    QTest::newRow("-1") << "-1" << false << true;
    QTest::newRow("hex") << "$0" << true << false;
    QTest::newRow("yes keeps true") << "yes" << true << true;
    QTest::newRow("yes keeps false") << "yes" << false << false;
    QTest::newRow("true keeps false") << "true" << false << false;
}

void TestIniFile::readsFlags()
{
    QFETCH(QString, value);
    QFETCH(bool, fallback);
    QFETCH(bool, expected);
    const IniFile ini(WriteFile("[S]\nK=" + value.toUtf8() + "\n"));
    QCOMPARE(ini.ReadBool(QStringLiteral("S"), QStringLiteral("K"), fallback), expected);
}

void TestIniFile::listsSectionsAndKeys()
{
    const IniFile ini(WriteFile("; comment\r\n[One]\r\nA=1\r\nnot a key\r\n b =2\r\n\r\n"
                                "[Two]\r\n[one]\r\nC=3\r\n"));
    QCOMPARE(ini.ReadSections(), QStringList({"One", "Two", "one"}));
    QCOMPARE(ini.ReadSection(QStringLiteral("ONE")), QStringList({"A", "b"}));
    QCOMPARE(ini.ReadSection(QStringLiteral("Two")), QStringList());
    QCOMPARE(ini.ReadSection(QStringLiteral("Three")), QStringList());
    QVERIFY(ini.SectionExists(QStringLiteral("two")));
    QVERIFY(!ini.SectionExists(QStringLiteral("Three")));
    const IniFile missing(m_dir.filePath(QStringLiteral("none.ini")));
    QCOMPARE(missing.ReadSections(), QStringList());
}

void TestIniFile::writes_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QStringList>("writes"); // section, key, value, ...
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("new file") << QByteArray() << QStringList{"S", "K", "v", "T", "A", "1"}
                              << QByteArray("[S]\r\nK=v\r\n\r\n[T]\r\nA=1\r\n");
    QTest::newRow("in place, other lines kept")
        << QByteArray("; note\n[S]\nK = old\nX=1\n[U]\nY=2\n")
        << QStringList{"s", "k", "new"}
        << QByteArray("; note\r\n[S]\r\nK=new\r\nX=1\r\n[U]\r\nY=2\r\n");
    QTest::newRow("appended after the section's last line")
        << QByteArray("[S]\r\nA=1\r\n; end of S\r\n\r\n[T]\r\nB=2\r\n")
        << QStringList{"S", "C", "3"}
        << QByteArray("[S]\r\nA=1\r\n; end of S\r\nC=3\r\n\r\n[T]\r\nB=2\r\n");
    QTest::newRow("missing section at the end")
        << QByteArray("[S]\r\nA=1") << QStringList{"T", "B", "2"}
        << QByteArray("[S]\r\nA=1\r\n\r\n[T]\r\nB=2\r\n");
    QTest::newRow("first of duplicate keys") << QByteArray("[S]\nK=1\nK=2\n")
                                             << QStringList{"S", "K", "3"}
                                             << QByteArray("[S]\r\nK=3\r\nK=2\r\n");
    QTest::newRow("empty value") << QByteArray("[S]\nK=1\n") << QStringList{"S", "K", ""}
                                 << QByteArray("[S]\r\nK=\r\n");
    QTest::newRow("line breaks cannot add keys")
        << QByteArray() << QStringList{"S", "K", "a\r\n[S]\nX=1"}
        << QByteArray("[S]\r\nK=a  [S] X=1\r\n");
    QTest::newRow("byte order mark kept") << QByteArray("\xEF\xBB\xBF[S]\nK=1\n")
                                          << QStringList{"S", "K", "2"}
                                          << QByteArray("\xEF\xBB\xBF[S]\r\nK=2\r\n");
    QTest::newRow("outer blanks kept by quotes") << QByteArray()
                                                 << QStringList{"S", "K", " a "}
                                                 << QByteArray("[S]\r\nK=\" a \"\r\n");
}

void TestIniFile::writes()
{
    QFETCH(QByteArray, before);
    QFETCH(QStringList, writes);
    QFETCH(QByteArray, after);
    if (!before.isEmpty())
        WriteFile(before);
    IniFile ini(m_path);
    for (qsizetype i = 0; i + 2 < writes.size(); i += 3)
        ini.WriteString(writes[i], writes[i + 1], writes[i + 2]);
    QCOMPARE(ReadFile(), after);
    const IniFile reread(m_path);
    QCOMPARE(reread.ReadString(writes[0], writes[1], QString()),
             QString(writes[2]).replace(u'\r', u' ').replace(u'\n', u' '));
}

void TestIniFile::valuesRoundTrip_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("empty") << "";
    QTest::newRow("outer blanks") << "  two  ";
    QTest::newRow("quoted") << "\"quoted\"";
    QTest::newRow("single quoted") << "'x'";
    QTest::newRow("one quote") << "\"";
    QTest::newRow("quote inside") << "say \"hi\" now";
    QTest::newRow("windows path") << "c:\\bookmarks";
    QTest::newRow("non-latin") << "\u041F\u0440\u0438\u0432\u0435\u0442 \U0001F600";
    QTest::newRow("semicolon and brackets") << "; [x] = y";
}

void TestIniFile::valuesRoundTrip()
{
    QFETCH(QString, value);
    IniFile ini(m_path);
    ini.WriteString(QStringLiteral("S"), QStringLiteral("K"), value);
    QCOMPARE(IniFile(m_path).ReadString(QStringLiteral("S"), QStringLiteral("K"), "-"), value);
}

void TestIniFile::readsWindows1252AndWritesUtf8()
{
    // "Fran\xE7ais" and a euro sign as a language file made on Windows has them.
    WriteFile("[Info]\r\nLanguageName=Fran\xE7" "ais\r\nSign=\x80\r\n");
    IniFile ini(m_path);
    QCOMPARE(ini.ReadString(QStringLiteral("Info"), QStringLiteral("LanguageName"), {}),
             QStringLiteral("Fran\u00E7ais"));
    QCOMPARE(ini.ReadString(QStringLiteral("Info"), QStringLiteral("Sign"), {}),
             QStringLiteral("\u20AC"));
    ini.WriteInteger(QStringLiteral("Info"), QStringLiteral("Count"), 2);
    QCOMPARE(ReadFile(), QByteArray("[Info]\r\nLanguageName=Fran\xC3\xA7" "ais\r\n"
                                    "Sign=\xE2\x82\xAC\r\nCount=2\r\n"));
}

void TestIniFile::bufferedWritesWaitForUpdateFile()
{
    WriteFile("[S]\r\nK=old\r\n");
    IniFile ini(m_path, IniFile::Mode::Buffered);
    ini.WriteString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("new"));
    ini.WriteBool(QStringLiteral("S"), QStringLiteral("F"), true);
    ini.WriteBool(QStringLiteral("S"), QStringLiteral("G"), false);
    QCOMPARE(ReadFile(), QByteArray("[S]\r\nK=old\r\n"));
    QCOMPARE(ini.ReadString(QStringLiteral("S"), QStringLiteral("K"), {}), "new");
    ini.UpdateFile();
    QCOMPARE(ReadFile(), QByteArray("[S]\r\nK=new\r\nF=1\r\nG=0\r\n"));
}

void TestIniFile::writeThroughCreatesTheFileAtOnce()
{
    IniFile ini(m_path);
    ini.WriteInteger(QStringLiteral("S"), QStringLiteral("N"), -5);
    QCOMPARE(ReadFile(), QByteArray("[S]\r\nN=-5\r\n"));
}

void TestIniFile::failedWriteNamesTheFileAndKeepsIt()
{
    const QByteArray old = "[S]\r\nK=old\r\n";
    WriteFile(old);
    IniFile ini(m_path, IniFile::Mode::Buffered);
    ini.WriteString(QStringLiteral("S"), QStringLiteral("K"), QString(4000, u'n'));
    try {
        FileSizeLimit limit(1000);
        ini.UpdateFile();
        QFAIL("the write did not fail");
    } catch (const VarnokelError &error) {
        QVERIFY2(error.Message() == "Unable to write to " + m_path + ": File too large",
                 qPrintable(error.Message()));
    }
    QCOMPARE(ReadFile(), old);
    QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files), QStringList{"test.ini"});
}

void TestIniFile::writeIntoMissingFolderFails()
{
    const QString path = m_dir.filePath(QStringLiteral("missing/test.ini"));
    IniFile ini(path);
    QCOMPARE(ini.ReadString(QStringLiteral("S"), QStringLiteral("K"), "d"), "d");
    QVERIFY_THROWS_EXCEPTION(VarnokelError,
        ini.WriteString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("v")));
}

// A file that exists but cannot be read would otherwise be replaced by only the
// keys written, losing everything else in it.
void TestIniFile::unreadableFileIsNeverReplaced()
{
    QLocalServer server; // a socket exists in the folder but cannot be opened as a file
    QVERIFY(server.listen(m_path));
    IniFile ini(m_path);
    QCOMPARE(ini.ReadString(QStringLiteral("S"), QStringLiteral("K"), "d"), "d");
    try {
        ini.WriteString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("v"));
        QFAIL("the write did not fail");
    } catch (const VarnokelError &error) {
        QVERIFY(error.Message().startsWith("Unable to write to " + m_path));
    }
    QVERIFY(QFileInfo(m_path).exists() && !QFileInfo(m_path).isFile());
}

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
