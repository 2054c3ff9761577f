#pragma once
// Sets a window's captions from the language texts: the window's title (key
// "Caption"), then, in the order of creation (a container's children right after
// the container), the text of each push button, group box, label, check box and
// radio button by its objectName, in the section named after the window's
// objectName. Each lookup has the current caption as its default, so a text the
// language lacks stays as it is. Child windows translate themselves and are skipped.

#include <QString>

class QWidget;

void TranslateForm(QWidget *form, const QString &langFile);
