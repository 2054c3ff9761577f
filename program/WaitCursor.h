#pragma once
// Shows the wait cursor over the whole program while an object lives; the cursor
// comes back also when a failure ends the work early.

#include <QGuiApplication>

class TWaitCursor
{
public:
    TWaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TWaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    TWaitCursor(const TWaitCursor &) = delete;
    TWaitCursor &operator=(const TWaitCursor &) = delete;
};
