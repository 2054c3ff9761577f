#include "program/Application.h"
#include "platform/ProductName.h"
#include "program/MessageBox.h"

#include <QIcon>
#include "platform/VarnokelError.h"

#include <new>

TApplication::TApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    setApplicationName(QString(kProductName));
    setOrganizationName(QStringLiteral("Quorvane"));
    // Every icon from one theme where the desktop's own theme lacks it, rather
    // than a mix of theme icons and the style's grey stand-ins.
    QIcon::setFallbackThemeName(QStringLiteral("breeze"));
}

bool TApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const VarnokelError &error) {
        ShowErrorBox(error.Message());
    } catch (const std::bad_alloc &) {
        ShowErrorBox(QStringLiteral("Out of memory"));
    } catch (const std::exception &error) {
        ShowErrorBox(QString::fromLocal8Bit(error.what()));
    }
    return false;
}
