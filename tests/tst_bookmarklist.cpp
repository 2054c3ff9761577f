// The bookmark list, the description pane and the status bar: filling, the
// click and key rules, opening addresses, sorting by the View menu and the
// column headers, and reordering rows by dropping them on the list.
#include "MainWindowFixture.h"
#include "catalogue/Catalog.h"
#include "settings/Preferences.h"

#include <QAbstractItemModelTester>
#include <QDesktopServices>
#include <QHeaderView>
#include <QStatusBar>
#include <QToolBar>
#include <QtTest>

class TestBookmarkList : public QObject
{
    Q_OBJECT

public slots:
    void Open(const QUrl &url) { m_opened << url.toString(); }

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup() { m.Close(); }

    void fillShowsTheFirstRow();
    void clickRules();
    void goOpensTheAddress_data();
    void goOpensTheAddress();
    void headerClicksAndSortCommands();
    void pressesAndKeysMoveTheSearch();
    void reorderDrops_data();
    void reorderDrops();
    void statusBarResize_data();
    void statusBarResize();
    void statusBarShowsLargeCountsWhole();
    void gridLinesAndFullWidthHighlight();
    void viewBars();

private:
    QString Headers() const;

    MainWindowFixture m;
    QStringList m_opened;
};

void TestBookmarkList::initTestCase()
{
    for (const char *scheme : {"http", "https", "ftp"})
        QDesktopServices::setUrlHandler(scheme, this, "Open");
}

void TestBookmarkList::cleanupTestCase()
{
    for (const char *scheme : {"http", "https", "ftp"})
        QDesktopServices::unsetUrlHandler(scheme);
}

void TestBookmarkList::init()
{
    m_opened.clear();
    QVERIFY(m.Open());
    new QAbstractItemModelTester(m.Form->lvBookmarks->model(),
                                 QAbstractItemModelTester::FailureReportingMode::QtTest,
                                 m.Form.get());
}

QString TestBookmarkList::Headers() const
{
    QStringList captions;
    for (int c = 0; c < 4; ++c)
        captions << m.Form->lvBookmarks->model()->headerData(c, Qt::Horizontal).toString();
    return captions.join('|');
}

void TestBookmarkList::fillShowsTheFirstRow()
{
    m.Show("F:3(S1(X Y) S2 S3) E", "F");
    TFolder *f = FolderNamed(*Catalog, "F");
    f->SetDescription("folder F");
    f->Bookmarks().At(1)->SetDescription("about f1");
    QCOMPARE(m.Rows() + " / " + m.Status(), QString(">f0* f1 f2 / F|f0|Folders:3|Bookmarks:3|"
                                                    "Description: "));
    m.ClickRow(1);
    QCOMPARE(m.Rows() + " / " + m.Status(),
             QString("f0 >f1* f2 / F|f1|Folders:3|Bookmarks:3|Description: about f1"));
    m.ClickNode("E");
    QCOMPARE(m.Rows() + " / " + m.Status(), QString(" / E||Folders:0|Bookmarks:0|Description: "));
    m.ClickNode("F"); // the first row again, and the folder's description while the tree has the focus
    QCOMPARE(m.Rows() + " / " + m.Status(),
             QString(">f0* f1 f2 / F|f0|Folders:3|Bookmarks:3|Description: folder F"));
    m.Form->lvBookmarks->setFocus(); // Tab
    QTest::keyClick(m.Form->lvBookmarks, Qt::Key_End);
    QCOMPARE(m.Rows() + " / " + m.Status(),
             QString("f0 f1 >f2* / F|f2|Folders:3|Bookmarks:3|Description: "));
}

void TestBookmarkList::clickRules()
{
    m.Show("F:3 E", "F");
    m.ClickRow(-1); // below the rows: the last row
    QCOMPARE(m.Rows(), QString("f0 f1 >f2*"));
    m.ClickRow(0);
    m.ClickRow(2, Qt::ControlModifier); // the focus mark goes to the first selected row
    QCOMPARE(m.Rows(), QString(">f0* f1 f2*"));
    m.ClickRow(0, Qt::ControlModifier);
    m.ClickRow(2, Qt::ControlModifier); // none left selected: the last row
    QCOMPARE(m.Rows(), QString("f0 f1 >f2*"));
    MainWindowFixture::Click(m.Form->lvBookmarks->viewport(), Qt::RightButton, {}, m.RowPoint(-1));
    const auto *popup = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    QVERIFY(popup && popup->actions().constFirst()->text() == "&Go");
    MainWindowFixture::ClosePopup();
    QCOMPARE(m.Rows(), QString("f0 f1 >f2*"));
    m.ClickNode("E");
    m.ClickRow(-1); // an empty list: nothing
    QCOMPARE(m.Rows() + m.Status(), QString("E||Folders:0|Bookmarks:0|Description:"));
}

void TestBookmarkList::goOpensTheAddress_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("opened");
    QTest::newRow("Enter") << "HTTP://Example.org/a" << "Enter" << "http://example.org/a";
    QTest::newRow("double click") << "ftp://files.example/x" << "double click"
                                  << "ftp://files.example/x";
    QTest::newRow("Tools > Go, no scheme") << "example.org/p" << "Go" << "http://example.org/p";
    QTest::newRow("a scheme of its own") << "https://secure.example/" << "Go"
                                         << "https://secure.example/";
    QTest::newRow("double click below the rows") << "http://x/" << "double click below"
                                                 << "http://f2/";
    QTest::newRow("Enter, no current folder") << "http://x/" << "Enter, no folder" << "";
    QTest::newRow("Go, another folder current") << "http://x/" << "Go, right press" << "";
}

// The first row's bookmark, stamped as visited: sorted by last visit, it moves
// last, and stays selected there; no undo step.
void TestBookmarkList::goOpensTheAddress()
{
    QFETCH(QString, address);
    QFETCH(QString, how);
    QFETCH(QString, opened);
    m.Show("E F:3", "F");
    CurrentFolder->Bookmarks().At(0)->SetAddress(address);
    m.Form->Action(ActionId::ViewSortByLastVisit)->trigger();
    QWidget *rows = m.Form->lvBookmarks->viewport();
    m.ClickRow(0);
    if (how.endsWith("no folder"))
        m.ClickNode(QString());
    if (how.endsWith("right press"))
        m.ClickNode("E", Qt::RightButton);
    if (how.startsWith("Enter"))
        QTest::keyClick(m.Form->lvBookmarks, Qt::Key_Return);
    else if (how.startsWith("double click")) { // the first click, then the second press
        const QPoint at = m.RowPoint(how.endsWith("below") ? -1 : 0);
        QTest::mouseClick(rows, Qt::LeftButton, {}, at);
        QTest::mouseDClick(rows, Qt::LeftButton, {}, at);
    } else {
        m.Form->Action(ActionId::ToolsGo)->trigger();
    }
    QCOMPARE(m_opened, opened.isEmpty() ? QStringList() : QStringList(opened));
    QCOMPARE(Modified, !opened.isEmpty());
    if (opened.isEmpty())
        return;
    const QString visited = opened == "http://f2/" ? "f0 f1 >f2*" : "f1 f2 >f0*";
    QCOMPARE(m.Rows(), visited);
    QCOMPARE(m.Form->lvBookmarks->model()->index(2, 2).data().toString(), TodayText());
    QCOMPARE(m.Disabled(), QString("EditUndo EditRedo EditPaste EditFindNext"));
}

void TestBookmarkList::headerClicksAndSortCommands()
{
    m.Show("F:3", "F");
    const char *titles[] = {"b", "a", "c"}, *addresses[] = {"http://1", "http://3", "http://2"};
    for (int i = 0; i < 3; ++i) {
        CurrentFolder->Bookmarks().At(i)->SetTitle(titles[i]);
        CurrentFolder->Bookmarks().At(i)->SetAddress(addresses[i]);
    }
    QHeaderView *header = m.Form->lvBookmarks->header();
    const auto click = [header](int column) {
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(column) + 5, 5));
    };
    const auto shown = [this] {
        const QString view = Entries(m.Form->findChild<QMenu *>("mnuView"));
        return m.Rows().remove('>').remove('*') + " / " + Headers() + " / "
               + view.mid(view.indexOf("[x]; -; ") + 8);
    };
    m.Form->Action(ActionId::ViewSortByTitle)->trigger();
    QCOMPARE(shown(), QString("a b c / Title +|Address|Last Visit|Add Date / Sort by &Title [x]; "
                              "Sort by &Address; Sort by Last &Visit; Sort by Add &Date; "
                              "&Unsorted; -; &Reversed Order"));
    click(1); // another column: sorted by it, reversed
    QCOMPARE(shown().section(" / Sort", 0, 0), QString("a c b / Title|Address -|Last Visit|Add Date"));
    QVERIFY(shown().contains("Sort by &Address [x]") && shown().endsWith("Order [x]"));
    click(1); // the same column: the other way
    QCOMPARE(shown().section(" / Sort", 0, 0), QString("b c a / Title|Address +|Last Visit|Add Date"));
    click(0);
    QCOMPARE(shown().section(" / Sort", 0, 0), QString("c b a / Title -|Address|Last Visit|Add Date"));
    m.Form->Action(ActionId::ViewUnsorted)->trigger();
    m.Form->Action(ActionId::ViewReversedOrder)->trigger(); // the stored order stays
    QCOMPARE(shown(), QString("c b a / Title|Address|Last Visit|Add Date / Sort by &Title; "
                              "Sort by &Address; Sort by Last &Visit; Sort by Add &Date; "
                              "&Unsorted [x]; -; &Reversed Order"));
    QVERIFY(!Prefs->Rec().ReversedSort && Prefs->Rec().SortType == 0 && !Modified);
}

// Find Next starts at the bookmark pressed, or at the row a key leaves.
void TestBookmarkList::pressesAndKeysMoveTheSearch()
{
    m.Show("F:3", "F");
    SearchRec.Text = "f";
    for (int row : {2, 0}) {
        m.ClickRow(row);
        m.Type(QKeySequence::FindNext);
        QCOMPARE(m.Form->memDescription->toPlainText(), "Title: f" + QString::number(row));
    }
    m.ClickRow(1);
    QTest::keyClick(m.Form->lvBookmarks, Qt::Key_Up); // from the row it leaves
    m.Type(QKeySequence::FindNext);
    QCOMPARE(m.Form->memDescription->toPlainText(), QString("Title: f1"));
}

void TestBookmarkList::reorderDrops_data()
{
    QTest::addColumn<QList<int>>("selected");
    QTest::addColumn<int>("target"); // -1: below the rows
    QTest::addColumn<int>("sort");
    QTest::addColumn<QString>("rows");
    QTest::newRow("2 and 3 on 0") << QList<int>{2, 3} << 0 << 0 << ">b2* b3* b0 b1 b4 b5";
    QTest::newRow("0 and 1 on 4") << QList<int>{0, 1} << 4 << 0 << "b2 b3 b4 >b0* b1* b5";
    QTest::newRow("both sides of the target") << QList<int>{1, 4} << 2 << 0
                                              << "b0 b2 >b1* b4* b3 b5";
    QTest::newRow("a row on itself") << QList<int>{1} << 1 << 0 << "b0 >b1* b2 b3 b4 b5";
    QTest::newRow("sorted: the order stays") << QList<int>{5} << 0 << 1 << "b0 b1 b2 b3 b4 >b5*";
    QTest::newRow("below the rows: nothing") << QList<int>{3} << -1 << 0 << "b0 b1 b2 >b3* b4 b5";
}

void TestBookmarkList::reorderDrops()
{
    QFETCH(QList<int>, selected);
    QFETCH(int, target);
    QFETCH(int, sort);
    QFETCH(QString, rows);
    m.Show("B:6", "B");
    Prefs->Rec().SortType = quint8(sort);
    for (int row : selected)
        m.ClickRow(row, row == selected.first() ? Qt::NoModifier : Qt::ControlModifier);
    QVERIFY(m.Form->lvBookmarksDragOver(m.Form->lvBookmarks));
    QVERIFY(!m.Form->lvBookmarksDragOver(m.Form->trvFolders));
    m.Form->lvBookmarksDragDrop(m.RowPoint(target));
    QCOMPARE(m.Rows(), rows);
    QCOMPARE(Modified, target >= 0); // and an undo step
    QCOMPARE(m.Disabled().contains("EditUndo"), target < 0);
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
    TStatusPanel *const *panel = m.Form->StatusPanel;
    m.Form->MainStatusBar->resize(barWidth, m.Form->MainStatusBar->height());
    const int others = panel[0]->width() + panel[2]->width() + panel[3]->width();
    QCOMPARE(panel[1]->width(), qMax(panel[0]->width(), barWidth - others));
    QVERIFY(panel[0]->width() >= 200 && panel[2]->width() >= 100 && panel[4]->width() >= 50);
}

void TestBookmarkList::statusBarShowsLargeCountsWhole()
{
    // "Bookmarks:5000" once showed for 50,000: the panel kept its designed width.
    m.Show("F:50000", "F");
    const TStatusPanel *panel = m.Form->StatusPanel[3];
    QCOMPARE(panel->text(), QString("Bookmarks:50000"));
    QVERIFY(panel->contentsRect().width() > panel->fontMetrics().horizontalAdvance(panel->text()));
    // A long title is cut with an ellipsis, not clipped.
    CurrentFolder->SetTitle(QString(300, 'w'));
    m.Form->UpdateStatusBar();
    const QImage image = m.Form->StatusPanel[0]->grab().toImage();
    QVERIFY(image.pixelColor(image.width() - 12, image.height() / 2)
            == image.pixelColor(image.width() - 8, 2));
}

void TestBookmarkList::gridLinesAndFullWidthHighlight()
{
    m.Show("F:2", "F");
    QTreeView *list = m.Form->lvBookmarks;
    const QImage image = list->viewport()->grab().toImage();
    const QRect row0 = list->visualRect(list->model()->index(0, 0));
    const QRect row1 = list->visualRect(list->model()->index(1, 0));
    QVERIFY(list->header()->length() < image.width() - 4);
    const QColor highlight = image.pixelColor(row0.right() - 2, row0.center().y());
    // The highlight runs on past the last column; rows below it do not.
    QCOMPARE(image.pixelColor(image.width() - 3, row0.center().y()), highlight);
    QVERIFY(image.pixelColor(image.width() - 3, row1.center().y()) != highlight);
    // A grid line between the columns, and one under each row.
    const QColor background = image.pixelColor(row1.left() + 40, row1.center().y() - 2);
    QVERIFY(image.pixelColor(row1.right(), row1.center().y()) != background);
    QVERIFY(image.pixelColor(row1.left() + 40, row1.bottom()) != background);
}

void TestBookmarkList::viewBars()
{
    QAction *toolbar = m.Form->Action(ActionId::ViewToolbar);
    QAction *statusBar = m.Form->Action(ActionId::ViewStatusBar);
    toolbar->trigger();
    statusBar->trigger();
    QVERIFY(!m.Form->MainToolbar->isVisible() && !m.Form->MainStatusBar->isVisible());
    statusBar->trigger();
    QVERIFY(!m.Form->MainToolbar->isVisible() && m.Form->MainStatusBar->isVisible());
    toolbar->trigger();
    QVERIFY(m.Form->MainToolbar->isVisible());
}

QTEST_MAIN(TestBookmarkList)
#include "tst_bookmarklist.moc"
