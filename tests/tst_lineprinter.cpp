// The line printer, printing to a PDF file that pdftotext reads back (A4, 10 mm
// margins). Pages and printer errors are tested with the print command.
#include "PdfText.h"
#include "program/LinePrinter.h"

#include <QtTest>
#include <QPrinter>

class TestLinePrinter : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    // Each line written in turn; "7pt" sets the font size instead.
    PdfText Print(const QStringList &lines)
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_dir.filePath("out.pdf"));
        printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                          QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
        TLinePrinter printed(printer);
        printed.SetFont(QFont(QStringLiteral("Sans"), 9));
        for (const QString &line : lines) {
            if (line == "7pt")
                printed.SetFontSize(7);
            else
                printed.WriteLine(line);
        }
        printed.Close();
        return ReadPdfText(m_dir.filePath("out.pdf"));
    }

private slots:
    // A 7-point line is lower than a 9-point one and advances less; an empty line
    // advances as a written one does.
    void eachLineTakesTheFontInEffect()
    {
        const PdfText pdf = Print({"Big", "7pt", "small one", "", "small two", "small three"});
        QCOMPARE(pdf.Texts(), QStringList({"Big", "small one", "small two", "small three"}));
        const auto top = [&](int i) { return pdf.Lines[i].Box.top(); };
        QVERIFY(pdf.Lines[1].Box.height() < pdf.Lines[0].Box.height());
        const qreal pitch7 = top(3) - top(2);
        QVERIFY(pitch7 < top(1) - top(0));
        QVERIFY2(qAbs(top(2) - top(1) - 2 * pitch7) < 0.5,
                 qPrintable(QStringLiteral("%1 %2").arg(top(2) - top(1)).arg(pitch7)));
    }
};

QTEST_MAIN(TestLinePrinter)
#include "tst_lineprinter.moc"
