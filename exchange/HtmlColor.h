#pragma once
// Colours as the generated HTML page carries them: a TColor (red in the low byte,
// then green, then blue) becomes "#RRGGBB" with its double quotes. A negative
// TColor names a Windows system colour by the number in its low byte; it takes the
// value of the desktop colour of the same meaning, or Windows' own value where
// the desktop has none.

#include <QString>

#include <functional>
#include <optional>

// The desktop colours that Windows system colours stand for. The widgets layer
// gives each its palette's value: Base is the background of text and list views
// (Windows' window colour), Window that of dialogs and menus (the button face is
// Button), GrayText the text of disabled items.
enum class TSystemColorRole {
    Base,
    Text,
    Window,
    WindowText,
    Button,
    ButtonText,
    Light,
    Midlight,
    Dark,
    Shadow,
    Highlight,
    HighlightedText,
    ToolTipBase,
    ToolTipText,
    Link,
    GrayText,
};

// A system colour: its desktop role, when the desktop has one, and Windows' own
// value (its default scheme) as a TColor.
struct TSystemColor
{
    std::optional<TSystemColorRole> role;
    int windowsValue = 0;
};

// The system colour a negative TColor names; a number Windows does not know
// stands for the window colour.
TSystemColor SystemColor(int color);

// The current value of a role, as a TColor.
using TSystemColorResolver = std::function<int(TSystemColorRole)>;

// The colour as red, green and blue: a system colour is resolved through resolve
// or, without one, to Windows' own value.
int ResolveColor(int color, const TSystemColorResolver &resolve = {});

// The colour as the nine characters "\"#RRGGBB\"".
QString ColorToHtml(int color, const TSystemColorResolver &resolve = {});
