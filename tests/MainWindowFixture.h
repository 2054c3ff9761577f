#pragma once
// A shown, active main window over an empty catalogue in a temporary program
// folder, for the suites that drive the window and its dialogs.

#include "mainwindow/MainForm.h"
#include "program/Globals.h"

#include <QApplication>
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
