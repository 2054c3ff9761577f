#pragma once
// Colours as the generated HTML page carries them: a TColor (red in the low byte,
// then green, then blue) becomes "#RRGGBB" with its double quotes. A negative
// TColor names a Windows system colour; the desktop's palette gives its value.

#include <QString>

#include <functional>

// The desktop colours the Windows system colours stand for here. The widgets
// layer maps each to its palette role (window, window text, button).
enum class TSystemColorRole { Window, WindowText, Button };

// The role of a system colour, by the Windows number in its low byte: the window
// (5), the text colours of windows, menus and buttons (8, 7, 18) and the button
// face (15). Any other number stands for the window colour.
TSystemColorRole SystemColorRole(int color);

// The current value of a role, as a TColor.
using TSystemColorResolver = std::function<int(TSystemColorRole)>;

// The colour as the nine characters "\"#RRGGBB\"". A system colour is resolved
// through resolve; without one, through the Windows default colours.
QString ColorToHtml(int color, const TSystemColorResolver &resolve = {});
