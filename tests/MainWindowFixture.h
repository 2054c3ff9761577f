#pragma once
// A shown, active main window over an empty catalogue in a temporary program
// folder, for the suites that drive the window and its dialogs; and the walk
// of a dialog's tab order.

#include "mainwindow/MainForm.h"
#include "program/Globals.h"

#include <QApplication>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

struct MainWindowFixture
{
    // QVERIFY-style: false when the window did not become active.
    bool Open()
    {
        Dir = std::make_unique<QTemporaryDir>();
        SetProgramFolder(Dir->path());
        Modified = false;
        Form = std::make_unique<TfrmMain>();
        Form->resize(800, 600);
        Form->show();
        QApplication::setActiveWindow(Form.get());
        return QTest::qWaitForWindowActive(Form.get());
    }

    void Close()
    {
        Form.reset();
        Dir.reset();
        Modified = false;
    }

    std::unique_ptr<QTemporaryDir> Dir;
    std::unique_ptr<TfrmMain> Form;
};

// The names of the widgets that have the focus, from the one a freshly shown
// window gives it, pressing Tab after each.
inline QStringList TabWalk(QWidget *window, int count)
{
    QApplication::setActiveWindow(window);
    QStringList names;
    if (!QTest::qWaitForWindowActive(window))
        return names;
    for (int i = 0; i < count && QApplication::focusWidget(); ++i) {
        names << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    return names;
}
