// The File menu's own commands. Print: the current folder's titles and addresses
// on paper, here a PDF file read back with pdftotext. Save, with the auto-save and
// the close, where a damaged file must not be replaced (the rest of Save and Exit is
// tested with the close sequence, in tst_mainform).
#include "FileSizeLimit.h"
#include "MainWindowFixture.h"
#include "PdfText.h"
#include "catalogue/Catalog.h"
#include "program/PrintDialog.h"

#include <QPageLayout>
#include <QPrinter>
#include <QStandardPaths>
#include <QtTest>

namespace {

enum class SaveBy { Command, AutoSave, Close };

} // namespace

Q_DECLARE_METATYPE(SaveBy)

class TestMainFile : public QObject
{
    Q_OBJECT
    MainWindowFixture m;
    QTemporaryDir m_state;
    QString m_output;
    bool m_print = true;
    int m_dialogs = 0;
    QRectF m_paintRect; // in points

    void Print() { QTest::keyClick(m.Form.get(), Qt::Key_P, Qt::ControlModifier); }

    // True when the catalogue was saved (a save at close leaves Modified set).
    bool Save(SaveBy by)
    {
        if (by == SaveBy::Close)
            return m.Form->close();
        if (by == SaveBy::Command) {
            QTest::keyClick(m.Form.get(), Qt::Key_S, Qt::ControlModifier);
        } else {
            const qsizetype boxes = m.Boxes.size();
            m.Form->AutoSaveTimer->setSingleShot(true);
            m.Form->AutoSaveTimer->start(1);
            // The caller checks what came: the save, or its error box.
            static_cast<void>(
                QTest::qWaitFor([&] { return !Modified || m.Boxes.size() > boxes; }));
            m.Form->AutoSaveTimer->setSingleShot(false);
        }
        return !Modified;
    }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true); // the program key goes to a test store
        qputenv("XDG_STATE_HOME", m_state.path().toUtf8());
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
    void cleanupTestCase() { SetPrintDialogAnswerer({}); }
    void init()
    {
        m.Boxes.clear();
        m_print = true;
        m_dialogs = 0;
        QVERIFY(m.Open());
        m_output = m.Path("folder.pdf");
    }
    void cleanup() { m.Close(); }

    // No folder, an empty folder, a cancelled dialog: nothing printed.
    void nothingToPrint_data()
    {
        QTest::addColumn<QString>("shape");
        QTest::addColumn<QString>("highlighted");
        QTest::addColumn<bool>("print");
        QTest::addColumn<int>("dialogs");
        QTest::newRow("no folder") << "A:1" << "" << true << 0;
        QTest::newRow("an empty folder") << "A" << "A" << true << 0;
        QTest::newRow("cancelled") << "A:1" << "A" << false << 1;
    }
    void nothingToPrint()
    {
        QFETCH(QString, shape);
        QFETCH(QString, highlighted);
        QFETCH(bool, print);
        m_print = print;
        m.Show(shape, highlighted);
        m.Form->FilePrintExecute(); // also where the command is not offered
        QTEST(m_dialogs, "dialogs");
        QVERIFY(!QFile::exists(m_output) && m.Boxes.isEmpty());
    }

    // An empty line, then per bookmark its title (9 points, indented), its address
    // (7 points, indented further) and an empty line, in the order the list shows.
    void twoBookmarksGiveSevenLines()
    {
        m.Show("R:2", "R");
        CurrentFolder->Bookmarks().At(0)->SetTitle("z");
        m.Form->Action(ActionId::ViewSortByTitle)->trigger();
        Print();
        const PdfText pdf = ReadPdfText(m_output);
        QCOMPARE(pdf.Pages.size(), 1);
        QCOMPARE(pdf.Texts(), QStringList({"r1", "http://r1/", "z", "http://r0/"}));
        const auto box = [&](int i) { return pdf.Lines[i].Box; };
        QVERIFY(box(0).left() < box(1).left() && box(0).left() == box(2).left());
        QVERIFY(box(1).height() < box(0).height());
        const qreal titlePitch = box(1).top() - box(0).top();
        const qreal addressPitch = box(2).top() - box(1).top(); // the address and an empty line
        QVERIFY2(qAbs(addressPitch / titlePitch - 14.0 / 9) < 0.2,
                 qPrintable(QStringLiteral("%1 %2").arg(titlePitch).arg(addressPitch)));
        QVERIFY2(box(0).top() - m_paintRect.top() > titlePitch * 0.6, "no empty first line");
        QVERIFY(m.Boxes.isEmpty());
    }

    // A page ends only when its next lines would not fit, and no empty page follows.
    void longFolderSpansPages()
    {
        m.Show("S:200", "S");
        Print();
        const PdfText pdf = ReadPdfText(m_output);
        QVERIFY(pdf.Lines.size() == 400 && pdf.Lines.last().Page == pdf.Pages.size() - 1);
        const qreal pitch = pdf.Lines[2].Box.top() - pdf.Lines[0].Box.top(); // one bookmark
        for (int i = 1; i < pdf.Lines.size(); ++i) {
            QVERIFY(pdf.Lines[i].Box.bottom() <= m_paintRect.bottom() + 0.5);
            if (pdf.Lines[i].Page != pdf.Lines[i - 1].Page)
                QVERIFY(pdf.Lines[i - 1].Box.bottom() + pitch > m_paintRect.bottom());
        }
    }

    void printerErrorEndsInErrorBox()
    {
        m.Show("A:1", "A");
        m_output = m.Path("missing/folder.pdf");
        Print();
        QCOMPARE(m.Boxes.size(), 1);
        QCOMPARE(m.Boxes[0].Text, "Unable to write to " + m_output + ".");
    }

    void uncopiedDamagedFileRefusesEverySave_data()
    {
        QTest::addColumn<SaveBy>("by");
        QTest::newRow("Save") << SaveBy::Command;
        QTest::newRow("auto-save") << SaveBy::AutoSave;
        QTest::newRow("close") << SaveBy::Close;
    }
    // Once, after the user had freed space on a full disk, the next save replaced the
    // damaged file that could not be copied with the new catalogue.
    void uncopiedDamagedFileRefusesEverySave()
    {
        QFETCH(SaveBy, by);
        const QByteArray damaged = "<varnokel_file><folder><title>Old</title><description>"
                                   + QByteArray(3000, 'd');
        m.Close();
        m.Write("preferences.ini", "[Start/Exit]\r\nAotoSaveOnExit=1");
        m.Write("bookmarks.xml", damaged);
        const QString file = m.Path("bookmarks.xml");
        const QString unable = "Unable to keep a copy of " + file + " as " + file + ".damaged";
        {
            FileSizeLimit limit(damaged.size() / 2); // room for the new catalogue only
            QVERIFY(m.Open());
            QCOMPARE(m.Boxes.value(0).Text.section('\n', -1), unable + ": File too large.");
            m.Show("New");
            m.ClickNode("New");
            m.Type(QKeySequence::Copy);
            m.Type(QKeySequence::Paste);
            QVERIFY(Modified);
            QVERIFY(!Save(by));
            QCOMPARE(m.Boxes.size(), 2);
            QCOMPARE(m.Boxes[1].Text, unable + ": File too large\nThe file failed to load and "
                                               "is not replaced until a copy of it is kept.");
        }
        QVERIFY(Modified && m.Form->isVisible());
        QCOMPARE(m.Read("bookmarks.xml"), damaged);
        QVERIFY(!QFile::exists(file + ".damaged"));
        QVERIFY(Save(by)); // with space again: the copy, then the save
        QCOMPARE(m.Boxes.size(), 2);
        QCOMPARE(m.Read("bookmarks.xml.damaged"), damaged);
        QCOMPARE(m.Read("bookmarks.xml").count("<title>New</title>"), 2);
    }
};

QTEST_MAIN(TestMainFile)
#include "tst_mainfile.moc"
