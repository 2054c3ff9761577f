// The program's entry: one instance at a time; a second start hands over to the
// running one and ends without touching any file.
#include "program/Application.h"
#include "mainwindow/MainForm.h"
#include "platform/AtomicFile.h"
#include "platform/SingleInstance.h"

int main(int argc, char *argv[])
{
    IgnoreFileSizeSignal(); // a size limit fails a save instead of ending the program
    SingleInstance instance;
    if (!instance.TryAcquire()) {
        instance.NotifyRunningInstance();
        return 0;
    }
    TApplication app(argc, argv);
    TfrmMain form;
    instance.Listen();
    QObject::connect(&instance, &SingleInstance::Activated, &form, [&form] {
        qInfo("Shown at the request of a second start");
        form.WMUser();
    });
    form.show();
    return app.exec();
}
