#include "program/MainWindowLink.h"

namespace {
IMainWindow *g_mainWindow = nullptr;
} // namespace

IMainWindow *MainWindow()
{
    return g_mainWindow;
}

void SetMainWindow(IMainWindow *window)
{
    g_mainWindow = window;
}
