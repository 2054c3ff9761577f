#pragma once
// The bookmark list: a report with grid lines, whose row highlight runs to the
// view's right edge also past the last column.

#include "mainwindow/HookedViews.h"

class TBookmarkListView : public THookedView<QTreeView>
{
public:
    using THookedView<QTreeView>::THookedView;

protected:
    void drawRow(QPainter *painter, const QStyleOptionViewItem &option,
                 const QModelIndex &index) const override;
};
