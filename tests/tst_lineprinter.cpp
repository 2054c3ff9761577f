// The line printer, printing to PDF files that pdftotext reads back.
#include "program/LinePrinter.h"
#include "PdfText.h"
#include "TestSupport.h"

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
    void linesFollowEachOtherAcrossPages();
    void eachLineTakesTheFontInEffect();
    void longLineIsCutAtTheRightMargin();
    void refusedOutputFile();

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

void TestLinePrinter::linesFollowEachOtherAcrossPages()
{
    QStringList written;
    for (int i = 1; i <= 300; ++i)
        written << QStringLiteral("line %1").arg(i);
    const PdfText pdf = Print([&](TLinePrinter &lines) {
        for (const QString &text : written)
            lines.WriteLine(text);
    });
    QCOMPARE(pdf.Texts(), written);
    QVERIFY2(pdf.Pages.size() >= 3, qPrintable(QString::number(pdf.Pages.size())));
    QCOMPARE(pdf.Lines.last().Page, int(pdf.Pages.size()) - 1); // no empty page at the end
    for (const PdfLine &line : pdf.Lines) {
        QVERIFY2(line.Box.top() >= m_paintRect.top() - 0.5, qPrintable(line.Text));
        QVERIFY2(line.Box.bottom() <= m_paintRect.bottom() + 0.5, qPrintable(line.Text));
    }
    // Each page but the last is filled: its next line would not have fitted.
    for (int page = 0; page + 1 < pdf.Pages.size(); ++page) {
        const auto last = std::find_if(pdf.Lines.rbegin(), pdf.Lines.rend(),
                                       [&](const PdfLine &l) { return l.Page == page; });
        const qreal pitch = pdf.Lines[1].Box.top() - pdf.Lines[0].Box.top();
        QVERIFY(last->Box.bottom() + pitch > m_paintRect.bottom());
    }
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

void TestLinePrinter::refusedOutputFile()
{
    const QString file = m_dir->filePath("missing/out.pdf");
    QPrinter printer;
    SetUpPrinter(printer, file);
    QCOMPARE(ErrorOf([&] { TLinePrinter lines(printer); }), "Unable to write to " + file);
}

QTEST_MAIN(TestLinePrinter)
#include "tst_lineprinter.moc"
