// Language texts: the built-in table, a chosen file read anew at each lookup, and
// the file's path.
#include "settings/Language.h"
#include "tests/TestSupport.h"

#include <QTemporaryDir>
#include <QtTest>

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

    void languageFilePath()
    {
        QCOMPARE(LanguageFilePath("/app/", "de.ini"), "/app/languages/de.ini");
        QCOMPARE(LanguageFilePath("/app", "de.ini"), "/app/languages/de.ini");
        QCOMPARE(LanguageFilePath("", "de.ini"), "languages/de.ini");
    }
};

QTEST_GUILESS_MAIN(TestLanguage)
#include "tst_language.moc"
