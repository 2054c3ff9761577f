// Language texts: the built-in table, language files, the path and the rules
// that a chosen file answers alone and is read anew at each lookup.
#include "settings/Language.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestLanguage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void builtInTexts_data();
    void builtInTexts();
    void fileTexts_data();
    void fileTexts();
    void languageFilePath_data();
    void languageFilePath();
    void everyLookupReadsTheFileAnew();

private:
    void WriteFile(const QString &name, const QByteArray &contents);

    QTemporaryDir m_appDir;
};

void TestLanguage::initTestCase()
{
    QVERIFY(m_appDir.isValid());
    QVERIFY(QDir(m_appDir.path()).mkpath(QStringLiteral("languages")));
}

void TestLanguage::WriteFile(const QString &name, const QByteArray &contents)
{
    QFile file(LanguageFilePath(m_appDir.path(), name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(contents), contents.size());
}

void TestLanguage::builtInTexts_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected"); // "<default>" is the caller's default
    QTest::newRow("find caption") << "frmFind" << "Caption" << "Find";
    QTest::newRow("upper and lower case") << "FRMFIND" << "caption" << "Find";
    QTest::newRow("key the table lacks") << "frmFind" << "lblOptions" << "<default>";
    QTest::newRow("section case") << "frmHTMLGenerator" << "Caption" << "HTML Generator";
    QTest::newRow("action case") << "frmMain" << "FileHtmlGenerator" << "&HTML Generator...";
    QTest::newRow("status bar case") << "frmMain" << "ViewStatusBar" << "&Status Bar";
    QTest::newRow("btnOK as btnOk") << "frmFind" << "btnOK" << "OK";
    QTest::newRow("btnOk as btnOK") << "frmBookmark" << "btnOk" << "OK";
    QTest::newRow("first row") << "frmMain" << "mnuFile" << "&File";
    QTest::newRow("last row") << "Misc" << "Address" << "Address:";
    QTest::newRow("format text") << "frmStatistics" << "lblFileSizeVal" << "%2.1f KB";
    QTest::newRow("message") << "Messages" << "DeleteItems" << "Delete %d selected items?";
    QTest::newRow("saved changes") << "Messages" << "SaveChanges" << "Save changes?";
    QTest::newRow("unasked row") << "Messages" << "SearchStringNoFound"
                                 << "Search string '%s' not found";
    QTest::newRow("main caption") << "frmMain" << "Caption" << "<default>";
    QTest::newRow("import action") << "frmMain" << "ImportIE" << "<default>";
    QTest::newRow("product name") << "frmAbout" << "lblProductName" << "<default>";
    QTest::newRow("counts") << "frmStatistics" << "lblFoldersVal" << "<default>";
    QTest::newRow("misc description") << "Misc" << "Description" << "<default>";
    QTest::newRow("key of another section") << "Misc" << "lblTitle" << "<default>";
    QTest::newRow("no info section") << "Info" << "LanguageName" << "<default>";
    QTest::newRow("empty names") << "" << "" << "<default>";
    QTest::newRow("only ascii folds") << "frmF\u0131nd" << "Caption" << "<default>";
    QTest::newRow("Kelvin sign is no K") << "frmMain" << "lvBookmar\u212AsTitleColumn"
                                         << "<default>";
}

void TestLanguage::builtInTexts()
{
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    const QString fallback = QStringLiteral("<default>");
    QCOMPARE(GetBuiltInText(section, key, fallback), expected);
    // Without a chosen file the path names the folder, and the table answers.
    const QString folder = LanguageFilePath(m_appDir.path(), QString());
    QCOMPARE(GetLanguageText(folder, section, key, fallback), expected);
}

void TestLanguage::fileTexts_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");
    const QByteArray onlyCaption = "[frmFind]\r\nCaption=Suchen\r\n";
    QTest::newRow("from the file") << onlyCaption << "frmFind" << "Caption" << "Suchen";
    QTest::newRow("file case") << onlyCaption << "FRMFIND" << "caption" << "Suchen";
    QTest::newRow("no fallback to the table") << onlyCaption << "frmFind" << "btnOk"
                                              << "<default>";
    QTest::newRow("missing section") << onlyCaption << "frmMain" << "mnuFile" << "<default>";
    QTest::newRow("present but empty") << QByteArray("[frmFind]\r\nCaption=\r\n") << "frmFind"
                                       << "Caption" << "";
    QTest::newRow("quoted blanks") << QByteArray("[Misc]\nTitle=\" T: \"\n") << "Misc"
                                   << "Title" << " T: ";
    QTest::newRow("windows-1252") << QByteArray("[frmFind]\r\nbtnCancel=Annul\xE9\r\n")
                                  << "frmFind" << "btnCancel" << "Annul\u00E9";
    QTest::newRow("empty file") << QByteArray() << "frmFind" << "Caption" << "<default>";
}

void TestLanguage::fileTexts()
{
    QFETCH(QByteArray, contents);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    WriteFile(QStringLiteral("test.ini"), contents);
    const QString path = LanguageFilePath(m_appDir.path(), QStringLiteral("test.ini"));
    QCOMPARE(GetLanguageText(path, section, key, QStringLiteral("<default>")), expected);
}

void TestLanguage::languageFilePath_data()
{
    QTest::addColumn<QString>("appDir");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("expected");
    QTest::newRow("trailing separator") << "/app/" << "de.ini" << "/app/languages/de.ini";
    QTest::newRow("no trailing separator") << "/app" << "de.ini" << "/app/languages/de.ini";
    QTest::newRow("no language") << "/app/" << "" << "/app/languages/";
}

void TestLanguage::languageFilePath()
{
    QFETCH(QString, appDir);
    QFETCH(QString, file);
    QFETCH(QString, expected);
    QCOMPARE(LanguageFilePath(appDir, file), expected);
}

void TestLanguage::everyLookupReadsTheFileAnew()
{
    const QString path = LanguageFilePath(m_appDir.path(), QStringLiteral("live.ini"));
    const QString key = QStringLiteral("Caption");
    WriteFile(QStringLiteral("live.ini"), "[frmFind]\nCaption=Eins\n");
    QCOMPARE(GetLanguageText(path, "frmFind", key, "-"), "Eins");
    WriteFile(QStringLiteral("live.ini"), "[frmFind]\nCaption=Zwei\n");
    QCOMPARE(GetLanguageText(path, "frmFind", key, "-"), "Zwei");
    QVERIFY(QFile::remove(path)); // a chosen file that was deleted: the table answers
    QCOMPARE(GetLanguageText(path, "frmFind", key, "-"), "Find");
}

QTEST_GUILESS_MAIN(TestLanguage)
#include "tst_language.moc"
