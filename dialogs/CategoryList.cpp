#include "dialogs/CategoryList.h"
#include "dialogs/TColor.h"

#include <QHeaderView>
#include <QMouseEvent>

namespace {

// Colours (0x00BBGGRR): items, the current item, categories.
const int kButtonColor = 0xEEF6F7;
const int kSelectedButtonColor = 0xEFD3C6;
const int kCategoryColor = 0xE8F3F4;

// A row filled from its colour to white, left to right.
QBrush ButtonBrush(int color)
{
    QLinearGradient gradient(0, 0, 1, 0);
    gradient.setCoordinateMode(QGradient::ObjectBoundingMode);
    gradient.setColorAt(0, TColorToQColor(color));
    gradient.setColorAt(1, Qt::white);
    return QBrush(gradient);
}

} // namespace

TCategoryList::TCategoryList(QWidget *parent) : QTreeWidget(parent)
{
    setHeaderHidden(true);
    // The column fills the list at any width: the style's default column width
    // grows with the screen's resolution and once outgrew the list.
    header()->setStretchLastSection(false);
    header()->setMinimumSectionSize(0);
    header()->setSectionResizeMode(QHeaderView::Stretch);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setIndentation(12);
    QPalette colors = palette();
    colors.setColor(QPalette::Base, Qt::white);
    colors.setColor(QPalette::Text, Qt::black);
    colors.setColor(QPalette::Highlight, TColorToQColor(kSelectedButtonColor));
    colors.setColor(QPalette::HighlightedText, Qt::black);
    setPalette(colors);
}

void TCategoryList::AddCategory(const QString &caption, const QStringList &items)
{
    const QSize rowSize(0, fontMetrics().height() + 10);
    auto *category = new QTreeWidgetItem(this, {caption});
    category->setFlags(Qt::ItemIsEnabled);
    QFont bold = font();
    bold.setBold(true);
    category->setFont(0, bold);
    category->setBackground(0, ButtonBrush(kCategoryColor));
    category->setSizeHint(0, rowSize);
    for (const QString &text : items) {
        auto *item = new QTreeWidgetItem(category, {text});
        item->setBackground(0, ButtonBrush(kButtonColor));
        item->setSizeHint(0, rowSize);
    }
    category->setExpanded(true);
}

void TCategoryList::FitToCaptions(int least)
{
    int width = least;
    for (QTreeWidgetItemIterator it(this); *it; ++it) {
        const QFontMetrics metrics((*it)->font(0));
        const int depth = (*it)->parent() ? 2 : 1;
        const int text = metrics.horizontalAdvance((*it)->text(0));
        width = qMax(width, text + depth * indentation() + 24);
    }
    setFixedWidth(width);
}

QModelIndex TCategoryList::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    QModelIndex index = QTreeWidget::moveCursor(action, modifiers);
    if (!index.isValid() || !IsCategory(index))
        return index;
    // Left goes to the item's category and right unfolds it: stay on the item.
    if (action == MoveLeft || action == MoveRight)
        return currentIndex();
    const bool up = action == MoveUp || action == MovePrevious || action == MovePageUp ||
                    action == MoveEnd;
    while (index.isValid() && IsCategory(index))
        index = up ? indexAbove(index) : indexBelow(index);
    return index.isValid() ? index : currentIndex();
}

void TCategoryList::mousePressEvent(QMouseEvent *event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid() && IsCategory(index) && event->button() == Qt::LeftButton) {
        setExpanded(index, !isExpanded(index));
        event->accept();
        return;
    }
    QTreeWidget::mousePressEvent(event);
}

void TCategoryList::mouseDoubleClickEvent(QMouseEvent *event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid() && IsCategory(index)) {
        event->accept();
        return;
    }
    QTreeWidget::mouseDoubleClickEvent(event);
}
