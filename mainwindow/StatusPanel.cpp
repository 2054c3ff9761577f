#include "mainwindow/StatusPanel.h"

#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace {
constexpr int kPadding = 4; // each side, inside the frame
} // namespace

// Whole-pixel metrics may round the text's width down, and a text a fraction
// wider than its room is cut: round up and leave a pixel more.
int TStatusPanel::WidthFor(const QString &text) const
{
    const double textWidth = QFontMetricsF(font()).horizontalAdvance(text);
    return int(std::ceil(textWidth)) + 1 + 2 * (frameWidth() + kPadding);
}

QRect TStatusPanel::TextArea() const
{
    return contentsRect().adjusted(kPadding, 0, -kPadding, 0);
}

QString TStatusPanel::ShownText() const
{
    return fontMetrics().elidedText(text(), Qt::ElideRight, TextArea().width());
}

void TStatusPanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    drawFrame(&painter);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(TextArea(), Qt::AlignLeft | Qt::AlignVCenter, ShownText());
}
