// The line printer, printing to PDF files that pdftotext reads back. Pages and
// printer errors are tested with the print command (tst_mainprint).
#include "program/LinePrinter.h"
#include "PdfText.h"

#include <QPageLayout>
#include <QPrinter>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

class TestLinePrinter : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void eachLineTakesTheFontInEffect();
    void longLineIsCutAtTheRightMargin();

private:
    // Prints with `write` to a fresh PDF file (A4, 10 mm margins) and reads it back.
    PdfText Print(const std::function<void(TLinePrinter &)> &write);
    void SetUpPrinter(QPrinter &printer, const QString &file) const;

    std::unique_ptr<QTemporaryDir> m_dir;
    QRectF m_paintRect; // in points
};

void TestLinePrinter::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
}

void TestLinePrinter::SetUpPrinter(QPrinter &printer, const QString &file) const
{
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
}

PdfText TestLinePrinter::Print(const std::function<void(TLinePrinter &)> &write)
{
    const QString file = m_dir->filePath("out.pdf");
    QPrinter printer(QPrinter::HighResolution);
    SetUpPrinter(printer, file);
    m_paintRect = printer.pageLayout().paintRect(QPageLayout::Point);
    {
        TLinePrinter lines(printer);
        QFont font(QStringLiteral("Sans"));
        font.setPointSize(9);
        lines.SetFont(font);
        write(lines);
        lines.Close();
    }
    return ReadPdfText(file);
}

// A 7-point line is lower than a 9-point one and advances less; an empty line
// advances as a written one does.
void TestLinePrinter::eachLineTakesTheFontInEffect()
{
    const PdfText pdf = Print([](TLinePrinter &lines) {
        lines.WriteLine("Big");
        lines.SetFontSize(7);
        lines.WriteLine("small one");
        lines.WriteLine(QString());
        lines.WriteLine("small two");
        lines.WriteLine("small three");
    });
    QCOMPARE(pdf.Texts(), QStringList({"Big", "small one", "small two", "small three"}));
    const auto top = [&](int i) { return pdf.Lines[i].Box.top(); };
    QVERIFY(pdf.Lines[1].Box.height() < pdf.Lines[0].Box.height());
    const qreal pitch7 = top(3) - top(2);
    QVERIFY(pitch7 < top(1) - top(0));
    QVERIFY2(qAbs(top(2) - top(1) - 2 * pitch7) < 0.5,
             qPrintable(QStringLiteral("%1 %2").arg(top(2) - top(1)).arg(pitch7)));
}

void TestLinePrinter::longLineIsCutAtTheRightMargin()
{
    QStringList words;
    for (int i = 0; i < 200; ++i)
        words << QStringLiteral("w%1").arg(i, 3, 10, QLatin1Char('0'));
    const PdfText pdf = Print([&](TLinePrinter &lines) {
        lines.WriteLine(QString(15, u' ') + words.join(u' '));
        lines.WriteLine("next");
    });
    QCOMPARE(pdf.Lines.size(), 2);
    const PdfLine &cut = pdf.Lines[0];
    QVERIFY2(cut.Text.startsWith("w000 w001"), qPrintable(cut.Text));
    QVERIFY2(!cut.Text.contains("w199"), qPrintable(cut.Text));
    QVERIFY2(cut.Text.endsWith(QChar(0x2026)), qPrintable(cut.Text));
    QVERIFY(cut.Box.right() <= m_paintRect.right() + 0.5);
    QCOMPARE(pdf.Lines[1].Text, QString("next"));
}

QTEST_MAIN(TestLinePrinter)
#include "tst_lineprinter.moc"
