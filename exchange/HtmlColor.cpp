#include "exchange/HtmlColor.h"

#include <array>

namespace {

using Role = TSystemColorRole;

// A TColor from the "RRGGBB" way colours are usually written.
constexpr int FromRgb(int rgb)
{
    return (rgb >> 16 & 0xFF) | (rgb & 0xFF00) | (rgb & 0xFF) << 16;
}

struct Entry
{
    std::optional<Role> role;
    int rgb;
};

// By Windows' number (COLOR_SCROLLBAR = 0 ... COLOR_MENUBAR = 30), the desktop's
// colour of the same meaning and Windows' own value. Captions, borders and the
// desktop have no counterpart here.
constexpr std::array<Entry, 31> kSystemColors{{
    {std::nullopt, 0xC8C8C8},     // scroll bar
    {std::nullopt, 0x000000},     // desktop
    {std::nullopt, 0x99B4D1},     // active caption
    {std::nullopt, 0xBFCDDB},     // inactive caption
    {Role::Window, 0xF0F0F0},     // menu
    {Role::Base, 0xFFFFFF},       // window
    {std::nullopt, 0x646464},     // window frame
    {Role::WindowText, 0x000000}, // menu text
    {Role::Text, 0x000000},       // window text
    {std::nullopt, 0x000000},     // caption text
    {std::nullopt, 0xB4B4B4},     // active border
    {std::nullopt, 0xF4F7FC},     // inactive border
    {Role::Dark, 0xABABAB},       // application workspace
    {Role::Highlight, 0x0078D7},  // highlight
    {Role::HighlightedText, 0xFFFFFF}, // highlighted text
    {Role::Button, 0xF0F0F0},     // button face
    {Role::Dark, 0xA0A0A0},       // button shadow
    {Role::GrayText, 0x6D6D6D},   // disabled text
    {Role::ButtonText, 0x000000}, // button text
    {std::nullopt, 0x000000},     // inactive caption text
    {Role::Light, 0xFFFFFF},      // button highlight
    {Role::Shadow, 0x696969},     // 3-D dark shadow
    {Role::Midlight, 0xE3E3E3},   // 3-D light
    {Role::ToolTipText, 0x000000}, // tool tip text
    {Role::ToolTipBase, 0xFFFFE1}, // tool tip background
    {std::nullopt, 0x000000},     // no colour of its own
    {Role::Link, 0x0066CC},       // hot-tracked item
    {std::nullopt, 0xB9D1EA},     // active caption gradient
    {std::nullopt, 0xD7E4F2},     // inactive caption gradient
    {Role::Highlight, 0x3399FF},  // menu highlight
    {Role::Window, 0xF0F0F0},     // menu bar
}};

constexpr int kWindow = 5;

} // namespace

TSystemColor SystemColor(int color)
{
    const size_t number = size_t(color & 0xFF);
    const Entry &entry = kSystemColors[number < kSystemColors.size() ? number : kWindow];
    return {entry.role, FromRgb(entry.rgb)};
}

int ResolveColor(int color, const TSystemColorResolver &resolve)
{
    if (color >= 0)
        return color;
    const TSystemColor system = SystemColor(color);
    return system.role && resolve ? resolve(*system.role) : system.windowsValue;
}

QString ColorToHtml(int color, const TSystemColorResolver &resolve)
{
    color = ResolveColor(color, resolve);
    static const char kDigits[] = "0123456789ABCDEF";
    QString text = QStringLiteral("\"#000000\"");
    for (int i = 0; i < 3; ++i) {
        const int byte = (color >> (8 * i)) & 0xFF;
        text[2 + 2 * i] = QLatin1Char(kDigits[byte >> 4]);
        text[3 + 2 * i] = QLatin1Char(kDigits[byte & 0xF]);
    }
    return text;
}
