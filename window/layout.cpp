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

void FitToWorkArea(HWND window) {
    RECT frame;
    GetWindowRect(window, &frame);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor)) return;
    const RECT& work = monitor.rcWork;
    int width = frame.right - frame.left, height = frame.bottom - frame.top;
    int workWidth = work.right - work.left, workHeight = work.bottom - work.top;
    if (width <= workWidth && height <= workHeight) return;
    if (width > workWidth) width = workWidth;
    if (height > workHeight) height = workHeight;
    SetWindowPos(window, nullptr, work.left + (workWidth - width) / 2, work.top + (workHeight - height) / 2, width,
                 height, SWP_NOZORDER | SWP_NOACTIVATE);
}
