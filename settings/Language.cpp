#include "settings/Language.h"

QString LanguageFilePath(const QString &appDir, const QString &languageFile)
{
    QString path = appDir;
    if (!path.isEmpty() && !path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path + QStringLiteral("languages/") + languageFile;
}

QString GetLanguageText(const QString &, const QString &section, const QString &key,
                        const QString &defaultText)
{
    return GetBuiltInText(section, key, defaultText);
}

QString GetBuiltInText(const QString &, const QString &, const QString &defaultText)
{
    return defaultText;
}
