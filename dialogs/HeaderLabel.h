#pragma once
// A heading drawn as a caption on a filled band with a one-pixel outline in a
// second colour. It takes no input. Colours are 0x00BBGGRR (red in the low byte).

#include <QString>
#include <QWidget>

class THeaderLabel : public QWidget
{
    Q_OBJECT

public:
    // 190 x 21, band 0xEED2C1, outline 0xC56A31, caption left-justified.
    explicit THeaderLabel(QWidget *parent = nullptr);

    const QString &Caption() const { return m_caption; }
    void SetCaption(const QString &caption);
    int Color() const { return m_color; }
    void SetColor(int color);
    int BorderColor() const { return FBorderColor; }
    // Repaints only when the colour changes.
    void SetBorderColor(int color);
    // Qt::AlignLeft, Qt::AlignRight or Qt::AlignHCenter.
    Qt::Alignment Alignment() const { return m_alignment; }
    void SetAlignment(Qt::Alignment alignment);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_caption;
    int m_color = 0xEED2C1;
    int FBorderColor = 0xC56A31;
    Qt::Alignment m_alignment = Qt::AlignLeft;
};
