#include "program/DesignedSize.h"

#include <QFontMetrics>
#include <QLayout>
#include <QWidget>

#include <cmath>

namespace {
constexpr double kDesignedCharWidth = 5.0;
} // namespace

double DesignScale(const QFontMetrics &metrics)
{
    return std::max(1.0, metrics.averageCharWidth() / kDesignedCharWidth);
}

int Scaled(int designed, const QFontMetrics &metrics)
{
    return int(std::lround(designed * DesignScale(metrics)));
}

void SetDesignedClientSize(QWidget *form, QSize designed)
{
    const QFontMetrics metrics = form->fontMetrics();
    QSize size(Scaled(designed.width(), metrics), Scaled(designed.height(), metrics));
    if (QLayout *layout = form->layout()) {
        // The form's size rules, not the layout's: the layout fills the form.
        layout->setSizeConstraint(QLayout::SetDefaultConstraint);
        // Texts changed since the last layout (another language): every widget and
        // layout measures anew, not from what it kept.
        for (QWidget *widget : form->findChildren<QWidget *>())
            widget->updateGeometry();
        for (QLayout *inner : form->findChildren<QLayout *>())
            inner->invalidate();
        size = size.expandedTo(layout->totalMinimumSize());
    }
    form->setFixedSize(size);
    // A dialog border: a caption with a close box, nothing to minimise or maximise;
    // a form kept on top stays so. Set only when they differ: new flags hide a
    // shown form, which ends its modal loop. (Qt adds the system menu hint itself.)
    const Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                                  | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
                                  | Qt::MSWindowsFixedSizeDialogHint
                                  | (form->windowFlags() & Qt::WindowStaysOnTopHint);
    if (form->windowFlags() != flags)
        form->setWindowFlags(flags);
}
