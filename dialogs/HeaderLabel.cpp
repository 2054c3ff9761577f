#include "dialogs/HeaderLabel.h"
#include "dialogs/TColor.h"

#include <QPainter>

THeaderLabel::THeaderLabel(QWidget *parent) : QWidget(parent)
{
    resize(190, 21);
}

void THeaderLabel::SetCaption(const QString &caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    update();
}

void THeaderLabel::SetColor(int color)
{
    if (color == m_color)
        return;
    m_color = color;
    update();
}

void THeaderLabel::SetBorderColor(int color)
{
    if (color == FBorderColor)
        return;
    FBorderColor = color;
    update();
}

void THeaderLabel::SetAlignment(Qt::Alignment alignment)
{
    if (alignment == m_alignment)
        return;
    m_alignment = alignment;
    update();
}

QSize THeaderLabel::sizeHint() const
{
    return QSize(190, qMax(21, fontMetrics().height() + 4));
}

void THeaderLabel::paintEvent(QPaintEvent *)
{
    const int w = width();
    const int h = height();
    QPainter painter(this);
    const QFontMetrics metrics(font());
    const QColor band = TColorToQColor(m_color);
    // Row 0 and column 0 stay unpainted; the outline takes the last row and column.
    painter.fillRect(QRect(1, 1, w - 2, h - 2), band);

    const int textWidth = metrics.horizontalAdvance(m_caption);
    const int textHeight = metrics.height();
    const int y = h / 2 - textHeight / 2;
    int x = 4;
    // A caption wider than the whole control falls back to the left margin.
    if (m_alignment & Qt::AlignRight)
        x = textWidth > w ? 4 : w - 4 - textWidth;
    else if (m_alignment & Qt::AlignHCenter)
        x = textWidth > w ? 4 : w / 2 - textWidth / 2;
    // One line, opaque on the band, without accelerator processing.
    painter.fillRect(QRect(x, y, textWidth, textHeight), band);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(QPoint(x, y + metrics.ascent()), m_caption);

    painter.setPen(TColorToQColor(FBorderColor));
    painter.drawRect(QRect(1, 1, w - 2, h - 2));
}
