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
#include <QtTest>

class TestBookmarkList : public QObject
{
    Q_OBJECT
    MainWindowFixture m;
    QStringList m_opened;

    QString Headers() const
    {
        QStringList captions;
        for (int c = 0; c < 4; ++c)
            captions << m.Form->lvBookmarks->model()->headerData(c, Qt::Horizontal).toString();
        return captions.join('|');
    }

public slots:
    void Open(const QUrl &url) { m_opened << url.toString(); }

private slots:
    void initTestCase()
    {
        for (const char *scheme : {"http", "https", "ftp"})
            QDesktopServices::setUrlHandler(scheme, this, "Open");
    }
    void cleanupTestCase()
    {
        for (const char *scheme : {"http", "https", "ftp"})
            QDesktopServices::unsetUrlHandler(scheme);
    }
    void init()
    {
        m_opened.clear();
        QVERIFY(m.Open());
        new QAbstractItemModelTester(m.Form->lvBookmarks->model(),
                                     QAbstractItemModelTester::FailureReportingMode::QtTest,
                                     m.Form.get());
    }
    void cleanup() { m.Close(); }

    // The first row selected and marked after each fill; the bars follow the rows.
    void fillShowsTheFirstRow()
    {
        m.Show("F:3(S1(X Y) S2 S3) E", "F");
        CurrentFolder->SetDescription("folder F");
        CurrentFolder->Bookmarks().At(1)->SetDescription("about f1");
        const auto shown = [this] { return m.Rows() + " / " + m.Status(); };
        QCOMPARE(shown(), QString(">f0* f1 f2 / F|f0|Folders:3|Bookmarks:3|Description: "));
        m.ClickRow(1);
        QCOMPARE(shown(), QString("f0 >f1* f2 / F|f1|Folders:3|Bookmarks:3|Description: about f1"));
        m.ClickNode("E");
        QCOMPARE(shown(), QString(" / E||Folders:0|Bookmarks:0|Description: "));
        m.ClickNode("F"); // while the tree has the focus, the folder's description
        QCOMPARE(shown(), QString(">f0* f1 f2 / F|f0|Folders:3|Bookmarks:3|Description: folder F"));
        m.Form->lvBookmarks->setFocus(); // Tab
        QTest::keyClick(m.Form->lvBookmarks, Qt::Key_End);
        QCOMPARE(shown(), QString("f0 f1 >f2* / F|f2|Folders:3|Bookmarks:3|Description: "));
    }

    void clickRules()
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
        m.ClickRow(0);
        MainWindowFixture::Click(m.Form->lvBookmarks->viewport(), Qt::RightButton, {},
                                 m.RowPoint(-1)); // the pop-up menu opens on the last row
        const auto *popup = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QVERIFY(popup && popup->actions().constFirst()->text() == "&Go");
        MainWindowFixture::ClosePopup();
        QCOMPARE(m.Rows(), QString("f0 f1 >f2*"));
        m.ClickNode("E");
        m.ClickRow(-1); // an empty list: nothing
        QCOMPARE(m.Rows() + m.Status(), QString("E||Folders:0|Bookmarks:0|Description:"));
    }

    void goOpensTheAddress_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("opened");
        QTest::newRow("Enter") << "HTTP://Example.org/a" << "Enter" << "http://example.org/a";
        QTest::newRow("double click") << "ftp://files.example/x" << "double click"
                                      << "ftp://files.example/x";
        QTest::newRow("Go, no scheme") << "example.org/p" << "Go" << "http://example.org/p";
        QTest::newRow("a scheme of its own") << "https://secure.example/" << "Go"
                                             << "https://secure.example/";
        QTest::newRow("double click below the rows") << "" << "double click below" << "http://f2/";
        QTest::newRow("Enter, no current folder") << "" << "Enter, no folder" << "";
        QTest::newRow("Go, an empty folder right-pressed") << "" << "Go, right press" << "";
    }
    // The first row's bookmark, stamped as visited: sorted by last visit, it moves
    // last and stays selected there; no undo step.
    void goOpensTheAddress()
    {
        QFETCH(QString, address);
        QFETCH(QString, how);
        QFETCH(QString, opened);
        m.Show("E F:3", "F");
        CurrentFolder->Bookmarks().At(0)->SetAddress(address);
        m.Form->Action(ActionId::ViewSortByLastVisit)->trigger();
        m.ClickRow(0);
        if (how.endsWith("no folder") || how.endsWith("right press"))
            m.ClickNode(how.endsWith("no folder") ? QString() : "E", Qt::RightButton);
        if (how.startsWith("Enter")) {
            QTest::keyClick(m.Form->lvBookmarks, Qt::Key_Return);
        } else if (how.startsWith("double click")) { // the first click, then the second press
            const QPoint at = m.RowPoint(how.endsWith("below") ? -1 : 0);
            QTest::mouseClick(m.Form->lvBookmarks->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(m.Form->lvBookmarks->viewport(), Qt::LeftButton, {}, at);
        } else {
            m.Form->Action(ActionId::ToolsGo)->trigger();
        }
        QCOMPARE(m_opened, opened.isEmpty() ? QStringList() : QStringList(opened));
        QCOMPARE(Modified, !opened.isEmpty());
        if (opened.isEmpty())
            return;
        QCOMPARE(m.Rows(), QString(opened == "http://f2/" ? "f0 f1 >f2*" : "f1 f2 >f0*"));
        QCOMPARE(m.Form->lvBookmarks->model()->index(2, 2).data().toString(), TodayText());
        QCOMPARE(m.Disabled(), QString("EditUndo EditRedo EditPaste EditFindNext"));
    }

    void headerClicksAndSortCommands()
    {
        m.Show("F:3", "F");
        const char *titles[] = {"b", "a", "c"}, *addresses[] = {"http://1", "http://3", "http://2"};
        for (int i = 0; i < 3; ++i) {
            CurrentFolder->Bookmarks().At(i)->SetTitle(titles[i]);
            CurrentFolder->Bookmarks().At(i)->SetAddress(addresses[i]);
        }
        QHeaderView *header = m.Form->lvBookmarks->header();
        const auto click = [&](int column) { // -1: none, only what shows
            if (column >= 0)
                QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                                  QPoint(header->sectionViewportPosition(column) + 5, 5));
            const QString view = Entries(m.Form->findChild<QMenu *>("mnuView"));
            return m.Rows().remove('>').remove('*') + " / " + Headers() + " / "
                   + view.section("; -; ", 1).remove("Sort by ");
        };
        m.Form->Action(ActionId::ViewSortByTitle)->trigger();
        QCOMPARE(click(1), QString("a c b / Title|Address -|Last Visit|Add Date / &Title; "
                                   "&Address [x]; Last &Visit; Add &Date; &Unsorted; -; "
                                   "&Reversed Order [x]")); // another column: by it, reversed
        QCOMPARE(click(1).section(" / ", 0, 1), QString("b c a / Title|Address +|Last Visit|Add Date"));
        QCOMPARE(click(0).section(" / ", 0, 1), QString("c b a / Title -|Address|Last Visit|Add Date"));
        m.Form->Action(ActionId::ViewUnsorted)->trigger();
        m.Form->Action(ActionId::ViewReversedOrder)->trigger(); // the stored order stays
        QCOMPARE(click(-1), QString("c b a / Title|Address|Last Visit|Add Date / &Title; "
                                    "&Address; Last &Visit; Add &Date; &Unsorted [x]; -; "
                                    "&Reversed Order"));
        QVERIFY(!Prefs->Rec().ReversedSort && Prefs->Rec().SortType == 0 && !Modified);
    }

    // Find Next starts at the bookmark pressed, or at the row a key leaves.
    void pressesAndKeysMoveTheSearch()
    {
        m.Show("F:3", "F");
        SearchRec.Text = "f";
        for (int row : {2, 0, 1}) {
            m.ClickRow(row);
            if (row == 1)
                QTest::keyClick(m.Form->lvBookmarks, Qt::Key_Up);
            m.Type(QKeySequence::FindNext);
            QCOMPARE(m.Form->memDescription->toPlainText(), "Title: f" + QString::number(row));
        }
    }

    void reorderDrops_data()
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
        QTest::newRow("sorted: the order stays") << QList<int>{5} << 0 << 1
                                                 << "b0 b1 b2 b3 b4 >b5*";
        QTest::newRow("below the rows: nothing") << QList<int>{3} << -1 << 0
                                                 << "b0 b1 b2 >b3* b4 b5";
    }
    void reorderDrops()
    {
        QFETCH(QList<int>, selected);
        QFETCH(int, target);
        QFETCH(int, sort);
        m.Show("B:6", "B");
        Prefs->Rec().SortType = quint8(sort);
        m.ClickRows(selected);
        QVERIFY(m.Form->lvBookmarksDragOver(m.Form->lvBookmarks));
        QVERIFY(!m.Form->lvBookmarksDragOver(m.Form->trvFolders));
        m.Form->lvBookmarksDragDrop(m.RowPoint(target));
        QTEST(m.Rows(), "rows");
        QCOMPARE(Modified, target >= 0); // and an undo step
        QCOMPARE(m.Disabled().contains("EditUndo"), target < 0);
    }

    // Panel 1 takes the room beyond the other panels, never less than its minimum,
    // and no panel overlaps another; a count shows whole, a long title is cut with
    // an ellipsis.
    void statusBarPanels()
    {
        TStatusPanel *const *panel = m.Form->StatusPanel;
        m.Form->resize(300, m.Form->height()); // less than the window's least width
        QTRY_COMPARE(m.Form->MainStatusBar->width(), m.Form->minimumWidth());
        QCOMPARE(panel[1]->width(), panel[0]->width());
        m.Form->resize(2000, m.Form->height());
        QTRY_COMPARE(m.Form->MainStatusBar->width(), 2000);
        QApplication::processEvents();
        QVERIFY(panel[1]->width() > panel[0]->width());
        for (int i = 1; i < 5; ++i)
            QVERIFY(panel[i]->x() > panel[i - 1]->geometry().right());
        QVERIFY(panel[4]->geometry().right() < 2000);
        QVERIFY(panel[0]->width() >= 200 && panel[2]->width() >= 100 && panel[4]->width() >= 50);
        // "Bookmarks:5000" once showed for 50,000: the panel kept its designed width.
        m.Show("F:50000", "F");
        QCOMPARE(panel[3]->text(), QString("Bookmarks:50000"));
        QVERIFY(panel[3]->contentsRect().width()
                > panel[3]->fontMetrics().horizontalAdvance(panel[3]->text()));
        CurrentFolder->SetTitle(QString(300, 'w'));
        m.Form->UpdateStatusBar();
        const QImage image = panel[0]->grab().toImage();
        QVERIFY(image.pixelColor(image.width() - 12, image.height() / 2)
                == image.pixelColor(image.width() - 8, 2));
    }

    void sevenDigitCountsShownWhole_data()
    {
        QTest::addColumn<int>("width"); // 0: the window's least width
        QTest::addColumn<QByteArray>("language"); // the labels of the counts
        QTest::newRow("the least width") << 0 << QByteArray();
        QTest::newRow("the stored default width") << 679 << QByteArray();
        QTest::newRow("long labels, the least width")
            << 0 << QByteArray("MainStatusBar2=Unterordner:\r\nMainStatusBar3=Lesezeichen:");
    }
    // A count of seven digits was cut ("Bookmarks:12345…") at every width: the
    // panel was exactly as wide as the text, which Qt elides.
    void sevenDigitCountsShownWhole()
    {
        QFETCH(int, width);
        QFETCH(QByteArray, language);
        if (!language.isEmpty()) {
            m.Write("languages/de.ini", "[frmMain]\r\n" + language);
            m.Write("preferences.ini", "[Language]\r\nLanguageFile=de.ini");
            QVERIFY(m.Open());
        }
        m.Show("A:2", "A");
        m.Form->resize(width, m.Form->height());
        QTRY_COMPARE(m.Form->width(), width ? width : m.Form->minimumWidth());
        QStringList shown;
        // The texts that the status update writes for a folder of such counts.
        for (int i : {spFolderCount, spBookmarkCount}) {
            TStatusPanel *panel = m.Form->StatusPanel[i];
            for (const char *digits : {"1234567", "8888888", "4444444"}) {
                panel->setText(panel->text().remove(QRegularExpression("[0-9]+$")) + digits);
                shown << panel->ShownText();
            }
        }
        const QString label2 = language.isEmpty() ? "Folders:" : "Unterordner:";
        const QString label3 = language.isEmpty() ? "Bookmarks:" : "Lesezeichen:";
        QCOMPARE(shown, QStringList({label2 + "1234567", label2 + "8888888", label2 + "4444444",
                                     label3 + "1234567", label3 + "8888888", label3 + "4444444"}));
    }

    void gridLinesAndFullWidthHighlight()
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
};

QTEST_MAIN(TestBookmarkList)
#include "tst_bookmarklist.moc"
