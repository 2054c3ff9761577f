#pragma once
// The status bar's row of five panels, laid out by one rule at every width, so
// that no panel ever covers another. The count panels (2 and 3) are as wide as
// their label with seven digits and the end panel (4) keeps its designed width:
// a count never clips. The title panels take the rest: panel 0 its designed
// width and panel 1 all beyond it, or, when the room is short, the two share it
// equally and cut their titles with "…". Designed widths follow the font. The
// row is never narrower than every panel at its least, which bounds the window.
// Owns its panels (as child widgets).

#include <QWidget>

#include <array>

class TStatusPanel;

class TStatusPanelRow : public QWidget
{
public:
    explicit TStatusPanelRow(QWidget *parent = nullptr);

    TStatusPanel *Panel(int i) const { return FPanels[size_t(i)]; }
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

    std::array<TStatusPanel *, 5> FPanels = {};
    std::array<int, 5> FWidths = {}; // designed (scaled) or fitted widths
    int FMinimumTitle = 0; // the least width of a title panel
};
