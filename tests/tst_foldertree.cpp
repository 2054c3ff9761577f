// The folder tree: built from the catalogue, the current folder, presses,
// expand and collapse, and moving folders and bookmarks by dropping on it.
#include "CatalogTree.h"
#include "catalogue/Catalog.h"
#include "program/Globals.h"
#include "mainwindow/MainForm.h"
#include "program/MessageBox.h"
#include "settings/Preferences.h"

#include <QPlainTextEdit>
#include <QAction>
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Adds a folder titled `title` to `list`, with `bookmarks` bookmarks "title.0" ...
TFolder *AddFolderWith(TFolders &list, const QString &title, int bookmarks = 0)
{
    TFolder *folder = AddFolder(list, title);
    for (int i = 0; i < bookmarks; ++i)
        AddBookmark(folder->Bookmarks(), title + "." + QString::number(i));
    return folder;
}

// "A(A1 A2) B" for the whole catalogue, to compare structures in one line.
QString Shape(const TFolders &folders)
{
    QStringList parts;
    for (const auto &f : folders) {
        QString part = f->Title();
        if (!f->Folders().IsEmpty())
            part += "(" + Shape(f->Folders()) + ")";
        parts << part;
    }
    return parts.join(' ');
}

bool InTree(const TFolder *folder)
{
    std::vector<const TFolder *> stack;
    for (const auto &f : Catalog->Folders())
        stack.push_back(f.get());
    while (!stack.empty()) {
        const TFolder *f = stack.back();
        stack.pop_back();
        if (f == folder)
            return true;
        for (const auto &child : f->Folders())
            stack.push_back(child.get());
    }
    return false;
}

} // namespace

class TestFolderTree : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void emptyCatalogGivesEmptyTree();
    void lastSelectedFolderInPreorderWins();
    void nodesMapToTheirFolders();
    void expandAndCollapseChangeOnlyFlags();
    void pressBelowLastNodeLeavesNoCurrentFolder();
    void rightPressChangesCurrentFolderNotHighlight();
    void selectionReanchorsSearch();
    void folderDrops_data();
    void folderDrops();
    void folderDropOntoOwnSubfolderRefused();
    void droppingEveryBookmarkRefreshesTheBars();
    void bookmarksDroppedOnFolder();
    void bookmarkDragRefusedUnlessListShowsCurrentFolder();
    void insertionLineAtRowEdgesOnly();
    void undoWithoutSelectedFolderLeavesNoDanglingReferences();
    void statusBarEmptiedWithoutFolder();
    void openedAncestorsKeepTheirFlags();
    void veryDeepCatalogue();

private:
    QPoint NodePoint(const TFolder *folder, int dy = 0) const; // centre of its row + dy
    QTreeWidgetItem *Node(const TFolder *folder) const;
    void Build();

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TfrmMain> m_form;
    TFolder *A = nullptr, *A1 = nullptr, *A2 = nullptr, *B = nullptr, *C = nullptr;
};

void TestFolderTree::initTestCase()
{
    SetMessageBoxAnswerer([](const MessageBoxRequest &) { return QMessageBox::No; });
}

void TestFolderTree::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    SetProgramFolder(m_dir->path());
    Modified = false;
    m_form = std::make_unique<TfrmMain>();
    m_form->resize(800, 600);
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
}

void TestFolderTree::cleanup()
{
    m_form.reset();
    Modified = false;
}

// A(A1 A2) B C with bookmarks in A (3) and B (5).
void TestFolderTree::Build()
{
    TFolders &root = Catalog->Folders();
    A = AddFolderWith(root, "A", 3);
    A1 = AddFolder(A->Folders(), "A1");
    A2 = AddFolder(A->Folders(), "A2");
    B = AddFolderWith(root, "B", 5);
    C = AddFolder(root, "C");
    A->SetExpanded(true);
    A->SetSelected(true);
    m_form->RebuildFolderTree();
}

QTreeWidgetItem *TestFolderTree::Node(const TFolder *folder) const
{
    QTreeWidgetItemIterator it(m_form->trvFolders);
    for (; *it; ++it)
        if (m_form->GetNodeFolder(*it) == folder)
            return *it;
    return nullptr;
}

QPoint TestFolderTree::NodePoint(const TFolder *folder, int dy) const
{
    return m_form->trvFolders->visualItemRect(Node(folder)).center() + QPoint(0, dy);
}

void TestFolderTree::emptyCatalogGivesEmptyTree()
{
    m_form->RebuildFolderTree();
    QCOMPARE(m_form->trvFolders->topLevelItemCount(), 0);
    QVERIFY(m_form->trvFolders->selectedItems().isEmpty());
    QVERIFY(!CurrentFolder);
}

void TestFolderTree::lastSelectedFolderInPreorderWins()
{
    Build();
    A2->SetSelected(true); // A, A2 selected: A2 comes later in pre-order
    m_form->RebuildFolderTree();
    QCOMPARE(CurrentFolder, A2);
    QCOMPARE(m_form->trvFolders->selectedItems(), QList<QTreeWidgetItem *>{Node(A2)});
    QVERIFY(Node(A)->isExpanded());
    QVERIFY(!Node(B)->isExpanded());
}

void TestFolderTree::nodesMapToTheirFolders()
{
    Build();
    QStringList titles;
    for (QTreeWidgetItemIterator it(m_form->trvFolders); *it; ++it) {
        QCOMPARE(m_form->GetNodeFolder(*it)->Title(), (*it)->text(0));
        titles << (*it)->text(0);
    }
    QCOMPARE(titles, QStringList({"A", "A1", "A2", "B", "C"}));
    QVERIFY(!m_form->GetNodeFolder(nullptr));
}

void TestFolderTree::expandAndCollapseChangeOnlyFlags()
{
    Build();
    const int undoCount = Catalog->GetUndoCount();
    Node(A)->setExpanded(false);
    QVERIFY(!A->Expanded());
    Node(A)->setExpanded(true);
    QVERIFY(A->Expanded());
    QVERIFY(!Modified);
    QVERIFY(!m_form->Action(ActionId::FileSave)->isEnabled());
    QCOMPARE(Catalog->GetUndoCount(), undoCount);
}

void TestFolderTree::pressBelowLastNodeLeavesNoCurrentFolder()
{
    Build();
    QCOMPARE(m_form->lvBookmarks->model()->rowCount(), 3);
    const QPoint below = NodePoint(C, 200);
    QTest::mousePress(m_form->trvFolders->viewport(), Qt::LeftButton, {}, below);
    QTest::mouseRelease(m_form->trvFolders->viewport(), Qt::LeftButton, {}, below);
    QVERIFY(!CurrentFolder);
    QCOMPARE(m_form->trvFolders->currentItem(), Node(A)); // the highlight stays
    QCOMPARE(m_form->lvBookmarks->model()->rowCount(), 3); // the rows too
    QVERIFY(!m_form->Action(ActionId::EditAddBookmark)->isEnabled());
    QVERIFY(m_form->Action(ActionId::EditAddFolder)->isEnabled());
    QVERIFY(!A->Selected());
}

void TestFolderTree::rightPressChangesCurrentFolderNotHighlight()
{
    Build();
    QTest::mousePress(m_form->trvFolders->viewport(), Qt::RightButton, {}, NodePoint(B));
    QCOMPARE(CurrentFolder, B);
    QVERIFY(B->Selected());
    QVERIFY(!A->Selected());
    QCOMPARE(m_form->trvFolders->selectedItems(), QList<QTreeWidgetItem *>{Node(A)});
}

void TestFolderTree::selectionReanchorsSearch()
{
    Build();
    SearchRec.Text = "needle";
    SearchRec.Bookmark = A->Bookmarks().At(1);
    SearchRec.Field = sfAddress;
    SearchRec.NextPos = 5;
    m_form->trvFolders->setCurrentItem(Node(B));
    QCOMPARE(SearchRec.Folder, B);
    QVERIFY(!SearchRec.Bookmark);
    QCOMPARE(int(SearchRec.Field), int(sfTitle));
    QCOMPARE(SearchRec.FoundPos, 1);
    QCOMPARE(SearchRec.NextPos, 1);
    QCOMPARE(SearchRec.Text, QString("needle"));
    QVERIFY(m_form->Action(ActionId::EditFindNext)->isEnabled());
    SearchRec = TSearchRec();
}

void TestFolderTree::folderDrops_data()
{
    QTest::addColumn<QString>("dragged");
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("edge"); // 0 inside the row, -1 upper edge, +1 lower edge
    QTest::addColumn<QString>("shape");
    QTest::newRow("into a row: last child") << "C" << "B" << 0 << "A(A1 A2) B(C)";
    QTest::newRow("upper edge of a top-level node") << "C" << "B" << -1 << "A(A1 A2) C B";
    QTest::newRow("lower edge of an expanded node: after its sub-tree")
        << "C" << "A" << 1 << "A(A1 A2) C B";
    QTest::newRow("sub-folder to the top level") << "A2" << "C" << 1 << "A(A1) B C A2";
    QTest::newRow("upper edge inside the same list") << "A2" << "A1" << -1 << "A(A2 A1) B C";
}

void TestFolderTree::folderDrops()
{
    QFETCH(QString, dragged);
    QFETCH(QString, target);
    QFETCH(int, edge);
    QFETCH(QString, shape);
    Build();
    auto byTitle = [this](const QString &title) {
        for (TFolder *f : {A, A1, A2, B, C})
            if (f->Title() == title)
                return f;
        return static_cast<TFolder *>(nullptr);
    };
    TFolder *draggedFolder = byTitle(dragged);
    m_form->trvFolders->setCurrentItem(Node(draggedFolder));
    QTest::mousePress(m_form->trvFolders->viewport(), Qt::LeftButton, {},
                      NodePoint(draggedFolder));
    QCOMPARE(CurrentFolder, draggedFolder);
    const QRect row = m_form->trvFolders->visualItemRect(Node(byTitle(target)));
    const QPoint at = edge == 0 ? row.center()
                      : edge < 0 ? QPoint(row.center().x(), row.top())
                                 : QPoint(row.center().x(), row.bottom());
    const int undoCount = Catalog->GetUndoCount();
    QVERIFY(m_form->trvFoldersDragOver(m_form->trvFolders, at));
    m_form->trvFoldersDragDrop(m_form->trvFolders, at);
    QCOMPARE(Shape(Catalog->Folders()), shape);
    QCOMPARE(Catalog->GetUndoCount(), undoCount + 1);
    QVERIFY(Modified);
    QVERIFY(CurrentFolder);
    QCOMPARE(CurrentFolder->Title(), dragged); // the moved copy is selected again
    Catalog->Undo();
    m_form->RebuildFolderTree();
    QCOMPARE(Shape(Catalog->Folders()), QString("A(A1 A2) B C"));
}

void TestFolderTree::droppingEveryBookmarkRefreshesTheBars()
{
    // The status bar and the pane once kept the last bookmark after the list emptied.
    Build();
    m_form->trvFolders->setCurrentItem(Node(B));
    for (int i = 0; i < 5; ++i)
        B->Bookmarks().At(i)->SetDescription("gone " + QString::number(i));
    m_form->lvBookmarks->setFocus();
    m_form->lvBookmarks->selectAll();
    QCOMPARE(m_form->StatusPanel[3]->text(), QString("Bookmarks:5"));
    QVERIFY(m_form->memDescription->toPlainText().contains("gone"));
    m_form->trvFoldersDragDrop(m_form->lvBookmarks, NodePoint(C));
    QCOMPARE(C->Bookmarks().Count(), 5);
    QCOMPARE(m_form->StatusPanel[3]->text(), QString("Bookmarks:0"));
    QCOMPARE(m_form->StatusPanel[1]->text(), QString());
    QVERIFY(!m_form->memDescription->toPlainText().contains("gone"));
}

void TestFolderTree::folderDropOntoOwnSubfolderRefused()
{
    Build();
    m_form->trvFolders->setCurrentItem(Node(A));
    QVERIFY(!m_form->trvFoldersDragOver(m_form->trvFolders, NodePoint(A1)));
    QVERIFY(!m_form->trvFoldersDragOver(m_form->trvFolders, NodePoint(A)));
    m_form->trvFoldersDragDrop(m_form->trvFolders, NodePoint(A1));
    QCOMPARE(Shape(Catalog->Folders()), QString("A(A1 A2) B C"));
    QCOMPARE(Catalog->GetUndoCount(), 0);
    QVERIFY(!Modified);
    // A drag from anywhere else is refused too.
    QVERIFY(!m_form->trvFoldersDragOver(m_form.get(), NodePoint(B)));
}

void TestFolderTree::bookmarksDroppedOnFolder()
{
    Build();
    m_form->trvFolders->setCurrentItem(Node(B));
    QItemSelectionModel *rows = m_form->lvBookmarks->selectionModel();
    const QAbstractItemModel *model = m_form->lvBookmarks->model();
    rows->clearSelection();
    for (int r : {1, 3, 4})
        rows->select(model->index(r, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QVERIFY(m_form->trvFoldersDragOver(m_form->lvBookmarks, NodePoint(C)));
    QVERIFY(!m_form->trvFoldersDragOver(m_form->lvBookmarks, NodePoint(B))); // its own folder
    m_form->trvFoldersDragDrop(m_form->lvBookmarks, NodePoint(C));
    QCOMPARE(Titles(C->Bookmarks()), QStringList({"B.1", "B.3", "B.4"}));
    QCOMPARE(Titles(B->Bookmarks()), QStringList({"B.0", "B.2"}));
    QCOMPARE(model->rowCount(), 2);
    QCOMPARE(m_form->ItemIndex(), 1); // the former item index, now past the end
    QVERIFY(Modified);
    // One undo restores both folders.
    Catalog->Undo();
    m_form->RebuildFolderTree();
    const TFolders &root = Catalog->Folders();
    QCOMPARE(Titles(root.At(1)->Bookmarks()), QStringList({"B.0", "B.1", "B.2", "B.3", "B.4"}));
    QVERIFY(root.At(2)->Bookmarks().IsEmpty());
}

void TestFolderTree::bookmarkDragRefusedUnlessListShowsCurrentFolder()
{
    Build();
    m_form->trvFolders->setCurrentItem(Node(B));
    // A right press on A makes A current while the list still shows B's rows.
    QTest::mousePress(m_form->trvFolders->viewport(), Qt::RightButton, {}, NodePoint(A));
    QCOMPARE(CurrentFolder, A);
    QVERIFY(!m_form->trvFoldersDragOver(m_form->lvBookmarks, NodePoint(C)));
    // A press on empty space leaves no current folder: refused as well.
    QTest::mousePress(m_form->trvFolders->viewport(), Qt::LeftButton, {}, NodePoint(C, 200));
    QVERIFY(!CurrentFolder);
    QVERIFY(!m_form->trvFoldersDragOver(m_form->lvBookmarks, NodePoint(C)));
}

void TestFolderTree::insertionLineAtRowEdgesOnly()
{
    Build();
    m_form->trvFolders->setCurrentItem(Node(C));
    auto lineAt = [this](int y) {
        const QImage image = m_form->trvFolders->viewport()->grab().toImage();
        return image.pixelColor(0, y) == Qt::black && image.pixelColor(4, y) == Qt::black;
    };
    const QRect row = m_form->trvFolders->visualItemRect(Node(B));
    m_form->trvFoldersDragOver(m_form->trvFolders, QPoint(20, row.top()));
    QVERIFY(lineAt(row.top()));
    m_form->trvFoldersDragOver(m_form->trvFolders, row.center());
    QVERIFY(!lineAt(row.center().y()));
    m_form->trvFoldersDragOver(m_form->trvFolders, QPoint(20, row.bottom()));
    QVERIFY(lineAt(row.bottom()));
    m_form->trvFoldersEndDrag(); // the drag was cancelled
    QVERIFY(!lineAt(row.bottom()));
}

void TestFolderTree::undoWithoutSelectedFolderLeavesNoDanglingReferences()
{
    Build();
    A->SetSelected(false);
    Catalog->SaveUndoState(); // a snapshot in which no folder is selected
    A->SetSelected(true);
    m_form->RebuildFolderTree();
    QCOMPARE(CurrentFolder, A);
    SearchRec.Text = "x";
    SearchRec.Folder = A;
    SearchRec.Bookmark = A->Bookmarks().At(0);
    Catalog->Undo();
    Catalog->Undo();
    m_form->RebuildFolderTree();
    // The old folders are gone; nothing may still point at them. (A new folder
    // may sit at a freed one's address; the cursor may name it, being in the tree.)
    QVERIFY(!CurrentFolder);
    QVERIFY(!SearchRec.Folder || InTree(SearchRec.Folder));
    QVERIFY(!SearchRec.Bookmark || SearchRec.Bookmark->Owner() == &SearchRec.Folder->Bookmarks());
    QCOMPARE(m_form->lvBookmarks->model()->rowCount(), 0);
    SearchRec = TSearchRec();
}

void TestFolderTree::statusBarEmptiedWithoutFolder()
{
    Build();
    QCOMPARE(m_form->StatusPanel[0]->text(), QString("A"));
    m_form->trvFolders->clearSelection();
    QVERIFY(!CurrentFolder);
    QCOMPARE(m_form->StatusPanel[0]->text(), QString());
    QCOMPARE(m_form->StatusPanel[2]->text(), QString("Folders:"));
}

void TestFolderTree::openedAncestorsKeepTheirFlags()
{
    Build();
    A->SetExpanded(false);
    A->SetSelected(false);
    A2->SetSelected(true);
    m_form->RebuildFolderTree();
    QCOMPARE(CurrentFolder, A2);
    // Whatever the view did to show the selected node, flags and nodes agree.
    QCOMPARE(A->Expanded(), Node(A)->isExpanded());
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
    m_form->RebuildFolderTree();
    m_form->RebuildFolderTree();
    int depth = 0;
    for (QTreeWidgetItem *node = m_form->trvFolders->topLevelItem(0); node;
         node = node->childCount() ? node->child(0) : nullptr)
        ++depth;
    QVERIFY(depth >= 1000 && depth < 100000);
    QVERIFY(!CurrentFolder || CurrentFolder->Title().toInt() < depth);
    m_form.reset(); // frees the nodes and the catalogue
}

QTEST_MAIN(TestFolderTree)
#include "tst_foldertree.moc"
