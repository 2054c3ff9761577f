#pragma once
// The texts of the user interface, looked up by section (a window's name,
// "Messages", "Misc") and key (a component's name, "Caption", a message's name):
// from the chosen language file when it exists, else from the built-in English
// table. Names match with ASCII-only case folding. Nothing is cached: every lookup
// reads the file anew, so a change of language shows at the next lookup.
// TranslateForm (settings/widgets) applies these lookups to a window.

#include <QString>

// The language file path: appDir (the program's folder, with or without a trailing
// "/") + "languages/" + languageFile. An empty languageFile names the folder, which
// is not a file, so the built-in table answers.
QString LanguageFilePath(const QString &appDir, const QString &languageFile);

// When langFile names a regular file of at most IniFile::kLargestFile bytes (its
// name matched without letter case, the exact name first): its value of key in
// section, or defaultText when the key is missing (even when the built-in table
// has it) or the file cannot be read; a present key with an empty value gives the
// empty text. Otherwise (missing, a folder, a FIFO, too large) GetBuiltInText.
QString GetLanguageText(const QString &langFile, const QString &section,
                        const QString &key, const QString &defaultText);

// The built-in English text of key in section, or defaultText when it has none.
QString GetBuiltInText(const QString &section, const QString &key,
                       const QString &defaultText);
