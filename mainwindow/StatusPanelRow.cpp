#include "mainwindow/StatusPanelRow.h"
#include "mainwindow/StatusPanel.h"
#include "program/DesignedSize.h"

#include <QEvent>
#include <QRegularExpression>

namespace {

constexpr int kDesignedWidths[spPanelCount] = {200, 150, 100, 100, 50};
constexpr int kDesignedMinimumTitle = 50;
constexpr int kGap = 2; // between two panels
// The count panels show their label and up to this many digits whole.
const QString kWidestCount = QStringLiteral("0000000");

} // namespace

TStatusPanelRow::TStatusPanelRow(QWidget *parent) : QWidget(parent)
{
    for (TStatusPanel *&panel : m_panels) {
        panel = new TStatusPanel(this);
        panel->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    }
    LayOut();
}

void TStatusPanelRow::LayOut()
{
    const QFontMetrics metrics = fontMetrics();
    for (int i = 0; i < spPanelCount; ++i)
        m_widths[size_t(i)] = Scaled(kDesignedWidths[i], metrics);
    for (TStatusPanelIndex i : {spFolderCount, spBookmarkCount}) {
        static const QRegularExpression count(QStringLiteral("[0-9]+$"));
        const QString label = Panel(i)->text().remove(count);
        m_widths[size_t(i)] = qMax(m_widths[size_t(i)], Panel(i)->WidthFor(label + kWidestCount));
    }
    m_minimumTitle = Scaled(kDesignedMinimumTitle, metrics);
    updateGeometry(); // the least width may have changed
    PlacePanels();
}

QSize TStatusPanelRow::minimumSizeHint() const
{
    return {2 * m_minimumTitle + FixedWidths() + 4 * kGap,
            m_panels[spFolderTitle]->sizeHint().height()};
}

QSize TStatusPanelRow::sizeHint() const
{
    int width = 4 * kGap;
    for (int w : m_widths)
        width += w;
    return {width, minimumSizeHint().height()};
}

// Example, with designed widths at a scale of 1 and counts of 100: a row of 700
// gives 200, 242, 100, 100, 50 (and four gaps of 2); a row of 500 gives the
// titles 121 and 121.
void TStatusPanelRow::PlacePanels()
{
    const int titles = width() - FixedWidths() - 4 * kGap;
    std::array<int, spPanelCount> widths = m_widths;
    widths[spBookmarkTitle] = titles - m_widths[spFolderTitle];
    if (widths[spBookmarkTitle] < m_widths[spFolderTitle]) { // short of room: the titles share it
        widths[spFolderTitle] = qMax(m_minimumTitle, titles / 2);
        widths[spBookmarkTitle] = qMax(m_minimumTitle, titles - widths[spFolderTitle]);
    }
    int x = 0;
    for (int i = 0; i < spPanelCount; ++i) {
        m_panels[size_t(i)]->setGeometry(x, 0, widths[i], height());
        x += widths[i] + kGap;
    }
}

int TStatusPanelRow::FixedWidths() const
{
    return m_widths[spFolderCount] + m_widths[spBookmarkCount] + m_widths[spEnd];
}

void TStatusPanelRow::resizeEvent(QResizeEvent *)
{
    PlacePanels();
}

void TStatusPanelRow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        LayOut();
}
