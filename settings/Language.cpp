#include "settings/Language.h"
#include "platform/Directory.h"
#include "platform/IniFile.h"

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
    // Names match without letter case, as where the setting was made: a stored
    // "DE.INI" reads "de.ini". A file that is no regular file, or too large to be a
    // language file, counts as missing.
    const QString path = FindPathCaseBlind(langFile);
    if (!path.isEmpty()) {
        const IniFile file(path);
        // No fallback from the file to the table: a chosen file answers alone.
        if (file.IsPresent())
            return file.ReadString(section, key, defaultText);
    }
    return GetBuiltInText(section, key, defaultText);
}
