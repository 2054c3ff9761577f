// Find Next: one search step and what the main window shows of it: the match's
// folder in the tree, its bookmark in the list, the field in the description
// pane with the matched text selected.
#include "CatalogTree.h"
#include "catalogue/Catalog.h"
#include "dialogs/FindForm.h"
#include "mainwindow/MainForm.h"
#include "program/Globals.h"
#include "program/MessageBox.h"
#include "settings/Preferences.h"

#include <QAction>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {

TBookmark *AddBookmarkWith(TFolder *folder, const QString &title, const QString &address,
                           const QString &description = QString())
{
    TBookmark *bookmark = AddBookmark(folder->Bookmarks(), title);
    bookmark->SetAddress(address);
    bookmark->SetDescription(description);
    return bookmark;
}

} // namespace

class TestFindNext : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void matchSelectedInPane_data();
    void matchSelectedInPane();
    void matchInAnotherFolderTakesTwoSteps();
    void noMatchChangesNothing_data();
    void noMatchChangesNothing();
    void rowsOfAnotherFolderAreNotSelected();
    void wholeSearchInTreeOrder();

private:
    // What the window shows: "folder|current row|pane|selection start|length".
    QString Shown() const;
    void FindNextKey();

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TfrmMain> m_form;
    int m_boxes = 0;
};

void TestFindNext::initTestCase()
{
    SetMessageBoxAnswerer([this](const MessageBoxRequest &) {
        ++m_boxes;
        return QMessageBox::Ok;
    });
}

void TestFindNext::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    SetProgramFolder(m_dir->path());
    m_boxes = 0;
    m_form = std::make_unique<TfrmMain>();
    m_form->resize(800, 600);
    m_form->show();
    QApplication::setActiveWindow(m_form.get());
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
}

void TestFindNext::cleanup()
{
    m_form.reset();
    Modified = false;
}

QString TestFindNext::Shown() const
{
    const QTextCursor cursor = m_form->memDescription->textCursor();
    return QStringList{CurrentFolder ? CurrentFolder->Title() : QString("-"),
                       QString::number(m_form->ItemIndex()),
                       m_form->memDescription->toPlainText(),
                       QString::number(cursor.selectionStart()),
                       QString::number(cursor.selectionEnd() - cursor.selectionStart())}
        .join('|');
}

void TestFindNext::FindNextKey()
{
    QTest::keyClick(m_form.get(), Qt::Key_F3);
}

void TestFindNext::matchSelectedInPane_data()
{
    QTest::addColumn<QByteArray>("language"); // the language file, none when empty
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("pane");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("length");

    const QByteArray title = "[Misc]\r\nTitle=Titelzeile:\r\n";
    QTest::newRow("built-in label") << QByteArray() << "FIND" << "Title: xxfindyy" << 9 << 4;
    QTest::newRow("longer label") << title << "find" << "Titelzeile: xxfindyy" << 14 << 4;
    QTest::newRow("shorter label") << QByteArray("[Misc]\r\nTitle=T\r\n") << "find"
                                   << "T xxfindyy" << 4 << 4;
    QTest::newRow("description, built-in label")
        << title << "here" << "Description: only here" << 18 << 4;
    QTest::newRow("address, translated label") << QByteArray("[Misc]\r\nAddress=Adresse:\r\n")
                                               << "tell" << "Adresse: http://tell.me" << 16 << 4;
}

// The match lies in the folder or the bookmark already in view: only the pane changes.
void TestFindNext::matchSelectedInPane()
{
    QFETCH(QByteArray, language);
    QFETCH(QString, text);
    if (!language.isEmpty()) {
        QDir(m_dir->path()).mkpath("languages");
        QFile file(m_dir->filePath("languages/test.lng"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(language);
        Prefs->Rec().LanguageFile = "test.lng";
    }
    TFolder *folder = AddFolder(Catalog->Folders(), "xxfindyy");
    folder->SetDescription("only here");
    AddBookmarkWith(folder, "first", "http://tell.me");
    folder->SetSelected(true);
    m_form->RebuildFolderTree();
    SearchRec.Text = text;
    m_form->ShowNextMatch();

    QFETCH(QString, pane);
    QFETCH(int, start);
    QFETCH(int, length);
    QCOMPARE(m_form->memDescription->toPlainText(), pane);
    const QTextCursor cursor = m_form->memDescription->textCursor();
    QCOMPARE(cursor.selectionStart(), start);
    QCOMPARE(cursor.selectedText(), pane.mid(start, length));
    QCOMPARE(m_form->focusWidget(), m_form->memDescription);
    QCOMPARE(CurrentFolder, folder);
    QCOMPARE(m_form->ItemIndex(), 0);
}

void TestFindNext::matchInAnotherFolderTakesTwoSteps()
{
    TFolder *a = AddFolder(Catalog->Folders(), "A");
    AddBookmarkWith(a, "a0", "http://a");
    TFolder *b = AddFolder(Catalog->Folders(), "B");
    AddBookmarkWith(b, "b0", "http://b");
    AddBookmarkWith(b, "b1", "http://b", "with a needle in it");
    a->SetSelected(true);
    m_form->RebuildFolderTree();
    SearchRec.Text = "NEEDLE";
    m_form->UpdateActionStates();

    FindNextKey();
    QCOMPARE(m_form->trvFolders->currentItem()->text(0), QString("B"));
    QCOMPARE(Shown(), QString("B|0|Title: B|7|0"));
    FindNextKey();
    QCOMPARE(Shown(), QString("B|1|Description: with a needle in it|20|6"));
    QCOMPARE(m_form->SelectedRows(), QList<int>{1});
}

void TestFindNext::noMatchChangesNothing_data()
{
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QString>("text");
    QTest::newRow("nowhere") << "A" << "absent";
    QTest::newRow("only before the cursor") << "B" << "apple";
}

// Nothing changes on screen and nothing is said; only the actions are recomputed.
void TestFindNext::noMatchChangesNothing()
{
    QFETCH(QString, selected);
    QFETCH(QString, text);
    TFolder *a = AddFolder(Catalog->Folders(), "A");
    AddBookmarkWith(a, "apple", "http://a");
    TFolder *b = AddFolder(Catalog->Folders(), "B");
    AddBookmarkWith(b, "b0", "http://b0");
    AddBookmarkWith(b, "b1", "http://b1");
    (selected == "A" ? a : b)->SetSelected(true);
    m_form->RebuildFolderTree();
    m_form->lvBookmarks->setFocus();
    QTest::keyClick(m_form->lvBookmarks, Qt::Key_End);
    const QString before = Shown();
    QWidget *focus = m_form->focusWidget();
    SearchRec.Text = text; // Find Next stays disabled until the states are recomputed
    QVERIFY(!m_form->Action(ActionId::EditFindNext)->isEnabled());

    m_form->EditFindNextExecute();
    QCOMPARE(Shown(), before);
    QCOMPARE(m_form->trvFolders->currentItem()->text(0), selected);
    QCOMPARE(m_form->focusWidget(), focus);
    QCOMPARE(m_boxes, 0);
    QVERIFY(m_form->Action(ActionId::EditFindNext)->isEnabled());
}

// A right press makes A current while B stays highlighted and listed; a match
// in A's third bookmark must not select the third row of B's list.
void TestFindNext::rowsOfAnotherFolderAreNotSelected()
{
    TFolder *a = AddFolder(Catalog->Folders(), "A");
    for (const char *title : {"a0", "a1", "needle"})
        AddBookmarkWith(a, title, "http://a");
    TFolder *b = AddFolder(Catalog->Folders(), "B");
    for (const char *title : {"b0", "b1", "b2"})
        AddBookmarkWith(b, title, "http://b");
    b->SetSelected(true);
    m_form->RebuildFolderTree();
    QTreeWidget *tree = m_form->trvFolders;
    QTest::mousePress(tree->viewport(), Qt::RightButton, {},
                      tree->visualItemRect(tree->topLevelItem(0)).center());
    QCOMPARE(CurrentFolder, a);

    auto *dialog = new TfrmFind(m_form.get());
    dialog->cmbTextToFind->setEditText("needle");
    dialog->btnOK->click();
    QCOMPARE(tree->currentItem()->text(0), QString("B"));
    QCOMPARE(m_form->SelectedRows(), QList<int>{0});
    QCOMPARE(m_form->memDescription->toPlainText(), QString("Title: needle"));
}

// From the first folder to the end of the catalogue, and one step beyond.
void TestFindNext::wholeSearchInTreeOrder()
{
    TFolder *a = AddFolder(Catalog->Folders(), "Ax");
    a->SetDescription("dx");
    AddBookmarkWith(a, "t", "http://x.org");
    AddBookmarkWith(a, "xx", "", "x");
    AddFolder(a->Folders(), "none");
    TFolder *a2 = AddFolder(a->Folders(), "A2");
    AddBookmarkWith(a2, "ok", "", "end x");
    AddFolder(Catalog->Folders(), "B");
    a->SetSelected(true);
    m_form->RebuildFolderTree();

    auto *dialog = new TfrmFind(m_form.get());
    dialog->cmbTextToFind->setEditText("x");
    dialog->btnOK->click();
    QStringList shown{Shown()};
    for (int step = 0; step < 12; ++step) {
        FindNextKey();
        shown << Shown();
    }
    const QStringList expected{
        "Ax|0|Title: Ax|8|1",           "Ax|0|Description: dx|14|1",
        "Ax|0|Address: http://x.org|16|1", "Ax|1|Title: xx|7|1",
        "Ax|1|Title: xx|8|1",           "Ax|1|Description: x|13|1",
        "A2|0|Title: A2|7|0",           "A2|0|Description: end x|17|1",
    };
    QCOMPARE(shown.mid(0, expected.size()), expected);
    for (const QString &after : shown.mid(expected.size()))
        QCOMPARE(after, expected.last()); // silent at the end, however often pressed
}

QTEST_MAIN(TestFindNext)
#include "tst_findnext.moc"
