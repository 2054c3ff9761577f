#include "program/LinePrinter.h"
#include "platform/VarnokelError.h"

#include <QDir>
#include <QFontMetricsF>
#include <QPrinter>

TLinePrinter::TLinePrinter(QPrinter &printer) : m_printer(printer)
{
    if (!m_painter.begin(&m_printer))
        Fail();
}

TLinePrinter::~TLinePrinter()
{
    if (m_painter.isActive())
        m_painter.end();
}

void TLinePrinter::SetFont(const QFont &font)
{
    m_painter.setFont(font);
}

void TLinePrinter::SetFontSize(int points)
{
    QFont font = m_painter.font();
    font.setPointSize(points);
    m_painter.setFont(font);
}

void TLinePrinter::WriteLine(const QString &text)
{
    const QFontMetricsF metrics(m_painter.font(), &m_printer);
    const qreal height = metrics.lineSpacing();
    if (m_y > 0 && m_y + height > m_printer.height()) {
        if (!m_printer.newPage())
            Fail();
        m_y = 0;
    }
    if (!text.isEmpty()) {
        const QString shown = metrics.elidedText(text, Qt::ElideRight, m_printer.width());
        m_painter.drawText(QPointF(0, m_y + metrics.ascent()), shown);
    }
    m_y += height;
    if (m_printer.printerState() == QPrinter::Error)
        Fail();
}

void TLinePrinter::Close()
{
    if (!m_painter.end() || m_printer.printerState() == QPrinter::Error)
        Fail();
}

void TLinePrinter::Fail() const
{
    const QString target = m_printer.outputFileName().isEmpty()
                               ? m_printer.printerName()
                               : QDir::toNativeSeparators(m_printer.outputFileName());
    throw VarnokelError(QStringLiteral("Unable to write to %1").arg(target));
}
