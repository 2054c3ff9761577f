// The merge rule of the imports: reuse by title in the one target list, drop
// bookmarks of a present title, ASCII-only folding, appends only; and the index
// that keeps large merges fast finds the same first match as a linear search.
#include "exchange/Merge.h"

#include <QtTest>

namespace {

std::unique_ptr<TFolder> NewFolder(const QString &title, const QString &description = {})
{
    auto folder = std::make_unique<TFolder>();
    folder->SetTitle(title);
    folder->SetDescription(description);
    return folder;
}

std::unique_ptr<TBookmark> NewBookmark(const QString &title, const QString &address = {})
{
    auto bookmark = std::make_unique<TBookmark>();
    bookmark->SetTitle(title);
    bookmark->SetAddress(address);
    return bookmark;
}

QStringList Titles(const TFolders &list)
{
    QStringList titles;
    for (const auto &f : list)
        titles << f->Title();
    return titles;
}

QStringList Titles(const TBookmarks &list)
{
    QStringList titles;
    for (const auto &b : list)
        titles << b->Title();
    return titles;
}

} // namespace

class TestMerge : public QObject
{
    Q_OBJECT

private slots:
    void foldersMatchWithAsciiFolding_data();
    void foldersMatchWithAsciiFolding();
    void existingFolderKeepsItsFields();
    void onlyTheOneTargetListIsSearched();
    void droppedBookmarkLeavesTheExistingOne();
    void appendsInSourceOrderAfterWhatWasThere();
    void indexFindsTheFirstOfEqualTitles_data();
    void indexFindsTheFirstOfEqualTitles();
    void listsGrowingPastTheIndexSizeStayConsistent();
    void largeMergeKeepsEveryNewTitleOnce();
    void titleHashAgreesWithSameTitle();
    void controlCharactersAreDropped();
};

void TestMerge::foldersMatchWithAsciiFolding_data()
{
    QTest::addColumn<QString>("existing");
    QTest::addColumn<QString>("incoming");
    QTest::addColumn<bool>("merged");
    QTest::newRow("same") << "Work" << "Work" << true;
    QTest::newRow("ASCII case") << "Work" << "wORK" << true;
    QTest::newRow("non-ASCII case") << u"\u00C9cole"_qs << u"\u00E9cole"_qs << false;
    QTest::newRow("blank at the end counts") << "Work" << "Work " << false;
    QTest::newRow("empty titles") << "" << "" << true;
    QTest::newRow("folding is a-z only") << "[" << "{" << false;
}

void TestMerge::foldersMatchWithAsciiFolding()
{
    QFETCH(QString, existing);
    QFETCH(QString, incoming);
    QFETCH(bool, merged);
    TCatalog catalog;
    TFolder *old = catalog.Folders().Add(NewFolder(existing));
    TMerger merger(catalog);
    bool isNew = false;
    TFolder *used = merger.MergeFolder(nullptr, NewFolder(incoming), &isNew);
    QCOMPARE(used == old, merged);
    QCOMPARE(isNew, !merged);
    QCOMPARE(catalog.Folders().Count(), merged ? 1 : 2);
}

void TestMerge::existingFolderKeepsItsFields()
{
    TCatalog catalog;
    TFolder *old =
        catalog.Folders().Add(NewFolder(QStringLiteral("Work"), QStringLiteral("mine")));
    old->SetExpanded(true);
    old->Bookmarks().Add(NewBookmark(QStringLiteral("Mail")));
    TMerger merger(catalog);
    auto incoming = NewFolder(QStringLiteral("work"), QStringLiteral("theirs"));
    incoming->Bookmarks().Add(NewBookmark(QStringLiteral("Other")));
    TFolder *used = merger.MergeFolder(nullptr, std::move(incoming));
    QCOMPARE(used, old);
    QCOMPARE(used->Title(), QStringLiteral("Work"));
    QCOMPARE(used->Description(), QStringLiteral("mine"));
    QVERIFY(used->Expanded());
    QCOMPARE(Titles(used->Bookmarks()), QStringList{QStringLiteral("Mail")});
}

void TestMerge::onlyTheOneTargetListIsSearched()
{
    TCatalog catalog;
    TFolder *a = catalog.Folders().Add(NewFolder(QStringLiteral("A")));
    a->Folders().Add(NewFolder(QStringLiteral("Inner")));
    TMerger merger(catalog);
    // "Inner" exists below A, not in the root list: a new root folder is made.
    TFolder *root = merger.MergeFolder(nullptr, NewFolder(QStringLiteral("Inner")));
    QCOMPARE(root->List(), &catalog.Folders());
    QCOMPARE(root->Parent(), nullptr);
    // Merging into A finds its own sub-folder.
    TFolder *inner = merger.MergeFolder(a, NewFolder(QStringLiteral("INNER")));
    QCOMPARE(inner, a->Folders().At(0));
    QCOMPARE(inner->Parent(), a);
    TFolder *added = merger.MergeFolder(a, NewFolder(QStringLiteral("New")));
    QCOMPARE(added->Parent(), a);
    QCOMPARE(Titles(a->Folders()), (QStringList{QStringLiteral("Inner"), QStringLiteral("New")}));
}

void TestMerge::droppedBookmarkLeavesTheExistingOne()
{
    TCatalog catalog;
    TFolder *f = catalog.Folders().Add(NewFolder(QStringLiteral("F")));
    TBookmark *old = f->Bookmarks().Add(NewBookmark(QStringLiteral("Mail"), QStringLiteral("a")));
    old->SetDescription(QStringLiteral("d"));
    old->SetAddDate(QStringLiteral("2001.01.01"));
    TMerger merger(catalog);
    QCOMPARE(merger.MergeBookmark(*f, NewBookmark(QStringLiteral("MAIL"), QStringLiteral("b"))),
             nullptr);
    QCOMPARE(f->Bookmarks().Count(), 1);
    QCOMPARE(old->Address(), QStringLiteral("a"));
    QCOMPARE(old->Description(), QStringLiteral("d"));
    QCOMPARE(old->AddDate(), QStringLiteral("2001.01.01"));
}

void TestMerge::appendsInSourceOrderAfterWhatWasThere()
{
    TCatalog catalog;
    TFolder *f = catalog.Folders().Add(NewFolder(QStringLiteral("F")));
    f->Bookmarks().Add(NewBookmark(QStringLiteral("b")));
    TMerger merger(catalog);
    for (const char *title : {"d", "a", "B", "c", "a", "D"})
        merger.MergeBookmark(*f, NewBookmark(QString::fromLatin1(title)));
    QCOMPARE(Titles(f->Bookmarks()),
             (QStringList{QStringLiteral("b"), QStringLiteral("d"), QStringLiteral("a"),
                          QStringLiteral("c")}));
}

void TestMerge::indexFindsTheFirstOfEqualTitles_data()
{
    QTest::addColumn<int>("size");
    QTest::newRow("searched one by one") << 5;
    QTest::newRow("indexed") << 500;
}

void TestMerge::indexFindsTheFirstOfEqualTitles()
{
    // The catalogue itself may hold equal titles in one list (made by hand); the
    // merge must pick the first, as TFolders::IndexOfTitle does.
    QFETCH(int, size);
    TCatalog catalog;
    for (int i = 0; i < size; ++i)
        catalog.Folders().Add(NewFolder(QStringLiteral("f%1").arg(i % (size / 2))));
    TMerger merger(catalog);
    for (int i = size / 2 - 1; i >= 0; --i) {
        const QString title = QStringLiteral("F%1").arg(i);
        TFolder *used = merger.MergeFolder(nullptr, NewFolder(title));
        QCOMPARE(used, catalog.Folders().At(catalog.Folders().IndexOfTitle(title)));
        QCOMPARE(used->GetIndex(), i);
    }
    QCOMPARE(catalog.Folders().Count(), size);
}

void TestMerge::listsGrowingPastTheIndexSizeStayConsistent()
{
    TCatalog catalog;
    TFolder *f = catalog.Folders().Add(NewFolder(QStringLiteral("F")));
    TMerger merger(catalog);
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < 100; ++i) {
            TBookmark *kept = merger.MergeBookmark(*f, NewBookmark(QStringLiteral("t%1").arg(i)));
            QCOMPARE(kept != nullptr, round == 0);
            TFolder *sub = merger.MergeFolder(f, NewFolder(QStringLiteral("s%1").arg(i)));
            QCOMPARE(sub->GetIndex(), i);
        }
    }
    QCOMPARE(f->Bookmarks().Count(), 100);
    QCOMPARE(f->Folders().Count(), 100);
}

void TestMerge::largeMergeKeepsEveryNewTitleOnce()
{
    TCatalog catalog;
    TFolder *f = catalog.Folders().Add(NewFolder(QStringLiteral("F")));
    for (int i = 0; i < 100000; i += 2)
        f->Bookmarks().Add(NewBookmark(QStringLiteral("title %1").arg(i)));
    TMerger merger(catalog);
    for (int i = 0; i < 100000; ++i)
        merger.MergeBookmark(*f, NewBookmark(QStringLiteral("TITLE %1").arg(i)));
    QCOMPARE(f->Bookmarks().Count(), 100000);
    QCOMPARE(f->Bookmarks().At(50000)->Title(), QStringLiteral("TITLE 1"));
    QCOMPARE(f->Bookmarks().Last()->Title(), QStringLiteral("TITLE 99999"));
}

void TestMerge::titleHashAgreesWithSameTitle()
{
    const TitleHash hash;
    const QStringList titles{QStringLiteral("Hello World"), QStringLiteral("hELLO wORLD"),
                             u"Stra\u00DFe"_qs, u"STRA\u00DFE"_qs, QString()};
    for (const QString &a : titles)
        for (const QString &b : titles)
            if (SameTitle(a, b))
                QCOMPARE(hash(a), hash(b));
    QVERIFY(hash(QStringLiteral("ab")) != hash(QStringLiteral("ba")));
}

void TestMerge::controlCharactersAreDropped()
{
    // "&#1;" in an imported file once reached the catalogue file, which XML tools
    // then refused. Tab, line feed and carriage return stay.
    TCatalog catalog;
    TMerger merger(catalog);
    TFolder *f = merger.MergeFolder(nullptr, NewFolder(u"A\u0001B"_qs, u"x\u001Fy\tz\r\n\0"_qs));
    QCOMPARE(f->Title(), QStringLiteral("AB"));
    QCOMPARE(f->Description(), QStringLiteral("xy\tz\r\n"));
    QCOMPARE(merger.MergeFolder(nullptr, NewFolder(u"\u0002AB\u0003"_qs)), f);
    auto b = NewBookmark(u"T\u0007"_qs, u"http://a/\u001B"_qs);
    b->SetDescription(u"\u0008d"_qs);
    b->SetLastVisit(u"2020.01.01\u0000"_qs);
    b->SetAddDate(u"\u00192021.02.02"_qs);
    const TBookmark *kept = merger.MergeBookmark(*f, std::move(b));
    QVERIFY(kept);
    QCOMPARE((QStringList{kept->Title(), kept->Address(), kept->Description(),
                          kept->LastVisit(), kept->AddDate()}),
             (QStringList{"T", "http://a/", "d", "2020.01.01", "2021.02.02"}));
    QVERIFY(!merger.MergeBookmark(*f, NewBookmark(u"\u0001t"_qs)));
}

QTEST_GUILESS_MAIN(TestMerge)
#include "tst_merge.moc"
