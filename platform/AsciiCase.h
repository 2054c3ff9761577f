#pragma once
// Case folding of ASCII letters only, the rule for ini names and text keys:
// "FRMFIND" and "frmFind" are one name, while "Ä" and "ä" stay different.

#include <QString>
#include <QStringView>

// a-z become A-Z; nothing else changes.
QString AsciiUpper(QStringView text);
bool SameTextAscii(QStringView a, QStringView b);
