// The folder tree: built from the catalogue, the current folder chosen by
// clicks and keys, opening and closing folders, and moving folders and
// bookmarks by dropping them on it.
#include "MainWindowFixture.h"
#include "catalogue/Catalog.h"

#include <QtTest>

class TestFolderTree : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(m.Open()); }
    void cleanup() { m.Close(); }

    void treeMirrorsTheCatalogue();
    void pressesChooseTheCurrentFolder();
    void folderDrops_data();
    void folderDrops();
    void refusedDropsChangeNothing_data();
    void refusedDropsChangeNothing();
    void bookmarksDroppedOnAFolder();
    void droppingEveryBookmarkRefreshesTheBars();
    void bookmarkDragRefusedUnlessTheListShowsTheCurrentFolder();
    void undoWithoutSelectedFolderLeavesNoDanglingReferences();
    void veryDeepCatalogue();

private:
    // A point of the folder's row: its middle, or its upper (-1) or lower (+1) edge.
    QPoint At(const QString &title, int edge = 0) const;
    // Whether the dotted insertion line crosses the tree at this height.
    bool LineAt(int y) const;
    // The folders that carry the Selected flag, as the catalogue file keeps it.
    QString Flagged() const;

    MainWindowFixture m;
};

QPoint TestFolderTree::At(const QString &title, int edge) const
{
    const QRect row = m.Form->trvFolders->visualItemRect(m.Node(title));
    return {row.center().x(), edge < 0 ? row.top() : edge > 0 ? row.bottom() : row.center().y()};
}

bool TestFolderTree::LineAt(int y) const
{
    const QImage image = m.Form->trvFolders->viewport()->grab().toImage();
    return image.pixelColor(0, y) == Qt::black && image.pixelColor(4, y) == Qt::black
           && image.pixelColor(1, y) != Qt::black;
}

QString TestFolderTree::Flagged() const
{
    QStringList titles;
    ForEachFolder(Catalog->Folders(), [&](TFolder &f) {
        if (f.Selected())
            titles << f.Title();
    });
    return titles.join(' ');
}

void TestFolderTree::treeMirrorsTheCatalogue()
{
    m.Show("");
    QCOMPARE(m.Tree() + " / " + m.Status(), QString(" / ||Folders:|Bookmarks:|Description:"));
    QVERIFY(!CurrentFolder);
    // Two folders carry the flag: the later in pre-order wins, and its closed
    // parent opens to show it.
    m.Show("A:2(A1 A2) B:5 C", "A");
    FolderNamed(*Catalog, "A2")->SetSelected(true);
    m.Form->RebuildFolderTree();
    QCOMPARE(m.Tree(), QString("A(A1 A2*) B C"));
    QCOMPARE(m.Status(), QString("A2||Folders:0|Bookmarks:0|Description: "));
    QVERIFY(FolderNamed(*Catalog, "A")->Expanded());
    // Closing and opening set the folder's flag, and nothing to save or undo.
    m.ClickNode("A");
    QTest::keyClick(m.Form->trvFolders, Qt::Key_Left);
    QCOMPARE(m.Tree(), QString("A*[A1 A2] B C"));
    QVERIFY(!FolderNamed(*Catalog, "A")->Expanded());
    QTest::keyClick(m.Form->trvFolders, Qt::Key_Right);
    QVERIFY(FolderNamed(*Catalog, "A")->Expanded());
    QVERIFY(m.Disabled().startsWith("FileSave EditUndo EditRedo"));
}

void TestFolderTree::pressesChooseTheCurrentFolder()
{
    m.Show("A:2(A1 A2) B:5 C", "A");
    SearchRec.Text = "needle";
    SearchRec.Field = sfAddress;
    // Below the last node: no folder is current, and the rest stays as it was.
    m.ClickNode(QString());
    QCOMPARE(m.Tree() + " / " + m.Rows(), QString("A*[A1 A2] B C / >a0* a1"));
    QVERIFY(m.Disabled().contains("EditAddBookmark") && !m.Disabled().contains("EditAddFolder"));
    QCOMPARE(Flagged(), QString());
    // A right press makes B current and alone flagged; the highlight stays.
    m.ClickNode("B", Qt::RightButton);
    QCOMPARE(m.Tree() + " / " + Flagged(), QString("A*[A1 A2] B C / B"));
    QCOMPARE(m.Disabled(), QString("FileSave EditUndo EditRedo EditPaste"));
    // A click moves the highlight, and Find Next starts at the folder's title.
    m.ClickNode("C");
    QCOMPARE(m.Tree() + " / " + Flagged() + " / " + m.Status(),
             QString("A[A1 A2] B C* / C / C||Folders:0|Bookmarks:0|Description: "));
    QCOMPARE(QString("%1 %2 %3 %4 %5").arg(SearchRec.Folder->Title()).arg(bool(SearchRec.Bookmark))
                 .arg(int(SearchRec.Field)).arg(SearchRec.FoundPos).arg(SearchRec.NextPos),
             QString("C 0 0 1 1"));
    QCOMPARE(SearchRec.Text, QString("needle"));
}

void TestFolderTree::folderDrops_data()
{
    QTest::addColumn<QString>("dragged");
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("edge");
    QTest::addColumn<QString>("tree");
    QTest::newRow("into a row: the last child") << "C" << "B" << 0 << "A(A1 A2) B(C*)";
    QTest::newRow("upper edge of a top-level node") << "C" << "B" << -1 << "A(A1 A2) C* B";
    QTest::newRow("lower edge of an open node: after its sub-tree")
        << "C" << "A" << 1 << "A(A1 A2) C* B";
    QTest::newRow("a sub-folder to the top level") << "A2" << "C" << 1 << "A(A1) B C A2*";
    QTest::newRow("upper edge in the same list") << "A2" << "A1" << -1 << "A(A2* A1) B C";
}

void TestFolderTree::folderDrops()
{
    QFETCH(QString, dragged);
    QFETCH(QString, target);
    QFETCH(int, edge);
    QFETCH(QString, tree);
    m.Show("A(A1 A2) B C", "A");
    FolderNamed(*Catalog, "A")->SetExpanded(true);
    m.Form->RebuildFolderTree();
    m.ClickNode(dragged); // the press that starts the drag
    QVERIFY(m.Form->trvFoldersDragOver(m.Form->trvFolders, At(target, edge)));
    m.Form->trvFoldersDragDrop(m.Form->trvFolders, At(target, edge));
    QCOMPARE(m.Tree(), tree);
    QCOMPARE(m.Disabled(), QString("EditRedo EditPaste EditFindNext"));
    m.Type(QKeySequence::Undo);
    QCOMPARE(m.Tree().remove('*'), QString("A(A1 A2) B C"));
}

void TestFolderTree::refusedDropsChangeNothing_data()
{
    QTest::addColumn<QString>("source"); // what is dragged: a folder, rows, or something else
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("edge");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("a folder into its own sub-folder") << "folder" << "A1" << 0 << false;
    QTest::newRow("a folder below its own sub-folder") << "folder" << "A2" << 1 << false;
    QTest::newRow("a folder onto its own node") << "folder" << "A" << -1 << false;
    QTest::newRow("a folder over empty space") << "folder" << "" << 0 << true;
    QTest::newRow("rows onto their own folder") << "rows" << "A" << 0 << false;
    QTest::newRow("rows over empty space") << "rows" << "" << 0 << true;
    QTest::newRow("another source") << "other" << "B" << 0 << false;
}

// Nothing moves, no undo step, and no insertion line stays behind.
void TestFolderTree::refusedDropsChangeNothing()
{
    QFETCH(QString, source);
    QFETCH(QString, target);
    QFETCH(int, edge);
    QFETCH(bool, accepted);
    m.Show("A:2(A1 A2) B", "A");
    FolderNamed(*Catalog, "A")->SetExpanded(true);
    m.Form->RebuildFolderTree();
    m.ClickNode("A");
    QObject *from = source == "folder" ? static_cast<QObject *>(m.Form->trvFolders)
                    : source == "rows" ? static_cast<QObject *>(m.Form->lvBookmarks)
                                       : m.Form.get();
    const QPoint at = target.isEmpty() ? QPoint(5, m.Form->trvFolders->viewport()->height() - 5)
                                       : At(target, edge);
    QCOMPARE(m.Form->trvFoldersDragOver(from, at), accepted);
    QCOMPARE(LineAt(at.y()), source == "folder" && edge != 0);
    m.Form->trvFoldersDragDrop(from, at);
    QCOMPARE(m.Tree() + " / " + m.Rows(), QString("A*(A1 A2) B / >a0* a1"));
    QVERIFY(!LineAt(at.y()));
    QVERIFY(!Modified && m.Disabled().contains("EditUndo"));
}

void TestFolderTree::bookmarksDroppedOnAFolder()
{
    m.Show("A:3 B:5 C", "B");
    m.ClickRow(1);
    m.ClickRow(3, Qt::ControlModifier);
    m.ClickRow(4, Qt::ControlModifier);
    m.Form->trvFoldersDragDrop(m.Form->lvBookmarks, At("C"));
    // At the end of C in row order; the former first selected row's place stays selected.
    QCOMPARE(Titles(FolderNamed(*Catalog, "C")->Bookmarks()), QStringList({"b1", "b3", "b4"}));
    QCOMPARE(m.Rows() + " / " + m.Status(),
             QString("b0 >b2* / B|b2|Folders:0|Bookmarks:2|Description: "));
    QCOMPARE(m.Disabled(), QString("EditRedo EditPaste EditFindNext"));
    m.Type(QKeySequence::Undo); // one step restores both folders
    QCOMPARE(Titles(FolderNamed(*Catalog, "B")->Bookmarks()).join(' ')
                 + Titles(FolderNamed(*Catalog, "C")->Bookmarks()).join(' '),
             QString("b0 b1 b2 b3 b4"));
}

void TestFolderTree::droppingEveryBookmarkRefreshesTheBars()
{
    // The status bar and the pane once kept the last bookmark after the list emptied.
    m.Show("A B:2 C", "B");
    FolderNamed(*Catalog, "B")->Bookmarks().At(1)->SetDescription("gone");
    m.ClickRow(1);
    QCOMPARE(m.Status(), QString("B|b1|Folders:0|Bookmarks:2|Description: gone"));
    m.Type(QKeySequence::SelectAll);
    m.Form->trvFoldersDragDrop(m.Form->lvBookmarks, At("C"));
    QCOMPARE(m.Rows() + " / " + m.Status(), QString(" / B||Folders:0|Bookmarks:0|Description:"));
}

void TestFolderTree::bookmarkDragRefusedUnlessTheListShowsTheCurrentFolder()
{
    // The rows of the list showing another folder were once moved as if they were its.
    m.Show("A:1 B:3 C", "B");
    m.ClickNode("A", Qt::RightButton);
    QVERIFY(!m.Form->trvFoldersDragOver(m.Form->lvBookmarks, At("C")));
    m.Form->trvFoldersDragDrop(m.Form->lvBookmarks, At("C"));
    QCOMPARE(FolderNamed(*Catalog, "C")->Bookmarks().Count(), 0);
    m.ClickNode(QString()); // no current folder at all
    QVERIFY(!m.Form->trvFoldersDragOver(m.Form->lvBookmarks, At("C")));
}

void TestFolderTree::undoWithoutSelectedFolderLeavesNoDanglingReferences()
{
    m.Show("A:2 B");
    m.ClickNode("A");
    m.Type(QKeySequence::Copy);
    m.ClickNode(QString());
    m.Type(QKeySequence::Paste); // a snapshot in which no folder is selected
    SearchRec.Text = "a";
    m.Form->ShowNextMatch(); // as the find dialog's OK does
    m.Type(QKeySequence::FindNext);
    QCOMPARE(SearchRec.Bookmark, CurrentFolder->Bookmarks().At(0));
    m.Form->trvFolders->setFocus(); // away from the pane, whose Undo is its own
    m.Type(QKeySequence::Undo);
    // The old folders are gone; nothing may still point at them (the sanitizer
    // build sees any use). A new folder may sit at a freed one's address.
    QCOMPARE(m.Tree() + " / " + m.Rows(), QString("A B / "));
    QVERIFY(!CurrentFolder);
    QVERIFY(!SearchRec.Bookmark || SearchRec.Bookmark->Owner() == &SearchRec.Folder->Bookmarks());
}

// A hostile catalogue nested 100,000 levels deep, every folder open and the
// deepest one selected: the window shows what it can and frees it all safely.
void TestFolderTree::veryDeepCatalogue()
{
    TFolders *list = &Catalog->Folders();
    TFolder *deepest = nullptr;
    for (int depth = 0; depth < 100000; ++depth) {
        deepest = AddFolder(*list, QString::number(depth));
        deepest->SetExpanded(true);
        list = &deepest->Folders();
    }
    deepest->SetSelected(true);
    m.Form->RebuildFolderTree();
    m.Form->RebuildFolderTree();
    int depth = 0;
    for (QTreeWidgetItem *node = m.Form->trvFolders->topLevelItem(0); node;
         node = node->childCount() ? node->child(0) : nullptr)
        ++depth;
    QVERIFY(depth >= 1000 && depth < 100000);
    QVERIFY(!CurrentFolder || CurrentFolder->Title().toInt() < depth);
    m.Form.reset(); // frees the nodes and the catalogue
}

QTEST_MAIN(TestFolderTree)
#include "tst_foldertree.moc"
