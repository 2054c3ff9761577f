#pragma once
// A shown form as designed: its caption, the names its components carry (the keys
// of its language section), at least its designed size, and a layout in which
// every shown component lies inside the form and none covers another.

#include <QTest>
#include <QWidget>

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
