#include "exchange/HtmlColor.h"

namespace {

// Windows' own values, for a caller without a desktop palette.
int DefaultSystemColor(TSystemColorRole role)
{
    switch (role) {
    case TSystemColorRole::WindowText:
        return 0x000000;
    case TSystemColorRole::Button:
        return 0xF0F0F0;
    case TSystemColorRole::Window:
        break;
    }
    return 0xFFFFFF;
}

} // namespace

TSystemColorRole SystemColorRole(int color)
{
    switch (color & 0xFF) {
    case 7:  // menu text
    case 8:  // window text
    case 18: // button text
        return TSystemColorRole::WindowText;
    case 15: // button face
        return TSystemColorRole::Button;
    default:
        return TSystemColorRole::Window;
    }
}

QString ColorToHtml(int color, const TSystemColorResolver &resolve)
{
    if (color < 0) {
        const TSystemColorRole role = SystemColorRole(color);
        color = resolve ? resolve(role) : DefaultSystemColor(role);
    }
    static const char kDigits[] = "0123456789ABCDEF";
    QString text = QStringLiteral("\"#000000\"");
    for (int i = 0; i < 3; ++i) {
        const int byte = (color >> (8 * i)) & 0xFF;
        text[2 + 2 * i] = QLatin1Char(kDigits[byte >> 4]);
        text[3 + 2 * i] = QLatin1Char(kDigits[byte & 0xF]);
    }
    return text;
}
