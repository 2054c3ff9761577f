#pragma once
// The designed colours are TColor values, 0x00BBGGRR (red in the low byte); the
// widgets take them as QColor.

#include <QColor>

inline QColor TColorToQColor(int color)
{
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}
