// The header label's drawing, checked pixel by pixel: band, outline, the caption's
// position for each alignment, and repaints only for a changed outline colour.
#include "dialogs/HeaderLabel.h"
#include "dialogs/TColor.h"

#include <QImage>
#include <QtTest>

namespace {

QRgb Rgb(int tcolor)
{
    return TColorToQColor(tcolor).rgb();
}

// The first and last columns inside the outline where the caption left ink.
QPair<int, int> InkColumns(THeaderLabel &label)
{
    const QImage image = label.grab().toImage();
    QPair<int, int> columns(-1, -1);
    for (int x = 2; x < image.width() - 1; ++x) {
        for (int y = 2; y < image.height() - 1; ++y) {
            if (image.pixel(x, y) != Rgb(label.Color())) {
                columns = {columns.first < 0 ? x : columns.first, x};
                break;
            }
        }
    }
    return columns;
}

class CountingLabel : public THeaderLabel
{
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent *event) override
    {
        ++paints;
        THeaderLabel::paintEvent(event);
    }
};

} // namespace

class TestHeaderLabel : public QObject
{
    Q_OBJECT

private slots:
    void newLabelDrawsBandAndOutline();
    void captionPosition_data();
    void captionPosition();
    void ampersandIsDrawn();
    void equalBorderColorDoesNotRepaint();
};

void TestHeaderLabel::newLabelDrawsBandAndOutline()
{
    THeaderLabel label;
    QCOMPARE(label.size(), QSize(190, 21));
    QCOMPARE(Rgb(label.Color()), qRgb(193, 210, 238));
    QCOMPARE(Rgb(label.BorderColor()), qRgb(49, 106, 197));
    const QImage image = label.grab().toImage();
    const QRgb band = Rgb(label.Color());
    const QRgb border = Rgb(label.BorderColor());
    // Row 0 and column 0 unpainted; the outline on row 1, column 1, the last
    // column and the last row; the band inside.
    for (int x = 0; x < 190; ++x) {
        for (int y = 0; y < 21; ++y) {
            const QRgb pixel = image.pixel(x, y);
            const QByteArray where = QByteArray::number(x) + ',' + QByteArray::number(y);
            if (x == 0 || y == 0)
                QVERIFY2(pixel != band && pixel != border, where);
            else if (y == 1 || y == 20 || x == 1 || x == 189)
                QVERIFY2(pixel == border, where);
            else
                QVERIFY2(pixel == band, where);
        }
    }
}

void TestHeaderLabel::captionPosition_data()
{
    QTest::addColumn<int>("alignment");
    QTest::addColumn<QString>("caption");
    // Ink from x 4; otherwise right-justified ink ends at W - 4 and centred ink
    // starts at W / 2 less half the caption's width.
    QTest::addColumn<bool>("fromLeft");
    const QString wide(60, u'H');
    // Wider than the label less its margins, yet not wider than the label.
    const QFontMetrics metrics(QApplication::font());
    QString narrow;
    while (metrics.horizontalAdvance(narrow + u'H') <= 190)
        narrow += u'H';
    QVERIFY(metrics.horizontalAdvance(narrow) > 190 - 8);
    QTest::newRow("left") << int(Qt::AlignLeft) << "HHH" << true;
    QTest::newRow("right") << int(Qt::AlignRight) << "HHH" << false;
    QTest::newRow("right, wider than the label") << int(Qt::AlignRight) << wide << true;
    QTest::newRow("right, wider than the margins") << int(Qt::AlignRight) << narrow << false;
    QTest::newRow("centred, wider than the label") << int(Qt::AlignHCenter) << wide << true;
    QTest::newRow("centred") << int(Qt::AlignHCenter) << "HHH" << false;
}

void TestHeaderLabel::captionPosition()
{
    QFETCH(int, alignment);
    QFETCH(QString, caption);
    QFETCH(bool, fromLeft);
    THeaderLabel label;
    label.SetAlignment(Qt::Alignment(alignment));
    label.SetCaption(caption);
    const auto [first, last] = InkColumns(label);
    // Glyphs sit within their advance, give or take a pixel or two of bearing.
    if (fromLeft) {
        QVERIFY2(first >= 4 && first <= 6, QByteArray::number(first));
    } else if (alignment == Qt::AlignRight) {
        QVERIFY2(last <= 186 && last >= 183, QByteArray::number(last));
    } else {
        const int start = 190 / 2 - label.fontMetrics().horizontalAdvance(caption) / 2;
        QVERIFY2(first >= start && first <= start + 2, QByteArray::number(first));
    }
}

void TestHeaderLabel::ampersandIsDrawn()
{
    THeaderLabel label;
    label.SetCaption("H&H");
    const auto [first, last] = InkColumns(label);
    QVERIFY(last - first + 1 > label.fontMetrics().horizontalAdvance("HH"));
}

void TestHeaderLabel::equalBorderColorDoesNotRepaint()
{
    CountingLabel label;
    label.show();
    QVERIFY(QTest::qWaitForWindowExposed(&label));
    QTRY_VERIFY(label.paints > 0);
    label.paints = 0;
    label.SetBorderColor(0xC56A31);
    QCoreApplication::processEvents();
    QCOMPARE(label.paints, 0);
    label.SetBorderColor(0x0000FF);
    QTRY_VERIFY(label.paints > 0);
    QCOMPARE(label.grab().toImage().pixel(1, 1), qRgb(255, 0, 0));
}

QTEST_MAIN(TestHeaderLabel)
#include "tst_headerlabel.moc"
