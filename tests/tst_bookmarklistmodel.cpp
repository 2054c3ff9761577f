// The bookmark list's rows: one per bookmark of the list shown, and the row
// that shows a given bookmark, looked for outward from a row near it.
#include "CatalogTree.h"
#include "mainwindow/BookmarkListModel.h"

#include <QAbstractItemModelTester>
#include <QtTest>

class TestBookmarkListModel : public QObject
{
    Q_OBJECT

private slots:
    void rowsFollowTheList()
    {
        TBookmarks list;
        AddBookmarks(list, {"b0", "b1"});
        list.At(1)->SetAddress("http://b1/");
        TBookmarkListModel model;
        using Mode = QAbstractItemModelTester::FailureReportingMode;
        QAbstractItemModelTester tester(&model, Mode::QtTest);
        QCOMPARE(model.rowCount(), 0);
        model.Reset(&list);
        QCOMPARE(model.rowCount(), 2);
        QCOMPARE(model.index(1, 1).data().toString(), QString("http://b1/"));
        model.Reset(nullptr);
        QCOMPARE(model.rowCount(), 0);
    }

    void rowOf_data()
    {
        QTest::addColumn<int>("wanted"); // the bookmark's index; -1: one not in the list
        QTest::addColumn<int>("near");
        QTest::addColumn<int>("row");
        QTest::newRow("at the row near") << 3 << 3 << 3;
        QTest::newRow("below it") << 5 << 1 << 5;
        QTest::newRow("above it") << 0 << 4 << 0;
        QTest::newRow("the last row, from the first") << 5 << 0 << 5;
        QTest::newRow("near beyond the rows") << 2 << 99 << 2;
        QTest::newRow("near before the rows") << 4 << -1 << 4;
        QTest::newRow("not in the list") << -1 << 2 << -1;
    }
    void rowOf()
    {
        QFETCH(int, wanted);
        QFETCH(int, near);
        TBookmarks list;
        AddBookmarks(list, {"b0", "b1", "b2", "b3", "b4", "b5"});
        TBookmark other;
        TBookmarkListModel model;
        model.Reset(&list);
        QTEST(model.RowOf(wanted < 0 ? &other : list.At(wanted), near), "row");
    }

    void rowOfWithoutRows()
    {
        TBookmarks list;
        TBookmark bookmark;
        TBookmarkListModel model;
        QCOMPARE(model.RowOf(&bookmark, 0), -1);
        model.Reset(&list);
        QCOMPARE(model.RowOf(&bookmark, 0), -1);
        // A list that shrank before the model was told: only the rows left are read.
        AddBookmarks(list, {"b0", "b1"});
        model.Reset(&list);
        TBookmark *last = list.At(1);
        list.Delete(0);
        QCOMPARE(model.RowOf(last, 1), 0);
    }
};

QTEST_MAIN(TestBookmarkListModel)
#include "tst_bookmarklistmodel.moc"
