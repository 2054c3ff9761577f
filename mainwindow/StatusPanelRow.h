#pragma once
// The status bar's row of five panels, laid out by one rule at every width, so
// that no panel ever covers another. The count panels are as wide as their label
// with seven digits and the end panel keeps its designed width: a count never
// clips. The title panels take the rest: the folder's its designed width and the
// bookmark's all beyond it, or, when the room is short, the two share it equally
// and cut their titles with "…". Designed widths follow the font. The row is never
// narrower than every panel at its least, which bounds the window.
// Owns its panels (as child widgets).

#include <QWidget>

#include <array>

#include "mainwindow/StatusPanel.h"

class TStatusPanelRow : public QWidget
{
public:
    explicit TStatusPanelRow(QWidget *parent = nullptr);

    TStatusPanel *Panel(TStatusPanelIndex i) const { return m_panels[size_t(i)]; }
    // Sizes the panels anew for their texts and the font: after the count
    // panels' labels have changed (another language).
    void LayOut();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void PlacePanels();
    int FixedWidths() const; // of the count panels and the end panel

    std::array<TStatusPanel *, spPanelCount> m_panels = {};
    std::array<int, spPanelCount> m_widths = {}; // designed (scaled) or fitted widths
    int m_minimumTitle = 0; // the least width of a title panel
};
