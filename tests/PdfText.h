#pragma once
// What a printed PDF file shows, read back with pdftotext (poppler-utils): its
// pages' sizes and its lines of text with their boxes, in points from the top
// left of the page. Words at the same height on a page form one line.

#include <QList>
#include <QProcess>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QXmlStreamReader>

#include <algorithm>

struct PdfLine
{
    int Page = 0; // from 0
    QRectF Box;
    QString Text;
};

struct PdfText
{
    QList<QSizeF> Pages;
    QList<PdfLine> Lines; // page by page, top to bottom
    QStringList Texts() const
    {
        QStringList texts;
        for (const PdfLine &line : Lines)
            texts << line.Text;
        return texts;
    }
};

inline double XmlNumber(const QXmlStreamReader &xml, const char *name)
{
    return xml.attributes().value(QLatin1String(name)).toDouble();
}

inline PdfText ReadPdfText(const QString &pdfFile)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdfFile, "-"});
    process.waitForFinished(60000);
    PdfText pdf;
    QXmlStreamReader xml(process.readAllStandardOutput());
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"page") {
            pdf.Pages.append(QSizeF(XmlNumber(xml, "width"), XmlNumber(xml, "height")));
        } else if (xml.name() == u"word") {
            const QRectF box(QPointF(XmlNumber(xml, "xMin"), XmlNumber(xml, "yMin")),
                             QPointF(XmlNumber(xml, "xMax"), XmlNumber(xml, "yMax")));
            const int page = int(pdf.Pages.size()) - 1;
            const QString word = xml.readElementText();
            auto same = std::find_if(pdf.Lines.begin(), pdf.Lines.end(), [&](const PdfLine &l) {
                return l.Page == page && qAbs(l.Box.top() - box.top()) < 0.5;
            });
            if (same == pdf.Lines.end()) {
                pdf.Lines.append({page, box, word});
            } else {
                same->Box |= box;
                same->Text += u' ' + word;
            }
        }
    }
    std::stable_sort(pdf.Lines.begin(), pdf.Lines.end(), [](const PdfLine &a, const PdfLine &b) {
        return a.Page != b.Page ? a.Page < b.Page : a.Box.top() < b.Box.top();
    });
    return pdf;
}
