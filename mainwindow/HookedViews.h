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
#include <QPointer>
#include <QTreeView>
#include <QTreeWidget>

#include <functional>

// The drag that one of these views runs. The hooks learn its source from here
// rather than from the toolkit, which knows it only inside its own drag loop.
struct TViewDrag
{
    static inline QPointer<QObject> Source; // the view whose drag runs, or none
    // Runs a drag to its end and disposes of it, as QDrag::exec does. Tests put
    // the desktop's part here: the offscreen platform ends every drag at once.
    static inline std::function<void(QDrag *)> Run = [](QDrag *drag) {
        drag->exec(Qt::MoveAction);
    };
};

struct ViewHooks
{
    // Return true to keep the event from the widget.
    std::function<bool(QMouseEvent *)> MousePressed;
    std::function<void(QMouseEvent *)> MousePressHandled; // after the widget
    std::function<void(QMouseEvent *)> MouseReleased; // after the widget
    std::function<void(QMouseEvent *)> DoubleClicked; // after the widget
    std::function<void(QKeyEvent *)> KeyPressed;      // before the widget
    std::function<void()> FocusEntered;
    // Whether the view takes a drag from this source at all (none: as the first
    // move decides). A drag whose entry is refused gets no moves or drop.
    std::function<bool(QObject *source)> DragEntered;
    std::function<bool(QObject *source, const QPoint &pos)> DragMoved; // accept?
    std::function<void(QObject *source, const QPoint &pos)> Dropped;
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
    void dragEnterEvent(QDragEnterEvent *event) override
    {
        if (!Hooks.DragEntered)
            dragMoveEvent(event);
        else if (Hooks.DragEntered(TViewDrag::Source))
            event->acceptProposedAction(); // the move that follows decides
        else
            event->ignore();
    }
    void dragMoveEvent(QDragMoveEvent *event) override
    {
        if (Moved(event))
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
        if (Moved(event) && Hooks.Dropped) {
            event->acceptProposedAction();
            Hooks.Dropped(TViewDrag::Source, event->position().toPoint());
        } else {
            event->ignore();
        }
    }
    void startDrag(Qt::DropActions) override
    {
        auto *drag = new QDrag(this);
        drag->setMimeData(new QMimeData);
        TViewDrag::Source = this;
        TViewDrag::Run(drag);
        TViewDrag::Source = nullptr;
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

private:
    bool Moved(QDropEvent *event)
    {
        return Hooks.DragMoved
               && Hooks.DragMoved(TViewDrag::Source, event->position().toPoint());
    }
};

using TFolderTreeWidget = THookedView<QTreeWidget>;

