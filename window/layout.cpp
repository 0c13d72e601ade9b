#include "decoder.h"

#include "query/list_operations.h"

namespace {

// A child's rectangle in the dialog's client coordinates.
RECT ChildRect(HWND window, HWND child) {
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

}  // namespace

void LayoutControls(HWND window, int cx, int cy) {
    HWND list = reinterpret_cast<HWND>(gResultList);
    if (!list || !gLinkControl) return;  // a size message before initialisation
    const UINT keep = SWP_NOZORDER | SWP_NOACTIVATE;
    RECT listRect = ChildRect(window, list);
    SetWindowPos(list, nullptr, 0, 0, cx, cy - listRect.top, keep | SWP_NOMOVE);
    RECT linkRect = ChildRect(window, gLinkControl);
    int linkWidth = linkRect.right - linkRect.left;
    SetWindowPos(gLinkControl, nullptr, cx - linkWidth - 4, linkRect.top, 0, 0, keep | SWP_NOSIZE);
}
