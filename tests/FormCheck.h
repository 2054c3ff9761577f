#pragma once
// A shown form as designed: its caption, the names its components carry (the keys
// of its language section), at least its designed size, and a layout in which
// every shown component lies inside the form and none covers another; captions
// shown whole; its size carried over to the font, fixed; and the fonts a form may
// open in.

#include <QAbstractButton>
#include <QApplication>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QTest>
#include <QWidget>

#include <cmath>

inline QRect PlaceOnForm(const QWidget *form, const QWidget *widget)
{
    return QRect(widget->mapTo(form, QPoint()), widget->size());
}

inline void CheckForm(QWidget *form, const QString &caption, QStringList names, QSize minimum)
{
    QStringList found, faults;
    QList<const QWidget *> shown;
    for (const QWidget *widget : form->findChildren<QWidget *>()) {
        if (widget->objectName().isEmpty() || widget->objectName().startsWith("qt_"))
            continue;
        found << widget->objectName();
        if (widget->isVisibleTo(form))
            shown << widget;
    }
    for (const QWidget *a : shown) {
        if (!form->rect().contains(PlaceOnForm(form, a)))
            faults << a->objectName() + " outside the form";
        for (const QWidget *b : shown) {
            if (a < b && !a->isAncestorOf(b) && !b->isAncestorOf(a)
                && PlaceOnForm(form, a).intersects(PlaceOnForm(form, b)))
                faults << a->objectName() + " on " + b->objectName();
        }
    }
    found.sort();
    names.sort();
    QCOMPARE(form->windowTitle(), caption);
    QCOMPARE(found, names);
    QCOMPARE(faults, QStringList());
    QVERIFY2(form->width() >= minimum.width() && form->height() >= minimum.height(),
             qPrintable(QStringLiteral("%1 x %2").arg(form->width()).arg(form->height())));
}

// The shown captions under `parent` that do not show whole: labels, buttons, check
// boxes and group boxes smaller than their size hint (a wrapping label: lower than
// its text needs at its width), or not inside the form.
inline QStringList ClippedCaptions(const QWidget *form, const QWidget *parent)
{
    QStringList clipped;
    for (const QWidget *w : parent->findChildren<QWidget *>()) {
        const auto *label = qobject_cast<const QLabel *>(w);
        if (!w->isVisible() || w->objectName().isEmpty()
            || !(label || qobject_cast<const QAbstractButton *>(w)
                 || qobject_cast<const QGroupBox *>(w)))
            continue;
        const bool wraps = label && label->wordWrap();
        const QSize hint = w->sizeHint();
        const bool fits = wraps ? w->height() >= w->heightForWidth(w->width())
                                : w->width() >= hint.width() && w->height() >= hint.height();
        if (!fits || !form->rect().contains(PlaceOnForm(form, w)))
            clipped << w->objectName();
    }
    return clipped;
}

// The form at its designed client size carried over to its font (the designs
// assume characters 5 pixels wide on average; smaller fonts keep the size), and
// fixed there: the user cannot resize it.
inline void CheckDesignedSize(QWidget *form, QSize designed)
{
    const double scale = std::max(1.0, form->fontMetrics().averageCharWidth() / 5.0);
    const QSize expected(int(std::lround(designed.width() * scale)),
                         int(std::lround(designed.height() * scale)));
    QCOMPARE(form->size(), expected);
    QCOMPARE(form->minimumSize(), expected);
    QCOMPARE(form->maximumSize(), expected);
}

// The program's font for as long as the object lives; a pixel size of 0 keeps it.
class AppFontScope
{
public:
    explicit AppFontScope(int pixelSize) : m_old(QApplication::font())
    {
        if (pixelSize <= 0)
            return;
        QFont font = m_old;
        font.setPixelSize(pixelSize);
        QApplication::setFont(font);
    }
    ~AppFontScope() { QApplication::setFont(m_old); }
    AppFontScope(const AppFontScope &) = delete;
    AppFontScope &operator=(const AppFontScope &) = delete;

private:
    QFont m_old;
};

// Rows of the font the dialog opens in: the program's, and one twice as large.
inline void AddFontRows()
{
    QTest::addColumn<int>("pixelSize");
    QTest::newRow("program font") << 0;
    QTest::newRow("large font") << 2 * QFontInfo(QApplication::font()).pixelSize();
}
