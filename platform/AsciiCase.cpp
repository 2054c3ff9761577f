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
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        char16_t ca = a[i].unicode();
        char16_t cb = b[i].unicode();
        if (ca == cb)
            continue;
        if (ca >= 'a' && ca <= 'z')
            ca = char16_t(ca - ('a' - 'A'));
        if (cb >= 'a' && cb <= 'z')
            cb = char16_t(cb - ('a' - 'A'));
        if (ca != cb)
            return false;
    }
    return true;
}
