// Language texts: the built-in table, a chosen file that answers alone and is
// read anew at each lookup, and the file's path.
#include "settings/Language.h"
#include "tests/TestSupport.h"

#include <QTemporaryDir>
#include <QtTest>

class TestLanguage : public QObject
{
    Q_OBJECT

    QTemporaryDir m_appDir;

    QString File(const QByteArray &contents)
    {
        const QString path = LanguageFilePath(m_appDir.path(), "test.ini");
        WriteFileBytes(path, contents);
        return path;
    }

private slots:
    void builtInTexts_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected"); // "-" is the caller's default
        QTest::newRow("names fold case") << "FRMFIND" << "caption" << "Find";
        QTest::newRow("a message") << "Messages" << "DeleteItems" << "Delete %d selected items?";
        QTest::newRow("key of other sections") << "Misc" << "lblTitle" << "-";
        QTest::newRow("key the table lacks") << "frmFind" << "lblOptions" << "-";
        QTest::newRow("only ASCII folds") << "frmF\u0131nd" << "Caption" << "-";
        QTest::newRow("empty names") << "" << "" << "-";
    }

    void builtInTexts()
    {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        QCOMPARE(GetBuiltInText(section, key, "-"), expected);
        // Without a chosen file the path names the folder, and the table answers.
        const QString folder = LanguageFilePath(m_appDir.path(), QString());
        QCOMPARE(GetLanguageText(folder, section, key, "-"), expected);
    }

    void fileAnswersAloneAndIsReadAnew()
    {
        const QString path = File("[frmFind]\r\nCaption=Suchen\r\nbtnCancel=\r\n");
        QCOMPARE(GetLanguageText(path, "FRMFIND", "caption", "-"), "Suchen");
        QCOMPARE(GetLanguageText(path, "frmFind", "btnCancel", "-"), "");
        QCOMPARE(GetLanguageText(path, "frmFind", "btnOk", "-"), "-"); // the table has it
        File("[frmFind]\nCaption=Finden\n");
        QCOMPARE(GetLanguageText(path, "frmFind", "Caption", "-"), "Finden");
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
