#include "settings/Language.h"
#include "platform/IniFile.h"

#include <QFileInfo>

QString LanguageFilePath(const QString &appDir, const QString &languageFile)
{
    QString path = appDir;
    if (!path.isEmpty() && !path.endsWith(u'/'))
        path += u'/';
    return path + QStringLiteral("languages/") + languageFile;
}

QString GetLanguageText(const QString &langFile, const QString &section, const QString &key,
                        const QString &defaultText)
{
    // No fallback from the file to the table: a chosen file answers alone.
    if (QFileInfo(langFile).isFile())
        return IniFile(langFile).ReadString(section, key, defaultText);
    return GetBuiltInText(section, key, defaultText);
}
