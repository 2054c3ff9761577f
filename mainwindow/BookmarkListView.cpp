#include "mainwindow/BookmarkListView.h"

#include <QHeaderView>
#include <QItemSelectionModel>

void TBookmarkListView::drawRow(QPainter *painter, const QStyleOptionViewItem &option,
                                const QModelIndex &index) const
{
    THookedView<QTreeView>::drawRow(painter, option, index);
    const QHeaderView *columns = header();
    const int last = columns->logicalIndex(columns->count() - 1);
    const int end = last < 0 ? 0
                             : columns->sectionViewportPosition(last) + columns->sectionSize(last);
    const QRect row = option.rect;
    if (end < row.right() && selectionModel() && selectionModel()->isRowSelected(index.row())) {
        const QPalette::ColorGroup group = hasFocus() ? QPalette::Active : QPalette::Inactive;
        painter->fillRect(QRect(end, row.top(), row.right() - end + 1, row.height()),
                          option.palette.brush(group, QPalette::Highlight));
    }
    const QColor grid = QColor::fromRgb(
        QRgb(style()->styleHint(QStyle::SH_Table_GridLineColor, &option, this)));
    painter->save();
    painter->setPen(grid);
    for (int visual = 0; visual < columns->count(); ++visual) {
        const int logical = columns->logicalIndex(visual);
        const int x = columns->sectionViewportPosition(logical) + columns->sectionSize(logical) - 1;
        painter->drawLine(x, row.top(), x, row.bottom());
    }
    painter->drawLine(row.left(), row.bottom(), qMax(end - 1, row.left()), row.bottom());
    painter->restore();
}
