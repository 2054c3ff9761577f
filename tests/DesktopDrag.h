#pragma once
// A mouse drag through the real widgets, with the desktop's part played here:
// the offscreen platform ends every drag at once. The press and the first moves
// reach the pressed widget until it starts its drag; from then on every move
// reaches the window as the platform's drag hands it on (an enter when the
// pointer comes over the window, then a move at each point, the first where the
// drag began), and the release drops where the last move was accepted, else
// cancels the drag with a leave.

#include "mainwindow/HookedViews.h"

#include <QApplication>
#include <QTest>
#include <QWindow>

#include <functional>

class DesktopDrag : public QObject
{
public:
    DesktopDrag() : m_platformRun(TViewDrag::Run)
    {
        TViewDrag::Run = [this](QDrag *drag) { Run(drag); };
    }
    ~DesktopDrag() override { TViewDrag::Run = m_platformRun; }

    // The left button pressed at the first corner (global points) in the widget,
    // moved a few pixels at a time through the corners and released at the last;
    // atEnd runs before the release, inside the drag when one started.
    void Along(QWidget *pressed, const QList<QPoint> &corners,
               const std::function<void()> &atEnd = {})
    {
        m_widget = pressed;
        m_points = {corners.first()};
        for (qsizetype i = 1; i < corners.size(); ++i) {
            const QPoint way = corners[i] - corners[i - 1];
            const int steps = qMax(1, qMax(qAbs(way.x()), qAbs(way.y())) / 3);
            for (int s = 1; s <= steps; ++s)
                m_points << corners[i - 1] + way * s / steps;
        }
        m_atEnd = atEnd;
        m_next = 1;
        m_released = false;
        QTest::mousePress(pressed, Qt::LeftButton, {}, pressed->mapFromGlobal(m_points.first()));
        PlayMoves(); // the move that starts a drag plays the rest inside it
        if (!m_released)
            Release();
    }

    int Started = 0;       // drags that a view started
    bool Accepted = false; // the last move's answer: whether the pointer showed a drop
    QString Answers;       // the moves' answers, a run of equal ones as one: "-+"

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::MouseMove)
            Hand(static_cast<QMouseEvent *>(event)->globalPosition().toPoint());
        else if (event->type() == QEvent::MouseButtonRelease)
            Finish(static_cast<QMouseEvent *>(event)->globalPosition().toPoint());
        else
            return false;
        return true; // the platform's drag keeps the mouse to itself
    }

private:
    void Run(QDrag *drag)
    {
        ++Started;
        m_mime = drag->mimeData();
        qApp->installEventFilter(this);
        Hand(m_points[m_next - 1]);
        PlayMoves();
        Release();
        qApp->removeEventFilter(this);
        drag->deleteLater(); // as QDrag::exec does
    }
    void PlayMoves()
    {
        while (m_next < m_points.size()) {
            const QPoint at = m_points[m_next++];
            QTest::mouseMove(m_widget, m_widget->mapFromGlobal(at));
        }
    }
    void Release()
    {
        m_released = true;
        if (m_atEnd)
            m_atEnd();
        const QPoint at = m_widget->mapFromGlobal(m_points.last());
        QTest::mouseRelease(m_widget, Qt::LeftButton, {}, at);
    }
    // As the platform's drag: the enter's answer stands for the first move's.
    void Hand(const QPoint &global)
    {
        QWindow *window = m_widget->window()->windowHandle();
        const QPoint at = window->mapFromGlobal(global);
        if (window != m_window) {
            m_window = window;
            QDragEnterEvent enter(at, Qt::MoveAction, m_mime, Qt::LeftButton, {});
            QApplication::sendEvent(window, &enter);
            m_action = enter.isAccepted() ? enter.dropAction() : Qt::IgnoreAction;
        }
        QDragMoveEvent move(at, Qt::MoveAction, m_mime, Qt::LeftButton, {});
        if (m_action != Qt::IgnoreAction) {
            move.setDropAction(m_action);
            move.accept();
        }
        QApplication::sendEvent(window, &move);
        Accepted = move.isAccepted();
        const QChar answer = Accepted ? u'+' : u'-';
        if (!Answers.endsWith(answer))
            Answers += answer;
        m_action = Accepted ? move.dropAction() : Qt::IgnoreAction;
    }
    void Finish(const QPoint &global)
    {
        if (!m_window)
            return;
        if (Accepted) {
            QDropEvent drop(m_window->mapFromGlobal(global), Qt::MoveAction, m_mime, Qt::NoButton,
                            {});
            QApplication::sendEvent(m_window, &drop);
        } else {
            QDragLeaveEvent leave;
            QApplication::sendEvent(m_window, &leave);
        }
        m_window = nullptr;
    }

    std::function<void(QDrag *)> m_platformRun;
    QWidget *m_widget = nullptr;
    QList<QPoint> m_points;
    qsizetype m_next = 0;
    bool m_released = false;
    std::function<void()> m_atEnd;
    const QMimeData *m_mime = nullptr;
    QWindow *m_window = nullptr;
    Qt::DropAction m_action = Qt::IgnoreAction;
};
