#pragma once
// The product's name and version: the captions of the window and the message
// boxes, the tray icon's tip, the about box and the settings store use these.

#include <QLatin1StringView>

inline constexpr QLatin1StringView kProductName("Varnokel PRO");
// The main window's caption: the name with the version.
inline constexpr QLatin1StringView kProductCaption("Varnokel PRO 2.0");
