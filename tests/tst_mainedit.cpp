// The Edit commands as a user gives them: cut, copy, paste and delete of rows
// and folders through the window's own clipboard, what is selected afterwards,
// the delete question, undo and redo, and the item dialogs they open.
#include "CatalogOutline.h"
#include "MainWindowFixture.h"
#include "catalogue/Catalog.h"
#include "settings/Preferences.h"

#include <QLineEdit>
#include <QtTest>

namespace {
const QString kUntouched = "A* B / >a0* a1 a2* a3 a4*";
const QKeySequence kCut(Qt::CTRL | Qt::Key_X), kDelete(Qt::Key_Delete);
} // namespace

class TestMainEdit : public QObject
{
    Q_OBJECT
    MainWindowFixture m;

    // Closes the item dialog that the next command opens, noting its name and title.
    void CloseItemDialog(QString &seen)
    {
        QTimer::singleShot(0, this, [&seen] {
            if (QWidget *dialog = QApplication::activeModalWidget()) {
                const auto *title = dialog->findChild<QLineEdit *>("edTitle");
                seen = dialog->objectName() + " " + title->text();
                dialog->close();
            }
        });
    }

private slots:
    void initTestCase() { m.AnswerBoxes(); }
    void init()
    {
        m.Boxes.clear();
        m.Answer = QMessageBox::Ok;
        QVERIFY(m.Open());
    }
    void cleanup() { m.Close(); }

    void removeRows_data()
    {
        QTest::addColumn<QKeySequence>("keys");
        QTest::addColumn<QList<int>>("rows");
        QTest::addColumn<QString>("left");
        QTest::newRow("cut rows 4 and 5 of five: the last row") << kCut << QList<int>{3, 4}
                                                                << "a0 a1 >a2*";
        QTest::newRow("delete row 1: the former row 2") << kDelete << QList<int>{0} << ">a1* a2 a3 a4";
        QTest::newRow("cut rows 2 and 4") << kCut << QList<int>{1, 3} << "a0 >a2* a4";
        QTest::newRow("delete every row") << kDelete << QList<int>{0, 1, 2, 3, 4} << "";
    }
    // The rows go at once, without a refill; cut ones can be pasted elsewhere.
    void removeRows()
    {
        QFETCH(QKeySequence, keys);
        QFETCH(QList<int>, rows);
        QFETCH(QString, left);
        Prefs->Rec().ConfirmDeletingItems = false;
        m.Show("A:5 B", "A");
        m.ClickRows(rows);
        m.Type(keys);
        const QString current = left.section('*', 0, 0).section('>', 1);
        QCOMPARE(m.Rows() + " / " + m.Status().section('|', 1, 3),
                 left + " / " + current + "|Folders:0|Bookmarks:" + QString::number(5 - rows.size()));
        QCOMPARE(m.Disabled(), keys == kCut ? "EditRedo EditFindNext" : "EditRedo EditPaste EditFindNext");
        m.ClickNode("B");
        m.Type(QKeySequence::Paste);
        QStringList removed;
        for (int row : rows)
            removed << "a" + QString::number(row);
        QCOMPARE(m.Rows().remove('>').remove('*'), keys == kCut ? removed.join(' ') : "");
    }

    void removeFolder_data()
    {
        QTest::addColumn<QKeySequence>("keys");
        QTest::addColumn<QString>("shape");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("after"); // then, after a paste
        QTest::newRow("cut the middle of three: the next")
            << kCut << "A(A1 A2 A3) B" << "A2" << "A(A1 A3*) B / A(A1 A3 A2*) B";
        QTest::newRow("delete the last of three: the previous")
            << kDelete << "A(A1 A2 A3) B" << "A3" << "A(A1 A2*) B / A(A1 A2*) B";
        QTest::newRow("cut an only child: the parent") << kCut << "A(A1) B" << "A1"
                                                       << "A* B / A B A1*";
        QTest::newRow("delete the last root after a sub-tree")
            << kDelete << "A(A1 A2) B(B1)" << "B" << "A*(A1 A2) / A*(A1 A2)";
        QTest::newRow("cut the first root: the next") << kCut << "A(A1) B" << "A" << "B* / B A*(A1)";
        QTest::newRow("cut the only folder: none") << kCut << "A(A1)" << "A" << " / A*(A1)";
    }
    void removeFolder()
    {
        QFETCH(QString, shape);
        QFETCH(QString, folder);
        Prefs->Rec().ConfirmDeletingItems = false;
        m.Show(shape);
        ForEachFolder(Catalog->Folders(), [](TFolder &f) { f.SetExpanded(true); });
        m.Form->RebuildFolderTree();
        m.ClickNode(folder);
        QFETCH(QKeySequence, keys);
        m.Type(keys);
        const QString removed = m.Tree();
        QCOMPARE(m.Disabled().contains("EditUndo"), removed.isEmpty()); // no folder: Undo waits
        m.Type(QKeySequence::Paste); // also without a current folder
        QTEST(removed + " / " + m.Tree(), "after");
    }

    // A right press selects the folder pressed, and Cut takes it and selects its
    // neighbour; the list does not go on showing a folder that went with it.
    void cutAfterARightPress()
    {
        m.Show("A(A1:2) B:1 C", "A1");
        m.ClickNode("C", Qt::RightButton);
        m.Type(QKeySequence::Cut);
        QCOMPARE(m.Tree() + " / " + m.Rows(), QString("A(A1) B* / >b0*"));
        m.ClickNode("A1");
        m.ClickNode("A", Qt::RightButton);
        m.Type(QKeySequence::Cut);
        QCOMPARE(m.Tree() + " / " + m.Rows(), QString("B* / >b0*"));
    }

    void foldersPopupActsOnTheFolderSelected_data()
    {
        QTest::addColumn<QString>("pressed"); // with the right button; none: empty space
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("after"); // the dialog shown, or the tree and the rows
        // Edit Item once edited Links, still highlighted, while Delete deleted Tech.
        QTest::newRow("Edit Item") << "Tech" << "EditEditItem" << "frmFolder Tech";
        QTest::newRow("Delete") << "Tech" << "EditDelete"
                                << "Delete 1 selected items? / Links* / >links0* links1";
        QTest::newRow("Cut") << "Tech" << "EditCut" << "Links* / >links0* links1";
        QTest::newRow("Copy, then Paste") << "Tech" << "EditCopy"
                                          << "Links Tech Tech* / >tech0* tech1 tech2";
        // Empty space: no folder is current, and the entries that need one do nothing.
        const QString untouched = "Links* Tech / >links0* links1";
        QTest::newRow("Edit Item, empty space") << "" << "EditEditItem" << untouched;
        QTest::newRow("Delete, empty space") << "" << "EditDelete" << untouched;
    }
    // Links clicked, then a right press on Tech (or below the nodes), and an
    // entry of the pop-up menu chosen: it acts on the folder the user sees selected.
    void foldersPopupActsOnTheFolderSelected()
    {
        QFETCH(QString, pressed);
        QFETCH(QString, entry);
        m.Show("Links:2 Tech:3");
        m.ClickNode("Links");
        MainWindowFixture::Click(m.Form->trvFolders->viewport(), Qt::RightButton, {},
                                 m.NodePoint(pressed));
        QCOMPARE(QApplication::activePopupWidget(), m.Form->FoldersPopup);
        QAction *chosen = nullptr;
        for (QAction *a : m.Form->FoldersPopup->actions())
            chosen = a->objectName() == entry ? a : chosen;
        QVERIFY(chosen);
        MainWindowFixture::ClosePopup();
        if (!pressed.isEmpty())
            QCOMPARE(m.Tree() + " / " + m.Rows() + " / " + CurrentFolder->Title(),
                     QString("Links Tech* / >tech0* tech1 tech2 / Tech"));
        QString seen;
        CloseItemDialog(seen);
        chosen->trigger();
        if (entry == "EditCopy")
            m.Form->Action(ActionId::EditPaste)->trigger();
        const QString question = m.Boxes.isEmpty() ? QString() : m.Boxes.constLast().Text + " / ";
        QTEST(seen.isEmpty() ? question + m.Tree() + " / " + m.Rows() : seen, "after");
    }

    // Each copy replaces what the clipboard held, the rows copied stay selected;
    // each paste is one undo step and sorts the copies in.
    void copyAndPaste()
    {
        m.Show("A:5(A1) B:1", "A1");
        m.ClickNode("A1");
        m.Type(QKeySequence::Copy);
        m.ClickNode("A");
        m.ClickRows({1, 4});
        m.Type(QKeySequence::Copy);
        QCOMPARE(m.Rows(), QString("a0 >a1* a2 a3 a4*"));
        m.ClickNode("B");
        m.Form->Action(ActionId::ViewSortByTitle)->trigger();
        m.Type(QKeySequence::Paste);
        m.Type(QKeySequence::Paste);
        QCOMPARE(m.Rows(), QString(">a1* a1 a4 a4 b0"));
        m.Type(QKeySequence::Undo);
        m.Type(QKeySequence::Undo);
        m.Form->EditUndoExecute(); // at the first snapshot: nothing
        QCOMPARE(m.Rows() + " / " + m.Disabled(), QString(">b0* / EditUndo EditFindNext"));
        m.Type(QKeySequence::Redo);
        QCOMPARE(m.Tree() + " / " + m.Rows(), QString("A(A1) B* / >a1* a4 b0"));
        m.ClickNode("A1");
        m.Type(QKeySequence::Copy);
        m.Type(QKeySequence::Paste); // a sibling, selected
        QCOMPARE(m.Tree(), QString("A(A1 A1*) B"));
    }

    void deleteQuestion_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<QMessageBox::StandardButton>("answer");
        QTest::addColumn<QByteArray>("language"); // the language file's DeleteItems
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("after"); // the tree and the rows
        const auto ok = QMessageBox::Ok;
        const QByteArray none;
        const QString rows = "A* B / >a1* a3";
        QTest::newRow("three rows") << "list" << true << ok << none << "Delete 3 selected items?"
                                    << rows;
        QTest::newRow("three rows, Cancel") << "list" << true << QMessageBox::Cancel << none
                                            << "Delete 3 selected items?" << kUntouched;
        QTest::newRow("a folder") << "tree" << true << ok << none << "Delete 1 selected items?"
                                  << "B* / ";
        QTest::newRow("the list without a row: the folder")
            << "list, no row" << true << ok << none << "Delete 1 selected items?" << "B* / ";
        QTest::newRow("not asked when off") << "list" << false << ok << none << "" << rows;
        QTest::newRow("the language's text") << "list" << true << ok << QByteArray("Really %d?")
                                             << "Really 3?" << rows;
        QTest::newRow("a text that does not fit ends the command")
            << "list" << false << ok << QByteArray("Gone: %s")
            << "Format 'Gone: %s' invalid or incompatible with argument." << kUntouched;
    }
    void deleteQuestion()
    {
        QFETCH(QString, focus);
        QFETCH(QByteArray, language);
        QFETCH(QString, after);
        if (!language.isEmpty()) {
            m.Write("languages/test.ini", "[Messages]\r\nDeleteItems=" + language);
            Prefs->Rec().LanguageFile = "test.ini";
        }
        QFETCH(bool, confirm);
        QFETCH(QMessageBox::StandardButton, answer);
        Prefs->Rec().ConfirmDeletingItems = confirm;
        m.Answer = answer;
        m.Show("A:5 B", "A");
        const QString outline = CatalogOutline(*Catalog);
        if (focus == "tree")
            m.ClickNode("A");
        else
            m.ClickRows(focus == "list" ? QList<int>{0, 2, 4} : QList<int>{});
        m.Type(kDelete);
        QTEST(m.Boxes.isEmpty() ? QString() : m.Boxes.constLast().Text, "box");
        QCOMPARE(m.Tree() + " / " + m.Rows(), after);
        QCOMPARE(CatalogOutline(*Catalog) == outline, after == kUntouched);
        QCOMPARE(Modified, after != kUntouched); // and an undo step
    }

    // Four changes undone give the file saved before them, byte for byte;
    // redone, the catalogue after them.
    void undoRedoRoundTripToTheFile()
    {
        m.Show("A:3(A1 A2) B(B1)", "A2");
        FolderNamed(*Catalog, "B")->SetExpanded(true);
        m.Form->RebuildFolderTree();
        m.Form->FileSaveExecute();
        const QByteArray before = m.Read("bookmarks.xml");
        for (const QString folder : {"A2", "B1", "A", "B1"}) { // A2 and rows 1, 3 of A cut
            m.ClickNode(folder);
            if (folder == "A")
                m.ClickRows({0, 2});
            m.Type(folder == "B1" ? QKeySequence::Paste : QKeySequence::Cut);
        }
        QCOMPARE(m.Tree() + " / " + m.Rows(), QString("A(A1) B(B1* A2) / >a0* a2"));
        const auto snapshot = [this] { // what a save would write, without saving
            Catalog->SaveToFile(m.Path("snapshot.xml"));
            return m.Read("snapshot.xml");
        };
        const QByteArray changed = snapshot();
        for (const auto keys : {QKeySequence::Undo, QKeySequence::Redo, QKeySequence::Undo}) {
            for (int i = 0; i < 4; ++i)
                m.Type(keys);
            QCOMPARE(snapshot(), keys == QKeySequence::Redo ? changed : before);
        }
        m.Type(QKeySequence::Save);
        QCOMPARE(m.Read("bookmarks.xml"), before);
    }

    void itemDialogs_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QKeySequence>("keys");
        QTest::addColumn<QString>("shown"); // the dialog and its title field
        const QKeySequence f2(Qt::Key_F2);
        QTest::newRow("F2 on rows") << "list" << f2 << "frmBookmark a2";
        QTest::newRow("F2 in the tree") << "tree" << f2 << "frmFolder A";
        QTest::newRow("F2, the list without a row") << "list, no row" << f2 << "frmFolder A";
        QTest::newRow("F2 after a right press: the folder pressed") << "B" << f2
                                                                     << "frmFolder B";
        QTest::newRow("Ins: a new bookmark") << "list" << QKeySequence(Qt::Key_Insert)
                                             << "frmBookmark ";
        QTest::newRow("Ctrl+Ins: a new folder") << "tree" << QKeySequence(Qt::CTRL | Qt::Key_Insert)
                                                << "frmFolder ";
    }
    void itemDialogs()
    {
        QFETCH(QString, focus);
        m.Show("A:5 B", "A");
        if (focus == "tree" || focus == "B")
            m.ClickNode(focus == "B" ? "B" : "A", focus == "B" ? Qt::RightButton : Qt::LeftButton);
        else
            m.ClickRows(focus == "list" ? QList<int>{2, 3} : QList<int>{});
        QString seen;
        CloseItemDialog(seen);
        QFETCH(QKeySequence, keys);
        m.Type(keys);
        QTEST(seen, "shown");
        QVERIFY(!frmFolder && !frmBookmark && !Modified);
    }
};

QTEST_MAIN(TestMainEdit)
#include "tst_mainedit.moc"
