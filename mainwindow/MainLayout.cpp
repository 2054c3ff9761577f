// The main window's place and layout: the stored ones applied at start, within
// what the screen holds, and the window's own stored at close.
#include "mainwindow/MainForm.h"
#include "program/Globals.h"
#include "settings/Preferences.h"

#include <QAction>
#include <QGuiApplication>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeView>
#include <QTreeWidget>
#include <QWindow>

namespace {

// The start of a length placed at `wanted`, moved into the room as far as it
// fits; the room's start when it does not.
int WithinRoom(int wanted, int length, int roomStart, int roomLength)
{
    const qint64 last = qint64(roomStart) + roomLength - length;
    return int(qMax(qint64(roomStart), qMin(qint64(wanted), last)));
}

} // namespace

void TfrmMain::SetTreeWidth(int width)
{
    width = qBound(0, width, QWIDGETSIZE_MAX); // a stored width may be any number
    const int total = qMax(m_mainSplitter->width(), width + 200);
    m_mainSplitter->setSizes({width, total - width});
}

void TfrmMain::SetDescriptionHeight(int height)
{
    height = qBound(0, height, QWIDGETSIZE_MAX);
    const int total = qMax(m_rightSplitter->height(), height + 100);
    m_rightSplitter->setSizes({total - height, height});
}

void TfrmMain::ApplyStoredLayout()
{
    const TPreferencesRec &rec = Prefs->Rec();
    SetTreeWidth(rec.TreeWidth);
    SetDescriptionHeight(rec.DescrPaneHeight);
    Action(ActionId::ViewToolbar)->setChecked(rec.ShowToolbar);
    MainToolbar->setVisible(rec.ShowToolbar);
    const int widths[4] = {rec.TitleColumnWidth, rec.AddressColumnWidth,
                           rec.LastVisitColumnWidth, rec.AddDateColumnWidth};
    for (int c = 0; c < 4; ++c)
        lvBookmarks->header()->resizeSection(c, widths[c]);
    Action(ActionId::ViewStatusBar)->setChecked(rec.ShowStatusbar);
    MainStatusBar->setVisible(rec.ShowStatusbar);
    SortAction(TSortType(rec.SortType))->setChecked(true);
    Action(ActionId::ViewReversedOrder)->setChecked(rec.ReversedSort);
}

void TfrmMain::ApplyStoredGeometry()
{
    if (!Prefs)
        return;
    const TPreferencesRec &rec = Prefs->Rec();
    // A maximised window keeps its frame and content as they are: moving or
    // resizing it would shrink the content inside the maximised frame. The
    // stored normal geometry is set before maximising, for the restore.
    if (rec.Maximized && isMaximized())
        return;
    if (!rec.Maximized && isMaximized())
        setWindowState(windowState() & ~Qt::WindowMaximized);
    PlaceWithinScreen(QPoint(rec.Left, rec.Top), QSize(rec.Width, rec.Height));
    if (rec.Maximized)
        setWindowState(windowState() | Qt::WindowMaximized);
}

// A settings file may hold any place: the window takes as much of it as the
// available screen holds (a stored size of 2147483647 took 15 GB at start). The
// settings keep the values read until the window's own are stored at close.
void TfrmMain::PlaceWithinScreen(QPoint framePos, QSize clientSize)
{
    QScreen *screen = QGuiApplication::screenAt(framePos);
    if (!screen)
        screen = this->screen();
    if (!screen)
        return;
    const QRect room = screen->availableGeometry();
    const QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    const QSize frameSize(frame.left() + frame.right(), frame.top() + frame.bottom());
    resize(qBound(0, clientSize.width(), room.width() - frameSize.width()),
           qBound(0, clientSize.height(), room.height() - frameSize.height()));
    const QSize outer = size() + frameSize; // the least size may exceed the room
    move(WithinRoom(framePos.x(), outer.width(), room.x(), room.width()),
         WithinRoom(framePos.y(), outer.height(), room.y(), room.height()));
}

void TfrmMain::StoreLayout(TPreferencesRec &rec) const
{
    if (isMaximized()) {
        rec.Maximized = true;
    } else {
        rec.Top = y();
        rec.Left = x();
        rec.Width = width();
        rec.Height = height();
        rec.Maximized = false;
    }
    rec.TreeWidth = trvFolders->width();
    rec.DescrPaneHeight = memDescription->height();
    rec.TitleColumnWidth = lvBookmarks->header()->sectionSize(0);
    rec.AddressColumnWidth = lvBookmarks->header()->sectionSize(1);
    rec.LastVisitColumnWidth = lvBookmarks->header()->sectionSize(2);
    rec.AddDateColumnWidth = lvBookmarks->header()->sectionSize(3);
    rec.ShowToolbar = Action(ActionId::ViewToolbar)->isChecked();
    rec.ShowStatusbar = Action(ActionId::ViewStatusBar)->isChecked();
}
