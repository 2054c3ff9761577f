#pragma once
// The windows were drawn in pixels of a font whose characters average 5 pixels
// wide; these carry such designed sizes over to the font in use.

#include <QSize>

class QFontMetrics;
class QWidget;

// The factor from designed pixels to the font of the metrics; never below 1, so
// a smaller font keeps the designed size.
double DesignScale(const QFontMetrics &metrics);

// A designed length in pixels of the font of the metrics.
int Scaled(int designed, const QFontMetrics &metrics);

// Fixes the form's size (a dialog border: the user cannot resize it) at its
// designed client size scaled to the form's font; larger only where its
// contents would not fit in that. Called again after its texts change, also
// while the form is shown; a form kept on top stays on top.
void SetDesignedClientSize(QWidget *form, QSize designed);
