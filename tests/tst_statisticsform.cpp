// The statistics dialog: the catalogue file's size in the language's format with
// the user's decimal separator (the suite runs with a German number locale), and
// the counts of the catalogue in memory.
#include "FormCheck.h"
#include "CatalogTree.h"
#include "dialogs/StatisticsForm.h"
#include "program/DesignedSize.h"
#include "program/Globals.h"
#include "program/MessageBox.h"
#include "settings/Preferences.h"

#include <QtTest>
#include <QtWidgets>

class TestStatisticsForm : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    TPreferences m_prefs;
    TCatalog m_catalog;
    QStringList m_boxes;

    void Write(const QString &name, const QByteArray &contents)
    {
        QDir(m_dir.path()).mkpath(QFileInfo(name).path());
        QFile file(m_dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size());
    }

private slots:
    // One root folder with two sub-folders of three bookmarks each.
    void initTestCase()
    {
        QCOMPARE(QLocale::system().decimalPoint(), QString(","));
        SetMessageBoxAnswerer([this](const MessageBoxRequest &request) {
            m_boxes << request.Text;
            return QMessageBox::Ok;
        });
        AppDir = m_dir.path() + "/";
        Prefs = &m_prefs;
        Catalog = &m_catalog;
        TFolder *root = AddFolder(Catalog->Folders(), "root");
        AddBookmarks(AddFolder(root->Folders(), "one")->Bookmarks(), {"a", "b", "c"});
        AddBookmarks(AddFolder(root->Folders(), "two")->Bookmarks(), {"d", "e", "f"});
    }
    void cleanup()
    {
        QDir(m_dir.filePath("bookmarks.xml")).removeRecursively();
        QFile::remove(m_dir.filePath("bookmarks.xml"));
        m_prefs.Rec().LanguageFile.clear();
        m_boxes.clear();
    }

    void lines_data()
    {
        QTest::addColumn<QByteArray>("language"); // the [frmStatistics] section; none: no file
        QTest::addColumn<int>("bytes"); // -1: no catalogue file, -2: a folder of its name
        QTest::addColumn<QString>("size");
        QTest::addColumn<QString>("counts");
        QTest::addColumn<QString>("error");
        QTest::newRow("built-in format") << QByteArray() << 1536 << "1,5 KB" << "3 6" << "";
        QTest::newRow("never saved") << QByteArray() << -1 << "%2.1f KB" << "3 6" << "";
        QTest::newRow("empty file") << QByteArray() << 0 << "0,0 KB" << "3 6" << "";
        QTest::newRow("a folder in its place") << QByteArray() << -2 << "%2.1f KB" << "3 6" << "";
        QTest::newRow("language without the key: the design format")
            << QByteArray("Caption=Statistik\r\n") << 1536 << "1,50 KB" << "3 6" << "";
        QTest::newRow("the language's format") << QByteArray("lblFileSizeVal=%.3f Kilobyte\r\n")
                                               << 2048 << "2,000 Kilobyte" << "3 6" << "";
        QTest::newRow("a format for no number: the counts stay 0")
            << QByteArray("lblFileSizeVal=%d bytes\r\n") << 16 << "%d bytes" << "0 0"
            << "Format '%d bytes' invalid or incompatible with argument.";
    }
    void lines()
    {
        QFETCH(QByteArray, language);
        QFETCH(int, bytes);
        QFETCH(QString, error);
        if (!language.isNull()) {
            Write("languages/de.ini", "[frmStatistics]\r\n" + language);
            m_prefs.Rec().LanguageFile = "de.ini";
        }
        if (bytes == -2)
            QVERIFY(QDir(m_dir.path()).mkdir("bookmarks.xml"));
        if (bytes >= 0)
            Write("bookmarks.xml", QByteArray(bytes, 'x'));
        TfrmStatistics form(nullptr);
        QTEST(form.lblFileSizeVal->text(), "size");
        QTEST(form.lblFoldersVal->text() + ' ' + form.lblBookmarksVal->text(), "counts");
        QCOMPARE(m_boxes, error.isEmpty() ? QStringList() : QStringList(error));
    }

    // Its designed size in any font, fixed: it could be resized.
    void opensAtDesignedSize_data() { AddFontRows(); }
    void opensAtDesignedSize()
    {
        QFETCH(int, pixelSize);
        const AppFontScope font(pixelSize);
        TfrmStatistics form(nullptr);
        form.show();
        CheckDesignedSize(&form, {262, 110});
        CheckForm(&form, "Statistics", {"Bevel1", "lblFileSize", "lblFileSizeVal", "lblFolders",
                  "lblFoldersVal", "lblBookmarks", "lblBookmarksVal", "btnOk"}, {262, 110});
    }

    // Longer captions of a language were clipped: each label had a fixed least
    // width, so the dialog kept its designed size.
    void longCaptionsShownWhole()
    {
        Write("languages/de.ini", "[frmStatistics]\r\nCaption=Statistik\r\n"
                                  "lblFileSize=Größe der Katalogdatei auf dem Datenträger:\r\n"
                                  "lblFileSizeVal=%2.1f Kilobyte auf dem Datenträger\r\n"
                                  "lblFolders=Anzahl aller Ordner auf allen Ebenen:\r\n"
                                  "lblBookmarks=Anzahl aller Lesezeichen in allen Ordnern:\r\n"
                                  "btnOk=Schließen und zurück zum Hauptfenster\r\n");
        m_prefs.Rec().LanguageFile = "de.ini";
        Write("bookmarks.xml", QByteArray(1536, 'x'));
        TfrmStatistics form(nullptr);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(form.lblFileSizeVal->text(), QString("1,5 Kilobyte auf dem Datenträger"));
        QCOMPARE(ClippedCaptions(&form, &form).join(" "), QString());
        QVERIFY(form.width() > Scaled(262, form.fontMetrics())); // grown
        QCOMPARE(form.minimumSize(), form.maximumSize()); // and still fixed
    }

    // Kept on top of other windows: the fixed size once replaced the flags that
    // said so.
    void keptOnTop()
    {
        TfrmStatistics form(nullptr);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(form.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(!form.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    }

    // OK, the default button, and Esc close it.
    void okAndEscClose()
    {
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
            QPointer<TfrmStatistics> form = frmStatistics = new TfrmStatistics(nullptr);
            form->show();
            QVERIFY(QTest::qWaitForWindowExposed(form));
            CheckForm(form, "Statistics", {"Bevel1", "lblFileSize", "lblFileSizeVal",
                      "lblFolders", "lblFoldersVal", "lblBookmarks", "lblBookmarksVal", "btnOk"},
                      {262, 110});
            QTest::keyClick(form, key);
            QTRY_VERIFY(form.isNull());
            QCOMPARE(frmStatistics, nullptr);
        }
    }
};

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
