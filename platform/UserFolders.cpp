#include "platform/UserFolders.h"

#include <QDir>

QString ProgramFilesFolder()
{
    return QStringLiteral("/opt");
}

QString FavoritesFolder()
{
    return QDir::homePath() + QStringLiteral("/Favorites");
}

QString FirefoxFolder()
{
    return QDir::homePath() + QStringLiteral("/.mozilla/firefox");
}

QString OperaHotlistFile()
{
    return QDir::homePath() + QStringLiteral("/.opera/opera6.adr");
}

QString StateFolder()
{
    // A relative XDG_STATE_HOME is invalid and ignored, as the base directory
    // specification says.
    const QString state = qEnvironmentVariable("XDG_STATE_HOME");
    const QString base =
        QDir::isAbsolutePath(state) ? state : QDir::homePath() + QStringLiteral("/.local/state");
    return QDir::cleanPath(base + QStringLiteral("/varnokel"));
}
