#include "mainwindow/StatusPanel.h"

#include <QPainter>

namespace {
constexpr int kPadding = 4; // each side, inside the frame
} // namespace

int TStatusPanel::WidthFor(const QString &text) const
{
    return fontMetrics().horizontalAdvance(text) + 2 * (frameWidth() + kPadding);
}

void TStatusPanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    drawFrame(&painter);
    const QRect area = contentsRect().adjusted(kPadding, 0, -kPadding, 0);
    const QString shown = fontMetrics().elidedText(text(), Qt::ElideRight, area.width());
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter, shown);
}
