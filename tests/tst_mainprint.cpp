// File > Print: the current folder's titles and addresses on paper, here a PDF
// file read back with pdftotext.
#include "CatalogTree.h"
#include "PdfText.h"
#include "catalogue/Catalog.h"
#include "mainwindow/MainForm.h"
#include "program/Globals.h"
#include "program/MessageBox.h"
#include "program/PrintDialog.h"

#include <QAction>
#include <QPageLayout>
#include <QPrinter>
#include <QTemporaryDir>
#include <QtTest>

class TestMainPrint : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void noDialogWithoutBookmarks_data();
    void noDialogWithoutBookmarks();
    void cancelledDialogPrintsNothing();
    void twoBookmarksGiveSevenLines();
    void longFolderSpansPages();
    void printerErrorEndsInErrorBox();

private:
    TFolder *ShowFolder(const QStringList &titles);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TfrmMain> m_form;
    QString m_output;
    bool m_print = true;
    int m_dialogs = 0;
    QRectF m_paintRect; // in points
    QStringList m_boxes;
};

void TestMainPrint::initTestCase()
{
    SetMessageBoxAnswerer([this](const MessageBoxRequest &request) {
        m_boxes << request.Text;
        return QMessageBox::Ok;
    });
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

void TestMainPrint::cleanupTestCase()
{
    SetPrintDialogAnswerer({});
    SetMessageBoxAnswerer({});
}

void TestMainPrint::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    SetProgramFolder(m_dir->path());
    m_output = m_dir->filePath("folder.pdf");
    m_print = true;
    m_dialogs = 0;
    m_boxes.clear();
    m_form = std::make_unique<TfrmMain>();
}

void TestMainPrint::cleanup()
{
    m_form.reset();
    Modified = false;
}

// A root folder with these bookmarks ("t" gets the address "http://t.example/"),
// selected in the tree.
TFolder *TestMainPrint::ShowFolder(const QStringList &titles)
{
    TFolder *folder = AddFolder(Catalog->Folders(), "Reading");
    for (const QString &title : titles)
        AddBookmark(folder->Bookmarks(), title)->SetAddress("http://" + title + ".example/");
    m_form->RebuildFolderTree();
    m_form->SelectFolderNode(folder);
    return folder;
}

void TestMainPrint::noDialogWithoutBookmarks_data()
{
    QTest::addColumn<bool>("folder");
    QTest::newRow("no folder") << false;
    QTest::newRow("empty folder") << true;
}

void TestMainPrint::noDialogWithoutBookmarks()
{
    QFETCH(bool, folder);
    if (folder)
        ShowFolder({});
    QCOMPARE(bool(CurrentFolder), folder);
    m_form->Action(ActionId::FilePrint)->trigger();
    QCOMPARE(m_dialogs, 0);
    QVERIFY(!QFile::exists(m_output));
}

void TestMainPrint::cancelledDialogPrintsNothing()
{
    ShowFolder({"one"});
    m_print = false;
    m_form->Action(ActionId::FilePrint)->trigger();
    QCOMPARE(m_dialogs, 1);
    QVERIFY(!QFile::exists(m_output));
    QVERIFY(m_boxes.isEmpty());
}

// An empty line, then per bookmark its title (9 points, indented), its address
// (7 points, indented further) and an empty line, in the order the list shows.
void TestMainPrint::twoBookmarksGiveSevenLines()
{
    ShowFolder({"beta", "alpha"});
    m_form->Action(ActionId::ViewSortByTitle)->trigger();
    m_form->Action(ActionId::FilePrint)->trigger();
    const PdfText pdf = ReadPdfText(m_output);
    QCOMPARE(pdf.Pages.size(), 1);
    QCOMPARE(pdf.Texts(), QStringList({"alpha", "http://alpha.example/", "beta",
                                       "http://beta.example/"}));
    const auto box = [&](int i) { return pdf.Lines[i].Box; };
    QVERIFY(box(0).left() < box(1).left());
    QCOMPARE(box(0).left(), box(2).left());
    QVERIFY(box(1).height() < box(0).height());
    const qreal titlePitch = box(1).top() - box(0).top();
    const qreal addressPitch = box(2).top() - box(1).top(); // the address and an empty line
    QVERIFY2(qAbs(addressPitch / titlePitch - 14.0 / 9) < 0.2,
             qPrintable(QStringLiteral("%1 %2").arg(titlePitch).arg(addressPitch)));
    QVERIFY2(box(0).top() - m_paintRect.top() > titlePitch * 0.6, "no empty first line");
    QVERIFY(m_boxes.isEmpty());
}

void TestMainPrint::longFolderSpansPages()
{
    QStringList titles, expected;
    for (int i = 0; i < 200; ++i) {
        titles << QStringLiteral("site%1").arg(i, 3, 10, QLatin1Char('0'));
        expected << titles.last() << "http://" + titles.last() + ".example/";
    }
    ShowFolder(titles);
    m_form->Action(ActionId::FilePrint)->trigger();
    const PdfText pdf = ReadPdfText(m_output);
    QCOMPARE(pdf.Texts(), expected);
    QVERIFY(pdf.Pages.size() > 1);
    QCOMPARE(pdf.Lines.last().Page, int(pdf.Pages.size()) - 1); // no empty page at the end
    for (const PdfLine &line : pdf.Lines)
        QVERIFY2(line.Box.bottom() <= m_paintRect.bottom() + 0.5, qPrintable(line.Text));
    // A page ends only when its next lines would not fit: less than one bookmark's
    // height is left below its last written line.
    const qreal pitch = pdf.Lines[2].Box.top() - pdf.Lines[0].Box.top(); // one bookmark
    for (int i = 1; i < pdf.Lines.size(); ++i) {
        if (pdf.Lines[i].Page != pdf.Lines[i - 1].Page)
            QVERIFY(pdf.Lines[i - 1].Box.bottom() + pitch > m_paintRect.bottom());
    }
}

void TestMainPrint::printerErrorEndsInErrorBox()
{
    ShowFolder({"one"});
    m_output = m_dir->filePath("missing/folder.pdf");
    m_form->Action(ActionId::FilePrint)->trigger();
    QCOMPARE(m_boxes, QStringList("Unable to write to " + m_output + "."));
}

QTEST_MAIN(TestMainPrint)
#include "tst_mainprint.moc"
