#pragma once
// The tree and list widgets of the main window, with hooks through which the
// window handles presses, keys, drags and drops before the widget acts, and
// draws over the tree after it has painted. Drags carry no data of their own:
// the drop reads the source's selection, and never removes anything itself.

#include <QDrag>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QTreeView>
#include <QTreeWidget>

#include <functional>

struct ViewHooks
{
    // Return true to keep the event from the widget.
    std::function<bool(QMouseEvent *)> MousePressed;
    std::function<void(QMouseEvent *)> MousePressHandled; // after the widget
    std::function<void(QMouseEvent *)> MouseReleased; // after the widget
    std::function<void(QMouseEvent *)> DoubleClicked; // after the widget
    std::function<void(QKeyEvent *)> KeyPressed;      // before the widget
    std::function<void()> FocusEntered;
    std::function<bool(QDropEvent *)> DragMoved;      // accept?
    std::function<void(QDropEvent *)> Dropped;
    std::function<void()> DragEnded;                  // the source's drag is over
    std::function<void(QPainter &)> Painted;
};

template <typename Base>
class THookedView : public Base
{
public:
    using Base::Base;
    ViewHooks Hooks;

protected:
    void mousePressEvent(QMouseEvent *event) override
    {
        if (Hooks.MousePressed && Hooks.MousePressed(event))
            return;
        Base::mousePressEvent(event);
        if (Hooks.MousePressHandled)
            Hooks.MousePressHandled(event);
    }
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        Base::mouseReleaseEvent(event);
        if (Hooks.MouseReleased)
            Hooks.MouseReleased(event);
    }
    void mouseDoubleClickEvent(QMouseEvent *event) override
    {
        Base::mouseDoubleClickEvent(event);
        if (Hooks.DoubleClicked)
            Hooks.DoubleClicked(event);
    }
    void keyPressEvent(QKeyEvent *event) override
    {
        if (Hooks.KeyPressed)
            Hooks.KeyPressed(event);
        Base::keyPressEvent(event);
    }
    void focusInEvent(QFocusEvent *event) override
    {
        Base::focusInEvent(event);
        if (Hooks.FocusEntered)
            Hooks.FocusEntered();
    }
    void dragEnterEvent(QDragEnterEvent *event) override { dragMoveEvent(event); }
    void dragMoveEvent(QDragMoveEvent *event) override
    {
        if (Hooks.DragMoved && Hooks.DragMoved(event))
            event->acceptProposedAction();
        else
            event->ignore();
    }
    void dragLeaveEvent(QDragLeaveEvent *event) override
    {
        event->accept();
        this->viewport()->update();
    }
    void dropEvent(QDropEvent *event) override
    {
        if (Hooks.DragMoved && Hooks.DragMoved(event) && Hooks.Dropped) {
            event->acceptProposedAction();
            Hooks.Dropped(event);
        } else {
            event->ignore();
        }
    }
    void startDrag(Qt::DropActions) override
    {
        auto *drag = new QDrag(this);
        drag->setMimeData(new QMimeData);
        drag->exec(Qt::MoveAction);
        if (Hooks.DragEnded)
            Hooks.DragEnded();
    }
    void paintEvent(QPaintEvent *event) override
    {
        Base::paintEvent(event);
        if (Hooks.Painted) {
            QPainter painter(this->viewport());
            Hooks.Painted(painter);
        }
    }
};

using TFolderTreeWidget = THookedView<QTreeWidget>;

