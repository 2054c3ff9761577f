// The folder tree: built from the catalogue, the current folder chosen by
// clicks, opening and closing folders, and moving folders and bookmarks by
// dropping them on it.
#include "MainWindowFixture.h"
#include "catalogue/Catalog.h"

#include <QtTest>

class TestFolderTree : public QObject
{
    Q_OBJECT
    MainWindowFixture m;

    // The catalogue of the shape with A open.
    void ShowOpen(const QString &shape, const QString &highlighted)
    {
        m.Show(shape, highlighted);
        FolderNamed(*Catalog, "A")->SetExpanded(true);
        m.Form->RebuildFolderTree();
    }
    // A point of the folder's row: its middle, or its upper (-1) or lower (+1)
    // edge; with no title, the empty space below the nodes.
    QPoint At(const QString &title, int edge = 0) const
    {
        if (title.isEmpty())
            return {5, m.Form->trvFolders->viewport()->height() - 5};
        const QRect row = m.Form->trvFolders->visualItemRect(m.Node(title));
        return {row.center().x(), edge < 0 ? row.top() : edge > 0 ? row.bottom() : row.center().y()};
    }
    // Whether the dotted insertion line crosses the tree at this height.
    bool LineAt(int y) const
    {
        const QImage image = m.Form->trvFolders->viewport()->grab().toImage();
        return image.pixelColor(0, y) == Qt::black && image.pixelColor(4, y) == Qt::black
               && image.pixelColor(1, y) != Qt::black;
    }
    // The folders that carry the Selected flag, as the catalogue file keeps it.
    static QString Flagged()
    {
        QStringList titles;
        ForEachFolder(Catalog->Folders(), [&](TFolder &f) {
            if (f.Selected())
                titles << f.Title();
        });
        return titles.join(' ');
    }

private slots:
    void init() { QVERIFY(m.Open()); }
    void cleanup() { m.Close(); }

    void treeMirrorsTheCatalogue()
    {
        m.Show("");
        QCOMPARE(m.Tree() + " / " + m.Status(), QString(" / ||Folders:|Bookmarks:|Description:"));
        // Two folders carry the flag: the later in pre-order wins, and its closed
        // parent opens to show it.
        m.Show("A:2(A1 A2) B:5 C", "A");
        FolderNamed(*Catalog, "A2")->SetSelected(true);
        m.Form->RebuildFolderTree();
        QCOMPARE(m.Tree() + " / " + m.Status(),
                 QString("A(A1 A2*) B C / A2||Folders:0|Bookmarks:0|Description: "));
        QVERIFY(FolderNamed(*Catalog, "A")->Expanded());
        QVERIFY(m.Form->trvFolders->isHeaderHidden() && !m.Node("A1")->icon(0).isNull());
        // Closing and opening set the folder's flag, and nothing to save or undo.
        m.ClickNode("A");
        QTest::keyClick(m.Form->trvFolders, Qt::Key_Left);
        QCOMPARE(m.Tree(), QString("A*[A1 A2] B C"));
        QVERIFY(!FolderNamed(*Catalog, "A")->Expanded());
        QTest::keyClick(m.Form->trvFolders, Qt::Key_Right);
        QVERIFY(FolderNamed(*Catalog, "A")->Expanded());
        QVERIFY(m.Disabled().startsWith("FileSave EditUndo EditRedo"));
    }

    void pressesChooseTheCurrentFolder()
    {
        m.Show("A:2(A1 A2) B:5 C", "A");
        SearchRec.Text = "needle";
        SearchRec.Field = sfAddress;
        // Below the last node: no folder is current, and the rest stays as it was.
        m.ClickNode(QString());
        QCOMPARE(m.Tree() + " / " + m.Rows(), QString("A*[A1 A2] B C / >a0* a1"));
        QVERIFY(m.Disabled().contains("EditAddBookmark") && !m.Disabled().contains("AddFolder"));
        QCOMPARE(Flagged(), QString());
        // A right press makes B current and alone flagged; the highlight stays.
        m.ClickNode("B", Qt::RightButton);
        QCOMPARE(m.Tree() + " / " + Flagged() + " / " + m.Disabled(),
                 QString("A*[A1 A2] B C / B / FileSave EditUndo EditRedo EditPaste"));
        // A click moves the highlight, and Find Next starts at the folder's title.
        m.ClickNode("C");
        QCOMPARE(m.Tree() + " / " + Flagged() + " / " + m.Status(),
                 QString("A[A1 A2] B C* / C / C||Folders:0|Bookmarks:0|Description: "));
        QCOMPARE(QString("%1 %2 %3 %4 %5 %6").arg(SearchRec.Folder->Title())
                     .arg(bool(SearchRec.Bookmark)).arg(int(SearchRec.Field))
                     .arg(SearchRec.FoundPos).arg(SearchRec.NextPos).arg(SearchRec.Text),
                 QString("C 0 0 1 1 needle"));
    }

    void folderDrops_data()
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
    void folderDrops()
    {
        QFETCH(QString, dragged);
        QFETCH(QString, target);
        QFETCH(int, edge);
        ShowOpen("A(A1 A2) B C", "A");
        m.ClickNode(dragged); // the press that starts the drag
        QVERIFY(m.Form->trvFoldersDragOver(m.Form->trvFolders, At(target, edge)));
        m.Form->trvFoldersDragDrop(m.Form->trvFolders, At(target, edge));
        QTEST(m.Tree(), "tree");
        QCOMPARE(m.Disabled(), QString("EditRedo EditPaste EditFindNext"));
        m.Type(QKeySequence::Undo);
        QCOMPARE(m.Tree().remove('*'), QString("A(A1 A2) B C"));
    }

    void refusedDropsChangeNothing_data()
    {
        QTest::addColumn<QString>("source"); // a folder, rows, or something else
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("edge");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("a folder into its own sub-folder") << "folder" << "A1" << 0 << false;
        QTest::newRow("a folder below its own sub-folder") << "folder" << "A2" << 1 << false;
        QTest::newRow("a folder onto its own node") << "folder" << "A" << -1 << false;
        QTest::newRow("a folder over empty space") << "folder" << "" << 0 << true;
        QTest::newRow("rows onto their own folder") << "rows" << "A" << 0 << false;
        QTest::newRow("rows over empty space") << "rows" << "" << 0 << true;
        // The rows of the list showing another folder were once moved as if they were its.
        QTest::newRow("rows of the folder listed, B pressed") << "rows, B pressed" << "A1" << 0
                                                              << false;
        QTest::newRow("another source") << "other" << "B" << 0 << false;
    }
    // Nothing moves, no undo step, and no insertion line stays behind.
    void refusedDropsChangeNothing()
    {
        QFETCH(QString, source);
        QFETCH(QString, target);
        QFETCH(int, edge);
        ShowOpen("A:2(A1 A2) B", "A");
        m.ClickNode(source.endsWith("B pressed") ? "B" : "A", Qt::RightButton);
        QObject *from = source == "folder" ? static_cast<QObject *>(m.Form->trvFolders)
                        : source == "other" ? static_cast<QObject *>(m.Form.get())
                                            : m.Form->lvBookmarks;
        QTEST(m.Form->trvFoldersDragOver(from, At(target, edge)), "accepted");
        QCOMPARE(LineAt(At(target, edge).y()), source == "folder" && edge != 0);
        m.Form->trvFoldersDragDrop(from, At(target, edge));
        QCOMPARE(m.Tree() + " / " + m.Rows(), QString("A*(A1 A2) B / >a0* a1"));
        QVERIFY(!LineAt(At(target, edge).y()) && !Modified && m.Disabled().contains("EditUndo"));
    }

    void bookmarksDroppedOnAFolder_data()
    {
        QTest::addColumn<QList<int>>("rows");
        QTest::addColumn<QString>("after"); // the rows and the bars
        QTest::newRow("three of five: the former first row's place stays selected")
            << QList<int>{1, 3, 4} << "b0 >b2* / B|b2|Folders:0|Bookmarks:2|Description: ";
        // The status bar and the pane once kept the last bookmark after the list emptied.
        QTest::newRow("all") << QList<int>{0, 1, 2, 3, 4}
                             << " / B||Folders:0|Bookmarks:0|Description:";
    }
    void bookmarksDroppedOnAFolder()
    {
        QFETCH(QList<int>, rows);
        m.Show("A:3 B:5 C", "B");
        FolderNamed(*Catalog, "B")->Bookmarks().At(rows.first())->SetDescription("gone");
        m.ClickRows(rows);
        m.Form->trvFoldersDragDrop(m.Form->lvBookmarks, At("C"));
        QTEST(m.Rows() + " / " + m.Status(), "after");
        QStringList moved; // at the end of C, in row order
        for (int row : rows)
            moved << "b" + QString::number(row);
        QCOMPARE(Titles(FolderNamed(*Catalog, "C")->Bookmarks()), moved);
        QCOMPARE(m.Disabled(), QString("EditRedo EditPaste EditFindNext"));
        m.Type(QKeySequence::Undo); // one step restores both folders
        QCOMPARE(Titles(FolderNamed(*Catalog, "B")->Bookmarks()).join(' ')
                     + Titles(FolderNamed(*Catalog, "C")->Bookmarks()).join(' '),
                 QString("b0 b1 b2 b3 b4"));
    }

    void undoWithoutSelectedFolderLeavesNoDanglingReferences()
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
        QCOMPARE(m.Tree() + " / " + m.Rows() + " / " + m.Status(),
                 QString("A B /  / ||Folders:|Bookmarks:|Description:"));
        QVERIFY(!CurrentFolder);
        QVERIFY(!SearchRec.Bookmark || SearchRec.Bookmark->Owner() == &SearchRec.Folder->Bookmarks());
    }

    // A hostile catalogue nested 100,000 levels deep, every folder open and the
    // deepest one selected: the window shows what it can and frees it all safely.
    void veryDeepCatalogue()
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
};

QTEST_MAIN(TestFolderTree)
#include "tst_foldertree.moc"
