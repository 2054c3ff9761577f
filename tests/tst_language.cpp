// Language texts: the built-in table, a chosen file read anew at each lookup, its
// name matched without letter case, files that are not read, and the file's path.
#include "platform/IniFile.h"
#include "settings/Language.h"
#include "tests/TestSupport.h"

#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

class TestLanguage : public QObject
{
    Q_OBJECT

    QTemporaryDir m_appDir;

private slots:
    void builtInTexts()
    {
        QCOMPARE(GetBuiltInText("frmHTMLGenerator", "CAPTION", "-"), "HTML Generator");
        QCOMPARE(GetBuiltInText("frmF\u0131nd", "Caption", "-"), "-"); // only ASCII folds
        QCOMPARE(GetBuiltInText("Misc", "lblTitle", "-"), "-"); // only other sections have it
        QCOMPARE(GetBuiltInText("frmFind", "lblOptions", "-"), "-");
        // Without a chosen file the path names the folder, and the table answers.
        QCOMPARE(GetLanguageText(LanguageFilePath(m_appDir.path(), {}), "Messages", "DeleteItems",
                                 "-"),
                 "Delete %d selected items?");
    }

    void chosenFileIsReadAnewAtEachLookup()
    {
        const QString path = LanguageFilePath(m_appDir.path(), "de.ini");
        WriteFileBytes(path, "[frmFind]\nCaption=Finden\n");
        QCOMPARE(GetLanguageText(path, "frmFind", "Caption", "-"), "Finden");
        WriteFileBytes(path, "[frmFind]\nCaption=Suchen\n");
        QCOMPARE(GetLanguageText(path, "frmFind", "Caption", "-"), "Suchen");
        QVERIFY(QFile::remove(path)); // a chosen file that was deleted: the table answers
        QCOMPARE(GetLanguageText(path, "frmFind", "Caption", "-"), "Find");
    }

    // Names are matched without letter case, as on the platform the setting was
    // made on; a stored "DE.INI" found no "de.ini". An exact name comes first.
    void fileNamesIgnoreLetterCase_data()
    {
        QTest::addColumn<QStringList>("files"); // each answers its own name
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("caption");
        QTest::newRow("upper case stored") << QStringList{"de.ini"} << "DE.INI" << "de.ini";
        QTest::newRow("mixed case on disk") << QStringList{"De.Ini"} << "dE.iNI" << "De.Ini";
        QTest::newRow("exact name first")
            << QStringList{"DE.ini", "de.ini", "De.ini"} << "de.ini" << "de.ini";
        QTest::newRow("else the first by name")
            << QStringList{"de.ini", "De.ini"} << "DE.INI" << "De.ini";
        QTest::newRow("non-ASCII letters") << QStringList{u"été.ini"_qs}
                                           << u"ÉTÉ.INI"_qs << u"été.ini"_qs;
        QTest::newRow("none") << QStringList{"de.ini"} << "fr.ini" << "Find";
    }

    void fileNamesIgnoreLetterCase()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, stored);
        QFETCH(QString, caption);
        QTemporaryDir appDir;
        for (const QString &file : files)
            WriteFileBytes(LanguageFilePath(appDir.path(), file),
                           "[frmFind]\nCaption=" + file.toUtf8() + "\n");
        QCOMPARE(GetLanguageText(LanguageFilePath(appDir.path(), stored), "frmFind", "Caption",
                                 "-"),
                 caption);
    }

    // A FIFO as the chosen file hung every lookup; a huge file was read at each one.
    // Both read as missing: the table answers.
    void filesThatAreNoLanguageFilesReadAsMissing()
    {
        const QString fifo = LanguageFilePath(m_appDir.path(), "fifo.ini");
        QVERIFY(QDir().mkpath(QFileInfo(fifo).path()));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QCOMPARE(GetLanguageText(fifo, "frmFind", "Caption", "-"), "Find");
        const QString large = LanguageFilePath(m_appDir.path(), "large.ini");
        WriteFileBytes(large, "[frmFind]\nCaption=Finden\n");
        QCOMPARE(GetLanguageText(large, "frmFind", "Caption", "-"), "Finden");
        QVERIFY(QFile(large).resize(IniFile::kLargestFile + 1)); // sparse: nothing written
        QCOMPARE(GetLanguageText(large, "frmFind", "Caption", "-"), "Find");
    }

    void languageFilePath()
    {
        QCOMPARE(LanguageFilePath("/app/", "de.ini"), "/app/languages/de.ini");
        QCOMPARE(LanguageFilePath("/app", "de.ini"), "/app/languages/de.ini");
        QCOMPARE(LanguageFilePath("", "de.ini"), "languages/de.ini");
    }
};

QTEST_GUILESS_MAIN(TestLanguage)
#include "tst_language.moc"
