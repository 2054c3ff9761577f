// The catalogue's undo history of whole-tree snapshots, worked step by step.
#include "catalogue/Catalog.h"
#include "tests/CatalogTree.h"

#include <QtTest>

namespace {

// The tree called `name`: one root folder of that title holding one bookmark.
void Show(TCatalog &catalog, const QString &name)
{
    catalog.Folders().Clear();
    AddBookmark(AddFolder(catalog.Folders(), name)->Bookmarks(), name + "/b");
}

// A structural change, as every caller makes one: snapshot first, then change.
void Change(TCatalog &catalog, const QString &name)
{
    catalog.SaveUndoState();
    Show(catalog, name);
}

QString History(const TCatalog &catalog)
{
    QStringList names;
    for (const auto &snapshot : catalog.UndoList())
        names << Titles(snapshot->Folders()).join(',');
    return names.join(' ');
}

QString Names(int first, int last)
{
    QStringList names;
    for (int i = first; i <= last; ++i)
        names << QStringLiteral("S%1").arg(i);
    return names.join(' ');
}

} // namespace

class TestCatalog : public QObject
{
    Q_OBJECT

private slots:
    void undoAndRedo_data();
    void undoAndRedo();
};

void TestCatalog::undoAndRedo_data()
{
    // S0 is the tree before the first change, Sn the tree after the n-th; then the
    // steps: u Undo, r Redo, c a new change to the tree T.
    QTest::addColumn<int>("changes");
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("history");
    QTest::addColumn<int>("undoIndex");
    QTest::addColumn<QString>("shown");
    QTest::newRow("fresh") << 0 << "" << "" << 0 << "S0";
    QTest::newRow("undo, empty history") << 0 << "u" << "S0" << 0 << "S0";
    QTest::newRow("1") << 1 << "" << "S0" << 1 << "S1";
    QTest::newRow("1 u") << 1 << "u" << "S0 S1" << 0 << "S0";
    QTest::newRow("1 ur") << 1 << "ur" << "S0 S1" << 1 << "S1";
    QTest::newRow("1 urr") << 1 << "urr" << "S0 S1" << 1 << "S1";
    QTest::newRow("3 u") << 3 << "u" << Names(0, 3) << 2 << "S2";
    QTest::newRow("3 uur") << 3 << "uur" << Names(0, 3) << 2 << "S2";
    QTest::newRow("3 uurc") << 3 << "uurc" << Names(0, 2) << 3 << "T";
    QTest::newRow("3 uurcu") << 3 << "uurcu" << Names(0, 2) + " T" << 2 << "S2";
    QTest::newRow("12") << 12 << "" << Names(2, 11) << 10 << "S12";
    QTest::newRow("12 u") << 12 << "u" << Names(3, 12) << 8 << "S11";
    QTest::newRow("12 uc") << 12 << "uc" << Names(4, 11) + " S11" << 9 << "T";
    QTest::newRow("12 ucu") << 12 << "ucu" << Names(4, 11) + " S11 T" << 8 << "S11";
    QTest::newRow("12 ucuu") << 12 << "ucuu" << Names(4, 11) + " S11 T" << 7 << "S11";
    // From a full history at most nine steps can be undone in a row.
    QTest::newRow("12, 9 u") << 12 << "uuuuuuuuu" << Names(3, 12) << 0 << "S3";
    QTest::newRow("12, 10 u") << 12 << "uuuuuuuuuu" << Names(3, 12) << 0 << "S3";
    QTest::newRow("12, 9 u, 9 r") << 12 << "uuuuuuuuurrrrrrrrr" << Names(3, 12) << 9 << "S12";
}

void TestCatalog::undoAndRedo()
{
    QFETCH(int, changes);
    QFETCH(QString, steps);
    TCatalog catalog;
    Show(catalog, "S0");
    for (int i = 1; i <= changes; ++i)
        Change(catalog, QStringLiteral("S%1").arg(i));
    for (const QChar step : steps) {
        if (step == u'u')
            catalog.Undo();
        else if (step == u'r')
            catalog.Redo();
        else
            Change(catalog, "T");
    }
    QTEST(History(catalog), "history");
    QTEST(catalog.UndoIndex(), "undoIndex");
    QTEST(Titles(catalog.Folders()).join(','), "shown");
}

QTEST_GUILESS_MAIN(TestCatalog)
#include "tst_catalog.moc"
