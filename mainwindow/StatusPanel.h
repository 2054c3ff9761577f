#pragma once
// One panel of the status bar: a sunken field that shows its text cut with "…"
// when the text is wider than the panel (text() keeps the whole text).

#include <QLabel>

// The status bar's panels, left to right; the last one stays empty.
enum TStatusPanelIndex : int {
    spFolderTitle, spBookmarkTitle, spFolderCount, spBookmarkCount, spEnd, spPanelCount
};

class TStatusPanel : public QLabel
{
public:
    using QLabel::QLabel;

    // The width that shows this text whole.
    int WidthFor(const QString &text) const;
    // The text as the panel shows it: cut with "…" when it is wider.
    QString ShownText() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QRect TextArea() const;
};
