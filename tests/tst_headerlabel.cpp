// The header label's drawing, checked pixel by pixel: band, outline, the caption's
// position for each alignment, and repaints only for a changed outline colour.
#include "dialogs/HeaderLabel.h"

#include <QImage>
#include <QtTest>

namespace {

QRgb Rgb(int tcolor)
{
    return THeaderLabel::ToQColor(tcolor).rgb();
}

// The columns where the caption left ink: first and last, -1 when none.
QPair<int, int> InkColumns(const QImage &image, QRgb band, QRgb border)
{
    int first = -1;
    int last = -1;
    for (int x = 2; x < image.width() - 1; ++x) {
        for (int y = 2; y < image.height() - 1; ++y) {
            const QRgb pixel = image.pixel(x, y);
            if (pixel != band && pixel != border) {
                if (first < 0)
                    first = x;
                last = x;
                break;
            }
        }
    }
    return {first, last};
}

class PaintCounter : public QObject
{
public:
    int count = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
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
    QCOMPARE(image.size(), QSize(190, 21));
    const QRgb band = Rgb(label.Color());
    const QRgb border = Rgb(label.BorderColor());
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
    QTest::addColumn<QString>("expected"); // "left": from x 4; "right": to W - 4; "centre"
    const QString wide = QString(60, u'H');
    // Wider than the label less its margins, yet not wider than the label.
    const QFontMetrics metrics(QApplication::font());
    QString narrow;
    while (metrics.horizontalAdvance(narrow + u'H') <= 190)
        narrow += u'H';
    QVERIFY(metrics.horizontalAdvance(narrow) > 190 - 8);
    QTest::newRow("left") << int(Qt::AlignLeft) << "HHH" << "left";
    QTest::newRow("right") << int(Qt::AlignRight) << "HHH" << "right";
    QTest::newRow("centred") << int(Qt::AlignHCenter) << "HHH" << "centre";
    QTest::newRow("right, wider than the label") << int(Qt::AlignRight) << wide << "left";
    QTest::newRow("centred, wider than the label") << int(Qt::AlignHCenter) << wide << "left";
    QTest::newRow("right, not wider than the label") << int(Qt::AlignRight) << narrow << "right";
}

void TestHeaderLabel::captionPosition()
{
    QFETCH(int, alignment);
    QFETCH(QString, caption);
    QFETCH(QString, expected);
    THeaderLabel label;
    label.SetAlignment(Qt::Alignment(alignment));
    label.SetCaption(caption);
    const int textWidth = label.fontMetrics().horizontalAdvance(caption);
    const QImage image = label.grab().toImage();
    const auto [first, last] = InkColumns(image, Rgb(label.Color()), Rgb(label.BorderColor()));
    QVERIFY(first >= 0);
    // Glyphs sit within their advance, up to a pixel or two of side bearing.
    const int tolerance = 2;
    if (expected == "left") {
        QVERIFY2(first >= 4 && first <= 4 + tolerance, qPrintable(QString::number(first)));
    } else if (expected == "right") {
        QVERIFY2(last <= 190 - 4 && last >= 190 - 4 - tolerance - 1,
                 qPrintable(QString::number(last)));
    } else {
        const int start = 190 / 2 - textWidth / 2;
        QVERIFY2(first >= start && first <= start + tolerance,
                 qPrintable(QString::number(first)));
    }
    // Vertically centred: ink in both halves of the band around its middle.
    bool above = false;
    bool below = false;
    for (int y = 2; y < 20; ++y) {
        if (image.pixel(first, y) != Rgb(label.Color()))
            (y < 10 ? above : below) = true;
    }
    QVERIFY(above && below);
}

void TestHeaderLabel::ampersandIsDrawn()
{
    THeaderLabel label;
    label.SetCaption("H&H");
    const QImage image = label.grab().toImage();
    const auto [first, last] = InkColumns(image, Rgb(label.Color()), Rgb(label.BorderColor()));
    // "&" is drawn as a character, not taken for an accelerator mark.
    QVERIFY(last - first + 1 > label.fontMetrics().horizontalAdvance("HH"));
}

void TestHeaderLabel::equalBorderColorDoesNotRepaint()
{
    THeaderLabel label;
    label.show();
    QVERIFY(QTest::qWaitForWindowExposed(&label));
    PaintCounter counter;
    label.installEventFilter(&counter);
    QCoreApplication::processEvents();
    counter.count = 0;
    label.SetBorderColor(0xC56A31);
    QCoreApplication::processEvents();
    QCOMPARE(counter.count, 0);
    label.SetBorderColor(0x0000FF);
    QTRY_VERIFY(counter.count > 0);
    QCOMPARE(label.grab().toImage().pixel(1, 1), qRgb(255, 0, 0));
}

QTEST_MAIN(TestHeaderLabel)
#include "tst_headerlabel.moc"
