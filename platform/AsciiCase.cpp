#include "platform/AsciiCase.h"

QString AsciiUpper(QStringView text)
{
    QString folded = text.toString();
    for (QChar &c : folded)
        if (c.unicode() >= 'a' && c.unicode() <= 'z')
            c = QChar(char16_t(c.unicode() - ('a' - 'A')));
    return folded;
}

bool SameTextAscii(QStringView a, QStringView b)
{
    return a.size() == b.size() && AsciiUpper(a) == AsciiUpper(b);
}
