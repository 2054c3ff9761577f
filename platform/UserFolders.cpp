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
