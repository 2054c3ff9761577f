// The folder tree: built from the catalogue, the current folder chosen by
// clicks, opening and closing folders, and moving folders and bookmarks by
// dropping them on it.
#include "DesktopDrag.h"
#include "MainWindowFixture.h"
#include "catalogue/Catalog.h"

#include <QScopeGuard>
#include <QStyleHints>
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
    void ShowAllOpen(const QString &shape, const QString &highlighted)
    {
        m.Show(shape, highlighted);
        ForEachFolder(Catalog->Folders(), [](TFolder &f) { f.SetExpanded(true); });
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
    QPoint Global(const QString &title, int edge = 0) const
    {
        return m.Form->trvFolders->viewport()->mapToGlobal(At(title, edge));
    }
    // Whether the dotted insertion line crosses the tree at this height.
    bool LineAt(int y) const
    {
        const QImage image = m.Form->trvFolders->viewport()->grab().toImage();
        return image.pixelColor(0, y) == Qt::black && image.pixelColor(4, y) == Qt::black
               && image.pixelColor(1, y) != Qt::black;
    }
    // What a node's row shows of the test theme's folder images: the open
    // folder (red), the closed one (green), both or neither.
    QString FolderImage(const QString &title) const
    {
        const QImage image = m.Form->trvFolders->viewport()->grab().toImage();
        const QRect row = m.Form->trvFolders->visualItemRect(m.Node(title)) & image.rect();
        bool open = false, closed = false;
        for (int y = row.top(); y <= row.bottom(); ++y)
            for (int x = row.left(); x <= row.right(); ++x) {
                const QColor c = image.pixelColor(x, y);
                open = open || (c.red() > 150 && c.green() < 80 && c.blue() < 100);
                closed = closed || (c.green() > 150 && c.red() < 80 && c.blue() < 100);
            }
        return open && closed ? "both" : open ? "open" : closed ? "closed" : "none";
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
    // A drag begins a few pixels from its press, inside the pressed row.
    void initTestCase() { QGuiApplication::styleHints()->setStartDragDistance(4); }
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

    void pressesChooseTheCurrentFolder_data()
    {
        QTest::addColumn<QString>("where"); // a folder's node or its arrow; none: empty space
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<QString>("shown"); // tree / current / flagged / rows / search
        const QString a = "A*[A1 A2] B C / A / A / >a0* a1 / A 0";
        const QString none = "A[A1 A2] B* C / - /  / >b0* b1 b2 / B 2";
        QTest::newRow("left on a node") << "A" << Qt::LeftButton << a;
        // A right press once made A current while B stayed highlighted and
        // listed: Edit Item then edited B and Delete deleted A.
        QTest::newRow("right on a node: as the left") << "A" << Qt::RightButton << a;
        QTest::newRow("left on empty space: no folder") << "" << Qt::LeftButton << none;
        QTest::newRow("right on empty space: no folder") << "" << Qt::RightButton << none;
        // The arrow once made A current too, with the same split.
        QTest::newRow("on a node's arrow: opened only")
            << "A arrow" << Qt::LeftButton << "A(A1 A2) B* C / B / B / >b0* b1 b2 / B 2";
    }
    // A press makes a folder current only together with its node: the list shows
    // it, it alone is flagged, and Find Next starts at its title. A press
    // elsewhere makes no folder current and leaves the rest as it was.
    void pressesChooseTheCurrentFolder()
    {
        QFETCH(QString, where);
        QFETCH(Qt::MouseButton, button);
        m.Show("A:2(A1 A2) B:3 C", "B");
        SearchRec.Text = "needle";
        SearchRec.Field = sfAddress;
        if (where.endsWith(" arrow"))
            m.ClickArrow(where.section(' ', 0, 0));
        else
            m.ClickNode(where, button);
        QTEST(QStringList({m.Tree(), CurrentFolder ? CurrentFolder->Title() : "-", Flagged(),
                           m.Rows(),
                           SearchRec.Folder->Title() + ' ' + QString::number(SearchRec.Field)})
                  .join(" / "),
              "shown");
        QCOMPARE(m.Disabled().contains("EditAddBookmark"), !CurrentFolder);
        QCOMPARE(m.Form->focusWidget(), m.Form->trvFolders);
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
        QTest::newRow("another source") << "other" << "B" << 0 << false;
    }
    // Nothing moves, no undo step, and no insertion line stays behind.
    void refusedDropsChangeNothing()
    {
        QFETCH(QString, source);
        QFETCH(QString, target);
        QFETCH(int, edge);
        ShowOpen("A:2(A1 A2) B", "A");
        m.ClickNode("A", Qt::RightButton);
        QObject *from = source == "folder" ? static_cast<QObject *>(m.Form->trvFolders)
                        : source == "other" ? static_cast<QObject *>(m.Form.get())
                                            : m.Form->lvBookmarks;
        QTEST(m.Form->trvFoldersDragOver(from, At(target, edge)), "accepted");
        QCOMPARE(LineAt(At(target, edge).y()), source == "folder" && edge != 0);
        m.Form->trvFoldersDragDrop(from, At(target, edge));
        QCOMPARE(m.Tree() + " / " + m.Rows(), QString("A*(A1 A2) B / >a0* a1"));
        QVERIFY(!LineAt(At(target, edge).y()) && !Modified && m.Disabled().contains("EditUndo"));
    }

    void folderDraggedByMouse_data()
    {
        QTest::addColumn<QString>("shape"); // every folder open
        QTest::addColumn<QString>("dragged"); // pressed in the half away from the target
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("edge");
        // The moves' answers ("-+": refused, then accepted), whether the
        // insertion line showed at the release, and the tree after it.
        QTest::addColumn<QString>("shown");
        // The drag begins on the folder's own row, which is refused: the tree
        // once refused the whole drag there, and nothing could be dropped.
        const QString abc = "Alpha Bravo Charlie";
        QTest::newRow("straight down into the middle of a folder")
            << abc << "Alpha" << "Bravo" << 0 << "-+ / no line / Bravo(Alpha*) Charlie";
        QTest::newRow("straight up into the middle of a folder")
            << abc << "Charlie" << "Alpha" << 0 << "-+ / no line / Alpha(Charlie*) Bravo";
        QTest::newRow("down to a lower edge: after it")
            << abc << "Alpha" << "Bravo" << 1 << "-+ / line / Bravo Alpha* Charlie";
        QTest::newRow("up to an upper edge: before it")
            << abc << "Charlie" << "Bravo" << -1 << "-+ / line / Alpha Charlie* Bravo";
        QTest::newRow("onto its own sub-folder: refused")
            << "Alpha(Alpha1) Bravo" << "Alpha" << "Alpha1" << 0
            << "- / no line / Alpha*(Alpha1) Bravo";
    }
    // Press, moves of a few pixels and release, through the real tree.
    void folderDraggedByMouse()
    {
        QFETCH(QString, shape);
        QFETCH(QString, dragged);
        QFETCH(QString, target);
        QFETCH(int, edge);
        ShowAllOpen(shape, "Bravo");
        const QRect row = m.Form->trvFolders->visualItemRect(m.Node(dragged));
        const bool down = At(target).y() > row.center().y();
        const int quarter = row.height() / 4;
        const QPoint press = m.Form->trvFolders->viewport()->mapToGlobal(
            QPoint(row.left() + 30, down ? row.top() + quarter : row.bottom() - quarter));
        DesktopDrag drag;
        bool line = false;
        drag.Along(m.Form->trvFolders->viewport(), {press, {press.x(), Global(target, edge).y()}},
                   [&] { line = LineAt(At(target, edge).y()); });
        QCOMPARE(drag.Started, 1);
        QTEST(QStringList({drag.Answers, line ? "line" : "no line", m.Tree()}).join(" / "),
              "shown");
        QCOMPARE(Modified, drag.Accepted);
        QVERIFY(!LineAt(At(target, edge).y()));
        m.Type(QKeySequence::Undo);
        QCOMPARE(m.Tree().remove('*'), shape);
    }

    void bookmarkDraggedByMouse_data()
    {
        QTest::addColumn<QStringList>("over"); // the folders passed, the last one dropped on
        QTest::addColumn<QString>("shown"); // the moves' answers / the list / Bravo's bookmarks
        // Its own folder was the drag's first position in the tree, where the
        // tree once refused the whole drag.
        QTest::newRow("entering over its own folder, dropped on another")
            << QStringList{"Alpha", "Bravo"} << "+-+ / alpha0 >alpha2* / alpha1";
        QTest::newRow("released over its own folder: refused")
            << QStringList{"Bravo", "Alpha"} << "+-+- / alpha0 >alpha1* alpha2 / ";
    }
    void bookmarkDraggedByMouse()
    {
        QFETCH(QStringList, over);
        m.Show("Alpha:3 Bravo Charlie", "Alpha");
        // From the row straight up to the height of the first folder passed, then
        // straight across into the tree.
        const QPoint row = m.Form->lvBookmarks->viewport()->mapToGlobal(m.RowPoint(1));
        QList<QPoint> corners{row, {row.x(), Global(over.first()).y()}};
        for (const QString &title : over)
            corners << Global(title);
        DesktopDrag drag;
        drag.Along(m.Form->lvBookmarks->viewport(), corners);
        QCOMPARE(drag.Started, 1);
        QTEST(QStringList({drag.Answers, m.Rows(),
                           Titles(FolderNamed(*Catalog, "Bravo")->Bookmarks()).join(' ')})
                  .join(" / "),
              "shown");
        QCOMPARE(Modified, drag.Accepted);
    }

    void closingAFolderAboveTheSelection_data()
    {
        QTest::addColumn<QString>("shape"); // every folder open
        QTest::addColumn<QString>("highlighted");
        QTest::addColumn<QString>("closed");
        QTest::addColumn<QString>("shown"); // the tree / rows / bars
        QTest::addColumn<QString>("left"); // the folders after Delete
        // Closing Reading once left the hidden Archive current, named in the
        // status bar, with no node highlighted; Delete then deleted Archive.
        QTest::newRow("the parent")
            << "Reading:2(Archive:1 News) Misc" << "Archive" << "Reading"
            << "Reading*[Archive News] Misc / >reading0* reading1"
               " / Reading|reading0|Folders:2|Bookmarks:2|Description: "
            << "Misc";
        QTest::newRow("two levels up")
            << "Reading(Archive(Old:1)) Misc" << "Old" << "Reading"
            << "Reading*[Archive(Old)] Misc /  / Reading||Folders:1|Bookmarks:0|Description: "
            << "Misc";
        QTest::newRow("the highlighted folder itself")
            << "Reading(Archive) Misc" << "Reading" << "Reading"
            << "Reading*[Archive] Misc /  / Reading||Folders:1|Bookmarks:0|Description: "
            << "Misc";
        QTest::newRow("another folder: the highlight stays")
            << "Reading(Archive:1) Misc(Old)" << "Archive" << "Misc"
            << "Reading(Archive*) Misc[Old] / >archive0*"
               " / Archive|archive0|Folders:0|Bookmarks:1|Description: "
            << "Reading Misc(Old)";
    }
    // The list, the pane and the bars follow the highlight, nothing is to be
    // saved or undone, and Delete deletes the folder shown highlighted.
    void closingAFolderAboveTheSelection()
    {
        QFETCH(QString, shape);
        QFETCH(QString, highlighted);
        QFETCH(QString, closed);
        ShowAllOpen(shape, highlighted);
        m.ClickArrow(closed);
        QTEST(m.Tree() + " / " + m.Rows() + " / " + m.Status(), "shown");
        const QString current = m.Form->trvFolders->currentItem()->text(0);
        QCOMPARE(CurrentFolder->Title() + ' ' + Flagged(), current + ' ' + current);
        QVERIFY(!Modified && m.Disabled().contains("EditUndo"));
        m.AnswerBoxes();
        m.Boxes.clear();
        m.Type(QKeySequence::Delete);
        QCOMPARE(m.Boxes.size(), 1);
        QTEST(Shape(Catalog->Folders()), "left");
    }

    // The selected node showed the closed folder too: a theme's icon ignored
    // the open folder added to it for the selected state.
    void selectedNodeShowsTheOpenFolder()
    {
        QTemporaryDir themes;
        QDir(themes.path()).mkpath("test/16x16/places");
        QFile index(themes.filePath("test/index.theme"));
        QVERIFY(index.open(QIODevice::WriteOnly));
        index.write("[Icon Theme]\nName=test\nDirectories=16x16/places\n\n"
                    "[16x16/places]\nSize=16\nType=Fixed\n");
        index.close();
        for (const auto &[name, colour] : {std::pair{"folder", Qt::green},
                                           std::pair{"folder-open", Qt::red}}) {
            QImage image(16, 16, QImage::Format_ARGB32);
            image.fill(colour);
            QVERIFY(image.save(themes.filePath(QString("test/16x16/places/%1.png").arg(name))));
        }
        const QStringList paths = QIcon::themeSearchPaths();
        const QString theme = QIcon::themeName();
        const auto restore = qScopeGuard([&] {
            QIcon::setThemeSearchPaths(paths);
            QIcon::setThemeName(theme);
        });
        QIcon::setThemeSearchPaths({themes.path()});
        QIcon::setThemeName("test");
        m.Show("A B", "A");
        QCOMPARE(FolderImage("A") + ' ' + FolderImage("B"), QString("open closed"));
        m.ClickNode("B");
        QCOMPARE(FolderImage("A") + ' ' + FolderImage("B"), QString("closed open"));
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

    // A press on B's arrow once made B current while A stayed listed, and the
    // rows dropped were refused as not B's. The arrow now only opens B.
    void rowsDroppedAfterAPressOnAnArrow()
    {
        m.Show("A:3 B(B1) C", "A");
        m.ClickRows({1, 2});
        m.ClickArrow("B");
        m.Form->trvFoldersDragDrop(m.Form->lvBookmarks, At("C"));
        QCOMPARE(m.Tree() + " / " + m.Rows(), QString("A* B(B1) C / >a0*"));
        QCOMPARE(Titles(FolderNamed(*Catalog, "C")->Bookmarks()), QStringList({"a1", "a2"}));
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
