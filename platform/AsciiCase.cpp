#include "platform/AsciiCase.h"

QString AsciiUpper(QStringView text)
{
    QString folded = text.toString();
    for (QChar &c : folded)
        c = QChar(AsciiUpperChar(c.unicode()));
    return folded;
}

bool SameTextAscii(QStringView a, QStringView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        const char16_t ca = a[i].unicode();
        const char16_t cb = b[i].unicode();
        if (ca != cb && AsciiUpperChar(ca) != AsciiUpperChar(cb))
            return false;
    }
    return true;
}
