// The statistics dialog: the catalogue file's size in the language's format with
// the user's decimal separator, and the counts of the catalogue in memory. The
// suite runs with a German number locale, whose decimal separator is a comma.
#include "CatalogTree.h"
#include "catalogue/Catalog.h"
#include "dialogs/StatisticsForm.h"
#include "program/Globals.h"
#include "program/MessageBox.h"
#include "settings/Preferences.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

class TestStatisticsForm : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void builtInTexts();
    void sizeLine_data();
    void sizeLine();
    void badFormatShowsErrorAndKeepsCounts();
    void freshValuesEachOpening();
    void escapeCloses();

private:
    void WriteFile(const QString &name, const QByteArray &contents);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TPreferences> m_prefs;
    std::unique_ptr<TCatalog> m_catalog;
    QStringList m_boxes;
};

void TestStatisticsForm::initTestCase()
{
    QCOMPARE(QLocale::system().decimalPoint(), QString(","));
    SetMessageBoxAnswerer([this](const MessageBoxRequest &request) {
        m_boxes << request.Text;
        return QMessageBox::Ok;
    });
}

// One root folder with two sub-folders of three bookmarks each.
void TestStatisticsForm::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    AppDir = m_dir->path() + "/";
    m_prefs = std::make_unique<TPreferences>();
    Prefs = m_prefs.get();
    m_catalog = std::make_unique<TCatalog>();
    Catalog = m_catalog.get();
    TFolder *root = AddFolder(Catalog->Folders(), "root");
    AddBookmarks(AddFolder(root->Folders(), "one")->Bookmarks(), {"a", "b", "c"});
    AddBookmarks(AddFolder(root->Folders(), "two")->Bookmarks(), {"d", "e", "f"});
    m_boxes.clear();
}

void TestStatisticsForm::cleanup()
{
    Catalog = nullptr;
    Prefs = nullptr;
    AppDir.clear();
}

void TestStatisticsForm::WriteFile(const QString &name, const QByteArray &contents)
{
    QDir(m_dir->path()).mkpath(QFileInfo(name).path());
    QFile file(m_dir->filePath(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(contents);
}

void TestStatisticsForm::builtInTexts()
{
    WriteFile("bookmarks.xml", QByteArray(1536, 'x'));
    TfrmStatistics form(nullptr);
    QCOMPARE(form.windowTitle(), QString("Statistics"));
    QCOMPARE(form.lblFileSize->text(), QString("File Size:"));
    QCOMPARE(form.lblFolders->text(), QString("Folders:"));
    QCOMPARE(form.lblBookmarks->text(), QString("Bookmarks:"));
    QCOMPARE(form.lblFileSizeVal->text(), QString("1,5 KB"));
    QCOMPARE(form.lblFoldersVal->text(), QString("3"));
    QCOMPARE(form.lblBookmarksVal->text(), QString("6"));
    QVERIFY(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(m_boxes.isEmpty());
}

void TestStatisticsForm::sizeLine_data()
{
    QTest::addColumn<QByteArray>("language"); // the [frmStatistics] section; none: no file
    QTest::addColumn<int>("bytes"); // -1: no catalogue file, -2: a folder of its name
    QTest::addColumn<QString>("shown");
    QTest::newRow("never saved") << QByteArray() << -1 << "%2.1f KB";
    QTest::newRow("empty file") << QByteArray() << 0 << "0,0 KB";
    QTest::newRow("language without the key: design format")
        << QByteArray("Caption=Statistik\r\n") << 1536 << "1,50 KB";
    QTest::newRow("language's format") << QByteArray("lblFileSizeVal=%.3f Kilobyte\r\n")
                                       << 2048 << "2,000 Kilobyte";
    QTest::newRow("a folder in its place") << QByteArray() << -2 << "%2.1f KB";
}

void TestStatisticsForm::sizeLine()
{
    QFETCH(QByteArray, language);
    QFETCH(int, bytes);
    QFETCH(QString, shown);
    if (!language.isNull()) {
        WriteFile("languages/de.ini", "[frmStatistics]\r\n" + language);
        Prefs->Rec().LanguageFile = "de.ini";
    }
    if (bytes == -2)
        QVERIFY(QDir(m_dir->path()).mkdir("bookmarks.xml"));
    if (bytes >= 0)
        WriteFile("bookmarks.xml", QByteArray(bytes, 'x'));
    TfrmStatistics form(nullptr);
    QCOMPARE(form.lblFileSizeVal->text(), shown);
    QCOMPARE(form.lblBookmarksVal->text(), QString("6"));
    QVERIFY(m_boxes.isEmpty());
}

void TestStatisticsForm::badFormatShowsErrorAndKeepsCounts()
{
    WriteFile("languages/bad.ini", "[frmStatistics]\r\nlblFileSizeVal=%d bytes\r\n");
    Prefs->Rec().LanguageFile = "bad.ini";
    WriteFile("bookmarks.xml", "<varnokel_file/>");
    TfrmStatistics form(nullptr);
    QCOMPARE(m_boxes,
             QStringList("Format '%d bytes' invalid or incompatible with argument."));
    QCOMPARE(form.lblFileSizeVal->text(), QString("%d bytes"));
    QCOMPARE(form.lblFoldersVal->text(), QString("0"));
    QCOMPARE(form.lblBookmarksVal->text(), QString("0"));
}

// The size is the file's, the counts are the catalogue's in memory.
void TestStatisticsForm::freshValuesEachOpening()
{
    WriteFile("bookmarks.xml", QByteArray(1536, 'x'));
    AddBookmark(Catalog->Folders().At(0)->Bookmarks(), "unsaved");
    {
        TfrmStatistics form(nullptr);
        QCOMPARE(form.lblBookmarksVal->text(), QString("7"));
        QCOMPARE(form.lblFileSizeVal->text(), QString("1,5 KB"));
    }
    WriteFile("bookmarks.xml", QByteArray(3072, 'x'));
    TfrmStatistics form(nullptr);
    QCOMPARE(form.lblFileSizeVal->text(), QString("3,0 KB"));
}

void TestStatisticsForm::escapeCloses()
{
    QPointer<TfrmStatistics> form = new TfrmStatistics(nullptr);
    frmStatistics = form;
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form));
    QTest::keyClick(form, Qt::Key_Escape);
    QTRY_VERIFY(form.isNull());
    QCOMPARE(frmStatistics, nullptr);
}

int main(int argc, char *argv[])
{
    // Qt takes the user's number format from the environment.
    qunsetenv("LC_ALL");
    qputenv("LC_NUMERIC", "de_DE.UTF-8");
    QApplication app(argc, argv);
    TestStatisticsForm test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_statisticsform.moc"
