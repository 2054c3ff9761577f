// File > Print: the current folder's titles and addresses on paper, here a PDF
// file read back with pdftotext.
#include "MainWindowFixture.h"
#include "PdfText.h"
#include "catalogue/Catalog.h"
#include "program/PrintDialog.h"

#include <QPageLayout>
#include <QPrinter>
#include <QtTest>

class TestMainPrint : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase() { SetPrintDialogAnswerer({}); }
    void init();
    void cleanup() { m.Close(); }

    void noDialogWithoutBookmarks_data();
    void noDialogWithoutBookmarks();
    void cancelledDialogPrintsNothing();
    void twoBookmarksGiveSevenLines();
    void longFolderSpansPages();
    void printerErrorEndsInErrorBox();

private:
    void Print() { QTest::keyClick(m.Form.get(), Qt::Key_P, Qt::ControlModifier); }

    MainWindowFixture m;
    QString m_output;
    bool m_print = true;
    int m_dialogs = 0;
    QRectF m_paintRect; // in points
};

void TestMainPrint::initTestCase()
{
    m.AnswerBoxes();
    SetPrintDialogAnswerer([this](QPrinter &printer) {
        ++m_dialogs;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_output);
        printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                          QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
        m_paintRect = printer.pageLayout().paintRect(QPageLayout::Point);
        return m_print;
    });
}

void TestMainPrint::init()
{
    m.Boxes.clear();
    m_print = true;
    m_dialogs = 0;
    QVERIFY(m.Open());
    m_output = m.Path("folder.pdf");
}

void TestMainPrint::noDialogWithoutBookmarks_data()
{
    QTest::addColumn<QString>("shape");
    QTest::newRow("no folder") << "A:1";
    QTest::newRow("an empty folder") << "A";
}

void TestMainPrint::noDialogWithoutBookmarks()
{
    QFETCH(QString, shape);
    m.Show(shape, shape == "A" ? "A" : "");
    m.Form->FilePrintExecute(); // also where the command is not offered
    QCOMPARE(m_dialogs, 0);
    QVERIFY(!QFile::exists(m_output));
}

void TestMainPrint::cancelledDialogPrintsNothing()
{
    m.Show("A:1", "A");
    m_print = false;
    Print();
    QCOMPARE(m_dialogs, 1);
    QVERIFY(!QFile::exists(m_output) && m.Boxes.isEmpty());
}

// An empty line, then per bookmark its title (9 points, indented), its address
// (7 points, indented further) and an empty line, in the order the list shows.
void TestMainPrint::twoBookmarksGiveSevenLines()
{
    m.Show("R:2", "R");
    CurrentFolder->Bookmarks().At(0)->SetTitle("z");
    m.Form->Action(ActionId::ViewSortByTitle)->trigger();
    Print();
    const PdfText pdf = ReadPdfText(m_output);
    QCOMPARE(pdf.Pages.size(), 1);
    QCOMPARE(pdf.Texts(), QStringList({"r1", "http://r1/", "z", "http://r0/"}));
    const auto box = [&](int i) { return pdf.Lines[i].Box; };
    QVERIFY(box(0).left() < box(1).left());
    QCOMPARE(box(0).left(), box(2).left());
    QVERIFY(box(1).height() < box(0).height());
    const qreal titlePitch = box(1).top() - box(0).top();
    const qreal addressPitch = box(2).top() - box(1).top(); // the address and an empty line
    QVERIFY2(qAbs(addressPitch / titlePitch - 14.0 / 9) < 0.2,
             qPrintable(QStringLiteral("%1 %2").arg(titlePitch).arg(addressPitch)));
    QVERIFY2(box(0).top() - m_paintRect.top() > titlePitch * 0.6, "no empty first line");
    QVERIFY(m.Boxes.isEmpty());
}

// A page ends only when its next lines would not fit, and no empty page follows.
void TestMainPrint::longFolderSpansPages()
{
    m.Show("S:200", "S");
    Print();
    const PdfText pdf = ReadPdfText(m_output);
    QCOMPARE(pdf.Lines.size(), 400);
    QCOMPARE(pdf.Lines.last().Text, QString("http://s199/"));
    QVERIFY(pdf.Pages.size() > 1);
    QCOMPARE(pdf.Lines.last().Page, int(pdf.Pages.size()) - 1);
    const qreal pitch = pdf.Lines[2].Box.top() - pdf.Lines[0].Box.top(); // one bookmark
    for (int i = 1; i < pdf.Lines.size(); ++i) {
        QVERIFY2(pdf.Lines[i].Box.bottom() <= m_paintRect.bottom() + 0.5, qPrintable(pdf.Lines[i].Text));
        if (pdf.Lines[i].Page != pdf.Lines[i - 1].Page)
            QVERIFY(pdf.Lines[i - 1].Box.bottom() + pitch > m_paintRect.bottom());
    }
}

void TestMainPrint::printerErrorEndsInErrorBox()
{
    m.Show("A:1", "A");
    m_output = m.Path("missing/folder.pdf");
    Print();
    QCOMPARE(m.Boxes.size(), 1);
    QCOMPARE(m.Boxes[0].Text, "Unable to write to " + m_output + ".");
}

QTEST_MAIN(TestMainPrint)
#include "tst_mainprint.moc"
