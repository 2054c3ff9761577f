// The main window's timers (auto-save, start minimised), hiding into the tray
// on minimise, the tray icon with its menu, and a second start's request to show.
#include "catalogue/Catalog.h"
#include "program/CommandGuard.h"
#include "program/Globals.h"
#include "mainwindow/MainForm.h"
#include "settings/Preferences.h"

#include <QApplication>
#include <QEvent>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTimer>

#include <climits>
#include <optional>

namespace {

std::optional<bool> &TrayOverride()
{
    static std::optional<bool> available;
    return available;
}

// Hiding needs a tray whose icon brings the window back; without one the
// window is minimised instead, so it is never out of the user's reach.
bool HidesToTray()
{
    const bool tray = TrayOverride().value_or(QSystemTrayIcon::isSystemTrayAvailable());
    return tray && Prefs && Prefs->Rec().ShowIconInTray && Prefs->Rec().HideToTrayOnMinimizing;
}

} // namespace

void TfrmMain::SetSystemTrayAvailable(bool available)
{
    TrayOverride() = available;
}

void TfrmMain::ConnectTimersAndTray()
{
    connect(AutoSaveTimer, &QTimer::timeout, this,
            [this] { Guarded([this] { AutoSaveTimerTimer(); }); });
    connect(MinimizeTimer, &QTimer::timeout, this,
            [this] { Guarded([this] { MinimizeTimerTimer(); }); });
    connect(TrayIcon, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger)
                    Guarded([this] { TrayIconClick(); });
            });
    connect(TrayPopup, &QMenu::aboutToShow, this,
            [this] { Guarded([this] { TrayPopupPopup(); }); });
}

void TfrmMain::ApplyTrayIcon()
{
    TrayIcon->setVisible(Prefs->Rec().ShowIconInTray);
}

void TfrmMain::ApplyAutoSaveTimer()
{
    // Minutes to milliseconds, kept within the timer's range; 0 never ticks.
    const qint64 interval = qint64(Prefs->Rec().AutoSaveInterval) * 60 * 1000;
    AutoSaveTimer->setInterval(int(qBound(qint64(0), interval, qint64(INT_MAX))));
    if (Prefs->Rec().AutoSaveEvery && interval > 0)
        AutoSaveTimer->start();
    else
        AutoSaveTimer->stop();
}

void TfrmMain::AutoSaveTimerTimer()
{
    if (Modified)
        FileSaveExecute();
}

void TfrmMain::MinimizeTimerTimer()
{
    if (!IsActiveForm())
        return;
    MinimizeTimer->stop();
    if (!Prefs || !Prefs->Rec().StartMinimized)
        return;
    if (HidesToTray())
        hide();
    else
        showMinimized();
}

void TfrmMain::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && (windowState() & Qt::WindowMinimized))
        ApplicationEventsMinimize();
}

void TfrmMain::ApplicationEventsMinimize()
{
    if (HidesToTray())
        QTimer::singleShot(0, this, [this] { hide(); }); // after the minimise has finished
}

void TfrmMain::ShowAndRestore()
{
    show();
    setWindowState(windowState() & ~Qt::WindowMinimized);
    raise();
    activateWindow();
}

void TfrmMain::TrayIconClick()
{
    if (!IsActiveForm())
        return;
    if (isVisible()) {
        if (HidesToTray())
            hide();
    } else {
        ShowAndRestore();
    }
}

void TfrmMain::TrayPopupPopup()
{
    UpdateActionStates();
}

void TfrmMain::TrayShowMainWindowExecute()
{
    if (!isVisible())
        ShowAndRestore();
}

void TfrmMain::WMUser()
{
    if (!isVisible() || isMinimized())
        ShowAndRestore();
    raise();
    activateWindow();
}
