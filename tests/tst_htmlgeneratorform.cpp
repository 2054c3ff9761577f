// The HTML generator dialog and its command: what is stored when, where the save
// dialog starts, which folders reach the page, Enter in the texts, the swatches.
#include "CatalogTree.h"
#include "dialogs/HTMLGeneratorForm.h"
#include "program/FileChooser.h"
#include "mainwindow/MainForm.h"
#include "program/Globals.h"
#include "program/MessageBox.h"
#include "settings/Preferences.h"

#include <QAction>
#include <QCheckBox>
#include <QColorDialog>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

#include <functional>

namespace {

// Runs `answer` on the next modal dialog of type T once it shows, from the event
// loop that dialog runs, so that no test waits on a person.
template <typename T>
void AnswerModal(std::function<void(T *)> answer)
{
    auto *timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, answer] {
        if (auto *dialog = qobject_cast<T *>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            answer(dialog);
        }
    });
    timer->start();
}

// The folder titles of the page's folder tables, in page order.
QStringList FolderTables(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return {QStringLiteral("(no page)")};
    static const QRegularExpression header(QStringLiteral("<font size=\"\\+1\"><b>([^<]*)</b>"));
    QStringList titles;
    for (const auto &match : header.globalMatch(QString::fromUtf8(file.readAll())))
        titles << match.captured(1);
    return titles;
}

} // namespace

class TestHtmlGeneratorForm : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void translatesEveryCaption();
    void settingsStoredBeforeTheSaveDialog();
    void fileRememberedOnlyAfterAWrite();
    void chosenFolderReachesThePage_data();
    void chosenFolderReachesThePage();
    void commandShowsTheGeneratorModally();
    void saveDialogStart_data();
    void saveDialogStart();
    void realSaveDialogAddsTheSuffix();
    void enterPressesOkOnlyInTheTexts_data();
    void enterPressesOkOnlyInTheTexts();
    void systemColoursTakeTheDesktopPalette();

private:
    TfrmHTMLGenerator *Open();
    void InstallChooser();
    QString Path(const QString &name) const { return m_dir->filePath(name); }

    QTemporaryDir m_home;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TfrmMain> m_form;
    TFolder *A = nullptr, *B = nullptr;
    QStringList m_starts;              // where each save dialog started
    QList<TPreferencesRec> m_asked;    // the settings as each save dialog opened
    QString m_choice;                  // the file the save dialog gives; empty: Cancel
    QList<MessageBoxRequest> m_boxes;
};

void TestHtmlGeneratorForm::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    qputenv("HOME", m_home.path().toLocal8Bit());
    QDir(m_home.path()).mkpath(QStringLiteral("Documents"));
    SetMessageBoxAnswerer([this](const MessageBoxRequest &request) {
        m_boxes.append(request);
        return QMessageBox::Ok;
    });
    InstallChooser();
}

void TestHtmlGeneratorForm::InstallChooser()
{
    SetFileChooserAnswerer([this](const FileChooserRequest &request) {
        m_starts << request.Start;
        m_asked << Prefs->Rec();
        return m_choice;
    });
}

// A (A1) and B, each with a bookmark; A's node selected.
void TestHtmlGeneratorForm::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    SetProgramFolder(m_dir->path());
    m_form = std::make_unique<TfrmMain>();
    m_form->show();
    A = AddFolder(Catalog->Folders(), "A");
    AddBookmark(A->Bookmarks(), "a");
    AddBookmark(AddFolder(A->Folders(), "A1")->Bookmarks(), "a1");
    B = AddFolder(Catalog->Folders(), "B");
    AddBookmark(B->Bookmarks(), "b");
    A->SetSelected(true);
    m_form->RebuildFolderTree();
    m_starts.clear();
    m_asked.clear();
    m_boxes.clear();
    m_choice = Path("page.html");
}

void TestHtmlGeneratorForm::cleanup()
{
    m_form.reset(); // takes an open generator with it
    QVERIFY(!frmHTMLGenerator);
    Modified = false;
}

void TestHtmlGeneratorForm::cleanupTestCase()
{
    SetFileChooserAnswerer({});
    SetMessageBoxAnswerer({});
}

TfrmHTMLGenerator *TestHtmlGeneratorForm::Open()
{
    frmHTMLGenerator = new TfrmHTMLGenerator(m_form.get());
    frmHTMLGenerator->show();
    return frmHTMLGenerator;
}

void TestHtmlGeneratorForm::translatesEveryCaption()
{
    QDir(m_dir->path()).mkpath("languages");
    QFile file(Path("languages/de.ini"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[frmHTMLGenerator]\r\nCaption=HTML-Seite\r\nlblBookmarkArea2=Lesezeichen 2:\r\n"
               "chkGenFromSelectedFolder=Nur der Ordner\r\nbtnOk=Weiter\r\n");
    file.close();
    Prefs->Rec().LanguageFile = "de.ini";
    TfrmHTMLGenerator *form = Open();
    QCOMPARE(form->windowTitle(), QString("HTML-Seite"));
    QCOMPARE(form->findChild<QLabel *>("lblBookmarkArea2")->text(), QString("Lesezeichen 2:"));
    QCOMPARE(form->chkGenFromSelectedFolder->text(), QString("Nur der Ordner"));
    QCOMPARE(form->btnOk->text(), QString("Weiter"));
    QCOMPARE(form->lblWelcomeMessage->text(), QString("Welcome Message:")); // not in the file
}

void TestHtmlGeneratorForm::settingsStoredBeforeTheSaveDialog()
{
    TfrmHTMLGenerator *form = Open();
    QCOMPARE(form->edWelcomeMessage->text(), QString("Welcome Message"));
    form->edTitle->setText("My links");
    form->chkGenFromSelectedFolder->setChecked(true);
    // The colour dialog opens at the swatch's colour ($E1FFFF: red and green full).
    QColor offered;
    AnswerModal<QColorDialog>([&offered](QColorDialog *dialog) {
        offered = dialog->currentColor();
        dialog->setCurrentColor(QColor(0x11, 0x22, 0x33));
        dialog->accept();
    });
    QTest::mouseClick(form->stHeaderArea, Qt::LeftButton);
    QCOMPARE(offered, QColor(0xFF, 0xFF, 0xE1));
    QCOMPARE(Prefs->Rec().HeaderAreaColor, 0xE1FFFF); // nothing stored before OK

    m_choice.clear(); // the save dialog cancelled
    form->btnOk->click();
    QCOMPARE(m_asked.size(), 1);
    const TPreferencesRec &asked = m_asked.first();
    QCOMPARE(asked.TitleText, QString("My links"));
    QCOMPARE(asked.HeaderAreaColor, 0x332211);
    QVERIFY(asked.GenerateFromSelFolder);
    QVERIFY(form->isVisible());
    QCOMPARE(Prefs->Rec().HTMLFile, QString("c:\\bookmarks"));
    QVERIFY(!QFile::exists(Path("page.html")));

    form->btnCancel->click(); // keeps what OK stored
    QTRY_VERIFY(!frmHTMLGenerator);
    QCOMPARE(Prefs->Rec().TitleText, QString("My links"));
    QCOMPARE(Prefs->Rec().HeaderAreaColor, 0x332211);
}

void TestHtmlGeneratorForm::fileRememberedOnlyAfterAWrite()
{
    QFile blocker(Path("file"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    TfrmHTMLGenerator *form = Open();
    form->edTitle->setText("Kept");
    m_choice = Path("file/page.html"); // inside a regular file: no folder to write in
    form->btnOk->click();
    QCOMPARE(m_boxes.size(), 1);
    QVERIFY2(m_boxes[0].Text.contains("page.html"), qPrintable(m_boxes[0].Text));
    QCOMPARE(m_boxes[0].Icon, QMessageBox::Critical);
    QVERIFY(form->isVisible());
    QCOMPARE(Prefs->Rec().HTMLFile, QString("c:\\bookmarks"));
    QCOMPARE(Prefs->Rec().TitleText, QString("Kept"));

    m_choice = Path("page.html");
    form->btnOk->click();
    QTRY_VERIFY(!frmHTMLGenerator);
    QCOMPARE(Prefs->Rec().HTMLFile, Path("page.html"));
    QCOMPARE(FolderTables(Path("page.html")), QStringList({"A", "A1", "B"}));
    QCOMPARE(m_boxes.size(), 1);
}

void TestHtmlGeneratorForm::chosenFolderReachesThePage_data()
{
    QTest::addColumn<bool>("selectedOnly");
    QTest::addColumn<bool>("nodeSelected");
    QTest::addColumn<QStringList>("tables");
    QTest::newRow("whole catalogue") << false << true << QStringList{"A", "A1", "B"};
    QTest::newRow("A and below") << true << true << QStringList{"A", "A1"};
    QTest::newRow("no node selected") << true << false << QStringList{"A", "A1", "B"};
}

void TestHtmlGeneratorForm::chosenFolderReachesThePage()
{
    QFETCH(bool, selectedOnly);
    QFETCH(bool, nodeSelected);
    QFETCH(QStringList, tables);
    if (!nodeSelected)
        m_form->trvFolders->clearSelection();
    QCOMPARE(m_form->SelectedNodeFolder(), nodeSelected ? A : nullptr);
    TfrmHTMLGenerator *form = Open();
    form->chkGenFromSelectedFolder->setChecked(selectedOnly);
    form->btnOk->click();
    QCOMPARE(FolderTables(Path("page.html")), tables);
}

void TestHtmlGeneratorForm::commandShowsTheGeneratorModally()
{
    m_form->SelectFolderNode(B);
    Prefs->Rec().GenerateFromSelFolder = true;
    bool modal = false;
    AnswerModal<TfrmHTMLGenerator>([&modal](TfrmHTMLGenerator *form) {
        modal = form == frmHTMLGenerator && form->isModal();
        form->btnOk->click();
    });
    m_form->Action(ActionId::FileHtmlGenerator)->trigger();
    QVERIFY(modal);
    QVERIFY(!frmHTMLGenerator);
    QCOMPARE(FolderTables(Path("page.html")), QStringList{"B"});
}

void TestHtmlGeneratorForm::saveDialogStart_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("usable");
    QTest::newRow("designed default") << "c:\\bookmarks" << false;
    QTest::newRow("drive with slashes") << "D:/pages/links.html" << false;
    QTest::newRow("relative") << "links.html" << false;
    QTest::newRow("folder gone") << "<dir>/gone/links.html" << false;
    QTest::newRow("existing folder") << "<dir>/links.htm" << true;
}

void TestHtmlGeneratorForm::saveDialogStart()
{
    QFETCH(QString, stored);
    QFETCH(bool, usable);
    stored.replace("<dir>", m_dir->path());
    Prefs->Rec().HTMLFile = stored;
    m_choice.clear();
    Open()->btnOk->click();
    QCOMPARE(m_starts, QStringList{usable ? stored : m_home.filePath("Documents/bookmarks.html")});
}

// The platform's own save dialog: it starts at the stored file, and a name
// typed without an extension gets ".html".
void TestHtmlGeneratorForm::realSaveDialogAddsTheSuffix()
{
    SetFileChooserAnswerer({});
    const auto restore = qScopeGuard([this] { InstallChooser(); });
    Prefs->Rec().HTMLFile = Path("old.html");
    QString started;
    AnswerModal<QFileDialog>([&started, this](QFileDialog *dialog) {
        const auto *name = dialog->findChild<QLineEdit *>("fileNameEdit");
        started = dialog->directory().filePath(name->text());
        dialog->selectFile(Path("new"));
        static_cast<QDialog *>(dialog)->accept(); // QFileDialog's own, which checks the name
    });
    Open()->btnOk->click();
    QCOMPARE(started, Path("old.html"));
    QTRY_VERIFY(!frmHTMLGenerator);
    QCOMPARE(Prefs->Rec().HTMLFile, Path("new.html"));
    QVERIFY(QFile::exists(Path("new.html")));
}

void TestHtmlGeneratorForm::enterPressesOkOnlyInTheTexts_data()
{
    QTest::addColumn<QString>("widget");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("presses");
    QTest::newRow("title") << "edTitle" << int(Qt::Key_Return) << 1;
    QTest::newRow("header, keypad Enter") << "edHeaderMessage" << int(Qt::Key_Enter) << 1;
    QTest::newRow("welcome message") << "edWelcomeMessage" << int(Qt::Key_Return) << 1;
    QTest::newRow("check box") << "chkGenFromSelectedFolder" << int(Qt::Key_Return) << 0;
    QTest::newRow("Cancel button") << "btnCancel" << int(Qt::Key_Return) << 0;
}

void TestHtmlGeneratorForm::enterPressesOkOnlyInTheTexts()
{
    QFETCH(QString, widget);
    QFETCH(int, key);
    QFETCH(int, presses);
    TfrmHTMLGenerator *form = Open();
    m_choice.clear();
    auto *target = form->findChild<QWidget *>(widget);
    QVERIFY(target);
    target->setFocus();
    QTest::keyClick(target, Qt::Key(key));
    QCOMPARE(m_starts.size(), presses);
    QVERIFY(form->isVisible());
}

// A system colour put into the settings by hand: the page and the swatch carry
// the desktop's current value.
void TestHtmlGeneratorForm::systemColoursTakeTheDesktopPalette()
{
    const QPalette old = QApplication::palette();
    QPalette palette = old;
    palette.setColor(QPalette::Window, QColor(0x01, 0x02, 0x03));
    palette.setColor(QPalette::WindowText, QColor(0x04, 0x05, 0x06));
    QApplication::setPalette(palette);
    Prefs->Rec().BackgroundColor = int(0x80000005); // the window colour
    Prefs->Rec().TextColor = int(0x80000008);       // the window text colour
    TfrmHTMLGenerator *form = Open();
    QCOMPARE(form->stText->palette().color(QPalette::Window), QColor(0x04, 0x05, 0x06));
    form->btnOk->click();
    QApplication::setPalette(old);
    QFile page(Path("page.html"));
    QVERIFY(page.open(QIODevice::ReadOnly));
    QVERIFY(page.readAll().contains("<body bgcolor=\"#010203\" text=\"#040506\">\r\n"));
}

QTEST_MAIN(TestHtmlGeneratorForm)
#include "tst_htmlgeneratorform.moc"
