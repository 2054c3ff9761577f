// The header label's drawing, checked pixel by pixel: band, outline, the caption's
// place for each alignment, and repaints only for a changed property.
#include "dialogs/HeaderLabel.h"

#include <QtTest>

namespace {

struct CountingLabel : THeaderLabel
{
    int paints = 0;
    void paintEvent(QPaintEvent *event) override
    {
        ++paints;
        THeaderLabel::paintEvent(event);
    }
};

QImage Drawn(const QString &caption, int width, int alignment)
{
    THeaderLabel label;
    label.resize(width, 21);
    label.SetAlignment(Qt::Alignment(alignment));
    label.SetCaption(caption);
    return label.grab().toImage();
}

} // namespace

class TestHeaderLabel : public QObject
{
    Q_OBJECT

private slots:
    // Row 0 and column 0 unpainted; the outline on row 1, column 1, the last
    // column and the last row; the band inside.
    void newLabelDrawsBandAndOutline()
    {
        THeaderLabel label;
        QCOMPARE(label.size(), QSize(190, 21));
        const QImage image = label.grab().toImage();
        const QRgb band = qRgb(193, 210, 238), border = qRgb(49, 106, 197);
        for (int x = 0; x < 190; ++x) {
            for (int y = 0; y < 21; ++y) {
                const QRgb pixel = image.pixel(x, y);
                const QByteArray where = QByteArray::number(x) + ',' + QByteArray::number(y);
                if (x == 0 || y == 0)
                    QVERIFY2(pixel != band && pixel != border, where);
                else
                    QVERIFY2(pixel == (y == 1 || y == 20 || x == 1 || x == 189 ? border : band),
                             where);
            }
        }
    }

    void captionPlace_data()
    {
        QTest::addColumn<int>("alignment");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("x"); // where the caption starts
        const int w = QFontMetrics(QApplication::font()).horizontalAdvance("HHH");
        const QString wide(60, u'H');
        const int right = Qt::AlignRight, centre = Qt::AlignHCenter;
        QTest::newRow("left") << int(Qt::AlignLeft) << "HHH" << 190 << 4;
        QTest::newRow("right") << right << "HHH" << 190 << 190 - 4 - w;
        QTest::newRow("centred") << centre << "HHH" << 190 << 95 - w / 2;
        QTest::newRow("right, wider than the label") << right << wide << 190 << 4;
        QTest::newRow("centred, wider than the label") << centre << wide << 190 << 4;
        QTest::newRow("right, as wide as the label") << right << "HHH" << w << -4;
        QTest::newRow("centred, as wide as the label") << centre << "HHH" << w << 0;
        QTest::newRow("an ampersand is drawn") << right << "H&H" << 190 << 190 - 4 -
            QFontMetrics(QApplication::font()).horizontalAdvance("H&H");
    }
    // Compared with the caption drawn left-justified (at x 4) on a wide label,
    // column by column within the band.
    void captionPlace()
    {
        QFETCH(int, alignment);
        QFETCH(QString, caption);
        QFETCH(int, width);
        QFETCH(int, x);
        const QImage image = Drawn(caption, width, alignment);
        const QImage reference = Drawn(caption, 2000, Qt::AlignLeft);
        if (caption.contains('&'))
            QVERIFY(reference != Drawn(QString(caption).remove('&'), 2000, Qt::AlignLeft));
        for (int column = 2; column < width - 1; ++column) {
            const int from = column - (x - 4);
            for (int y = 2; y < 20 && from >= 2 && from < reference.width() - 1; ++y)
                QVERIFY2(image.pixel(column, y) == reference.pixel(from, y),
                         qPrintable(QStringLiteral("%1,%2").arg(column).arg(y)));
        }
    }

    void repaintsOnlyForAChange_data()
    {
        QTest::addColumn<int>("property");
        QTest::newRow("caption") << 0;
        QTest::newRow("band colour") << 1;
        QTest::newRow("outline colour") << 2;
        QTest::newRow("alignment") << 3;
    }
    void repaintsOnlyForAChange()
    {
        QFETCH(int, property);
        CountingLabel label;
        label.SetCaption("Caption");
        const auto set = [&](bool change) {
            const int color = change ? 0x0000FF : property == 1 ? 0xEED2C1 : 0xC56A31;
            switch (property) {
            case 0: label.SetCaption(change ? "Other" : "Caption"); break;
            case 1: label.SetColor(color); break;
            case 2: label.SetBorderColor(color); break;
            default: label.SetAlignment(change ? Qt::AlignRight : Qt::AlignLeft);
            }
        };
        label.show();
        QVERIFY(QTest::qWaitForWindowExposed(&label));
        QTRY_VERIFY(label.paints > 0);
        const QImage before = label.grab().toImage();
        label.paints = 0;
        set(false);
        QCoreApplication::processEvents();
        QCOMPARE(label.paints, 0);
        set(true);
        QTRY_VERIFY(label.paints > 0);
        QVERIFY(label.grab().toImage() != before);
    }
};

QTEST_MAIN(TestHeaderLabel)
#include "tst_headerlabel.moc"
