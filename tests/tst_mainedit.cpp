// The Edit commands as a user gives them: cut, copy, paste and delete of rows
// and folders through the window's own clipboard, what is selected afterwards,
// the delete question, undo and redo, and the item dialogs they open.
#include "CatalogOutline.h"
#include "MainWindowFixture.h"
#include "catalogue/Catalog.h"
#include "settings/Preferences.h"

#include <QClipboard>
#include <QLineEdit>
#include <QtTest>

namespace {
const QString kUntouched = "A* B / >a0* a1 a2* a3 a4*";
} // namespace

class TestMainEdit : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { m.AnswerBoxes(); }
    void init();
    void cleanup() { m.Close(); }

    void removeRows_data();
    void removeRows();
    void removeFolder_data();
    void removeFolder();
    void cutTheFolderAroundTheListedOne();
    void copyReplacesTheClipboard();
    void deleteQuestion_data();
    void deleteQuestion();
    void pastingTwiceIsTwoUndoSteps();
    void undoRedoRoundTripToTheFile();
    void itemDialogs_data();
    void itemDialogs();
    void descriptionPaneCopiesToTheDesktop();

private:
    // The list focused with these rows selected, as clicks leave it; none: a
    // click and Ctrl+Space, which leaves no row selected.
    void SelectRows(const QList<int> &rows);

    MainWindowFixture m;
};

void TestMainEdit::init()
{
    m.Boxes.clear();
    m.Answer = QMessageBox::Ok;
    QVERIFY(m.Open());
}

void TestMainEdit::SelectRows(const QList<int> &rows)
{
    m.ClickRow(rows.value(0));
    for (int row : rows.mid(1))
        m.ClickRow(row, Qt::ControlModifier);
    if (rows.isEmpty())
        QTest::keyClick(m.Form->lvBookmarks, Qt::Key_Space, Qt::ControlModifier);
}

void TestMainEdit::removeRows_data()
{
    QTest::addColumn<QKeySequence>("keys");
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<QString>("left");
    for (const auto keys : {QKeySequence::Cut, QKeySequence::Delete}) {
        const char *name = keys == QKeySequence::Cut ? "cut" : "delete";
        QTest::addRow("%s rows 4 and 5 of five: the last row", name)
            << QKeySequence(keys) << QList<int>{3, 4} << "a0 a1 >a2*";
        QTest::addRow("%s row 1: the former row 2", name)
            << QKeySequence(keys) << QList<int>{0} << ">a1* a2 a3 a4";
        QTest::addRow("%s rows 2 and 4", name)
            << QKeySequence(keys) << QList<int>{1, 3} << "a0 >a2* a4";
        QTest::addRow("%s every row", name) << QKeySequence(keys) << QList<int>{0, 1, 2, 3, 4} << "";
    }
}

// The rows go at once, without a refill; cut rows can be pasted elsewhere.
void TestMainEdit::removeRows()
{
    QFETCH(QKeySequence, keys);
    QFETCH(QList<int>, rows);
    QFETCH(QString, left);
    Prefs->Rec().ConfirmDeletingItems = false;
    m.Show("A:5 B", "A");
    SelectRows(rows);
    m.Type(keys);
    QCOMPARE(m.Rows(), left);
    QCOMPARE(m.Status().section('|', 1, 3),
             left.section('*', 0, 0).section('>', 1) + "|Folders:0|Bookmarks:"
                 + QString::number(5 - rows.size()));
    QCOMPARE(m.Disabled().split(' ').filter("Edit").join(' '),
             keys == QKeySequence::Cut ? "EditRedo EditFindNext" : "EditRedo EditPaste EditFindNext");
    m.ClickNode("B");
    m.Type(QKeySequence::Paste);
    QStringList removed;
    for (int row : rows)
        removed << "a" + QString::number(row);
    QCOMPARE(m.Rows().remove('>').remove('*'), keys == QKeySequence::Cut ? removed.join(' ') : "");
    QVERIFY(m.Boxes.isEmpty());
}

void TestMainEdit::removeFolder_data()
{
    QTest::addColumn<QKeySequence>("keys");
    QTest::addColumn<QString>("shape");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("pasted"); // the cut folder, pasted next
    for (const auto keys : {QKeySequence::Cut, QKeySequence::Delete}) {
        const char *name = keys == QKeySequence::Cut ? "cut" : "delete";
        QTest::addRow("%s the middle of three: the next", name)
            << QKeySequence(keys) << "A(A1 A2 A3) B" << "A2" << "A(A1 A3*) B" << "A(A1 A3 A2*) B";
        QTest::addRow("%s the last of three: the previous", name)
            << QKeySequence(keys) << "A(A1 A2 A3) B" << "A3" << "A(A1 A2*) B" << "A(A1 A2 A3*) B";
        QTest::addRow("%s an only child: the parent", name)
            << QKeySequence(keys) << "A(A1) B" << "A1" << "A* B" << "A B A1*";
        QTest::addRow("%s the last root after a sub-tree", name)
            << QKeySequence(keys) << "A(A1 A2) B(B1)" << "B" << "A*(A1 A2)" << "A(A1 A2) B*(B1)";
        QTest::addRow("%s the first root: the next", name)
            << QKeySequence(keys) << "A(A1) B" << "A" << "B*" << "B A*(A1)";
        QTest::addRow("%s the only folder: none", name)
            << QKeySequence(keys) << "A(A1)" << "A" << "" << "A*(A1)";
    }
}

void TestMainEdit::removeFolder()
{
    QFETCH(QKeySequence, keys);
    QFETCH(QString, shape);
    QFETCH(QString, folder);
    QFETCH(QString, after);
    QFETCH(QString, pasted);
    Prefs->Rec().ConfirmDeletingItems = false;
    m.Show(shape);
    ForEachFolder(Catalog->Folders(), [](TFolder &f) { f.SetExpanded(true); });
    m.Form->RebuildFolderTree();
    m.ClickNode(folder);
    m.Type(keys);
    QCOMPARE(m.Tree(), after);
    QCOMPARE(m.Disabled().contains("EditUndo"), after.isEmpty()); // no folder: Undo waits
    m.Type(QKeySequence::Paste); // also without a current folder
    QCOMPARE(m.Tree(), keys == QKeySequence::Cut ? pasted : after);
}

void TestMainEdit::cutTheFolderAroundTheListedOne()
{
    // The list showing a folder inside the cut one must not go on showing its rows.
    m.Show("A(A1:2) B:1", "A1");
    m.ClickNode("A", Qt::RightButton);
    m.Type(QKeySequence::Cut);
    QCOMPARE(m.Tree() + " / " + m.Rows(), QString("B* / >b0*"));
    m.Type(QKeySequence::Paste);
    QCOMPARE(m.Tree(), QString("B A*(A1)"));
}

// Each copy replaces what the clipboard held; the rows copied stay selected.
void TestMainEdit::copyReplacesTheClipboard()
{
    m.Show("A:5(A1) B", "A");
    FolderNamed(*Catalog, "A")->SetExpanded(true);
    m.Form->RebuildFolderTree();
    m.ClickNode("A1");
    m.Type(QKeySequence::Copy);
    m.ClickNode("A");
    SelectRows({1, 4});
    m.Type(QKeySequence::Copy);
    QCOMPARE(m.Rows(), QString("a0 >a1* a2 a3 a4*"));
    QVERIFY(!Modified);
    m.ClickNode("B");
    m.Type(QKeySequence::Paste);
    QCOMPARE(m.Tree() + " / " + m.Rows(), QString("A(A1) B* / >a1* a4"));
    m.ClickNode("A1");
    m.Type(QKeySequence::Copy);
    m.Type(QKeySequence::Paste); // a sibling, selected
    QCOMPARE(m.Tree(), QString("A(A1 A1*) B"));
}

void TestMainEdit::deleteQuestion_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<bool>("confirm");
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::addColumn<QByteArray>("language"); // the language file's DeleteItems
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("after"); // the tree and the rows
    const auto ok = QMessageBox::Ok;
    QTest::newRow("three rows") << "list" << true << ok << QByteArray()
                                << "Delete 3 selected items?" << "A* B / >a1* a3";
    QTest::newRow("three rows, Cancel") << "list" << true << QMessageBox::Cancel << QByteArray()
                                        << "Delete 3 selected items?" << kUntouched;
    QTest::newRow("a folder") << "tree" << true << ok << QByteArray()
                              << "Delete 1 selected items?" << "B* / ";
    QTest::newRow("the list without a row: the folder")
        << "list, no row" << true << ok << QByteArray() << "Delete 1 selected items?" << "B* / ";
    QTest::newRow("not asked when off") << "list" << false << ok << QByteArray() << ""
                                        << "A* B / >a1* a3";
    QTest::newRow("the language's text") << "list" << true << ok << QByteArray("Really %d?")
                                         << "Really 3?" << "A* B / >a1* a3";
    QTest::newRow("a text that does not fit ends the command")
        << "list" << false << ok << QByteArray("Gone: %s")
        << "Format 'Gone: %s' invalid or incompatible with argument." << kUntouched;
}

void TestMainEdit::deleteQuestion()
{
    QFETCH(QString, focus);
    QFETCH(bool, confirm);
    QFETCH(QMessageBox::StandardButton, answer);
    QFETCH(QByteArray, language);
    QFETCH(QString, box);
    QFETCH(QString, after);
    if (!language.isEmpty()) {
        m.Write("languages/test.ini", "[Messages]\r\nDeleteItems=" + language + "\r\n");
        Prefs->Rec().LanguageFile = "test.ini";
    }
    Prefs->Rec().ConfirmDeletingItems = confirm;
    m.Answer = answer;
    m.Show("A:5 B", "A");
    const QString outline = CatalogOutline(*Catalog);
    if (focus == "tree")
        m.ClickNode("A");
    else
        SelectRows(focus == "list" ? QList<int>{0, 2, 4} : QList<int>{});
    m.Type(QKeySequence::Delete);
    QCOMPARE(m.Boxes.isEmpty() ? QString() : m.Boxes.constLast().Text, box);
    QCOMPARE(m.Tree() + " / " + m.Rows(), after);
    QCOMPARE(CatalogOutline(*Catalog) == outline, after == kUntouched);
    QCOMPARE(Modified, after != kUntouched); // and an undo step
}

void TestMainEdit::pastingTwiceIsTwoUndoSteps()
{
    Prefs->Rec().SortType = stTitle; // the copies are sorted in
    m.Show("A:5 B", "A");
    SelectRows({0, 1});
    m.Type(QKeySequence::Copy);
    m.Type(QKeySequence::Paste);
    m.Type(QKeySequence::Paste);
    const auto rows = [this] { return m.Rows().remove('>').remove('*'); };
    QCOMPARE(rows(), QString("a0 a0 a0 a1 a1 a1 a2 a3 a4"));
    m.Type(QKeySequence::Undo);
    QCOMPARE(rows(), QString("a0 a0 a1 a1 a2 a3 a4"));
    m.Type(QKeySequence::Undo);
    QCOMPARE(rows(), QString("a0 a1 a2 a3 a4"));
    m.Form->EditUndoExecute(); // at the first snapshot: nothing, not even a rebuild
    QCOMPARE(m.Disabled().split(' ').filter("Edit").join(' '), QString("EditUndo EditFindNext"));
    m.Type(QKeySequence::Redo);
    QCOMPARE(rows(), QString("a0 a0 a1 a1 a2 a3 a4"));
}

// Four changes undone give the file saved before them, byte for byte; redone,
// the file after them.
void TestMainEdit::undoRedoRoundTripToTheFile()
{
    m.Show("A:3(A1 A2) B(B1)", "A2");
    for (const char *title : {"A", "B"}) // as the user left them: selecting opens them
        FolderNamed(*Catalog, title)->SetExpanded(true);
    m.Form->RebuildFolderTree();
    m.Form->FileSaveExecute();
    const QByteArray before = m.Read("bookmarks.xml");
    m.ClickNode("A2");
    m.Type(QKeySequence::Cut);
    m.ClickNode("B1");
    m.Type(QKeySequence::Paste);
    m.ClickNode("A");
    SelectRows({0, 2});
    m.Type(QKeySequence::Cut);
    m.ClickNode("B1");
    m.Type(QKeySequence::Paste);
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

void TestMainEdit::itemDialogs_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QKeySequence>("keys");
    QTest::addColumn<QString>("shown"); // the dialog and its title field
    QTest::newRow("F2 on a row") << "list" << QKeySequence(Qt::Key_F2) << "frmBookmark a2";
    QTest::newRow("F2 in the tree") << "tree" << QKeySequence(Qt::Key_F2) << "frmFolder A";
    QTest::newRow("F2, the list without a row") << "list, no row" << QKeySequence(Qt::Key_F2)
                                                << "frmFolder A";
    QTest::newRow("F2 after a right press: the highlighted folder")
        << "right press on B" << QKeySequence(Qt::Key_F2) << "frmFolder A";
    QTest::newRow("Ins: a new bookmark") << "list" << QKeySequence(Qt::Key_Insert)
                                         << "frmBookmark ";
    QTest::newRow("Ctrl+Ins: a new folder") << "tree" << QKeySequence(Qt::CTRL | Qt::Key_Insert)
                                            << "frmFolder ";
}

void TestMainEdit::itemDialogs()
{
    QFETCH(QString, focus);
    QFETCH(QKeySequence, keys);
    QFETCH(QString, shown);
    m.Show("A:5 B", "A");
    if (focus == "tree")
        m.ClickNode("A");
    else if (focus == "right press on B")
        m.ClickNode("B", Qt::RightButton);
    else
        SelectRows(focus == "list" ? QList<int>{2, 3} : QList<int>{});
    QString seen;
    QTimer::singleShot(0, this, [&] {
        if (QWidget *dialog = QApplication::activeModalWidget()) {
            seen = dialog->objectName() + " " + dialog->findChild<QLineEdit *>("edTitle")->text();
            dialog->close();
        }
    });
    m.Type(keys);
    QCOMPARE(seen, shown);
    QVERIFY(!frmFolder && !frmBookmark && !Modified);
}

void TestMainEdit::descriptionPaneCopiesToTheDesktop()
{
    m.Show("A:1 B", "A");
    CurrentFolder->SetDescription("Links to read");
    m.ClickNode("B");
    m.ClickNode("A");
    QGuiApplication::clipboard()->clear();
    QTest::mouseClick(m.Form->memDescription->viewport(), Qt::LeftButton);
    m.Form->memDescription->selectAll();
    m.Type(QKeySequence::Copy);
    QCOMPARE(QGuiApplication::clipboard()->text(), QString("Description: Links to read"));
    m.ClickNode("B");
    QVERIFY(m.Disabled().contains("EditPaste")); // the window's own clipboard stays empty
}

QTEST_MAIN(TestMainEdit)
#include "tst_mainedit.moc"
