#include "decoder.h"

#include "child_rect.h"

namespace {

// The link's distance from the client area's right edge, in pixels.
constexpr int kLinkRightMargin = 4;

}  // namespace

void LayoutControls(HWND window, int cx, int cy) {
    HWND list = reinterpret_cast<HWND>(gResultList);
    if (!list || !gLinkControl) return;  // a size message before initialisation
    const UINT keep = SWP_NOZORDER | SWP_NOACTIVATE;
    RECT listRect = ChildRectInClient(window, list);
    SetWindowPos(list, nullptr, 0, 0, cx, cy - listRect.top, keep | SWP_NOMOVE);
    RECT linkRect = ChildRectInClient(window, gLinkControl);
    int linkWidth = linkRect.right - linkRect.left;
    SetWindowPos(gLinkControl, nullptr, cx - linkWidth - kLinkRightMargin, linkRect.top, 0, 0, keep | SWP_NOSIZE);
}
