// The category list of the preferences dialog at a high resolution with Qt's
// scaling off (the suite runs at 144 dots per inch): every caption whole, and
// never a scroll bar under the list.
#include "FormCheck.h"
#include "dialogs/CategoryList.h"

#include <QHeaderView>
#include <QScreen>
#include <QScrollBar>
#include <QtTest>

class TestCategoryList : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QCOMPARE(QGuiApplication::primaryScreen()->logicalDotsPerInch(), 144.0);
    }

    void captionsWholeWithoutScrollBar_data()
    {
        QTest::addColumn<int>("pixelSize");
        QTest::addColumn<QString>("longest"); // the caption of the first item
        for (const auto &[font, size] : {std::pair("program font", 0), std::pair("large font",
                                         2 * QFontInfo(QApplication::font()).pixelSize())}) {
            QTest::addRow("%s, designed captions", font) << size << "General";
            QTest::addRow("%s, long captions", font) << size
                                                     << "Allgemeine Einstellungen des Programms";
        }
    }
    // The style's default column width grows with the resolution: at 144 dpi it
    // outgrew the list, and a horizontal scroll bar showed under it.
    void captionsWholeWithoutScrollBar()
    {
        QFETCH(int, pixelSize);
        QFETCH(QString, longest);
        const AppFontScope font(pixelSize);
        TCategoryList list;
        list.setMinimumHeight(291);
        list.AddCategory("General", {longest, "Start/Exit"});
        list.AddCategory("Interface", {"Language"});
        list.FitToCaptions(121);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        QVERIFY(list.width() >= 121);
        QVERIFY(!list.horizontalScrollBar()->isVisible());
        QCOMPARE(list.horizontalScrollBar()->maximum(), 0);
        QCOMPARE(list.header()->sectionSize(0), list.viewport()->width());
        QStringList cut;
        for (QTreeWidgetItemIterator it(&list); *it; ++it) {
            const QRect row = list.visualItemRect(*it);
            const int text = QFontMetrics((*it)->font(0)).horizontalAdvance((*it)->text(0));
            if (row.left() + text > list.viewport()->width())
                cut << (*it)->text(0);
        }
        QCOMPARE(cut, QStringList());
    }
};

int main(int argc, char *argv[])
{
    // A desktop of 144 dpi (Xft.dpi) with Qt's scaling off.
    qputenv("QT_FONT_DPI", "144");
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    QApplication app(argc, argv);
    TestCategoryList test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_categorylist.moc"
