// Where a child window lies within its dialog.
#pragma once

#include <windows.h>

// The child's rectangle in the dialog's client coordinates.
inline RECT ChildRectInClient(HWND dialog, HWND child) {
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}
