// The HTML generator dialog: what is stored when, where the save dialog starts,
// which folders reach the page, Enter in the texts, the swatches' colours.
#include "FormCheck.h"
#include "CatalogTree.h"
#include "MainWindowFixture.h"
#include "dialogs/HTMLGeneratorForm.h"
#include "program/FileChooser.h"
#include "program/MessageBox.h"
#include "settings/Preferences.h"

#include <QtTest>
#include <QtWidgets>

namespace {

QString Page(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : "(no page)";
}

// The folder titles of the page's folder tables, in page order.
QStringList FolderTables(const QString &fileName)
{
    static const QRegularExpression header(QStringLiteral("<font size=\"\\+1\"><b>([^<]*)</b>"));
    QStringList titles;
    for (const auto &match : header.globalMatch(Page(fileName)))
        titles << match.captured(1);
    return titles;
}

// The colour a swatch shows on its form, inside its frame.
QColor Shown(const QLabel *swatch)
{
    const QRect place = swatch->geometry();
    const QImage shown = swatch->parentWidget()->grab(place).toImage();
    return shown.pixelColor(place.width() / 2, place.height() / 2);
}

} // namespace

class TestHtmlGeneratorForm : public QObject
{
    Q_OBJECT

    QTemporaryDir m_home;
    MainWindowFixture m_window;
    QList<FileChooserRequest> m_asked; // every save dialog opened
    QList<TPreferencesRec> m_stored;   // the settings as each save dialog opened
    QString m_choice;                  // the file the save dialog gives; empty: Cancel
    QStringList m_boxes;

    TfrmHTMLGenerator *Open()
    {
        frmHTMLGenerator = new TfrmHTMLGenerator(m_window.Form.get());
        frmHTMLGenerator->show();
        return frmHTMLGenerator;
    }
    QString Path(const QString &name) const { return m_window.Dir->filePath(name); }

private slots:
    void initTestCase()
    {
        qputenv("HOME", QFile::encodeName(m_home.path()));
        SetMessageBoxAnswerer([this](const MessageBoxRequest &request) {
            m_boxes << request.Text;
            return QMessageBox::Ok;
        });
        SetFileChooserAnswerer([this](const FileChooserRequest &request) {
            m_asked << request;
            m_stored << Prefs->Rec();
            return m_choice;
        });
    }
    // A (A1) and B, each with a bookmark; A's node selected.
    void init()
    {
        QVERIFY(m_window.Open());
        TFolder *a = AddFolder(Catalog->Folders(), "A");
        AddBookmark(a->Bookmarks(), "a");
        AddBookmark(AddFolder(a->Folders(), "A1")->Bookmarks(), "a1");
        AddBookmark(AddFolder(Catalog->Folders(), "B")->Bookmarks(), "b");
        a->SetSelected(true);
        m_window.Form->RebuildFolderTree();
        m_asked.clear();
        m_stored.clear();
        m_boxes.clear();
        m_choice = Path("page.html");
    }
    void cleanup()
    {
        m_window.Close(); // takes an open generator with it
        QVERIFY(!frmHTMLGenerator);
    }

    // Nothing is stored before OK; OK stores before it asks for the file, and a
    // cancelled save dialog leaves the generator open and the settings stored.
    void settingsStoredBeforeTheSaveDialog()
    {
        TfrmHTMLGenerator *form = Open();
        form->edTitle->setText("My links");
        CheckForm(form, "HTML Generator", {"grbTextInfo", "lblTitle", "edTitle",
                  "lblWelcomeHeader", "edHeaderMessage", "lblWelcomeMessage",
                  "edWelcomeMessage", "grbColorScheme", "lblText", "stText", "lblBackground",
                  "stBackground", "lblHeaderArea", "stHeaderArea", "lblWelcomeArea",
                  "stWelcomeArea", "lblBookmarkArea1", "stBookmarkArea1", "lblBookmarkArea2",
                  "stBookmarkArea2", "chkGenFromSelectedFolder", "btnOk", "btnCancel"}, {});
        QColor offered;
        QTimer::singleShot(0, [&offered] {
            auto *dialog = qobject_cast<QColorDialog *>(QApplication::activeModalWidget());
            offered = dialog->currentColor();
            dialog->setCurrentColor(QColor(0x11, 0x22, 0x33));
            dialog->accept();
        });
        QTest::mouseClick(form->stHeaderArea, Qt::LeftButton);
        QCOMPARE(offered, QColor(0xFF, 0xFF, 0xE1)); // $E1FFFF
        QCOMPARE(Shown(form->stHeaderArea), QColor(0x11, 0x22, 0x33));
        QVERIFY(Prefs->Rec().HeaderAreaColor == 0xE1FFFF && Prefs->Rec().TitleText == "Title");
        m_choice.clear();
        form->btnOk->click();
        QCOMPARE(m_stored.size(), 1);
        QVERIFY(m_stored[0].TitleText == "My links" && m_stored[0].HeaderAreaColor == 0x332211);
        QVERIFY(form->isVisible() && !QFile::exists(Path("page.html")));
        QCOMPARE(Prefs->Rec().HTMLFile, QString("c:\\bookmarks"));
        form->btnCancel->click(); // keeps what OK stored
        QTRY_VERIFY(!frmHTMLGenerator);
        QCOMPARE(Prefs->Rec().TitleText, QString("My links"));
    }

    // System colours put into the settings by hand show and reach the page as the
    // desktop's current values of the same meaning (the window colour once took
    // the dialogs' background); the settings are stored back as they were.
    void loadedSettingsStoredUnchanged()
    {
        QPalette palette = QApplication::palette();
        const auto restore = qScopeGuard([old = palette] { QApplication::setPalette(old); });
        palette.setColor(QPalette::Base, QColor(0x01, 0x02, 0x03));
        palette.setColor(QPalette::Window, QColor(0x0A, 0x0A, 0x0A));
        palette.setColor(QPalette::Button, QColor(0x04, 0x05, 0x06));
        palette.setColor(QPalette::Text, QColor(0x07, 0x08, 0x09));
        palette.setColor(QPalette::WindowText, QColor(0x0B, 0x0B, 0x0B));
        QApplication::setPalette(palette);
        TPreferencesRec &rec = Prefs->Rec();
        rec.TextColor = int(0x80000008);       // the window text colour
        rec.BackgroundColor = int(0x80000005); // the window colour
        rec.HeaderAreaColor = int(0x8000000F); // the button face
        rec.WelcomeAreaColor = 0;
        rec.BookmarkArea1Color = 0x0A0B0C;
        rec.BookmarkArea2Color = 0x0D0E0F;
        rec.GenerateFromSelFolder = true;
        rec.LanguageFile = "de.ini";
        QDir(m_window.Dir->path()).mkdir("languages");
        QFile language(Path("languages/de.ini"));
        QVERIFY(language.open(QIODevice::WriteOnly) && language.write("[frmHTMLGenerator]\r\n"
                                                                      "Caption=HTML-Seite\r\n"));
        language.close();
        QStringList shown; // as the command opens it
        QTimer::singleShot(0, [&shown] {
            shown << frmHTMLGenerator->windowTitle() << Shown(frmHTMLGenerator->stText).name()
                  << Shown(frmHTMLGenerator->stWelcomeArea).name();
            frmHTMLGenerator->btnOk->click();
        });
        m_window.Form->Action(ActionId::FileHtmlGenerator)->trigger();
        QCOMPARE(shown, QStringList({"HTML-Seite", "#070809", "#000000"}));
        QVERIFY(!frmHTMLGenerator);
        const TPreferencesRec &s = m_stored.value(0);
        QVERIFY(s.TextColor == rec.TextColor && s.BackgroundColor == rec.BackgroundColor);
        QVERIFY(s.BookmarkArea1Color == 0x0A0B0C && s.BookmarkArea2Color == 0x0D0E0F);
        QCOMPARE(FolderTables(Path("page.html")), QStringList({"A", "A1"}));
        const QString page = Page(Path("page.html"));
        QVERIFY(page.contains("<title>Title</title>\r\n"));
        QVERIFY(page.contains("<body bgcolor=\"#010203\" text=\"#070809\">\r\n"));
        QVERIFY(page.contains("<th bgcolor=\"#040506\" bordercolor=\"#FFFFFF\"><font size=\"+2\">"
                              "<b>Header</b>"));
        QVERIFY(page.contains("<td bgcolor=\"#000000\" bordercolor=\"#FFFFFF\"><font size=\"+1\">"
                              "Welcome Message</font>"));
        QVERIFY(page.contains("<td bgcolor=\"#0C0B0A\" bordercolor=\"#FFFFFF\"><a href=\"\" "
                              "title=\"\">a</a></td>"));
    }

    // The chosen file is remembered only once the page is written.
    void fileRememberedOnlyAfterAWrite()
    {
        QFile blocker(Path("file"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        TfrmHTMLGenerator *form = Open();
        m_choice = Path("file/page.html"); // inside a regular file: no folder to write in
        form->btnOk->click();
        QCOMPARE(m_boxes.size(), 1);
        QVERIFY2(m_boxes[0].contains("page.html"), qPrintable(m_boxes[0]));
        QVERIFY(form->isVisible());
        QCOMPARE(Prefs->Rec().HTMLFile, QString("c:\\bookmarks"));
        m_choice = Path("page.html");
        form->btnOk->click();
        QTRY_VERIFY(!frmHTMLGenerator);
        QCOMPARE(Prefs->Rec().HTMLFile, Path("page.html"));
    }

    void chosenFolderReachesThePage_data()
    {
        QTest::addColumn<bool>("selectedOnly");
        QTest::addColumn<bool>("nodeSelected");
        QTest::addColumn<QStringList>("tables");
        QTest::newRow("whole catalogue") << false << true << QStringList{"A", "A1", "B"};
        QTest::newRow("A and below") << true << true << QStringList{"A", "A1"};
        QTest::newRow("no node selected") << true << false << QStringList{"A", "A1", "B"};
    }
    void chosenFolderReachesThePage()
    {
        QFETCH(bool, selectedOnly);
        QFETCH(bool, nodeSelected);
        if (!nodeSelected)
            m_window.Form->trvFolders->clearSelection();
        TfrmHTMLGenerator *form = Open();
        form->chkGenFromSelectedFolder->setChecked(selectedOnly);
        form->btnOk->click();
        QTEST(FolderTables(Path("page.html")), "tables");
    }

    void saveDialogStart_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("documents"); // a Documents folder in the home folder
        QTest::addColumn<QString>("start");
        const QString documents = "<home>/Documents/bookmarks.html";
        QTest::newRow("designed default") << "c:\\bookmarks" << true << documents;
        QTest::newRow("relative") << "links.html" << true << documents;
        QTest::newRow("folder gone") << "<dir>/gone/links.html" << true << documents;
        QTest::newRow("existing folder") << "<dir>/links.htm" << true << "<dir>/links.htm";
        QTest::newRow("no Documents folder") << "links.html" << false << "<home>/bookmarks.html";
    }
    // It adds ".html" to a name without extension and asks before replacing a file.
    void saveDialogStart()
    {
        QFETCH(QString, stored);
        QFETCH(bool, documents);
        QFETCH(QString, start);
        QDir home(m_home.path());
        QVERIFY(home.mkpath("Documents") && (documents || home.rmdir("Documents")));
        for (QString *text : {&stored, &start})
            text->replace("<dir>", m_window.Dir->path()).replace("<home>", m_home.path());
        Prefs->Rec().HTMLFile = stored;
        m_choice.clear();
        Open()->btnOk->click();
        QCOMPARE(m_asked.size(), 1);
        QCOMPARE(m_asked[0].Start, start);
        QVERIFY(m_asked[0].Kind == TChooserKind::SaveFile && m_asked[0].ConfirmOverwrite);
        QCOMPARE(m_asked[0].DefaultSuffix, QString("html"));
    }

    void enterPressesOkOnlyInTheTexts_data()
    {
        QTest::addColumn<QString>("widget");
        QTest::addColumn<int>("presses");
        QTest::newRow("title") << "edTitle" << 1;
        QTest::newRow("welcome message") << "edWelcomeMessage" << 1;
        QTest::newRow("check box") << "chkGenFromSelectedFolder" << 0;
        QTest::newRow("Cancel button") << "btnCancel" << 0;
    }
    void enterPressesOkOnlyInTheTexts()
    {
        QFETCH(QString, widget);
        TfrmHTMLGenerator *form = Open();
        m_choice.clear();
        auto *target = form->findChild<QWidget *>(widget);
        target->setFocus();
        QTest::keyClick(target, Qt::Key_Return);
        QTEST(int(m_asked.size()), "presses");
        QVERIFY(form->isVisible());
    }
};

QTEST_MAIN(TestHtmlGeneratorForm)
#include "tst_htmlgeneratorform.moc"
