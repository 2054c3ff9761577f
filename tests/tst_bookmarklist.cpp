// The bookmark list, the description pane and the status bar: filling, the
// click and key rules, header clicks, the View commands and reordering drops.
#include "CatalogTree.h"
#include "catalogue/Catalog.h"
#include "program/Globals.h"
#include "mainwindow/MainForm.h"
#include "program/MessageBox.h"
#include "settings/Preferences.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QDesktopServices>
#include <QHeaderView>
#include <QLabel>
#include <QToolBar>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest>

// Receives the addresses the program hands to the desktop.
class UrlCatcher : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> Opened;

public slots:
    void Open(const QUrl &url) { Opened.append(url); }
};

class TestBookmarkList : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void noFolderShowsBareLabels();
    void statusBarCountsDirectChildrenOnly();
    void fillSelectsFirstRowOnly();
    void descriptionOfSelectedBookmark();
    void headerClicks();
    void reversedOrderInUnsortedMode();
    void statusBarResize_data();
    void statusBarResize();
    void statusBarShowsLargeCountsWhole();
    void gridLinesAndFullWidthHighlight();
    void clickBelowLastRowSelectsLastRow();
    void reorderDrops_data();
    void reorderDrops();
    void dropInSortedModeKeepsSortedOrder();
    void dropBelowRowsDoesNothing();
    void enterOpensAddressOnlyWithGoEnabled();
    void doubleClickBelowRowsOpensLastRow();
    void mousePressReanchorsSearchAtRow();
    void viewBars();
    void dropWithCellSelection();

private:
    TFolder *AddFolder(const QString &title, const QStringList &bookmarks);
    void SelectRows(const QList<int> &rows);
    QPoint RowPoint(int row) const;
    QString Panel(int i) const { return m_form->StatusPanel[i]->text(); }

    UrlCatcher m_urls;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TfrmMain> m_form;
};

void TestBookmarkList::initTestCase()
{
    SetMessageBoxAnswerer([](const MessageBoxRequest &) { return QMessageBox::No; });
    for (const char *scheme : {"http", "https", "ftp"})
        QDesktopServices::setUrlHandler(scheme, &m_urls, "Open");
}

void TestBookmarkList::cleanupTestCase()
{
    for (const char *scheme : {"http", "https", "ftp"})
        QDesktopServices::unsetUrlHandler(scheme);
}

void TestBookmarkList::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    SetProgramFolder(m_dir->path());
    Modified = false;
    m_urls.Opened.clear();
    m_form = std::make_unique<TfrmMain>();
    new QAbstractItemModelTester(m_form->lvBookmarks->model(),
                                 QAbstractItemModelTester::FailureReportingMode::QtTest,
                                 m_form.get());
    m_form->resize(900, 600);
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
}

void TestBookmarkList::cleanup()
{
    m_form.reset();
    Modified = false;
    SearchRec = TSearchRec();
}

TFolder *TestBookmarkList::AddFolder(const QString &title, const QStringList &bookmarks)
{
    TFolder *folder = Catalog->Folders().Add(std::make_unique<TFolder>());
    folder->SetTitle(title);
    for (const QString &b : bookmarks) {
        TBookmark *bookmark = folder->Bookmarks().Add(std::make_unique<TBookmark>());
        bookmark->SetTitle(b);
        bookmark->SetAddress("example.org/" + b);
        bookmark->SetDescription("about " + b);
    }
    return folder;
}

void TestBookmarkList::SelectRows(const QList<int> &rows)
{
    QItemSelectionModel *selection = m_form->lvBookmarks->selectionModel();
    selection->clearSelection();
    for (int r : rows)
        selection->select(m_form->lvBookmarks->model()->index(r, 0),
                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

QPoint TestBookmarkList::RowPoint(int row) const
{
    return m_form->lvBookmarks->visualRect(m_form->lvBookmarks->model()->index(row, 0)).center();
}

void TestBookmarkList::noFolderShowsBareLabels()
{
    m_form->RebuildFolderTree();
    QCOMPARE(m_form->lvBookmarks->model()->rowCount(), 0);
    QCOMPARE(Panel(0), QString());
    QCOMPARE(Panel(1), QString());
    QCOMPARE(Panel(2), QString("Folders:"));
    QCOMPARE(Panel(3), QString("Bookmarks:"));
    QCOMPARE(m_form->memDescription->toPlainText(), QString("Description:"));
}

void TestBookmarkList::statusBarCountsDirectChildrenOnly()
{
    TFolder *folder = AddFolder("Top", {});
    for (int i = 0; i < 3; ++i)
        folder->Folders().Add(std::make_unique<TFolder>());
    folder->Folders().At(1)->Folders().Add(std::make_unique<TFolder>());
    folder->Folders().At(1)->Folders().Add(std::make_unique<TFolder>());
    folder->SetSelected(true);
    m_form->RebuildFolderTree();
    QCOMPARE(Panel(0), QString("Top"));
    QCOMPARE(Panel(1), QString());
    QCOMPARE(Panel(2), QString("Folders:3"));
    QCOMPARE(Panel(3), QString("Bookmarks:0"));
    QCOMPARE(m_form->ItemIndex(), -1);
}

void TestBookmarkList::fillSelectsFirstRowOnly()
{
    AddFolder("F", {"x", "y", "z"})->SetSelected(true);
    m_form->RebuildFolderTree();
    QCOMPARE(m_form->lvBookmarks->selectionModel()->selectedRows().size(), 1);
    QCOMPARE(m_form->ItemIndex(), 0);
    QCOMPARE(m_form->lvBookmarks->currentIndex().row(), 0);
    QCOMPARE(Panel(1), QString("x"));
    QCOMPARE(Panel(3), QString("Bookmarks:3"));
}

void TestBookmarkList::descriptionOfSelectedBookmark()
{
    TFolder *folder = AddFolder("F", {"x", "y"});
    folder->Bookmarks().At(1)->SetDescription(QString());
    folder->SetSelected(true);
    m_form->RebuildFolderTree();
    m_form->lvBookmarks->setFocus();
    SelectRows({0});
    QCOMPARE(m_form->memDescription->toPlainText(), QString("Description: about x"));
    SelectRows({1});
    QCOMPARE(m_form->memDescription->toPlainText(), QString("Description: "));
    QCOMPARE(Panel(1), QString("y"));
}

void TestBookmarkList::headerClicks()
{
    AddFolder("F", {"b", "a", "c"})->SetSelected(true);
    m_form->RebuildFolderTree();
    QHeaderView *header = m_form->lvBookmarks->header();
    m_form->Action(ActionId::ViewSortByTitle)->trigger();
    QVERIFY(!Prefs->Rec().ReversedSort);
    auto click = [header](int column) {
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(column) + 5, 5));
    };
    click(1); // Address, descending
    QCOMPARE(Prefs->Rec().SortType, quint8(2));
    QVERIFY(Prefs->Rec().ReversedSort);
    QVERIFY(m_form->Action(ActionId::ViewSortByAddress)->isChecked());
    QCOMPARE(Titles(CurrentFolder->Bookmarks()), QStringList({"c", "b", "a"}));
    click(1); // Address, ascending
    QVERIFY(!Prefs->Rec().ReversedSort);
    QCOMPARE(Titles(CurrentFolder->Bookmarks()), QStringList({"a", "b", "c"}));
    click(0); // Title, descending
    QCOMPARE(Prefs->Rec().SortType, quint8(1));
    QVERIFY(Prefs->Rec().ReversedSort);
    QCOMPARE(Titles(CurrentFolder->Bookmarks()), QStringList({"c", "b", "a"}));
    QCOMPARE(m_form->lvBookmarks->model()->headerData(0, Qt::Horizontal).toString(),
             QString("Title -"));
    QVERIFY(!Modified);
}

void TestBookmarkList::reversedOrderInUnsortedMode()
{
    AddFolder("F", {"b", "a", "c"})->SetSelected(true);
    m_form->RebuildFolderTree();
    m_form->Action(ActionId::ViewUnsorted)->trigger();
    m_form->Action(ActionId::ViewReversedOrder)->trigger();
    QVERIFY(m_form->Action(ActionId::ViewReversedOrder)->isChecked());
    QVERIFY(Prefs->Rec().ReversedSort);
    QCOMPARE(Titles(CurrentFolder->Bookmarks()), QStringList({"b", "a", "c"}));
    for (int c = 0; c < 4; ++c) {
        const QString caption = m_form->lvBookmarks->model()->headerData(c, Qt::Horizontal)
                                    .toString();
        QVERIFY2(!caption.endsWith(" +") && !caption.endsWith(" -"), qPrintable(caption));
    }
}

void TestBookmarkList::statusBarResize_data()
{
    QTest::addColumn<int>("barWidth");
    QTest::newRow("narrow: the designed minimum") << 300;
    QTest::newRow("wide: the room beyond the other panels") << 2000;
}

void TestBookmarkList::statusBarResize()
{
    QFETCH(int, barWidth);
    m_form->resize(barWidth, m_form->height());
    QTRY_COMPARE(m_form->MainStatusBar->width(), barWidth);
    QApplication::processEvents();
    // Narrow: the bookmark's panel keeps its minimum. Wide: it takes the room
    // that is left, and the panels stand side by side inside the bar.
    QVERIFY(m_form->StatusPanel[1]->width() >= m_form->StatusPanel[0]->width());
    if (barWidth < 1000)
        return;
    QVERIFY(m_form->StatusPanel[1]->width() > m_form->StatusPanel[0]->width());
    for (int i = 1; i < 5; ++i)
        QVERIFY(m_form->StatusPanel[i]->x() > m_form->StatusPanel[i - 1]->geometry().right());
    QVERIFY(m_form->StatusPanel[4]->geometry().right() < barWidth);
}

void TestBookmarkList::statusBarShowsLargeCountsWhole()
{
    // "Bookmarks:5000" once showed for 50,000: the panel kept its designed width.
    TFolder *folder = AddFolder("F", {});
    for (int i = 0; i < 50000; ++i)
        folder->Bookmarks().Add(std::make_unique<TBookmark>());
    folder->SetSelected(true);
    m_form->RebuildFolderTree();
    const TStatusPanel *panel = m_form->StatusPanel[3];
    QCOMPARE(panel->text(), QString("Bookmarks:50000"));
    QVERIFY(panel->contentsRect().width() > panel->fontMetrics().horizontalAdvance(panel->text()));
}

void TestBookmarkList::gridLinesAndFullWidthHighlight()
{
    AddFolder("F", {"x", "y"})->SetSelected(true);
    m_form->RebuildFolderTree();
    SelectRows({0});
    QTreeView *list = m_form->lvBookmarks;
    const QImage image = list->viewport()->grab().toImage();
    const QRect row0 = list->visualRect(list->model()->index(0, 0));
    const QRect row1 = list->visualRect(list->model()->index(1, 0));
    const int columnsEnd = list->header()->length();
    QVERIFY(columnsEnd < image.width() - 4);
    const QColor highlight = image.pixelColor(row0.right() - 2, row0.center().y());
    // The highlight runs on past the last column; rows below it do not.
    QCOMPARE(image.pixelColor(image.width() - 3, row0.center().y()), highlight);
    QVERIFY(image.pixelColor(image.width() - 3, row1.center().y()) != highlight);
    // A grid line between the columns, and one under each row.
    const QColor background = image.pixelColor(row1.left() + 40, row1.center().y() - 2);
    QVERIFY(image.pixelColor(row1.right(), row1.center().y()) != background);
    QVERIFY(image.pixelColor(row1.left() + 40, row1.bottom()) != background);
}

void TestBookmarkList::clickBelowLastRowSelectsLastRow()
{
    AddFolder("F", {"x", "y", "z"})->SetSelected(true);
    AddFolder("Empty", {});
    m_form->RebuildFolderTree();
    const QPoint below = RowPoint(2) + QPoint(0, 200);
    QTest::mouseClick(m_form->lvBookmarks->viewport(), Qt::LeftButton, {}, below);
    QCOMPARE(m_form->lvBookmarks->selectionModel()->selectedRows().size(), 1);
    QCOMPARE(m_form->ItemIndex(), 2);
    QCOMPARE(m_form->lvBookmarks->currentIndex().row(), 2);
    // In an empty list a click does nothing.
    m_form->trvFolders->setCurrentItem(m_form->trvFolders->topLevelItem(1));
    QTest::mouseClick(m_form->lvBookmarks->viewport(), Qt::LeftButton, {}, QPoint(20, 40));
    QCOMPARE(m_form->ItemIndex(), -1);
}

void TestBookmarkList::reorderDrops_data()
{
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<int>("target");
    QTest::addColumn<QStringList>("order");
    QTest::addColumn<QList<int>>("selectedAfter");
    QTest::newRow("2,3 on 0") << QList<int>{2, 3} << 0
                              << QStringList{"b2", "b3", "b0", "b1", "b4", "b5"}
                              << QList<int>{0, 1};
    QTest::newRow("rows on both sides") << QList<int>{1, 4} << 2
                                        << QStringList{"b0", "b2", "b1", "b4", "b3", "b5"}
                                        << QList<int>{2, 3};
}

void TestBookmarkList::reorderDrops()
{
    QFETCH(QList<int>, rows);
    QFETCH(int, target);
    QFETCH(QStringList, order);
    QFETCH(QList<int>, selectedAfter);
    AddFolder("F", {"b0", "b1", "b2", "b3", "b4", "b5"})->SetSelected(true);
    m_form->RebuildFolderTree();
    SelectRows(rows);
    QVERIFY(!m_form->lvBookmarksDragOver(m_form->trvFolders));
    QVERIFY(m_form->lvBookmarksDragOver(m_form->lvBookmarks));
    m_form->lvBookmarksDragDrop(RowPoint(target));
    QCOMPARE(Titles(CurrentFolder->Bookmarks()), order);
    QList<int> selected;
    for (const QModelIndex &index : m_form->lvBookmarks->selectionModel()->selectedRows())
        selected << index.row();
    std::sort(selected.begin(), selected.end());
    QCOMPARE(selected, selectedAfter);
    QCOMPARE(m_form->lvBookmarks->currentIndex().row(), selectedAfter.first());
    QCOMPARE(Catalog->GetUndoCount(), 1);
    QVERIFY(Modified);
    QVERIFY(m_form->Action(ActionId::EditUndo)->isEnabled());
}

void TestBookmarkList::dropInSortedModeKeepsSortedOrder()
{
    AddFolder("F", {"b", "a", "c"})->SetSelected(true);
    m_form->RebuildFolderTree();
    m_form->Action(ActionId::ViewSortByTitle)->trigger();
    SelectRows({2});
    m_form->lvBookmarksDragDrop(RowPoint(0));
    QCOMPARE(Titles(CurrentFolder->Bookmarks()), QStringList({"a", "b", "c"}));
    QCOMPARE(m_form->ItemIndex(), 2); // "c" stays selected where the sort put it
    QCOMPARE(Catalog->GetUndoCount(), 1);
    QVERIFY(Modified);
}

void TestBookmarkList::dropBelowRowsDoesNothing()
{
    AddFolder("F", {"b0", "b1"})->SetSelected(true);
    m_form->RebuildFolderTree();
    SelectRows({0});
    m_form->lvBookmarksDragDrop(RowPoint(1) + QPoint(0, 200));
    QCOMPARE(Titles(CurrentFolder->Bookmarks()), QStringList({"b0", "b1"}));
    QCOMPARE(Catalog->GetUndoCount(), 0);
    QVERIFY(!Modified);
}

void TestBookmarkList::enterOpensAddressOnlyWithGoEnabled()
{
    AddFolder("F", {"x", "y"})->SetSelected(true);
    m_form->RebuildFolderTree();
    m_form->lvBookmarks->setFocus();
    SelectRows({1});
    QTest::keyClick(m_form->lvBookmarks, Qt::Key_Return);
    QCOMPARE(m_urls.Opened, QList<QUrl>{QUrl("http://example.org/y")});
    QCOMPARE(CurrentFolder->Bookmarks().At(1)->LastVisit(), TodayText());
    QVERIFY(Modified);
    // Without a current folder Go is disabled and Enter does nothing.
    QTest::mousePress(m_form->trvFolders->viewport(), Qt::LeftButton, {}, QPoint(10, 300));
    QVERIFY(!CurrentFolder);
    m_form->lvBookmarks->setFocus();
    QTest::keyClick(m_form->lvBookmarks, Qt::Key_Return);
    QCOMPARE(m_urls.Opened.size(), 1);
}

void TestBookmarkList::doubleClickBelowRowsOpensLastRow()
{
    TFolder *folder = AddFolder("F", {"x", "y"});
    folder->Bookmarks().At(1)->SetAddress("https://secure.example.org/");
    folder->SetSelected(true);
    m_form->RebuildFolderTree();
    const QPoint below = RowPoint(1) + QPoint(0, 200);
    // A double click's first press and release, then its second press.
    QTest::mouseClick(m_form->lvBookmarks->viewport(), Qt::LeftButton, {}, below);
    QTest::mouseDClick(m_form->lvBookmarks->viewport(), Qt::LeftButton, {}, below);
    QCOMPARE(m_form->ItemIndex(), 1);
    // An address with its own scheme opens as it is (never "http://https://").
    QCOMPARE(m_urls.Opened, QList<QUrl>{QUrl("https://secure.example.org/")});
}

void TestBookmarkList::mousePressReanchorsSearchAtRow()
{
    TFolder *folder = AddFolder("F", {"x", "y", "z"});
    folder->SetSelected(true);
    m_form->RebuildFolderTree();
    SearchRec.Text = "find me";
    SelectRows({0});
    m_form->lvBookmarks->setFocus();
    // The cursor goes to the bookmark pressed, not to the one selected before.
    QTest::mousePress(m_form->lvBookmarks->viewport(), Qt::LeftButton, {}, RowPoint(2));
    QCOMPARE(SearchRec.Folder, folder);
    QCOMPARE(SearchRec.Bookmark, folder->Bookmarks().At(2));
    QCOMPARE(SearchRec.NextPos, 1);
    QCOMPARE(SearchRec.Text, QString("find me"));
}

void TestBookmarkList::viewBars()
{
    m_form->Action(ActionId::ViewToolbar)->trigger();
    QVERIFY(!m_form->MainToolbar->isVisible());
    m_form->Action(ActionId::ViewToolbar)->trigger();
    QVERIFY(m_form->MainToolbar->isVisible());
    m_form->Action(ActionId::ViewStatusBar)->trigger();
    QVERIFY(!m_form->MainStatusBar->isVisible());
    QVERIFY(!m_form->Action(ActionId::ViewStatusBar)->isChecked());
}

// A selection of single cells (not whole rows) still counts as those rows.
void TestBookmarkList::dropWithCellSelection()
{
    AddFolder("F", {"b0", "b1", "b2"})->SetSelected(true);
    m_form->RebuildFolderTree();
    QItemSelectionModel *selection = m_form->lvBookmarks->selectionModel();
    selection->select(m_form->lvBookmarks->model()->index(2, 1),
                      QItemSelectionModel::ClearAndSelect);
    m_form->lvBookmarksDragDrop(RowPoint(0));
    QCOMPARE(Titles(CurrentFolder->Bookmarks()), QStringList({"b2", "b0", "b1"}));
}

QTEST_MAIN(TestBookmarkList)
#include "tst_bookmarklist.moc"
